// The advertisement feed, without any thread or window: the request
// address, the feed step that turns the server's JSON into groups and
// items, the picture cache, and the rule which items are handed out.
// Everything here runs on the user-interface thread; fetching the feed and
// downloading pictures is left to a subclass (the reader of
// online/threads/ad_reader.h), which calls back into FeedStep and
// PictureDownloaded on that thread.
//
// Feed (JSON object):
//   msg        0: show the stored feed, 1 or 3: show this one and store it,
//              2: drop the ads, other values: show this one without storing
//   adcheckurl, adid, adlang, adver (texts), adrefresh (integer)
//   adgroup    [{ kind, page, adinfo: [item, ...] }, ...]
//   item       align, frame, title, tips, link, imgsrc (not read for align 5),
//              fontcolor, fontcolorover ("#RRGGBB"), fontname, fontsize,
//              interval, life, rect { left, top, right, bottom }
// A missing member, a wrong type or a number outside 32 bits in a group or
// item ends the step at that point: items already handed out stay handed
// out, and nothing is stored. Cache folder files: "UpdateInfo.txt" (the
// stored feed), "Ad.txt" (client state, only read), one PNG per picture
// named after the last segment of its address.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "online/ad_item.h"

inline constexpr const char* AdCacheFolderName = "UpdateInfo/";

// The cache folder below a data folder (AppDataPath once it names the
// program's own folder).
std::string AdCacheFolder(const std::string& dataFolder);

class TAdFeedReader {
public:
    // `lang`: the active language file's path; `version`: VersionText.
    TAdFeedReader(std::string cacheDir, std::string lang, std::string version);
    virtual ~TAdFeedReader();
    TAdFeedReader(const TAdFeedReader&) = delete;
    TAdFeedReader& operator=(const TAdFeedReader&) = delete;

    std::string Version;
    int32_t Msg = 0;
    std::string AdVer = "0";
    std::string Lang;
    int32_t Refresh = 86400;
    std::string RawFeed;
    std::string CheckUrl;
    std::string AdId;
    bool Cleared = false;
    std::vector<std::shared_ptr<TagOlvoAd>> Groups;
    std::string CacheDir;  // with trailing "/"
    std::function<void(TAdFeedReader* reader, const TagOlvoAdInfo& item)> OnAdReady;

    // Reads the client state from "Ad.txt" and gives the feed's request
    // address (serverBase + "ad/ad1.php" unless the state names another web
    // address) with name, ver, lang and adver; empty when there is no server
    // or one of the values is empty: then no request is made. The values are
    // escaped, and lang carries the language file's name, not its path (a
    // path would tell the server the user's folders).
    std::string PrepareRequest(const std::string& serverBase);

    // The feed step on a fetched body (see the header comment).
    void FeedStep(const std::string& body);

    // A picture download for one of this reader's items has ended: with
    // `done`, `bytes` are the item's picture and the item is handed out. An
    // item the reader no longer holds (the ads were dropped meanwhile) is
    // ignored.
    void PictureDownloaded(const std::shared_ptr<TagOlvoAdInfo>& item, bool done, std::string bytes);

protected:
    // Starts fetching the item's ImgSrc; PictureDownloaded follows on the
    // user-interface thread.
    virtual void StartPictureDownload(const std::shared_ptr<TagOlvoAdInfo>& item) = 0;
    // Whether cached bytes are a PNG picture; here, by their signature.
    virtual bool IsPicture(const std::string& bytes) const;

private:
    void ReadClientState();
    // False when a group or item was unreadable or a cached picture damaged.
    bool ReadGroups(const nlohmann::json& groups);
    void PictureStep(const std::shared_ptr<TagOlvoAdInfo>& item);
    void Deliver(const TagOlvoAdInfo& item);
    bool Holds(const TagOlvoAdInfo* item) const;
};

// TOlvoADReader: the advertisement feed of online/ad_feed.h with its
// network side. Start fetches the feed on a THttpReadThread; each picture
// missing from the cache is fetched on a TDownLoadImgThread. Both hand their
// results back on the user-interface thread, where the feed step, the cache
// reads and the delivery to OnAdReady run. The reader may be freed before
// its threads end: they then deliver nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "online/ad_feed.h"
#include "online/http_fetch.h"
#include "online/threads/online_thread.h"

class TOlvoADReader : public TAdFeedReader {
public:
    TOlvoADReader(std::string cacheDir, std::string lang, std::string version);
    ~TOlvoADReader() override;

    // The request step: creates the cache folder when missing and starts
    // fetching the feed. False when no request is made (no server, or a
    // value of the request missing).
    bool Start(const std::string& serverBase);
    // Fetches (the feed and pictures) that have not reported back yet.
    int Pending() const { return FPending; }

    TFetchLimits Limits;  // for every fetch of this reader; tests shorten it

protected:
    void StartPictureDownload(const std::shared_ptr<TagOlvoAdInfo>& item) override;
    // Cached bytes count as a picture only when they decode as PNG.
    bool IsPicture(const std::string& bytes) const override;

private:
    // Dies with the reader; the threads hold weak handles to it.
    std::shared_ptr<TOlvoADReader*> FSelf;
    int FPending = 0;
};

// One picture fetched on a worker thread; the item itself is only handed
// back, never touched here. With Done, Bytes hold a PNG picture that was
// also written to the cache file (when the item has one).
class TDownLoadImgThread : public TOnlineThread {
public:
    explicit TDownLoadImgThread(std::shared_ptr<TagOlvoAdInfo> item);

    std::shared_ptr<TagOlvoAdInfo> Item;
    std::string ImgSrc, LocalPath;  // copied from the item at creation
    std::string Bytes;
    bool Done = false;
    TFetchLimits Limits;

protected:
    void Execute() override;
};

// Largest ad picture accepted, on either side (the tile is 200 by 100).
inline constexpr uint32_t MaxAdPictureSide = 2048;
// Whether the bytes decode as a PNG picture of at most MaxAdPictureSide.
bool IsPngPicture(const std::string& bytes);

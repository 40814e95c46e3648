// The advertisement feed step, the picture cache and the delivery rule.
#include "online/ad_feed.h"

#include <cstdio>

#include "online/ad_json.h"
#include "online/http_fetch.h"
#include "online/server_address.h"
#include "platform/atomic_file.h"
#include "platform/folders.h"

namespace {

constexpr const char* ClientName = "opm";

bool ReadCacheFile(const std::string& path, std::string& bytes) {
    return ReadRegularFile(path, bytes, MaxFetchBytes, nullptr, nullptr) == TFileRead::Ok;
}

// Query values go in escaped: a blank, "&" or "#" in one would otherwise
// break the address or change what the server reads.
std::string EscapeQueryValue(const std::string& value) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : value) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                           c == '.' || c == '_' || c == '~';
        if (plain) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

uint32_t FeedColour(const nlohmann::json& item, const char* name) {
    const std::optional<uint32_t> colour = ParseAdColour(FeedText(item, name));
    if (!colour) throw TFeedError(std::string("malformed colour: ") + name);
    return *colour;
}

std::shared_ptr<TagOlvoAdInfo> ReadItem(const nlohmann::json& object, int32_t index, const TagOlvoAd& group) {
    auto item = std::make_shared<TagOlvoAdInfo>();
    item->Index = index;
    item->GroupKind = group.Kind;
    item->GroupPage = group.Page;
    item->Align = FeedInt(object, "align");
    item->Frame = FeedInt(object, "frame");
    item->Title = FeedText(object, "title");
    item->Tips = FeedText(object, "tips");
    item->Link = FeedText(object, "link");
    if (item->Align != AdTitleOnly) item->ImgSrc = FeedText(object, "imgsrc");
    item->FontColor = FeedColour(object, "fontcolor");
    item->FontColorOver = FeedColour(object, "fontcolorover");
    item->FontName = FeedText(object, "fontname");
    item->FontSize = FeedInt(object, "fontsize");
    item->Interval = FeedInt(object, "interval");
    item->Life = FeedInt(object, "life");
    const nlohmann::json& rect = FeedMember(object, "rect");
    item->Rect = {FeedInt(rect, "left"), FeedInt(rect, "top"), FeedInt(rect, "right"), FeedInt(rect, "bottom")};
    return item;
}

}  // namespace

std::string AdCacheFolder(const std::string& dataFolder) {
    if (dataFolder.empty()) return {};
    return (dataFolder.back() == '/' ? dataFolder : dataFolder + "/") + AdCacheFolderName;
}

TAdFeedReader::TAdFeedReader(std::string cacheDir, std::string lang, std::string version)
    : Version(std::move(version)), Lang(std::move(lang)), CacheDir(std::move(cacheDir)) {
    if (!CacheDir.empty() && CacheDir.back() != '/') CacheDir += '/';
}

TAdFeedReader::~TAdFeedReader() = default;

void TAdFeedReader::ReadClientState() {
    std::string bytes;
    if (!ReadCacheFile(CacheDir + AdStateFileName, bytes)) {
        AdVer = "0";
        return;
    }
    try {
        const std::optional<nlohmann::json> state = ParseFeedJson(bytes);
        if (!state) throw TFeedError("client state is not JSON");
        CheckUrl = FeedText(*state, "adcheckurl");
        AdVer = FeedText(*state, "adver");
    } catch (const std::exception&) {
        AdVer = "0";
    }
}

std::string TAdFeedReader::PrepareRequest(const std::string& serverBase) {
    ReadClientState();
    // No server configured: no request at all, whatever the state names.
    if (serverBase.empty()) return {};
    const std::string address = IsWebAddress(CheckUrl) ? CheckUrl : ServerUrl(serverBase, AdFeedPath);
    const std::string langName = FileNameOf(Lang);
    if (Version.empty() || langName.empty() || AdVer.empty()) return {};
    return address + "?name=" + ClientName + "&ver=" + EscapeQueryValue(Version) +
           "&lang=" + EscapeQueryValue(langName) + "&adver=" + EscapeQueryValue(AdVer);
}

void TAdFeedReader::FeedStep(const std::string& body) {
    if (body.empty()) return;
    RawFeed = body;
    std::optional<nlohmann::json> document = ParseFeedJson(body);
    if (!document) return;
    try {
        Msg = FeedInt(*document, "msg");
    } catch (const std::exception&) {
        return;
    }
    if (Msg == 2) {
        Cleared = true;
        Groups.clear();
        return;
    }
    if (Msg == 0) {
        std::string stored;
        if (!ReadCacheFile(CacheDir + StoredFeedFileName, stored)) return;
        document = ParseFeedJson(stored);
        if (!document) return;
    }
    const nlohmann::json* groups = nullptr;
    try {
        // In this order; the first failure ends the reading of these alone.
        CheckUrl = FeedText(*document, "adcheckurl");
        AdId = FeedText(*document, "adid");
        Lang = FeedText(*document, "adlang");
        AdVer = FeedText(*document, "adver");
        Refresh = FeedInt(*document, "adrefresh");
        groups = &FeedArray(*document, "adgroup");
    } catch (const std::exception&) {
    }
    Groups.clear();
    if (groups && !ReadGroups(*groups)) return;
    if (Msg == 1 || Msg == 3) {
        const std::string compact = document->dump(-1, ' ', /*ensure_ascii=*/true);
        WriteFileAtomic(CacheDir + StoredFeedFileName, compact);
    }
}

bool TAdFeedReader::ReadGroups(const nlohmann::json& groups) {
    try {
        const auto count = static_cast<int32_t>(groups.size());
        int32_t index = 0;
        for (const nlohmann::json& object : groups) {
            auto group = std::make_shared<TagOlvoAd>();
            group->Index = index++;
            group->Count = count;
            group->Kind = FeedInt(object, "kind");
            group->Page = FeedInt(object, "page");
            Groups.push_back(group);
            int32_t itemIndex = 0;
            for (const nlohmann::json& itemObject : FeedArray(object, "adinfo")) {
                std::shared_ptr<TagOlvoAdInfo> item = ReadItem(itemObject, itemIndex++, *group);
                if (item->Index == 0) group->FirstLife = item->Life;
                group->Items.push_back(item);
                PictureStep(item);
            }
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void TAdFeedReader::PictureStep(const std::shared_ptr<TagOlvoAdInfo>& item) {
    if (item->ImgSrc.empty()) {
        Deliver(*item);
        return;
    }
    const std::string fileName = AdPictureFileName(item->ImgSrc);
    item->LocalPath = fileName.empty() ? std::string() : CacheDir + fileName;
    item->Image = std::string();
    if (!item->LocalPath.empty() && FileExists(item->LocalPath)) {
        std::string bytes;
        if (!ReadCacheFile(item->LocalPath, bytes) || !IsPicture(bytes)) {
            // Gone, so that the next run fetches it again instead of
            // failing here for ever.
            std::remove(item->LocalPath.c_str());
            throw TFeedError("damaged cached picture");
        }
        item->Image = std::move(bytes);
        Deliver(*item);
        return;
    }
    StartPictureDownload(item);
}

void TAdFeedReader::PictureDownloaded(const std::shared_ptr<TagOlvoAdInfo>& item, bool done, std::string bytes) {
    if (!item || !done || !Holds(item.get())) return;
    item->Image = std::move(bytes);
    Deliver(*item);
}

bool TAdFeedReader::IsPicture(const std::string& bytes) const {
    return bytes.size() > 8 && bytes.compare(0, 8, "\x89PNG\r\n\x1a\n", 8) == 0;
}

void TAdFeedReader::Deliver(const TagOlvoAdInfo& item) {
    // Groups of kind 1 show their first item only.
    if (item.GroupKind == 1 && item.Index != 0) return;
    if (OnAdReady) OnAdReady(this, item);
}

bool TAdFeedReader::Holds(const TagOlvoAdInfo* item) const {
    for (const auto& group : Groups)
        for (const auto& held : group->Items)
            if (held.get() == item) return true;
    return false;
}

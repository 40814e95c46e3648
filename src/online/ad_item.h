// The advertisement feed's records: one item (TagOlvoAdInfo), one group of
// items (TagOlvoAd), and the tile record (TAdInfo) that the main window's ad
// tile paints from. Pictures travel as PNG bytes; the window decodes them.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Layout codes of an item (its Align, the tile's Type): where the picture
// and the title go inside the tile.
enum TAdLayout : int {
    AdTitleRightOfPicture = 0,
    AdTitleBelowPicture = 1,
    AdPictureRightOfTitle = 2,
    AdPictureBelowTitle = 3,
    AdPictureStretched = 4,
    AdTitleOnly = 5,
};

struct TAdRect {
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    int32_t Width() const { return static_cast<int32_t>(int64_t(Right) - Left); }
    int32_t Height() const { return static_cast<int32_t>(int64_t(Bottom) - Top); }
};

// One advertisement item. Frame, Tips, Interval, Life and GroupPage are kept
// but drive nothing.
struct TagOlvoAdInfo {
    int32_t Index = 0;  // position in its group
    int32_t Align = 0;  // TAdLayout
    int32_t Frame = 0;
    std::string ImgSrc;
    int32_t Interval = 0;
    int32_t Life = 0;
    std::string Link;
    std::string Title;
    std::string Tips;
    TAdRect Rect;
    int32_t GroupPage = 0;
    int32_t GroupKind = 0;
    std::string FontName;
    int32_t FontSize = 0;
    uint32_t FontColor = 0;  // 0x00BBGGRR
    uint32_t FontColorOver = 0;
    // PNG bytes: none until a picture is to be loaded, empty while it is
    // not loaded yet.
    std::optional<std::string> Image;
    std::string LocalPath;  // the picture's cache file; empty: not cached
};

// One group; Kind 1 shows only its first item.
struct TagOlvoAd {
    int32_t Index = 0;
    int32_t Kind = 0;
    int32_t Page = 0;
    int32_t Count = 0;  // groups in the feed
    // Set from the group's first item (0, its Life, 0); read by nothing.
    int32_t FirstShown = 0, FirstLife = 0, FirstClicks = 0;
    std::vector<std::shared_ptr<TagOlvoAdInfo>> Items;
};

// What the ad tile shows. Type -1 (the start) draws nothing.
struct TAdInfo {
    std::string Link;
    std::string Title;
    int32_t Top = 0, Left = 0, Width = 0, Height = 0;
    int32_t Type = -1;
    int32_t Frame = 0;
    std::string Tips;
    int32_t Interval = 0;
    std::string FontName;
    int32_t FontSize = 0;
    uint32_t FontColor = 0;
    uint32_t FontColorOver = 0;
    // The tile's own copy of the picture (PNG bytes); none: no picture,
    // empty: an empty picture.
    std::optional<std::string> Picture;
};

// Copies an item handed out by the feed into the tile record: layouts 0 to 4
// take the item's picture (an empty one when it has none), layout 5 drops
// the picture, other codes leave it. The link is kept only when it is a web
// address: the tile opens it with the desktop's opener, and a local file
// or another scheme from the network must never get there.
void ApplyAdItem(TAdInfo& tile, const TagOlvoAdInfo& item);

// A feed colour "#RRGGBB" (the first character skipped whatever it is) as
// the colour value red + green * 256 + blue * 65536; an empty text is 0
// (black). None when the text is shorter or its digits are not hexadecimal.
std::optional<uint32_t> ParseAdColour(std::string_view text);

// The files the feed keeps beside its pictures in the cache folder.
inline constexpr const char* StoredFeedFileName = "UpdateInfo.txt";
inline constexpr const char* AdStateFileName = "Ad.txt";

// The cache file name of a picture address: everything after its last "/".
// Empty when that leaves no usable name ("", "." or "..", a zero byte, or
// the name of one of the feed's own files, which a picture from the network
// must not replace): such a picture is fetched every time and never cached.
std::string AdPictureFileName(std::string_view imgSrc);

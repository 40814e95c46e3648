// The ad records' small rules: the tile copy, colours, cache file names.
#include "online/ad_item.h"

#include "online/http_fetch.h"

namespace {
int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
}  // namespace

void ApplyAdItem(TAdInfo& tile, const TagOlvoAdInfo& item) {
    if (item.Align >= AdTitleRightOfPicture && item.Align <= AdPictureStretched)
        tile.Picture = item.Image.value_or(std::string());
    else if (item.Align == AdTitleOnly)
        tile.Picture.reset();
    tile.Link = IsWebAddress(item.Link) ? item.Link : std::string();
    tile.Top = item.Rect.Top;
    tile.Left = item.Rect.Left;
    tile.Width = item.Rect.Width();
    tile.Height = item.Rect.Height();
    tile.Type = item.Align;
    if (item.Align != AdTitleOnly) tile.Frame = item.Frame;
    tile.Title = item.Title;
    tile.Tips = item.Tips;
    tile.Interval = item.Interval;
    tile.FontName = item.FontName;
    tile.FontSize = item.FontSize;
    tile.FontColor = item.FontColor;
    tile.FontColorOver = item.FontColorOver;
}

std::optional<uint32_t> ParseAdColour(std::string_view text) {
    if (text.empty()) return 0u;
    if (text.size() < 7) return std::nullopt;
    uint32_t value = 0;
    for (int part = 0; part < 3; ++part) {
        const int high = HexDigit(text[1 + part * 2]);
        const int low = HexDigit(text[2 + part * 2]);
        if (high < 0 || low < 0) return std::nullopt;
        value |= static_cast<uint32_t>(high * 16 + low) << (8 * part);
    }
    return value;
}

std::string AdPictureFileName(std::string_view imgSrc) {
    const size_t slash = imgSrc.rfind('/');
    std::string name(slash == std::string_view::npos ? imgSrc : imgSrc.substr(slash + 1));
    if (name.empty() || name == "." || name == ".." || name.find('\0') != std::string::npos) return {};
    if (name == StoredFeedFileName || name == AdStateFileName) return {};
    return name;
}

// The advertisement tile imgad in the main window's lower left corner: the
// feed reader started with the window, each item it hands out copied into
// the tile record, and the tile's painting, hover colour and click.
//
// Where an item's picture (P, natural size PW x PH) and title go, with L, T
// the top-left corner of the item's rect and W, H its size (tile pixels):
//   0  P at (L, T)        title in (L + PW, T + D) .. (L + PW + W, T + H)
//   1  P at (L, T)        title in (L, T + PH) .. (L + W, T + H)
//   2  P at (L + TW, T)   title in (L, T + D) .. (L + W, T + H)
//   3  P at (L, T + TH)   title in (L, T) .. (L + W, T + H)
//   4  P stretched over the whole tile, no title
//   5  no picture         title in (L, T) .. (L + W, T + H)
// TW and TH are the title's width and height in its font; D is half the
// difference between PH and the height of an "a" in that font, so a title
// beside the picture sits about level with its middle.
#include "ui/main/main_form.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "common/public_funs.h"
#include "i18n/lang_path.h"
#include "online/ad_feed.h"
#include "online/server_address.h"
#include "online/threads/ad_reader.h"
#include "platform/gfx/picture.h"
#include "platform/gfx/text.h"
#include "skin/orb_image.h"

namespace {

// A feed may name any size; one the tile can show keeps a slip (0, or a
// size meant as pixels of a poster) from drawing nothing or a blot.
constexpr int DefaultTitleSize = 9;
constexpr int LargestTitleSize = 48;

// One line, left-aligned, cut with "…" when it does not fit; an "&" in a
// title is an ordinary character.
constexpr TTextFlags TitleFlags = tfLeft | tfTop | tfSingleLine | tfEndEllipsis | tfNoPrefix;

bool TakesPicture(int32_t align) { return align >= AdTitleRightOfPicture && align <= AdPictureStretched; }

TFont TitleFont(const TAdInfo& info, bool hover) {
    TFont font;
    if (!info.FontName.empty()) font.Name = info.FontName;
    font.Size = info.FontSize > 0 ? std::min(info.FontSize, LargestTitleSize) : DefaultTitleSize;
    font.Color = (hover ? info.FontColorOver : info.FontColor) & 0xFFFFFF;
    return font;
}

// The rect's values come from the network: their sums are worked out in
// 64 bits and clamped to a range well beyond any tile, so none overflows.
int Coord(int64_t value) { return int(std::clamp<int64_t>(value, -100000, 100000)); }

TRect RectOf(int64_t left, int64_t top, int64_t right, int64_t bottom) {
    return TRect{Coord(left), Coord(top), Coord(right), Coord(bottom)};
}

}  // namespace

void TfrmORMMain::StartAdReader() {
    FAdInfo = TAdInfo();
    FAdPicture = TBitmap32();
    FAdHover = false;
    imgad->OnAfterDrawPaint = [this](TComponent* sender, TBitmap32& canvas) { imgadAfterDrawPaint(sender, canvas); };
    imgad->OnMouseEnter = [this](TComponent* sender) { imgadMouseEnter(sender); };
    imgad->OnMouseLeave = [this](TComponent* sender) { imgadMouseLeave(sender); };
    imgad->Onclick = [this](TComponent* sender) { imgadclick(sender); };

    // No server: no reader, no request, not even the cache folder.
    const std::string base = ServerBase(FStore.get());
    const std::string cacheDir = AdCacheFolder(AppDataPath);
    if (base.empty() || cacheDir.empty()) return;
    TVSFixedFileInfo version;
    GetFileVersionRecord(ProgramPath(), version);
    auto reader = std::make_shared<TOlvoADReader>(cacheDir, LangFilePath, VersionText(version));
    reader->OnAdReady = [this](TAdFeedReader*, const TagOlvoAdInfo& item) { AdItemReady(item); };
    if (reader->Start(base)) FAdReader = std::move(reader);
}

void TfrmORMMain::AdItemReady(const TagOlvoAdInfo& item) {
    TBitmap32 picture;
    if (TakesPicture(item.Align) && item.Image && !item.Image->empty()) {
        // The reader checks its pictures; one that still does not decode
        // (or is too large for a tile) leaves the tile as it was rather
        // than showing the title beside a hole.
        if (!ReadPng(*item.Image, picture) || picture.Width() > int(MaxAdPictureSide) ||
            picture.Height() > int(MaxAdPictureSide))
            return;
    }
    ApplyAdItem(FAdInfo, item);
    if (TakesPicture(item.Align)) {
        FAdPicture = std::move(picture);
        FAdPicture.DrawMode = TDrawMode::Blend;
        FAdPicture.CombineMode = TCombineMode::Merge;
    } else if (item.Align == AdTitleOnly) {
        FAdPicture = TBitmap32();
    }
    // A layout that puts a title beside a picture shows the title alone
    // when there is no picture.
    if (FAdInfo.Type >= AdTitleRightOfPicture && FAdInfo.Type <= AdPictureBelowTitle && FAdPicture.Empty())
        FAdInfo.Type = AdTitleOnly;
    if (imgad) imgad->Changed();
}

void TfrmORMMain::imgadAfterDrawPaint(TComponent* /*Sender*/, TBitmap32& ACanvas) {
    const TAdInfo& info = FAdInfo;
    const int64_t l = info.Left, t = info.Top, w = info.Width, h = info.Height;
    const int64_t pw = FAdPicture.Width(), ph = FAdPicture.Height();
    const TFont font = TitleFont(info, FAdHover);
    auto title = [&](const TRect& rect) { DrawText(ACanvas, rect, font, info.Title, TitleFlags); };
    auto beside = [&] { return std::abs(ph - TextHeight(font, "a", tfNoPrefix)) / 2; };
    auto picture = [&](int64_t x, int64_t y) { ACanvas.Draw(Coord(x), Coord(y), FAdPicture); };

    switch (info.Type) {
        case AdTitleRightOfPicture: {
            picture(l, t);
            const int64_t d = beside();
            title(RectOf(l + pw, t + d, l + pw + w, t + h));
            break;
        }
        case AdTitleBelowPicture:
            picture(l, t);
            title(RectOf(l, t + ph, l + w, t + h));
            break;
        case AdPictureRightOfTitle: {
            picture(l + TextWidth(font, info.Title, tfNoPrefix), t);
            const int64_t d = beside();
            title(RectOf(l, t + d, l + w, t + h));
            break;
        }
        case AdPictureBelowTitle:
            picture(l, t + TextHeight(font, info.Title, tfNoPrefix));
            title(RectOf(l, t, l + w, t + h));
            break;
        case AdPictureStretched:
            if (!FAdPicture.Empty()) ACanvas.StretchDraw(ACanvas.BoundsRect(), FAdPicture.BoundsRect(), FAdPicture);
            break;
        case AdTitleOnly:
            title(RectOf(l, t, l + w, t + h));
            break;
        default:
            // Nothing arrived yet (-1), or a layout this program does not know.
            break;
    }
}

void TfrmORMMain::imgadMouseEnter(TComponent* /*Sender*/) {
    FAdHover = true;
    imgad->Changed();
}

void TfrmORMMain::imgadMouseLeave(TComponent* /*Sender*/) {
    FAdHover = false;
    imgad->Changed();
}

void TfrmORMMain::imgadclick(TComponent* /*Sender*/) {
    // The tile record keeps web addresses only: nothing else from the
    // network reaches the desktop's opener.
    if (!FAdInfo.Link.empty()) OpenURL(nullptr, FAdInfo.Link);
}

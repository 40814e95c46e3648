// Composing a TOrbMessageBox's picture: the size from the message's extent,
// the frame (as it is, or cut in nine parts and grown), the layout of every
// part, the caption, icon and wrapped message, and the buttons with their
// captions; then, on every refresh, the parts drawn over it in their state.
#include <algorithm>

#include "platform/gfx/text.h"
#include "skin/orb_image_ops.h"
#include "skin/orb_message_box.h"

namespace {
constexpr int CloseFrameCount = 3;
constexpr int ButtonFrameCount = 4;
constexpr int IconCount = 4;
// Frame indexes of the strips.
constexpr int FrameNormal = 0, FrameHover = 1, FramePressed = 2, FrameFocused = 3;
// Inner spacing of the layout, in pixels.
constexpr int Margin = 4;
constexpr int ButtonGap = 4;
constexpr int ButtonBottomMargin = 10;
constexpr int SizeSlack = 10;
constexpr TTextFlags MessageFlags = tfWordBreak | tfEndEllipsis | tfNoPrefix;
constexpr TTextFlags TitleFlags = tfSingleLine | tfEndEllipsis | tfVCenter | tfNoPrefix;

TPngImage BlendMerge(TPngImage image) {
    image.DrawMode = TDrawMode::Blend;
    image.CombineMode = TCombineMode::Merge;
    return image;
}

TPngImage Tinted(const TPngImage& image, TColor tint) {
    TPngImage out = image;
    if (tint == clNone) return out;
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x) out.SetPixel(x, y, TintHSL(out.Pixel(x, y), tint));
    return out;
}

std::vector<TPngImage> Frames(const TPngImage& strip, int count) {
    std::vector<TPngImage> frames;
    for (int i = 0; i < count; ++i)
        if (auto frame = SliceState(strip, count, i)) frames.push_back(std::move(*frame));
    return frames;
}

TPoint IconFrameSize(const TPngImage& strip) {
    if (strip.Empty()) return {};
    return {strip.Width() / IconCount, strip.Height()};
}
}  // namespace

bool TOrbMessageBox::Compose(const std::string& title, const std::string& message, int buttons, int icon) {
    FPicture = TBitmap32();
    FShown = TBitmap32();
    FLayout = TMsgLayout();
    FButtonSet = buttons;
    const TPngImage& frame = FPic.Empty() ? FImgForm : FPic;
    FCloseFrames = Frames(FImgClose, CloseFrameCount);
    const auto buttonFrames = Frames(FImgBtn, ButtonFrameCount);
    if (frame.Empty() || FCloseFrames.size() != CloseFrameCount || buttonFrames.size() != ButtonFrameCount)
        return false;
    TPoint extent;
    const TPoint size = ComposedSize(message, extent);
    ComposeFrame(size.X, size.Y);
    if (FPicture.Empty()) return false;
    LayOut(size.X, size.Y, icon, extent, title);
    DrawCaption(title);
    DrawBody(message, icon);
    MakeButtonFrames();
    FFocus = buttons == BtnSetYesNo ? TMsgPart::Button2 : buttons == BtnSetOk ? TMsgPart::Button1 : TMsgPart::None;
    FHover = FPressed = TMsgPart::None;
    return true;
}

TPoint TOrbMessageBox::ComposedSize(const std::string& message, TPoint& extent) const {
    const TPngImage& frame = FPic.Empty() ? FImgForm : FPic;
    extent = TextExtent(FontMsg, message, tfSingleLine | tfNoPrefix);
    const TPoint icon = IconFrameSize(FImgMsg);
    const int width = icon.X + extent.X / 3 + 2 * AlphaWidth + SizeSlack;
    const int height = icon.Y + 3 * extent.Y + 2 * AlphaWidth + SizeSlack;
    return {std::max(width, frame.Width()), std::max(height, frame.Height())};
}

void TOrbMessageBox::ComposeFrame(int width, int height) {
    const TPngImage& frame = FPic.Empty() ? FImgForm : FPic;
    if (width == frame.Width() && height == frame.Height()) {
        FPicture = Tinted(frame, SkinColor);
    } else {
        auto pieces = Cut9(frame, FFormSplit, 255, SkinColor);
        if (!pieces) return;
        Assemble9(FPicture, width, height, *pieces);
        // The grown height reserves three rows of text.
        MsgRowCount = 3;
    }
    FPicture.DrawMode = TDrawMode::Opaque;
}

void TOrbMessageBox::LayOut(int width, int height, int icon, TPoint extent, const std::string& title) {
    TMsgLayout& l = FLayout;
    l.Width = width;
    l.Height = height;
    const TPngImage& close = FCloseFrames[0];
    const int closeRight = width - AlphaWidth - BtnCloseLeft;
    l.Close = {closeRight - close.Width(), AlphaWidth, closeRight, AlphaWidth + close.Height()};

    int titleLeft = AlphaWidth + CaptionLeftFix + Margin;
    if (!FImgLogo.Empty()) {
        const int top = AlphaWidth + (CaptionHeight - FImgLogo.Height()) / 2;
        l.Logo = Bounds(AlphaWidth + Margin, top, FImgLogo.Width(), FImgLogo.Height());
        titleLeft = l.Logo.Right + 2;
    }
    const int titleLimit = width - close.Width() - AlphaWidth - Margin;
    const int titleRight = std::min(titleLeft + TextWidth(FontTitle, title, tfNoPrefix), titleLimit);
    l.Title = {titleLeft, AlphaWidth, std::max(titleLeft, titleRight), AlphaWidth + CaptionHeight};

    const int bodyTop = AlphaWidth + CaptionHeight + Margin;
    TPoint iconSize;
    if (icon >= MsgIconWarning && icon <= MsgIconQuestion && !FImgMsg.Empty()) iconSize = IconFrameSize(FImgMsg);
    if (icon == MsgIconCustom && !FImgCustom.Empty()) iconSize = {FImgCustom.Width(), FImgCustom.Height()};
    const bool hasIcon = iconSize.X > 0 && iconSize.Y > 0;
    if (hasIcon) l.Icon = Bounds(AlphaWidth + Margin, bodyTop, iconSize.X, iconSize.Y);
    const int msgTop = hasIcon ? l.Icon.Top + extent.Y / 2 : bodyTop;
    const int msgLeft = hasIcon ? l.Icon.Right + 2 : AlphaWidth + Margin;
    l.Message = {msgLeft, msgTop, width - AlphaWidth - Margin, msgTop + (extent.Y + 2) * MsgRowCount};

    const int bw = FImgBtn.Width() / ButtonFrameCount, bh = FImgBtn.Height();
    const int bottom = height - AlphaWidth - ButtonBottomMargin;
    if (FButtonSet == BtnSetYesNo) {
        const int yesLeft = (width - 2 * bw - ButtonGap) / 2;
        l.Button2 = {yesLeft, bottom - bh, yesLeft + bw, bottom};
        l.Button1 = l.Button2.Offset(bw + ButtonGap, 0);
    } else if (FButtonSet == BtnSetOk) {
        const int left = (width - bw) / 2;
        l.Button1 = {left, bottom - bh, left + bw, bottom};
    }
}

void TOrbMessageBox::DrawCaption(const std::string& title) {
    if (!FImgLogo.Empty()) FPicture.Draw(FLayout.Logo.Left, FLayout.Logo.Top, BlendMerge(FImgLogo));
    if (!FLayout.Title.IsEmpty()) DrawText(FPicture, FLayout.Title, FontTitle, title, TitleFlags);
}

void TOrbMessageBox::DrawBody(const std::string& message, int icon) {
    const TRect& r = FLayout.Icon;
    if (!r.IsEmpty()) {
        if (icon == MsgIconCustom) {
            FPicture.Draw(r.Left, r.Top, BlendMerge(FImgCustom));
        } else if (auto frame = SliceState(FImgMsg, IconCount, icon)) {
            FPicture.Draw(r.Left, r.Top, *frame);
        }
    }
    if (!FLayout.Message.IsEmpty()) DrawText(FPicture, FLayout.Message, FontMsg, message, MessageFlags);
}

void TOrbMessageBox::MakeButtonFrames() {
    auto captioned = [this](const std::string& caption) {
        std::vector<TPngImage> frames = Frames(FImgBtn, ButtonFrameCount);
        for (TPngImage& f : frames)
            DrawText(f, f.BoundsRect(), FontBtn, caption, tfSingleLine | tfCenter | tfVCenter | tfEndEllipsis);
        return frames;
    };
    FButton1Frames.clear();
    FButton2Frames.clear();
    if (FButtonSet == BtnSetYesNo) {
        FButton1Frames = captioned(BtnCaptionNo);
        FButton2Frames = captioned(BtnCaptionYes);
    } else if (FButtonSet == BtnSetOk) {
        FButton1Frames = captioned(BtnCaptionOk);
    }
}

TRect TOrbMessageBox::PartRect(TMsgPart part) const {
    switch (part) {
        case TMsgPart::Close: return FLayout.Close;
        case TMsgPart::Button1: return FButton1Frames.empty() ? TRect{} : FLayout.Button1;
        case TMsgPart::Button2: return FButton2Frames.empty() ? TRect{} : FLayout.Button2;
        case TMsgPart::None: break;
    }
    return {};
}

TMsgPart TOrbMessageBox::PartAt(TPoint p) const {
    for (TMsgPart part : {TMsgPart::Close, TMsgPart::Button1, TMsgPart::Button2})
        if (PartRect(part).Contains(p)) return part;
    return TMsgPart::None;
}

void TOrbMessageBox::DrawPart(TBitmap32& target, TMsgPart part) const {
    const TRect r = PartRect(part);
    if (r.IsEmpty()) return;
    int index = FrameNormal;
    if (PartPressed(part)) index = FramePressed;
    else if (PartHover(part)) index = FrameHover;
    else if (part != TMsgPart::Close && FFocus == part) index = FrameFocused;
    const std::vector<TPngImage>& frames =
        part == TMsgPart::Close ? FCloseFrames : part == TMsgPart::Button1 ? FButton1Frames : FButton2Frames;
    if (index < int(frames.size())) target.Draw(r.Left, r.Top, frames[size_t(index)]);
}

void TOrbMessageBox::Refresh() {
    if (FPicture.Empty()) return;
    FShown = FPicture;
    FShown.DrawMode = TDrawMode::Opaque;
    for (TMsgPart part : {TMsgPart::Close, TMsgPart::Button1, TMsgPart::Button2}) DrawPart(FShown, part);
    if (TOrbUIMessageForm* form = MessageForm()) form->Invalidate();
}

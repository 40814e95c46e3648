// TOrbForm's drawing: the skin buffer (picture, window image, or the plain
// colour), the caption geometry with logo and title, the border lines
// painted over the skin, and the window outline handed to the host.
#include <algorithm>
#include <cmath>

#include "platform/gfx/text.h"
#include "platform/gui/form.h"
#include "skin/orb_caption_button.h"
#include "skin/orb_form.h"
#include "skin/orb_image_ops.h"

namespace {

// How far the skin picture melts into its average colour at the right.
constexpr int SkinPicFadeWidth = 155;

void SetBlend(TBitmap32& bitmap, TCombineMode combine) {
    bitmap.DrawMode = TDrawMode::Blend;
    bitmap.CombineMode = combine;
}

}  // namespace

// ---- the skin picture ----

void TOrbForm::PrepareSkinPic() {
    FSkinPicImage = TBitmap32();
    FSkinPicFaded = TBitmap32();
    FSkinPicAverage = 0;
    const TBitmap32& pic = FSkinPic.Bitmap();
    if (pic.Empty()) return;
    uint64_t sum[4] = {0, 0, 0, 0};
    for (int y = 0; y < pic.Height(); ++y)
        for (int x = 0; x < pic.Width(); ++x) {
            const TColor32 c = pic.Pixel(x, y);
            sum[0] += AlphaOf(c);
            sum[1] += RedOf(c);
            sum[2] += GreenOf(c);
            sum[3] += BlueOf(c);
        }
    const uint64_t n = uint64_t(pic.Width()) * uint64_t(pic.Height());
    FSkinPicAverage = Color32(uint8_t(sum[1] / n), uint8_t(sum[2] / n), uint8_t(sum[3] / n), uint8_t(sum[0] / n));
    FSkinPicImage = pic;
    SetBlend(FSkinPicImage, TCombineMode::Merge);
    FSkinPicFaded = pic;
    const int fade = std::min(SkinPicFadeWidth, pic.Width());
    FadeRight(FSkinPicFaded, {pic.Width() - fade, 0, pic.Width(), pic.Height()});
    SetBlend(FSkinPicFaded, TCombineMode::Merge);
}

void TOrbForm::DrawSkinPic() {
    const TBitmap32& pic = FSkinPicImage;
    if (pic.Empty()) return;
    const int w = FSkin.Width(), h = FSkin.Height();
    switch (FSkinDrawMode) {
        case SmStretch: FSkin.StretchDraw(FSkin.BoundsRect(), pic.BoundsRect(), pic); break;
        case SmTile:
            for (int y = 0; y < h; y += pic.Height())
                for (int x = 0; x < w; x += pic.Width()) FSkin.Draw(x, y, pic);
            break;
        case SmCrop:
        case SmAuto: FSkin.Draw(0, 0, pic); break;
        case SmAutoAndAverage:
            FSkin.FillRect(FSkin.BoundsRect(), FSkinPicAverage);
            FSkin.Draw(0, 0, FSkinPicFaded);
            break;
    }
}

// ---- the window image ----

// With a valid split the corners keep their size and the edges and centre
// stretch; a split that does not describe nine parts stretches the whole
// image. Split lines outside the image are held to its edges.
void TOrbForm::DrawFormImage() {
    SetBlend(FImgForm, FSkinMixMode == SmmMerge ? TCombineMode::Merge : TCombineMode::Blend);
    const int iw = FImgForm.Width(), ih = FImgForm.Height(), w = FSkin.Width(), h = FSkin.Height();
    const TOrbUIPadding& s = FFormSplit;
    if (!(s.Left() < s.Right() && s.Top() < s.Bottom())) {
        FSkin.StretchDraw(FSkin.BoundsRect(), FImgForm.BoundsRect(), FImgForm);
        return;
    }
    const int x1 = std::clamp(s.Left(), 0, iw), x2 = std::clamp(s.Right(), 0, iw);
    const int y1 = std::clamp(s.Top(), 0, ih), y2 = std::clamp(s.Bottom(), 0, ih);
    const int srcX[4] = {0, x1, x2, iw}, srcY[4] = {0, y1, y2, ih};
    const int dstX[4] = {0, x1, w - (iw - x2), w}, dstY[4] = {0, y1, h - (ih - y2), h};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            const TRect src{srcX[col], srcY[row], srcX[col + 1], srcY[row + 1]};
            const TRect dst{dstX[col], dstY[row], dstX[col + 1], dstY[row + 1]};
            if (src.IsEmpty() || dst.IsEmpty()) continue;
            FSkin.StretchDraw(dst, src, FImgForm);
        }
}

void TOrbForm::BuildSkinBuffer() {
    FSkin.SetSize(std::max(0, Width()), std::max(0, Height()));
    if (FSkin.Empty()) return;
    auto alive = Lifetime();
    if (FUseSkin && (!FImgForm.Empty() || !FSkinPic.Empty())) {
        if (!FSkinPic.Empty()) DrawSkinPic();
        if (OnOrbFormAfterSkinDraw) OnOrbFormAfterSkinDraw(this, FSkin);
        if (alive.expired()) return;
        if (!FImgForm.Empty()) DrawFormImage();
        return;
    }
    FSkin.Clear(Color32FromColor(Color()));
    if (OnOrbFormBackGroundPaint) OnOrbFormBackGroundPaint(this, FSkin);
}

// ---- caption ----

void TOrbForm::ComputeCaptionRects() {
    FCaptionRect = {0, 0, Width(), FCaptionHeight};
    FLogoRect = {};
    if (!FImgLogo.Empty()) {
        const int top = (FCaptionHeight - FImgLogo.Height()) / 2 + FLogoTopFix;
        FLogoRect = Bounds(FLogoLeftFix + 4, top, FImgLogo.Width(), FImgLogo.Height());
    }
    const int left = (FImgLogo.Empty() ? 0 : FLogoRect.Right) + FTitleLeftFix + 4;
    if (!FImgCaption.Empty()) {
        const int top = (FCaptionHeight - FImgCaption.Height()) / 2 + FTitleTopFix;
        FTitleRect = Bounds(left, top, FImgCaption.Width(), FImgCaption.Height());
    } else if (!FCaption.empty()) {
        const int height = TextHeight(FCaptionFont, FCaption);
        const int top = (FCaptionHeight - height) / 2 + FTitleTopFix;
        TDStdFButton* leftmost = LeftmostButton();
        const int right = leftmost ? leftmost->Left() : Width() - 4;
        FTitleRect = {left, top, std::max(left, right), top + height};
    } else {
        FTitleRect = {left, 0, left, 0};
    }
}

void TOrbForm::DrawLogoAndTitle() {
    if (FSkin.Empty()) return;
    if (!FImgLogo.Empty()) {
        SetBlend(FImgLogo, TCombineMode::Merge);
        FSkin.Draw(FLogoRect.Left, FLogoRect.Top, FImgLogo);
    }
    if (!FImgCaption.Empty()) {
        SetBlend(FImgCaption, TCombineMode::Merge);
        FSkin.StretchDraw(FTitleRect, FImgCaption.BoundsRect(), FImgCaption);
    } else if (!FCaption.empty() && !FTitleRect.IsEmpty()) {
        DrawText(FSkin, FTitleRect, FCaptionFont, FCaption, tfLeft | tfSingleLine | tfEndEllipsis);
    }
}

// ---- painting ----

void TOrbForm::PaintBackground(TBitmap32& canvas) {
    const TRect clip = PaintClip().IsEmpty() ? canvas.BoundsRect() : PaintClip();
    if (FSkin.Width() != canvas.Width() || FSkin.Height() != canvas.Height()) {
        canvas.FillRect(clip, Color32FromColor(Color()));
        return;
    }
    FSkin.DrawMode = TDrawMode::Opaque;
    canvas.Draw(clip.Left, clip.Top, clip, FSkin);
}

void TOrbForm::DrawControl(TBitmap32& buffer) {
    DrawBorder(buffer);
    if (OnOrbFormPaint) OnOrbFormPaint(this, buffer);
}

// The rounded border is drawn several times, shifted by a pixel, so that
// it covers the stair steps the window outline leaves along the curve.
void TOrbForm::DrawBorder(TBitmap32& buffer) const {
    if (FBorderColor == clNone || FCutMode == CmMask || FFormState == OisMax) return;
    const int w = buffer.Width(), h = buffer.Height();
    const TColor32 outer = Color32FromColor(FBorderColor);
    const bool inner = FInBorderColor != clNone;
    if (FCutMode == CmNone) {
        buffer.FrameRect({0, 0, w, h}, outer);
        if (inner) buffer.FrameRect({1, 1, w - 1, h - 1}, Color32FromColor(FInBorderColor));
        return;
    }
    const int radius = FCutRound / 2;
    const TRect outlines[] = {{0, 0, w, h},     {0, 0, w - 1, h - 1}, {0, 1, w, h},
                              {1, 0, w, h},     {1, 0, w - 1, h},     {0, 1, w, h - 1}};
    for (const TRect& r : outlines) buffer.RoundRect(r, radius, 0, outer);
    if (inner) buffer.RoundRect({1, 1, w - 1, h - 1}, radius, 0, Color32FromColor(FInBorderColor));
}

// ---- window outline ----

void TOrbForm::ApplyWindowShape() {
    if (!FHostForm || IsLoading() || !Visible() || FMinimizing || FChangingState) return;
    TWindowShape shape;
    switch (FCutMode) {
        case CmNone:
            if (!FShapeSet) return;
            break;
        case CmRound:
            if (FFormState != OisMax && FCutRound > 0) shape = RoundShape();
            break;
        case CmMask: shape = MaskShape(); break;
    }
    FHostForm->SetShape(shape);
    FShapeSet = shape.Kind != TShapeKind::Rectangle;
}

// The pixels whose centres lie inside a rectangle of the frame's size with
// corners of diameter CutRound.
TWindowShape TOrbForm::RoundShape() const {
    const int w = Width(), h = Height();
    TWindowShape shape;
    if (w <= 0 || h <= 0) return shape;
    shape.Kind = TShapeKind::Mask;
    shape.Mask.SetSize(w, h);
    const double r = std::min({FCutRound / 2.0, w / 2.0, h / 2.0});
    for (int y = 0; y < h; ++y) {
        const double cy = y + 0.5;
        const double dy = cy < r ? r - cy : (cy > h - r ? cy - (h - r) : 0.0);
        int inset = 0;
        if (dy > 0) {
            const double dx = std::sqrt(std::max(0.0, r * r - dy * dy));
            inset = int(std::ceil(r - dx - 0.5));
        }
        if (w - 2 * inset > 0) shape.Mask.FillRect({inset, y, w - inset, y + 1}, Color32(255, 255, 255));
    }
    return shape;
}

// Every pixel of the mask that is not pure black belongs to the window; a
// resizable window gets the mask cut in nine parts and put together at its
// size first.
TWindowShape TOrbForm::MaskShape() const {
    TWindowShape shape;
    if (FCutMask.Empty()) return shape;
    TBitmap32 source = FCutMask;
    if (SupportReSize) {
        if (auto pieces = Cut9(FCutMask, FCutRect)) Assemble9(source, Width(), Height(), *pieces);
    }
    if (source.Empty()) return shape;
    shape.Kind = TShapeKind::Mask;
    shape.Mask.SetSize(source.Width(), source.Height());
    for (int y = 0; y < source.Height(); ++y)
        for (int x = 0; x < source.Width(); ++x)
            if ((source.Pixel(x, y) & 0x00FFFFFF) != 0) shape.Mask.SetPixel(x, y, Color32(255, 255, 255));
    return shape;
}

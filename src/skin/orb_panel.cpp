// TOrbPanel: its background over the parent and its picture, cut once.
#include "skin/orb_panel.h"

#include "skin/orb_style.h"

namespace {
void BlendOver(TPngImage& image) {
    image.DrawMode = TDrawMode::Blend;
    image.CombineMode = TCombineMode::Merge;
}
}  // namespace

TOrbPanel::TOrbPanel(TComponent* owner) : TOrbUIParentControl(owner) {
    TrackHover = false;
    SetColor(0x0000FF);
    SetBounds(0, 0, 300, 200);
}

void TOrbPanel::Loaded() {
    TOrbUIParentControl::Loaded();
    PrepareImages();
}

void TOrbPanel::ApplyStyle() {
    if (Style()) SetColor(Style()->PanelStyle.PanelColor);
}

void TOrbPanel::SetImgBack(const TPngImage& value) {
    FImgBack = value;
    BlendOver(FImgBack);
    PrepareImages();
}

void TOrbPanel::SetImgSplit(const TOrbUIPadding& value) {
    if (value == FImgSplit) return;
    FImgSplit = value;
    PrepareImages();
}

void TOrbPanel::PrepareImages() {
    if (IsLoading()) return;
    FColumns.reset();
    FRows.reset();
    if (FImgSplit.Left() < FImgSplit.Right())
        FColumns = Cut3H(FImgBack, FImgSplit.Left(), FImgSplit.Right());
    else if (FImgSplit.Top() < FImgSplit.Bottom())
        FRows = Cut3V(FImgBack, FImgSplit.Top(), FImgSplit.Bottom());
    for (auto* pieces : {&FColumns, &FRows})
        if (*pieces)
            for (auto& piece : **pieces) BlendOver(piece);
    Changed();
}

// With a colour, a translucent panel tints what lies beneath it instead of
// darkening it.
void TOrbPanel::PaintBackground(TBitmap32& canvas) {
    if (Alpha() == 255 || Color() == clNone) {
        TOrbUIParentControl::PaintBackground(canvas);
        return;
    }
    ::PaintParentBackground(*this, canvas);
    canvas.FillRectBlend(canvas.BoundsRect(), Color32FromColor(Color(), uint8_t(Alpha())));
}

void TOrbPanel::DrawColumns(TBitmap32& buffer, const TPiece3& pieces) const {
    const int w = Width(), h = Height();
    const int lw = pieces[0].Width(), mw = pieces[1].Width(), rw = pieces[2].Width();
    if (lw > 0) buffer.StretchDraw(Bounds(0, 0, lw, h), pieces[0].BoundsRect(), pieces[0]);
    if (mw > 0 && lw + rw < w - mw) buffer.StretchDraw({lw, 0, w - rw, h}, pieces[1].BoundsRect(), pieces[1]);
    if (rw > 0) buffer.StretchDraw(Bounds(w - rw, 0, rw, h), pieces[2].BoundsRect(), pieces[2]);
}

void TOrbPanel::DrawRows(TBitmap32& buffer, const TPiece3& pieces) const {
    const int w = Width(), h = Height();
    const int th = pieces[0].Height(), mh = pieces[1].Height(), bh = pieces[2].Height();
    if (th > 0) buffer.StretchDraw(Bounds(0, 0, w, th), pieces[0].BoundsRect(), pieces[0]);
    if (mh > 0 && th + bh < h - mh) buffer.StretchDraw({0, th, w, h - bh}, pieces[1].BoundsRect(), pieces[1]);
    if (bh > 0) buffer.StretchDraw(Bounds(0, h - bh, w, bh), pieces[2].BoundsRect(), pieces[2]);
}

void TOrbPanel::DrawControl(TBitmap32& buffer) {
    if (FColumns)
        DrawColumns(buffer, *FColumns);
    else if (FRows)
        DrawRows(buffer, *FRows);
    else if (!FImgBack.Empty())
        buffer.StretchDraw(ClientRect(), FImgBack.BoundsRect(), FImgBack);
}

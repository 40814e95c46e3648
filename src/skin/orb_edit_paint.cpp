// TOrbEdit's drawing, in layers: the box frame for the state, the picture,
// the selection, the text, the caret, the extra button. Also the measuring
// of the shown text, which the caret, the selection and the mouse share.
#include <algorithm>
#include <optional>

#include "platform/gfx/text.h"
#include "skin/orb_edit.h"
#include "skin/orb_image_list.h"
#include "skin/orb_image_ops.h"

namespace {
constexpr TTextFlags LineFlags = tfSingleLine | tfNoPrefix;
constexpr TColor DisabledTextColor = 0x00968F8A;
constexpr TColor32 PlainFrame = Color32(160, 167, 177), PlainFill = Color32(255, 255, 255);

// Frame `index` of a strip, falling back to frame 0 when the strip has
// fewer frames than the state asks for.
std::optional<TPngImage> FrameOf(const TPngImage& strip, int count, int index) {
    std::optional<TPngImage> frame = SliceState(strip, count, index);
    if (!frame) frame = SliceState(strip, count, 0);
    if (frame) {
        frame->DrawMode = TDrawMode::Blend;
        frame->CombineMode = TCombineMode::Merge;
    }
    return frame;
}
}  // namespace

std::string TOrbEdit::ShownText() const {
    if (!FPasswordChar.empty()) {
        std::string masked;
        for (int i = 0; i < FModel.Length(); ++i) masked += FPasswordChar;
        return masked;
    }
    // Control bytes would draw as nothing or as boxes of another width:
    // each shows as a space, so every character keeps its one boundary.
    std::string shown = FModel.Text();
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return shown;
}

// Boundary i of the shown text lies where the text before character i ends,
// measured with the real font: proportional glyphs put the caret between
// the characters actually drawn.
const std::vector<int>& TOrbEdit::BoundaryX() const {
    if (FMeasured && FMeasuredFont == Font()) return FBoundaryX;
    const std::string shown = ShownText();
    const size_t maskSize = FPasswordChar.size();
    FBoundaryX.assign(size_t(FModel.Length()) + 1, 0);
    for (int i = 1; i <= FModel.Length(); ++i) {
        const size_t bytes = maskSize ? maskSize * size_t(i) : FModel.ByteOffset(i);
        FBoundaryX[size_t(i)] = std::max(FBoundaryX[size_t(i) - 1], TextWidth(Font(), shown.substr(0, bytes), LineFlags));
    }
    FMeasured = true;
    FMeasuredFont = Font();
    return FBoundaryX;
}

void TOrbEdit::MeasureChanged() { FMeasured = false; }

// Only a focused, editable edit scrolls: elsewhere a text too long for the
// box ends with an ellipsis.
void TOrbEdit::ScrollCaretIntoView() {
    const std::vector<int>& xs = BoundaryX();
    const int width = TextRect().Width(), total = xs.back();
    if (!Focused() || !Editable() || total < width || FModel.CaretPos < 0) {
        FScrollX = 0;
        return;
    }
    const int caret = xs[size_t(std::min(FModel.CaretPos, FModel.Length()))];
    if (caret - FScrollX > width - 1) FScrollX = caret - width + 1;
    if (caret - FScrollX < 0) FScrollX = caret;
    FScrollX = std::clamp(FScrollX, 0, std::max(0, total - width + 1));
}

int TOrbEdit::BoxFrame() const {
    if (!IsEnabledInTree()) return 3;
    if (Focused() || MenuOpen()) return 2;
    if (Hover()) return 1;
    return 0;
}

int TOrbEdit::ExtraFrame() const {
    if (!IsEnabledInTree()) return 3;
    if (FExtraPressed && FExtraHover) return 2;
    if (FExtraHover) return 1;
    return 0;
}

void TOrbEdit::DrawControl(TBitmap32& buffer) {
    if (Width() <= 0 || Height() <= 0) return;
    DrawBox(buffer);
    DrawPicture(buffer);
    DrawSelection(buffer);
    DrawTextLayer(buffer);
    DrawCaret(buffer);
    DrawExtra(buffer);
}

void TOrbEdit::DrawBox(TBitmap32& buffer) {
    const TPngImage& strip = BoxImage();
    std::optional<TPngImage> frame = FrameOf(strip, FEditStateCount, BoxFrame());
    if (!frame) {
        // Without artwork the edit still reads as an edit.
        buffer.FillRect(ClientRect(), PlainFill);
        buffer.FrameRect(ClientRect(), PlainFrame);
        return;
    }
    if (FImgx1 < FImgX2) {
        if (std::optional<TPngImage> wide = Stretch3H(*frame, FImgx1, FImgX2, 255, clNone, Width())) {
            wide->DrawMode = TDrawMode::Blend;
            wide->CombineMode = TCombineMode::Merge;
            buffer.Draw(0, 0, *wide);
            return;
        }
    }
    buffer.Draw(0, 0, *frame);
}

void TOrbEdit::DrawPicture(TBitmap32& buffer) {
    const TRect r = PictureRect();
    if (!r.IsEmpty()) FImageList->Draw(&buffer, r.Left, r.Top, IsEnabledInTree(), FImgindex);
}

void TOrbEdit::DrawSelection(TBitmap32& buffer) {
    if (!FModel.HasSelection()) return;
    const TRect area = TextRect();
    const int left = std::max(area.Left, CaretX(FModel.SelLow()));
    const int right = std::min(area.Right, CaretX(FModel.SelHigh()));
    const int top = FBoxoffset + FOutWidth, bottom = Height() - FBoxoffset - FOutWidth;
    if (right > left && bottom > top) buffer.FillRect({left, top, right, bottom}, Color32FromColor(FSelColor));
}

void TOrbEdit::DrawTextLayer(TBitmap32& buffer) {
    const std::string shown = ShownText();
    const TRect area = TextRect();
    if (shown.empty() || area.IsEmpty()) return;
    TFont font = Font();
    if (!IsEnabledInTree()) font.Color = DisabledTextColor;
    const bool scrolls = Focused() && Editable();
    if (FScrollX == 0) {
        DrawText(buffer, area, font, shown, LineFlags | tfVCenter | (scrolls ? 0u : uint32_t(tfEndEllipsis)));
        return;
    }
    // Shifted left, the text must still be cut at the area's left edge: it
    // is drawn into a layer the size of the area first.
    TBitmap32 layer(area.Width(), area.Height());
    layer.Clear(0);
    const TRect shiftedRect = Bounds(-FScrollX, 0, BoundaryX().back() + area.Width(), area.Height());
    DrawText(layer, shiftedRect, font, shown, LineFlags | tfVCenter | tfNoClip);
    layer.DrawMode = TDrawMode::Blend;
    layer.CombineMode = TCombineMode::Merge;
    buffer.Draw(area.Left, area.Top, layer);
}

void TOrbEdit::DrawCaret(TBitmap32& buffer) {
    if (!CaretShown()) return;
    const TRect area = TextRect();
    const int x = CaretX(FModel.CaretPos);
    if (x < area.Left - 1 || x >= area.Right + 1) return;
    const int lineHeight = std::min(TextHeight(Font(), "Ag", LineFlags), area.Height());
    const int top = area.Top + (area.Height() - lineHeight) / 2;
    buffer.FillRect(Bounds(x, top, 1, lineHeight), Color32FromColor(Font().Color == clNone ? 0 : Font().Color));
}

void TOrbEdit::DrawExtra(TBitmap32& buffer) {
    const TRect r = ExtraRect();
    if (r.IsEmpty()) return;
    if (std::optional<TPngImage> frame = FrameOf(FImgExtra, FExtraStateCount, ExtraFrame()))
        buffer.Draw(r.Left, r.Top, *frame);
}

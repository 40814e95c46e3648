// TOrbScrollBar's drawing: the track under the whole bar, the two buttons,
// then the thumb with its grip, each in the frame of its state; and the
// helpers that cut the strips into frames and stretch them along the bar.
#include <algorithm>

#include "skin/orb_image_ops.h"
#include "skin/orb_scroll_bar_impl.h"

namespace {
void MakeBlendMerge(TPngImage& image) {
    image.DrawMode = TDrawMode::Blend;
    image.CombineMode = TCombineMode::Merge;
}

std::vector<TPngImage> CutStackedFrames(const TPngImage& strip, int count) {
    if (strip.Empty() || count <= 0 || strip.Height() % count != 0) return {};
    const int frameHeight = strip.Height() / count;
    std::vector<TPngImage> frames;
    for (int k = 0; k < count; ++k) {
        frames.push_back(strip.Copy(Bounds(0, k * frameHeight, strip.Width(), frameHeight)));
        MakeBlendMerge(frames.back());
    }
    return frames;
}

// Frame index for a part: 0 normal, 1 hover, 2 pressed, 3 disabled.
int PartFrame(bool disabled, bool pressed, bool hover) {
    if (disabled) return 3;
    if (pressed) return 2;
    return hover ? 1 : 0;
}

void Restretch(TOrbScrollFrames& strip, const TOrbUIPadding& split, int length, bool vertical) {
    if (strip.StretchedLength == length) return;
    strip.Stretched.clear();
    const int cutStart = vertical ? split.Top() : split.Left();
    const int cutEnd = vertical ? split.Bottom() : split.Right();
    for (const TPngImage& frame : strip.Frames)
        strip.Stretched.push_back(StretchAlongBar(frame, cutStart, cutEnd, length, vertical));
    strip.StretchedLength = length;
}
}  // namespace

std::vector<TPngImage> CutScrollFrames(const TPngImage& strip, int count, TSplitMode mode) {
    if (mode == SmVer) return CutStackedFrames(strip, count);
    std::vector<TPngImage> frames;
    for (int k = 0; k < count; ++k) {
        std::optional<TPngImage> frame = SliceState(strip, count, k);
        if (!frame) return {};
        frames.push_back(std::move(*frame));
    }
    return frames;
}

TPngImage StretchAlongBar(const TPngImage& frame, int cutStart, int cutEnd, int length, bool vertical) {
    const int size = vertical ? frame.Height() : frame.Width();
    if (length <= 0 || size <= 0) return {};
    if (cutStart < 0 || cutEnd <= cutStart || cutEnd > size) {
        cutStart = 0;
        cutEnd = size;
    }
    TPngImage source = frame;
    source.DrawMode = TDrawMode::Opaque;
    TPngImage out(vertical ? frame.Width() : length, vertical ? length : frame.Height());
    auto put = [&](int at, int from, int to) {
        if (to <= from) return;
        const TRect part = vertical ? TRect{0, from, frame.Width(), to} : TRect{from, 0, to, frame.Height()};
        if (vertical)
            out.Draw(0, at, part, source);
        else
            out.Draw(at, 0, part, source);
    };
    const int endLength = size - cutEnd, middle = cutEnd - cutStart;
    put(0, 0, cutStart);
    const int middleEnd = length - endLength;
    for (int at = cutStart; at < middleEnd; at += middle)
        put(at, cutStart, cutStart + std::min(middle, middleEnd - at));
    // Where the bar is shorter than both ends, the far end wins.
    put(length - endLength, cutEnd, size);
    MakeBlendMerge(out);
    return out;
}

void TOrbScrollBar::DrawControl(TBitmap32& buffer) {
    const TGeometry g = Geometry();
    const bool disabled = !IsEnabledInTree();
    DrawTrack(buffer, disabled);
    if (Skin.ShowButton) DrawButtons(buffer, g, disabled);
    DrawThumb(buffer, g, disabled);
}

// Two track frames are normal and disabled; three or four follow the part
// order (normal, hover, pressed, disabled). The track never shows pressed.
void TOrbScrollBar::DrawTrack(TBitmap32& buffer, bool disabled) {
    TOrbScrollFrames& back = FImpl->Back;
    if (back.Empty()) return;
    const bool ver = FKind == skVer;
    Restretch(back, Skin.BackSplit, ver ? Height() : Width(), ver);
    const int count = int(back.Frames.size());
    int index = 0;
    if (count == 2)
        index = disabled ? 1 : 0;
    else if (disabled && count > 3)
        index = 3;
    else if (!disabled && Hover() && !Pressed() && count > 1)
        index = 1;
    if (const TPngImage* image = back.PickStretched(index)) buffer.Draw(0, 0, *image);
}

void TOrbScrollBar::DrawButtons(TBitmap32& buffer, const TGeometry& g, bool disabled) {
    const TImpl& s = *FImpl;
    auto draw = [&](const TOrbScrollFrames& strip, const TRect& rect, TPart part) {
        const size_t i = size_t(part);
        const TPngImage* image = strip.Pick(PartFrame(disabled, s.Pressed[i], s.Hover[i]));
        if (image && !rect.IsEmpty()) buffer.Draw(rect.Left, rect.Top, *image);
    };
    draw(s.BtnLT, g.BtnLT, TPart::BtnLT);
    draw(s.BtnRB, g.BtnRB, TPart::BtnRB);
}

void TOrbScrollBar::DrawThumb(TBitmap32& buffer, const TGeometry& g, bool disabled) {
    if (g.Thumb.IsEmpty()) return;
    TImpl& s = *FImpl;
    const bool ver = FKind == skVer;
    const size_t i = size_t(TPart::Thumb);
    const int frame = PartFrame(disabled, s.Pressed[i], s.Hover[i]);
    if (!s.Slider.Empty()) {
        Restretch(s.Slider, Skin.SliderSplit, ver ? g.Thumb.Height() : g.Thumb.Width(), ver);
        if (const TPngImage* image = s.Slider.PickStretched(frame)) buffer.Draw(g.Thumb.Left, g.Thumb.Top, *image);
    }
    const TPngImage* grip = s.Center.Pick(frame);
    if (!grip) return;
    // The grip sits in the middle of the thumb and never spills out of it.
    const int x = g.Thumb.Left + (g.Thumb.Width() - grip->Width()) / 2;
    const int y = g.Thumb.Top + (g.Thumb.Height() - grip->Height()) / 2;
    const TRect shown = Intersect(Bounds(x, y, grip->Width(), grip->Height()), g.Thumb);
    if (shown.IsEmpty()) return;
    buffer.Draw(shown.Left, shown.Top, shown.Offset(-x, -y), *grip);
}

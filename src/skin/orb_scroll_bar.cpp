// TOrbScrollBar: construction, the shared resource, the cut skin frames,
// the range setters and the one geometry function that both the drawing
// and the hit test read.
#include "skin/orb_scroll_bar.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/gui/application.h"
#include "skin/orb_scroll_bar_impl.h"

namespace {
constexpr int DefaultThickness = 15, DefaultLength = 200;
// What the system thumb size is taken to be when no application runs.
constexpr int FallbackThumbSize = 17;

int SystemThumbSize() { return Application ? Application->Host().ScrollThumbSize() : FallbackThumbSize; }

int ClampToInt(long long value) { return int(std::clamp<long long>(value, INT_MIN, INT_MAX)); }
}  // namespace

const TPngImage* TOrbScrollFrames::Pick(int index) const {
    if (Frames.empty()) return nullptr;
    return index >= 0 && index < int(Frames.size()) ? &Frames[size_t(index)] : &Frames[0];
}

const TPngImage* TOrbScrollFrames::PickStretched(int index) const {
    if (Stretched.empty()) return nullptr;
    return index >= 0 && index < int(Stretched.size()) ? &Stretched[size_t(index)] : &Stretched[0];
}

void TOrbScrollFrames::Reset(std::vector<TPngImage> frames) {
    Frames = std::move(frames);
    Stretched.clear();
    StretchedLength = -1;
}

TOrbScrollBar::TOrbScrollBar(TComponent* owner) : TOrbUIParentControl(owner), FImpl(std::make_unique<TImpl>()) {
    SetBounds(0, 0, DefaultThickness, DefaultLength);
}

TOrbScrollBar::~TOrbScrollBar() {
    if (FScrollRes) RemoveFreeNotification(FScrollRes);
}

void TOrbScrollBar::Loaded() {
    TOrbUIParentControl::Loaded();
    SkinChanged();
}

void TOrbScrollBar::SetScrollRes(TOrbScrollBarRes* value) {
    if (value == FScrollRes) return;
    if (FScrollRes) RemoveFreeNotification(FScrollRes);
    FScrollRes = value;
    if (!FScrollRes) return;
    FreeNotification(FScrollRes);
    Skin = FScrollRes->Skin;
    SkinChanged();
}

void TOrbScrollBar::Notification(TComponent* component, TOperation operation) {
    TOrbUIParentControl::Notification(component, operation);
    if (operation != TOperation::Remove || component != FScrollRes) return;
    // The copied images stay: the bar keeps its looks without the resource.
    FScrollRes = nullptr;
    Changed();
}

void TOrbScrollBar::SkinChanged() {
    TImpl& s = *FImpl;
    s.Back.Reset(CutScrollFrames(Skin.ImgBack, Skin.BackStateCount, Skin.SplitMode));
    s.Slider.Reset(CutScrollFrames(Skin.ImgSlider, Skin.SliderStateCount, Skin.SplitMode));
    s.BtnLT.Reset(CutScrollFrames(Skin.ImgBtnLT, Skin.BtnStateCount, Skin.SplitMode));
    s.BtnRB.Reset(CutScrollFrames(Skin.ImgBtnRB, Skin.BtnStateCount, Skin.SplitMode));
    s.Center.Reset(CutScrollFrames(Skin.ImgCenter, Skin.CenterStateCount, Skin.SplitMode));
    ApplySkinSize();
    Changed();
}

// The bar is as thick as its button frame and then, where there is one, as
// its track frame: the track runs under the whole bar and decides.
void TOrbScrollBar::ApplySkinSize() {
    const TImpl& s = *FImpl;
    const bool ver = FKind == skVer;
    for (const TOrbScrollFrames* strip : {&s.BtnLT, &s.Back}) {
        if (strip->Empty()) continue;
        if (ver)
            SetWidth(strip->FrameWidth());
        else
            SetHeight(strip->FrameHeight());
    }
}

void TOrbScrollBar::SetKind(TOrbUIScrollkind value) {
    if (value == FKind) return;
    FKind = value;
    // A bar still at the default size of the old direction takes that of
    // the new one.
    const bool wasDefaultVer = value == skHor && Width() == DefaultThickness && Height() == DefaultLength;
    const bool wasDefaultHor = value == skVer && Width() == DefaultLength && Height() == DefaultThickness;
    if (wasDefaultVer || wasDefaultHor) SetBounds(Left(), Top(), Height(), Width());
    ApplySkinSize();
    Changed();
}

void TOrbScrollBar::Resized() {
    TOrbUIParentControl::Resized();
    Changed();
}

// ---- range ----

void TOrbScrollBar::SetMin(int value) { ApplyParams(value, std::max(value, FMax), FPageSize, FPosition); }
void TOrbScrollBar::SetMax(int value) { ApplyParams(std::min(value, FMin), value, FPageSize, FPosition); }
void TOrbScrollBar::SetPageSize(int value) { ApplyParams(FMin, FMax, value, FPosition); }
void TOrbScrollBar::SetPosition(int value) { ApplyParams(FMin, FMax, FPageSize, value); }

void TOrbScrollBar::SetParams(int min, int max, int pageSize, int position) {
    ApplyParams(min, std::max(min, max), pageSize, position);
}

// Keeps the invariants every setter relies on: Min <= Max, 0 <= PageSize
// <= Max - Min + 1 (a negative page size leaves the old one), Position in
// [Min, Max - PageSize + 1].
void TOrbScrollBar::ApplyParams(long long min, long long max, int pageSize, long long position) {
    const int newMin = ClampToInt(min), newMax = ClampToInt(std::max(min, max));
    const long long range = (long long)newMax - newMin + 1;
    const long long page = std::min<long long>(pageSize < 0 ? FPageSize : pageSize, range);
    const long long newPosition = std::clamp<long long>(position, newMin, newMax - page + 1);
    if (newMin == FMin && newMax == FMax && page == FPageSize && newPosition == FPosition) return;
    FMin = newMin;
    FMax = newMax;
    FPageSize = int(page);
    FPosition = ClampToInt(newPosition);
    Changed();
}

int TOrbScrollBar::ClampPosition(long long value) const {
    return ClampToInt(std::clamp<long long>(value, FMin, (long long)FMax - FPageSize + 1));
}

// The number of steps the thumb can travel.
long long TOrbScrollBar::ScrollRange() const {
    return (long long)FMax - FMin - FPageSize + (FPageSize != 0 ? 1 : 0);
}

// ---- geometry ----

int TOrbScrollBar::ThumbLength(int trackLength) const {
    const int systemSize = SystemThumbSize();
    long long length = systemSize;
    if (FPageSize > 0) {
        const long long range = (long long)FMax - FMin + 1;
        length = std::llround(double(trackLength) * FPageSize / double(range));
        length = std::max<long long>(length, systemSize * 3 / 2);
    }
    // A thumb as long as the track would show nothing to scroll.
    return length >= trackLength ? 0 : int(length);
}

TOrbScrollBar::TGeometry TOrbScrollBar::Geometry() const {
    const TImpl& s = *FImpl;
    const bool ver = FKind == skVer;
    const int length = ver ? Height() : Width();
    const int cross = ver ? Width() : Height();
    auto along = [ver](int start, int end, int crossStart, int crossEnd) -> TRect {
        if (end <= start || crossEnd <= crossStart) return {};
        return ver ? TRect{crossStart, start, crossEnd, end} : TRect{start, crossStart, end, crossEnd};
    };
    auto lengthOf = [ver](const TOrbScrollFrames& f) { return ver ? f.FrameHeight() : f.FrameWidth(); };
    auto crossOf = [ver](const TOrbScrollFrames& f) { return ver ? f.FrameWidth() : f.FrameHeight(); };

    TGeometry g;
    int trackStart = 0, trackEnd = length;
    if (Skin.ShowButton && !s.BtnLT.Empty()) {
        const int ltLength = lengthOf(s.BtnLT), rbLength = lengthOf(s.BtnRB);
        int ltStart = 0;
        if (Skin.JoinButton && ver) {
            ltStart = length - rbLength - ltLength;
            trackEnd = length - (ltLength + rbLength - Skin.BtnoffSet);
        } else {
            trackStart = ltLength - Skin.BtnoffSet;
            trackEnd = length - (rbLength - Skin.BtnoffSet);
        }
        g.BtnLT = along(ltStart, ltStart + ltLength, 0, crossOf(s.BtnLT));
        g.BtnRB = along(length - rbLength, length, 0, crossOf(s.BtnRB));
    }
    trackStart = std::clamp(trackStart, 0, std::max(length, 0));
    trackEnd = std::clamp(trackEnd, trackStart, std::max(length, trackStart));
    g.Track = along(trackStart, trackEnd, 0, cross);

    const int trackLength = trackEnd - trackStart;
    const int thumb = ThumbLength(trackLength);
    if (thumb <= 0) return g;
    const long long range = ScrollRange();
    long long start = trackStart;
    if (range > 0) {
        if (FPosition > (long long)FMax - FPageSize + 1)
            start = trackEnd - thumb;
        else
            start = std::llround(double(FPosition - (long long)FMin) * (trackLength - thumb) / double(range)) +
                    trackStart;
    }
    const int thumbStart = int(std::clamp<long long>(start, trackStart, trackEnd - thumb));
    int crossStart = 0, crossEnd = cross;
    if (!s.Slider.Empty()) {
        crossStart = (cross - crossOf(s.Slider)) / 2;
        crossEnd = crossStart + crossOf(s.Slider);
    }
    g.Thumb = along(thumbStart, thumbStart + thumb, crossStart, crossEnd);
    g.PageBefore = along(trackStart, thumbStart, 0, cross);
    g.PageAfter = along(thumbStart + thumb, trackEnd, 0, cross);
    return g;
}

int TOrbScrollBar::PositionFromCoordinate(int coordinate) const {
    const TGeometry g = Geometry();
    const bool ver = FKind == skVer;
    const int trackStart = ver ? g.Track.Top : g.Track.Left;
    const int trackLength = ver ? g.Track.Height() : g.Track.Width();
    const int thumb = ver ? g.Thumb.Height() : g.Thumb.Width();
    const long long range = ScrollRange();
    if (trackLength == thumb || range <= 0) return ClampPosition(0);
    const double value = double(range) * (coordinate - trackStart) / double(trackLength - thumb) + FMin;
    return ClampPosition(std::llround(value));
}

TOrbScrollBar::TPart TOrbScrollBar::PartAt(TPoint p) const {
    const TGeometry g = Geometry();
    // Buttons first: they are drawn over the ends of the track.
    if (g.BtnLT.Contains(p)) return TPart::BtnLT;
    if (g.BtnRB.Contains(p)) return TPart::BtnRB;
    if (g.Thumb.Contains(p)) return TPart::Thumb;
    if (g.PageBefore.Contains(p)) return TPart::PageBefore;
    if (g.PageAfter.Contains(p)) return TPart::PageAfter;
    return TPart::None;
}

bool TOrbScrollBar::PartHovered(TPart part) const { return FImpl->Hover[size_t(part)]; }
bool TOrbScrollBar::PartPressed(TPart part) const { return FImpl->Pressed[size_t(part)]; }

// The inside of TOrbScrollBar, shared by its source files only: the skin
// strips cut into state frames, the per-part hover and press flags, the
// drag and auto-repeat state, and the image helpers the bar cuts with.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "platform/gui/timer.h"
#include "skin/orb_scroll_bar.h"

// One strip's state frames, and the same frames stretched along the bar to
// a length; the stretched copies are kept until that length changes.
struct TOrbScrollFrames {
    std::vector<TPngImage> Frames;
    std::vector<TPngImage> Stretched;
    int StretchedLength = -1;

    bool Empty() const { return Frames.empty(); }
    // Frame `index`, or the normal frame when the strip has no such state;
    // null without frames.
    const TPngImage* Pick(int index) const;
    const TPngImage* PickStretched(int index) const;
    int FrameWidth() const { return Frames.empty() ? 0 : Frames[0].Width(); }
    int FrameHeight() const { return Frames.empty() ? 0 : Frames[0].Height(); }
    void Reset(std::vector<TPngImage> frames);
};

struct TOrbScrollBar::TImpl {
    TOrbScrollFrames Back, Slider, BtnLT, BtnRB, Center;
    // Indexed by TPart.
    std::array<bool, 6> Hover{};
    std::array<bool, 6> Pressed{};
    int GrabOffset = 0;
    TPoint LastPoint;
    std::unique_ptr<TTimer> Timer;
    bool WaitingForDelay = false;  // the next tick is the first, after the delay
};

// The frames of a strip of `count` states: side by side (SmHor) or stacked
// top to bottom (SmVer). None when the strip does not divide evenly.
std::vector<TPngImage> CutScrollFrames(const TPngImage& strip, int count, TSplitMode mode);
// The frame brought to `length` along the bar (down for a vertical bar):
// [0, cutStart) fixed, [cutStart, cutEnd) repeated, [cutEnd, size) fixed at
// the far end. A cut that does not give a middle repeats the whole frame.
TPngImage StretchAlongBar(const TPngImage& frame, int cutStart, int cutEnd, int length, bool vertical);

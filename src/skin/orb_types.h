// The small types every skinned control shares: the padding that says where
// a skin image is cut, the states, layouts and split directions, and the
// picture formats an image storage records.
#pragma once

#include "platform/gfx/bitmap32.h"

using TMarginInteger = int;

// Four integers: margins, or, for a property named ...Split, the x positions
// (Left, Right) and y positions (Top, Bottom) at which a skin image is cut
// into fixed corners and edges and a repeatable middle.
class TOrbUIPadding {
public:
    TOrbUIPadding() = default;
    TOrbUIPadding(int left, int top, int right, int bottom) : FValues{left, top, right, bottom} {}

    TMarginInteger Left() const { return FValues[0]; }
    TMarginInteger Top() const { return FValues[1]; }
    TMarginInteger Right() const { return FValues[2]; }
    TMarginInteger Bottom() const { return FValues[3]; }
    // Index 0..3 is Left, Top, Right, Bottom; any other index is ignored.
    // Answers whether the stored value changed.
    bool SetValue(int index, TMarginInteger value) {
        if (index < 0 || index > 3 || FValues[index] == value) return false;
        FValues[index] = value;
        return true;
    }
    TMarginInteger Value(int index) const { return index >= 0 && index <= 3 ? FValues[index] : 0; }
    void SetLeft(int v) { SetValue(0, v); }
    void SetTop(int v) { SetValue(1, v); }
    void SetRight(int v) { SetValue(2, v); }
    void SetBottom(int v) { SetValue(3, v); }
    void Assign(const TOrbUIPadding& other) { *this = other; }

    friend bool operator==(const TOrbUIPadding&, const TOrbUIPadding&) = default;

private:
    TMarginInteger FValues[4] = {0, 0, 0, 0};
};

enum TOrbUIBtnStatus { bsNormal, bsOver, bsDown, bsDisable, bsSelect, bsFocus };
enum TOrbUILayout { olGlphyLeft, olGlphyTop, olGlphyRight, olGlphyBottom };
enum TSplitMode { SmHor, SmVer };
enum TOrbUIImageType { OrbUnknown, OrbICON, OrbBMP, OrbJPG, OrbGIF, OrbPNG };

// Skin images are held decoded: a PNG is a 32-bit bitmap with its alpha.
using TPngImage = TBitmap32;

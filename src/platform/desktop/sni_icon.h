// Tray icon pictures: the picture at the size a tray shows, taken from a
// set drawn at several sizes, and the pixmap list a status-notifier item
// hands to the desktop's panel.
#pragma once

#include <glib.h>

#include <vector>

#include "platform/gfx/bitmap32.h"

// The sizes the item offers: ordinary panels show 16 to 24 pixels, large
// or high-density ones 32 or 48; a panel picks the nearest and scales it.
inline constexpr int SniIconSizes[] = {16, 22, 24, 32, 48};

// The picture at `size` x `size`: the one of that size when the set has it,
// else the smallest larger one (the largest when none is larger) scaled with
// a filter that averages on the way down, centred when it is not square.
// Empty for an empty set.
TBitmap32 IconAtSize(const std::vector<TBitmap32>& images, int size);

// a(iiay): one (width, height, pixels) entry for each of SniIconSizes, the
// pixels ARGB32 with straight alpha, each pixel's bytes in network order
// (A, R, G, B), rows top to bottom. An empty array for an empty set. The
// result is a floating reference.
GVariant* SniPixmapVariant(const std::vector<TBitmap32>& images);

// The skin images compiled into the program. The sources are SVG files in
// assets/skin, rendered to PNG at build time; each is found by its file
// stem ("scroll_slider", "menu_back", ...). A strip holds its state frames
// side by side, every frame at its exact pixel size.
#pragma once

#include <string_view>
#include <vector>

#include "platform/gfx/bitmap32.h"

// The PNG bytes of the named image; empty when there is no such image.
std::string_view SkinArtworkBytes(std::string_view name);
// The named image decoded; an empty bitmap when there is no such image.
TBitmap32 SkinArtwork(std::string_view name);
// Every image name, in name order.
std::vector<std::string_view> SkinArtworkNames();

// Lookup over the table of skin images the build generates from
// assets/skin (see cmake/embed_skin.cmake).
#include "skin/skin_artwork.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>

#include "platform/gfx/picture.h"

extern const std::pair<std::string_view, std::string_view> SkinArtworkTable[];
extern const std::size_t SkinArtworkTableSize;

std::string_view SkinArtworkBytes(std::string_view name) {
    const auto* first = SkinArtworkTable;
    const auto* last = SkinArtworkTable + SkinArtworkTableSize;
    const auto* found = std::find_if(first, last, [name](const auto& entry) { return entry.first == name; });
    if (found == last) return {};
    return found->second;
}

TBitmap32 SkinArtwork(std::string_view name) {
    TBitmap32 image;
    std::string_view bytes = SkinArtworkBytes(name);
    if (!bytes.empty()) ReadPng(std::string(bytes), image);
    return image;
}

std::vector<std::string_view> SkinArtworkNames() {
    std::vector<std::string_view> names;
    names.reserve(SkinArtworkTableSize);
    for (std::size_t i = 0; i < SkinArtworkTableSize; ++i) names.push_back(SkinArtworkTable[i].first);
    return names;
}

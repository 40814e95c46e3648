#include "platform/desktop/sni_icon.h"

#include <cairo.h>

#include <algorithm>
#include <cstdint>

namespace {

// The picture a copy at `size` is best made from: an exact match, else the
// smallest that is larger (scaling down keeps detail), else the largest.
const TBitmap32* SourceFor(const std::vector<TBitmap32>& images, int size) {
    const TBitmap32* larger = nullptr;
    const TBitmap32* largest = nullptr;
    for (const TBitmap32& image : images) {
        if (image.Empty()) continue;
        int extent = std::max(image.Width(), image.Height());
        if (image.Width() == size && image.Height() == size) return &image;
        if (extent > size && (!larger || extent < std::max(larger->Width(), larger->Height()))) larger = &image;
        if (!largest || extent > std::max(largest->Width(), largest->Height())) largest = &image;
    }
    return larger ? larger : largest;
}

}  // namespace

TBitmap32 IconAtSize(const std::vector<TBitmap32>& images, int size) {
    const TBitmap32* source = SourceFor(images, size);
    if (!source || size <= 0) return TBitmap32();
    if (source->Width() == size && source->Height() == size) return *source;
    TBitmap32 out(size, size);
    double scale = double(size) / std::max(source->Width(), source->Height());
    cairo_t* cr = cairo_create(static_cast<cairo_surface_t*>(out.CairoSurface()));
    cairo_translate(cr, (size - source->Width() * scale) / 2, (size - source->Height() * scale) / 2);
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, static_cast<cairo_surface_t*>(source->CairoSurface()), 0, 0);
    // GOOD filters over the whole footprint when shrinking; the default
    // bilinear one would sample only four pixels of a 256-pixel source.
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_destroy(cr);
    out.MarkDirty();
    return out;
}

GVariant* SniPixmapVariant(const std::vector<TBitmap32>& images) {
    GVariantBuilder list;
    g_variant_builder_init(&list, G_VARIANT_TYPE("a(iiay)"));
    bool any = std::any_of(images.begin(), images.end(), [](const TBitmap32& i) { return !i.Empty(); });
    for (int size : SniIconSizes) {
        if (!any) break;
        TBitmap32 icon = IconAtSize(images, size);
        std::vector<uint8_t> bytes;
        bytes.reserve(size_t(size) * size * 4);
        for (int y = 0; y < size; y++)
            for (int x = 0; x < size; x++) {
                TColor32 c = icon.Pixel(x, y);  // straight 0xAARRGGBB
                bytes.insert(bytes.end(), {AlphaOf(c), RedOf(c), GreenOf(c), BlueOf(c)});
            }
        GVariant* pixels = g_variant_new_fixed_array(G_VARIANT_TYPE_BYTE, bytes.data(), bytes.size(), 1);
        g_variant_builder_add(&list, "(ii@ay)", size, size, pixels);
    }
    return g_variant_builder_end(&list);
}

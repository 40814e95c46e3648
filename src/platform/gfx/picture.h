// Reading and writing images: PNG through libpng (read and write), JPEG
// through libjpeg (read), and a picture holder that remembers the format it
// was loaded from. Damaged or unknown data gives false / an empty picture,
// never a crash. Pictures may be hostile (they come from the network):
// more than 8192 pixels on a side, a size the compressed data could not
// possibly hold, a file cut short or damaged data inside it are all
// refused, the size checks before any pixel memory is allocated.
#pragma once

#include <string>

#include "platform/gfx/bitmap32.h"

// PNG of any colour type and depth into a bitmap: palette, grey and 16-bit
// images are converted to 8-bit ARGB, transparency (alpha channel or tRNS)
// is kept, images without it are opaque. False leaves `out` empty.
bool ReadPng(const std::string& bytes, TBitmap32& out);
bool ReadPngFile(const std::string& path, TBitmap32& out);
// 8-bit RGBA PNG of the bitmap's straight colours. An empty bitmap cannot
// be written (false).
bool WritePng(const TBitmap32& bitmap, std::string& bytes);
bool WritePngFile(const TBitmap32& bitmap, const std::string& path);

// Baseline or progressive JPEG (grey or colour) into an opaque bitmap. A
// file that ends early or whose data libjpeg reports as corrupt is refused
// rather than shown with grey or garbled parts.
bool ReadJpeg(const std::string& bytes, TBitmap32& out);

enum class TPictureFormat { Unknown, Icon, Bitmap, Jpeg, Png };

// The format the leading bytes announce: PNG and JPEG signatures, "BM" for
// a bitmap file, the icon directory header for an icon.
TPictureFormat DetectPictureFormat(const std::string& bytes);

// An image of any format the program loads, held decoded.
class TPicture {
public:
    // False for unknown, unsupported or damaged data; the picture is then
    // empty with format Unknown.
    bool LoadFromMemory(const std::string& bytes);
    bool LoadFromFile(const std::string& path);
    // Takes a bitmap made in memory (format Bitmap, or Unknown when empty).
    void Assign(const TBitmap32& bitmap);
    void Clear();

    bool Empty() const { return FBitmap.Empty(); }
    int Width() const { return FBitmap.Width(); }
    int Height() const { return FBitmap.Height(); }
    TPictureFormat Format() const { return FFormat; }
    const TBitmap32& Bitmap() const { return FBitmap; }

private:
    TBitmap32 FBitmap;
    TPictureFormat FFormat = TPictureFormat::Unknown;
};

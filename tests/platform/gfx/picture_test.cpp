// PNG and JPEG reading and writing, the picture holder's format records,
// and damaged input. Test images are made here with libpng and libjpeg so
// no binary fixtures are needed.
#include "platform/gfx/picture.h"

#include <gtest/gtest.h>
#include <png.h>
#include <stdio.h>

#include <jpeglib.h>

#include <cstring>
#include <vector>

#include "support/test_support.h"

namespace {

// A PNG of `format` (a libpng simplified-API format) from raw samples.
std::string MakePng(int w, int h, png_uint_32 format, const std::vector<uint8_t>& samples,
                    const std::vector<uint8_t>& colormap = {}, int colormapEntries = 0) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(w);
    image.height = png_uint_32(h);
    image.format = format;
    image.colormap_entries = png_uint_32(colormapEntries);
    png_alloc_size_t size = 0;
    const void* map = colormap.empty() ? nullptr : colormap.data();
    EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, samples.data(), 0, map));
    std::string out(size, '\0');
    EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, samples.data(), 0, map));
    out.resize(size);
    return out;
}

// A JPEG of w x h pixels from `components` samples per pixel (1 grey, 3 RGB).
std::string MakeJpeg(int w, int h, int components, const std::vector<uint8_t>& samples) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(w);
    cinfo.image_height = JDIMENSION(h);
    cinfo.input_components = components;
    cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        auto* row = const_cast<JSAMPLE*>(samples.data() + cinfo.next_scanline * JDIMENSION(w * components));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string out(reinterpret_cast<char*>(buffer), size);
    free(buffer);
    return out;
}

std::string SolidJpeg(int w, int h, uint8_t r, uint8_t g, uint8_t b) {
    std::vector<uint8_t> samples;
    for (int i = 0; i < w * h; ++i) samples.insert(samples.end(), {r, g, b});
    return MakeJpeg(w, h, 3, samples);
}

// Busy content so most of the file is scan data after the headers.
std::string NoisyJpeg(int side) {
    std::vector<uint8_t> samples(size_t(side * side * 3));
    uint32_t seed = 12345;
    for (auto& v : samples) v = uint8_t((seed = seed * 1103515245 + 12345) >> 16);
    return MakeJpeg(side, side, 3, samples);
}

TBitmap32 Sample() {
    TBitmap32 b(3, 2);
    b.SetPixel(0, 0, Color32(255, 0, 0));
    b.SetPixel(1, 0, Color32(0, 255, 0, 128));
    b.SetPixel(2, 0, Color32(0, 0, 255, 1));
    b.SetPixel(0, 1, Color32(12, 34, 56, 200));
    b.SetPixel(1, 1, 0);
    b.SetPixel(2, 1, Color32(255, 255, 255, 255));
    return b;
}

void ExpectSamePixels(const TBitmap32& a, const TBitmap32& b) {
    ASSERT_EQ(a.Width(), b.Width());
    ASSERT_EQ(a.Height(), b.Height());
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) EXPECT_EQ(a.Pixel(x, y), b.Pixel(x, y)) << x << "," << y;
}

}  // namespace

TEST(Png, RoundTripKeepsEveryPixelAndItsAlpha) {
    TBitmap32 original = Sample();
    std::string bytes;
    ASSERT_TRUE(WritePng(original, bytes));
    EXPECT_EQ(DetectPictureFormat(bytes), TPictureFormat::Png);
    EXPECT_EQ(uint8_t(bytes[25]), 6);  // IHDR colour type: RGBA
    EXPECT_EQ(uint8_t(bytes[24]), 8);  // 8 bits per sample
    TBitmap32 read;
    ASSERT_TRUE(ReadPng(bytes, read));
    ExpectSamePixels(read, original);
}

TEST(Png, FileRoundTrip) {
    testing_support::TTempDir dir;
    TBitmap32 original = Sample();
    ASSERT_TRUE(WritePngFile(original, dir / "a.png"));
    TBitmap32 read;
    ASSERT_TRUE(ReadPngFile(dir / "a.png", read));
    ExpectSamePixels(read, original);
    EXPECT_FALSE(ReadPngFile(dir / "missing.png", read));
    EXPECT_TRUE(read.Empty());
    EXPECT_FALSE(WritePngFile(original, dir / "no-such-folder/a.png"));
}

TEST(Png, ImagesWithoutAlphaAreOpaque) {
    TBitmap32 rgb;
    ASSERT_TRUE(ReadPng(MakePng(2, 1, PNG_FORMAT_RGB, {10, 20, 30, 200, 150, 100}), rgb));
    EXPECT_EQ(rgb.Pixel(0, 0), Color32(10, 20, 30));
    EXPECT_EQ(rgb.Pixel(1, 0), Color32(200, 150, 100));
    TBitmap32 grey;
    ASSERT_TRUE(ReadPng(MakePng(3, 1, PNG_FORMAT_GRAY, {0, 77, 255}), grey));
    EXPECT_EQ(grey.Pixel(0, 0), Color32(0, 0, 0));
    EXPECT_EQ(grey.Pixel(1, 0), Color32(77, 77, 77));
    EXPECT_EQ(grey.Pixel(2, 0), Color32(255, 255, 255));
}

TEST(Png, GreyWithAlphaAndPaletteWithTransparency) {
    TBitmap32 ga;
    ASSERT_TRUE(ReadPng(MakePng(2, 1, PNG_FORMAT_GA, {77, 255, 200, 0}), ga));
    EXPECT_EQ(ga.Pixel(0, 0), Color32(77, 77, 77));
    EXPECT_EQ(ga.Pixel(1, 0), 0u);
    // Two palette entries, the second fully transparent (written as tRNS).
    TBitmap32 pal;
    ASSERT_TRUE(ReadPng(MakePng(3, 1, PNG_FORMAT_RGBA_COLORMAP, {0, 1, 0}, {10, 200, 30, 255, 0, 0, 0, 0}, 2), pal));
    EXPECT_EQ(pal.Pixel(0, 0), Color32(10, 200, 30));
    EXPECT_EQ(pal.Pixel(1, 0), 0u);
    EXPECT_EQ(pal.Pixel(2, 0), Color32(10, 200, 30));
}

TEST(Png, SixteenBitSamplesAreReducedToEight) {
    // Linear 16-bit full-scale values stay full scale and zero stays zero.
    std::vector<uint16_t> samples = {65535, 0, 0, 65535, 0, 0, 0, 65535, 0, 0, 0, 0};
    std::vector<uint8_t> raw(samples.size() * 2);
    std::memcpy(raw.data(), samples.data(), raw.size());
    TBitmap32 b;
    ASSERT_TRUE(ReadPng(MakePng(3, 1, PNG_FORMAT_LINEAR_RGB_ALPHA, raw), b));
    EXPECT_EQ(b.Pixel(0, 0), Color32(255, 0, 0));
    EXPECT_EQ(b.Pixel(1, 0), Color32(0, 0, 0));
    EXPECT_EQ(b.Pixel(2, 0), 0u);
}

TEST(Jpeg, ColourAndGreyImagesDecodeOpaque) {
    TBitmap32 b;
    ASSERT_TRUE(ReadJpeg(SolidJpeg(16, 8, 200, 100, 50), b));
    ASSERT_EQ(b.Width(), 16);
    ASSERT_EQ(b.Height(), 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) {
            TColor32 c = b.Pixel(x, y);
            ASSERT_EQ(AlphaOf(c), 255);
            EXPECT_NEAR(RedOf(c), 200, 3);
            EXPECT_NEAR(GreenOf(c), 100, 3);
            EXPECT_NEAR(BlueOf(c), 50, 3);
        }
    std::vector<uint8_t> grey(8 * 8);
    for (size_t i = 0; i < grey.size(); ++i) grey[i] = i % 8 < 4 ? 0 : 255;  // black left half, white right
    ASSERT_TRUE(ReadJpeg(MakeJpeg(8, 8, 1, grey), b));
    EXPECT_LT(RedOf(b.Pixel(0, 3)), 20);
    EXPECT_GT(RedOf(b.Pixel(7, 3)), 235);
    EXPECT_EQ(RedOf(b.Pixel(7, 3)), BlueOf(b.Pixel(7, 3)));
}

TEST(Pictures, DamagedOrForeignDataIsRejected) {
    std::string png;
    ASSERT_TRUE(WritePng(Sample(), png));
    const std::string jpeg = SolidJpeg(32, 32, 1, 2, 3);
    const std::string noisy = NoisyJpeg(64);
    TBitmap32 whole;
    ASSERT_TRUE(ReadJpeg(noisy, whole));
    const std::string cases[] = {
        "",
        "garbage, not an image at all",
        png.substr(0, png.size() / 2),
        png.substr(0, 8) + std::string(64, 'x'),
        jpeg.substr(0, jpeg.size() / 2),
        noisy.substr(0, noisy.size() * 3 / 4),  // headers whole, image data cut short
        jpeg.substr(0, 3) + std::string(64, '\x01'),
        std::string("BM") + std::string(60, '\0'),   // bitmap files: no decoder
        std::string("\0\0\1\0\1\0", 6) + std::string(16, '\xff'),  // icon pointing nowhere
    };
    int i = 0;
    for (const auto& bytes : cases) {
        TBitmap32 b(2, 2);
        EXPECT_FALSE(ReadPng(bytes, b)) << i;
        EXPECT_TRUE(b.Empty()) << i;
        b.SetSize(2, 2);
        EXPECT_FALSE(ReadJpeg(bytes, b)) << i;
        EXPECT_TRUE(b.Empty()) << i;
        TPicture p;
        ASSERT_TRUE(p.LoadFromMemory(png));
        EXPECT_FALSE(p.LoadFromMemory(bytes)) << i;
        EXPECT_TRUE(p.Empty()) << i;
        EXPECT_EQ(p.Format(), TPictureFormat::Unknown) << i;
        ++i;
    }
}

TEST(Pictures, HolderRecordsFormatAndSize) {
    std::string png;
    ASSERT_TRUE(WritePng(Sample(), png));
    TPicture p;
    EXPECT_EQ(p.Format(), TPictureFormat::Unknown);
    ASSERT_TRUE(p.LoadFromMemory(png));
    EXPECT_EQ(p.Format(), TPictureFormat::Png);
    EXPECT_EQ(p.Width(), 3);
    EXPECT_EQ(p.Height(), 2);
    ExpectSamePixels(p.Bitmap(), Sample());
    ASSERT_TRUE(p.LoadFromMemory(SolidJpeg(5, 7, 9, 9, 9)));
    EXPECT_EQ(p.Format(), TPictureFormat::Jpeg);
    EXPECT_EQ(p.Width(), 5);
    EXPECT_EQ(p.Height(), 7);
    p.Assign(TBitmap32(4, 4));
    EXPECT_EQ(p.Format(), TPictureFormat::Bitmap);
    EXPECT_EQ(p.Width(), 4);
    p.Assign(TBitmap32());
    EXPECT_EQ(p.Format(), TPictureFormat::Unknown);
    testing_support::TTempDir dir;
    testing_support::WriteFileBytes(dir / "p.png", png);
    ASSERT_TRUE(p.LoadFromFile(dir / "p.png"));
    EXPECT_EQ(p.Format(), TPictureFormat::Png);
    EXPECT_FALSE(p.LoadFromFile(dir / "none.png"));
    EXPECT_TRUE(p.Empty());
}

TEST(Pictures, IconTakesItsLargestPngImage) {
    std::string small, large;
    TBitmap32 s(2, 2), l(4, 3);
    s.Clear(Color32(1, 2, 3));
    l.Clear(Color32(255, 0, 0, 128));
    ASSERT_TRUE(WritePng(s, small));
    ASSERT_TRUE(WritePng(l, large));
    auto le32 = [](uint32_t v) {
        return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    };
    const uint32_t first = 6 + 2 * 16;
    std::string ico("\0\0\1\0\2\0", 6);
    ico += std::string("\2\2\0\0\1\0\x20\0", 8) + le32(uint32_t(small.size())) + le32(first);
    ico += std::string("\4\3\0\0\1\0\x20\0", 8) + le32(uint32_t(large.size())) + le32(first + uint32_t(small.size()));
    ico += small + large;
    TPicture p;
    ASSERT_TRUE(p.LoadFromMemory(ico));
    EXPECT_EQ(p.Format(), TPictureFormat::Icon);
    EXPECT_EQ(p.Width(), 4);
    EXPECT_EQ(p.Height(), 3);
    EXPECT_EQ(p.Bitmap().Pixel(3, 2), Color32(255, 0, 0, 128));
}

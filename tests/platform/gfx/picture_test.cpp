// PNG and JPEG reading and writing, the picture holder's format records,
// and damaged or hostile input: size limits, headers that claim more than
// the data holds, files cut short or corrupt. Test images are made here with
// libpng, libjpeg and zlib so no binary fixtures are needed.
#include "platform/gfx/picture.h"

#include <gtest/gtest.h>
#include <png.h>
#include <stdio.h>

#include <jpeglib.h>
#include <zlib.h>

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
std::string MakeJpeg(int w, int h, int components, const std::vector<uint8_t>& samples, bool progressive = false) {
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
    if (progressive) jpeg_simple_progression(&cinfo);
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
std::string NoisyJpeg(int w, int h, bool progressive = false) {
    std::vector<uint8_t> samples(size_t(w * h * 3));
    uint32_t seed = 12345;
    for (auto& v : samples) v = uint8_t((seed = seed * 1103515245 + 12345) >> 16);
    return MakeJpeg(w, h, 3, samples, progressive);
}
std::string NoisyJpeg(int side) { return NoisyJpeg(side, side); }

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

// --- hostile headers, size limits, cut and corrupt files --------------------

namespace {

void PutBe32(std::string& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = char(v >> (24 - 8 * i));
}

std::string PngChunk(const char* type, const std::string& data) {
    std::string chunk(4, '\0');
    PutBe32(chunk, 0, uint32_t(data.size()));
    chunk += std::string(type, 4) + data;
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(chunk.data() + 4), uInt(chunk.size() - 4));
    chunk += std::string(4, '\0');
    PutBe32(chunk, chunk.size() - 4, uint32_t(crc));
    return chunk;
}

// The same PNG with another size in its header (and the header's CRC made
// right again, so only the size is wrong).
std::string WithPngSize(const std::string& png, uint32_t w, uint32_t h) {
    std::string ihdr = png.substr(16, 13);
    PutBe32(ihdr, 0, w);
    PutBe32(ihdr, 4, h);
    return png.substr(0, 8) + PngChunk("IHDR", ihdr) + png.substr(33);
}

// Image data of an 8-bit grey picture of zeros (each row: filter byte 0,
// then samples), compressed as hard as zlib can.
std::string BlackImageDataAtMaximumCompression(uint32_t w, uint32_t h, double& ratio) {
    const std::string raw(size_t(w + 1) * h, '\0');
    uLongf packedSize = compressBound(uLong(raw.size()));
    std::string packed(packedSize, '\0');
    EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                        reinterpret_cast<const Bytef*>(raw.data()), uLong(raw.size()), 9),
              Z_OK);
    packed.resize(packedSize);
    ratio = double(raw.size()) / double(packed.size());
    return packed;
}

// A grey PNG around that data, split over IDAT chunks of `idatSize` bytes.
std::string GreyPng(uint32_t w, uint32_t h, const std::string& imageData, size_t idatSize) {
    std::string ihdr(13, '\0');
    PutBe32(ihdr, 0, w);
    PutBe32(ihdr, 4, h);
    ihdr[8] = 8;  // bit depth; colour type 0 (grey), no interlace
    std::string png = std::string("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", ihdr);
    for (size_t at = 0; at < imageData.size(); at += idatSize) png += PngChunk("IDAT", imageData.substr(at, idatSize));
    return png + PngChunk("IEND", "");
}

// The same JPEG with another size in its frame header.
std::string WithJpegSize(std::string jpeg, uint16_t w, uint16_t h) {
    for (size_t at = 2; at + 9 < jpeg.size(); ++at) {
        const uint8_t marker = uint8_t(jpeg[at + 1]);
        if (uint8_t(jpeg[at]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
            jpeg[at + 5] = char(h >> 8), jpeg[at + 6] = char(h);
            jpeg[at + 7] = char(w >> 8), jpeg[at + 8] = char(w);
            return jpeg;
        }
    }
    ADD_FAILURE() << "no frame header";
    return jpeg;
}

// Where the entropy-coded data of the first or last scan starts.
size_t ScanData(const std::string& jpeg, bool last) {
    const size_t sos = last ? jpeg.rfind("\xFF\xDA") : jpeg.find("\xFF\xDA");
    EXPECT_NE(sos, std::string::npos);
    return sos + 2 + (size_t(uint8_t(jpeg[sos + 2])) << 8 | uint8_t(jpeg[sos + 3]));
}

// What plain libjpeg makes of a file, row by row, without any of our checks.
TBitmap32 ReferenceJpegDecode(const std::string& bytes) {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()), (unsigned long)bytes.size());
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    TBitmap32 b(int(cinfo.output_width), int(cinfo.output_height));
    std::vector<JSAMPLE> row(cinfo.output_width * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = int(cinfo.output_scanline);
        JSAMPROW p = row.data();
        jpeg_read_scanlines(&cinfo, &p, 1);
        for (int x = 0; x < b.Width(); ++x) b.SetPixel(x, y, Color32(row[x * 3], row[x * 3 + 1], row[x * 3 + 2]));
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return b;
}

void ExpectRefused(const std::string& bytes, const char* what) {
    SCOPED_TRACE(what);
    TBitmap32 b(2, 2);
    if (DetectPictureFormat(bytes) == TPictureFormat::Png) EXPECT_FALSE(ReadPng(bytes, b));
    else EXPECT_FALSE(ReadJpeg(bytes, b));
    EXPECT_TRUE(b.Empty());
    TPicture p;
    EXPECT_FALSE(p.LoadFromMemory(bytes));
    EXPECT_TRUE(p.Empty());
}

}  // namespace

TEST(PictureLimits, SidesUpTo8192DecodeAndLongerOnesAreRefused) {
    for (auto [w, h] : {std::pair{8192, 2}, std::pair{2, 8192}}) {
        TBitmap32 edge(w, h);
        edge.Clear(Color32(10, 20, 30, 40));
        edge.SetPixel(w - 1, h - 1, Color32(1, 2, 3));
        std::string png;
        ASSERT_TRUE(WritePng(edge, png));
        TBitmap32 read;
        ASSERT_TRUE(ReadPng(png, read));
        ExpectSamePixels(read, edge);
        ASSERT_TRUE(ReadJpeg(SolidJpeg(w, h, 200, 100, 50), read));
        EXPECT_EQ(read.Width(), w);
        EXPECT_EQ(read.Height(), h);
    }
    // Well-formed files, just one pixel too long.
    std::string png;
    ASSERT_TRUE(WritePng(TBitmap32(8193, 1), png));
    ExpectRefused(png, "PNG 8193 x 1");
    ASSERT_TRUE(WritePng(TBitmap32(1, 8193), png));
    ExpectRefused(png, "PNG 1 x 8193");
    ExpectRefused(SolidJpeg(8193, 8, 1, 2, 3), "JPEG 8193 x 8");
    ExpectRefused(SolidJpeg(8, 8193, 1, 2, 3), "JPEG 8 x 8193");
}

TEST(PictureLimits, HeadersClaimingMoreThanTheirDataCanHoldAreRefused) {
    std::string png;
    ASSERT_TRUE(WritePng(Sample(), png));
    TBitmap32 check;
    ASSERT_TRUE(ReadPng(WithPngSize(png, 3, 2), check)) << "patching alone must keep the file readable";
    ExpectRefused(WithPngSize(png, 16384, 16384), "PNG header claiming 16384 x 16384");
    ExpectRefused(WithPngSize(png, 8192, 8192), "PNG header claiming 8192 x 8192");
    ExpectRefused(WithPngSize(png, 1024, 768), "PNG header claiming 1024 x 768");

    const std::string small = SolidJpeg(16, 16, 90, 90, 90);
    ASSERT_LT(small.size(), 1000u);
    ASSERT_TRUE(ReadJpeg(WithJpegSize(small, 16, 16), check));
    const std::string progressive = MakeJpeg(16, 16, 3, std::vector<uint8_t>(16 * 16 * 3, 90), true);
    ASSERT_TRUE(ReadJpeg(progressive, check));
    for (const auto& [name, jpeg] : {std::pair{"baseline", small}, std::pair{"progressive", progressive}}) {
        SCOPED_TRACE(name);
        ExpectRefused(WithJpegSize(jpeg, 16384, 16384), "JPEG header claiming 16384 x 16384");
        ExpectRefused(WithJpegSize(jpeg, 8192, 8192), "JPEG header claiming 8192 x 8192");
        ExpectRefused(WithJpegSize(jpeg, 4000, 3000), "JPEG header claiming 4000 x 3000");
    }
}

TEST(PictureLimits, PicturesCompressedAsFarAsTheirCodingGoesStillDecode) {
    // Flat colour from our own writer, its data spread over several chunks.
    TBitmap32 flat(1024, 1024);
    flat.Clear(Color32(12, 200, 99, 255));
    std::string png;
    ASSERT_TRUE(WritePng(flat, png));
    EXPECT_LT(png.size() * 200, size_t(1024) * 1024 * 4) << "the test needs a file that compresses very well";
    TBitmap32 read;
    ASSERT_TRUE(ReadPng(png, read));
    ExpectSamePixels(read, flat);

    // zlib's best on zeros comes within a hair of deflate's limit.
    double ratio = 0;
    const std::string imageData = BlackImageDataAtMaximumCompression(2048, 2048, ratio);
    EXPECT_GT(ratio, 1020);
    for (size_t idatSize : {size_t(1) << 20, size_t(1000)}) {
        SCOPED_TRACE(idatSize);
        const std::string black = GreyPng(2048, 2048, imageData, idatSize);
        ASSERT_TRUE(ReadPng(black, read));
        ASSERT_EQ(read.Width(), 2048);
        ASSERT_EQ(read.Height(), 2048);
        EXPECT_EQ(read.Pixel(0, 0), Color32(0, 0, 0));
        EXPECT_EQ(read.Pixel(2047, 2047), Color32(0, 0, 0));
        // Without its last chunks of image data the file is refused.
        const size_t lastIdat = black.rfind("IDAT") - 4;
        if (idatSize == 1000)
            ExpectRefused(black.substr(0, lastIdat - 3 * (1000 + 12)) + PngChunk("IEND", ""), "IDAT cut");
    }

    // A flat JPEG spends a few bits per 8 x 8 block, the fewest progressive.
    for (bool progressive : {false, true}) {
        const std::string jpeg = MakeJpeg(2048, 2048, 1, std::vector<uint8_t>(2048 * 2048, 77), progressive);
        EXPECT_LT(jpeg.size() * 8, size_t(256 * 256) * (progressive ? 3 : 8)) << "bits per block";
        ASSERT_TRUE(ReadJpeg(jpeg, read)) << progressive;
        EXPECT_EQ(read.Pixel(0, 0), Color32(77, 77, 77));
        EXPECT_EQ(read.Pixel(2047, 2047), Color32(77, 77, 77));
    }
}

TEST(Jpeg, DecodesExactlyWhatLibjpegDecodes) {
    // Sizes that are not multiples of the 8-pixel blocks or of any row
    // grouping, baseline and progressive.
    for (bool progressive : {false, true}) {
        const std::string jpeg = NoisyJpeg(101, 77, progressive);
        TBitmap32 read;
        ASSERT_TRUE(ReadJpeg(jpeg, read)) << progressive;
        ExpectSamePixels(read, ReferenceJpegDecode(jpeg));
    }
}

TEST(Jpeg, FilesCutShortOrWithCorruptDataAreRefused) {
    for (bool progressive : {false, true}) {
        SCOPED_TRACE(progressive ? "progressive" : "baseline");
        const std::string jpeg = NoisyJpeg(64, 48, progressive);
        TBitmap32 whole;
        ASSERT_TRUE(ReadJpeg(jpeg, whole));
        const size_t scan = ScanData(jpeg, false);
        ExpectRefused(jpeg.substr(0, scan), "headers only");
        ExpectRefused(jpeg.substr(0, scan + (jpeg.size() - scan) / 2), "half the data");
        ExpectRefused(jpeg.substr(0, jpeg.size() - 40), "last bytes missing");
        ExpectRefused(jpeg.substr(0, jpeg.size() - 2), "only the end marker missing");
        // An end marker in the middle of the entropy-coded data.
        std::string early = jpeg;
        const size_t lastScan = ScanData(jpeg, true);
        early.replace(lastScan + (jpeg.size() - lastScan) / 2, 2, "\xFF\xD9");
        ExpectRefused(early, "data segment ends early");
        // Stray bytes between two header markers.
        std::string stray = jpeg;
        stray.insert(stray.find("\xFF\xC4"), "\x12\x34\x56");
        ExpectRefused(stray, "extraneous bytes");
    }
}

// PNG through libpng's simplified API (it converts every colour type and
// depth and reports errors by return value), JPEG through libjpeg with an
// error manager that jumps back instead of exiting the process.
#include "platform/gfx/picture.h"

#include <png.h>
#include <stdio.h>  // jpeglib.h needs FILE declared first

#include <jerror.h>
#include <jpeglib.h>

#include <csetjmp>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

// Larger images are refused before anything is allocated: a damaged header
// must not ask for gigabytes.
constexpr unsigned MaxSide = 16384;

uint32_t* Row(TBitmap32& b, int y) { return reinterpret_cast<uint32_t*>(b.Data() + y * b.Stride()); }

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    bytes = s.str();
    return !in.bad();
}

}  // namespace

bool ReadPng(const std::string& bytes, TBitmap32& out) {
    out.SetSize(0, 0);
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
        png_image_free(&image);
        return false;
    }
    if (image.width == 0 || image.height == 0 || image.width > MaxSide || image.height > MaxSide) {
        png_image_free(&image);
        return false;
    }
    // B, G, R, A in memory: the byte order of a little-endian 0xAARRGGBB.
    image.format = PNG_FORMAT_BGRA;
    const int w = int(image.width), h = int(image.height);
    std::vector<uint32_t> pixels(size_t(w) * size_t(h));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), png_int_32(w * 4), nullptr)) {
        png_image_free(&image);
        return false;
    }
    png_image_free(&image);
    out.SetSize(w, h);
    if (out.Empty()) return false;
    for (int y = 0; y < h; ++y) {
        const uint8_t* src = reinterpret_cast<const uint8_t*>(pixels.data() + size_t(y) * size_t(w));
        uint32_t* dst = Row(out, y);
        for (int x = 0; x < w; ++x, src += 4) dst[x] = ToPremultiplied(Color32(src[2], src[1], src[0], src[3]));
    }
    out.MarkDirty();
    return true;
}

bool ReadPngFile(const std::string& path, TBitmap32& out) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) {
        out.SetSize(0, 0);
        return false;
    }
    return ReadPng(bytes, out);
}

bool WritePng(const TBitmap32& bitmap, std::string& bytes) {
    bytes.clear();
    if (bitmap.Empty()) return false;
    const int w = bitmap.Width(), h = bitmap.Height();
    std::vector<uint8_t> pixels(size_t(w) * size_t(h) * 4);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            TColor32 c = bitmap.Pixel(x, y);
            uint8_t* p = &pixels[(size_t(y) * size_t(w) + size_t(x)) * 4];
            p[0] = RedOf(c), p[1] = GreenOf(c), p[2] = BlueOf(c), p[3] = AlphaOf(c);
        }
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(w);
    image.height = png_uint_32(h);
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    // The first call only measures.
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), png_int_32(w * 4), nullptr)) {
        png_image_free(&image);
        return false;
    }
    bytes.resize(size);
    bool ok = png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels.data(), png_int_32(w * 4), nullptr);
    png_image_free(&image);
    if (!ok) bytes.clear();
    else bytes.resize(size);
    return ok;
}

bool WritePngFile(const TBitmap32& bitmap, const std::string& path) {
    std::string bytes;
    if (!WritePng(bitmap, bytes)) return false;
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(f.flush());
}

namespace {

struct TJpegError {
    jpeg_error_mgr Mgr;
    jmp_buf Jump;
    bool Truncated = false;
};

[[noreturn]] void JpegErrorExit(j_common_ptr cinfo) {
    longjmp(reinterpret_cast<TJpegError*>(cinfo->err)->Jump, 1);
}

// Warnings are not printed. libjpeg pads a file that ends early with grey
// and only warns; such a file counts as damaged here.
void JpegEmitMessage(j_common_ptr cinfo, int level) {
    auto* err = reinterpret_cast<TJpegError*>(cinfo->err);
    if (level < 0 && err->Mgr.msg_code == JWRN_JPEG_EOF) err->Truncated = true;
}

void JpegOutputMessage(j_common_ptr) {}

// Decodes into `out`; only trivially destructible locals live here, so the
// jump back from the error manager skips no destructor.
bool DecodeJpeg(const std::string& bytes, TBitmap32& out, TJpegError& err) {
    jpeg_decompress_struct cinfo;
    cinfo.err = jpeg_std_error(&err.Mgr);
    err.Mgr.error_exit = JpegErrorExit;
    err.Mgr.emit_message = JpegEmitMessage;
    err.Mgr.output_message = JpegOutputMessage;
    if (setjmp(err.Jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()), (unsigned long)bytes.size());
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) ERREXIT(&cinfo, JERR_NO_IMAGE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    if (cinfo.output_width == 0 || cinfo.output_height == 0 || cinfo.output_width > MaxSide ||
        cinfo.output_height > MaxSide || cinfo.output_components != 3)
        ERREXIT(&cinfo, JERR_IMAGE_TOO_BIG);
    out.SetSize(int(cinfo.output_width), int(cinfo.output_height));
    if (out.Empty()) ERREXIT(&cinfo, JERR_OUT_OF_MEMORY);
    // The row buffer comes from libjpeg's pool and goes with the decoder.
    JSAMPARRAY buffer = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                   cinfo.output_width * 3, 1);
    while (cinfo.output_scanline < cinfo.output_height) {
        int y = int(cinfo.output_scanline);
        jpeg_read_scanlines(&cinfo, buffer, 1);
        uint32_t* dst = Row(out, y);
        const JSAMPLE* src = buffer[0];
        for (unsigned x = 0; x < cinfo.output_width; ++x, src += 3) dst[x] = Color32(src[0], src[1], src[2]);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    out.MarkDirty();
    return !err.Truncated;
}

}  // namespace

bool ReadJpeg(const std::string& bytes, TBitmap32& out) {
    out.SetSize(0, 0);
    TJpegError err;
    if (DecodeJpeg(bytes, out, err)) return true;
    out.SetSize(0, 0);
    return false;
}

namespace {

uint32_t Le32(const std::string& b, size_t at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 | uint32_t(uint8_t(b[at + 2])) << 16 |
           uint32_t(uint8_t(b[at + 3])) << 24;
}

const char PngSignature[] = "\x89PNG\r\n\x1a\n";

// An icon file: the largest of its images stored as PNG (the form current
// icons use for their large sizes). Icons holding only device-independent
// bitmaps are not supported.
bool ReadIcon(const std::string& bytes, TBitmap32& out) {
    out.SetSize(0, 0);
    const size_t count = uint8_t(bytes[4]) | size_t(uint8_t(bytes[5])) << 8;
    if (bytes.size() < 6 + 16 * count) return false;
    for (size_t i = 0; i < count; ++i) {
        const size_t entry = 6 + 16 * i;
        const uint32_t size = Le32(bytes, entry + 8), offset = Le32(bytes, entry + 12);
        if (offset >= bytes.size() || size > bytes.size() - offset || size < 8) continue;
        if (bytes.compare(offset, 8, PngSignature, 8) != 0) continue;
        TBitmap32 image;
        if (ReadPng(bytes.substr(offset, size), image) && image.Width() * image.Height() > out.Width() * out.Height())
            out = std::move(image);
    }
    return !out.Empty();
}

}  // namespace

TPictureFormat DetectPictureFormat(const std::string& b) {
    if (b.size() >= 8 && b.compare(0, 8, PngSignature, 8) == 0) return TPictureFormat::Png;
    if (b.size() >= 3 && uint8_t(b[0]) == 0xFF && uint8_t(b[1]) == 0xD8 && uint8_t(b[2]) == 0xFF)
        return TPictureFormat::Jpeg;
    if (b.size() >= 14 && b[0] == 'B' && b[1] == 'M') return TPictureFormat::Bitmap;
    if (b.size() >= 6 && b[0] == 0 && b[1] == 0 && b[2] == 1 && b[3] == 0 && (b[4] != 0 || b[5] != 0))
        return TPictureFormat::Icon;
    return TPictureFormat::Unknown;
}

bool TPicture::LoadFromMemory(const std::string& bytes) {
    Clear();
    TPictureFormat format = DetectPictureFormat(bytes);
    bool ok = false;
    switch (format) {
        case TPictureFormat::Png: ok = ReadPng(bytes, FBitmap); break;
        case TPictureFormat::Jpeg: ok = ReadJpeg(bytes, FBitmap); break;
        case TPictureFormat::Icon: ok = ReadIcon(bytes, FBitmap); break;
        default: break;  // bitmap files: no decoder in the program's libraries
    }
    if (!ok) {
        Clear();
        return false;
    }
    FFormat = format;
    return true;
}

bool TPicture::LoadFromFile(const std::string& path) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) {
        Clear();
        return false;
    }
    return LoadFromMemory(bytes);
}

void TPicture::Assign(const TBitmap32& bitmap) {
    FBitmap = bitmap;
    FFormat = bitmap.Empty() ? TPictureFormat::Unknown : TPictureFormat::Bitmap;
}

void TPicture::Clear() {
    FBitmap.SetSize(0, 0);
    FFormat = TPictureFormat::Unknown;
}

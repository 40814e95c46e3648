// PNG through libpng's simplified API (it converts every colour type and
// depth and reports errors by return value), JPEG through libjpeg with an
// error manager that jumps back instead of exiting the process.
//
// Pictures may come from the network, so nothing a header claims is taken on
// trust: the size is checked against a fixed limit and against what the
// compressed bytes present could possibly expand to before any pixel memory
// is allocated, and a JPEG's rows are kept only as they are decoded.
#include "platform/gfx/picture.h"

#include <png.h>
#include <stdio.h>  // jpeglib.h needs FILE declared first

// jpeglib.h first: its configuration decides which codes jerror.h has.
#include <jpeglib.h>
#include <jerror.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstring>
#include <fstream>
#include <memory>
#include <new>
#include <sstream>
#include <vector>

namespace {

// Larger images are refused before anything is allocated: a damaged or
// hostile header must not ask for gigabytes. 8192 x 8192 ARGB is 256 MB.
constexpr unsigned MaxSide = 8192;
// Deflate codes at most 258 bytes in two bits, so no zlib stream expands
// more than 1032-fold.
constexpr uint64_t MaxDeflateRatio = 1032;

bool FitsLimits(uint64_t width, uint64_t height) {
    return width > 0 && height > 0 && width <= MaxSide && height <= MaxSide;
}

uint32_t* Row(TBitmap32& b, int y) { return reinterpret_cast<uint32_t*>(b.Data() + y * b.Stride()); }

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    bytes = s.str();
    return !in.bad();
}

uint32_t Be32(const std::string& b, size_t at) {
    return uint32_t(uint8_t(b[at])) << 24 | uint32_t(uint8_t(b[at + 1])) << 16 | uint32_t(uint8_t(b[at + 2])) << 8 |
           uint32_t(uint8_t(b[at + 3]));
}

// The IDAT bytes actually present (a length running past the end counts
// only what is there); they are the only compressed pixel data of a PNG.
uint64_t PngCompressedBytes(const std::string& bytes) {
    uint64_t total = 0;
    for (size_t at = 8; bytes.size() >= 12 && at <= bytes.size() - 12;) {
        const uint64_t length = Be32(bytes, at), dataAt = at + 8;
        const uint64_t present = std::min<uint64_t>(length, bytes.size() - dataAt);
        if (bytes.compare(at + 4, 4, "IDAT") == 0) total += present;
        if (bytes.compare(at + 4, 4, "IEND") == 0 || present < length) break;
        at = size_t(dataAt + length + 4);  // and the CRC
    }
    return total;
}

// The fewest bytes the image's samples fill before compression (filter
// bytes and interlacing only add to it). libpng has read the IHDR chunk,
// always the first, by the time this is asked.
uint64_t PngMinimumRawBytes(const std::string& bytes, uint64_t width, uint64_t height) {
    const unsigned depth = uint8_t(bytes[24]), colourType = uint8_t(bytes[25]);
    const unsigned channels = colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1;
    return width * height * channels * depth / 8;
}

// Stored B, G, R, A bytes (libpng's BGRA, a little-endian 0xAARRGGBB)
// become the bitmap's premultiplied pixels in place.
void PremultiplyRows(TBitmap32& b) {
    for (int y = 0; y < b.Height(); ++y) {
        uint32_t* row = Row(b, y);
        for (int x = 0; x < b.Width(); ++x) {
            const auto* p = reinterpret_cast<const uint8_t*>(row + x);
            row[x] = ToPremultiplied(Color32(p[2], p[1], p[0], p[3]));
        }
    }
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
    if (!FitsLimits(image.width, image.height) ||
        PngMinimumRawBytes(bytes, image.width, image.height) / MaxDeflateRatio > PngCompressedBytes(bytes)) {
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_BGRA;
    out.SetSize(int(image.width), int(image.height));
    // A bitmap row is exactly width * 4 bytes of ARGB32, so libpng writes
    // straight into it; no second copy of the picture is ever held.
    if (out.Empty() || !png_image_finish_read(&image, nullptr, out.Data(), png_int_32(out.Stride()), nullptr)) {
        png_image_free(&image);
        out.SetSize(0, 0);
        return false;
    }
    png_image_free(&image);
    PremultiplyRows(out);
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
};

[[noreturn]] void JpegErrorExit(j_common_ptr cinfo) {
    longjmp(reinterpret_cast<TJpegError*>(cinfo->err)->Jump, 1);
}

// libjpeg carries on through damaged data with a warning: it pads a file
// that ends early with grey and skips or resynchronises over bad codes.
// Such a picture is damaged here, and decoding stops at the first sign.
bool IsDamageWarning(int code) {
    switch (code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_MUST_RESYNC:
    case JWRN_EXTRANEOUS_DATA:
    case JWRN_NOT_SEQUENTIAL:
    case JWRN_BOGUS_PROGRESSION:
        return true;
    default:
        return false;
    }
}

// Nothing is printed.
void JpegEmitMessage(j_common_ptr cinfo, int level) {
    if (level < 0 && IsDamageWarning(cinfo->err->msg_code)) (*cinfo->err->error_exit)(cinfo);
}

void JpegOutputMessage(j_common_ptr) {}

// Huffman coding spends at least one bit on every 8 x 8 block of a
// component (its DC difference), so a file smaller than its largest
// component's block count in bits cannot hold the image it claims.
// Arithmetic coding has no such floor.
bool JpegDataCanHold(const jpeg_decompress_struct& cinfo, size_t fileBytes) {
    if (cinfo.arith_code) return true;
    uint64_t blocks = 0;
    for (int c = 0; c < cinfo.num_components; ++c)
        blocks = std::max(blocks, uint64_t(cinfo.comp_info[c].width_in_blocks) * cinfo.comp_info[c].height_in_blocks);
    return blocks <= uint64_t(fileBytes) * 8;
}

// Decoded RGB rows, in blocks allocated only as rows arrive: a file that
// claims a large picture and then ends costs no more than it delivered.
struct TJpegRows {
    static constexpr unsigned RowsPerChunk = 32;
    static_assert(MaxSide % RowsPerChunk == 0);
    std::array<std::unique_ptr<JSAMPLE[]>, MaxSide / RowsPerChunk> Chunks;
    unsigned Width = 0, Height = 0;

    size_t RowBytes() const { return size_t(Width) * 3; }
    // Where row y goes, allocating its block on first use; null when out
    // of memory.
    JSAMPLE* RowFor(unsigned y) {
        auto& chunk = Chunks[y / RowsPerChunk];
        if (!chunk) {
            const unsigned rows = std::min(RowsPerChunk, Height - y / RowsPerChunk * RowsPerChunk);
            chunk.reset(new (std::nothrow) JSAMPLE[RowBytes() * rows]);
            if (!chunk) return nullptr;
        }
        return chunk.get() + RowBytes() * (y % RowsPerChunk);
    }
};

// Decodes into `rows`; only trivially destructible locals live here, so the
// jump back from the error manager skips no destructor.
bool DecodeJpeg(const std::string& bytes, TJpegRows& rows, TJpegError& err) {
    jpeg_decompress_struct cinfo {};
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
    // Before jpeg_start_decompress, which sizes libjpeg's own buffers (for a
    // progressive file, coefficients of the whole image) from the header.
    if (!FitsLimits(cinfo.image_width, cinfo.image_height) || !JpegDataCanHold(cinfo, bytes.size()))
        ERREXIT1(&cinfo, JERR_IMAGE_TOO_BIG, MaxSide);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    if (!FitsLimits(cinfo.output_width, cinfo.output_height) || cinfo.output_components != 3)
        ERREXIT1(&cinfo, JERR_IMAGE_TOO_BIG, MaxSide);
    rows.Width = cinfo.output_width;
    rows.Height = cinfo.output_height;
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = rows.RowFor(cinfo.output_scanline);
        if (!row) ERREXIT1(&cinfo, JERR_OUT_OF_MEMORY, 0);
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) ERREXIT(&cinfo, JERR_NO_IMAGE);
    }
    // Reads on to the end marker, so a file cut after its last row is caught.
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

// Only now, with every row decoded, is the bitmap allocated; each block of
// rows is freed as soon as it has been copied.
bool RowsToBitmap(TJpegRows& rows, TBitmap32& out) {
    out.SetSize(int(rows.Width), int(rows.Height));
    if (out.Empty()) return false;
    for (unsigned y = 0; y < rows.Height; ++y) {
        auto& chunk = rows.Chunks[y / TJpegRows::RowsPerChunk];
        const JSAMPLE* src = chunk.get() + rows.RowBytes() * (y % TJpegRows::RowsPerChunk);
        uint32_t* dst = Row(out, int(y));
        for (unsigned x = 0; x < rows.Width; ++x, src += 3) dst[x] = Color32(src[0], src[1], src[2]);
        if ((y + 1) % TJpegRows::RowsPerChunk == 0) chunk.reset();
    }
    out.MarkDirty();
    return true;
}

}  // namespace

bool ReadJpeg(const std::string& bytes, TBitmap32& out) {
    out.SetSize(0, 0);
    TJpegError err;
    auto rows = std::make_unique<TJpegRows>();
    if (DecodeJpeg(bytes, *rows, err) && RowsToBitmap(*rows, out)) return true;
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

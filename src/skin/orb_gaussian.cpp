// Gaussian kernel construction and the separable two-pass blur. Each pass
// convolves rows and writes its result transposed, so the same row loop
// blurs the columns on the second pass and puts the image back upright.
#include "skin/orb_gaussian.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

TOrbUIKernel::TOrbUIKernel(int width, int height) {
    if (width <= 0) throw std::invalid_argument("Kenel width is less than or equal to zero.");
    if (height <= 0) throw std::invalid_argument("Kernel height is less than or equal to zero.");
    FWidth = width;
    FHeight = height;
    FValues.assign(size_t(width) * size_t(height), 0.0);
}

TOrbUIKernel::TOrbUIKernel(int width, int height, const std::vector<double>& values) : TOrbUIKernel(width, height) {
    if (values.size() < FValues.size())
        throw std::invalid_argument("The length of the data array is less than the kernel size.");
    std::copy_n(values.begin(), FValues.size(), FValues.begin());
}

int TOrbUIKernel::Index(int x, int y) const {
    if (x < 0 || x >= FWidth || y < 0 || y >= FHeight) throw std::out_of_range("The index is out of the range");
    return y * FWidth + x;
}

double TOrbUIKernel::Value(int x, int y) const { return FValues[size_t(Index(x, y))]; }

void TOrbUIKernel::SetValue(int x, int y, double value) { FValues[size_t(Index(x, y))] = value; }

namespace {

TOrbUIKernel MakeKernel(float radius) {
    // sigma = r / 3 would be 0 (or undefined) here: no blur at all.
    if (!(radius > 0) || !std::isfinite(radius)) return TOrbUIKernel(1, 1, {1.0});
    const double r = radius;
    const int b = int(std::ceil(r));
    const double sigma = r / 3;
    std::vector<double> weights(size_t(2 * b + 1), 0.0);
    double sum = 0;
    for (int f = -b; f <= b; ++f) {
        if (double(f) * f > r * r) continue;
        const double w = std::exp(-double(f) * f / (2 * sigma * sigma)) / std::sqrt(2 * std::numbers::pi * sigma);
        weights[size_t(f + b)] = w;
        sum += w;
    }
    for (double& w : weights) w /= sum;  // the centre weight alone keeps sum > 0
    return TOrbUIKernel(2 * b + 1, 1, weights);
}

struct TTap {
    int Offset;
    double Weight;
};

inline int EdgeIndex(int i, int n, TOrbUIEdgeMode mode) {
    if (i >= 0 && i < n) return i;
    if (mode == TOrbUIEdgeMode::Clamp) return std::clamp(i, 0, n - 1);
    const int m = i % n;  // the kernel may be wider than the row
    return m < 0 ? m + n : m;
}

inline uint32_t Channel(double sum) { return uint32_t(std::clamp(std::floor(sum + 0.5), 0.0, 255.0)); }

// Convolves every row of `src` (width x height, straight ARGB) and writes
// the result transposed into `dst` (height x width).
void Pass(const std::vector<uint32_t>& src, int width, int height, const std::vector<TTap>& taps,
          TOrbUIEdgeMode mode, bool useAlpha, std::vector<uint32_t>& dst) {
    dst.resize(src.size());
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = src.data() + size_t(y) * size_t(width);
        for (int x = 0; x < width; ++x) {
            double sum[4] = {0, 0, 0, 0};
            for (const TTap& t : taps) {
                const uint32_t p = row[EdgeIndex(x + t.Offset, width, mode)];
                for (int c = 0; c < 4; ++c) sum[c] += double((p >> (8 * c)) & 0xFF) * t.Weight;
            }
            const uint32_t alpha = useAlpha ? Channel(sum[3]) : 255;
            dst[size_t(x) * size_t(height) + size_t(y)] =
                (alpha << 24) | (Channel(sum[2]) << 16) | (Channel(sum[1]) << 8) | Channel(sum[0]);
        }
    }
}

}  // namespace

TOrbUIGaussianFilter::TOrbUIGaussianFilter(float radius) : FRadius(radius), FKernel(MakeKernel(radius)) {}

void TOrbUIGaussianFilter::Apply(TBitmap32& bitmap) const {
    if (bitmap.Empty()) return;
    const int w = bitmap.Width(), h = bitmap.Height();
    std::vector<TTap> taps;
    const int b = FKernel.Width() / 2;
    for (int i = 0; i < FKernel.Width(); ++i)
        if (FKernel.Value(i, 0) != 0) taps.push_back({i - b, FKernel.Value(i, 0)});

    std::vector<uint32_t> pixels(size_t(w) * size_t(h)), transposed;
    const uint8_t* data = bitmap.Data();
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + y * bitmap.Stride());
        for (int x = 0; x < w; ++x) pixels[size_t(y) * size_t(w) + size_t(x)] = FromPremultiplied(row[x]);
    }
    Pass(pixels, w, h, taps, EdgeMode, UseAlpha, transposed);
    Pass(transposed, h, w, taps, EdgeMode, UseAlpha, pixels);
    uint8_t* out = bitmap.Data();
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(out + y * bitmap.Stride());
        for (int x = 0; x < w; ++x) row[x] = ToPremultiplied(pixels[size_t(y) * size_t(w) + size_t(x)]);
    }
    bitmap.MarkDirty();
}

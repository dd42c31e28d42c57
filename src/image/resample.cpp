// Separable resampling in fixed point: every output row is first gathered vertically from
// the source rows it needs, then horizontally. When shrinking, the kernel is widened by the
// scale factor, so every source pixel contributes (area filtering) and nothing aliases;
// taps beyond the border reuse the border pixel.
#include "image/resample.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace tessaro {
namespace {

constexpr int kWeightBits = 14;
constexpr int kWeightOne = 1 << kWeightBits;
// The vertical pass keeps 6 bits below the 8-bit sample for the horizontal pass.
constexpr int kLineShift = kWeightBits - 6;
constexpr int kFinalShift = kWeightBits + 6;

double triangle(double x) {
    x = std::fabs(x);
    return x < 1.0 ? 1.0 - x : 0.0;
}

double catmullRom(double x) {
    x = std::fabs(x);
    if (x < 1.0) return (1.5 * x - 2.5) * x * x + 1.0;
    if (x < 2.0) return ((-0.5 * x + 2.5) * x - 4.0) * x + 2.0;
    return 0.0;
}

// The taps of one output position: the source indexes and their weights, summing to one.
struct Taps {
    std::vector<int> index;
    std::vector<std::int32_t> weight;
};

std::vector<Taps> tapsFor(int source, int target, ResizeMethod method) {
    const double scale = double(source) / double(target);
    const double widen = std::max(scale, 1.0);
    const double radius = method == ResizeMethod::Bicubic ? 2.0 : 1.0;
    const double support = radius * widen;
    std::vector<Taps> all(std::size_t(target), Taps{});
    std::vector<double> raw;
    for (int out = 0; out < target; ++out) {
        const double centre = (out + 0.5) * scale;
        const int first = int(std::floor(centre - support));
        const int last = int(std::ceil(centre + support));
        raw.clear();
        Taps& taps = all[std::size_t(out)];
        double sum = 0.0;
        for (int i = first; i <= last; ++i) {
            const double x = (i + 0.5 - centre) / widen;
            const double w = method == ResizeMethod::Bicubic ? catmullRom(x) : triangle(x);
            if (w == 0.0) continue;
            raw.push_back(w);
            taps.index.push_back(std::clamp(i, 0, source - 1));
            sum += w;
        }
        // Quantise, then give the rounding remainder to the largest weight, so a flat
        // area stays exactly flat.
        std::int32_t total = 0;
        std::size_t largest = 0;
        for (std::size_t k = 0; k < raw.size(); ++k) {
            taps.weight.push_back(std::int32_t(std::lround(raw[k] / sum * kWeightOne)));
            total += taps.weight.back();
            if (raw[k] > raw[largest]) largest = k;
        }
        taps.weight[largest] += kWeightOne - total;
    }
    return all;
}

std::uint8_t clampToByte(std::int32_t value) {
    return std::uint8_t(std::clamp<std::int32_t>(value, 0, 255));
}

ImageRecord nearest(const ImageRecord& src, int width, int height) {
    ImageRecord dst = NewImage(width, height, PixelFormat::Rgb24);
    std::vector<int> column(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) {
        column[std::size_t(x)] = std::min(src.width - 1, int((std::int64_t(2 * x + 1) * src.width) / (2 * std::int64_t(width))));
    }
    for (int y = 0; y < height; ++y) {
        const int sy = std::min(src.height - 1, int((std::int64_t(2 * y + 1) * src.height) / (2 * std::int64_t(height))));
        const std::uint8_t* in = src.row(sy);
        std::uint8_t* out = dst.row(y);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = in + 3 * column[std::size_t(x)];
            out[3 * x] = p[0];
            out[3 * x + 1] = p[1];
            out[3 * x + 2] = p[2];
        }
    }
    return dst;
}

ImageRecord filtered(const ImageRecord& src, int width, int height, ResizeMethod method) {
    ImageRecord dst = NewImage(width, height, PixelFormat::Rgb24);
    const std::vector<Taps> columns = tapsFor(src.width, width, method);
    const std::vector<Taps> rows = tapsFor(src.height, height, method);
    const std::size_t lineSize = src.rowBytes();
    std::vector<std::int32_t> line(lineSize);
    const std::int32_t lineRound = 1 << (kLineShift - 1);
    const std::int32_t finalRound = std::int32_t{1} << (kFinalShift - 1);
    for (int y = 0; y < height; ++y) {
        const Taps& vertical = rows[std::size_t(y)];
        std::fill(line.begin(), line.end(), lineRound);
        for (std::size_t k = 0; k < vertical.index.size(); ++k) {
            const std::uint8_t* in = src.row(vertical.index[k]);
            const std::int32_t w = vertical.weight[k];
            for (std::size_t i = 0; i < lineSize; ++i) line[i] += in[i] * w;
        }
        for (std::int32_t& v : line) v >>= kLineShift;  // arithmetic: negative lobes stay negative
        std::uint8_t* out = dst.row(y);
        for (int x = 0; x < width; ++x) {
            const Taps& horizontal = columns[std::size_t(x)];
            // 32 bits suffice: samples below 2^15 times weights summing below 2^15.
            std::int32_t r = finalRound, g = finalRound, b = finalRound;
            for (std::size_t k = 0; k < horizontal.index.size(); ++k) {
                const std::int32_t* p = line.data() + 3 * std::size_t(horizontal.index[k]);
                const std::int32_t w = horizontal.weight[k];
                r += p[0] * w;
                g += p[1] * w;
                b += p[2] * w;
            }
            out[3 * x] = clampToByte(r >> kFinalShift);
            out[3 * x + 1] = clampToByte(g >> kFinalShift);
            out[3 * x + 2] = clampToByte(b >> kFinalShift);
        }
    }
    return dst;
}

}  // namespace

void ResizeImage(ImageRecord& image, int newWidth, int newHeight, ResizeMethod method) {
    if (newWidth <= 0 || newHeight <= 0) throw ImageError("a new side must be at least 1 pixel");
    if (image.format != PixelFormat::Rgb24) throw ImageError("resampling takes 24-bit RGB");
    if (newWidth == image.width && newHeight == image.height) return;
    if (std::int64_t(newWidth) * newHeight > kMaxImagePixels) throw ImageError("new size too large");
    if (image.width <= 0 || image.height <= 0) throw ImageError("nothing to resample");
    image = method == ResizeMethod::Nearest ? nearest(image, newWidth, newHeight)
                                            : filtered(image, newWidth, newHeight, method);
}

}  // namespace tessaro

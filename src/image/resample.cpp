// SPDX-License-Identifier: GPL-3.0-or-later
// Resampling: nearest neighbour, and separable fixed-point filtering with the triangle or
// the Catmull-Rom kernel. When shrinking, the kernel is widened by the scale factor, so every
// source pixel contributes (area filtering) and nothing aliases; taps beyond the border
// reuse the border pixel.
#include "image/resample.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "image/resample_passes.h"

namespace tessaro {
namespace {

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

// The raw kernel weights of one output position over the source indexes from `first` on,
// with the taps beyond the border folded into the border pixel and zero taps trimmed.
struct RawTaps {
    int first = 0;
    std::vector<double> weight;
};

RawTaps rawTaps(int out, int source, double scale, ResizeMethod method) {
    const double widen = std::max(scale, 1.0);
    const double support = (method == ResizeMethod::Bicubic ? 2.0 : 1.0) * widen;
    const double centre = (out + 0.5) * scale;
    const int from = int(std::floor(centre - support));
    const int to = int(std::ceil(centre + support));
    RawTaps taps;
    taps.first = std::clamp(from, 0, source - 1);
    taps.weight.assign(std::size_t(std::clamp(to, 0, source - 1) - taps.first + 1), 0.0);
    for (int i = from; i <= to; ++i) {
        const double x = (i + 0.5 - centre) / widen;
        const double w = method == ResizeMethod::Bicubic ? catmullRom(x) : triangle(x);
        taps.weight[std::size_t(std::clamp(i, 0, source - 1) - taps.first)] += w;
    }
    while (taps.weight.size() > 1 && taps.weight.back() == 0.0) taps.weight.pop_back();
    while (taps.weight.size() > 1 && taps.weight.front() == 0.0) {
        taps.weight.erase(taps.weight.begin());
        ++taps.first;
    }
    return taps;
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

const ResamplePasses& fastestPasses() {
    static const ResamplePasses passes = Avx2Passes().value_or(PortablePasses());
    return passes;
}

}  // namespace

TapTable MakeTapTable(int source, int target, ResizeMethod method, int multiple) {
    const double scale = double(source) / double(target);
    std::vector<RawTaps> raw;
    raw.reserve(std::size_t(target));
    int count = 1;
    for (int out = 0; out < target; ++out) {
        raw.push_back(rawTaps(out, source, scale, method));
        count = std::max(count, int(raw.back().weight.size()));
    }
    TapTable table;
    table.count = (count + multiple - 1) / multiple * multiple;
    table.first.reserve(std::size_t(target));
    table.weight.assign(std::size_t(target) * std::size_t(table.count), 0);
    constexpr double one = 1 << kWeightBits;
    for (int out = 0; out < target; ++out) {
        const RawTaps& taps = raw[std::size_t(out)];
        table.first.push_back(taps.first);
        double sum = 0.0;
        for (double w : taps.weight) sum += w;
        // Rounding the running total instead of each weight keeps the sum exact, so a flat
        // area stays flat, and spreads the rounding over many small taps instead of dropping
        // them when a large reduction makes each one tiny.
        std::int16_t* weight = table.weight.data() + std::size_t(out) * std::size_t(table.count);
        double running = 0.0;
        long previous = 0;
        for (std::size_t k = 0; k < taps.weight.size(); ++k) {
            running += taps.weight[k];
            const long total = k + 1 == taps.weight.size() ? long(one) : std::lround(running / sum * one);
            weight[k] = std::int16_t(total - previous);
            previous = total;
        }
    }
    return table;
}

ImageRecord ResampleFiltered(const ImageRecord& src, int width, int height, ResizeMethod method,
                             const ResamplePasses& passes) {
    ImageRecord dst = NewImage(width, height, PixelFormat::Rgb24);
    const TapTable columns = MakeTapTable(src.width, width, method, 4);
    const TapTable rows = MakeTapTable(src.height, height, method, 2);
    // The horizontal pass reads whole groups of taps, up to count + 4 pixels past the edge.
    std::vector<std::int16_t> line(3 * (std::size_t(src.width) + std::size_t(columns.count) + 4), 0);
    std::vector<const std::uint8_t*> sourceRows(std::size_t(rows.count));
    for (int y = 0; y < height; ++y) {
        const int first = rows.first[std::size_t(y)];
        for (int k = 0; k < rows.count; ++k) {
            // Padding taps have weight 0; any readable row will do for them.
            sourceRows[std::size_t(k)] = src.row(std::min(first + k, src.height - 1));
        }
        passes.vertical(sourceRows.data(), rows.weight.data() + std::size_t(y) * std::size_t(rows.count),
                        rows.count, line.data(), src.rowBytes());
        passes.horizontal(line.data(), columns, dst.row(y));
    }
    return dst;
}

void ResizeImage(ImageRecord& image, int newWidth, int newHeight, ResizeMethod method) {
    if (newWidth <= 0 || newHeight <= 0) throw ImageError("a new side must be at least 1 pixel");
    if (image.format != PixelFormat::Rgb24) throw ImageError("resampling takes 24-bit RGB");
    if (newWidth == image.width && newHeight == image.height) return;
    if (std::int64_t(newWidth) * newHeight > kMaxImagePixels) throw ImageError("new size too large");
    if (image.width <= 0 || image.height <= 0) throw ImageError("nothing to resample");
    image = method == ResizeMethod::Nearest
                ? nearest(image, newWidth, newHeight)
                : ResampleFiltered(image, newWidth, newHeight, method, fastestPasses());
}

}  // namespace tessaro

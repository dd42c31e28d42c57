// SPDX-License-Identifier: GPL-3.0-or-later
// The fixed-point resampler against exact arithmetic: a double-precision resampler with the
// same kernels stands as the reference, and the vector passes must give the portable passes'
// bytes exactly, tails and odd sizes included.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "image/resample_passes.h"

namespace tessaro {
namespace {

// A screenshot in small: flat panels, one-pixel strokes, a smooth photo-like region and
// some noise, over the full 0..255 range so that overshoot gets clipped too.
ImageRecord screenshotLike(int width, int height) {
    ImageRecord image = NewImage(width, height, PixelFormat::Rgb24);
    std::mt19937 random(7);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = image.row(y) + 3 * x;
            for (int c = 0; c < 3; ++c) {
                if (x > width / 2 && y > height / 4) {
                    p[c] = std::uint8_t(128 + 100 * std::sin(x * 0.05 + c) * std::cos(y * 0.03) +
                                        int(random() % 21) - 10);
                } else if ((y % 12) > 3 && (y % 12) < 9 && (x / 2 + y / 3) % 5 == 0) {
                    p[c] = 0;
                } else {
                    p[c] = ((x / 50 + y / 40) % 2) ? 255 : std::uint8_t(200 + 20 * c);
                }
            }
        }
    }
    return image;
}

double kernel(double x, ResizeMethod method) {
    x = std::fabs(x);
    if (method == ResizeMethod::Bilinear) return std::max(0.0, 1.0 - x);
    if (x < 1.0) return 1.5 * x * x * x - 2.5 * x * x + 1.0;
    if (x < 2.0) return -0.5 * x * x * x + 2.5 * x * x - 4.0 * x + 2.0;
    return 0.0;
}

// Normalised weights of every output position over every source index, border clamped.
std::vector<std::vector<double>> weightMatrix(int source, int target, ResizeMethod method) {
    const double scale = double(source) / target;
    const double widen = std::max(1.0, scale);
    const double support = (method == ResizeMethod::Bicubic ? 2.0 : 1.0) * widen;
    std::vector<std::vector<double>> matrix(std::size_t(target), std::vector<double>(std::size_t(source), 0.0));
    for (int out = 0; out < target; ++out) {
        const double centre = (out + 0.5) * scale;
        double sum = 0;
        for (int i = int(std::floor(centre - support)); i <= int(std::ceil(centre + support)); ++i) {
            const double w = kernel((i + 0.5 - centre) / widen, method);
            matrix[std::size_t(out)][std::size_t(std::clamp(i, 0, source - 1))] += w;
            sum += w;
        }
        for (double& w : matrix[std::size_t(out)]) w /= sum;
    }
    return matrix;
}

ImageRecord exactResample(const ImageRecord& src, int width, int height, ResizeMethod method) {
    const auto columns = weightMatrix(src.width, width, method);
    const auto rows = weightMatrix(src.height, height, method);
    std::vector<double> tall(std::size_t(width) * std::size_t(src.height) * 3, 0.0);
    for (int y = 0; y < src.height; ++y)
        for (int x = 0; x < width; ++x)
            for (int i = 0; i < src.width; ++i)
                if (const double w = columns[std::size_t(x)][std::size_t(i)]; w != 0.0)
                    for (int c = 0; c < 3; ++c)
                        tall[(std::size_t(y) * width + x) * 3 + c] += w * src.row(y)[3 * i + c];
    ImageRecord dst = NewImage(width, height, PixelFormat::Rgb24);
    for (int y = 0; y < height; ++y) {
        for (std::size_t i = 0; i < std::size_t(width) * 3; ++i) {
            double v = 0;
            for (int j = 0; j < src.height; ++j) v += rows[std::size_t(y)][std::size_t(j)] * tall[std::size_t(j) * width * 3 + i];
            dst.row(y)[i] = std::uint8_t(std::clamp(std::lround(v), 0L, 255L));
        }
    }
    return dst;
}

double psnr(const ImageRecord& a, const ImageRecord& b) {
    double squares = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) {
        const double d = double(a.pixels[i]) - double(b.pixels[i]);
        squares += d * d;
    }
    if (squares == 0) return 99.0;
    return 10.0 * std::log10(255.0 * 255.0 / (squares / double(a.pixels.size())));
}

struct Case {
    int width, height;
};

TEST(ResamplePrecision, WithinFiftyFiveDecibelsOfExactArithmetic) {
    const ImageRecord source = screenshotLike(384, 216);
    for (ResizeMethod method : {ResizeMethod::Bilinear, ResizeMethod::Bicubic}) {
        for (Case target : {Case{192, 108}, Case{64, 36}, Case{250, 211}, Case{1000, 500}}) {
            ImageRecord ours = source;
            ResizeImage(ours, target.width, target.height, method);
            const ImageRecord exact = exactResample(source, target.width, target.height, method);
            EXPECT_GE(psnr(ours, exact), 55.0)
                << "method " << int(method) << " to " << target.width << " x " << target.height;
            int worst = 0;
            for (std::size_t i = 0; i < exact.pixels.size(); ++i)
                worst = std::max(worst, std::abs(int(ours.pixels[i]) - int(exact.pixels[i])));
            EXPECT_LE(worst, 1) << "method " << int(method) << " to " << target.width << " x " << target.height;
        }
    }
}

TEST(ResamplePrecision, AGreatReductionStillWeighsEverySourcePixel) {
    // 4000 columns into 3 or 40: each tap weighs less than the fixed-point step, yet together
    // they must still average the stripes as exact arithmetic does, not pick single columns.
    ImageRecord stripes = NewImage(4000, 2, PixelFormat::Rgb24);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4000; ++x)
            for (int c = 0; c < 3; ++c) stripes.row(y)[3 * x + c] = x % 2 ? 200 : 0;
    for (ResizeMethod method : {ResizeMethod::Bilinear, ResizeMethod::Bicubic}) {
        for (int width : {3, 40}) {
            ImageRecord small = stripes;
            ResizeImage(small, width, 1, method);
            const ImageRecord exact = exactResample(stripes, width, 1, method);
            for (std::size_t i = 0; i < exact.pixels.size(); ++i) {
                EXPECT_NEAR(small.pixels[i], exact.pixels[i], 1) << "method " << int(method) << " byte " << i;
            }
        }
    }
}

TEST(ResamplePrecision, VectorPassesGiveThePortableBytes) {
    const auto avx2 = Avx2Passes();
    if (!avx2) GTEST_SKIP() << "this processor has no AVX2";
    // Odd widths leave tails shorter than a vector; extreme values test the limiting.
    ImageRecord source = screenshotLike(203, 117);
    for (int x = 0; x < 40; ++x) source.row(50)[3 * x] = std::uint8_t(x % 2 ? 255 : 0);
    for (ResizeMethod method : {ResizeMethod::Bilinear, ResizeMethod::Bicubic}) {
        for (Case target : {Case{101, 58}, Case{7, 5}, Case{1, 1}, Case{404, 233}, Case{203, 300}, Case{31, 117}}) {
            const ImageRecord portable = ResampleFiltered(source, target.width, target.height, method, PortablePasses());
            const ImageRecord vector = ResampleFiltered(source, target.width, target.height, method, *avx2);
            EXPECT_EQ(portable.pixels, vector.pixels)
                << "method " << int(method) << " to " << target.width << " x " << target.height;
        }
    }
}

}  // namespace
}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// Mapping onto a palette: exact colours stay exact, strokes are not fringed with dither
// noise, smooth areas keep their average through dithering, and sharp pixels get the truly
// nearest colour.
#include <gtest/gtest.h>

#include <random>

#include "image/codecs/palette_dither.h"

namespace tessaro {
namespace {

const PaletteColour& colourOf(std::span<const PaletteColour> palette, std::uint8_t index) {
    return palette[index];
}

std::vector<PaletteColour> greys(int count) {
    std::vector<PaletteColour> palette;
    for (int i = 0; i < count; ++i) {
        const auto v = std::uint8_t(i * 255 / (count - 1));
        palette.push_back({v, v, v});
    }
    return palette;
}

TEST(PaletteDither, TextAndPanelsKeepTheirExactColoursBesideADitheredGradient) {
    // Left: white panel with black strokes, their anti-aliased grey rims and a blue button;
    // right: a grey ramp. Near-white entries, as real palettes have for anti-aliasing, are
    // what dither noise around text would show up as.
    const std::vector<PaletteColour> palette = [] {
        auto p = greys(8);
        p.push_back({40, 90, 200});
        p.push_back({250, 250, 250});
        p.push_back({245, 245, 245});
        return p;
    }();
    ImageRecord image = NewImage(160, 60, PixelFormat::Rgb24);
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 160; ++x) {
            std::uint8_t* p = image.row(y) + 3 * x;
            if (x >= 80) {
                p[0] = p[1] = p[2] = std::uint8_t((x - 80) * 3 + 10);
            } else if (y > 40 && x > 10 && x < 50) {
                p[0] = 40, p[1] = 90, p[2] = 200;
            } else {
                const bool stroke = (y % 8) == 3 || (x % 9) == 4;
                const bool rim = (y % 8) == 4 || (x % 9) == 5;
                p[0] = p[1] = p[2] = stroke ? 0 : rim ? 128 : 255;
            }
        }
    }
    const auto indices = DitherToPalette(image, palette);
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 80; ++x) {
            const PaletteColour& c = colourOf(palette, indices[std::size_t(y) * 160 + std::size_t(x)]);
            const std::uint8_t* p = image.row(y) + 3 * x;
            if (p[0] == 128) {
                ASSERT_EQ(c.r, 145) << "a rim takes its nearest grey (4 x 255 / 7), pixel " << x << "," << y;
            } else {
                ASSERT_TRUE(c.r == p[0] && c.g == p[1] && c.b == p[2]) << "pixel " << x << "," << y;
            }
        }
    }
    // The ramp, with only 8 greys, keeps its local average within a few levels.
    for (int block = 0; block < 5; ++block) {
        double source = 0, mapped = 0;
        for (int y = 20; y < 36; ++y) {
            for (int x = 82 + 16 * block; x < 98 + 16 * block; ++x) {
                source += image.row(y)[3 * x];
                mapped += colourOf(palette, indices[std::size_t(y) * 160 + std::size_t(x)]).r;
            }
        }
        EXPECT_NEAR(mapped / 256, source / 256, 4.0) << "block " << block;
    }
}

TEST(PaletteDither, SharpPixelsGetTheNearestColourOfTheWholePalette) {
    std::mt19937 random(11);
    std::vector<PaletteColour> palette;
    for (int i = 0; i < 256; ++i) {
        palette.push_back({std::uint8_t(random()), std::uint8_t(random()), std::uint8_t(random())});
    }
    // A checkerboard of black and random colours far from black: every pixel is an edge, so
    // none takes or passes on error and each must map to its own nearest colour.
    ImageRecord image = NewImage(64, 64, PixelFormat::Rgb24);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            std::uint8_t* p = image.row(y) + 3 * x;
            if ((x + y) % 2) {
                p[0] = std::uint8_t(128 + random() % 128);
                p[1] = std::uint8_t(random());
                p[2] = std::uint8_t(random());
            }
        }
    }
    const auto indices = DitherToPalette(image, palette);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const std::uint8_t* p = image.row(y) + 3 * x;
            int best = 1 << 30;
            for (const PaletteColour& c : palette) {
                best = std::min(best, (c.r - p[0]) * (c.r - p[0]) + (c.g - p[1]) * (c.g - p[1]) + (c.b - p[2]) * (c.b - p[2]));
            }
            const PaletteColour& got = colourOf(palette, indices[std::size_t(y) * 64 + std::size_t(x)]);
            const int distance = (got.r - p[0]) * (got.r - p[0]) + (got.g - p[1]) * (got.g - p[1]) + (got.b - p[2]) * (got.b - p[2]);
            ASSERT_EQ(distance, best) << "pixel " << x << "," << y;
        }
    }
}

TEST(PaletteDither, PalettesOutsideOneTo256ColoursAreRefused) {
    const ImageRecord image = NewImage(2, 2, PixelFormat::Rgb24);
    EXPECT_THROW(DitherToPalette(image, {}), ImageError);
    const std::vector<PaletteColour> tooMany(257);
    EXPECT_THROW(DitherToPalette(image, tooMany), ImageError);
    const std::vector<PaletteColour> one(1);
    EXPECT_EQ(DitherToPalette(image, one), std::vector<std::uint8_t>(4, 0));
}

}  // namespace
}  // namespace tessaro

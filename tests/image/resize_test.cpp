// SPDX-License-Identifier: GPL-3.0-or-later
// Resizing: the size rules with their examples, the method names, and the resampling
// kernels checked on known pictures and against Pillow's resampler with the same kernels.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "image/resample.h"
#include "image/resize_rules.h"

namespace tessaro {
namespace {

std::optional<TargetSize> target(std::int64_t w, std::int64_t h, ResizeRules rules = {}) {
    return ResizeTarget(w, h, rules);
}

TEST(ResizeRulesTest, DesignDefaultsFitIntoTheBoxTurnedForPortraits) {
    EXPECT_EQ(target(1920, 1080), (TargetSize{640, 360}));
    EXPECT_EQ(target(1080, 1920), (TargetSize{360, 640}));
    EXPECT_EQ(target(1080, 1920, {640, 480, true, true, false, true}), (TargetSize{270, 480}));
    EXPECT_EQ(target(320, 240), (TargetSize{640, 480}));
    EXPECT_EQ(target(4, 6, {3, 100, true, true, true, true}), (TargetSize{3, 4}))
        << "4.5 rounds to the even 4";
    EXPECT_EQ(target(5, 6, {3, 100, true, true, true, true}), (TargetSize{3, 4}))
        << "3.6 rounds up";
}

TEST(ResizeRulesTest, WithoutProportionsTheBoxIsTakenAsItIsOrTurned) {
    const ResizeRules free{640, 480, true, true, true, false};
    EXPECT_EQ(target(600, 900, free), (TargetSize{480, 640}));
    EXPECT_EQ(target(1000, 1000, free), (TargetSize{480, 640})) << "a square is not landscape";
    ResizeRules unturned = free;
    unturned.turn = false;
    EXPECT_EQ(target(600, 900, unturned), (TargetSize{640, 480}));
    EXPECT_EQ(target(1000, 1000, unturned), (TargetSize{640, 480}));
}

TEST(ResizeRulesTest, LargerAndSmallerRulesSkipWhatAlreadyFits) {
    const ResizeRules onlyLarger{640, 480, true, false, true, true};
    EXPECT_EQ(target(300, 200, onlyLarger), std::nullopt);
    EXPECT_EQ(target(500, 700, onlyLarger), (TargetSize{457, 640}));
    EXPECT_EQ(target(640, 480, onlyLarger), (TargetSize{640, 480})) << "equal sizes are not smaller";
    const ResizeRules onlySmaller{640, 480, false, true, false, true};
    EXPECT_EQ(target(1920, 1080, onlySmaller), std::nullopt);
    EXPECT_EQ(target(320, 240, onlySmaller), (TargetSize{640, 480}));
    EXPECT_EQ(target(1000, 100, onlySmaller), (TargetSize{640, 64})) << "larger one way, smaller the other";
    EXPECT_EQ(target(100, 100, {640, 480, false, false, true, true}), std::nullopt);
}

TEST(ResizeRulesTest, SidesThatRoundToNothingAreReportedAsSuch) {
    const auto thin = target(3000, 1);
    ASSERT_TRUE(thin);
    EXPECT_EQ(thin->height, 0) << "0.21 rounds to 0; resampling refuses it";
    ImageRecord image = NewImage(3000, 1, PixelFormat::Rgb24);
    EXPECT_THROW(ResizeImage(image, int(thin->width), int(thin->height), ResizeMethod::Bicubic), ImageError);
    EXPECT_EQ(target(100, 100, {0, 0, true, true, true, true}), (TargetSize{0, 0}));
}

TEST(ResizeRulesTest, MethodNamesBySetPrefixes) {
    EXPECT_EQ(ResizeFilterOf(u"Bicubic", 0), 2);
    EXPECT_EQ(ResizeFilterOf(u"Bikubisch", 0), 2);
    EXPECT_EQ(ResizeFilterOf(u"Bilinear", 2), 1);
    EXPECT_EQ(ResizeFilterOf(u"N\u00e4chster Nachbar", 2), 0);
    EXPECT_EQ(ResizeFilterOf(u"Nearest", 1), 0);
    EXPECT_EQ(ResizeFilterOf(u"best", 1), 1);
    EXPECT_EQ(ResizeFilterOf(u"bicubic", 1), 1) << "letter case counts";
    EXPECT_EQ(ResizeFilterOf(u"Bi", 2), 2);
}

ImageRecord picture(int w, int h, std::uint8_t (*value)(int x, int y, int c)) {
    ImageRecord image = NewImage(w, h, PixelFormat::Rgb24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) image.row(y)[3 * x + c] = value(x, y, c);
    return image;
}

TEST(Resampling, FlatStaysFlatRampsStayRampsNearestDuplicates) {
    for (auto method : {ResizeMethod::Nearest, ResizeMethod::Bilinear, ResizeMethod::Bicubic}) {
        for (auto [w, h] : {std::pair{97, 61}, std::pair{300, 7}}) {
            ImageRecord flat = picture(131, 77, [](int, int, int c) { return std::uint8_t(60 + 70 * c); });
            ResizeImage(flat, w, h, method);
            for (std::size_t i = 0; i < flat.pixels.size(); ++i) {
                ASSERT_EQ(flat.pixels[i], 60 + 70 * (i % 3)) << "method " << int(method);
            }
        }
    }
    for (auto method : {ResizeMethod::Bilinear, ResizeMethod::Bicubic}) {
        // A ramp of 2 per column halved keeps a ramp of 4 per column, away from the borders.
        ImageRecord ramp = picture(120, 4, [](int x, int, int) { return std::uint8_t(2 * x); });
        ResizeImage(ramp, 60, 4, method);
        for (int x = 3; x < 57; ++x) {
            EXPECT_NEAR(ramp.row(1)[3 * x], 4 * x + 1, 1) << "method " << int(method) << " x " << x;
        }
    }
    ImageRecord small = picture(3, 2, [](int x, int y, int c) { return std::uint8_t(10 * x + 100 * y + c); });
    const ImageRecord source = small;
    ResizeImage(small, 6, 4, ResizeMethod::Nearest);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(small.row(y)[3 * x], source.row(y / 2)[3 * (x / 2)]);
    ImageRecord same = source;
    ResizeImage(same, 3, 2, ResizeMethod::Bicubic);
    EXPECT_EQ(same.pixels, source.pixels) << "an unchanged size leaves the pixels alone";
}

// Pillow resamples with the same kernels (triangle, Catmull-Rom with a = -0.5) and widens
// them when shrinking; it treats the border differently, so a few border pixels are left out.
TEST(Resampling, AgreesWithPillowAwayFromTheBorder) {
    const auto dir = std::filesystem::temp_directory_path() / "tessaro-resample";
    std::filesystem::create_directories(dir);
    // Sharp strokes and smooth shading, all within 40 .. 215, so that no overshoot of the
    // cubic kernel is clipped (Pillow clips between its two passes, we do not).
    const ImageRecord source = picture(211, 157, [](int x, int y, int c) {
        const bool stroke = (x / 3 + y / 5) % 7 == 0;
        return std::uint8_t(stroke ? 60 : 128 + 60 * std::sin(x / 5.0 + c) * std::cos(y / 7.0));
    });
    {
        std::ofstream out(dir / "in.ppm", std::ios::binary);
        out << "P6\n" << source.width << ' ' << source.height << "\n255\n";
        out.write(reinterpret_cast<const char*>(source.pixels.data()), std::streamsize(source.pixels.size()));
    }
    for (auto [method, name] : {std::pair{ResizeMethod::Bilinear, "BILINEAR"},
                                std::pair{ResizeMethod::Bicubic, "BICUBIC"}}) {
        for (auto [w, h] : {std::pair{70, 52}, std::pair{400, 300}}) {
            const std::string command =
                "/usr/bin/python3 -c \"from PIL import Image; import sys; "
                "Image.open(sys.argv[1]).resize((" + std::to_string(w) + "," + std::to_string(h) +
                "), Image." + name + ").save(sys.argv[2])\" '" + (dir / "in.ppm").string() + "' '" +
                (dir / "out.ppm").string() + "'";
            ASSERT_EQ(std::system(command.c_str()), 0);
            std::ifstream in(dir / "out.ppm", std::ios::binary);
            std::string header;
            for (int lines = 0; lines < 3;) {
                const char c = char(in.get());
                header.push_back(c);
                if (c == '\n') ++lines;
            }
            std::vector<std::uint8_t> pillow((std::istreambuf_iterator<char>(in)), {});
            ImageRecord ours = source;
            ResizeImage(ours, w, h, method);
            ASSERT_EQ(pillow.size(), ours.pixels.size());
            const int border = w > source.width ? 4 : 2;
            int worst = 0;
            for (int y = border; y < h - border; ++y)
                for (int x = 3 * border; x < 3 * (w - border); ++x)
                    worst = std::max(worst, std::abs(int(ours.row(y)[x]) - int(pillow[std::size_t(y) * 3 * w + x])));
            EXPECT_LE(worst, 2) << name << " to " << w << " x " << h;
        }
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tessaro

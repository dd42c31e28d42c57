// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/image_record.h"

#include <gtest/gtest.h>

namespace tessaro {
namespace {

Bitmap gradientBitmap(int width, int height, int bits) {
    Bitmap b = Bitmap::blank(width, height, bits);
    const int step = bits / 8;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = b.pixels.data() + b.rowBytes() * y + static_cast<std::size_t>(x) * step;
            p[0] = static_cast<std::uint8_t>(x);      // blue
            p[1] = static_cast<std::uint8_t>(y);      // green
            p[2] = static_cast<std::uint8_t>(x + y);  // red
            if (step == 4) p[3] = 7;
        }
    }
    return b;
}

TEST(ImageRecord, BitmapToRgbAndBackKeepsColoursAndDropsAlpha) {
    for (int bits : {24, 32}) {
        const Bitmap source = gradientBitmap(5, 3, bits);
        const ImageRecord rgb = ConvertToRgb24(ImageFromBitmap(source));
        ASSERT_EQ(rgb.format, PixelFormat::Rgb24);
        const std::uint8_t* p = rgb.row(2) + 4 * 3;
        EXPECT_EQ(p[0], 6);  // red
        EXPECT_EQ(p[1], 2);
        EXPECT_EQ(p[2], 4);
        const Bitmap back = ImageToBitmap(rgb);
        EXPECT_EQ(back.bitsPerPixel, 24);
        EXPECT_EQ(back.pixels, gradientBitmap(5, 3, 24).pixels);
    }
}

TEST(ImageRecord, CopyRectClipsToBothImagesAndLeavesTheRestBlack) {
    const ImageRecord source = ConvertToRgb24(ImageFromBitmap(gradientBitmap(4, 4, 24)));
    ImageRecord target = NewImage(6, 6, PixelFormat::Rgb24);
    // A rectangle starting left of and above the source: only its overlap is copied.
    CopyRect(source, -1, -2, 6, 6, target, 0, 0);
    EXPECT_EQ(target.row(0)[3], 0);          // (1,0) lies above the source
    EXPECT_EQ(target.row(2)[3 * 1 + 2], 0);  // source (0,0) lands at (1,2): blue 0
    EXPECT_EQ(target.row(3)[3 * 2 + 2], 1);  // source (1,1) at (2,3): blue x = 1
    EXPECT_EQ(target.row(5)[3 * 4 + 1], 3);  // source (3,3) at (4,5): green y = 3
    EXPECT_EQ(target.row(5)[3 * 5 + 1], 0);  // right of the source
    // Destinations and sizes near the 32-bit limits clip instead of wrapping.
    ImageRecord untouched = NewImage(2, 2, PixelFormat::Rgb24);
    CopyRect(source, 0, 0, 2147483647, 2147483647, untouched, -2147483647 - 1, 0);
    CopyRect(source, 2147483647, 0, 4, 4, untouched, 0, 0);
    EXPECT_EQ(untouched.pixels, std::vector<std::uint8_t>(12, 0));
    ImageRecord other = NewImage(2, 2, PixelFormat::Bgra32);
    EXPECT_THROW(CopyRect(source, 0, 0, 1, 1, other, 0, 0), ImageError);
}

TEST(ImageRecord, NewImageRefusesSizesThatCannotBeHeld) {
    EXPECT_THROW(NewImage(-1, 4, PixelFormat::Rgb24), ImageError);
    EXPECT_THROW(NewImage(2147483647, 2147483647, PixelFormat::Rgb24), ImageError);
    EXPECT_EQ(NewImage(0, 5, PixelFormat::Rgb24).pixels.size(), 0u);
    Bitmap shortBitmap = Bitmap::blank(4, 4, 32);
    shortBitmap.pixels.resize(10);
    EXPECT_THROW(ImageFromBitmap(shortBitmap), ImageError);
}

TEST(ImageRecord, IntegerTextAcceptsSignedDecimalAndHexWithin32Bits) {
    EXPECT_TRUE(IsIntegerText(u"0"));
    EXPECT_EQ(IntegerOf(u"  -25", 0), -25);
    EXPECT_EQ(IntegerOf(u"+7", 0), 7);
    EXPECT_EQ(IntegerOf(u"2147483647", 0), 2147483647);
    EXPECT_EQ(IntegerOf(u"-2147483648", 0), -2147483647 - 1);
    EXPECT_EQ(IntegerOf(u"$FF", 0), 255);
    EXPECT_EQ(IntegerOf(u"0x10", 0), 16);
    EXPECT_EQ(IntegerOf(u"$FFFFFFFF", 0), -1);
    for (const char16_t* bad : {u"", u" ", u"-", u"2147483648", u"-2147483649", u"12 ", u"1a",
                                u"Benutzer..", u"$", u"0x", u"$100000000", u"1.5"}) {
        EXPECT_FALSE(IsIntegerText(bad)) << std::u16string_view(bad).size();
        EXPECT_EQ(IntegerOf(bad, 42), 42);
    }
}

}  // namespace
}  // namespace tessaro

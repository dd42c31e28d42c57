// SPDX-License-Identifier: GPL-3.0-or-later
// Resizing captured images in the running program: the settings of the main window and of
// the output settings decide, the clipboard gets the result back as a 24-bit bitmap, and
// a size that cannot be made leaves the clipboard alone.
#include <gtest/gtest.h>

#include "support/app_fixture.h"

namespace tessaro {
namespace {

class ImageResize : public testing::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        prog().cb_resizeimg.setChecked(true);
    }
    // The bitmap on the clipboard after another program copied a width x height picture.
    std::shared_ptr<const Bitmap> copyAndRead(int width, int height) {
        copy({{CF_BITMAP, testing::testBitmap(width, height)}});
        for (const auto& [format, data] : clipboard.content()) {
            if (format == CF_BITMAP) return std::get<std::shared_ptr<const Bitmap>>(data);
        }
        return nullptr;
    }
};

TEST_F(ImageResize, DesignSettingsFitAScreenshotIntoTheBox) {
    auto bitmap = copyAndRead(1920, 1080);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->width, 640);
    EXPECT_EQ(bitmap->height, 360);
    EXPECT_EQ(bitmap->bitsPerPixel, 24);
    EXPECT_EQ(app.captureState().SuppressCount, 0) << "the own write was recognised";
    EXPECT_EQ(rows(), 1u) << "the write-back adds no history row";
}

TEST_F(ImageResize, RulesOfTheOutputSettingsAndTheMainWindowApply) {
    auto& out = app.outputSettings();
    out.act_sizekleiner.setChecked(false);
    auto small = copyAndRead(300, 200);
    ASSERT_TRUE(small);
    EXPECT_EQ(small->width, 300) << "smaller images stay as they are";
    EXPECT_EQ(small->bitsPerPixel, 32) << "and are not written back: the copy stays as it was";
    auto portrait = copyAndRead(500, 700);
    EXPECT_EQ(portrait->width, 457);
    EXPECT_EQ(portrait->height, 640);
    prog().act_resizeimg_prop.setChecked(false);
    out.act_sizehochquerformat.setChecked(false);
    auto stretched = copyAndRead(1000, 1000);
    EXPECT_EQ(stretched->width, 640);
    EXPECT_EQ(stretched->height, 480);
    prog().act_sizebenutzer_y.setText(u"high");  // no number: the picture's own height
    auto own = copyAndRead(800, 600);
    EXPECT_EQ(own->width, 640);
    EXPECT_EQ(own->height, 600);
}

TEST_F(ImageResize, SizesThatCannotBeMadeLeaveTheClipboardAlone) {
    auto thin = copyAndRead(3000, 1);
    ASSERT_TRUE(thin);
    EXPECT_EQ(thin->width, 3000) << "the short side rounds to 0";
    EXPECT_EQ(thin->bitsPerPixel, 32) << "nothing was written back";
    prog().act_sizebenutzer_x.setText(u"0");
    auto zero = copyAndRead(200, 100);
    EXPECT_EQ(zero->width, 200);
    EXPECT_EQ(zero->bitsPerPixel, 32);
    prog().act_sizebenutzer_x.setText(u"99999999");
    prog().act_sizebenutzer_y.setText(u"99999999");
    auto huge = copyAndRead(20, 10);
    EXPECT_EQ(huge->width, 20) << "a size no memory can hold is refused, not attempted";
    EXPECT_EQ(app.captureState().SuppressCount, 0);
    EXPECT_TRUE(desktop.messages().empty()) << "failures are silent";
}

TEST_F(ImageResize, TheMethodListChoosesTheKernel) {
    auto& out = app.outputSettings();
    prog().act_sizebenutzer_x.setText(u"8");
    prog().act_sizebenutzer_y.setText(u"6");
    out.act_sizemethode.setText(u"Nearest");
    auto nearest = copyAndRead(4, 3);
    ASSERT_EQ(nearest->width, 8);
    // Nearest neighbour doubles each source pixel.
    const auto source = testing::testBitmap(4, 3);
    EXPECT_EQ(nearest->pixels[0], source->pixels[0]);
    EXPECT_EQ(nearest->pixels[3], source->pixels[0]);
    EXPECT_EQ(nearest->pixels[6], source->pixels[4]);
    out.act_sizemethode.setText(u"Bilinear");
    auto bilinear = copyAndRead(4, 3);
    EXPECT_NE(bilinear->pixels, nearest->pixels);
    out.act_sizemethode.setText(u"best");  // names no method: bilinear stays
    auto kept = copyAndRead(4, 3);
    EXPECT_EQ(kept->pixels, bilinear->pixels);
}

}  // namespace
}  // namespace tessaro

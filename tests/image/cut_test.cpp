// SPDX-License-Identifier: GPL-3.0-or-later
// Cutting: margins cut off the picture (negative ones add black), the cut-out dialog's
// frame, drag and margins, and the stage choosing between dialog and fixed margins.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "forms/form.h"
#include "image/cut_stage.h"
#include "platform/test_desktop.h"

namespace tessaro {
namespace {

ImageRecord numbered(int w, int h) {
    ImageRecord image = NewImage(w, h, PixelFormat::Rgb24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            image.row(y)[3 * x] = std::uint8_t(x);
            image.row(y)[3 * x + 1] = std::uint8_t(y);
            image.row(y)[3 * x + 2] = 200;
        }
    return image;
}

TEST(CutMarginsTest, MarginsCutAndNegativeMarginsAddBlack) {
    ImageRecord image = numbered(200, 100);
    CutMargins(image, 10, 30, 20, 40);
    ASSERT_EQ(image.width, 170);
    ASSERT_EQ(image.height, 30);
    EXPECT_EQ(image.row(0)[0], 10);
    EXPECT_EQ(image.row(0)[1], 30);
    EXPECT_EQ(image.row(29)[3 * 169], 179);
    EXPECT_EQ(image.row(29)[3 * 169 + 1], 59);

    ImageRecord wider = numbered(4, 3);
    CutMargins(wider, -2, 0, 0, -1);
    ASSERT_EQ(wider.width, 6);
    ASSERT_EQ(wider.height, 4);
    EXPECT_EQ(wider.row(0)[2], 0) << "added columns are black";
    EXPECT_EQ(wider.row(0)[3 * 2 + 2], 200);
    EXPECT_EQ(wider.row(3)[3 * 5 + 2], 0) << "added row is black";

    // Margins that meet or pass the size cut nothing, also at the 32-bit limits, where a
    // sum in 32 bits would wrap into a valid size.
    for (auto margins : {std::array<std::int64_t, 4>{100, 0, 100, 0}, {0, 50, 0, 50},
                         {2147483647, 0, 2147483647, 0}}) {
        ImageRecord same = numbered(200, 100);
        CutMargins(same, margins[0], margins[1], margins[2], margins[3]);
        EXPECT_EQ(same.width, 200);
        EXPECT_EQ(same.height, 100);
        EXPECT_EQ(same.row(99)[3 * 199], numbered(200, 100).row(99)[3 * 199]);
    }
    // Margins at the limits that keep the size shift the picture out of the frame: black.
    ImageRecord shifted = numbered(200, 100);
    CutMargins(shifted, 0, -2147483647, 0, 2147483647);
    ASSERT_EQ(shifted.width, 200);
    ASSERT_EQ(shifted.height, 100);
    EXPECT_EQ(std::count(shifted.pixels.begin(), shifted.pixels.end(), 0), std::ptrdiff_t(shifted.pixels.size()));
    // A negative margin that would widen the picture beyond what can be held is refused,
    // and the picture stays as it was.
    ImageRecord huge = numbered(200, 100);
    EXPECT_THROW(CutMargins(huge, -2147483647, 0, 0, 0), ImageError);
    EXPECT_EQ(huge.width, 200);
}

struct CutFixture : testing::Test {
    Form main{"Tprog"};
    Label& spr = main.add<Label>("spr");
    RadioButton& auswahl = main.add<RadioButton>("rb_cutimg_auswahl", "cut", true);
    RadioButton& direkt = main.add<RadioButton>("rb_cutimg_direkt", "cut");
    ComboBox& links = main.add<ComboBox>("act_zuschlinks");
    ComboBox& rechts = main.add<ComboBox>("act_zuschrechts");
    ComboBox& oben = main.add<ComboBox>("act_zuschoben");
    ComboBox& unten = main.add<ComboBox>("act_zuschunten");
    TestDesktop desktop;
    Tcutauswahl dialog{spr};
    CutStage stage{CutControls{auswahl, direkt, links, rechts, oben, unten}, dialog, desktop};

    static Bitmap bitmap(int w, int h) {
        Bitmap b = Bitmap::blank(w, h, 32);
        for (std::size_t i = 0; i < b.pixels.size(); ++i) b.pixels[i] = std::uint8_t(i % 4 == 3 ? 255 : 100);
        return b;
    }
    // Drags in the dialog as the user would, in picture pixels.
    void drag(Point from, Point to) {
        dialog.bildMouseDown(MouseButton::Left, from);
        dialog.bildMouseMove({(from.x + to.x) / 2, (from.y + to.y) / 2});
        dialog.bildMouseMove(to);
        dialog.bildMouseUp();
    }
    std::array<std::u16string, 4> margins() {
        return {dialog.act_zuschlinks.text(), dialog.act_zuschrechts.text(), dialog.act_zuschoben.text(),
                dialog.act_zuschunten.text()};
    }
};

TEST_F(CutFixture, DraggingGivesTheSameMarginsInBothDirections) {
    const Bitmap picture = bitmap(200, 100);
    desktop.setModalScript([&](Form&) { drag({10, 30}, {180, 60}); });
    auto cut = stage.run(picture);
    EXPECT_EQ(margins(), (std::array<std::u16string, 4>{u"10", u"20", u"30", u"40"}));
    EXPECT_EQ(cut->width, 170);
    EXPECT_EQ(cut->height, 30);
    EXPECT_EQ(cut->bitsPerPixel, 24) << "alpha is dropped";
    desktop.setModalScript([&](Form&) { drag({180, 60}, {10, 30}); });
    stage.run(picture);
    EXPECT_EQ(margins(), (std::array<std::u16string, 4>{u"10", u"20", u"30", u"40"}));
    EXPECT_EQ(dialog.SelectionRect, (SelectionRectangle{10, 30, 180, 60}));
    // Dragging beyond the picture keeps the frame on it: no negative margins.
    desktop.setModalScript([&](Form&) { drag({50, 50}, {-40, 400}); });
    stage.run(picture);
    EXPECT_EQ(margins(), (std::array<std::u16string, 4>{u"0", u"150", u"50", u"0"}));
}

TEST_F(CutFixture, TheFrameIsDrawnInvertedAndErasedByDrawingItAgain) {
    const Bitmap picture = bitmap(40, 30);
    desktop.setModalScript([&](Form&) {
        drag({5, 5}, {20, 15});
        const Bitmap& shown = *dialog.bild.bitmap();
        EXPECT_EQ(shown.pixels[(5 * 40 + 5) * 4], 255 - 100) << "corner inverted";
        EXPECT_EQ(shown.pixels[(14 * 40 + 19) * 4], 255 - 100) << "outline ends one before Right, Bottom";
        EXPECT_EQ(shown.pixels[(10 * 40 + 10) * 4], 100) << "inside untouched";
        dialog.DrawSelectionRect();
        EXPECT_EQ(dialog.bild.bitmap()->pixels, picture.pixels) << "drawing twice erases";
        dialog.DrawSelectionRect();
    });
    stage.run(picture);
    // The next picture opens with the previous frame drawn; OK keeps the margins.
    desktop.setModalScript([&](Form&) {
        EXPECT_EQ(dialog.bild.bitmap()->pixels[(5 * 40 + 5) * 4], 255 - 100);
        dialog.Button1.click();
    });
    auto again = stage.run(picture);
    EXPECT_EQ(again->width, 40 - 5 - 20);
}

TEST_F(CutFixture, ClickCancelAndTypedMargins) {
    const Bitmap picture = bitmap(200, 100);
    desktop.setModalScript([&](Form&) { drag({10, 30}, {10, 30}); });
    stage.run(picture);
    EXPECT_EQ(margins(), (std::array<std::u16string, 4>{u"0", u"0", u"0", u"0"})) << "a click cuts nothing";
    desktop.setModalScript([&](Form&) {
        dialog.act_zuschlinks.setText(u"25");
        dialog.act_zuschlinks.onChange();
        EXPECT_EQ(dialog.SelectionRect, (SelectionRectangle{25, 0, 200, 100})) << "typing moves the frame";
        dialog.Abbrechen.click();
    });
    auto cancelled = stage.run(picture);
    EXPECT_EQ(cancelled->width, 200);
    EXPECT_EQ(cancelled->bitsPerPixel, 24) << "still written back as 24-bit";
    desktop.setModalScript([&](Form&) { dialog.act_zuschoben.setText(u"abc"); });
    auto text = stage.run(picture);
    EXPECT_EQ(text->height, 100) << "a margin that is no number cuts nothing";
}

TEST_F(CutFixture, FixedMarginsNeedNoDialogAndACopyWhileTheDialogIsOpenLeavesItAlone) {
    direkt.click();
    links.setText(u"10");
    rechts.setText(u"20");
    oben.setText(u"30");
    unten.setText(u"40");
    auto cut = stage.run(bitmap(200, 100));
    EXPECT_EQ(cut->width, 170);
    EXPECT_EQ(desktop.modalShowings(), 0);
    auswahl.click();
    desktop.setModalScript([&](Form&) {
        drag({10, 30}, {180, 60});
        EXPECT_THROW(stage.run(bitmap(50, 50)), ImageError) << "the open dialog is not shown twice";
        EXPECT_EQ(dialog.bild.bitmap()->width, 200) << "the newer picture did not replace the open one";
        EXPECT_EQ(margins(), (std::array<std::u16string, 4>{u"10", u"20", u"30", u"40"}));
    });
    cut = stage.run(bitmap(200, 100));
    EXPECT_EQ(desktop.modalShowings(), 1);
    EXPECT_EQ(cut->width, 170) << "the earlier copy is cut with the frame dragged on it";
    desktop.setModalScript([&](Form&) {});
    stage.run(bitmap(50, 50));
    EXPECT_EQ(desktop.modalShowings(), 2) << "once closed, the dialog serves the next copy";
}

}  // namespace
}  // namespace tessaro

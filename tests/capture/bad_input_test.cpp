// SPDX-License-Identifier: GPL-3.0-or-later
// Input at the edges of what a clipboard can hold: very long texts, very large pictures,
// binary blocks under text names. The program captures or reports, and goes on.
#include <gtest/gtest.h>

#include "support/app_fixture.h"

namespace tessaro {
namespace {

using testing::AppFixture;

class BadInput : public AppFixture {};

TEST_F(BadInput, AHundredMillionCharacterTextIsCapturedWhole) {
    std::u16string text(100'000'000, u'x');
    text[0] = u'\u20ac';
    text.back() = u'!';
    copyText(text);
    ASSERT_EQ(rows(), 1u);
    EXPECT_EQ(lastRow().cell(2).size(), text.size());
    EXPECT_EQ(lastRow().cell(2).back(), u'!');
    EXPECT_EQ(prog().display_txt.text().size(), text.size());
    EXPECT_EQ(app.history().HistoryTexts[0].str().size(), text.size());
    EXPECT_EQ(prog().liste.item(1).cell(2).size(), text.size() + 1) << "CF_TEXT with its 0 byte";
    EXPECT_EQ(prog().liste.item(1).cell(2)[0], u'\u20ac');
    copyText(u"small again");
    EXPECT_EQ(rows(), 2u);
}

TEST_F(BadInput, A16384SquarePictureIsCapturedWithoutACopy) {
    auto bitmap = std::make_shared<const Bitmap>(Bitmap::blank(16384, 16384, 32));
    copy({{CF_BITMAP, bitmap}});
    ASSERT_EQ(rows(), 1u);
    EXPECT_EQ(lastRow().cell(2), u"16384 x 16384");
    EXPECT_EQ(prog().display_img.bitmap(), bitmap) << "the display shares the clipboard's picture";
    EXPECT_EQ(prog().ScrollBox2.vertical().max, 16384);
}

TEST_F(BadInput, TextWithoutATerminatorAndOddSizedBlocks) {
    copy({{CF_UNICODETEXT, MemoryBlock{'a', 0, 'b', 0, 'c'}}, {CF_TEXT, MemoryBlock{'a', 'b'}}});
    ASSERT_EQ(rows(), 1u);
    EXPECT_EQ(lastRow().cell(2), u"ab") << "a trailing odd byte is not half a character";
    EXPECT_EQ(prog().liste.item(1).cell(2), u"ab");
}

TEST_F(BadInput, GraphicsObjectsUnderTextFormatsReadAsNoText) {
    copy({{CF_UNICODETEXT, std::make_shared<const Palette>(Palette{{1, 2}})},
          {CF_TEXT, testing::testBitmap(2, 2)}});
    EXPECT_EQ(rows(), 0u);
    EXPECT_EQ(prog().liste.count(), 0u);
    EXPECT_TRUE(desktop.messages().empty());
}

}  // namespace
}  // namespace tessaro

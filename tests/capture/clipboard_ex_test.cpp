// SPDX-License-Identifier: GPL-3.0-or-later
// The clipboard object: nesting, replace-all writes, text and bitmap reads, format names.
#include <gtest/gtest.h>

#include "capture/clipboard_ex.h"
#include "platform/clipboard_error.h"
#include "platform/memory_clipboard.h"
#include "platform/windows_1252.h"
#include "support/recording_viewer.h"

namespace tessaro {
namespace {

class ClipboardEx : public ::testing::Test {
protected:
    MemoryClipboard backend;
    TClipBoardEx clipboard{backend};
};

TEST_F(ClipboardEx, NestedWritesFormOneContentAnnouncedAtTheOutermostClose) {
    testing::RecordingViewer viewer(backend.viewers());
    viewer.join();
    const int before = viewer.draws();
    clipboard.open();
    clipboard.WriteUnicodeText(u"a");
    clipboard.WriteClipboardBitmap(std::make_shared<Bitmap>(Bitmap::blank(2, 2, 32)));
    EXPECT_EQ(viewer.draws(), before);
    EXPECT_EQ(clipboard.openCount(), 1);
    clipboard.close();
    EXPECT_EQ(viewer.draws(), before + 1);
    ASSERT_EQ(backend.content().size(), 3u) << "both writes inside one open make one content";
    clipboard.close();
    EXPECT_EQ(clipboard.openCount(), 0) << "a close without an open does nothing";
}

TEST_F(ClipboardEx, OwnWritesAreRecognisedWhileTheyAreAnnounced) {
    struct Probe final : ClipboardViewer {
        TClipBoardEx* clipboard = nullptr;
        std::vector<bool> own;
        void handleViewerMessage(const ViewerMessage&) override { own.push_back(clipboard->announcingOwnWrite()); }
    } probe;
    probe.clipboard = &clipboard;
    backend.viewers().setClipboardViewer(backend.viewers().createWindow(probe));
    clipboard.WriteUnicodeText(u"mine");
    backend.putFromOtherProgram({});
    EXPECT_EQ(probe.own, (std::vector<bool>{false, true, false}));
    EXPECT_FALSE(clipboard.announcingOwnWrite());
}

TEST_F(ClipboardEx, AClipboardHeldElsewhereFailsWithoutChangingTheCount) {
    backend.setHeldByOtherProgram(true);
    try {
        clipboard.ReadUnicodeText();
        FAIL() << "expected an error";
    } catch (const ClipboardError& error) {
        EXPECT_STREQ(error.what(), "Cannot open clipboard");
    }
    EXPECT_EQ(clipboard.openCount(), 0);
}

TEST_F(ClipboardEx, WriteUnicodeTextPutsBothTextFormatsAndReplacesEverything) {
    backend.putFromOtherProgram({{CF_BITMAP, std::make_shared<const Bitmap>(Bitmap::blank(1, 1, 32))}});
    clipboard.WriteUnicodeText(u"\u20ac \u4e2d\U0001F600");
    ASSERT_EQ(backend.content().size(), 2u);
    EXPECT_EQ(backend.content()[0].first, CF_TEXT);
    EXPECT_EQ(std::get<MemoryBlock>(backend.content()[0].second), ansiBlock("\x80 ??"));
    EXPECT_EQ(std::get<MemoryBlock>(backend.content()[1].second).size(), 2u * 5 + 2);
    EXPECT_EQ(clipboard.ReadUnicodeText(), u"\u20ac \u4e2d\U0001F600");

    clipboard.WriteClipboardBitmap(std::make_shared<Bitmap>(Bitmap::blank(3, 2, 24)));
    ASSERT_EQ(backend.content().size(), 1u);
    EXPECT_EQ(clipboard.ReadUnicodeText(), u"");
}

TEST_F(ClipboardEx, ReadFormatAsTextKeepsTheWholeEightBitBlockAndUtf16PastAZero) {
    const FormatId custom = backend.registerFormat("custom");
    backend.putFromOtherProgram({{CF_TEXT, MemoryBlock{'a', 'b', 'c', 'd', 'e', 0}},
                                 {CF_UNICODETEXT, utf16Block(std::u16string(u"ab\0cd", 5))},
                                 {CF_BITMAP, std::make_shared<const Bitmap>(Bitmap::blank(1, 1, 32))},
                                 {custom, MemoryBlock{}}});
    EXPECT_EQ(clipboard.ReadFormatAsText(CF_TEXT, false), std::u16string(u"abcde\0", 6));
    EXPECT_EQ(clipboard.ReadFormatAsText(CF_UNICODETEXT, true), std::u16string(u"ab\0cd", 5))
        << "a 0 inside a text keeps what follows it; the terminating 0 is dropped";
    EXPECT_EQ(clipboard.ReadUnicodeText(), std::u16string(u"ab\0cd", 5));
    EXPECT_EQ(clipboard.ReadFormatAsText(CF_BITMAP, false), u"") << "graphics objects have no block";
    EXPECT_EQ(clipboard.ReadFormatAsText(custom, false), u"");
    EXPECT_EQ(clipboard.ReadFormatAsText(CF_PALETTE, false), u"") << "absent format";
}

TEST_F(ClipboardEx, EightBitTextMadeFromTheUnicodeTextReadsAsItsBlockWould) {
    for (const std::u16string& text : {std::u16string(u"Gr\u00fc\u00dfe 5 \u20ac"), std::u16string(u"\u4e2d a\U0001F600b"),
                                      std::u16string(u"a\0b", 3)}) {
        const auto shared = std::make_shared<const std::u16string>(text);
        backend.putFromOtherProgram({{CF_UNICODETEXT, shared}, {CF_TEXT, AnsiOfUtf16{shared, std::nullopt}}});
        EXPECT_EQ(clipboard.ReadFormatAsText(CF_TEXT, false), ansiToUtf16(utf16ToAnsi(text) + '\0'));
        EXPECT_EQ(clipboard.ReadFormatAsText(CF_TEXT, true), utf16OfBlock(ansiBlock(utf16ToAnsi(text))));
    }
    // A text the code page holds is listed without a second copy of it.
    const auto large = std::make_shared<const std::u16string>(1 << 20, u'\u00e4');
    backend.putFromOtherProgram({{CF_UNICODETEXT, large}, {CF_TEXT, AnsiOfUtf16{large, std::nullopt}}});
    const SharedText value = clipboard.ReadFormatAsText(CF_TEXT, false);
    EXPECT_EQ(value.view().size(), large->size() + 1);
    EXPECT_EQ(value.view().data(), large->data());
}

TEST_F(ClipboardEx, ReadUnicodeTextFallsBackToEightBitText) {
    backend.putFromOtherProgram({{CF_TEXT, ansiBlock("abc")}});
    EXPECT_EQ(clipboard.ReadUnicodeText(), u"abc");
    backend.putFromOtherProgram({{CF_UNICODETEXT, utf16Block(u"")}, {CF_TEXT, ansiBlock("\x80" "abc")}});
    EXPECT_EQ(clipboard.ReadUnicodeText(), u"\u20acabc");
    backend.putFromOtherProgram({{CF_TEXT, MemoryBlock{'a', 0, 'b', 0}}});
    EXPECT_EQ(clipboard.ReadUnicodeText(), u"a") << "8-bit text ends at its first 0 byte";
}

TEST_F(ClipboardEx, BitmapsAreReadWith32BitsAndTheirPalette) {
    Bitmap source = Bitmap::blank(2, 1, 24);
    source.pixels = {1, 2, 3, 4, 5, 6};
    backend.putFromOtherProgram({{CF_PALETTE, std::make_shared<const Palette>(Palette{{0x112233}})},
                                 {CF_BITMAP, std::make_shared<const Bitmap>(source)}});
    const auto read = clipboard.ReadClipboardBitmap();
    EXPECT_EQ(read->bitsPerPixel, 32);
    EXPECT_EQ(read->pixels, (std::vector<std::uint8_t>{1, 2, 3, 255, 4, 5, 6, 255}));
    EXPECT_EQ(read->palette, (std::vector<std::uint32_t>{0x112233}));

    backend.putFromOtherProgram({{CF_BITMAP, MemoryBlock{1, 2}}});
    EXPECT_THROW(clipboard.ReadClipboardBitmap(), ClipboardError);
    EXPECT_EQ(clipboard.openCount(), 0) << "closed also when the read fails";
}

TEST_F(ClipboardEx, FormatNames) {
    const FormatId html = backend.registerFormat("HTML Format");
    EXPECT_EQ(clipboard.ClipboardFormatName(1), "TEXT");
    EXPECT_EQ(clipboard.ClipboardFormatName(13), "UNICODETEXT");
    EXPECT_EQ(clipboard.ClipboardFormatName(17), "MAX");
    EXPECT_EQ(clipboard.ClipboardFormatName(0x8E), "DSPENHMETAFILE");
    EXPECT_EQ(clipboard.ClipboardFormatName(0x250), "PRIVATE");
    EXPECT_EQ(clipboard.ClipboardFormatName(0x2FF), "PRIVATE");
    EXPECT_EQ(clipboard.ClipboardFormatName(0x300), "GDIOBJ");
    EXPECT_EQ(clipboard.ClipboardFormatName(0x100), "Unknown");
    EXPECT_EQ(clipboard.ClipboardFormatName(0), "Unknown");
    EXPECT_EQ(clipboard.ClipboardFormatName(18), "Unknown");
    EXPECT_EQ(clipboard.ClipboardFormatName(html), "HTML Format");
    EXPECT_EQ(clipboard.ClipboardFormatName(backend.registerFormat(std::string(300, 'n'))), std::string(255, 'n'));
}

TEST_F(ClipboardEx, FormatAtIndexFollowsTheEnumerationOrder) {
    backend.putFromOtherProgram({{13, MemoryBlock{}}, {1, MemoryBlock{}}, {2, MemoryBlock{}}});
    EXPECT_EQ(clipboard.formatCount(), 3);
    EXPECT_EQ(clipboard.formatAt(0), 13);
    EXPECT_EQ(clipboard.formatAt(2), 2);
    EXPECT_EQ(clipboard.formatAt(3), 0);
}

}  // namespace
}  // namespace tessaro

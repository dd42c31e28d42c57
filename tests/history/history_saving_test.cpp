// SPDX-License-Identifier: GPL-3.0-or-later
// Saving the text history: the joined text for every option combination in both
// languages, the message for an empty result, the dialog, and the bytes of the file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "output/text_file_writer.h"
#include "platform/utf.h"
#include "support/app_fixture.h"

namespace tessaro {
namespace {

using testing::testBitmap;

class HistorySave : public testing::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        folder = std::filesystem::temp_directory_path() /
                 ("tessaro-history-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    // A text row "Hello" at 14:05:09, then a 640 x 480 image row at 14:06:10.
    void captureTextThenImage() {
        desktop.setNow({2026, 12, 9, 14, 5, 9, 0});
        copyText(u"Hello");
        desktop.setNow({2026, 12, 9, 14, 6, 10, 0});
        copy({{CF_BITMAP, testBitmap(640, 480)}});
    }
    void setOptions(bool texts, bool images, bool times) {
        Teinstverlauf& settings = app.historySettings();
        settings.cb_save_txt.setChecked(texts);
        settings.cb_save_img.setChecked(images);
        settings.cb_save_time.setChecked(times);
    }
    std::u16string target(const char* name) { return utf8ToUtf16((folder / name).string()); }
    static std::string bytes(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    std::filesystem::path folder;
};

TEST_F(HistorySave, EveryOptionCombinationInBothLanguages) {
    captureTextThenImage();
    struct Case {
        bool texts, images, times;
        std::u16string english, german;
    };
    const Case cases[] = {
        {true, false, false, u"Hello\r\n", u"Hello\r\n"},
        {false, true, false, u"Image 640 x 480\r\n\r\n", u"Bild 640 x 480\r\n\r\n"},
        {true, true, false, u"Hello\r\nImage 640 x 480\r\n\r\n",
         u"Hello\r\nBild 640 x 480\r\n\r\n"},
        {true, false, true, u"14:05:09\r\nHello\r\n", u"14:05:09\r\nHello\r\n"},
        {false, true, true, u"14:06:10\r\nImage 640 x 480\r\n\r\n",
         u"14:06:10\r\nBild 640 x 480\r\n\r\n"},
        {true, true, true, u"14:05:09\r\nHello\r\n14:06:10\r\nImage 640 x 480\r\n\r\n",
         u"14:05:09\r\nHello\r\n14:06:10\r\nBild 640 x 480\r\n\r\n"},
        {false, false, true, u"", u""},
        {false, false, false, u"", u""},
    };
    for (const Case& c : cases) {
        const HistorySaveOptions options{c.texts, c.images, c.times};
        EXPECT_EQ(JoinHistoryText(prog().zuletzt, options, false), c.english)
            << c.texts << c.images << c.times;
        EXPECT_EQ(JoinHistoryText(prog().zuletzt, options, true), c.german)
            << c.texts << c.images << c.times;
    }
}

TEST_F(HistorySave, CtrlSWritesTheFileWithTheDesignOptions) {
    captureTextThenImage();
    EXPECT_EQ(prog().saveverlauf.shortcut(), "Ctrl+S");
    desktop.setSaveFileChoice(target("history.txt"));
    prog().saveverlauf.click();
    ASSERT_EQ(desktop.saveRequests().size(), 1u);
    const SaveFileRequest& request = desktop.saveRequests()[0];
    EXPECT_EQ(request.fileName, u"Text");
    EXPECT_EQ(request.defaultExtension, u"txt");
    EXPECT_EQ(request.filter, u"Text (*.txt)|*.txt");
    EXPECT_FALSE(request.confirmOverwrite);
    EXPECT_TRUE(request.title.empty());
    EXPECT_EQ(bytes(folder / "history.txt"), "Hello\r\n");
    EXPECT_TRUE(desktop.messages().empty());
}

TEST_F(HistorySave, GermanWithAllOptionsOverwritesWithoutAsking) {
    captureTextThenImage();
    std::ofstream(folder / "old.txt") << "previous content that is longer";
    app.startWindow().spr.setCaption(u"de");
    setOptions(true, true, true);
    desktop.setSaveFileChoice(target("old.txt"));
    prog().saveverlaufClick();
    EXPECT_EQ(bytes(folder / "old.txt"), "14:05:09\r\nHello\r\n14:06:10\r\nBild 640 x 480\r\n\r\n");
}

TEST_F(HistorySave, MultiLineTextsKeepTheirBreaksAndTheFileFollowsTheSortedOrder) {
    copyText(u"zeta");
    copyText(u"Alpha\r\nline two\nthree");
    prog().zuletztColumnClick(2);
    desktop.setSaveFileChoice(target("sorted.txt"));
    prog().saveverlaufClick();
    EXPECT_EQ(bytes(folder / "sorted.txt"), "Alpha\r\nline two\nthree\r\nzeta\r\n");
}

TEST_F(HistorySave, NothingToSaveShowsTheMessageAndNoDialog) {
    prog().saveverlaufClick();
    copy({{CF_BITMAP, testBitmap(2, 2)}});
    prog().saveverlaufClick();
    app.startWindow().spr.setCaption(u"de");
    prog().saveverlaufClick();
    ASSERT_EQ(desktop.messages().size(), 3u);
    EXPECT_EQ(desktop.messages()[0].text,
              u"At the moment, there are no text elements in your history.");
    EXPECT_EQ(desktop.messages()[1].text, desktop.messages()[0].text);
    EXPECT_EQ(desktop.messages()[2].text,
              u"Momentan befinden sich keine Textelemente in Ihrem Verlauf.");
    EXPECT_EQ(desktop.messages()[2].title, u"Information");
    EXPECT_TRUE(desktop.saveRequests().empty());
}

TEST_F(HistorySave, CancelledDialogWritesNothing) {
    copyText(u"x");
    desktop.setSaveFileChoice(std::nullopt);
    prog().saveverlaufClick();
    desktop.setSaveFileChoice(u"");
    prog().saveverlaufClick();
    EXPECT_EQ(desktop.saveRequests().size(), 2u);
    EXPECT_TRUE(std::filesystem::is_empty(folder));
    EXPECT_TRUE(desktop.messages().empty());
}

TEST_F(HistorySave, TheAutomaticEncodingFollowsTheJoinedText) {
    copyText(u"Gr\u00fc\u00dfe");
    desktop.setSaveFileChoice(target("latin.txt"));
    prog().saveverlaufClick();
    EXPECT_EQ(bytes(folder / "latin.txt"),
              "Gr\xFC\xDF"
              "e\r\n")
        << "8-bit code page, no start bytes";
    copyText(u"5 \u20ac");
    copyText(u"\u4e2d");
    desktop.setSaveFileChoice(target("wide.txt"));
    prog().saveverlaufClick();
    EXPECT_EQ(bytes(folder / "wide.txt"),
              "\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F"
              "e\r\n5 \xE2\x82\xAC\r\n\xE4\xB8\xAD\r\n");
    app.outputSettings().rb_utf16le.click();
    desktop.setSaveFileChoice(target("utf16.txt"));
    prog().saveverlaufClick();
    EXPECT_EQ(bytes(folder / "utf16.txt").substr(0, 8), std::string("\xFF\xFEG\0r\0\xFC\0", 8))
        << "a chosen encoding is kept";
}

TEST_F(HistorySave, WriterErrorsAreToldInTheLanguageAndRefusedExtensionsWriteNothing) {
    copyText(u"x");
    desktop.setSaveFileChoice(target("no-such-folder/h.txt"));
    prog().saveverlaufClick();
    app.startWindow().spr.setCaption(u"de");
    prog().saveverlaufClick();
    ASSERT_EQ(desktop.messages().size(), 2u);
    EXPECT_EQ(desktop.messages()[0].kind, MessageKind::Error);
    const std::u16string path = target("no-such-folder/h.txt");
    EXPECT_NE(desktop.messages()[0].text.find(path), std::u16string::npos) << "the message names the file";
    EXPECT_EQ(desktop.messages()[1].text,
              u"Der Verlauf konnte nicht gespeichert werden.\r\n\r\n" + desktop.messages()[0].text);
    desktop.clearMessages();
    desktop.setSaveFileChoice(target("picture.jpg"));
    prog().saveverlaufClick();
    EXPECT_TRUE(std::filesystem::is_empty(folder));
    EXPECT_TRUE(desktop.messages().empty());
}

}  // namespace
}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// Saving captured text from the main window: the save fields, the folder picker, the
// output settings and the files that come out.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/utf.h"
#include "support/app_fixture.h"

namespace tessaro {
namespace {

class TextSave : public testing::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        folder = std::filesystem::temp_directory_path() /
                 ("tessaro-save-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::vector<std::filesystem::path> files() const {
        std::vector<std::filesystem::path> found;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) found.push_back(entry.path());
        std::sort(found.begin(), found.end());
        return found;
    }
    static std::string bytes(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    std::filesystem::path folder;
};

TEST_F(TextSave, FieldsStartAsDesignedAndTheFolderIsTheProgramFolder) {
    EXPECT_EQ(prog().savetxt_ordner.text(), u"/opt/tessaro/");
    EXPECT_EQ(prog().savetxt_name.text(), u"%firstchars% %num%");
    EXPECT_EQ(prog().savetxt_format.text(), u".txt");
    EXPECT_EQ(prog().savetxt_name.items().back(), u"Custom..");
    EXPECT_EQ(app.fileCounters().TextFileCounter, 0);
}

TEST_F(TextSave, ACapturedTextIsSavedWithTheAutomaticEncoding) {
    prog().savetxt_ordner.setText(utf8ToUtf16(folder.string()));
    prog().cb_savetxt.setChecked(true);
    copyText(u"plain words");
    copyText(u"Gr\u00fc\u00dfe 5 \u20ac");
    const auto saved = files();
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(saved[0].filename().string(), "Grüße 5 € 2.txt");
    EXPECT_EQ(bytes(saved[0]), "\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F" "e 5 \xE2\x82\xAC") << "UTF-8 with BOM beyond Latin-1";
    EXPECT_EQ(saved[1].filename().string(), "plain words 1.txt");
    EXPECT_EQ(bytes(saved[1]), "plain words") << "ANSI when every character fits";
}

TEST_F(TextSave, TheOutputSettingsChooseTheEncoding) {
    prog().savetxt_ordner.setText(utf8ToUtf16(folder.string()));
    prog().cb_savetxt.setChecked(true);
    app.outputSettings().rb_utf16le.click();
    copyText(u"ab");
    ASSERT_EQ(files().size(), 1u);
    EXPECT_EQ(bytes(files()[0]), std::string("\xFF\xFE" "a\0b\0", 6));
}

TEST_F(TextSave, EmptyFieldsAreReportedOncePerRunAndNothingIsWritten) {
    prog().savetxt_ordner.setText(u"");
    prog().savetxt_name.setText(u"");
    prog().cb_savetxt.setChecked(true);
    copyText(u"unsaved");
    ASSERT_EQ(desktop.messages().size(), 2u);
    EXPECT_EQ(desktop.messages()[0].text, u"The text could not be saved. You do not have specified a folder.");
    EXPECT_EQ(desktop.messages()[1].text, u"The text could not be saved. You do not have specified a file name.");
    EXPECT_EQ(rows(), 1u) << "the capture itself is not affected";
}

TEST_F(TextSave, CheckingTheSwitchOpensOnlyItsRow) {
    auto& p = prog();
    p.cb_savetxt.setChecked(true);
    EXPECT_TRUE(p.detailRows[2]->visible());
    p.cb_cutimg.setChecked(true);
    EXPECT_FALSE(p.detailRows[2]->visible());
    EXPECT_TRUE(p.detailRows[3]->visible());
    EXPECT_TRUE(p.cb_savetxt.checked());
    EXPECT_EQ(p.ScrollBox1.vertical().max, 6 * 22 + 100 + 5);
    p.cb_cutimg.setChecked(false);
    for (Panel* row : p.detailRows) EXPECT_FALSE(row->visible());
    EXPECT_EQ(p.ScrollBox1.vertical().max, 137);
    EXPECT_EQ(p.headerRows[5]->top(), 5 * 22);
}

TEST_F(TextSave, TheFolderPickerKeepsTheOldFolderWhenCancelled) {
    auto& p = prog();
    p.savetxt_ordner.setText(u"/old");
    desktop.setFolderChoice(std::nullopt);
    p.savetxt_ordnerwahl.click();
    EXPECT_EQ(p.savetxt_ordner.text(), u"/old");
    EXPECT_EQ(desktop.folderCaptions().back(), u"Select Folder");
    desktop.setFolderChoice(u"/home/user/Texte");
    p.savetxt_ordnerwahl.click();
    EXPECT_EQ(p.savetxt_ordner.text(), u"/home/user/Texte");
}

}  // namespace
}  // namespace tessaro

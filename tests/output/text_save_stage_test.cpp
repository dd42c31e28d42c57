// SPDX-License-Identifier: GPL-3.0-or-later
// The text-save stage end to end (field checks, naming, automatic encoding, writing), the
// encoding group of the output settings, and the input rules of the save fields.
#include "output/text_save_stage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "forms/form.h"
#include "oracle.h"
#include "output/output_settings_window.h"
#include "output/save_checks.h"
#include "output/save_field_rules.h"
#include "output/text_file_writer.h"
#include "platform/test_desktop.h"
#include "platform/utf.h"

namespace tessaro {
namespace {

using testing_output::readBytes;
using testing_output::TempDir;

class TextSaveStageTest : public ::testing::Test {
protected:
    TextSaveStageTest() {
        spr.setCaption(u"en");
        savetxt_ordner.setText(dir.folderText());
        savetxt_name.setItems(TextNameTemplates(false));
        savetxt_name.setItemIndex(0);
        savetxt_format.setItems(TextFormatEntries(false));
        savetxt_format.setItemIndex(0);
    }

    std::vector<std::u16string> messageTexts() const {
        std::vector<std::u16string> texts;
        for (const auto& message : desktop.messages()) {
            EXPECT_EQ(message.kind, MessageKind::Information);
            EXPECT_EQ(message.title, u"Information");
            texts.push_back(message.text);
        }
        return texts;
    }
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir dir;
    TestDesktop desktop;
    Form start{"Tstart"};
    Label& spr = start.add<Label>("spr");
    Form prog{"Tprog"};
    Edit& savetxt_ordner = prog.add<Edit>("savetxt_ordner");
    ComboBox& savetxt_name = prog.add<ComboBox>("savetxt_name");
    ComboBox& savetxt_format = prog.add<ComboBox>("savetxt_format");
    Teinstausgabe einstausgabe{spr};
    FileCounters counters;
    TextSaveStage stage{savetxt_ordner, savetxt_name, savetxt_format, einstausgabe,
                        desktop,        spr,          counters};
};

TEST_F(TextSaveStageTest, EveryEmptyFieldIsReportedInOrderAndNothingIsSaved) {
    savetxt_ordner.setText(u"");
    savetxt_name.setText(u"");
    savetxt_format.setText(u"");
    stage.save(u"text");
    EXPECT_EQ(messageTexts(),
              (std::vector<std::u16string>{
                  u"The text could not be saved. You do not have specified a folder.",
                  u"The text could not be saved. You do not have specified a file name.",
                  u"The text could not be saved. You do not have specified a file format.",
              }));
    desktop.clearMessages();
    spr.setCaption(u"de");
    savetxt_ordner.setText(dir.folderText());
    stage.save(u"text");
    EXPECT_EQ(
        messageTexts(),
        (std::vector<std::u16string>{
            u"Der Text konnte nicht gespeichert werden. Sie haben keinen Dateinamen angegeben.",
            u"Der Text konnte nicht gespeichert werden. Sie haben kein Dateiformat angegeben",
        }));
    EXPECT_TRUE(files().empty());
    EXPECT_EQ(counters.TextFileCounter, 0);
    // Nothing to save, nothing to report.
    desktop.clearMessages();
    stage.save(u"");
    EXPECT_TRUE(desktop.messages().empty());
}

TEST(SaveCheckMessages, ImageKindInOrderAndLanguage) {
    const auto english = SaveCheckMessages(SaveKind::Image, SaveFields{}, false);
    ASSERT_EQ(english.size(), 3u);
    EXPECT_EQ(english[0], u"The image could not be saved. You do not have specified a folder.");
    EXPECT_EQ(english[2],
              u"The image could not be saved. You do not have specified a file format.");
    EXPECT_EQ(
        SaveCheckMessages(SaveKind::Image, {u"/x", u"n", u""}, true),
        std::vector<std::u16string>{
            u"Das Bild konnte nicht gespeichert werden. Sie haben kein Dateiformat angegeben"});
    EXPECT_TRUE(SaveCheckMessages(SaveKind::Text, {u"/x", u"n", u"f"}, true).empty());
}

TEST_F(TextSaveStageTest, AutomaticChoiceSavesLatin1AsAnsiAndTheRestAsUtf8) {
    stage.save(u"  Gr\u00FC\u00DFe: \u00C4rger?  ");
    stage.save(u"Preis 5 \u20AC");
    EXPECT_EQ(files(), (std::vector<std::string>{"Grüße Ärger 1.txt", "Preis 5 € 2.txt"}));
    EXPECT_EQ(readBytes(dir.path() / "Grüße Ärger 1.txt"),
              "  Gr\xFC\xDF"
              "e: \xC4rger?  ");
    EXPECT_EQ(readBytes(dir.path() / "Preis 5 € 2.txt"), "\xEF\xBB\xBFPreis 5 \xE2\x82\xAC");
    // The automatic choice leaves its last value behind.
    EXPECT_EQ(einstausgabe.TextEncoding, kEncodingUtf8);
    EXPECT_TRUE(desktop.messages().empty());
}

TEST_F(TextSaveStageTest, ChosenEncodingIsUsedWhenTheAutomaticChoiceIsOff) {
    einstausgabe.rb_utf16le.click();
    savetxt_name.setText(u"fixed");
    savetxt_format.setText(u"log");
    stage.save(u"\u00E4");
    EXPECT_EQ(readBytes(dir.path() / "fixed.log"), std::string("\xFF\xFE\xE4\x00", 4));
    einstausgabe.rb_utf7.click();
    stage.save(u"A+B");
    EXPECT_EQ(readBytes(dir.path() / "fixed.log"), "+/v8-A+-B");
}

TEST_F(TextSaveStageTest, UnusableFolderOrRefusedFormatSavesNothingSilently) {
    savetxt_ordner.setText(u"relative/out");
    stage.save(u"text");
    savetxt_ordner.setText(u"C:\\Out");
    stage.save(u"text");
    savetxt_ordner.setText(dir.folderText());
    savetxt_format.setText(u"jpg");
    stage.save(u"text");
    EXPECT_TRUE(files().empty());
    EXPECT_TRUE(desktop.messages().empty());
}

TEST_F(TextSaveStageTest, PlaceholdersInTheFolderNameTheFolderThatIsCreated) {
    desktop.setNow(LocalTime{2026, 12, 10, 14, 5, 9, 0});
    savetxt_ordner.setText(dir.folderText() + u"Clips/%date%/at %time%");
    savetxt_name.setText(u"note %num%");
    stage.save(u"text");
    EXPECT_EQ(files(), std::vector<std::string>{"Clips"});
    const auto folder = dir.path() / "Clips" / "2026-12-10" / "at 14-05-09";
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "note 1.txt"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "Clips" / "%date%"));
    EXPECT_TRUE(desktop.messages().empty());
}

TEST_F(TextSaveStageTest, AFileThatCannotBeCreatedIsReportedToTheCaller) {
    savetxt_name.setText(u"sub/x");  // typed keys cannot add "/", pasted text can
    EXPECT_THROW(stage.save(u"text"), FileError);
}

// ---- The output settings window -----------------------------------------------------------

TEST(Teinstausgabe, DesignStateAndEncodingButtons) {
    Form start("Tstart");
    Label& spr = start.add<Label>("spr");
    spr.setCaption(u"en");
    Teinstausgabe window(spr);
    EXPECT_EQ(window.name(), "Teinstausgabe");
    EXPECT_EQ(window.clientWidth(), 347);
    EXPECT_EQ(window.clientHeight(), 533);
    EXPECT_TRUE(window.rb_beibehalten.checked());
    EXPECT_EQ(window.TextEncoding, kEncodingUtf8);
    const std::vector<std::pair<RadioButton*, std::int32_t>> buttons = {
        {&window.rb_ansi, 0},        {&window.rb_utf7, 65000},    {&window.rb_utf7ansi, 64999},
        {&window.rb_utf8, 65001},    {&window.rb_utf16le, 1200},  {&window.rb_utf_be, 1201},
        {&window.rb_utf32le, 65005}, {&window.rb_utf32be, 65006},
    };
    for (const auto& [button, code] : buttons) {
        button->click();
        EXPECT_EQ(window.TextEncoding, code) << button->name();
        EXPECT_FALSE(window.rb_beibehalten.checked());
    }
    window.rb_beibehalten.click();
    EXPECT_EQ(window.TextEncoding, kEncodingUtf8);
    // The nine buttons form one group, created in the order a configuration file holds
    // them (loading sets them in this order, so a later checked one wins).
    std::vector<std::string> names;
    for (RadioButton* button : window.controlsOf<RadioButton>()) names.push_back(button->name());
    EXPECT_EQ(names, (std::vector<std::string>{"rb_ansi", "rb_utf7", "rb_utf8", "rb_beibehalten",
                                               "rb_utf7ansi", "rb_utf16le", "rb_utf_be",
                                               "rb_utf32le", "rb_utf32be"}));
    // The automatic choice only acts while its button is checked.
    window.ChooseTextEncoding(u"\u00E4");
    EXPECT_EQ(window.TextEncoding, kEncodingAnsi);
    window.rb_utf32be.click();
    window.ChooseTextEncoding(u"\u00E4");
    EXPECT_EQ(window.TextEncoding, kEncodingUtf32Be);
}

TEST(Teinstausgabe, CaptionsInBothLanguages) {
    Form start("Tstart");
    Label& spr = start.add<Label>("spr");
    spr.setCaption(u"de");
    Teinstausgabe window(spr);
    window.rb_utf32le.click();
    window.Sprache();
    EXPECT_EQ(window.caption(), u"Einstellungen");
    EXPECT_EQ(window.GroupBox2.caption(), u"Kodierung von Textdateien");
    EXPECT_EQ(window.Label5.caption(),
              u"Die Textdateien werden in folgendem Format abgespeichert:");
    EXPECT_EQ(window.Label4.caption(),
              u"Informationen zu den Formaten erhalten Sie auf dieser Seite:");
    EXPECT_EQ(window.rb_utf7ansi.caption(), u"Unicode UTF-7 als ANSI gespeichert");
    EXPECT_EQ(window.rb_beibehalten.caption(),
              u"Falls kein Unicode als ANSI speichern, sonst UTF-8");
    spr.setCaption(u"en");
    window.Sprache();
    EXPECT_EQ(window.caption(), u"Settings");
    EXPECT_EQ(window.GroupBox2.caption(), u"Coding of Text Files");
    EXPECT_EQ(window.Label5.caption(), u"Text Files are saved in this File Format:");
    EXPECT_EQ(window.Label4.caption(), u"Information to the File Formats, you can get on:");
    EXPECT_EQ(window.rb_utf7ansi.caption(), u"Unicode UTF-7 saved as ANSI");
    EXPECT_EQ(window.rb_beibehalten.caption(),
              u"If no Unicode, save as ANSI, in other cases UTF-8");
    // Switching the language does not change the chosen encoding.
    EXPECT_TRUE(window.rb_utf32le.checked());
    EXPECT_EQ(window.TextEncoding, kEncodingUtf32Le);
}

// ---- Input rules of the save fields -------------------------------------------------------

std::u16string typed(const KeyPressHandler& filter, std::u16string_view keys) {
    std::u16string kept;
    for (char16_t key : keys) {
        filter(key);
        if (key != 0) kept.push_back(key);
    }
    return kept;
}

TEST(SaveFieldRules, KeyFilters) {
    const std::u16string all = u"a\\/:*?\"<>|b.%~";
    EXPECT_EQ(typed(FilterFileNameKey, all), u"ab.%~");
    EXPECT_EQ(typed(FilterFolderKey, all), u"a\\/:b.%~");
    EXPECT_EQ(typed(RefuseEveryKey, all), u"");
}

TEST(SaveFieldRules, CustomEntryEmptiesTheListAndExitRestoresTheFirstEntry) {
    Form prog("Tprog");
    Edit& ordner = prog.add<Edit>("savetxt_ordner");
    ComboBox& name = prog.add<ComboBox>("savetxt_name");
    ComboBox& format = prog.add<ComboBox>("savetxt_format");
    name.setItems(TextNameTemplates(true));
    format.setItems(TextFormatEntries(false));
    std::vector<std::string> focused;
    BindTextSaveFieldRules(ordner, name, format,
                           [&focused](Control& control) { focused.push_back(control.name()); });

    name.userSetText(u"Benutzerdefiniert..");
    EXPECT_EQ(name.text(), u"");
    EXPECT_EQ(name.itemIndex(), -1);
    // The other language's word counts as well.
    format.userSetText(u"Custom..");
    EXPECT_EQ(format.text(), u"");
    format.userSetText(u".htm");
    EXPECT_EQ(format.text(), u".htm");
    EXPECT_EQ(focused, (std::vector<std::string>{"savetxt_name", "savetxt_format"}));

    fire(name.onExit);
    EXPECT_EQ(name.text(), u"%firstchars% %num%");
    EXPECT_EQ(name.itemIndex(), 0);
    fire(format.onExit);
    EXPECT_EQ(format.text(), u".htm");  // not empty: kept

    char16_t key = u':';
    name.onKeyPress(key);
    EXPECT_EQ(key, 0);
    key = u':';
    ordner.onKeyPress(key);
    EXPECT_EQ(key, u':');
}

}  // namespace
}  // namespace tessaro

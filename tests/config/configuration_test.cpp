// SPDX-License-Identifier: GPL-3.0-or-later
// Whole configurations through the program: every setting of every window through a
// file and back, the order of a new file, the loading rules, reset, the configuration
// menu, Auto.tpf and the command line.
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "config/profile_file.h"
#include "forms/scroll_bar.h"
#include "output/oracle.h"
#include "platform/atomic_file.h"
#include "platform/utf.h"
#include "support/app_fixture.h"

namespace tessaro {
namespace {

using testing_output::fromUtf16LeBytes;
using testing_output::readBytes;
using testing_output::TempDir;
using Snapshot = std::map<std::string, std::string>;

std::string valueText(const Control& control) {
    switch (control.kind()) {
        case ControlKind::Edit: return utf16ToUtf8(static_cast<const Edit&>(control).text());
        case ControlKind::ComboBox: return utf16ToUtf8(static_cast<const ComboBox&>(control).text());
        case ControlKind::Memo: return utf16ToUtf8(static_cast<const Memo&>(control).text());
        case ControlKind::CheckBox: return static_cast<const CheckBox&>(control).checked() ? "on" : "off";
        case ControlKind::RadioButton: return static_cast<const RadioButton&>(control).checked() ? "on" : "off";
        case ControlKind::ScrollBar: return std::to_string(static_cast<const ScrollBar&>(control).position());
        case ControlKind::Panel: return control.visible() ? "shown" : "hidden";
        case ControlKind::ListView: {
            std::string rows;
            for (const ListItem& item : static_cast<const ListView&>(control).items()) {
                for (std::size_t c = 0; c < 3; ++c) rows += utf16ToUtf8(item.cell(c)) + "|";
                rows += "\n";
            }
            return rows;
        }
        default: return {};
    }
}

// Every stored value of the four windows that a configuration holds.
Snapshot snapshotOf(Application& app) {
    Snapshot values;
    for (Form* window : {static_cast<Form*>(&app.mainWindow()), static_cast<Form*>(&app.regexSettings()),
                         static_cast<Form*>(&app.outputSettings()), static_cast<Form*>(&app.historySettings())}) {
        for (const auto& control : window->controls()) {
            if (!control->stored()) continue;
            // Panels of the settings windows are group boxes, which hold no setting.
            if (control->kind() == ControlKind::Panel && window != &app.mainWindow()) continue;
            values[window->name() + "." + control->name()] = valueText(*control);
        }
    }
    Tprog& prog = app.mainWindow();
    for (const MenuItem* item : {&prog.m_konfig_autosave_nie, &prog.m_konfig_autosave_alles,
                                 &prog.MinimizetoTaskbar, &prog.m_einst_aktiv}) {
        values["menu." + item->name()] = item->checked() ? "on" : "off";
    }
    values["geometry"] = std::to_string(prog.left()) + "," + std::to_string(prog.top()) + " " +
                         std::to_string(prog.clientWidth()) + "x" + std::to_string(prog.clientHeight());
    return values;
}

// Changes every stored control away from its design value, with texts that test the
// file's protections: quotes, blanks at the ends, lone and paired line breaks, umlauts.
void changeEverything(Application& app) {
    int n = 0;
    for (Form* window : {static_cast<Form*>(&app.mainWindow()), static_cast<Form*>(&app.regexSettings()),
                         static_cast<Form*>(&app.outputSettings()), static_cast<Form*>(&app.historySettings())}) {
        for (std::size_t i = 0; i < window->controls().size(); ++i) {
            Control& control = *window->controls()[i];
            if (!control.stored()) continue;
            if (control.kind() == ControlKind::Panel && window != &app.mainWindow()) continue;
            const std::u16string odd = utf8ToUtf16(" '" + control.name() + "' ä\"") +
                                       (++n % 2 ? u"\nx\r" : u"\r\ny ");
            switch (control.kind()) {
                case ControlKind::Edit: static_cast<Edit&>(control).setText(odd); break;
                case ControlKind::ComboBox: static_cast<ComboBox&>(control).setText(odd); break;
                case ControlKind::Memo: static_cast<Memo&>(control).setText(u"line 1\r\n'line 2'\r\n" + odd); break;
                case ControlKind::CheckBox: static_cast<CheckBox&>(control).click(); break;
                case ControlKind::ScrollBar: static_cast<ScrollBar&>(control).setPosition(37); break;
                case ControlKind::Panel: control.setVisible(n % 3 != 0); break;
                case ControlKind::ListView: {
                    auto& list = static_cast<ListView&>(control);
                    list.append({u"'a'", {SharedText(u"b\r\nc"), SharedText(u" 1")}});
                    list.append({u"x\ny", {SharedText(u"\""), SharedText(u"")}});
                    break;
                }
                default: break;
            }
        }
    }
    // The last button of each group.
    app.mainWindow().rb_cutimg_direkt.click();
    app.outputSettings().rb_utf32be.click();
    Tprog& prog = app.mainWindow();
    prog.m_konfig_autosave_alles.click();
    prog.MinimizetoTaskbar.setChecked(true);
    prog.m_einst_aktiv.setChecked(false);
    prog.setClientSize(900, 700);
    prog.setPosition(33, 44);
    // As a load ends: every detail row collapsed.
    prog.cb_suchenersetzenClick(nullptr);
}

void writeUtf16(const std::filesystem::path& path, std::u16string_view text) {
    std::string bytes("\xFF\xFE", 2);
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    std::ofstream(path, std::ios::binary) << bytes;
}

// The names of the sections and keys of a file, in order: "[S]" and "key".
std::vector<std::string> layoutOf(const std::filesystem::path& path) {
    const std::u16string text = fromUtf16LeBytes(readBytes(path).substr(2));
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find(u"\r\n", start);
        const std::u16string line = text.substr(start, end - start);
        start = end == std::u16string::npos ? text.size() : end + 2;
        names.push_back(utf16ToUtf8(line.front() == u'[' ? line : line.substr(0, line.find(u'='))));
    }
    return names;
}

class ConfigurationTest : public testing::AppFixture {
protected:
    void SetUp() override {
        desktop.setProgramFolder(folder.path() / "");
        AppFixture::SetUp();
    }
    std::filesystem::path file(const char* name) const { return folder.path() / name; }
    Configuration& configuration() { return app.configuration(); }
    Teinstausgabe& outputSettings() { return app.outputSettings(); }
    Teinstverlauf& historySettings() { return app.historySettings(); }
    void startWindowGerman() {
        app.startWindow().spr.setCaption(u"de");
        prog().sprache();
        app.outputSettings().Sprache();
    }
    ConfigurationMenu& menu() { return prog().configurationMenu(); }
    std::vector<std::string> knownItems() {
        std::vector<std::string> items;
        for (const MenuItem* item : prog().m_konfig.items()) {
            if (item->name().size() > 9 && std::isdigit(static_cast<unsigned char>(item->name()[9]))) {
                items.push_back(item->name() + "=" + utf16ToUtf8(item->hint()));
            }
        }
        return items;
    }
    // A second program over the same folder, as after a restart.
    struct Restarted {
        TestDesktop desktop;
        MemoryClipboard clipboard;
        Application app{desktop, clipboard};
        Restarted(const std::filesystem::path& folder, std::vector<std::u16string> arguments = {}) {
            desktop.setProgramFolder(folder / "");
            desktop.setWorkingDirectory(folder);
            desktop.setArguments(std::move(arguments));
            app.createWindows();
            app.mainWindow().reveal();
        }
    };

    TempDir folder;
};

TEST_F(ConfigurationTest, EveryStoredSettingOfEveryWindowSurvivesAFileInBothLanguages) {
    for (const char16_t* language : {u"en", u"de"}) {
        Restarted before(folder.path());
        before.app.startWindow().spr.setCaption(language);
        before.app.mainWindow().sprache();
        changeEverything(before.app);
        const Snapshot saved = snapshotOf(before.app);
        const auto path = file("all.tpf");
        before.app.configuration().KonfigurationSpeichern(path);

        Restarted after(folder.path());
        after.app.startWindow().spr.setCaption(language);
        after.app.mainWindow().sprache();
        EXPECT_NE(snapshotOf(after.app), saved);
        after.app.configuration().KonfigurationLaden(LoadOrigin::UserCommand, path);
        const Snapshot loaded = snapshotOf(after.app);
        for (const auto& [name, value] : saved) {
            EXPECT_EQ(loaded.at(name), value) << name << " in " << utf16ToUtf8(language);
        }
        // Saving what was loaded rewrites the same bytes.
        const auto again = file("again.tpf");
        after.app.configuration().KonfigurationSpeichern(again);
        EXPECT_EQ(readBytes(path), readBytes(again));
    }
}

TEST_F(ConfigurationTest, ANewFileHoldsItsSectionsAndKeysInTheirFixedOrder) {
    // Transcribed by hand from the documented file layout.
    const std::vector<std::string> expected = {
        "[PBPA]", "Panel1", "Panel2", "Panel6", "Panel7", "Panel3", "Panel4", "Panel8", "Panel9", "pa001a",
        "pa006b", "pa_saveimg", "pa006a", "pa005b", "pa_resizeimg", "pa005a", "pa003b", "pa_savetxt",
        "pa003a", "pa002b", "pa_textadd", "pa002a", "pa001b", "pa_suchenersetzen", "pa004b", "pa_cutimg",
        "pa004a", "Panel5", "Panel10", "Panel11",
        "[PBCH]", "cb_history_txt", "cb_history_img", "cb_history_dblclick", "cb_suchenersetzen",
        "save_img_vorher", "save_img_nachher", "cb_saveimg", "act_resizeimg_prop", "cb_resizeimg",
        "cb_savetxt", "cb_textadd", "act_ers_text_suchen_regex", "act_ers_casesensitive",
        "act_ers_text_ersetzen_regex", "cb_se_mehrfach", "cb_cutimg",
        "[PBCB]", "saveimg_format", "saveimg_name", "act_sizebenutzer_x", "act_sizebenutzer_y",
        "savetxt_format", "savetxt_name", "act_zuschlinks", "act_zuschrechts", "act_zuschoben", "act_zuschunten",
        "[PBED]", "saveimg_ordner", "savetxt_ordner",
        "[PBME]", "act_textadd_vorne", "act_textadd_hinten", "act_ers_text_suchen", "act_ers_text_ersetzen",
        "[PBLV]", "act_ers_text_liste", "act_ers_text_liste-0-a", "act_ers_text_liste-0-b", "act_ers_text_liste-0-c",
        "[PBRB]", "rb_cutimg_auswahl", "rb_cutimg_direkt",
        "[RXCH]", "cb_caseinsensitive_i", "cb_multiline_m", "cb_singleline_s", "cb_greedymode_g",
        "cb_whitespacecomments_x",
        "[RXED]", "zk_word", "zk_space", "zk_lineseparators",
        "[EACB]", "out_quality", "act_sizemethode",
        "[EASB]", "ScrollBar1",
        "[EACH]", "progressivaktiv", "psdlayers", "act_sizehochquerformat", "act_sizekleiner", "act_sizebigger",
        "[EARB]", "rb_ansi", "rb_utf7", "rb_utf8", "rb_beibehalten", "rb_utf7ansi", "rb_utf16le", "rb_utf_be",
        "rb_utf32le", "rb_utf32be",
        "[EVCH]", "cb_save_txt", "cb_save_img", "cb_save_time", "cb_history_txt", "cb_history_img",
        "[SP]", "PF", "PB", "PH", "PT", "PL",
        "[AS]", "N", "A",
        "[CBM]", "MTT", "AKT",
    };
    prog().act_ers_text_liste.append({u"a", {SharedText(u"b"), SharedText(u"")}});
    const unsigned long long before = AtomicFile::commits();
    configuration().KonfigurationSpeichern(file("new.tpf"));
    EXPECT_EQ(AtomicFile::commits() - before, 1u) << "one rewrite per save";
    EXPECT_EQ(layoutOf(file("new.tpf")), expected);
}

TEST_F(ConfigurationTest, LoadingFollowsTheFileRules) {
    // Rows beyond the count stay in the file; loading reads only the counted rows.
    for (int i = 0; i < 5; ++i) prog().act_ers_text_liste.append({u"s" + utf8ToUtf16(std::to_string(i)), {}});
    configuration().KonfigurationSpeichern(file("t.tpf"));
    prog().act_ers_text_liste.remove({2, 3, 4});
    configuration().KonfigurationSpeichern(file("t.tpf"));
    const ProfileFile saved = ProfileFile::read(file("t.tpf"));
    EXPECT_EQ(saved.value(u"PBLV", u"act_ers_text_liste"), u"2");
    EXPECT_EQ(saved.value(u"PBLV", u"act_ers_text_liste-4-a"), u"s4");
    prog().act_ers_text_liste.clear();
    configuration().KonfigurationLaden(LoadOrigin::UserCommand, file("t.tpf"));
    EXPECT_EQ(prog().act_ers_text_liste.count(), 2u);

    // A switched-on action's detail row ends collapsed; window sizes beyond the screen
    // are ignored, the others taken; a file without output sections leaves them.
    desktop.setScreen({1920, 1080});
    prog().setClientSize(758, 608);
    outputSettings().rb_utf8.click();
    writeUtf16(file("odd.tpf"),
               u"[PBCH]\r\ncb_suchenersetzen=1\r\n[PBPA]\r\npa001b=1\r\n"
               u"[SP]\r\nPF=0\r\nPB=5000\r\nPH=500\r\nPT=10\r\nPL=0x14\r\n");
    configuration().KonfigurationLaden(LoadOrigin::UserCommand, file("odd.tpf"));
    EXPECT_TRUE(prog().cb_suchenersetzen.checked());
    EXPECT_FALSE(prog().pa001b.visible());
    EXPECT_EQ(prog().clientWidth(), 758);
    EXPECT_EQ(prog().clientHeight(), 500);
    EXPECT_EQ(prog().top(), 10);
    EXPECT_EQ(prog().left(), 20);
    EXPECT_TRUE(outputSettings().rb_utf8.checked());

    // Radio buttons are set in creation order: the last checked one wins, and a file that
    // unchecks the checked one leaves none checked.
    writeUtf16(file("radio.tpf"), u"[EARB]\r\nrb_utf8=1\r\nrb_utf16le=1\r\nrb_ansi=1\r\n");
    configuration().KonfigurationLaden(LoadOrigin::UserCommand, file("radio.tpf"));
    EXPECT_TRUE(outputSettings().rb_utf16le.checked());
    EXPECT_FALSE(outputSettings().rb_utf8.checked());
    EXPECT_FALSE(outputSettings().rb_ansi.checked());
    writeUtf16(file("none.tpf"), u"[EARB]\r\nrb_utf16le=0\r\n");
    configuration().KonfigurationLaden(LoadOrigin::UserCommand, file("none.tpf"));
    for (RadioButton* button : outputSettings().controlsOf<RadioButton>()) EXPECT_FALSE(button->checked());

    // Unreadable numbers and missing files change nothing.
    writeUtf16(file("bad.tpf"), u"[EASB]\r\nScrollBar1=ninety\r\n[PBCH]\r\ncb_textadd=x1\r\n");
    outputSettings().ScrollBar1.setPosition(42);
    configuration().KonfigurationLaden(LoadOrigin::UserCommand, file("bad.tpf"));
    configuration().KonfigurationLaden(LoadOrigin::UserCommand, file("missing.tpf"));
    EXPECT_EQ(outputSettings().ScrollBar1.position(), 42);
    EXPECT_FALSE(prog().cb_textadd.checked());
}

TEST_F(ConfigurationTest, LoadedSettingsTakeEffect) {
    // History switch off removes the image rows; the character sets reach the engines.
    copy({{CF_BITMAP, testing::testBitmap(4, 3)}});
    copyText(u"text");
    ASSERT_EQ(rows(), 2u);
    writeUtf16(file("s.tpf"), u"[PBCH]\r\ncb_history_img=0\r\n[RXED]\r\nzk_word=xyz\r\n");
    configuration().KonfigurationLaden(LoadOrigin::UserCommand, file("s.tpf"));
    EXPECT_EQ(rows(), 1u);
    EXPECT_FALSE(historySettings().cb_history_img.checked());
    EXPECT_EQ(app.regexSettings().options().WordSet, u"xyz");
}

TEST_F(ConfigurationTest, AMaximizedWindowIsMaximizedAtFirstActivationOrAtOnce) {
    writeUtf16(file("max.tpf"), u"[SP]\r\nPF=1\r\nPB=10\r\n");
    configuration().KonfigurationLaden(LoadOrigin::ProgramStart, file("max.tpf"));
    EXPECT_EQ(prog().tag(), 0);
    EXPECT_NE(prog().clientWidth(), 10);
    prog().FormActivate();
    EXPECT_EQ(prog().windowState(), WindowState::Maximized);
    EXPECT_EQ(prog().tag(), 1);

    prog().setPosition(50, 60);
    desktop.windowCommand(prog(), WindowCommand::Restore);
    configuration().KonfigurationLaden(LoadOrigin::UserCommand, file("max.tpf"));
    EXPECT_EQ(prog().windowState(), WindowState::Maximized);
    EXPECT_EQ(prog().left(), 0);
    EXPECT_EQ(prog().top(), 0);
}

TEST_F(ConfigurationTest, ResetSetsTheResetValuesWhichDifferFromTheStartValues) {
    startWindowGerman();
    // The start values, in German.
    EXPECT_EQ(prog().savetxt_name.text(), u"%firstchars% %num%");
    EXPECT_EQ(prog().saveimg_name.text(), u"Bild aus der Zwischenablage %num%");
    EXPECT_EQ(outputSettings().act_sizemethode.text(), u"Bikubisch");
    EXPECT_FALSE(prog().MinimizetoTaskbar.checked());
    changeEverything(app);
    outputSettings().psdlayers.setChecked(false);
    prog().m_konfig_standard.click();
    EXPECT_EQ(prog().savetxt_name.text(), u"Clipboard Text %num%");
    EXPECT_EQ(prog().saveimg_name.text(), u"Clipboard Image %num%");
    EXPECT_EQ(prog().saveimg_format.text(), u"*.jpg - JPEG-Image");
    EXPECT_EQ(outputSettings().act_sizemethode.text(), u"Bicubic");
    EXPECT_EQ(prog().savetxt_ordner.text(), folder.folderText());
    EXPECT_EQ(prog().act_zuschlinks.text(), u"0");
    EXPECT_EQ(prog().act_sizebenutzer_y.text(), u"480");
    EXPECT_TRUE(prog().MinimizetoTaskbar.checked());
    EXPECT_TRUE(desktop.commands().empty() || desktop.commands().back().command != WindowCommand::Hide);
    EXPECT_TRUE(prog().m_konfig_autosave_nie.checked());
    EXPECT_TRUE(prog().m_einst_aktiv.checked());
    EXPECT_FALSE(outputSettings().psdlayers.checked()) << "the PSD layer switch is kept";
    EXPECT_EQ(prog().act_ers_text_liste.count(), 0u);
    EXPECT_TRUE(outputSettings().rb_beibehalten.checked());
    EXPECT_EQ(outputSettings().ScrollBar1.position(), 90);
    EXPECT_EQ(app.regexSettings().zk_space.text(), u" $9$A$D$C");
    EXPECT_TRUE(historySettings().cb_save_txt.checked());
    EXPECT_FALSE(historySettings().cb_save_time.checked());
    for (Panel* panel : prog().controlsOf<Panel>()) {
        if (!panel->stored()) continue;
        const bool detail = panel->name().size() == 6 && panel->name().back() == 'b';
        EXPECT_EQ(panel->visible(), !detail) << panel->name();
    }
    for (CheckBox* action : {&prog().cb_suchenersetzen, &prog().cb_saveimg}) EXPECT_FALSE(action->checked());
}

TEST_F(ConfigurationTest, TheMenuKnowsEachFileOnceAndNamesItByItsPlace) {
    writeUtf16(file("Auto.tpf"), u"[PBCH]\r\ncb_textadd=1\r\n");
    writeUtf16(file("Other.tpf"), u"[PBCH]\r\ncb_savetxt=1\r\n");
    std::ofstream(file("notes.txt")) << "x";
    Restarted started(folder.path());
    Tprog& p = started.app.mainWindow();
    EXPECT_TRUE(p.cb_textadd.checked()) << "Auto.tpf is loaded at start";
    EXPECT_FALSE(p.cb_savetxt.checked());
    ASSERT_EQ(p.m_konfig.items().size(), 9u);
    EXPECT_EQ(p.m_konfig.items()[8]->name(), "m_konfig_8");
    EXPECT_EQ(p.m_konfig.items()[8]->hint(), utf8ToUtf16(file("Other.tpf").string()));
    EXPECT_EQ(p.m_konfig.items()[8]->caption(), p.m_konfig.items()[8]->hint());
    EXPECT_EQ(p.m_konfig_start.hint(), utf8ToUtf16(file("Auto.tpf").string()));

    // Saving twice under one name, and loading it, add one item.
    started.desktop.setSaveFileChoice(utf8ToUtf16(file("Mine.tpf").string()));
    p.m_konfig_save.click();
    p.m_konfig_save.click();
    started.desktop.setOpenFileChoice(utf8ToUtf16(file("Mine.tpf").string()));
    p.m_konfig_load.click();
    ASSERT_EQ(p.m_konfig.items().size(), 10u);
    EXPECT_EQ(p.m_konfig.items()[9]->name(), "m_konfig_9");
    EXPECT_EQ(started.desktop.saveRequests().back().fileName, u"Configuration.tpf");
    EXPECT_EQ(started.desktop.saveRequests().back().filter, u"Tessaro Configuration|*.tpf");
    EXPECT_FALSE(started.desktop.saveRequests().back().confirmOverwrite);
    // A cancelled dialog does nothing; a known item loads its file, and a deleted one nothing.
    started.desktop.setSaveFileChoice(std::nullopt);
    p.m_konfig_save.click();
    EXPECT_EQ(p.m_konfig.items().size(), 10u);
    p.m_konfig.items()[8]->click();
    EXPECT_TRUE(p.cb_savetxt.checked());
    std::filesystem::remove(file("Other.tpf"));
    p.cb_savetxt.setChecked(false);
    p.m_konfig.items()[8]->click();
    EXPECT_FALSE(p.cb_savetxt.checked());
    EXPECT_TRUE(started.desktop.messages().empty());

    // A long path in a narrow window: leading folders give way to ".../".
    p.setClientSize(40, 300);
    const std::string deep = (folder.path() / "a" / "b").string();
    std::filesystem::create_directories(deep);
    p.configurationMenu().KonfigurationAddMenu(utf8ToUtf16(deep + "/Long.tpf"));
    EXPECT_EQ(p.m_konfig.items().back()->caption().substr(0, 5), u"/.../");
}

TEST_F(ConfigurationTest, TheCommandLineWinsOverAutoTpfOnlyWithTheExactExtension) {
    writeUtf16(file("Auto.tpf"), u"[PBCH]\r\ncb_textadd=1\r\n");
    std::filesystem::create_directories(folder.path() / "sub");
    writeUtf16(folder.path() / "sub" / "Cli.tpf", u"[PBCH]\r\ncb_savetxt=1\r\n");
    {
        Restarted started(folder.path(), {u"sub/Cli.tpf", u"--other"});
        EXPECT_TRUE(started.app.mainWindow().cb_savetxt.checked());
        EXPECT_FALSE(started.app.mainWindow().cb_textadd.checked()) << "Auto.tpf is not loaded";
        EXPECT_EQ(started.app.mainWindow().m_konfig.items().back()->hint(),
                  utf8ToUtf16((folder.path() / "sub/Cli.tpf").string()));
    }
    std::filesystem::copy_file(folder.path() / "sub" / "Cli.tpf", folder.path() / "sub" / "Big.TPF");
    Restarted started(folder.path(), {u"sub/Big.TPF"});
    EXPECT_FALSE(started.app.mainWindow().cb_savetxt.checked());
    EXPECT_TRUE(started.app.mainWindow().cb_textadd.checked());
}

TEST_F(ConfigurationTest, SaveOnExitKeepsSavingAndAFailedSaveKeepsTheWindowOpen) {
    EXPECT_TRUE(prog().FormCloseQuery()) << "with Never nothing is saved";
    EXPECT_FALSE(std::filesystem::exists(file("Auto.tpf")));
    prog().m_konfig_autosave_alles.click();
    EXPECT_FALSE(prog().m_konfig_autosave_nie.checked());
    prog().cb_textadd.click();
    EXPECT_TRUE(prog().FormCloseQuery());
    const ProfileFile saved = ProfileFile::read(file("Auto.tpf"));
    EXPECT_EQ(saved.value(u"AS", u"A"), u"1");
    EXPECT_EQ(saved.value(u"AS", u"N"), u"0");
    {
        Restarted next(folder.path());
        EXPECT_TRUE(next.app.mainWindow().m_konfig_autosave_alles.checked());
        EXPECT_TRUE(next.app.mainWindow().cb_textadd.checked());
    }
    // A folder where Auto.tpf should be: the save fails, says so, and the window stays.
    std::filesystem::remove(file("Auto.tpf"));
    std::filesystem::create_directory(file("Auto.tpf"));
    EXPECT_FALSE(prog().FormCloseQuery());
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_EQ(utf16ToUtf8(desktop.messages()[0].text),
              "Cannot create file \"" + file("Auto.tpf").string() + "\". Is a directory");
    // In German a line of its own comes first; the file's words name the path as before.
    app.startWindow().spr.setCaption(u"de");
    EXPECT_FALSE(prog().FormCloseQuery());
    ASSERT_EQ(desktop.messages().size(), 2u);
    EXPECT_EQ(utf16ToUtf8(desktop.messages()[1].text),
              "Die Konfiguration konnte nicht gespeichert werden.\r\n\r\nCannot create file \"" +
                  file("Auto.tpf").string() + "\". Is a directory");
    app.startWindow().spr.setCaption(u"en");
    // ... and such a start configuration, or garbage, never stops a start.
    {
        Restarted next(folder.path());
        EXPECT_TRUE(next.app.mainWindow().visible());
    }
    std::filesystem::remove(file("Auto.tpf"));
    std::ofstream(file("Auto.tpf"), std::ios::binary) << std::string("\xFF\xFE[\0P\0\x00\xD8=\0\n", 12)
                                                      << std::string(5000, '\x80');
    Restarted next(folder.path());
    EXPECT_TRUE(next.app.mainWindow().visible());
    EXPECT_TRUE(next.desktop.messages().empty());
}

TEST_F(ConfigurationTest, TheStartConfigurationItemSaysWhenThereIsNone) {
    prog().m_konfig_start.click();
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_EQ(desktop.messages()[0].kind, MessageKind::Plain);
    EXPECT_EQ(desktop.messages()[0].text, u"There is no Start Configuration available in the application folder.");
    prog().m_konfig_save_start.click();
    prog().cb_textadd.click();
    prog().m_konfig_start.click();
    EXPECT_FALSE(prog().cb_textadd.checked());
    EXPECT_EQ(desktop.messages().size(), 1u);
}

}  // namespace
}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/configuration_defaults.h"

#include <array>
#include <span>
#include <string_view>

#include "forms/buttons.h"
#include "forms/containers.h"
#include "forms/list_view.h"
#include "forms/scroll_bar.h"
#include "forms/text_controls.h"

namespace tessaro {
namespace {

struct Switch {
    std::string_view name;
    bool on;
};

struct Text {
    std::string_view name;
    std::u16string_view text;
};

// The reset values are the English design values, whatever the interface language.
constexpr std::array kMainSwitches = {
    Switch{"cb_history_txt", true},        Switch{"cb_history_img", true},
    Switch{"cb_history_dblclick", true},   Switch{"cb_suchenersetzen", false},
    Switch{"cb_textadd", false},           Switch{"cb_savetxt", false},
    Switch{"cb_cutimg", false},            Switch{"cb_resizeimg", false},
    Switch{"cb_saveimg", false},           Switch{"act_ers_text_suchen_regex", false},
    Switch{"act_ers_text_ersetzen_regex", false}, Switch{"cb_se_mehrfach", false},
    Switch{"act_ers_casesensitive", true}, Switch{"rb_cutimg_auswahl", true},
    Switch{"rb_cutimg_direkt", false},     Switch{"act_resizeimg_prop", true},
    Switch{"save_img_vorher", false},      Switch{"save_img_nachher", true},
};

constexpr std::array kMainTexts = {
    Text{"act_ers_text_suchen", u""},
    Text{"act_ers_text_ersetzen", u""},
    Text{"act_textadd_vorne", u""},
    Text{"act_textadd_hinten", u""},
    Text{"savetxt_name", u"Clipboard Text %num%"},
    Text{"savetxt_format", u".txt"},
    Text{"act_zuschlinks", u"0"},
    Text{"act_zuschrechts", u"0"},
    Text{"act_zuschoben", u"0"},
    Text{"act_zuschunten", u"0"},
    Text{"act_sizebenutzer_x", u"640"},
    Text{"act_sizebenutzer_y", u"480"},
    Text{"saveimg_name", u"Clipboard Image %num%"},
    Text{"saveimg_format", u"*.jpg - JPEG-Image"},
};

constexpr std::array kRegexSwitches = {
    Switch{"cb_caseinsensitive_i", false}, Switch{"cb_multiline_m", false},
    Switch{"cb_singleline_s", true},       Switch{"cb_greedymode_g", true},
    Switch{"cb_whitespacecomments_x", false},
};

constexpr std::array kRegexTexts = {
    Text{"zk_word", u"0123456789aäbcdefghijklmnoöpqrsßtuüvwxyzAÄBCDEFGHIJKLMNOÖPQRSTUÜVWXYZ_"},
    Text{"zk_space", u" $9$A$D$C"},
    Text{"zk_lineseparators", u"$d$a$b$c$85$2028$2029"},
};

// The encoding buttons: checking "keep" unchecks the others of its group.
constexpr std::array kOutputSwitches = {
    Switch{"progressivaktiv", true},       Switch{"rb_beibehalten", true},
    Switch{"act_sizehochquerformat", true}, Switch{"act_sizekleiner", true},
    Switch{"act_sizebigger", true},
};

constexpr std::array kOutputTexts = {
    Text{"out_quality", u"90"},
    Text{"act_sizemethode", u"Bicubic"},
};

constexpr std::array kHistorySwitches = {
    Switch{"cb_history_txt", true}, Switch{"cb_history_img", true}, Switch{"cb_save_txt", true},
    Switch{"cb_save_img", false},   Switch{"cb_save_time", false},
};

constexpr std::array<std::string_view, 6> kDetailRows = {"pa001b", "pa002b", "pa003b",
                                                          "pa004b", "pa005b", "pa006b"};

void setSwitches(Form& form, std::span<const Switch> switches) {
    for (const Switch& entry : switches) {
        Control* control = form.find(entry.name);
        if (auto* box = dynamic_cast<CheckBox*>(control)) box->setChecked(entry.on);
        if (auto* radio = dynamic_cast<RadioButton*>(control)) radio->setChecked(entry.on);
    }
}

void setText(Form& form, std::string_view name, std::u16string_view text) {
    Control* control = form.find(name);
    if (auto* edit = dynamic_cast<Edit*>(control)) edit->setText(std::u16string(text));
    if (auto* combo = dynamic_cast<ComboBox*>(control)) combo->setText(std::u16string(text));
    if (auto* memo = dynamic_cast<Memo*>(control)) memo->setText(std::u16string(text));
}

void setTexts(Form& form, std::span<const Text> texts) {
    for (const Text& entry : texts) setText(form, entry.name, entry.text);
}

}  // namespace

void ResetConfiguration(Configuration& configuration, const std::u16string& saveFolder) {
    const ConfigurationWindows& windows = configuration.windows();
    setSwitches(windows.main, kMainSwitches);
    setTexts(windows.main, kMainTexts);
    setText(windows.main, "savetxt_ordner", saveFolder);
    setText(windows.main, "saveimg_ordner", saveFolder);
    if (auto* table = dynamic_cast<ListView*>(windows.main.find("act_ers_text_liste"))) table->clear();
    for (Panel* panel : windows.main.controlsOf<Panel>()) {
        if (panel->stored()) panel->setVisible(true);
    }
    for (std::string_view row : kDetailRows) {
        if (Control* panel = windows.main.find(row)) panel->setVisible(false);
    }
    setSwitches(windows.regex, kRegexSwitches);
    setTexts(windows.regex, kRegexTexts);
    setSwitches(windows.output, kOutputSwitches);
    setTexts(windows.output, kOutputTexts);
    if (auto* bar = dynamic_cast<ScrollBar*>(windows.output.find("ScrollBar1"))) bar->setPosition(90);
    setSwitches(windows.history, kHistorySwitches);

    const ConfigurationSwitches& switches = configuration.switches();
    switches.autosaveNever.setChecked(true);
    switches.autosaveAll.setChecked(false);
    switches.minimizeToTray.setChecked(true);  // set directly: the window is not hidden
    switches.captureActive.setChecked(true);
    configuration.runAfterLoad();
}

}  // namespace tessaro

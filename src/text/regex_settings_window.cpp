// SPDX-License-Identifier: GPL-3.0-or-later
// The regular-expression settings dialog: its controls, their texts in both languages, and
// the handlers that move the boxes and fields into the option record.
#include "text/regex_settings_window.h"

#include <array>

#include "language/interface_texts.h"

namespace tessaro {
namespace {

// The captions of the window in German and English, by component name.
constexpr std::array kRegexSettingsCaptions = {
    CaptionText{"GroupBox1", u"Modifikatoren", u"Modifiers"},
    CaptionText{"Label6", u"Folgende Modifikatoren werden angewendet:",
                u"The following modifiers are used:"},
    CaptionText{"cb_caseinsensitive_i", u"Modifikator i: Case-Insensitive",
                u"Modifier i: Case-Insensitive"},
    CaptionText{"cb_multiline_m", u"Modifikator m: Multi Line", u"Modifier m: Multi Line"},
    CaptionText{"cb_singleline_s", u"Modifikator s: Single Line", u"Modifier s: Single Line"},
    CaptionText{"cb_greedymode_g", u"Modifikator g: Greedy Mode", u"Modifier g: Greedy Mode"},
    CaptionText{"cb_whitespacecomments_x", u"Modifiktaor x: Extended Syntax",
                u"Modifier x: Extended Syntax"},
    CaptionText{"Label8", u"Beispiele um Modifikatoren direkt im regulären Ausdruck zu ändern:",
                u"Examples to use modifiers within regular expressions:"},
    CaptionText{"Label13", u"Informationen und Erklärungen zu den Modifikatoren auf:",
                u"Information and explanations regarding modifiers:"},
    CaptionText{"GroupBox2", u"Zeichenklassen", u"Character Classes"},
    CaptionText{"Label5", u"Folgende Zeichen werden für die Zeichenklassen verwendet:",
                u"The following characters are used for character classes:"},
    CaptionText{"Label4", u"Informationen und Hilfe zur Benutzung von regulären Ausdrücken:",
                u"Information and help regarding the usage of regular expressions:"},
    CaptionText{"Button2", u"Übernehmen", u"Assume"},
    CaptionText{"Label7", u"Hilfe zu regulären Ausdrücken öffnen (regex-help.html)",
                u"Open the regular-expression help (regex-help.html)"},
    CaptionText{"Label2", u"Hilfe zu regulären Ausdrücken öffnen (regex-help.html)",
                u"Open the regular-expression help (regex-help.html)"},
};

}  // namespace

Teinstregex::Teinstregex(const Label& spr)
    : LanguageWindow("Teinstregex", spr, u"Einstellungen für Reguläre Ausdrücke",
                     u"Regular Expression Settings"),
      GroupBox1(add<Panel>("GroupBox1")),
      Label6(add<Label>("Label6")),
      cb_caseinsensitive_i(add<CheckBox>("cb_caseinsensitive_i", false)),
      cb_multiline_m(add<CheckBox>("cb_multiline_m", false)),
      cb_singleline_s(add<CheckBox>("cb_singleline_s", true)),
      cb_greedymode_g(add<CheckBox>("cb_greedymode_g", true)),
      cb_whitespacecomments_x(add<CheckBox>("cb_whitespacecomments_x", false)),
      Label8(add<Label>("Label8")),
      Label9(add<Label>("Label9")),
      Label10(add<Label>("Label10")),
      Label11(add<Label>("Label11")),
      Label12(add<Label>("Label12")),
      Label13(add<Label>("Label13")),
      Label7(add<Label>("Label7")),
      GroupBox2(add<Panel>("GroupBox2")),
      Label5(add<Label>("Label5")),
      Label1(add<Label>("Label1")),
      zk_word(add<Edit>("zk_word")),
      Label3(add<Label>("Label3")),
      zk_space(add<Edit>("zk_space")),
      Label14(add<Label>("Label14")),
      zk_lineseparators(add<Edit>("zk_lineseparators")),
      Label4(add<Label>("Label4")),
      Label2(add<Label>("Label2")),
      Button1(add<Button>("Button1")),
      Button2(add<Button>("Button2")),
      Button3(add<Button>("Button3")) {
    setClientSize(kDesignWidth, kDesignHeight);
    zk_word.setText(std::u16string(kDefaultWordField));
    zk_space.setText(std::u16string(kDefaultSpaceField));
    zk_lineseparators.setText(std::u16string(kDefaultLineSeparatorsField));
    Label9.setCaption(u"(?i)[a-z]");
    Label10.setCaption(u"(?ms-g)^.+$");
    Label11.setCaption(u"[a-z]\\s(?-i)[a-z]");
    Label12.setCaption(u"((?i)[a-z])\\s[a-z]");
    Label1.setCaption(u"Word \\w:");
    Label3.setCaption(u"Space \\s:");
    Label14.setCaption(u"LineSeparators:");
    Button1.setCaption(u"OK");
    Button3.setCaption(u"Standard");

    cb_caseinsensitive_i.onClick = [this] { cb_caseinsensitive_iClick(); };
    cb_multiline_m.onClick = [this] { cb_multiline_mClick(); };
    cb_singleline_s.onClick = [this] { cb_singleline_sClick(); };
    cb_greedymode_g.onClick = [this] { cb_greedymode_gClick(); };
    cb_whitespacecomments_x.onClick = [this] { cb_whitespacecomments_xClick(); };
    Button1.onClick = [this] { Button1Click(); };
    Button2.onClick = [this] { Button2Click(); };
    Button3.onClick = [this] { Button3Click(); };
    auto help = [this] {
        if (openLink) openLink(kHelpAddress);
    };
    Label7.onClick = help;
    Label2.onClick = help;
}

void Teinstregex::Sprache() {
    LanguageWindow::Sprache();
    applyCaptions(*this, kRegexSettingsCaptions, german());
}

void Teinstregex::Button2Click() {
    // An invalid space field changes nothing at all.
    StringUserToComp(zk_space.text());
    m_options.i = cb_caseinsensitive_i.checked();
    m_options.m = cb_multiline_m.checked();
    m_options.s = cb_singleline_s.checked();
    m_options.g = cb_greedymode_g.checked();
    m_options.x = cb_whitespacecomments_x.checked();
    m_options.WordSet = StringUserToComp(zk_word.text());
    m_options.SpaceSet = StringUserToComp(zk_space.text());
    m_options.LineSeparatorSet = StringUserToComp(zk_lineseparators.text());
}

void Teinstregex::Button1Click() {
    Button2Click();
    if (closeWindow) closeWindow();
}

void Teinstregex::Button3Click() {
    cb_caseinsensitive_i.setChecked(false);
    cb_multiline_m.setChecked(false);
    cb_singleline_s.setChecked(true);
    cb_greedymode_g.setChecked(true);
    cb_whitespacecomments_x.setChecked(false);
    zk_word.setText(std::u16string(kDefaultWordField));
    zk_space.setText(std::u16string(kDefaultSpaceField));
    zk_lineseparators.setText(std::u16string(kDefaultLineSeparatorsField));
}

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// The regular-expression settings dialog: boxes act at once, fields only on OK or apply,
// a failing field stops applying where it stands, defaults, and the texts of both languages.
#include "text/regex_settings_window.h"

#include <gtest/gtest.h>

#include "forms/form.h"

namespace tessaro {
namespace {

class RegexSettingsWindow : public ::testing::Test {
protected:
    RegexSettingsWindow() : m_start("Tstart"), m_spr(m_start.add<Label>("spr")) {
        m_spr.setCaption(u"de");
        m_dialog = std::make_unique<Teinstregex>(m_spr);
        m_dialog->closeWindow = [this] { ++m_closed; };
        m_dialog->FormCreate();
    }

    std::string applyError(void (Teinstregex::*handler)()) {
        try {
            (m_dialog.get()->*handler)();
        } catch (const ConversionError& error) {
            return error.what();
        }
        return "none";
    }

    Form m_start;
    Label& m_spr;
    std::unique_ptr<Teinstregex> m_dialog;
    int m_closed = 0;
};

TEST_F(RegexSettingsWindow, StartsWithTheDefaultOptions) {
    // The documented defaults, written out here rather than taken from the code.
    const RegexOptions& options = m_dialog->options();
    EXPECT_FALSE(options.i);
    EXPECT_TRUE(options.s);
    EXPECT_TRUE(options.g);
    EXPECT_FALSE(options.m);
    EXPECT_FALSE(options.x);
    EXPECT_TRUE(options.r);
    EXPECT_EQ(options.WordSet, u"0123456789aäbcdefghijklmnoöpqrsßtuüvwxyzAÄBCDEFGHIJKLMNOÖPQRSTUÜVWXYZ_");
    EXPECT_EQ(options.SpaceSet, u" \t\n\r\f");
    EXPECT_EQ(options.LineSeparatorSet, u"\r\n\v\f\u0085\u2028\u2029");
    EXPECT_EQ(m_dialog->zk_word.text(), options.WordSet);
    EXPECT_EQ(m_dialog->zk_space.text(), u" $9$A$D$C");
    EXPECT_EQ(m_dialog->zk_lineseparators.text(), u"$d$a$b$c$85$2028$2029");
    for (CheckBox* box : {&m_dialog->cb_caseinsensitive_i, &m_dialog->cb_multiline_m,
                          &m_dialog->cb_whitespacecomments_x}) {
        EXPECT_FALSE(box->checked()) << box->name();
    }
    EXPECT_TRUE(m_dialog->cb_singleline_s.checked());
    EXPECT_TRUE(m_dialog->cb_greedymode_g.checked());
    EXPECT_EQ(m_dialog->clientWidth(), 404);
    EXPECT_EQ(m_dialog->clientHeight(), 504);
}

TEST_F(RegexSettingsWindow, BoxesActAtOnceFieldsOnlyOnApply) {
    m_dialog->cb_singleline_s.click();
    EXPECT_FALSE(m_dialog->options().s);
    m_dialog->cb_caseinsensitive_i.setChecked(true);  // from code, as loading does
    EXPECT_TRUE(m_dialog->options().i);
    m_dialog->cb_whitespacecomments_x.click();
    EXPECT_TRUE(m_dialog->options().x);

    m_dialog->zk_space.setText(u"$9");
    EXPECT_EQ(m_dialog->options().SpaceSet, RegexOptions{}.SpaceSet);
    m_dialog->Button2.click();
    EXPECT_EQ(m_dialog->options().SpaceSet, u"\t");
    EXPECT_EQ(m_closed, 0);
    m_dialog->zk_word.setText(u"ab");
    m_dialog->Button1.click();
    EXPECT_EQ(m_dialog->options().WordSet, u"ab");
    EXPECT_EQ(m_closed, 1);
}

TEST_F(RegexSettingsWindow, InvalidSpaceFieldChangesNothingAndKeepsTheDialogOpen) {
    m_dialog->zk_word.setText(u"xy");
    m_dialog->zk_space.setText(u"$ 9");
    EXPECT_EQ(applyError(&Teinstregex::Button1Click), "'$ 9' is not a valid integer value");
    EXPECT_EQ(m_dialog->options().WordSet, RegexOptions{}.WordSet);
    EXPECT_EQ(m_closed, 0);
}

TEST_F(RegexSettingsWindow, InvalidLineSeparatorsStoreWhatCameBefore) {
    m_dialog->zk_word.setText(u"xy");
    m_dialog->zk_space.setText(u"$20");
    m_dialog->zk_lineseparators.setText(u"$a$4g");
    EXPECT_EQ(applyError(&Teinstregex::Button1Click), "'$4g' is not a valid integer value");
    EXPECT_EQ(m_dialog->options().WordSet, u"xy");
    EXPECT_EQ(m_dialog->options().SpaceSet, u" ");
    EXPECT_EQ(m_dialog->options().LineSeparatorSet, RegexOptions{}.LineSeparatorSet);
    EXPECT_EQ(m_closed, 0);
}

TEST_F(RegexSettingsWindow, StandardRestoresBoxesAtOnceAndFieldsForTheNextApply) {
    m_dialog->cb_greedymode_g.click();
    m_dialog->cb_multiline_m.click();
    m_dialog->zk_word.setText(u"q");
    m_dialog->Button2Click();
    m_dialog->Button3.click();
    EXPECT_TRUE(m_dialog->options().g);
    EXPECT_FALSE(m_dialog->options().m);
    EXPECT_TRUE(m_dialog->cb_singleline_s.checked());
    EXPECT_EQ(m_dialog->zk_word.text(), std::u16string(kDefaultWordField));
    EXPECT_EQ(m_dialog->options().WordSet, u"q");  // until the next OK or apply
    m_dialog->Button2Click();
    EXPECT_EQ(m_dialog->options().WordSet, RegexOptions{}.WordSet);
}

TEST_F(RegexSettingsWindow, TextsOfBothLanguages) {
    EXPECT_EQ(m_dialog->caption(), u"Einstellungen für Reguläre Ausdrücke");
    EXPECT_EQ(m_dialog->Button2.caption(), u"Übernehmen");
    EXPECT_EQ(m_dialog->cb_whitespacecomments_x.caption(), u"Modifiktaor x: Extended Syntax");
    EXPECT_EQ(m_dialog->GroupBox2.caption(), u"Zeichenklassen");
    EXPECT_EQ(m_dialog->Label10.caption(), u"(?ms-g)^.+$");
    m_spr.setCaption(u"en");
    m_dialog->Sprache();
    EXPECT_EQ(m_dialog->caption(), u"Regular Expression Settings");
    EXPECT_EQ(m_dialog->Button2.caption(), u"Assume");
    EXPECT_EQ(m_dialog->cb_whitespacecomments_x.caption(), u"Modifier x: Extended Syntax");
    EXPECT_EQ(m_dialog->Label6.caption(), u"The following modifiers are used:");
    EXPECT_EQ(m_dialog->Label1.caption(), u"Word \\w:");
    EXPECT_EQ(m_dialog->Button3.caption(), u"Standard");
}

TEST_F(RegexSettingsWindow, HelpLabelsOpenTheHelpPage) {
    std::u16string opened;
    m_dialog->openLink = [&opened](std::u16string_view address) { opened = address; };
    m_dialog->Label7.onClick();
    EXPECT_EQ(opened, Teinstregex::kHelpAddress);
    opened.clear();
    m_dialog->Label2.onClick();
    EXPECT_EQ(opened, Teinstregex::kHelpAddress);
}

}  // namespace
}  // namespace tessaro

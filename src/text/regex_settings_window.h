// SPDX-License-Identifier: GPL-3.0-or-later
// The regular-expression settings: the engine's start options and character classes.
// The five modifier boxes act at once; the three character-set fields act on OK or apply.
#pragma once

#include <functional>
#include <string_view>

#include "forms/buttons.h"
#include "forms/containers.h"
#include "text/regex_options.h"
#include "language/language_window.h"

namespace tessaro {

class Teinstregex final : public LanguageWindow {
public:
    static constexpr int kDesignWidth = 404;
    static constexpr int kDesignHeight = 504;
    // Where the two help labels lead: the help page installed beside the program.
    static constexpr std::u16string_view kHelpAddress = u"regex-help.html";

    explicit Teinstregex(const Label& spr);

    // The one option record of the program; every new engine starts from it.
    const RegexOptions& options() const { return m_options; }

    Panel& GroupBox1;
    Label& Label6;
    CheckBox& cb_caseinsensitive_i;
    CheckBox& cb_multiline_m;
    CheckBox& cb_singleline_s;
    CheckBox& cb_greedymode_g;
    CheckBox& cb_whitespacecomments_x;
    Label& Label8;
    Label& Label9;  // the four examples, in a fixed-pitch font
    Label& Label10;
    Label& Label11;
    Label& Label12;
    Label& Label13;
    Label& Label7;  // help link
    Panel& GroupBox2;
    Label& Label5;
    Label& Label1;  // "Word \w:"
    Edit& zk_word;
    Label& Label3;  // "Space \s:"
    Edit& zk_space;
    Label& Label14;  // "LineSeparators:"
    Edit& zk_lineseparators;
    Label& Label4;
    Label& Label2;  // help link
    Button& Button1;
    Button& Button2;
    Button& Button3;

    // Sets the interface texts.
    void FormCreate() { Sprache(); }
    // Applies the current interface language to the title and every caption.
    void Sprache() override;

    // Each copies its box's state into its flag.
    void cb_caseinsensitive_iClick() { m_options.i = cb_caseinsensitive_i.checked(); }
    void cb_multiline_mClick() { m_options.m = cb_multiline_m.checked(); }
    void cb_singleline_sClick() { m_options.s = cb_singleline_s.checked(); }
    void cb_greedymode_gClick() { m_options.g = cb_greedymode_g.checked(); }
    void cb_whitespacecomments_xClick() { m_options.x = cb_whitespacecomments_x.checked(); }

    // OK: applies, then closes. A failing apply throws and the dialog stays open.
    void Button1Click();
    // Apply: checks the space field, copies the five boxes, then converts and stores the
    // word, space and line-separator sets in that order. Throws ConversionError at the first
    // field that does not convert; what was stored before stays.
    void Button2Click();
    // Restores the default boxes (their flags follow at once) and field texts.
    void Button3Click();

    // Closes the dialog through the desktop; set by whoever shows it.
    std::function<void()> closeWindow;
    // Opens a page of the program's help in the browser; set by whoever shows the dialog.
    std::function<void(std::u16string_view)> openLink;

private:
    RegexOptions m_options;
};

}  // namespace tessaro

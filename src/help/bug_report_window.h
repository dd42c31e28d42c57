// SPDX-License-Identifier: GPL-3.0-or-later
// The bug-report window: the user describes a fault or a wish, the window adds the facts a
// developer needs, and the report goes to the mail program or onto the clipboard. One
// window serves both languages and follows a switch at once; the description stays.
#pragma once

#include <functional>
#include <string>

#include "capture/capture_state.h"
#include "capture/clipboard_ex.h"
#include "forms/buttons.h"
#include "forms/text_controls.h"
#include "language/language_window.h"
#include "platform/desktop.h"

namespace tessaro {

class Tbugreport final : public LanguageWindow {
public:
    static constexpr int kDesignWidth = 520;
    static constexpr int kDesignHeight = 480;

    // `lastError` tells the last error the program showed, empty when there was none.
    Tbugreport(const Label& spr, Desktop& desktop, TClipBoardEx& clipboard, CaptureState& state,
               std::function<std::u16string()> lastError);

    Label& lb_intro;
    // The user's description; lines end in CR LF.
    Memo& ed_description;
    Label& lb_details;
    // The facts that go with the report, read-only.
    Memo& txt_details;
    // What became of the last copy to the clipboard; empty until then.
    Label& lb_result;
    Button& bt_mail;
    Button& bt_copy;
    // Closes the window; the owner binds its click to hiding it.
    Button& bt_close;

    // Reads the facts again; the owner calls it before each showing, since the last error
    // may have changed meanwhile.
    void refresh();
    // The report as it would be sent now.
    std::u16string reportText() const;

    // Opens a new mail with the report. When the report is too long for a mail link, or no
    // mail program opens, a message says so and points to the copy button.
    void bt_mailClick();
    // Puts the report on the clipboard as the program's own content, so that it is not
    // captured; the result line tells whether it took.
    void bt_copyClick();

    void Sprache() override;

private:
    void mailFailed(std::u16string_view reason);
    // Puts the report on the clipboard; what went wrong, or nothing when it took.
    std::u16string copyReport();

    Desktop& m_desktop;
    TClipBoardEx& m_clipboard;
    CaptureState& m_state;
    std::function<std::u16string()> m_lastError;
};

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/help_windows.h"

#include "forms/language_code.h"

namespace tessaro {

HelpWindows::HelpWindows(const Label& spr, Desktop& desktop, TClipBoardEx& clipboard,
                         CaptureState& state, std::function<std::u16string()> lastError)
    : m_spr(spr),
      m_desktop(desktop),
      m_introGerman(spr, true),
      m_introEnglish(spr, false),
      m_bugReport(spr, desktop, clipboard, state, std::move(lastError)) {
    for (Tintro* intro : {&m_introGerman, &m_introEnglish}) {
        intro->bt_close.onClick = [this, intro] {
            m_desktop.windowCommand(*intro, WindowCommand::Hide);
        };
    }
    m_bugReport.bt_close.onClick = [this] {
        m_desktop.windowCommand(m_bugReport, WindowCommand::Hide);
    };
}

void HelpWindows::showIntroduction() {
    const bool german = IsGerman(m_spr);
    Tintro& other = introduction(!german);
    if (other.visible()) m_desktop.windowCommand(other, WindowCommand::Hide);
    show(introduction(german));
}

void HelpWindows::showBugReport() {
    m_bugReport.refresh();
    show(m_bugReport);
}

void HelpWindows::show(Form& window) {
    // A window already open may lie behind the main window: bring it to the front.
    m_desktop.windowCommand(window,
                            window.visible() ? WindowCommand::Restore : WindowCommand::Show);
}

}  // namespace tessaro

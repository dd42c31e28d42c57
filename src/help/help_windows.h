// SPDX-License-Identifier: GPL-3.0-or-later
// The help windows of the program: an introduction for each interface language and the
// bug report. Owns them, binds their close buttons and shows the right one on request.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "help/bug_report_window.h"
#include "help/intro_window.h"

namespace tessaro {

class HelpWindows {
public:
    HelpWindows(const Label& spr, Desktop& desktop, TClipBoardEx& clipboard, CaptureState& state,
                std::function<std::u16string()> lastError);

    // The three windows in creation order: German introduction, English introduction,
    // bug report.
    std::array<Form*, 3> windows() { return {&m_introGerman, &m_introEnglish, &m_bugReport}; }
    Tintro& introduction(bool german) { return german ? m_introGerman : m_introEnglish; }
    Tbugreport& bugReport() { return m_bugReport; }

    // Shows the introduction of the current language and hides the other one, so that a
    // language switch never leaves two introductions open.
    void showIntroduction();
    // Shows the bug report with fresh facts; the description typed so far stays.
    void showBugReport();

private:
    void show(Form& window);

    const Label& m_spr;
    Desktop& m_desktop;
    Tintro m_introGerman;
    Tintro m_introEnglish;
    Tbugreport m_bugReport;
};

}  // namespace tessaro

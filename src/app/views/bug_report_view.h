// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt window of the bug report: the user's description, the facts that go with it, and
// the buttons that hand the report to the mail client or the clipboard. Does not block the
// main window.
#pragma once

#include "app/views/help_window_view.h"
#include "help/bug_report_window.h"

namespace tessaro {

class BugReportView final : public HelpWindowView {
public:
    BugReportView(Tbugreport& model, QWidget* parent);
};

}  // namespace tessaro

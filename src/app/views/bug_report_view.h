// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt window of the bug report: the user's description, the facts that go with it, and
// the buttons that hand the report to the mail client or the clipboard. Does not block the
// main window.
#pragma once

#include <QDialog>

#include "help/bug_report_window.h"

namespace tessaro {

class BugReportView final : public QDialog {
public:
    BugReportView(Tbugreport& model, QWidget* parent);

protected:
    void closeEvent(QCloseEvent* event) override;
    // Escape closes the window as its Close button does.
    void reject() override;
    // Each showing keeps the window on its screen.
    void showEvent(QShowEvent* event) override;

private:
    Tbugreport& m_model;
};

}  // namespace tessaro

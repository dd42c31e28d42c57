// SPDX-License-Identifier: GPL-3.0-or-later
// The common ground of the help windows: a window beside the main window, not blocking it,
// titled as its model says, kept on its screen at each showing, and closed by its close
// box or Escape as by its Close button.
#pragma once

#include <QDialog>

#include "forms/buttons.h"
#include "forms/form.h"

namespace tessaro {

class HelpWindowView : public QDialog {
public:
    HelpWindowView(Form& model, Button& close, QSize designSize, QWidget* parent);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void showEvent(QShowEvent* event) override;

private:
    Button& m_close;
};

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt window of the regular-expression settings: modifiers, examples, character sets
// and the links to the help page. Stays on top and does not block the main window.
#pragma once

#include "app/views/fitted_dialog.h"
#include "text/regex_settings_window.h"

namespace tessaro {

class RegexSettingsView final : public FittedDialog {
public:
    RegexSettingsView(Teinstregex& model, QWidget* parent);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Teinstregex& m_model;
};

}  // namespace tessaro

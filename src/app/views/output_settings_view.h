// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt window of the output settings: a small dialog that stays on top and does not
// block the main window. Its groups go image output, image resizing, text encoding.
#pragma once

#include "app/views/fitted_dialog.h"
#include "output/output_settings_window.h"

namespace tessaro {

class OutputSettingsView final : public FittedDialog {
public:
    OutputSettingsView(Teinstausgabe& model, QWidget* parent);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Teinstausgabe& m_model;
};

}  // namespace tessaro

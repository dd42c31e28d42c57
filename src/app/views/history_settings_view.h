// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt window of the history settings: a fixed-size dialog that stays on top, centred
// on the screen, and does not block the main window.
#pragma once

#include "app/views/fitted_dialog.h"
#include "history/history_settings_window.h"

namespace tessaro {

class HistorySettingsView final : public FittedDialog {
public:
    HistorySettingsView(Teinstverlauf& model, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Teinstverlauf& m_model;
};

}  // namespace tessaro

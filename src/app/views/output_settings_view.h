// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt window of the output settings: a small dialog that stays on top and does not
// block the main window.
#pragma once

#include <QDialog>

#include "output/output_settings_window.h"

namespace tessaro {

class OutputSettingsView final : public QDialog {
public:
    OutputSettingsView(Teinstausgabe& model, QWidget* parent);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Teinstausgabe& m_model;
};

}  // namespace tessaro

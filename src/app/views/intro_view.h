// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt window of an introduction: the page in a read-only rich-text view, whose list of
// topics jumps within the page, and a Close button. Does not block the main window.
#pragma once

#include <QDialog>

#include "help/intro_window.h"

namespace tessaro {

class IntroView final : public QDialog {
public:
    IntroView(Tintro& model, QWidget* parent);

protected:
    void closeEvent(QCloseEvent* event) override;
    // Escape closes the window as its Close button does.
    void reject() override;
    // Each showing keeps the window on its screen.
    void showEvent(QShowEvent* event) override;

private:
    Tintro& m_model;
};

}  // namespace tessaro

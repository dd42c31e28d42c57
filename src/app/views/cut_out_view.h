// SPDX-License-Identifier: GPL-3.0-or-later
// The cut-out dialog on screen: the picture at 1:1 in a scroll area, the four margins and
// the two buttons below it. Shown modally, maximized and on top by the desktop.
#pragma once

#include <QDialog>
#include <QRect>

#include <optional>

#include "image/cut_out_window.h"

namespace tessaro {

class CutOutView final : public QDialog {
public:
    CutOutView(Tcutauswahl& model, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;

private:
    Tcutauswahl& m_model;
    // The screen rectangle of the picture while a frame is dragged.
    std::optional<QRect> m_confinement;
};

}  // namespace tessaro

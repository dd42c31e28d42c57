// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt window of the start window: a borderless splash, centred, showing the picture
// of the interface language; its clock drives the start window's timer.
#pragma once

#include <QLabel>
#include <QTimer>
#include <QWidget>

#include "capture/start_window.h"

namespace tessaro {

class StartWindowView final : public QWidget {
public:
    explicit StartWindowView(Tstart& model);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void sync();

    Tstart& m_model;
    QLabel* m_picture;
    QTimer m_clock;
};

}  // namespace tessaro

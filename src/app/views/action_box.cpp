// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/views/action_box.h"

#include <QApplication>
#include <QPalette>
#include <QVBoxLayout>

namespace tessaro {

QColor darkerFace(int amount) {
    const QColor face = QApplication::palette().color(QPalette::Button);
    const auto sub = [amount](int c) { return (c - amount) & 0xFF; };
    return QColor(sub(face.red()), sub(face.green()), sub(face.blue()));
}

QFrame* newActionBox(const QColor& background) {
    auto* box = new QFrame;
    box->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    box->setAutoFillBackground(true);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Window, background);
    box->setPalette(palette);
    return box;
}

QWidget* detailRowFor(QFrame* box) {
    auto* row = new QWidget;
    auto* layout = new QVBoxLayout(row);
    layout->setContentsMargins(15, 3, 0, 3);
    layout->addWidget(box);
    return row;
}

}  // namespace tessaro

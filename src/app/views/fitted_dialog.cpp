// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/views/fitted_dialog.h"

#include <QGroupBox>
#include <QScreen>
#include <QStyle>

#include <algorithm>

#include "app/qt_text.h"
#include "app/views/bindings.h"
#include "app/views/program_font.h"
#include "app/views/subscription_keeper.h"

namespace tessaro {
namespace {

constexpr int kMargin = 8;

}  // namespace

FittedDialog::FittedDialog(QWidget* parent, QSize designSize)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), m_designSize(designSize) {
    setModal(false);
    setFont(programFont());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, kMargin);
    layout->setSpacing(0);
    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    auto* content = new QWidget(m_scroll);
    m_groups = new QVBoxLayout(content);
    m_groups->setContentsMargins(kMargin, kMargin, kMargin, kMargin / 2);
    m_groups->addStretch(1);
    m_scroll->setWidget(content);
    layout->addWidget(m_scroll, 1);
    m_buttons = new QHBoxLayout;
    m_buttons->setContentsMargins(kMargin, 0, kMargin, 0);
    m_buttons->addStretch(1);
    layout->addLayout(m_buttons);
    setFixedSize(designSize);
}

QVBoxLayout* FittedDialog::addGroup(Panel& model, int spacing) {
    auto* group = new QGroupBox(m_scroll->widget());
    group->setObjectName(QString::fromStdString(model.name()));
    const auto sync = [group, &model] { group->setTitle(toQString(model.caption())); };
    sync();
    keepWhileAlive(*group, model.changed().subscribe(sync));
    m_groups->insertWidget(m_groups->count() - 1, group);
    auto* column = new QVBoxLayout(group);
    column->setContentsMargins(kMargin, 2, kMargin, 4);
    column->setSpacing(spacing);
    return column;
}

QPushButton* FittedDialog::addButton(Button& model, bool pressedByEnter) {
    auto* button = new QPushButton(this);
    button->setObjectName(QString::fromStdString(model.name()));
    bindButton(button, model);
    button->setAutoDefault(false);
    button->setDefault(pressedByEnter);
    m_buttons->addWidget(button);
    return button;
}

void FittedDialog::fitInto(const QRect& available) {
    const QSize frame = frameGeometry().size() - size();
    const QSize room = available.size() - frame;
    QSize fitted = m_designSize.boundedTo(room);
    // A scroll bar takes its width from the controls: the window grows by it where it can.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_scroll);
    if (fitted.height() < m_designSize.height()) fitted.setWidth(std::min(m_designSize.width() + bar, room.width()));
    if (fitted.width() < m_designSize.width()) fitted.setHeight(std::min(m_designSize.height() + bar, room.height()));
    setFixedSize(fitted);
    const QSize outer = fitted + frame;
    // The left and top edges win over the right and bottom ones where the frame alone is
    // larger than the screen.
    move(std::max(available.left(), std::min(x(), available.right() + 1 - outer.width())),
         std::max(available.top(), std::min(y(), available.bottom() + 1 - outer.height())));
}

void keepWithin(QWidget& window, const QRect& available) {
    const QSize frame = window.frameGeometry().size() - window.size();
    window.resize(window.size().boundedTo(available.size() - frame));
    const QSize outer = window.size() + frame;
    window.move(std::max(available.left(), std::min(window.x(), available.right() + 1 - outer.width())),
                std::max(available.top(), std::min(window.y(), available.bottom() + 1 - outer.height())));
}

void FittedDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* where = screen()) fitInto(where->availableGeometry());
}

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/views/image_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "app/qt_bitmap.h"
#include "app/views/subscription_keeper.h"

namespace tessaro {
namespace {

Point screenPoint(const QMouseEvent* event) {
    const QPoint p = event->globalPosition().toPoint();
    return {p.x(), p.y()};
}

MouseButton buttonOf(const QMouseEvent* event) {
    switch (event->button()) {
        case Qt::RightButton: return MouseButton::Right;
        case Qt::MiddleButton: return MouseButton::Middle;
        default: return MouseButton::Left;
    }
}

}  // namespace

PictureWidget::PictureWidget(Picture& model, QWidget* parent) : QWidget(parent), m_model(model) {
    setCursor(Qt::SizeAllCursor);
    sync();
    keepWhileAlive(*this, m_model.changed().subscribe([this] { sync(); }));
}

void PictureWidget::sync() {
    m_image = toQImage(m_model.bitmap());
    resize(m_image.isNull() ? QSize(0, 0) : m_image.size());
    update();
}

void PictureWidget::paintEvent(QPaintEvent* event) {
    if (m_image.isNull()) return;
    QPainter painter(this);
    const QRect area = event->rect() & m_image.rect();
    painter.drawImage(area.topLeft(), m_image, area);
}

void PictureWidget::mousePressEvent(QMouseEvent* event) {
    if (m_model.onMouseDown) m_model.onMouseDown(buttonOf(event), screenPoint(event));
}

void PictureWidget::mouseMoveEvent(QMouseEvent* event) {
    if (m_model.onMouseMove) {
        m_model.onMouseMove((event->buttons() & Qt::LeftButton) != 0, screenPoint(event));
    }
}

void PictureWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (m_model.onMouseUp) m_model.onMouseUp(buttonOf(event), screenPoint(event));
}

void bindImageView(QScrollArea* area, PictureWidget* picture, ScrollBox& scrollBox) {
    area->setWidget(picture);
    area->setWidgetResizable(false);
    const auto sync = [area, &scrollBox] {
        // The bars' signals stay on: the scroll area moves the picture only when they signal.
        // Moving one bar reports both positions back, so both targets are read first.
        const int x = scrollBox.horizontal().position;
        const int y = scrollBox.vertical().position;
        area->horizontalScrollBar()->setValue(x);
        area->verticalScrollBar()->setValue(y);
        // The viewport limits the real range: keep the model where the view could go.
        scrollBox.userScrolledTo(area->horizontalScrollBar()->value(),
                                 area->verticalScrollBar()->value());
    };
    keepWhileAlive(*area, scrollBox.changed().subscribe(sync));
    const auto report = [area, &scrollBox] {
        scrollBox.userScrolledTo(area->horizontalScrollBar()->value(), area->verticalScrollBar()->value());
    };
    QObject::connect(area->horizontalScrollBar(), &QScrollBar::valueChanged, area, report);
    QObject::connect(area->verticalScrollBar(), &QScrollBar::valueChanged, area, report);
}

}  // namespace tessaro

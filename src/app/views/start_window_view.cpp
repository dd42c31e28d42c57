// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/views/start_window_view.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

#include "app/views/subscription_keeper.h"

namespace tessaro {

StartWindowView::StartWindowView(Tstart& model)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::SplashScreen),
      m_model(model),
      m_picture(new QLabel(this)) {
    setFixedSize(model.clientWidth(), model.clientHeight());
    m_picture->setGeometry(0, 0, model.clientWidth(), model.clientHeight());
    m_picture->setCursor(Qt::PointingHandCursor);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
    sync();
    keepWhileAlive(*this, model.Image1.changed().subscribe([this] { sync(); }));
    keepWhileAlive(*this, model.en1.changed().subscribe([this] { sync(); }));

    m_clock.setInterval(model.Timer1.interval());
    connect(&m_clock, &QTimer::timeout, this, [this] { m_model.Timer1.elapse(); });
    keepWhileAlive(*this, model.Timer1.changed().subscribe([this] {
        if (!m_model.Timer1.enabled()) m_clock.stop();
    }));
    if (model.Timer1.enabled()) m_clock.start();
}

void StartWindowView::sync() {
    const bool german = m_model.Image1.visible();
    const bool english = m_model.en1.visible();
    m_picture->setVisible(german || english);
    m_picture->setPixmap(QPixmap(german ? QStringLiteral(":/splash-de.png") : QStringLiteral(":/splash-en.png")));
}

void StartWindowView::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    if (m_picture->isVisible()) m_model.Image1Click();
}

}  // namespace tessaro

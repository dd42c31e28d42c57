// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/views/help_window_view.h"

#include <QCloseEvent>
#include <QScreen>

#include "app/qt_text.h"
#include "app/views/fitted_dialog.h"
#include "app/views/subscription_keeper.h"

namespace tessaro {

HelpWindowView::HelpWindowView(Form& model, Button& close, QSize designSize, QWidget* parent)
    : QDialog(parent, Qt::Window), m_close(close) {
    setModal(false);
    setWindowTitle(toQString(model.caption()));
    keepWhileAlive(*this, model.changed().subscribe([this, &model] { setWindowTitle(toQString(model.caption())); }));
    resize(designSize);
}

void HelpWindowView::closeEvent(QCloseEvent* event) {
    // The close box hides the window like its Close button; what it holds stays.
    event->ignore();
    m_close.click();
}

void HelpWindowView::reject() { m_close.click(); }

void HelpWindowView::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* where = screen()) keepWithin(*this, where->availableGeometry());
}

}  // namespace tessaro

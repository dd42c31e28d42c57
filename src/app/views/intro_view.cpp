// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/views/intro_view.h"

#include <QScreen>
#include <QCloseEvent>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "app/views/bindings.h"
#include "app/views/fitted_dialog.h"
#include "app/views/subscription_keeper.h"

namespace tessaro {

IntroView::IntroView(Tintro& model, QWidget* parent) : QDialog(parent, Qt::Window), m_model(model) {
    setModal(false);
    setWindowTitle(toQString(model.caption()));
    keepWhileAlive(
        *this, model.changed().subscribe([this] { setWindowTitle(toQString(m_model.caption())); }));
    resize(Tintro::kDesignWidth, Tintro::kDesignHeight);

    auto* layout = new QVBoxLayout(this);
    auto* page = new QTextBrowser(this);
    page->setObjectName(QString::fromStdString(model.txt_intro.name()));
    // Links only jump within the page; the page names no address outside it.
    page->setOpenExternalLinks(false);
    const auto sync = [page, &model] { page->setHtml(toQString(model.txt_intro.text())); };
    sync();
    keepWhileAlive(*page, model.txt_intro.changed().subscribe(sync));
    layout->addWidget(page, 1);

    auto* close = new QPushButton(this);
    close->setObjectName(QString::fromStdString(model.bt_close.name()));
    bindButton(close, model.bt_close);
    layout->addWidget(close, 0, Qt::AlignRight);
}

void IntroView::closeEvent(QCloseEvent* event) {
    // The close box hides the window like its Close button.
    event->ignore();
    m_model.bt_close.click();
}

void IntroView::reject() { m_model.bt_close.click(); }

void IntroView::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* where = screen()) keepWithin(*this, where->availableGeometry());
}

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/views/intro_view.h"

#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "app/views/bindings.h"
#include "app/views/subscription_keeper.h"

namespace tessaro {

IntroView::IntroView(Tintro& model, QWidget* parent)
    : HelpWindowView(model, model.bt_close, QSize(Tintro::kDesignWidth, Tintro::kDesignHeight), parent) {
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

}  // namespace tessaro

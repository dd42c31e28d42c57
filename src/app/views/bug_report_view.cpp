// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/views/bug_report_view.h"

#include <QScreen>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "app/views/bindings.h"
#include "app/views/fitted_dialog.h"
#include "app/views/subscription_keeper.h"

namespace tessaro {
namespace {

QLabel* labelFor(Label& model, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromStdString(model.name()));
    label->setWordWrap(true);
    bindLabel(label, model);
    return label;
}

QPushButton* buttonFor(Button& model, QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setObjectName(QString::fromStdString(model.name()));
    bindButton(button, model);
    return button;
}

}  // namespace

BugReportView::BugReportView(Tbugreport& model, QWidget* parent)
    : QDialog(parent, Qt::Window), m_model(model) {
    setModal(false);
    setWindowTitle(toQString(model.caption()));
    keepWhileAlive(
        *this, model.changed().subscribe([this] { setWindowTitle(toQString(m_model.caption())); }));
    resize(Tbugreport::kDesignWidth, Tbugreport::kDesignHeight);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(labelFor(model.lb_intro, this));
    auto* description = new QPlainTextEdit(this);
    description->setObjectName(QString::fromStdString(model.ed_description.name()));
    bindMemo(description, model.ed_description);
    // Both boxes wrap long lines, the description's prose and the long system line alike.
    description->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    layout->addWidget(description, 2);
    layout->addWidget(labelFor(model.lb_details, this));
    auto* details = new QPlainTextEdit(this);
    details->setObjectName(QString::fromStdString(model.txt_details.name()));
    bindMemoView(details, model.txt_details);
    details->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    layout->addWidget(details, 1);
    layout->addWidget(labelFor(model.lb_result, this));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(buttonFor(model.bt_mail, this));
    buttons->addWidget(buttonFor(model.bt_copy, this));
    buttons->addStretch(1);
    buttons->addWidget(buttonFor(model.bt_close, this));
    layout->addLayout(buttons);
}

void BugReportView::closeEvent(QCloseEvent* event) {
    // The close box hides the window like its Close button; the description stays.
    event->ignore();
    m_model.bt_close.click();
}

void BugReportView::reject() { m_model.bt_close.click(); }

void BugReportView::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* where = screen()) keepWithin(*this, where->availableGeometry());
}

}  // namespace tessaro

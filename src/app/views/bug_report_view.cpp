// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/views/bug_report_view.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "app/views/bindings.h"
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
    : HelpWindowView(model, model.bt_close, QSize(Tbugreport::kDesignWidth, Tbugreport::kDesignHeight), parent) {
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

}  // namespace tessaro

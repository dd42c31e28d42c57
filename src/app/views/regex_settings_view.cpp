// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/views/regex_settings_view.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QFormLayout>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "app/views/bindings.h"
#include "app/views/subscription_keeper.h"

namespace tessaro {
namespace {

QLabel* labelFor(Label& model, QWidget* parent, bool wrap = true) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromStdString(model.name()));
    label->setWordWrap(wrap);
    bindLabel(label, model);
    return label;
}

}  // namespace

RegexSettingsView::RegexSettingsView(Teinstregex& model, QWidget* parent)
    : FittedDialog(parent, QSize(Teinstregex::kDesignWidth, Teinstregex::kDesignHeight)), m_model(model) {
    setObjectName(QString::fromStdString(model.name()));
    setWindowTitle(toQString(model.caption()));
    keepWhileAlive(*this, model.changed().subscribe([this] { setWindowTitle(toQString(m_model.caption())); }));

    QVBoxLayout* modifierLayout = addGroup(model.GroupBox1, 3);
    QWidget* modifiers = modifierLayout->parentWidget();
    modifierLayout->addWidget(labelFor(model.Label6, modifiers));
    for (CheckBox* box : {&model.cb_caseinsensitive_i, &model.cb_multiline_m, &model.cb_singleline_s,
                          &model.cb_greedymode_g, &model.cb_whitespacecomments_x}) {
        auto* check = new QCheckBox(modifiers);
        check->setObjectName(QString::fromStdString(box->name()));
        bindCheckBox(check, *box);
        modifierLayout->addWidget(check);
    }
    modifierLayout->addWidget(labelFor(model.Label8, modifiers));
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPixelSize(font().pixelSize());
    for (Label* example : {&model.Label9, &model.Label10, &model.Label11, &model.Label12}) {
        QLabel* label = labelFor(*example, modifiers, false);
        label->setFont(fixed);
        modifierLayout->addWidget(label);
    }
    modifierLayout->addWidget(labelFor(model.Label13, modifiers));
    auto* modifierLink = new QLabel(modifiers);
    modifierLink->setObjectName(QStringLiteral("Label7"));
    bindLinkLabel(modifierLink, model.Label7);
    modifierLayout->addWidget(modifierLink);

    QVBoxLayout* setLayout = addGroup(model.GroupBox2, 3);
    QWidget* sets = setLayout->parentWidget();
    setLayout->addWidget(labelFor(model.Label5, sets));
    auto* fields = new QFormLayout;
    fields->setContentsMargins(0, 2, 0, 2);
    fields->setVerticalSpacing(2);
    const auto field = [sets, fields](Label& caption, Edit& edit) {
        auto* line = new QLineEdit(sets);
        line->setObjectName(QString::fromStdString(edit.name()));
        bindEdit(line, edit);
        fields->addRow(labelFor(caption, sets, false), line);
    };
    field(model.Label1, model.zk_word);
    field(model.Label3, model.zk_space);
    field(model.Label14, model.zk_lineseparators);
    setLayout->addLayout(fields);
    setLayout->addWidget(labelFor(model.Label4, sets));
    auto* setLink = new QLabel(sets);
    setLink->setObjectName(QStringLiteral("Label2"));
    bindLinkLabel(setLink, model.Label2);
    setLayout->addWidget(setLink);

    // Enter is OK wherever the focus is: restoring the defaults takes a deliberate click (or
    // Space on the button), never the key that finishes typing in a field.
    addButton(model.Button3, false);
    addButton(model.Button2, false);
    addButton(model.Button1, true);
}

void RegexSettingsView::closeEvent(QCloseEvent* event) {
    // The close box only hides the window; the fields keep what was typed.
    event->accept();
    if (m_model.closeWindow) m_model.closeWindow();
}

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/views/regex_settings_view.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "app/views/bindings.h"
#include "app/views/subscription_keeper.h"

namespace tessaro {
namespace {

QGroupBox* groupFor(Panel& model, QWidget* parent) {
    auto* group = new QGroupBox(parent);
    group->setObjectName(QString::fromStdString(model.name()));
    group->setTitle(toQString(model.caption()));
    keepWhileAlive(*group, model.changed().subscribe([group, &model] { group->setTitle(toQString(model.caption())); }));
    return group;
}

QLabel* labelFor(Label& model, QWidget* parent, bool wrap = true) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromStdString(model.name()));
    label->setWordWrap(wrap);
    bindLabel(label, model);
    return label;
}

}  // namespace

RegexSettingsView::RegexSettingsView(Teinstregex& model, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), m_model(model) {
    setModal(false);
    setWindowTitle(toQString(model.caption()));
    keepWhileAlive(*this, model.changed().subscribe([this] { setWindowTitle(toQString(m_model.caption())); }));
    auto* layout = new QVBoxLayout(this);

    QGroupBox* modifiers = groupFor(model.GroupBox1, this);
    auto* modifierLayout = new QVBoxLayout(modifiers);
    modifierLayout->addWidget(labelFor(model.Label6, modifiers));
    for (CheckBox* box : {&model.cb_caseinsensitive_i, &model.cb_multiline_m, &model.cb_singleline_s,
                          &model.cb_greedymode_g, &model.cb_whitespacecomments_x}) {
        auto* check = new QCheckBox(modifiers);
        check->setObjectName(QString::fromStdString(box->name()));
        bindCheckBox(check, *box);
        modifierLayout->addWidget(check);
    }
    modifierLayout->addWidget(labelFor(model.Label8, modifiers));
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
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
    layout->addWidget(modifiers);

    QGroupBox* sets = groupFor(model.GroupBox2, this);
    auto* setLayout = new QVBoxLayout(sets);
    setLayout->addWidget(labelFor(model.Label5, sets));
    auto* fields = new QFormLayout;
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
    layout->addWidget(sets);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (Button* button : {&model.Button3, &model.Button2, &model.Button1}) {
        auto* push = new QPushButton(this);
        push->setObjectName(QString::fromStdString(button->name()));
        bindButton(push, *button);
        buttons->addWidget(push);
    }
    layout->addLayout(buttons);
}

void RegexSettingsView::closeEvent(QCloseEvent* event) {
    // The close box only hides the window; the fields keep what was typed.
    event->accept();
    if (m_model.closeWindow) m_model.closeWindow();
}

}  // namespace tessaro

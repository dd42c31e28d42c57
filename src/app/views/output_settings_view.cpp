// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/views/output_settings_view.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "app/views/bindings.h"
#include "app/views/subscription_keeper.h"

namespace tessaro {
namespace {

void bindScrollBar(QScrollBar* widget, ScrollBar& model) {
    widget->setObjectName(QString::fromStdString(model.name()));
    widget->setRange(model.min(), model.max());
    widget->setValue(model.position());
    keepWhileAlive(*widget, model.changed().subscribe([widget, &model] {
        const QSignalBlocker block(widget);
        widget->setValue(model.position());
    }));
    QObject::connect(widget, &QScrollBar::valueChanged, widget,
                     [&model](int value) { model.setPosition(value); });
}

QGroupBox* groupFor(Panel& model, QWidget* parent) {
    auto* group = new QGroupBox(parent);
    group->setObjectName(QString::fromStdString(model.name()));
    group->setTitle(toQString(model.caption()));
    keepWhileAlive(*group, model.changed().subscribe([group, &model] { group->setTitle(toQString(model.caption())); }));
    return group;
}

QWidget* buildImageOutputGroup(Teinstausgabe& model, QWidget* parent) {
    QGroupBox* group = groupFor(model.GroupBox1, parent);
    auto* layout = new QVBoxLayout(group);
    auto* intro = new QLabel(group);
    intro->setWordWrap(true);
    bindLabel(intro, model.Label1);
    layout->addWidget(intro);
    auto* qualityRow = new QHBoxLayout;
    auto* quality = new QComboBox(group);
    quality->setObjectName(QStringLiteral("out_quality"));
    bindComboBox(quality, model.out_quality);
    qualityRow->addWidget(quality);
    auto* bar = new QScrollBar(Qt::Horizontal, group);
    bindScrollBar(bar, model.ScrollBar1);
    qualityRow->addWidget(bar, 1);
    layout->addLayout(qualityRow);
    for (CheckBox* option : {&model.progressivaktiv, &model.psdlayers}) {
        auto* check = new QCheckBox(group);
        check->setObjectName(QString::fromStdString(option->name()));
        bindCheckBox(check, *option);
        layout->addWidget(check);
    }
    return group;
}

QWidget* buildResizingGroup(Teinstausgabe& model, QWidget* parent) {
    QGroupBox* group = groupFor(model.GroupBox3, parent);
    auto* layout = new QVBoxLayout(group);
    for (CheckBox* rule : {&model.act_sizehochquerformat, &model.act_sizekleiner, &model.act_sizebigger}) {
        auto* check = new QCheckBox(group);
        check->setObjectName(QString::fromStdString(rule->name()));
        bindCheckBox(check, *rule);
        layout->addWidget(check);
    }
    auto* methodRow = new QHBoxLayout;
    auto* label = new QLabel(group);
    bindLabel(label, model.Label2);
    methodRow->addWidget(label);
    auto* method = new QComboBox(group);
    method->setObjectName(QStringLiteral("act_sizemethode"));
    bindComboBox(method, model.act_sizemethode);
    methodRow->addWidget(method, 1);
    layout->addLayout(methodRow);
    return group;
}

}  // namespace

OutputSettingsView::OutputSettingsView(Teinstausgabe& model, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), m_model(model) {
    setModal(false);
    setWindowTitle(toQString(model.caption()));
    keepWhileAlive(*this, model.changed().subscribe([this] { setWindowTitle(toQString(m_model.caption())); }));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildImageOutputGroup(model, this));
    QGroupBox* group = groupFor(model.GroupBox2, this);
    auto* groupLayout = new QVBoxLayout(group);
    auto* intro = new QLabel(group);
    intro->setWordWrap(true);
    bindLabel(intro, model.Label5);
    groupLayout->addWidget(intro);
    // Shown top to bottom as the encodings go; created in the configuration file's order.
    for (RadioButton* button : {&model.rb_ansi, &model.rb_utf7, &model.rb_utf7ansi, &model.rb_utf8,
                                &model.rb_utf16le, &model.rb_utf_be, &model.rb_utf32le,
                                &model.rb_utf32be, &model.rb_beibehalten}) {
        auto* radio = new QRadioButton(group);
        radio->setObjectName(QString::fromStdString(button->name()));
        bindRadioButton(radio, *button);
        groupLayout->addWidget(radio);
    }
    auto* info = new QLabel(group);
    info->setWordWrap(true);
    bindLabel(info, model.Label4);
    groupLayout->addWidget(info);
    layout->addWidget(group);
    layout->addWidget(buildResizingGroup(model, this));

    auto* ok = new QPushButton(this);
    ok->setObjectName(QStringLiteral("OK"));
    bindButton(ok, model.OK);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

void OutputSettingsView::closeEvent(QCloseEvent* event) {
    // The close box hides the window like its OK button.
    event->ignore();
    m_model.OK.click();
}

}  // namespace tessaro

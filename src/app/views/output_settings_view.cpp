// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/views/output_settings_view.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "app/views/bindings.h"
#include "app/views/subscription_keeper.h"
#include "app/views/wrapping_button.h"

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

void fillImageOutputGroup(Teinstausgabe& model, QVBoxLayout* layout) {
    QWidget* group = layout->parentWidget();
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
        auto* check = new WrappingButton<QCheckBox>(group);
        check->setObjectName(QString::fromStdString(option->name()));
        bindCheckBox(check, *option);
        layout->addWidget(check);
    }
}

void fillResizingGroup(Teinstausgabe& model, QVBoxLayout* layout) {
    QWidget* group = layout->parentWidget();
    for (CheckBox* rule : {&model.act_sizehochquerformat, &model.act_sizekleiner, &model.act_sizebigger}) {
        auto* check = new WrappingButton<QCheckBox>(group);
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
}

void fillEncodingGroup(Teinstausgabe& model, QVBoxLayout* layout) {
    QWidget* group = layout->parentWidget();
    auto* intro = new QLabel(group);
    intro->setWordWrap(true);
    bindLabel(intro, model.Label5);
    layout->addWidget(intro);
    // Shown top to bottom as the encodings go; created in the configuration file's order.
    for (RadioButton* button : {&model.rb_ansi, &model.rb_utf7, &model.rb_utf7ansi, &model.rb_utf8,
                                &model.rb_utf16le, &model.rb_utf_be, &model.rb_utf32le,
                                &model.rb_utf32be, &model.rb_beibehalten}) {
        auto* radio = new WrappingButton<QRadioButton>(group);
        radio->setObjectName(QString::fromStdString(button->name()));
        bindRadioButton(radio, *button);
        layout->addWidget(radio);
    }
    auto* info = new QLabel(group);
    info->setWordWrap(true);
    bindLabel(info, model.Label4);
    layout->addWidget(info);
    auto* encodingsLink = new QLabel(group);
    encodingsLink->setObjectName(QStringLiteral("lb_encodings_link"));
    bindLinkLabel(encodingsLink, model.lb_encodings_link);
    layout->addWidget(encodingsLink);
}

}  // namespace

OutputSettingsView::OutputSettingsView(Teinstausgabe& model, QWidget* parent)
    : FittedDialog(parent, QSize(Teinstausgabe::kDesignWidth, Teinstausgabe::kDesignHeight)), m_model(model) {
    setObjectName(QString::fromStdString(model.name()));
    setWindowTitle(toQString(model.caption()));
    keepWhileAlive(*this, model.changed().subscribe([this] { setWindowTitle(toQString(m_model.caption())); }));
    // The three groups need every pixel of the design height: no room between lines.
    fillImageOutputGroup(model, addGroup(model.GroupBox1, 0));
    fillResizingGroup(model, addGroup(model.GroupBox3, 0));
    fillEncodingGroup(model, addGroup(model.GroupBox2, 0));
    addButton(model.OK, true);
}

void OutputSettingsView::closeEvent(QCloseEvent* event) {
    // The close box hides the window like its OK button.
    event->ignore();
    m_model.OK.click();
}

}  // namespace tessaro

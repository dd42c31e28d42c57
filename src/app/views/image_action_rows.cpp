// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/views/image_action_rows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>

#include "app/views/action_box.h"
#include "app/views/bindings.h"

namespace tessaro {
namespace {

QLabel* labelFor(Label& model, QWidget* parent) {
    auto* widget = new QLabel(parent);
    widget->setObjectName(QString::fromStdString(model.name()));
    bindLabel(widget, model);
    return widget;
}

QComboBox* numberListFor(ComboBox& model, QWidget* parent) {
    auto* widget = new QComboBox(parent);
    widget->setObjectName(QString::fromStdString(model.name()));
    widget->setMinimumWidth(80);
    bindComboBox(widget, model);
    return widget;
}

}  // namespace

QWidget* buildCutRow(Tprog& model, const QColor& background) {
    QFrame* box = newActionBox(background);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(8, 6, 8, 6);
    int line = 0;
    for (RadioButton* way : {&model.rb_cutimg_auswahl, &model.rb_cutimg_direkt}) {
        auto* radio = new QRadioButton(box);
        radio->setObjectName(QString::fromStdString(way->name()));
        bindRadioButton(radio, *way);
        grid->addWidget(radio, line++, 0, 1, 8);
    }
    const std::array<std::pair<Label*, ComboBox*>, 4> margins = {
        {{&model.Label15, &model.act_zuschlinks},
         {&model.Label16, &model.act_zuschrechts},
         {&model.Label17, &model.act_zuschoben},
         {&model.Label18, &model.act_zuschunten}}};
    int column = 0;
    for (const auto& [label, list] : margins) {
        grid->addWidget(labelFor(*label, box), line, column++);
        grid->addWidget(numberListFor(*list, box), line, column++);
    }
    grid->setColumnStretch(8, 1);
    return detailRowFor(box);
}

QWidget* buildResizeRow(Tprog& model, const QColor& background) {
    QFrame* box = newActionBox(background);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->addWidget(labelFor(model.Label1, box), 0, 0);
    grid->addWidget(labelFor(model.Label10, box), 0, 1);
    grid->addWidget(numberListFor(model.act_sizebenutzer_x, box), 0, 2);
    grid->addWidget(labelFor(model.Label13, box), 0, 3);
    grid->addWidget(labelFor(model.Label12, box), 0, 4);
    grid->addWidget(numberListFor(model.act_sizebenutzer_y, box), 0, 5);
    grid->addWidget(labelFor(model.Label14, box), 0, 6);
    grid->addWidget(labelFor(model.Label11, box), 1, 0);
    auto* proportions = new QCheckBox(box);
    proportions->setObjectName(QStringLiteral("act_resizeimg_prop"));
    bindCheckBox(proportions, model.act_resizeimg_prop);
    grid->addWidget(proportions, 1, 1, 1, 6);
    grid->setColumnStretch(7, 1);
    return detailRowFor(box);
}

}  // namespace tessaro

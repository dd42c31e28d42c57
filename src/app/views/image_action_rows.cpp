// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/views/image_action_rows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QStyleOptionComboBox>

#include "app/views/action_box.h"
#include "app/views/bindings.h"
#include "app/views/wrapping_button.h"

namespace tessaro {
namespace {

QLabel* labelFor(Label& model, QWidget* parent) {
    auto* widget = new QLabel(parent);
    widget->setObjectName(QString::fromStdString(model.name()));
    bindLabel(widget, model);
    return widget;
}

// A number list that asks for room for five digits and its arrow, not for its longest entry
// ("Benutzerdefiniert.."): four of them and their captions share one line of a row. The
// drop-down list still shows every entry whole.
class NumberList final : public QComboBox {
public:
    using QComboBox::QComboBox;

    QSize minimumSizeHint() const override {
        QStyleOptionComboBox option;
        initStyleOption(&option);
        const QSize digits(fontMetrics().horizontalAdvance(QStringLiteral("00000")), fontMetrics().height());
        return style()->sizeFromContents(QStyle::CT_ComboBox, &option, digits, this);
    }
};

QComboBox* numberListFor(ComboBox& model, QWidget* parent) {
    auto* widget = new NumberList(parent);
    widget->setObjectName(QString::fromStdString(model.name()));
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
        auto* radio = new WrappingButton<QRadioButton>(box);
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
    return detailRowFor(box, *model.detailRows[3]);
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
    return detailRowFor(box, *model.detailRows[4]);
}

}  // namespace tessaro

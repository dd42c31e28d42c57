// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/views/save_row_view.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/views/action_box.h"
#include "app/views/bindings.h"

namespace tessaro {

QWidget* buildSaveRow(const SaveRowModels& models, const std::vector<QWidget*>& below,
                      const QColor& background) {
    QFrame* box = newActionBox(background);
    auto* grid = new QGridLayout(box);
    // Tight lines: the row's design height holds three fields and two lines below them.
    grid->setContentsMargins(8, 4, 8, 4);
    grid->setVerticalSpacing(2);
    const auto label = [box](Label& model) {
        auto* widget = new QLabel(box);
        widget->setObjectName(QString::fromStdString(model.name()));
        bindLabel(widget, model);
        return widget;
    };
    auto* folder = new QLineEdit(box);
    folder->setObjectName(QString::fromStdString(models.folder.name()));
    bindEdit(folder, models.folder);
    auto* choose = new QPushButton(box);
    choose->setObjectName(QString::fromStdString(models.choose.name()));
    bindButton(choose, models.choose);
    auto* name = new QComboBox(box);
    name->setObjectName(QString::fromStdString(models.name.name()));
    bindComboBox(name, models.name);
    auto* format = new QComboBox(box);
    format->setObjectName(QString::fromStdString(models.format.name()));
    bindComboBox(format, models.format);
    grid->addWidget(label(models.folderLabel), 0, 0);
    grid->addWidget(folder, 0, 1);
    grid->addWidget(choose, 0, 2);
    grid->addWidget(label(models.nameLabel), 1, 0);
    grid->addWidget(name, 1, 1, 1, 2);
    grid->addWidget(label(models.formatLabel), 2, 0);
    grid->addWidget(format, 2, 1, 1, 2);
    int line = 3;
    for (QWidget* widget : below) {
        widget->setParent(box);
        grid->addWidget(widget, line++, 0, 1, 3);
    }
    grid->setColumnStretch(1, 1);
    return detailRowFor(box, models.row);
}

}  // namespace tessaro

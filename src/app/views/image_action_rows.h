// SPDX-License-Identifier: GPL-3.0-or-later
// The detail rows of the two image actions on the main window: cutting (the way of
// cutting and the four margins) and resizing (the maximum size and the proportions).
#pragma once

#include <QColor>
#include <QWidget>

#include "ui/main_window.h"

namespace tessaro {

QWidget* buildCutRow(Tprog& model, const QColor& background);
QWidget* buildResizeRow(Tprog& model, const QColor& background);

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// The bevelled box of an action's detail row, in the row's indent.
#pragma once

#include <QColor>
#include <QFrame>
#include <QWidget>

namespace tessaro {

// A raised box filled with `background`.
QFrame* newActionBox(const QColor& background);

// The detail row holding `box`, indented like every action row.
QWidget* detailRowFor(QFrame* box);

}  // namespace tessaro

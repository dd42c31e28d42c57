// SPDX-License-Identifier: GPL-3.0-or-later
// The bevelled box of an action's detail row, in the row's indent.
#pragma once

#include <QColor>
#include <QFrame>
#include <QWidget>

namespace tessaro {

// The button face darkened by `amount` per channel in 8-bit arithmetic: the colour of the
// title bars (50) and of the action boxes (kActionBoxDarkening).
QColor darkerFace(int amount);
inline constexpr int kActionBoxDarkening = 5;

// A raised box filled with `background`.
QFrame* newActionBox(const QColor& background);

// The detail row holding `box`, indented like every action row.
QWidget* detailRowFor(QFrame* box);

}  // namespace tessaro

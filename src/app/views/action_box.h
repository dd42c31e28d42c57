// SPDX-License-Identifier: GPL-3.0-or-later
// The bevelled box of an action's detail row, and the row around it: indented, shown and
// sized as its panel in the headless window says.
#pragma once

#include <QColor>
#include <QFrame>
#include <QWidget>

#include "forms/containers.h"

namespace tessaro {

// The button face darkened by `amount` per channel in 8-bit arithmetic: the colour of the
// title bars (50) and of the action boxes (kActionBoxDarkening).
QColor darkerFace(int amount);
inline constexpr int kActionBoxDarkening = 5;

// A raised box filled with `background`.
QFrame* newActionBox(const QColor& background);

// The detail row `model` holding `box`, indented like every action row. It shows while the
// panel is visible and is as high as the panel, or higher where the box's controls need
// more at the row's width (longer captions of a language), so that none is cut off.
QWidget* detailRowFor(QFrame* box, Panel& model);

}  // namespace tessaro

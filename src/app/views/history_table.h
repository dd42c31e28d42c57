// SPDX-License-Identifier: GPL-3.0-or-later
// The history table of the main window: its rows, its popup menu (mouse, Menu key or
// Shift+F10), and a view that follows new rows while the user stays at the newest one.
#pragma once

#include <QTableView>

#include "ui/main_window.h"

namespace tessaro {

QTableView* buildHistoryTable(Tprog& model, QWidget* parent);

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt boxes of the two text actions on the main window: search and replace with its
// table, and the texts added in front and behind.
#pragma once

#include <QWidget>

#include "ui/main_window.h"

namespace tessaro {

// The detail row pa001b with the search-and-replace box; its height follows the model.
QWidget* buildSearchReplaceRow(Tprog& model);
// The detail row pa002b with the text-addition box.
QWidget* buildTextAddRow(Tprog& model);

}  // namespace tessaro

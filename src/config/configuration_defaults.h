// SPDX-License-Identifier: GPL-3.0-or-later
// Resetting every setting to its default ("Reset all Settings").
#pragma once

#include <string>

#include "config/configuration.h"

namespace tessaro {

// Sets every setting of the four windows and the menu switches to its reset value, as a
// user would (check boxes whose state changes run their handlers), empties the
// replacement table and shows every panel of the main window except the six detail rows.
// The language, the history rows, the window's place and size and the PSD layer switch
// stay. `saveFolder` is the folder both save fields are set to.
void ResetConfiguration(Configuration& configuration, const std::u16string& saveFolder);

}  // namespace tessaro

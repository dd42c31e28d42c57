// SPDX-License-Identifier: GPL-3.0-or-later
// The resting text of the main window's bottom strip: what the program is, and that a
// click on the strip opens the introduction.
#pragma once

#include <string>

namespace tessaro {

// "Tessaro 0.1 – click here for an introduction", in the interface language.
std::u16string StripHint(bool german);

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// The output quality of the lossy image formats: a list box and a scroll bar beside it
// that keep each other in step, the bar holding the valid value 1 to 100.
#pragma once

#include <string>
#include <vector>

#include "forms/scroll_bar.h"
#include "forms/text_controls.h"

namespace tessaro {

// The ready-made qualities of the list; "90" is the design text.
std::vector<std::u16string> QualityEntries();

// Discards a typed key that is neither a digit nor backspace, and every key while the
// current text holds a number outside 1 .. 100. A text that is no number (an emptied box)
// takes digits, so the user can type a new value.
void FilterQualityKey(const std::u16string& current, char16_t& key);

// Binds the box and the bar: a number typed or picked moves the bar; the bar's position
// is written into the box whenever it changes, and also when the number was outside the
// bar's range, so the box never shows a quality that is not used.
void BindOutputQuality(ComboBox& out_quality, ScrollBar& ScrollBar1);

}  // namespace tessaro

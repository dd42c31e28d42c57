// SPDX-License-Identifier: GPL-3.0-or-later
// Input rules of the main window's number lists (the four cut margins and the two maximum
// sizes): digits only, the custom entry that empties the list for typing, and the
// fallback number for a list left empty.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/text_controls.h"
#include "platform/desktop.h"

namespace tessaro {

// The entries of the margin lists and of the size lists in one language; the last is the
// custom entry.
std::vector<std::u16string> MarginListEntries(bool german);
std::vector<std::u16string> SizeListEntries(bool german);

// True for the custom entry of a number list in either language.
bool IsNumberListCustomEntry(std::u16string_view text);

// The list's entries with the custom entry put into the other language; the numbers stay.
void TranslateNumberListEntries(ComboBox& list, bool german);

// True when the typed key may stay: a digit or backspace. Everything else, Enter too,
// is refused.
bool IsNumberKey(char16_t key);

// Binds the rules to one number list: a refused key is discarded and explained by an
// information message in the language `spr` names at that moment; the custom entry
// clears the list and `focus` is called for it; leaving it empty writes `fallback`.
void BindNumberListRules(ComboBox& list, std::int32_t fallback, Desktop& desktop, const Label& spr,
                         std::function<void(Control&)> focus);

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// Whole numbers as the texts the program shows and reads: plain decimal digits.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessaro {

// "-12", "0", "640".
std::u16string DecimalText(long long value);

// The value of a text made only of the digits 0 to 9 (no sign, no blanks, at most 18 of
// them); nothing for any other text.
std::optional<long long> DigitsValue(std::u16string_view text);

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/decimal_text.h"

namespace tessaro {

std::u16string DecimalText(long long value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

std::optional<long long> DigitsValue(std::u16string_view text) {
    if (text.empty() || text.size() > 18) return std::nullopt;
    long long value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    return value;
}

}  // namespace tessaro

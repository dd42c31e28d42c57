// SPDX-License-Identifier: GPL-3.0-or-later
// The user notation of character sets: literal characters before the first "$", and
// hexadecimal character codes after it, so that invisible characters can be typed.
#include "text/regex_options.h"

#include <cstdint>

#include "platform/utf.h"

namespace tessaro {

namespace {

// Reads a piece as an unsigned hexadecimal number that fits in 32 bits.
bool parseHex32(std::u16string_view piece, std::uint32_t& value) {
    if (piece.empty()) return false;
    std::uint64_t total = 0;
    for (char16_t c : piece) {
        int digit;
        if (c >= u'0' && c <= u'9') {
            digit = c - u'0';
        } else if (c >= u'a' && c <= u'f') {
            digit = c - u'a' + 10;
        } else if (c >= u'A' && c <= u'F') {
            digit = c - u'A' + 10;
        } else {
            return false;
        }
        total = total * 16 + static_cast<std::uint64_t>(digit);
        // Leading zeros may be many; only the value has to fit.
        if (total > 0xFFFFFFFFu) return false;
    }
    value = static_cast<std::uint32_t>(total);
    return true;
}

}  // namespace

std::u16string StringUserToComp(std::u16string_view text) {
    const std::size_t firstDollar = text.find(u'$');
    if (firstDollar == std::u16string_view::npos) return std::u16string(text);

    std::u16string result(text.substr(0, firstDollar));
    if (text.find(u"$$") != std::u16string_view::npos) result.push_back(u'$');

    std::u16string_view rest = text.substr(firstDollar + 1);
    while (true) {
        const std::size_t next = rest.find(u'$');
        const std::u16string_view piece = rest.substr(0, next);
        if (!piece.empty()) {
            std::uint32_t value = 0;
            if (!parseHex32(piece, value)) {
                std::u16string shown = u"$";
                shown += piece;
                throw ConversionError("'" + utf16ToUtf8(shown) + "' is not a valid integer value");
            }
            result.push_back(static_cast<char16_t>(value & 0xFFFFu));
        }
        if (next == std::u16string_view::npos) break;
        rest = rest.substr(next + 1);
    }
    return result;
}

}  // namespace tessaro

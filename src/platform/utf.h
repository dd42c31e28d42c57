// SPDX-License-Identifier: GPL-3.0-or-later
// Conversions between UTF-16 (the core's text) and UTF-8 (file names, error texts, Qt's
// edge). Invalid input becomes U+FFFD rather than being dropped.
#pragma once

#include <string>
#include <string_view>

namespace tessaro {

std::u16string utf8ToUtf16(std::string_view text);
// The same, appended to `out`.
void appendUtf8(std::u16string& out, std::string_view text);
// The number of bytes of a UTF-8 character with this first byte: 1 to 4, or 0 where no
// character starts with it (a continuation byte, or one never used).
std::size_t utf8SequenceLength(unsigned char lead);
std::string utf16ToUtf8(std::u16string_view text);
// Whether the bytes are UTF-8 throughout: no overlong forms, surrogates or code points
// past U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

}  // namespace tessaro

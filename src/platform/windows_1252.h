// SPDX-License-Identifier: GPL-3.0-or-later
// The 8-bit "ANSI" code page of the system, fixed to Windows-1252 on every machine so that
// 8-bit clipboard text and ANSI text files mean the same everywhere.
#pragma once

#include <string>
#include <string_view>

namespace tessaro {

// Converts 8-bit Windows-1252 text to UTF-16. The five bytes that the code page leaves
// undefined map to the C1 control of the same value, as Windows does.
std::u16string ansiToUtf16(std::string_view bytes);

// Converts UTF-16 text to Windows-1252; every character the code page lacks (a surrogate
// pair counts as one character) becomes the default character '?'.
std::string utf16ToAnsi(std::u16string_view text);

// Whether every character of `text` has a byte of its own in the code page: converting it to
// 8-bit text and back then gives the very same text.
bool survivesAnsi(std::u16string_view text);

}  // namespace tessaro

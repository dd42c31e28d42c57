// SPDX-License-Identifier: GPL-3.0-or-later
// Conversions between UTF-16 (the core's text) and UTF-8 (file names, error texts, Qt's
// edge). Invalid input becomes U+FFFD rather than being dropped.
#pragma once

#include <string>
#include <string_view>

namespace tessaro {

std::u16string utf8ToUtf16(std::string_view text);
std::string utf16ToUtf8(std::u16string_view text);

}  // namespace tessaro

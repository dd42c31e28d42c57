// SPDX-License-Identifier: GPL-3.0-or-later
// How settings are written as profile values and read back: texts protected so that the
// profile reader gives them back unchanged, line breaks folded into one control character,
// and integers in decimal or "0x" hexadecimal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessaro {

// A reader gives back at most this many characters of a value.
inline constexpr std::size_t kProfileValueLimit = 16384;

// The characters that stand for CR LF: in multi-line fields and in table cells.
inline constexpr char16_t kMemoLineBreak = u'\x0B';
inline constexpr char16_t kTableLineBreak = u'\x1F';

// Quote protection (a text enclosed in ' or " gets one more pair), then blank protection
// (a text with white space at either end is enclosed in double quotes).
std::u16string ProtectProfileText(std::u16string_view text);

// The reading rule: spaces and tabs at both ends removed, then one enclosing pair of equal
// quotes; at most kProfileValueLimit characters.
std::u16string ReadProfileText(std::u16string_view raw);

// Folds each CR LF into `lineBreak` (0 for single-line fields, which have none). A text
// that this would not give back unchanged (a lone CR or LF, a line break in a single-line
// field, the fold character itself, a zero or the escape character U+0010) is instead
// written as U+0010 followed by the text with CR, LF, zero and U+0010 escaped, so that
// every text survives a round trip while ordinary texts keep the plain format.
std::u16string FoldLineBreaks(std::u16string_view text, char16_t lineBreak);
std::u16string UnfoldLineBreaks(std::u16string_view stored, char16_t lineBreak);

// A decimal integer with an optional sign, or "0x"/"0X" and up to eight hexadecimal
// digits (taken as 32 bits); nothing for any other text or a number out of range.
std::optional<std::int32_t> ParseProfileInteger(std::u16string_view text);

}  // namespace tessaro

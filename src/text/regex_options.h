// SPDX-License-Identifier: GPL-3.0-or-later
// The start options of every regular-expression engine: six modifier flags and four
// character sets, plus the user notation in which the settings dialog types the sets.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tessaro {

// The default texts of the three character-set fields of the settings dialog.
inline constexpr std::u16string_view kDefaultWordField =
    u"0123456789a\u00e4bcdefghijklmno\u00f6pqrs\u00dftu\u00fcvwxyzA\u00c4BCDEFGHIJKLMNO\u00d6PQRSTU"
    u"\u00dcVWXYZ_";
inline constexpr std::u16string_view kDefaultSpaceField = u" $9$A$D$C";
inline constexpr std::u16string_view kDefaultLineSeparatorsField = u"$d$a$b$c$85$2028$2029";

// What every new engine starts from. Sets are plain strings used for membership only.
struct RegexOptions {
    bool i = false;  // case-insensitive (ASCII letters only)
    bool r = true;   // Russian alphabet ranges in classes
    bool s = true;   // "." matches line separators too
    bool g = true;   // quantifiers greedy unless marked
    bool m = false;  // "^" and "$" at line breaks too
    bool x = false;  // kept for the configuration; engines start every expression with x off
    std::u16string WordSet{kDefaultWordField};
    std::u16string SpaceSet{u" \t\n\r\f"};
    std::u16string LineSeparatorSet{u"\r\n\u000b\f\u0085\u2028\u2029"};
    std::u16string LinePairedSeparator{u"\r\n"};
};

// The standard integer-conversion failure; its text is shown to the user as it stands.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Converts a character-set field from the user notation (literal text up to the first "$",
// then "$"-separated hexadecimal codes, "$$" adding one "$") to the set it denotes.
// Throws ConversionError "'$<piece>' is not a valid integer value" for a piece that is not a
// hexadecimal number fitting in 32 bits.
std::u16string StringUserToComp(std::u16string_view text);

}  // namespace tessaro

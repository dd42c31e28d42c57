// SPDX-License-Identifier: GPL-3.0-or-later
// Full Unicode case folding: the form in which texts that differ only in case are equal
// ("Straße", "STRASSE" and "STRAẞE" all fold to "strasse"). Folding looks at one code point
// at a time and never at its neighbours; the Turkic i is folded as everywhere else.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tessaro {

struct CaseFoldEntry {
    char32_t from;
    char16_t to[3];
    std::uint8_t size;  // code units of `to` in use
};

// Every code point whose folded form differs from itself, sorted by code point (generated).
// A code point of the Basic Multilingual Plane folds to one to three code units of that
// plane; a supplementary one to one other supplementary code point.
std::span<const CaseFoldEntry> CaseFoldEntries();

// The one code unit a code unit of the Basic Multilingual Plane folds to. Surrogates, units
// that fold to themselves and units that fold to several (see FoldsToSeveral) give themselves.
char16_t FoldedUnit(char16_t unit);

// Whether the unit folds to two or three code units (ß to "ss", ﬁ to "fi", İ to "i̇").
bool FoldsToSeveral(char16_t unit);

// The folded form of one code unit of the Basic Multilingual Plane: one to three units, in
// storage that lives as long as the program. A surrogate gives itself.
std::u16string_view FoldedUnits(char16_t unit);

// The folded form of a supplementary code point (itself when it has none).
char32_t FoldedSupplementary(char32_t code);

// Appends the folded form of text to out. Surrogate pairs fold as their code point; a lone
// surrogate stays as it is.
void AppendFoldedCase(std::u16string_view text, std::u16string& out);

std::u16string FoldCase(std::u16string_view text);

inline bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
inline bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace tessaro

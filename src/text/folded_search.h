// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a text contains a search regardless of case, by full Unicode case folding:
// "strasse" is found in "Straße" and "STRAẞE", "ss" in "ß", "k" in the Kelvin sign. A finder
// is made once per search and then asked about many texts (the rows of the history), so it
// works out beforehand which code units the scan has to look for.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tessaro {

// What the vector scan compares, worked out by FoldedFinder: up to four code units that may
// stand at each of two places of the search (unused places repeat the first), how far apart
// the places are, and which units that fold to several units (ß) may belong to a match.
struct FoldedScanUnits {
    enum class Several { None, Units, Range };
    std::array<char16_t, 4> first{};
    std::array<char16_t, 4> second{};
    std::ptrdiff_t distance = 0;
    Several severalKind = Several::None;
    // Several::Units: the units themselves; Several::Range: the lowest and the highest.
    std::array<char16_t, 4> several{};
};

class FoldedFinder {
public:
    explicit FoldedFinder(std::u16string_view search);

    // The folded search; empty for an empty search.
    const std::u16string& folded() const { return m_folded; }
    bool empty() const { return m_folded.empty(); }

    // Whether the folded text contains the folded search; always true for an empty search.
    bool foundIn(std::u16string_view text) const;

private:
    // Whether a match covers position p of the text, found there by the scan.
    bool candidateAt(std::u16string_view text, std::size_t p, std::u16string& scratch) const;
    // Whether the text, folded from position start on, begins with the folded search, every
    // unit on the way folding to one (a unit that folds to several is left to windowAt).
    bool sameFoldedAt(std::u16string_view text, std::size_t start) const;
    // Whether a match lies within reach of position p: folds the units around it.
    bool windowAt(std::u16string_view text, std::size_t p, std::u16string& scratch) const;
    // Folds the whole text piece by piece: for searches with lone surrogates.
    bool foldedContains(std::u16string_view text) const;
    bool isSeveral(char16_t unit) const;

    std::u16string m_folded;
    // Otherwise the text is folded piece by piece.
    bool m_scan = false;
    // Position in the search of the first of the two places the scan compares.
    std::size_t m_anchor = 0;
    FoldedScanUnits m_units;
    // Units that fold to several units sharing one with the search, sorted.
    std::vector<char16_t> m_several;
};

}  // namespace tessaro

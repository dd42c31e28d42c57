// SPDX-License-Identifier: GPL-3.0-or-later
// Case folding by two tables over all 65,536 code units, built once from the generated list:
// a lookup per unit, so that folding a long text costs about as much as copying it.
#include "text/case_folding.h"

#include <algorithm>
#include <array>
#include <memory>

namespace tessaro {
namespace {

struct Tables {
    // The single unit each unit folds to (itself where it folds to several).
    std::array<char16_t, 0x10000> single{};
    // For units that fold to several: 1 + the index of their entry; 0 for all others.
    std::array<std::uint16_t, 0x10000> several{};
};

const Tables& tables() {
    static const std::unique_ptr<const Tables> built = [] {
        auto t = std::make_unique<Tables>();
        for (std::size_t i = 0; i < t->single.size(); ++i) t->single[i] = static_cast<char16_t>(i);
        const auto entries = CaseFoldEntries();
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const CaseFoldEntry& entry = entries[i];
            if (entry.from > 0xFFFF) break;
            if (entry.size == 1) {
                t->single[entry.from] = entry.to[0];
            } else {
                t->several[entry.from] = static_cast<std::uint16_t>(i + 1);
            }
        }
        return t;
    }();
    return *built;
}

}  // namespace

char16_t FoldedUnit(char16_t unit) { return tables().single[unit]; }

bool FoldsToSeveral(char16_t unit) { return tables().several[unit] != 0; }

std::u16string_view FoldedUnits(char16_t unit) {
    const Tables& t = tables();
    if (const std::uint16_t index = t.several[unit]) {
        const CaseFoldEntry& entry = CaseFoldEntries()[index - 1u];
        return {entry.to, entry.size};
    }
    return {&t.single[unit], 1};
}

char32_t FoldedSupplementary(char32_t code) {
    const auto entries = CaseFoldEntries();
    const auto it = std::lower_bound(entries.begin(), entries.end(), code,
                                     [](const CaseFoldEntry& entry, char32_t c) { return entry.from < c; });
    if (it == entries.end() || it->from != code) return code;
    return static_cast<char32_t>(0x10000 + (((it->to[0] - 0xD800u) << 10) | (it->to[1] - 0xDC00u)));
}

void AppendFoldedCase(std::u16string_view text, std::u16string& out) {
    const Tables& t = tables();
    out.reserve(out.size() + text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            const char32_t code = 0x10000 + ((static_cast<char32_t>(unit - 0xD800) << 10) | (text[i + 1] - 0xDC00u));
            const char32_t folded = FoldedSupplementary(code) - 0x10000;
            out += static_cast<char16_t>(0xD800 + (folded >> 10));
            out += static_cast<char16_t>(0xDC00 + (folded & 0x3FF));
            ++i;
        } else if (const std::uint16_t index = t.several[unit]) {
            const CaseFoldEntry& entry = CaseFoldEntries()[index - 1u];
            out.append(entry.to, entry.size);
        } else {
            out += t.single[unit];
        }
    }
}

std::u16string FoldCase(std::u16string_view text) {
    std::u16string folded;
    AppendFoldedCase(text, folded);
    return folded;
}

}  // namespace tessaro

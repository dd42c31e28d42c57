// SPDX-License-Identifier: GPL-3.0-or-later
// Case folding by the Unicode rules, and the finder against the plain reference (fold both,
// then find) on random texts made of the characters that make folding hard: units that fold
// to several, several units that fold to one, surrogate pairs and lone surrogates.
#include "text/folded_search.h"

#include <gtest/gtest.h>

#include <random>

#include "text/case_folding.h"

namespace tessaro {
namespace {

bool reference(std::u16string_view text, std::u16string_view search) {
    return FoldCase(text).find(FoldCase(search)) != std::u16string::npos;
}

TEST(CaseFolding, FoldsAsCaseFoldingTxtSays) {
    const struct {
        std::u16string_view text;
        std::u16string_view folded;
    } cases[] = {
        {u"Straße STRASSE", u"strasse strasse"},
        {u"STRA\u1E9EE", u"strasse"},  // capital sharp s
        {u"ÄÖÜ äöü Éé", u"äöü äöü éé"},
        {u"\uFB01\uFB03", u"fiffi"},  // the ligatures fi and ffi
        {u"\u0130", u"i\u0307"},  // capital I with dot: i and a combining dot
        {u"\u0131", u"\u0131"},  // dotless i has no folding outside Turkish
        {u"ΣΊΣΥΦΟΣ ς", u"σίσυφοσ σ"},  // both sigmas fold to the same
        {u"\u212A\u212B", u"k\u00E5"},  // Kelvin and Ångström signs
        {u"\u0149", u"\u02BCn"},
        {u"\u0390", u"\u03B9\u0308\u0301"},  // three units from one
        {u"\u01C5", u"\u01C6"},  // title case Dž
        {u"\U00010400", u"\U00010428"},  // Deseret, beyond the Basic Multilingual Plane
        {u"\U0001F600", u"\U0001F600"},
        {u"a\xD800" u"B\xDC00", u"a\xD800" u"b\xDC00"},  // lone surrogates stay
        {u"", u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FoldCase(c.text), c.folded) << ::testing::PrintToString(std::u16string(c.text));
    }
}

TEST(CaseFolding, TheGeneratedTableHasTheShapeTheSearchReliesOn) {
    const auto entries = CaseFoldEntries();
    ASSERT_GT(entries.size(), 1400u);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const CaseFoldEntry& entry = entries[i];
        const auto code = static_cast<unsigned>(entry.from);
        if (i > 0) {
            ASSERT_LT(entries[i - 1].from, entry.from) << "sorted, no duplicates";
        }
        ASSERT_GE(entry.size, 1);
        ASSERT_LE(entry.size, 3);
        if (entry.from > 0xFFFF) {
            ASSERT_EQ(entry.size, 2) << std::hex << code << " folds to one supplementary code point";
            ASSERT_TRUE(IsHighSurrogate(entry.to[0]) && IsLowSurrogate(entry.to[1]));
        } else {
            for (std::size_t j = 0; j < entry.size; ++j) {
                ASSERT_FALSE(IsHighSurrogate(entry.to[j]) || IsLowSurrogate(entry.to[j])) << std::hex << code;
            }
        }
    }
}

TEST(FoldedFinder, FindsAcrossCaseAndFoldedForms) {
    const struct {
        std::u16string_view text;
        std::u16string_view search;
        bool found;
    } cases[] = {
        {u"Hello World", u"WORLD", true},
        {u"Hello World", u"worlds", false},
        {u"Ärger im Büro", u"äRGER", true},
        {u"Straße", u"STRASSE", true},
        {u"STRASSE", u"straße", true},
        {u"Masse", u"ß", true},  // ß folds to "ss"
        {u"Straße", u"sse", true},  // a match that begins inside the folded ß
        {u"Straße", u"as", true},  // ... and one that ends inside it
        {u"Straße", u"ase", false},
        {u"\uFB01nal", u"FI", true},
        {u"\uFB01nal", u"inal", true},
        {u"5 \u212A", u"5 k", true},
        {u"ΣΊΣΥΦΟΣ", u"σίσυφος", true},
        {u"\u0130stanbul", u"i\u0307stanbul", true},
        {u"\u0130stanbul", u"istanbul", false},  // the dot stays between i and s
        {u"abc", u"", true},
        {u"ab", u"abc", false},
        {u"", u"a", false},
        {u"\U00010400\U00010401", u"\U00010428", true},
        {u"x\U0001F600y", u"\U0001F600", true},
        {u"x\U0001F600y", u"\U0001F601", false},
        {u"a\xD800z", u"\xD800Z", true},  // a search with a lone surrogate
        {u"\U00010400", u"\xD801", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FoldedFinder(c.search).foundIn(c.text), c.found)
            << ::testing::PrintToString(std::u16string(c.text)) << " / "
            << ::testing::PrintToString(std::u16string(c.search));
    }
}

TEST(FoldedFinder, AgreesWithFoldingEverythingOnRandomTexts) {
    // Characters with every kind of folding, and plain letters to fill the rest.
    const std::u16string pieces[] = {
        u"a", u"A", u"b", u"e", u"s", u"S", u"ß", u"\u1E9E", u"\u017F", u"k", u"K", u"\u212A",
        u"f", u"i", u"I", u"\uFB01", u"\uFB00", u"\uFB03", u"\u0130", u"\u0131", u"\u0307",
        u"ι", u"Ι", u"\u0345", u"\u1FB3", u"\u0390", u"\u0308", u"\u0301", u"σ", u"ς", u"Σ",
        u"\u02BC", u"\u0149", u"n", u" ", u"0", u"\U00010400", u"\U00010428", u"\U0001F600",
        u"\xD800", u"\xDC00", u"x", u"y", u"z", u"t", u"o"};
    std::mt19937 random(20261209);
    const auto pick = [&](std::size_t size) { return static_cast<std::size_t>(random() % size); };
    const auto randomText = [&](std::size_t pieceCount) {
        std::u16string text;
        for (std::size_t i = 0; i < pieceCount; ++i) text += pieces[pick(std::size(pieces))];
        return text;
    };
    int found = 0;
    for (int round = 0; round < 20000; ++round) {
        // Long enough for the vector blocks in most rounds, and short ones for the edges.
        const std::u16string text = randomText(round % 5 == 0 ? pick(12) : 20 + pick(180));
        std::u16string search;
        if (round % 3 != 0 && !text.empty()) {
            // A piece of the text, folded or in another case, so that many rounds find it.
            const std::size_t from = pick(text.size());
            search = text.substr(from, 1 + pick(8));
            if (round % 2) search = FoldCase(search);
        } else {
            search = randomText(1 + pick(4));
        }
        const bool expected = reference(text, search);
        found += expected;
        ASSERT_EQ(FoldedFinder(search).foundIn(text), expected)
            << "round " << round << ": text " << ::testing::PrintToString(std::u16string(text)) << " search "
            << ::testing::PrintToString(search);
    }
    EXPECT_GT(found, 5000) << "the rounds find something often enough to test the matches too";
    EXPECT_LT(found, 18000) << "and miss often enough to test the misses";
}

TEST(FoldedFinder, FindsAtEveryPlaceOfALongText) {
    // A match at each position of a text longer than several vector blocks: the blocks,
    // their seams and the scalar ends all report it.
    const std::u16string filler(200, u'e');
    const struct {
        std::u16string_view search;
        std::u16string_view inText;
    } cases[] = {{u"SS", u"ß"}, {u"Zeta", u"zETA"}, {u"akb", u"A\u212AB"}, {u"\U00010428q", u"\U00010400Q"}};
    for (const auto& c : cases) {
        const FoldedFinder finder(c.search);
        for (std::size_t at = 0; at <= filler.size(); ++at) {
            std::u16string text = filler;
            text.insert(at, c.inText);
            ASSERT_TRUE(finder.foundIn(text)) << "at " << at;
        }
        EXPECT_FALSE(finder.foundIn(filler));
    }
}

}  // namespace
}  // namespace tessaro

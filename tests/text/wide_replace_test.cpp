// SPDX-License-Identifier: GPL-3.0-or-later
// Plain replace-all, exact and ignoring case: overlap, rescanning, untouched case, the
// upper-case table, and the vector scan against a simple reference on random texts.
#include "text/wide_replace.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "text/upper_case_table.h"

namespace tessaro {
namespace {

// The plain reference: left to right with std::u16string_view::find.
std::u16string reference(std::u16string_view text, std::u16string_view search,
                         std::u16string_view replacement, bool ignoreCase) {
    if (text.empty() || search.empty()) return std::u16string(text);
    std::u16string upperText(text);
    std::u16string upperSearch(search);
    if (ignoreCase) {
        for (char16_t& c : upperText) c = UpperCaseUnit(c);
        for (char16_t& c : upperSearch) c = UpperCaseUnit(c);
    }
    std::u16string out;
    std::size_t from = 0;
    for (std::size_t hit = upperText.find(upperSearch); hit != std::u16string::npos;
         hit = upperText.find(upperSearch, from)) {
        out.append(text.substr(from, hit - from)).append(replacement);
        from = hit + search.size();
    }
    out.append(text.substr(from));
    return out;
}

TEST(WideReplaceAll, ExactLeftToRightWithoutOverlapOrRescan) {
    EXPECT_EQ(WideReplaceAll(u"Aaa", u"a", u"b"), u"Abb");
    EXPECT_EQ(WideReplaceAll(u"aaa", u"aa", u"b"), u"ba");
    EXPECT_EQ(WideReplaceAll(u"abab", u"ab", u"abab"), u"abababab") << "replacement not rescanned";
    EXPECT_EQ(WideReplaceAll(u"a\r\nb\r\n", u"\r\n", u" "), u"a b ");
    EXPECT_EQ(WideReplaceAll(u"xyz", u"xyz", u""), u"");
    EXPECT_EQ(WideReplaceAll(u"xy", u"xyz", u"-"), u"xy") << "search longer than the text";
    EXPECT_EQ(WideReplaceAll(u"", u"a", u"b"), u"");
    EXPECT_EQ(WideReplaceAll(u"abc", u"", u"b"), u"abc");
    EXPECT_EQ(WideReplaceAll(u"abc", u"b", u"b"), u"abc");
    // Surrogate halves are code units like any other.
    EXPECT_EQ(WideReplaceAll(u"a\U0001F600b", u"\U0001F600", u"!"), u"a!b");
}

TEST(WideReplaceAll, IntoReportsWhetherAnythingChangedAndReusesTheBuffer) {
    std::u16string out = u"untouched";
    EXPECT_FALSE(WideReplaceAllInto(u"abc", u"x", u"y", out));
    EXPECT_EQ(out, u"untouched");
    EXPECT_FALSE(WideReplaceAllInto(u"abc", u"b", u"b", out));
    out.reserve(1000);
    const char16_t* buffer = out.data();
    EXPECT_TRUE(WideReplaceAllInto(u"abc", u"b", u"XYZ", out));
    EXPECT_EQ(out, u"aXYZc");
    EXPECT_EQ(out.data(), buffer);
}

TEST(WideReplaceAllIgnoreCase, KeepsTheCaseOfUntouchedText) {
    EXPECT_EQ(WideReplaceAllIgnoreCase(u"Aaa", u"a", u"b"), u"bbb");
    EXPECT_EQ(WideReplaceAllIgnoreCase(u"AxBX", u"x", u"y"), u"AyBy");
    EXPECT_EQ(WideReplaceAllIgnoreCase(u"aAa", u"AA", u"b"), u"ba");
    EXPECT_EQ(WideReplaceAllIgnoreCase(u"Straße STRASSE", u"straße", u"S"), u"S STRASSE")
        << "sharp s has no one-to-one upper case and matches only itself";
    EXPECT_EQ(WideReplaceAllIgnoreCase(u"K\u00f6ln K\u00d6LN k\u00f6ln", u"K\u00d6LN", u"Cologne"),
              u"Cologne Cologne Cologne");
    EXPECT_EQ(WideReplaceAllIgnoreCase(u"\u03c3\u03c2\u03a3", u"\u03a3", u"s"), u"sss")
        << "both small sigmas upper-case to capital sigma";
    EXPECT_EQ(WideReplaceAllIgnoreCase(u"\u0430\u0411\u0432", u"\u0431", u"-"), u"\u0430-\u0432");
    EXPECT_EQ(WideReplaceAllIgnoreCase(u"abc", u"", u"x"), u"abc");
    // Equal search and replacement still give the replacement's case.
    EXPECT_EQ(WideReplaceAllIgnoreCase(u"ABC", u"b", u"b"), u"AbC");
}

TEST(UpperCaseTable, OneToOneAndAtMostFourCodeUnitsPerUpperCase) {
    EXPECT_EQ(UpperCaseUnit(u'a'), u'A');
    EXPECT_EQ(UpperCaseUnit(u'A'), u'A');
    EXPECT_EQ(UpperCaseUnit(u'\u00e4'), u'\u00c4');
    EXPECT_EQ(UpperCaseUnit(u'\u00df'), u'\u00df') << "sharp s becomes two letters: not mapped";
    EXPECT_EQ(UpperCaseUnit(u'\u0131'), u'I');
    EXPECT_EQ(UpperCaseUnit(u'\u044f'), u'\u042f');
    EXPECT_EQ(UpperCaseUnit(u'\u1f00'), u'\u1f08');
    EXPECT_EQ(UpperCaseUnit(u'\xd800'), u'\xd800');
    // The scan holds at most four candidates per position.
    std::map<char16_t, int> preimages;
    for (std::uint32_t c = 0; c < 0x10000; ++c)
        ++preimages[UpperCaseUnit(static_cast<char16_t>(c))];
    for (const auto& [upper, count] : preimages) EXPECT_LE(count, 4) << int(upper);
    char16_t previous = 0;
    for (const UpperCasePair& pair : UpperCasePairs()) {
        EXPECT_LT(previous, pair.from);
        previous = pair.from;
    }
}

TEST(WideReplaceAll, MatchesTheReferenceOnRandomTexts) {
    // Few letters, so that hits are dense, overlap and fall on every lane of a vector block.
    const std::u16string alphabet = u"aAbB\u03c3\u03c2\u03a3\u0131I\r\n";
    std::mt19937 random(20261209);
    const auto pick = [&](std::size_t length) {
        std::u16string s;
        for (std::size_t i = 0; i < length; ++i) s += alphabet[random() % alphabet.size()];
        return s;
    };
    for (int round = 0; round < 3000; ++round) {
        const std::u16string text = pick(random() % 70);
        const std::u16string search = pick(1 + random() % 4);
        const std::u16string replacement = pick(random() % 5);
        ASSERT_EQ(WideReplaceAll(text, search, replacement),
                  search == replacement ? text : reference(text, search, replacement, false))
            << round;
        ASSERT_EQ(WideReplaceAllIgnoreCase(text, search, replacement),
                  reference(text, search, replacement, true))
            << round;
    }
}

}  // namespace
}  // namespace tessaro

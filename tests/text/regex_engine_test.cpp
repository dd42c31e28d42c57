// SPDX-License-Identifier: GPL-3.0-or-later
// What expressions match: anchors around line breaks, classes, quantifiers under the g flag,
// groups and back-references, the search sequence of MatchNext, and template expansion.
#include <gtest/gtest.h>

#include "text/regex_test_support.h"

namespace tessaro {
namespace {

using test::EngineFixture;
using test::Hit;
using Hits = std::vector<Hit>;

TEST(RegexSearch, EmptyMatchesStepOnePositionFurther) {
    EngineFixture f;
    EXPECT_EQ(f.all(u"a*", u"baaac"), (Hits{{1, 0}, {2, 3}, {5, 0}, {6, 0}}));
    EXPECT_EQ(f.all(u"x*", u"abc"), (Hits{{1, 0}, {2, 0}, {3, 0}, {4, 0}}));
    EXPECT_EQ(f.all(u"x*", u""), (Hits{{1, 0}}));
    EXPECT_EQ(f.all(u"a|", u"ab"), (Hits{{1, 1}, {2, 0}, {3, 0}}));
}

TEST(RegexSearch, AlternativesAreTriedInOrderNotLongestFirst) {
    EngineFixture f;
    EXPECT_EQ(f.first(u"a|ab", u"ab"), u"a");
    EXPECT_EQ(f.first(u"(a|ab)c", u"abc"), u"abc");
    EXPECT_EQ(f.first(u"abc*", u"abccc"), u"abccc");
    EXPECT_EQ(f.first(u"abc*", u"ababc"), u"ab");
}

TEST(RegexAnchors, DollarWithoutMultiLineIsTheVeryEnd) {
    EngineFixture f;
    EXPECT_EQ(f.all(u"a$", u"a\r\n"), Hits{});
    EXPECT_EQ(f.all(u"(?m)a$", u"a\r\n"), (Hits{{1, 1}}));
    EXPECT_EQ(f.all(u"^b", u"a\nb"), Hits{});
    EXPECT_EQ(f.all(u"\\Ab|b\\Z", u"b\nb\nb"), (Hits{{1, 1}, {5, 1}}));
    EXPECT_EQ(f.all(u"(?m)\\Ab", u"a\nb"), Hits{});
}

TEST(RegexAnchors, MultiLineSeesNoBreakInsideCrLf) {
    EngineFixture f;
    const std::u16string text = u"x\r\ny";
    EXPECT_EQ(f.all(u"(?m)^", text), (Hits{{1, 0}, {4, 0}}));
    EXPECT_EQ(f.all(u"(?m)$", text), (Hits{{2, 0}, {5, 0}}));
    // Every single separator of the set counts, the pair only as a whole.
    EXPECT_EQ(f.all(u"(?m)^.", u"a\rb\nc\u2028d"), (Hits{{1, 1}, {3, 1}, {5, 1}, {7, 1}}));
    EXPECT_EQ(f.all(u"(?m)^", u"a\n"), (Hits{{1, 0}, {3, 0}}));
}

TEST(RegexAnchors, WithoutLineSeparatorsOnlyThePairBreaksLines) {
    RegexOptions options;
    options.LineSeparatorSet.clear();
    EngineFixture f(options);
    EXPECT_EQ(f.all(u"(?m)^.", u"a\nb\r\nc"), (Hits{{1, 1}, {6, 1}}));
    // The CR of the pair stops ".", a lone LF does not.
    EXPECT_EQ(f.all(u"(?-s).+", u"ab\ncd\r\ne"), (Hits{{1, 5}, {7, 2}}));
}

TEST(RegexDot, WithoutSingleLineStopsAtSeparatorsAndTheCrOfAPair) {
    EngineFixture f;
    EXPECT_EQ(f.first(u".+", u"ab\r\ncd"), u"ab\r\ncd");
    EXPECT_EQ(f.all(u"(?-s).+", u"ab\r\ncd\u0085e"), (Hits{{1, 2}, {5, 2}, {8, 1}}));
    EXPECT_EQ(f.all(u"(?-s).{2}", u"a\rbc"), (Hits{{3, 2}}));
}

TEST(RegexCase, OnlyAsciiLettersFold) {
    EngineFixture f;
    EXPECT_EQ(f.first(u"(?i)\u00e4", u"\u00c4"), u"<none>");
    EXPECT_EQ(f.first(u"(?i)a", u"A"), u"A");
    EXPECT_EQ(f.first(u"(?i)[^a]", u"Ab"), u"b");
    EXPECT_EQ(f.first(u"(?i)[x-z]+", u"aXyZ"), u"XyZ");
    EXPECT_EQ(f.first(u"(?i)\u0436", u"\u0416"), u"<none>");
    EXPECT_EQ(f.first(u"(?i)(ab)\\1", u"abAB"), u"abAB");
    EXPECT_EQ(f.first(u"(ab)\\1", u"abAB"), u"<none>");
    EXPECT_EQ(f.first(u"(?i)ABC", u"xaBc"), u"aBc");
}

TEST(RegexCase, ModifiersLastToTheEndOfTheirGroupAndCoverLaterAlternatives) {
    EngineFixture f;
    EXPECT_EQ(f.first(u"(a(?i)b|c)", u"C"), u"C");
    EXPECT_EQ(f.first(u"(a(?i)b|c)", u"aB"), u"aB");
    EXPECT_EQ(f.first(u"((?i)[a-z])\\s[a-z]", u"A B"), u"<none>");
    EXPECT_EQ(f.first(u"((?i)[a-z])\\s[a-z]", u"A b"), u"A b");
    EXPECT_EQ(f.first(u"[a-z]\\s(?-i)[a-z]", u"a b"), u"a b");
    EXPECT_EQ(f.first(u"(?i)a(?-i)a", u"AA"), u"<none>");
    EXPECT_EQ(f.first(u"(?ms-g)^.+$", u"ab\ncd"), u"ab");
}

TEST(RegexEscapes, WordSpaceAndDigitFollowTheSets) {
    EngineFixture f;
    EXPECT_EQ(f.first(u"\\w+", u"\u00e9gal \u00e4rger"), u"gal");
    EXPECT_EQ(f.first(u"\\w+", u"Stra\u00dfe!"), u"Stra\u00dfe");
    EXPECT_EQ(f.first(u"\\s+", u"a\u000b \t\r\n\fb"), u" \t\r\n\f");
    EXPECT_EQ(f.first(u"\\D\\W\\S", u"1a!x#-y"), u"a!x");
    EXPECT_EQ(f.first(u"\\d\\W\\S", u"1a!x1#-y"), u"1#-");
    EXPECT_EQ(f.all(u"\\bab\\b", u"ab cab ab_ ab"), (Hits{{1, 2}, {12, 2}}));
    EXPECT_EQ(f.all(u"\\B", u"ab c"), (Hits{{2, 0}}));
    EXPECT_EQ(f.first(u"\\x41\\x{42}\\x{0043}\\t", u"ABC\t"), u"ABC\t");
    EXPECT_EQ(f.first(u"\\.\\\\\\(\\{\\/\\0\\q", u".\\({/0q"), u".\\({/0q");
    EXPECT_EQ(f.first(u"\\a\\e\\f\\n\\r", u"\a\x1b\f\n\r"), u"\a\x1b\f\n\r");

    RegexOptions options;
    options.WordSet = u"xy";
    options.SpaceSet.clear();
    EngineFixture g(options);
    EXPECT_EQ(g.first(u"\\w+", u"abxyx"), u"xyx");
    EXPECT_EQ(g.first(u"\\s", u" \t"), u"<none>");
    EXPECT_EQ(g.all(u"\\b", u"axb"), (Hits{{2, 0}, {3, 0}}));
}

TEST(RegexClasses, MembersRangesAndDashes) {
    EngineFixture f;
    EXPECT_EQ(f.first(u"[]a]+", u"x]a]"), u"]a]");
    EXPECT_EQ(f.first(u"[^]a]+", u"]abc]"), u"bc");
    EXPECT_EQ(f.first(u"[-a]+", u"x-a-"), u"-a-");
    EXPECT_EQ(f.first(u"[a-]+", u"x-a-"), u"-a-");
    EXPECT_EQ(f.first(u"[a-c-0]+", u"x-b0d"), u"-b0");
    EXPECT_EQ(f.first(u"[a-\\d]+", u"x-a5b"), u"-a5");
    EXPECT_EQ(f.first(u"[a-\\D]+", u"x-aDb"), u"-aD");
    EXPECT_EQ(f.first(u"[\\d-z]+", u"y5-z"), u"5-z");
    EXPECT_EQ(f.first(u"[\\D\\W\\S\\b]+", u"xDWSbq"), u"DWSb");
    EXPECT_EQ(f.first(u"[\\x41-\\x{43}\\t]+", u"zAB\tC"), u"AB\tC");
    EXPECT_EQ(f.first(u"[\\w]+", u"!\u00f6\u00df_"), u"\u00f6\u00df_");
    EXPECT_EQ(f.first(u"[.^$|()*]+", u"a.^$|()*b"), u".^$|()*");
    EXPECT_EQ(f.first(u"[^a]", u"a"), u"<none>");
    EXPECT_EQ(f.first(u"a[^b]", u"a"), u"<none>");
}

TEST(RegexClasses, RussianRangesWithR) {
    EngineFixture f;
    EXPECT_EQ(f.first(u"[\u0430-\u044f]+", u"\u0451\u0436"), u"\u0451\u0436");
    EXPECT_EQ(f.first(u"(?-r)[\u0430-\u044f]+", u"\u0451\u0436"), u"\u0436");
    EXPECT_EQ(f.first(u"[\u0410-\u042f]+", u"\u0401\u0416\u0436"), u"\u0401\u0416");
    EXPECT_EQ(f.first(u"[\u0430-\u042f]+", u"x\u0401\u0451\u0416\u0436"),
              u"\u0401\u0451\u0416\u0436");
}

TEST(RegexQuantifiers, GreedyLazyAndTheGFlag) {
    EngineFixture f;
    EXPECT_EQ(f.first(u"(?-g)a+", u"aaa"), u"a");
    EXPECT_EQ(f.first(u"(?-g)a+?", u"aaa"), u"a");
    EXPECT_EQ(f.first(u"a+?", u"aaa"), u"a");
    EXPECT_EQ(f.first(u"a+", u"aaa"), u"aaa");
    EXPECT_EQ(f.first(u"(?-g)(ab)*c", u"ababc"), u"ababc");
    EXPECT_EQ(f.first(u"(?-g)<.*>", u"<a><b>"), u"<a>");
    EXPECT_EQ(f.first(u"<.*>", u"<a><b>"), u"<a><b>");
    EXPECT_EQ(f.first(u"a{2,}", u"aaaa"), u"aaaa");
    EXPECT_EQ(f.first(u"a{2,3}", u"aaaa"), u"aaa");
    EXPECT_EQ(f.first(u"a{2,3}?", u"aaaa"), u"aa");
    EXPECT_EQ(f.first(u"a{0}b", u"ab"), u"b");
    EXPECT_EQ(f.first(u"a{,2}", u"aa{,2}"), u"a{,2}");
    EXPECT_EQ(f.first(u"a{x}", u"a{x}"), u"a{x}");
    EXPECT_EQ(f.first(u"{2}a", u"{2}a"), u"{2}a");
    EXPECT_EQ(f.first(u"a}]", u"a}]"), u"a}]");

    RegexOptions lazy;
    lazy.g = false;
    EngineFixture g(lazy);
    EXPECT_EQ(g.first(u"a+", u"aaa"), u"a");
    EXPECT_EQ(g.first(u"(?g)a+", u"aaa"), u"aaa");
}

TEST(RegexQuantifiers, RepeatedGroupsBacktrackIntoEarlierRepetitions) {
    EngineFixture f;
    EXPECT_EQ(f.first(u"(a|ab)*c", u"abababc"), u"abababc");
    EXPECT_EQ(f.first(u"(a|ab){2}c", u"aabc"), u"aabc");
    EXPECT_EQ(f.first(u"(ab|a)+?b", u"aab"), u"aab");
    EXPECT_EQ(f.first(u"(x+x+)+y", u"xxxxxxxxxxxxxxxxxxxxxxxxy"), u"xxxxxxxxxxxxxxxxxxxxxxxxy");
}

TEST(RegexGroups, SlotsHoldTheLastRepetitionAndUnsetGroups) {
    EngineFixture f;
    TRegexEngine& e = f.engine(u"(a)|b");
    ASSERT_TRUE(e.MatchFirst(u"b"));
    EXPECT_EQ(e.MatchStart(1), -1);
    EXPECT_EQ(e.MatchLength(1), -1);
    EXPECT_EQ(e.ExpandTemplate(u"[$1]"), u"[]");
    EXPECT_EQ(e.MatchStart(-1), -1);
    EXPECT_EQ(e.MatchStart(15), -1);
    // Each engine() call below replaces the fixture's engine.

    TRegexEngine& repeated = f.engine(u"(\\w)+");
    ASSERT_TRUE(repeated.MatchFirst(u" xyz"));
    EXPECT_EQ(repeated.MatchStart(1), 4);
    EXPECT_EQ(repeated.MatchLength(1), 1);

    TRegexEngine& given = f.engine(u"(a|b)*b");
    ASSERT_TRUE(given.MatchFirst(u"abab"));
    EXPECT_EQ(given.MatchStart(1), 3);  // the last repetition kept after giving one back

    TRegexEngine& none = f.engine(u"(a)*b");
    ASSERT_TRUE(none.MatchFirst(u"b"));
    EXPECT_EQ(none.MatchStart(1), -1);

    TRegexEngine& nested = f.engine(u"((a)|b)+");
    ASSERT_TRUE(nested.MatchFirst(u"ab"));
    EXPECT_EQ(nested.MatchStart(1), 2);
    EXPECT_EQ(nested.MatchStart(2), 1);

    TRegexEngine& unused = f.engine(u"a");
    EXPECT_EQ(unused.MatchStart(0), -1);
}

TEST(RegexBackrefs, RepeatWholeCopiesAndFailWhileUnset) {
    EngineFixture f;
    EXPECT_EQ(f.first(u"(ab)\\1*", u"abababx"), u"ababab");
    EXPECT_EQ(f.first(u"(ab)\\1*ab", u"ababab"), u"ababab");
    EXPECT_EQ(f.first(u"(ab)\\1{2}", u"abababab"), u"ababab");
    EXPECT_EQ(f.first(u"(ab)\\1*?x", u"ababx"), u"ababx");
    EXPECT_EQ(f.first(u"(a)?\\1b", u"b"), u"<none>");
    EXPECT_EQ(f.first(u"(a)\\10", u"aa0"), u"aa0");
    EXPECT_EQ(f.first(u"(a*)\\1*b", u"aab"), u"aab");
    EXPECT_EQ(f.first(u"(a*)(\\1)*b", u"b"), u"b");
    EXPECT_EQ(f.first(u"(a*)(\\1){3,}b", u"b"), u"b");
}

TEST(RegexExtended, BlanksAndCommentsAreSkipped) {
    EngineFixture f;
    EXPECT_EQ(f.first(u"(?x) a b # comment\r\n c", u"abc"), u"abc");
    EXPECT_EQ(f.first(u"(?x)a\\ b\\#", u"a b#"), u"a b#");
    EXPECT_EQ(f.first(u"(?x)[ ]a", u" a"), u" a");
    EXPECT_EQ(f.first(u"(?x)a b*", u"abbb"), u"abbb");
    EXPECT_EQ(f.first(u"((?x) a ) b", u"a b"), u"a b");
    EXPECT_EQ(f.first(u"(?#note)ab", u"ab"), u"ab");
    // Extended mode starts off whatever the options say.
    RegexOptions options;
    options.x = true;
    EngineFixture g(options);
    EXPECT_EQ(g.first(u"a b", u"a b"), u"a b");
}

TEST(RegexTemplate, ReferencesAndEscapes) {
    EngineFixture f;
    TRegexEngine& e = f.engine(u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)");
    ASSERT_TRUE(e.MatchFirst(u"abcdefghijkl"));
    EXPECT_EQ(e.ExpandTemplate(u"[$0]"), u"[abcdefghijkl]");
    EXPECT_EQ(e.ExpandTemplate(u"${1}0"), u"a0");
    EXPECT_EQ(e.ExpandTemplate(u"$10"), u"j");
    EXPECT_EQ(e.ExpandTemplate(u"$12|$13|$15|$99999999999999999999"), u"l|||");
    EXPECT_EQ(e.ExpandTemplate(u"\\$1"), u"$1");
    EXPECT_EQ(e.ExpandTemplate(u"\\\\\\n"), u"\\n");
    EXPECT_EQ(e.ExpandTemplate(u"$&|${&}|${}"), u"abcdefghijkl|abcdefghijkl|abcdefghijkl");
    EXPECT_EQ(e.ExpandTemplate(u"$x ${1 ${ $"), u"$x ${1 ${ $");
    EXPECT_EQ(e.ExpandTemplate(u"${x}"), u"${x}");
    EXPECT_EQ(e.ExpandTemplate(u"end\\"), u"end\\");
    EXPECT_EQ(e.ExpandTemplate(u""), u"");
}

TEST(RegexOptionsNotation, StringUserToComp) {
    EXPECT_EQ(StringUserToComp(kDefaultWordField), RegexOptions{}.WordSet);
    EXPECT_EQ(StringUserToComp(kDefaultSpaceField), RegexOptions{}.SpaceSet);
    EXPECT_EQ(StringUserToComp(kDefaultLineSeparatorsField), RegexOptions{}.LineSeparatorSet);
    EXPECT_EQ(RegexOptions{}.WordSet.size(), 70u);
    EXPECT_EQ(StringUserToComp(u"$41$42"), u"AB");
    EXPECT_EQ(StringUserToComp(u"A$42"), u"AB");
    EXPECT_EQ(StringUserToComp(u"$41A"), u"\u041a");
    EXPECT_EQ(StringUserToComp(u"$10041"), u"A");
    EXPECT_EQ(StringUserToComp(u"$000000041"), u"A");
    EXPECT_EQ(StringUserToComp(u"ab$$"), u"ab$");
    EXPECT_EQ(StringUserToComp(u"$$$41"), u"$A");
    EXPECT_EQ(StringUserToComp(u"x$41$"), u"xA");
    EXPECT_EQ(StringUserToComp(u"a$$$$43"), u"a$C");
    EXPECT_EQ(StringUserToComp(u"a$41$$b"), u"a$A\u000b");  // one "$" however many "$$"
    EXPECT_EQ(StringUserToComp(u""), u"");
    auto message = [](std::u16string_view text) -> std::string {
        try {
            StringUserToComp(text);
        } catch (const ConversionError& error) {
            return error.what();
        }
        return "no error";
    };
    EXPECT_EQ(message(u"$4g"), "'$4g' is not a valid integer value");
    EXPECT_EQ(message(u"$ 9"), "'$ 9' is not a valid integer value");
    EXPECT_EQ(message(u"$100000000"), "'$100000000' is not a valid integer value");
    EXPECT_EQ(message(u"$-1"), "'$-1' is not a valid integer value");
    EXPECT_EQ(message(u"$ffffffff"), "no error");
}

}  // namespace
}  // namespace tessaro

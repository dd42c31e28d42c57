// SPDX-License-Identifier: GPL-3.0-or-later
// Every error the engine can raise: the expression that raises it, its code, and the message
// in both languages; also the first-error rule and the language chosen at the moment.
#include <gtest/gtest.h>


#include "text/regex_test_support.h"

namespace tessaro {
namespace {

using test::EngineFixture;
using namespace regex_code;

struct CompileCase {
    const char16_t* expression;
    int code;
};

class RegexCompileErrors : public ::testing::TestWithParam<CompileCase> {};

TEST_P(RegexCompileErrors, ReportsTheCodeOfTheFirstError) {
    EngineFixture f;
    EXPECT_EQ(f.compileError(GetParam().expression), GetParam().code);
    EXPECT_FALSE(f.state.noError);
    EXPECT_EQ(f.state.message, RegexErrorMessage(GetParam().code, false));
}

INSTANTIATE_TEST_SUITE_P(
    AllCodes, RegexCompileErrors,
    ::testing::Values(
        CompileCase{u"(((((((((((((((a)))))))))))))))", kTooManyGroups},
        CompileCase{u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)(m)(n)(o)", kTooManyGroups},
        CompileCase{u"(a", kUnclosedGroup}, CompileCase{u"((a)|b", kUnclosedGroup},
        CompileCase{u"a)", kUnopenedGroup}, CompileCase{u"(a))", kUnopenedGroup},
        CompileCase{u"(a?)*", kOperandCouldBeEmpty},
        CompileCase{u"(a{0,2})*", kOperandCouldBeEmpty},
        CompileCase{u"(a|)+", kOperandCouldBeEmpty}, CompileCase{u"^*", kOperandCouldBeEmpty},
        CompileCase{u"\\b+", kOperandCouldBeEmpty}, CompileCase{u"(?i)+", kOperandCouldBeEmpty},
        CompileCase{u"(?#c)*", kOperandCouldBeEmpty},
        // The check comes before it is known whether "{" forms a quantifier.
        CompileCase{u"^{abc", kOperandCouldBeEmpty},
        // A blank in extended mode is an atom of its own.
        CompileCase{u"(?x)a *", kOperandCouldBeEmpty},
        CompileCase{u"(?x)ab *", kOperandCouldBeEmpty}, CompileCase{u"a**", kNestedQuantifier},
        CompileCase{u"a*?*", kNestedQuantifier}, CompileCase{u"a???", kNestedQuantifier},
        CompileCase{u"a{2}{x", kNestedQuantifier}, CompileCase{u"a+{", kNestedQuantifier},
        CompileCase{u"\\x4g", kBadHexDigit}, CompileCase{u"\\x{4g}", kBadHexDigit},
        CompileCase{u"[\\xg1]", kBadHexDigit}, CompileCase{u"[z-a]", kInvalidRange},
        CompileCase{u"[a-\\]]", kInvalidRange}, CompileCase{u"(?-r)[\u0430-\u042f]", kInvalidRange},
        CompileCase{u"[a\\", kTrailingBackslashInClass},
        CompileCase{u"[a-\\", kTrailingBackslashInClass}, CompileCase{u"\\x", kNoHexCode},
        CompileCase{u"\\x4", kNoHexCode}, CompileCase{u"\\x{41", kNoHexCode},
        CompileCase{u"[\\x{41", kNoHexCode}, CompileCase{u"\\x{10041}", kHexCodeTooBig},
        CompileCase{u"\\x{0001FFFF}", kHexCodeTooBig}, CompileCase{u"[a", kUnmatchedBracket},
        CompileCase{u"[]", kUnmatchedBracket}, CompileCase{u"[^]", kUnmatchedBracket},
        CompileCase{u"*a", kQuantifierFollowsNothing},
        CompileCase{u"a|+b", kQuantifierFollowsNothing},
        CompileCase{u"(*a)", kQuantifierFollowsNothing}, CompileCase{u"a\\", kTrailingBackslash},
        CompileCase{u"a{123456789}", kBracesTooBig}, CompileCase{u"a{1,123456789}", kBracesTooBig},
        CompileCase{u"a{3,2}", kBracesMinGreaterMax}, CompileCase{u"(?#abc", kUnclosedComment},
        CompileCase{u"(?:a)", kUnrecognizedModifier}, CompileCase{u"(?=a)", kUnrecognizedModifier},
        CompileCase{u"(?i", kUnrecognizedModifier}, CompileCase{u"(?iq)", kUnrecognizedModifier},
        // The first error wins: ")" comes before the bad class.
        CompileCase{u"a)[z-a]", kUnopenedGroup}, CompileCase{u"[z-a]a)", kInvalidRange}));

TEST(RegexErrors, MessagesOfBothLanguagesFollowTheLanguageOfTheMoment) {
    EngineFixture f;
    EXPECT_EQ(f.compileError(u"a)"), kUnopenedGroup);
    EXPECT_EQ(f.state.message, u"Fehlende Klammer ()");
    f.language = u"en";
    EXPECT_EQ(f.compileError(u"a)"), kUnopenedGroup);
    EXPECT_EQ(f.state.message, u"Unmatched ()");
    // Anything but "en" is German.
    f.language = u"fr";
    EXPECT_EQ(f.compileError(u"[a"), kUnmatchedBracket);
    EXPECT_EQ(f.state.message, u"Fehlende Klammer []");
}

TEST(RegexErrors, MessageTables) {
    struct Row {
        int code;
        const char16_t* english;
        const char16_t* german;
    };
    const Row rows[] = {
        {0, u"No Errors", u"Keine Fehler"},
        {100, u"Null Argument", u"Null Argument"},
        {101, u"RegExp Too Big", u"RegExp zu lang"},
        {102, u"Too Many ()", u"Zu viele ()"},
        {105, u"Junk On End", u"Fehlerhaftes Ende"},
        {106, u"*+ Operand Could Be Empty", u"*+ Operant kann leer sein"},
        {107, u"Nested *?+", u"Verschachteltes *?+"},
        {108, u"Bad Hex Digit", u"Falsche HEX Zahl"},
        {109, u"Invalid [] Range", u"Invalide Menge []"},
        {110, u"Trailing \\", u"Abschlie\u00dfendes \\"},
        {111, u"No Hex Code After \\x", u"Kein HEX Code nach \\x"},
        {112, u"Hex Code After \\x Too Big", u"HEX Code nach \\x zu gro\u00df"},
        {114, u"Internal Urp", u"Internal Urp"},
        {115, u"?+*{ Follows Nothing", u"?+*{ folgt nichts"},
        {116, u"Trailing \\", u"Abschlie\u00dfendes \\"},
        {119, u"RarseAtom Internal Disaster", u"RarseAtom Internal Disaster"},
        {122, u"Braces Argument Too Big", u"Quantor {} zu gro\u00df"},
        {124, u"Brace Min Param Greater then Max", u"Min-Quantor gr\u00f6\u00dfer als Max-Quantor"},
        {125, u"Unclosed (?#Comment)", u"Ungeschlossener (?#Kommentar)"},
        {127, u"Urecognized Modifier", u"Unbekannter Modifikator"},
        {128, u"LinePairedSeparator must countain two different chars or no chars at all",
         u"LinePairedSeparator muss zwei verschiedene oder kein Char enthalten"},
        {1003, u"Unknown Error", u"Unbekannter Fehler"},
        {1007, u"Unknown Error", u"Unbekannter Fehler"},
        {1014, u"Unknown Error", u"Unbekannter Fehler"},
        {117, u"Unknown Error", u"Unbekannter Fehler"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(RegexErrorMessage(row.code, true), row.english) << row.code;
        EXPECT_EQ(RegexErrorMessage(row.code, false), row.german) << row.code;
    }
    // The two limits have messages of their own.
    EXPECT_NE(RegexErrorMessage(kStepBudgetExceeded, true), u"Unknown Error");
    EXPECT_NE(RegexErrorMessage(kStepBudgetExceeded, false), u"Unbekannter Fehler");
    EXPECT_NE(RegexErrorMessage(kBacktrackMemoryExceeded, true),
              RegexErrorMessage(kStepBudgetExceeded, true));
    EXPECT_NE(RegexErrorMessage(kBacktrackMemoryExceeded, false), u"Unbekannter Fehler");
}

TEST(RegexErrors, PairedSeparatorMustBeTwoDifferentCharactersOrNone) {
    for (const char16_t* pair : {u"\r", u"\n\n", u"abc"}) {
        RegexOptions options;
        options.LinePairedSeparator = pair;
        EngineFixture f(options);
        EXPECT_EQ(f.compileError(u"a"), kBadPairedSeparator);
    }
    RegexOptions none;
    none.LinePairedSeparator.clear();
    EngineFixture f(none);
    EXPECT_EQ(f.compileError(u"a"), 0);
}

TEST(RegexErrors, FourteenNestedGroupsCompile) {
    EngineFixture f;
    EXPECT_EQ(f.compileError(u"((((((((((((((a))))))))))))))"), 0);
    TRegexEngine& e = f.engine(u"((((((((((((((a))))))))))))))");
    ASSERT_TRUE(e.MatchFirst(u"xa"));
    EXPECT_EQ(e.MatchStart(14), 2);
}

TEST(RegexErrors, FailedCompileMakesEverySearchFailWithOneReport) {
    EngineFixture f;
    TRegexEngine& e = f.engine(u"a{3,2}");
    EXPECT_FALSE(e.MatchFirst(u"aaa"));
    EXPECT_EQ(e.lastErrorCode(), kBracesMinGreaterMax);
    f.state = {};
    EXPECT_FALSE(e.MatchFirst(u"aaa"));
    EXPECT_TRUE(f.state.noError);
}

TEST(RegexErrors, EmptyExpressionAndNextWithoutFirst) {
    EngineFixture f;
    TRegexEngine& e = f.engine(u"");
    EXPECT_FALSE(e.MatchFirst(u"abc"));
    EXPECT_EQ(e.lastErrorCode(), kNoExpression);
    EXPECT_EQ(f.state.message, u"Unbekannter Fehler");

    TRegexEngine& fresh = f.engine(u"a");
    EXPECT_FALSE(fresh.MatchNext());
    EXPECT_EQ(fresh.lastErrorCode(), kNoFirstMatch);
    // After a failed search there is no match to continue from either.
    TRegexEngine& failed = f.engine(u"z");
    EXPECT_FALSE(failed.MatchFirst(u"abc"));
    f.state = {};
    EXPECT_FALSE(failed.MatchNext());
    EXPECT_EQ(failed.lastErrorCode(), kNoFirstMatch);
}

// n counted repetitions nested inside each other around "a".
std::u16string nestedCounted(int n) {
    std::u16string expression(n, u'(');
    expression += u"a";
    for (int k = 0; k < n; ++k) expression += u"){1,2}";
    return expression;
}

TEST(RegexErrors, ElevenActiveCountedRepetitionsFailThatPathOnly) {
    EngineFixture f;
    TRegexEngine& ten = f.engine(nestedCounted(10));
    EXPECT_TRUE(ten.MatchFirst(u"a"));
    EXPECT_TRUE(f.state.noError);

    TRegexEngine& eleven = f.engine(nestedCounted(11));
    EXPECT_FALSE(eleven.MatchFirst(u"a"));
    EXPECT_EQ(eleven.lastErrorCode(), kLoopStackExceeded);
    EXPECT_FALSE(f.state.noError);

    // The search goes on with the other alternatives, and the error stays reported.
    f.state = {};
    TRegexEngine& alternative = f.engine(nestedCounted(11) + u"|b");
    ASSERT_TRUE(alternative.MatchFirst(u"ab"));
    EXPECT_EQ(alternative.MatchStart(0), 2);
    EXPECT_FALSE(f.state.noError);
    EXPECT_EQ(alternative.lastErrorCode(), kLoopStackExceeded);

    // Lazy quantifiers on groups and "." without s count too; greedy "+" does not.
    std::u16string lazy(11, u'(');
    lazy += u"a";
    for (int k = 0; k < 11; ++k) lazy += u")+?";
    EXPECT_FALSE(f.engine(lazy).MatchFirst(u"a"));
    std::u16string dotted = u"(?-s)" + std::u16string(10, u'(') + u".{1}";
    for (int k = 0; k < 10; ++k) dotted += u"){1}";
    EXPECT_FALSE(f.engine(dotted).MatchFirst(u"a"));
    std::u16string greedy(11, u'(');
    greedy += u"a";
    for (int k = 0; k < 11; ++k) greedy += u")+";
    f.state = {};
    EXPECT_TRUE(f.engine(greedy).MatchFirst(u"a"));
    EXPECT_TRUE(f.state.noError);
}

TEST(RegexErrors, StepBudgetEndsARunawaySearch) {
    // The back-reference keeps the memo and the DFA out, so (a|aa)* tries every split of
    // the a's. The budget, not a clock, ends it: a step is a bounded amount of work, and
    // bench_regex_engine shows the time the whole budget takes.
    EngineFixture f;
    f.language = u"en";
    const std::u16string text = std::u16string(80, u'a') + u"cb";
    TRegexEngine& e = f.engine(u"(a|aa)*b\\1");
    MatchLimits small;
    small.stepBudget = 5'000'000;
    e.setLimits(small);
    EXPECT_FALSE(e.MatchFirst(text));
    EXPECT_EQ(e.lastErrorCode(), kStepBudgetExceeded);
    EXPECT_TRUE(e.searchAborted());
    EXPECT_EQ(f.state.message, RegexErrorMessage(kStepBudgetExceeded, true));
    // It stops right after the budget, not at some later check.
    EXPECT_GT(e.walkSteps(), small.stepBudget);
    EXPECT_LT(e.walkSteps(), small.stepBudget + 1000);
}

TEST(RegexErrors, BacktrackMemoryLimitEndsASearchCleanly) {
    EngineFixture f;
    std::u16string text;
    for (int k = 0; k < 3'000'000; ++k) text += u"ab";
    text += u"x";
    // Every repetition of a two-character group keeps its choice points; the back-reference
    // keeps the search with the backtracker.
    TRegexEngine& e = f.engine(u"^(ab|cd)*\\1$");
    EXPECT_FALSE(e.MatchFirst(text));
    EXPECT_EQ(e.lastErrorCode(), kBacktrackMemoryExceeded);
    EXPECT_TRUE(e.searchAborted());
    EXPECT_EQ(f.state.message, RegexErrorMessage(kBacktrackMemoryExceeded, false));
}

}  // namespace
}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// The replace routines: literal and template replacements over all matches, the "["
// shortcuts, error display, and a search stopped by a limit leaving the text unchanged.
#include "text/regex_replace.h"

#include <gtest/gtest.h>

namespace tessaro {
namespace {

class RegexReplace : public ::testing::Test {
protected:
    RegexReplaceContext context() {
        return {m_options, m_state, [this] { return m_language; },
                [this](const std::u16string& message) { m_shown.push_back(message); }, m_limits};
    }

    RegexOptions m_options;
    RegExErrorState m_state;
    std::u16string m_language = u"de";
    std::vector<std::u16string> m_shown;
    MatchLimits m_limits;
};

TEST_F(RegexReplace, LiteralAndTemplateReplacements) {
    EXPECT_EQ(RegExReplaceText(u"caat", u"$1", u"a+", context()), u"c$1t");
    EXPECT_EQ(RegExReplaceTemplate(u"caat", u"a+", u"<$0>", context()), u"c<aa>t");
    EXPECT_EQ(RegExReplaceTemplate(u"baaac", u"a*", u"-", context()), u"-b--c-");
    EXPECT_EQ(RegExReplaceTemplate(u"John Smith", u"(\\w+) (\\w+)", u"$2, $1", context()),
              u"Smith, John");
    EXPECT_EQ(RegExReplaceText(u"", u"x", u"a*", context()), u"x");
    EXPECT_TRUE(m_shown.empty());
}

TEST_F(RegexReplace, OpenBracketShortcuts) {
    EXPECT_EQ(RegExReplaceText(u"a[b", u"x", u"[", context()), u"a[b");
    EXPECT_EQ(RegExReplaceTemplate(u"a[b", u"[", u"x", context()), u"a[b");
    EXPECT_EQ(RegExReplaceTemplate(u"ab[", u"ab[", u"x", context()), u"ab[");
    EXPECT_TRUE(m_shown.empty());
    // With a literal replacement only "[" alone is skipped; "ab[" is compiled and fails.
    EXPECT_EQ(RegExReplaceText(u"ab[", u"x", u"ab[", context()), u"ab[");
    ASSERT_EQ(m_shown.size(), 1u);
    EXPECT_EQ(m_shown[0], u"Fehlende Klammer []");
    EXPECT_FALSE(m_state.noError);
}

TEST_F(RegexReplace, ErrorsAreShownInTheLanguageOfTheMoment) {
    m_language = u"en";
    EXPECT_EQ(RegExReplaceText(u"abc", u"x", u"a)", context()), u"abc");
    ASSERT_EQ(m_shown.size(), 1u);
    EXPECT_EQ(m_shown[0], u"Unmatched ()");
    // The next pair starts with a clear flag.
    EXPECT_EQ(RegExReplaceText(u"abc", u"x", u"b", context()), u"axc");
    EXPECT_TRUE(m_state.noError);
    EXPECT_EQ(m_shown.size(), 1u);
}

TEST_F(RegexReplace, ManyCheapSearchesShareOneBudget) {
    // Each search is cheap; together they are more than the replacement of one text may do.
    std::u16string text;
    for (int k = 0; k < 20'000; ++k) text += u"ab ";
    m_limits.stepBudget = 100'000;
    EXPECT_EQ(RegExReplaceTemplate(text, u"(a)(b)", u"$2$1", context()), text);
    ASSERT_EQ(m_shown.size(), 1u);
    EXPECT_EQ(m_shown[0], RegexErrorMessage(regex_code::kStepBudgetExceeded, false));
    // The next replacement has a budget of its own.
    m_limits = {};
    EXPECT_EQ(RegExReplaceTemplate(text.substr(0, 6), u"(a)(b)", u"$2$1", context()), u"ba ba ");
}

TEST_F(RegexReplace, ASearchStoppedByTheStepBudgetLeavesTheTextUnchanged) {
    // Early matches are found, then a later search runs away: nothing may be half replaced.
    const std::u16string text = u"xb " + std::u16string(80, u'a') + u"cb";
    m_limits.stepBudget = 5'000'000;
    EXPECT_EQ(RegExReplaceText(text, u"#", u"(x|a|aa)*b\\1", context()), text);
    ASSERT_EQ(m_shown.size(), 1u);
    EXPECT_EQ(m_shown[0], RegexErrorMessage(regex_code::kStepBudgetExceeded, false));
}

}  // namespace
}  // namespace tessaro

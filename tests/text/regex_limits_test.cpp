// SPDX-License-Identifier: GPL-3.0-or-later
// Long texts and runaway expressions: searches run on a small thread stack, finish in time
// through the failure memo, and give the same results as without the shortcuts.
#include <gtest/gtest.h>
#include <pthread.h>

#include <functional>

#include "text/regex_test_support.h"

namespace tessaro {
namespace {

using test::EngineFixture;

// Runs body on a thread whose stack is only stackBytes large.
void runWithStack(std::size_t stackBytes, const std::function<void()>& body) {
    pthread_attr_t attributes;
    ASSERT_EQ(pthread_attr_init(&attributes), 0);
    ASSERT_EQ(pthread_attr_setstacksize(&attributes, stackBytes), 0);
    pthread_t thread;
    auto trampoline = [](void* argument) -> void* {
        (*static_cast<const std::function<void()>*>(argument))();
        return nullptr;
    };
    ASSERT_EQ(
        pthread_create(&thread, &attributes, trampoline, const_cast<std::function<void()>*>(&body)),
        0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
}

std::u16string repeat(std::u16string_view unit, std::size_t times) {
    std::u16string text;
    text.reserve(unit.size() * times);
    for (std::size_t k = 0; k < times; ++k) text += unit;
    return text;
}

TEST(RegexLimits, LongTextsMatchOnA256KiBStack) {
    for (std::size_t length : {std::size_t(1'000'000), std::size_t(10'000'000)}) {
        const std::u16string ab = repeat(u"ab", length / 2);
        const std::u16string words = repeat(u"lorem", length / 5);
        bool results[4] = {};
        int lengths[4] = {};
        runWithStack(256 * 1024, [&] {
            EngineFixture f;
            const std::u16string_view expressions[] = {u"^(a|b)*$", u"^[ab]*$", u"[a-z]+"};
            for (int k = 0; k < 3; ++k) {
                TRegexEngine& e = f.engine(expressions[k]);
                results[k] = e.MatchFirst(k < 2 ? ab : words);
                lengths[k] = e.MatchLength(0);
            }
            // A group that is not one character wide keeps its choice points on the heap.
            TRegexEngine& general = f.engine(u"^(ab|cd)*$");
            results[3] = general.MatchFirst(ab.substr(0, 1'000'000));
            lengths[3] = general.MatchLength(0);
        });
        for (int k = 0; k < 4; ++k) EXPECT_TRUE(results[k]) << length << " " << k;
        EXPECT_EQ(lengths[0], static_cast<int>(length));
        EXPECT_EQ(lengths[1], static_cast<int>(length));
        EXPECT_EQ(lengths[2], static_cast<int>(length));
        EXPECT_EQ(lengths[3], 1'000'000);
    }
}

// Work is counted in steps, each a bounded amount of processor time; a search whose steps
// grow with the square of the text would take minutes on a long clipboard text. Here that
// would be hundreds of millions of steps, far above the bound.
TEST(RegexLimits, CatastrophicExpressionsFinishInLinearWork) {
    EngineFixture f;
    const std::u16string ab = repeat(u"ab", 20'000);
    const std::u16string as = repeat(u"a", 40'000);
    struct Case {
        std::u16string_view expression;
        std::u16string text;
        bool found;
    };
    const Case cases[] = {
        {u"(a|b)*c", ab, false},
        {u"(a|b)*[cd]", ab, false},
        {u"(a|aa)*b", as + u"c" + u"b", true},
        {u"(a|aa)*c(a|aa)*b", as + u"c" + as, false},
        {u"(x+x+)+y", repeat(u"x", 5'000), false},
        {u"(\\w+\\s?)*$", repeat(u"word ", 2'000) + u"!", true},
        {u"(a|ab)*(b|c)*d", ab, false},
        {u"(a|aa){2,}b", as + u"cb", false},
        {u"(?-g)(a|aa){3,}b", as + u"cb", false},
        // Nested repetitions of one class: each entry of the inner loop would rescan the run.
        {u"(a+)+b", repeat(u"a", 80'000) + u"cb", false},
        {u"([a-z0-9]+[.-]?)+@", repeat(u"a", 60'000) + u"!@", false},
        {u"(\\w+)*#", repeat(u"w", 50'000), false},
    };
    for (const Case& c : cases) {
        TRegexEngine& e = f.engine(c.expression);
        EXPECT_EQ(e.MatchFirst(c.text), c.found);
        EXPECT_TRUE(f.state.noError) << e.lastErrorCode();
        EXPECT_LT(e.walkSteps(), 256 * c.text.size())
            << std::string(c.expression.begin(), c.expression.end());
    }
    // (a|aa)*b finds the b after the c: every split of the a's before it fails the same way.
    TRegexEngine& e = f.engine(u"(a|aa)*b");
    ASSERT_TRUE(e.MatchFirst(as + u"cb"));
    EXPECT_EQ(e.MatchStart(0), 40'002);
}

// A replace-all walks every match; each search must not redo the work of the one before.
TEST(RegexLimits, WalksOverAllMatchesStayLinear) {
    EngineFixture f;
    struct Case {
        std::u16string expression;
        std::u16string text;
        std::size_t matches;
    };
    // An alternation of many literal words, some of which occur in the text.
    auto word = [](unsigned k) {
        std::u16string w = u"w";
        do {
            w.push_back(char16_t(u'a' + k % 26));
            k /= 26;
        } while (k);
        return w;
    };
    // All five letters long, so that no word is the beginning of another; every second
    // word of the text is in the list.
    constexpr unsigned kFirst = 26 * 26 * 26;
    std::u16string words;
    for (unsigned k = 0; k < 100'000; ++k) words += (k ? u"|" : u"") + word(kFirst + 2 * k);
    std::u16string prose;
    for (unsigned k = 0; k < 20'000; ++k) prose += word(kFirst + k) + u" ";
    const std::size_t inList = 10'000;
    const Case cases[] = {
        // Every search but the last reads to the end for an "x" that never comes.
        {u".*x|y", repeat(u"y", 100'000), 100'000},
        {u"[^,]*,|;", repeat(u";", 50'000), 50'000},
        {u"\\b(" + words + u")\\b", prose, inList},
        {words, prose, inList},
    };
    for (const Case& c : cases) {
        TRegexEngine& e = f.engine(c.expression);
        std::size_t count = 0;
        for (bool ok = e.MatchFirst(c.text); ok; ok = e.MatchNext()) ++count;
        EXPECT_EQ(count, c.matches) << std::string(c.expression.begin(), c.expression.begin() + 8);
        EXPECT_TRUE(f.state.noError) << e.lastErrorCode();
        EXPECT_LT(e.walkSteps(), 64 * c.text.size())
            << std::string(c.expression.begin(), c.expression.begin() + 8);
    }
}

TEST(RegexLimits, MemoAndShortcutsNeverChangeResults) {
    // The same searches with the memo on from the first backtrack.
    const std::u16string_view expressions[] = {
        u"(a|ab)(c|bcd)(d*)", u"(a|b)*?b",      u"(a+|b+)*c",   u"((a|b)c|a(b|c))+",
        u"x*(ab|a)*b",        u"(a|aa){2,5}b",  u"(a|aa){2,}b", u"(b|ab){2,}?c",
        u"(?-g)(a|b)+(b|c)",  u"(ab|a)(bc|c)*$"};
    const std::u16string texts[] = {u"abcd",      u"aabbabcabac", u"abababababcab",
                                    u"aaaaaaaab", u"acbcabcx",    u"aaaaaaaaaaaaaaaaaaaac"};
    for (std::u16string_view expression : expressions) {
        for (const std::u16string& text : texts) {
            EngineFixture normal;
            std::vector<test::Hit> expected = normal.all(expression, text);
            EngineFixture eager;
            TRegexEngine& e = eager.engine(expression);
            MatchLimits limits;
            limits.memoFromStart = true;
            e.setLimits(limits);
            std::vector<test::Hit> hits;
            for (bool ok = e.MatchFirst(text); ok; ok = e.MatchNext()) {
                hits.push_back({e.MatchStart(0), e.MatchLength(0)});
            }
            EXPECT_EQ(hits, expected);
        }
    }
}

}  // namespace
}  // namespace tessaro

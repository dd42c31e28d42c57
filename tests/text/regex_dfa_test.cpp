// SPDX-License-Identifier: GPL-3.0-or-later
// The lazy DFA against the backtracker: random expressions over random short texts, every
// match of a replace-all walk must have the same bounds; plus the line, word and priority
// cases where a DFA is easiest to get wrong, and the cache and work limits.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "text/regex/lazy_dfa.h"
#include "text/regex/regex_matcher.h"
#include "text/regex/regex_program.h"
#include "text/regex/regex_syntax.h"
#include "text/regex_engine.h"
#include "text/regex_options.h"
#include "text/regex_test_support.h"

namespace tessaro {
namespace {

using test::Random;

// An expression with the engine's default options, parsed, compiled for the backtracker and
// turned into a DFA when eligible.
struct Compiled {
    int error = 0;
    SyntaxTree tree;
    RegexProgram program;
    MatchContext context;
    std::unique_ptr<RegexDfa> dfa;
    bool depthFail = false;
};

std::unique_ptr<Compiled> compile(std::u16string_view expression,
                                  const LazyDfaOptions& dfaOptions = {},
                                  const RegexOptions& options = {}) {
    auto c = std::make_unique<Compiled>();
    c->error = ParseRegex(expression, SyntaxOptionsOf(options), c->tree);
    if (c->error) return c;
    c->context = MatchContextOf(options);
    c->program = CompileRegex(c->tree, &c->context.wordSet);
    for (const Inst& inst : c->program.code) c->depthFail |= inst.op == Op::DepthFail;
    c->dfa = RegexDfa::create(c->tree, c->context, dfaOptions);
    return c;
}

using Bounds = std::pair<int, int>;
constexpr std::uint64_t kBudget = 50'000'000;

// Every match as replace-all walks them: the next search starts at the end of a match, one
// further after an empty one. Returns false when the backtracker ran out of budget.
bool backtrackerWalk(const Compiled& c, std::u16string_view text, std::vector<Bounds>& out) {
    RegexMatcher matcher(c.program, c.context, MatchLimits{});
    std::size_t pos = 0;
    while (pos <= text.size()) {
        CaptureSlots slots;
        const SearchOutcome outcome = matcher.search(text, pos, slots, kBudget);
        if (outcome == SearchOutcome::NotFound) break;
        if (outcome != SearchOutcome::Found) return false;
        out.emplace_back(slots[0], slots[1]);
        pos = static_cast<std::size_t>(slots[1]) + (slots[0] == slots[1] ? 1 : 0);
    }
    return true;
}

// The same walk with the DFA: findEnd, then findStart back to where the search began.
// The work of all its calls adds up in total when given.
DfaOutcome dfaWalk(RegexDfa& dfa, std::u16string_view text, std::vector<Bounds>& out,
                   DfaWork* total = nullptr) {
    auto add = [&] {
        if (!total) return;
        total->units += dfa.work().units;
        total->statesBuilt += dfa.work().statesBuilt;
        total->cacheClears += dfa.work().cacheClears;
    };
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = 0;
        const DfaOutcome forward = dfa.findEnd(text, pos, end);
        add();
        if (forward == DfaOutcome::NotFound) break;
        if (forward == DfaOutcome::GaveUp) return forward;
        std::size_t start = 0;
        const DfaOutcome backward = dfa.findStart(text, pos, end, start);
        add();
        if (backward == DfaOutcome::GaveUp) return backward;
        // The forward search found a match ending there, so one must start somewhere.
        if (backward != DfaOutcome::Found) {
            out.emplace_back(-1, static_cast<int>(end));
            return DfaOutcome::Found;
        }
        out.emplace_back(static_cast<int>(start), static_cast<int>(end));
        pos = end + (start == end ? 1 : 0);
    }
    return DfaOutcome::Found;
}

std::vector<Bounds> dfaMatches(std::u16string_view expression, std::u16string_view text) {
    auto c = compile(expression);
    EXPECT_EQ(c->error, 0);
    EXPECT_NE(c->dfa, nullptr);
    std::vector<Bounds> out;
    if (c->dfa) {
        EXPECT_EQ(dfaWalk(*c->dfa, text, out), DfaOutcome::Found);
    }
    return out;
}

std::string show(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) {
        if (c == u'\n') {
            out += "\\n";
        } else if (c == u'\r') {
            out += "\\r";
        } else if (c < 128) {
            out.push_back(static_cast<char>(c));
        } else {
            char code[16];
            std::snprintf(code, sizeof code, "\\x{%04x}", unsigned(c));
            out += code;
        }
    }
    return out;
}

std::string show(const std::vector<Bounds>& bounds) {
    std::string out;
    for (const auto& [s, e] : bounds) {
        out += '[';
        out += std::to_string(s);
        out += ',';
        out += std::to_string(e);
        out += ')';
    }
    return out.empty() ? "none" : out;
}

// Random expressions of the features a DFA must model: literals (folded too), both dots,
// classes, every assertion with and without m, groups with empty alternatives, and every
// quantifier greedy and lazy. "*", "+" and braces go only on atoms that cannot be empty, as
// the dialect demands.
class ExpressionGenerator {
public:
    explicit ExpressionGenerator(Random& random) : m_random(random) {}

    std::u16string make() {
        m_out.clear();
        if (m_random.chance(20)) m_out += u"(?i)";
        if (m_random.chance(20)) m_out += u"(?m)";
        if (m_random.chance(15)) m_out += u"(?-s)";
        alternation(0);
        if (m_out.empty()) m_out.push_back(u'a');
        return m_out;
    }

private:
    bool alternation(int depth) {
        const int count = 1 + (m_random.chance(35) ? m_random.below(3) : 0);
        bool empty = false;
        for (int k = 0; k < count; ++k) {
            if (k > 0) m_out += u"|";
            empty = sequence(depth) || empty;
        }
        return empty;
    }

    bool sequence(int depth) {
        const int count = m_random.chance(6) ? 0 : 1 + m_random.below(4);
        bool empty = true;
        for (int k = 0; k < count; ++k) empty = piece(depth) && empty;
        return empty;
    }

    bool piece(int depth) {
        bool atomEmpty = false;
        const int kind = m_random.below(100);
        if (kind < 32) {
            static const char16_t* const chars[] = {u"a", u"b", u"A",   u"1",   u" ",
                                                    u"ä", u"x", u"\\r", u"\\n", u"_"};
            m_out += chars[m_random.below(10)];
        } else if (kind < 40) {
            m_out += m_random.chance(30) ? u"(?-s)." : u".";
        } else if (kind < 52) {
            static const char16_t* const sets[] = {u"[ab]",   u"[^a]",   u"[a-c]", u"[^\\r\\n]",
                                                   u"[\\d ]", u"[^\\w]", u"\\w",   u"\\W",
                                                   u"\\s",    u"\\S",    u"\\d",   u"[Ää]"};
            m_out += sets[m_random.below(12)];
        } else if (kind < 62) {
            static const char16_t* const looks[] = {u"^",   u"$",   u"\\b",   u"\\B",
                                                    u"\\A", u"\\Z", u"(?m)^", u"(?m)$"};
            m_out += looks[m_random.below(8)];
            atomEmpty = true;
        } else if (kind < 66) {
            static const char16_t* const modifiers[] = {u"(?i)", u"(?-i)", u"(?m)", u"(?s)",
                                                        u"(?-s)"};
            m_out += modifiers[m_random.below(5)];
            return true;
        } else if (depth < 3) {
            m_out += u"(";
            atomEmpty = alternation(depth + 1);
            m_out += u")";
        } else {
            m_out += u"b";
        }
        if (m_random.chance(50)) return atomEmpty;
        const int choice = m_random.below(atomEmpty ? 1 : 7);
        bool canBeEmpty = true;
        auto digit = [](int n) { return char16_t(u'0' + n); };
        switch (choice) {
            case 0:
                m_out += u"?";
                break;
            case 1:
                m_out += u"*";
                break;
            case 2:
                m_out += u"+";
                canBeEmpty = false;
                break;
            case 3: {
                const int n = m_random.below(4);
                m_out += u'{';
                m_out += digit(n);
                m_out += u'}';
                canBeEmpty = n == 0;
                break;
            }
            case 4: {
                const int n = m_random.below(3);
                const int m = n + m_random.below(3);
                m_out += u'{';
                m_out += digit(n);
                m_out += u',';
                m_out += digit(m);
                m_out += u'}';
                canBeEmpty = n == 0;
                break;
            }
            default: {
                const int n = m_random.below(3);
                m_out += u'{';
                m_out += digit(n);
                m_out += u",}";
                canBeEmpty = n == 0;
                break;
            }
        }
        if (m_random.chance(35)) m_out += u"?";
        return atomEmpty || canBeEmpty;
    }

    Random& m_random;
    std::u16string m_out;
};

std::u16string randomText(Random& random, int maxLength) {
    static const char16_t* const pieces[] = {u"a",  u"b",  u"A",    u"B", u"1", u" ",    u"ä",
                                             u"\r", u"\n", u"\r\n", u"_", u"x", u"\r\n", u"\u2028"};
    const int count = random.below(maxLength + 1);
    std::u16string text;
    for (int k = 0; k < count; ++k) text += pieces[random.below(14)];
    return text;
}

struct DiffStats {
    int expressions = 0;
    int eligible = 0;
    int compared = 0;
    int withMatches = 0;
    int gaveUp = 0;
    int failures = 0;
};

void runDifferential(std::uint64_t seed, int rounds, const LazyDfaOptions& options,
                     DiffStats& stats) {
    Random random(seed);
    ExpressionGenerator generator(random);
    for (int round = 0; round < rounds && stats.failures < 10; ++round) {
        const std::u16string expression = generator.make();
        auto c = compile(expression, options);
        if (c->error || c->depthFail) continue;
        ++stats.expressions;
        if (!c->dfa) continue;
        ++stats.eligible;
        for (int t = 0; t < 8; ++t) {
            const std::u16string text = randomText(random, 12);
            std::vector<Bounds> expected;
            if (!backtrackerWalk(*c, text, expected)) continue;
            std::vector<Bounds> actual;
            if (dfaWalk(*c->dfa, text, actual) == DfaOutcome::GaveUp) {
                ++stats.gaveUp;
                continue;
            }
            ++stats.compared;
            stats.withMatches += expected.empty() ? 0 : 1;
            if (actual != expected) {
                ++stats.failures;
                ADD_FAILURE() << "expression " << show(expression) << " text \"" << show(text)
                              << "\": dfa " << show(actual) << ", backtracker " << show(expected);
            }
        }
    }
}

TEST(LazyDfa, RandomExpressionsFindTheBacktrackersMatches) {
    DiffStats stats;
    runDifferential(20250301, 5000, LazyDfaOptions{}, stats);
    RecordProperty("expressions", stats.expressions);
    RecordProperty("compared", stats.compared);
    RecordProperty("withMatches", stats.withMatches);
    // Nothing generated is out of the DFA's reach, so nearly all must have been compared.
    EXPECT_GT(stats.expressions, 4000);
    EXPECT_EQ(stats.eligible, stats.expressions);
    EXPECT_GT(stats.compared, 30000);
    EXPECT_GT(stats.withMatches, stats.compared / 3);
    EXPECT_EQ(stats.gaveUp, 0);
}

// The engine as a whole: with the DFA finding the bounds and the backtracker the groups,
// every match and every group of a walk must be what the backtracker alone finds.
TEST(LazyDfa, EngineWithTheDfaReportsTheBacktrackersGroups) {
    Random random(77);
    ExpressionGenerator generator(random);
    int viaDfa = 0;
    for (int round = 0; round < 2000; ++round) {
        const std::u16string expression = u"(" + generator.make() + u")";
        RegExErrorState state;
        TRegexEngine hybrid({}, state, {});
        TRegexEngine alone({}, state, {});
        MatchLimits backtrackOnly;
        backtrackOnly.dfa = false;
        alone.setLimits(backtrackOnly);
        hybrid.setExpression(expression);
        alone.setExpression(expression);
        for (int t = 0; t < 4; ++t) {
            const std::u16string text = randomText(random, 12);
            auto walk = [&text](TRegexEngine& engine) {
                std::vector<int> seen;
                for (bool ok = engine.MatchFirst(text); ok && seen.size() < 2000;
                     ok = engine.MatchNext()) {
                    for (int g = 0; g <= kRegexMaxGroups; ++g) {
                        seen.push_back(engine.MatchStart(g));
                        seen.push_back(engine.MatchLength(g));
                    }
                }
                seen.push_back(engine.lastErrorCode());
                return seen;
            };
            ASSERT_EQ(walk(hybrid), walk(alone))
                << "expression " << show(expression) << " text \"" << show(text) << "\"";
            viaDfa += hybrid.usesDfa() ? 1 : 0;
        }
    }
    // Most generated expressions have choices and no literal to lead: the DFA's share.
    EXPECT_GT(viaDfa, 2000);
}

// Runs of one class between assertions take their own way through the backtracker, in
// 32-unit blocks on long texts: the DFA, which knows nothing of that, is the reference.
TEST(LazyDfa, ClassRunsOnLongTextsFindTheDfasMatches) {
    const std::u16string_view expressions[] = {
        u"[a-c]+",    u"\\w+",        u"\\b\\w+\\b",     u"\\B[ab]+", u"[ab]+\\b",
        u"[a-z]{3,}", u"(?m)^[ab]+", u"(?i)a+", u"[^ \r\n]+"};
    Random random(5);
    for (std::u16string_view expression : expressions) {
        auto c = compile(expression);
        ASSERT_TRUE(c->program.classRun) << show(std::u16string(expression));
        ASSERT_TRUE(c->dfa);
        for (int round = 0; round < 20; ++round) {
            std::u16string text;
            while (text.size() < 3000) {
                static const char16_t* const pieces[] = {u"a", u"b", u"c", u"A", u" ",   u"\u00e4",
                                                         u"1", u"_", u"\r\n", u"abcabc", u"bb"};
                text += pieces[random.below(11)];
                // Now and then a run longer than a block.
                if (random.chance(1)) text += std::u16string(40 + random.below(60), u'a');
            }
            std::vector<Bounds> expected;
            ASSERT_EQ(dfaWalk(*c->dfa, text, expected), DfaOutcome::Found);
            std::vector<Bounds> actual;
            ASSERT_TRUE(backtrackerWalk(*c, text, actual));
            ASSERT_EQ(actual, expected) << show(std::u16string(expression)) << " round " << round;
        }
    }
}

TEST(LazyDfa, TinyCacheStillAgreesOrGivesUp) {
    // A cache of a few states: emptied over and over, so every state is rebuilt often.
    LazyDfaOptions options;
    options.cacheBytes = 3000;
    options.clearsBeforeGiveUp = 1000000;  // never give up: the rebuilt states must be right
    DiffStats stats;
    runDifferential(77, 1500, options, stats);
    EXPECT_GT(stats.compared, 8000);
    EXPECT_EQ(stats.gaveUp, 0);

    // With the give-up rule on, a state-hungry expression over a long text either agrees or
    // gives up, and the clearing path has been taken.
    options.clearsBeforeGiveUp = 3;
    options.cacheBytes = 16u << 10;
    auto c = compile(u"(a|b)*a(a|b){9}", options);
    ASSERT_NE(c->dfa, nullptr);
    Random random(5);
    std::u16string text;
    for (int k = 0; k < 20000; ++k) text.push_back(random.chance(50) ? u'a' : u'b');
    std::vector<Bounds> expected;
    ASSERT_TRUE(backtrackerWalk(*c, text, expected));
    std::vector<Bounds> actual;
    DfaWork total;
    const DfaOutcome outcome = dfaWalk(*c->dfa, text, actual, &total);
    if (outcome != DfaOutcome::GaveUp) {
        EXPECT_EQ(show(actual), show(expected));
    }
    EXPECT_GT(total.cacheClears, 0u);

    // The same with a roomy cache: no give-up, same matches.
    auto roomy = compile(u"(a|b)*a(a|b){9}");
    ASSERT_NE(roomy->dfa, nullptr);
    actual.clear();
    ASSERT_EQ(dfaWalk(*roomy->dfa, text, actual), DfaOutcome::Found);
    EXPECT_EQ(show(actual), show(expected));
}

TEST(LazyDfa, MultiLineAnchorsSeeCrLfAsOneBreak) {
    EXPECT_EQ(show(dfaMatches(u"(?m)^", u"x\r\ny")), "[0,0)[3,3)");
    EXPECT_EQ(show(dfaMatches(u"(?m)$", u"x\r\ny")), "[1,1)[4,4)");
    // Lone CR and LF are breaks of their own; LF CR is two breaks.
    EXPECT_EQ(show(dfaMatches(u"(?m)^", u"a\rb\n\rc")), "[0,0)[2,2)[4,4)[5,5)");
    EXPECT_EQ(show(dfaMatches(u"(?m)$", u"a\rb\n\rc")), "[1,1)[3,3)[4,4)[6,6)");
    // Without m: only the text's edges.
    EXPECT_EQ(show(dfaMatches(u"^|$", u"a\nb")), "[0,0)[3,3)");
    // A line made of a CR LF pair: "^$" matches at the empty line only.
    EXPECT_EQ(show(dfaMatches(u"(?m)^$", u"a\r\n\r\nb")), "[3,3)");
    // "." without s stops at every separator, CR included.
    EXPECT_EQ(show(dfaMatches(u"(?-s).+", u"ab\r\ncd\u2028e")), "[0,2)[4,6)[7,8)");
    // Assertions at the search start look at the unit before it.
    auto c = compile(u"(?m)^b");
    ASSERT_NE(c->dfa, nullptr);
    std::size_t end = 0;
    EXPECT_EQ(c->dfa->findEnd(u"a\nb", 2, end), DfaOutcome::Found);
    EXPECT_EQ(end, 3u);
    EXPECT_EQ(c->dfa->findEnd(u"ab", 1, end), DfaOutcome::NotFound);
    auto lf = compile(u"(?m)^\\n");
    ASSERT_NE(lf->dfa, nullptr);
    EXPECT_EQ(lf->dfa->findEnd(u"\r\n", 1, end), DfaOutcome::NotFound);
}

TEST(LazyDfa, WordBoundariesAtTheTextEdges) {
    EXPECT_EQ(show(dfaMatches(u"\\b", u"ab cd")), "[0,0)[2,2)[3,3)[5,5)");
    EXPECT_EQ(show(dfaMatches(u"\\B", u"ab cd")), "[1,1)[4,4)");
    EXPECT_EQ(show(dfaMatches(u"\\b", u"")), "none");
    EXPECT_EQ(show(dfaMatches(u"\\B", u"")), "[0,0)");
    EXPECT_EQ(show(dfaMatches(u"\\B", u" ")), "[0,0)[1,1)");
    // German letters are word units by default.
    EXPECT_EQ(show(dfaMatches(u"\\b\\w+\\b", u"über ab")), "[0,4)[5,7)");
    // Start of a later search: the unit before decides.
    auto c = compile(u"\\bb");
    ASSERT_NE(c->dfa, nullptr);
    std::size_t end = 0;
    EXPECT_EQ(c->dfa->findEnd(u"ab b", 1, end), DfaOutcome::Found);
    EXPECT_EQ(end, 4u);
    std::size_t start = 0;
    EXPECT_EQ(c->dfa->findStart(u"ab b", 1, end, start), DfaOutcome::Found);
    EXPECT_EQ(start, 3u);
}

TEST(LazyDfa, PriorityDecidesTheEndNotLength) {
    EXPECT_EQ(show(dfaMatches(u"a+?", u"aaa")), "[0,1)[1,2)[2,3)");
    EXPECT_EQ(show(dfaMatches(u"a+", u"aaa")), "[0,3)");
    EXPECT_EQ(show(dfaMatches(u"a{2,3}?", u"aaaaa")), "[0,2)[2,4)");
    EXPECT_EQ(show(dfaMatches(u"a{2,3}", u"aaaaa")), "[0,3)[3,5)");
    EXPECT_EQ(show(dfaMatches(u"a|ab", u"ab")), "[0,1)");
    EXPECT_EQ(show(dfaMatches(u"ab|a", u"ab")), "[0,2)");
    EXPECT_EQ(show(dfaMatches(u"(a|ab)(c|bcd)", u"abcd")), "[0,4)");
    EXPECT_EQ(show(dfaMatches(u"x*?y|x", u"xxx")), "[0,1)[1,2)[2,3)");
    EXPECT_EQ(show(dfaMatches(u"()", u"ab")), "[0,0)[1,1)[2,2)");
    EXPECT_EQ(show(dfaMatches(u"a??", u"aa")), "[0,0)[1,1)[2,2)");
    EXPECT_EQ(show(dfaMatches(u"(?i)[a-c]+", u"xAbCd")), "[1,4)");
}

TEST(LazyDfa, NestedLoopsScanInLinearWork) {
    auto c = compile(u"(a+)+b");
    ASSERT_NE(c->dfa, nullptr);
    const std::u16string text(40000, u'a');
    std::size_t end = 0;
    EXPECT_EQ(c->dfa->findEnd(text, 0, end), DfaOutcome::NotFound);
    const DfaWork& work = c->dfa->work();
    EXPECT_GE(work.units, text.size());
    EXPECT_LT(work.units + work.nfaSteps + work.statesBuilt, 4 * text.size());

    // A match at the very end is still found, and its start by the reverse scan.
    std::u16string withB = text;
    withB.push_back(u'b');
    ASSERT_EQ(c->dfa->findEnd(withB, 0, end), DfaOutcome::Found);
    EXPECT_EQ(end, withB.size());
    std::size_t start = 1;
    ASSERT_EQ(c->dfa->findStart(withB, 0, end, start), DfaOutcome::Found);
    EXPECT_EQ(start, 0u);
    EXPECT_LT(c->dfa->work().units + c->dfa->work().nfaSteps, 4 * withB.size());
}

// Jumps to the next 'q' or 'Q', as a first-character scan of "(?i)q\w*" would.
std::size_t nextQ(const void* context, const char16_t* text, std::size_t n, std::size_t pos) {
    ++*static_cast<int*>(const_cast<void*>(context));
    while (pos < n && (text[pos] | 0x20) != u'q') ++pos;
    return pos;
}

// Claims there is nothing anywhere: positions past the end must be taken as the end.
std::size_t beyondEnd(const void*, const char16_t*, std::size_t n, std::size_t) { return n + 7; }

TEST(LazyDfa, AcceleratorSkipsOnlyWhereNoMatchBegins) {
    auto c = compile(u"(?i)q\\w*");
    ASSERT_NE(c->dfa, nullptr);
    int calls = 0;
    c->dfa->setAccelerator(&nextQ, &calls);
    std::u16string text;
    for (int k = 0; k < 200; ++k) text += u"some words with no such letter, then Quit and q\r\n";
    std::vector<Bounds> expected, actual;
    ASSERT_TRUE(backtrackerWalk(*c, text, expected));
    ASSERT_EQ(dfaWalk(*c->dfa, text, actual), DfaOutcome::Found);
    EXPECT_EQ(show(actual), show(expected));
    EXPECT_EQ(expected.size(), 400u);
    EXPECT_GT(calls, 0);
    std::size_t end = 0;
    ASSERT_EQ(c->dfa->findEnd(text, 0, end), DfaOutcome::Found);
    EXPECT_GT(c->dfa->work().skipped, 30u);

    // Removing the accelerator changes nothing but the work.
    c->dfa->setAccelerator(nullptr, nullptr);
    actual.clear();
    ASSERT_EQ(dfaWalk(*c->dfa, text, actual), DfaOutcome::Found);
    EXPECT_EQ(show(actual), show(expected));
    EXPECT_EQ(c->dfa->work().skipped, 0u);

    // An empty match at the end survives a jump past it.
    auto empty = compile(u"x*$");
    ASSERT_NE(empty->dfa, nullptr);
    empty->dfa->setAccelerator(&beyondEnd, nullptr);
    ASSERT_EQ(empty->dfa->findEnd(u"abc", 0, end), DfaOutcome::Found);
    EXPECT_EQ(end, 3u);
}

TEST(LazyDfa, EligibilityRules) {
    EXPECT_EQ(compile(u"(a)\\1")->dfa, nullptr);          // back-reference
    EXPECT_EQ(compile(u"(abcdef){2000}")->dfa, nullptr);  // unrolled too large
    EXPECT_NE(compile(u"a{9000}")->dfa, nullptr);         // large but under the limit
    EXPECT_NE(compile(u"((ab){20}c){10}")->dfa, nullptr);

    RegexOptions noPair;
    noPair.LinePairedSeparator.clear();
    EXPECT_NE(compile(u"(?m)^a", {}, noPair)->dfa, nullptr);
    // A pair whose units are not separators themselves needs more look-around.
    RegexOptions foreignPair;
    foreignPair.LinePairedSeparator = std::u16string{u'a', u'b'};
    EXPECT_EQ(compile(u"x", {}, foreignPair)->dfa, nullptr);
    RegexOptions lfOnly;
    lfOnly.LineSeparatorSet = std::u16string(1, u'\n');
    EXPECT_EQ(compile(u"x", {}, lfOnly)->dfa, nullptr);

    // Without a pair, CR and LF are two breaks.
    auto c = compile(u"(?m)^", {}, noPair);
    ASSERT_NE(c->dfa, nullptr);
    std::vector<Bounds> actual;
    ASSERT_EQ(dfaWalk(*c->dfa, u"x\r\ny", actual), DfaOutcome::Found);
    EXPECT_EQ(show(actual), "[0,0)[2,2)[3,3)");
}

}  // namespace
}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// Differential test against PCRE2: random expressions from a grammar of the features both
// dialects share, matched against random texts; every match and every group must agree.
//
// Kept out of the grammar, and why:
// - texts are ASCII letters, digits, space and LF only: our \w set holds German letters and
//   our line breaks include CR, CR LF, VT, FF, NEL and U+2028/9, where PCRE2 sees only LF;
// - "$" and "\Z" mean the very end here, so PCRE2 runs with DOLLAR_ENDONLY and "\Z" is written
//   "\z" for it; "^" with m matches after a final LF here, hence ALT_CIRCUMFLEX;
// - "*", "+" and braces only on atoms that cannot match the empty string (our error 106);
//   PCRE2 would accept them with its own empty-iteration rules;
// - no g, r or x modifiers, no Russian ranges, no "{" as a literal (PCRE2 10.43 reads "{,n}"
//   as a quantifier), no back-reference into a group that is still open;
// - back-references are written "\g{n}" for PCRE2, which would read "\81" as group 81;
// - the s flag is on as in our defaults, so PCRE2 runs with DOTALL; "(?-s)" is generated.
#include <gtest/gtest.h>

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "text/regex_test_support.h"

namespace tessaro {
namespace {

using test::Random;

struct Generated {
    std::u16string ours;
    std::u16string pcre;
    int groups = 0;
};

class ExpressionGenerator {
public:
    explicit ExpressionGenerator(Random& random) : m_random(random) {}

    Generated make() {
        m_out = {};
        m_closed.clear();
        if (m_random.chance(15)) emit(u"(?i)");
        if (m_random.chance(10)) emit(u"(?m)");
        if (m_random.chance(10)) emit(u"(?-s)");
        if (m_random.chance(20)) {
            // A captured run first, which back-references then look at: starts inside the
            // run differ only in what they capture.
            static const char16_t* const runs[] = {u"([ab]+)", u"(\\w+)", u"([^ ]+)", u"(a+)"};
            emit(runs[m_random.below(4)]);
            m_closed.push_back(++m_out.groups);
        }
        alternation(0);
        if (m_out.ours.empty()) emit(u"b");  // an empty expression is an error of its own
        return m_out;
    }

private:
    void emit(std::u16string_view both) {
        m_out.ours += both;
        m_out.pcre += both;
    }
    void emit(std::u16string_view ours, std::u16string_view pcre) {
        m_out.ours += ours;
        m_out.pcre += pcre;
    }

    // Returns whether the alternation can match the empty string.
    bool alternation(int depth) {
        const int count = 1 + (m_random.chance(35) ? m_random.below(3) : 0);
        bool empty = false;
        for (int k = 0; k < count; ++k) {
            if (k > 0) emit(u"|");
            empty = sequence(depth) || empty;
        }
        return empty;
    }

    // Four to seven alternatives of plain literals, prefixes of each other among them, which
    // the engine walks as a trie; returns whether one is empty.
    bool literals() {
        static const char16_t* const words[] = {u"a", u"ab", u"abc", u"b", u"ba", u"c", u"", u"1 "};
        const int count = 4 + m_random.below(4);
        bool empty = false;
        for (int k = 0; k < count; ++k) {
            if (k > 0) emit(u"|");
            const std::u16string_view word = words[m_random.below(8)];
            emit(word);
            empty = empty || word.empty();
        }
        return empty;
    }

    bool sequence(int depth) {
        const int count = m_random.chance(5) ? 0 : 1 + m_random.below(4);
        bool empty = true;
        for (int k = 0; k < count; ++k) empty = piece(depth) && empty;
        return empty;
    }

    bool piece(int depth) {
        bool atomEmpty = false;
        bool assertion = false;
        const int kind = m_random.below(100);
        if (kind < 35) {
            const char16_t c = u"abcab1 "[m_random.below(7)];
            emit(std::u16string(1, c));
        } else if (kind < 42) {
            emit(u".");
        } else if (kind < 55) {
            static const char16_t* const classes[] = {u"[ab]",   u"[^a]", u"[a-c]", u"[^bc\\n]",
                                                      u"[\\d ]", u"[]a]", u"[a-]",  u"[\\w]"};
            emit(classes[m_random.below(8)]);
        } else if (kind < 62) {
            static const char16_t* const escapes[] = {u"\\d", u"\\w", u"\\s",   u"\\W",     u"\\S",
                                                      u"\\D", u"\\n", u"\\x61", u"\\x{62}", u"\\."};
            emit(escapes[m_random.below(10)]);
        } else if (kind < 70) {
            assertion = atomEmpty = true;
            switch (m_random.below(6)) {
                case 0:
                    emit(u"^");
                    break;
                case 1:
                    emit(u"$");
                    break;
                case 2:
                    emit(u"\\b");
                    break;
                case 3:
                    emit(u"\\B");
                    break;
                case 4:
                    emit(u"\\A");
                    break;
                default:
                    emit(u"\\Z", u"\\z");
                    break;
            }
        } else if (kind < 75 && !m_closed.empty()) {
            const int group = m_closed[m_random.below(static_cast<int>(m_closed.size()))];
            // PCRE2 reads "\\81" as group 81; ours reads one digit.
            const std::u16string digit(1, char16_t(u'0' + group));
            emit(u"\\" + digit, u"\\g{" + digit + u"}");
        } else if (depth < 3 && m_out.groups < 9) {
            const int number = ++m_out.groups;
            emit(u"(");
            atomEmpty = m_random.chance(30) ? literals() : alternation(depth + 1);
            emit(u")");
            m_closed.push_back(number);
        } else {
            emit(u"c");
        }
        if (assertion || m_random.chance(55)) return atomEmpty;
        // A quantifier: "?" fits every atom, the others only atoms that cannot be empty.
        int choice = m_random.below(atomEmpty ? 1 : 7);
        bool canBeEmpty = true;
        switch (choice) {
            case 0:
                emit(u"?");
                break;
            case 1:
                emit(u"*");
                break;
            case 2:
                emit(u"+");
                canBeEmpty = false;
                break;
            case 3: {
                const int n = m_random.below(3);
                emit(u"{" + std::u16string(1, char16_t(u'0' + n)) + u"}");
                canBeEmpty = n == 0;
                break;
            }
            case 4: {
                const int n = m_random.below(3);
                const int m = n + m_random.below(3);
                emit(u"{" + std::u16string(1, char16_t(u'0' + n)) + u"," +
                     std::u16string(1, char16_t(u'0' + m)) + u"}");
                canBeEmpty = n == 0;
                break;
            }
            default: {
                const int n = m_random.below(3);
                emit(u"{" + std::u16string(1, char16_t(u'0' + n)) + u",}");
                canBeEmpty = n == 0;
                break;
            }
        }
        if (m_random.chance(35)) emit(u"?");
        return atomEmpty || canBeEmpty;
    }

    Random& m_random;
    Generated m_out;
    std::vector<int> m_closed;
};

std::u16string randomText(Random& random) {
    const int length = random.below(14);
    std::u16string text;
    for (int k = 0; k < length; ++k) text.push_back(u"aabbcA1 \n_"[random.below(10)]);
    return text;
}

// One match: slot starts and ends, 0-based, -1 when unset.
using Slots = std::vector<int>;

bool pcreMatches(pcre2_code* code, const std::u16string& text, int groups,
                 std::vector<Slots>& out) {
    pcre2_match_data* data = pcre2_match_data_create_from_pattern(code, nullptr);
    std::size_t start = 0;
    bool ok = true;
    while (start <= text.size()) {
        const int rc = pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(),
                                   start, 0, data, nullptr);
        if (rc == PCRE2_ERROR_NOMATCH) break;
        if (rc < 0) {
            ok = false;
            break;
        }
        const PCRE2_SIZE* vector = pcre2_get_ovector_pointer(data);
        Slots slots;
        for (int g = 0; g <= groups; ++g) {
            const bool set = g < rc && vector[2 * g] != PCRE2_UNSET;
            slots.push_back(set ? static_cast<int>(vector[2 * g]) : -1);
            slots.push_back(set ? static_cast<int>(vector[2 * g + 1]) : -1);
        }
        out.push_back(slots);
        start = vector[1] + (vector[1] == vector[0] ? 1 : 0);
    }
    pcre2_match_data_free(data);
    return ok;
}

std::vector<Slots> ourMatches(TRegexEngine& engine, const std::u16string& text, int groups) {
    std::vector<Slots> out;
    for (bool ok = engine.MatchFirst(text); ok; ok = engine.MatchNext()) {
        Slots slots;
        for (int g = 0; g <= groups; ++g) {
            const int start = engine.MatchStart(g);
            slots.push_back(start < 0 ? -1 : start - 1);
            slots.push_back(start < 0 ? -1 : start - 1 + engine.MatchLength(g));
        }
        out.push_back(slots);
    }
    return out;
}

std::string show(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) {
        if (c == u'\n')
            out += "\\n";
        else
            out.push_back(static_cast<char>(c));
    }
    return out;
}

TEST(RegexAgainstPcre2, RandomExpressionsAgreeOnEveryMatchAndGroup) {
    Random random(20240611);
    ExpressionGenerator generator(random);
    const std::uint32_t options = PCRE2_DOTALL | PCRE2_DOLLAR_ENDONLY | PCRE2_ALT_CIRCUMFLEX;
    int compared = 0;
    int matched = 0;
    int rejected = 0;
    int failures = 0;
    for (int round = 0; round < 6000 && failures < 10; ++round) {
        const Generated expression = generator.make();
        int errorCode = 0;
        PCRE2_SIZE errorOffset = 0;
        pcre2_code* code =
            pcre2_compile(reinterpret_cast<PCRE2_SPTR>(expression.pcre.data()),
                          expression.pcre.size(), options, &errorCode, &errorOffset, nullptr);
        ASSERT_NE(code, nullptr) << show(expression.pcre);
        test::EngineFixture f;
        TRegexEngine& engine = f.engine(expression.ours);
        // Every other round the memo runs from the first backtrack, to show it is sound.
        MatchLimits limits;
        limits.memoFromStart = round % 2 == 1;
        engine.setLimits(limits);
        for (int t = 0; t < 6; ++t) {
            const std::u16string text = randomText(random);
            std::vector<Slots> expected;
            if (!pcreMatches(code, text, expression.groups, expected)) continue;
            const std::vector<Slots> actual = ourMatches(engine, text, expression.groups);
            if (!f.state.noError) {
                ++rejected;
                ADD_FAILURE() << "engine error " << engine.lastErrorCode() << " for "
                              << show(expression.ours);
                ++failures;
                break;
            }
            ++compared;
            matched += expected.empty() ? 0 : 1;
            if (actual != expected) {
                ++failures;
                ADD_FAILURE() << "expression " << show(expression.ours) << " text \"" << show(text)
                              << "\": " << actual.size() << " matches, PCRE2 " << expected.size()
                              << (actual.empty() || expected.empty()
                                      ? std::string()
                                      : " first at " + std::to_string(actual[0][0]) + "-" +
                                            std::to_string(actual[0][1]) + " vs " +
                                            std::to_string(expected[0][0]) + "-" +
                                            std::to_string(expected[0][1]));
            }
        }
        pcre2_code_free(code);
    }
    RecordProperty("compared", compared);
    RecordProperty("matched", matched);
    std::printf("compared %d text/expression pairs, %d with matches\n", compared, matched);
    EXPECT_GT(compared, 30000);
    EXPECT_GT(matched, compared / 4);  // the grammar must produce matches, not only misses
    EXPECT_EQ(rejected, 0);
}

}  // namespace
}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the regular-expression engine: compiles arbitrary expressions, runs
// every search of a replace-all over an arbitrary text, expands a template after each match,
// and checks that the memo never changes what is found.
#include "text/regex_engine.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace tessaro;

// Bytes become code units: ASCII as it is, the rest mapped onto characters with a meaning
// for the engine (line breaks, German and Russian letters, range ends).
char16_t unitOf(std::uint8_t byte) {
    static const char16_t special[] = {
        u'\u0430', u'\u044f', u'\u0410', u'\u042f', u'\u0451', u'\u0401', u'\u00e4', u'\u00c4',
        u'\u00df', u'\u0085', u'\u2028', u'\u2029', u'\u000b', u'\u000c', u'\u0000', u'\uffff'};
    if (byte < 0x80) return byte;
    return special[byte & 15];
}

struct Outcome {
    std::vector<int> hits;
    bool aborted = false;
};

Outcome runAll(const RegexOptions& options, const std::u16string& expression,
               const std::u16string& text, const std::u16string& tpl, bool memoFromStart) {
    RegExErrorState state;
    TRegexEngine engine(options, state, [] { return std::u16string(u"en"); });
    MatchLimits limits;
    limits.stepBudget = 3'000'000;
    limits.backtrackBytes = 4u << 20;
    limits.memoBytes = 4u << 20;
    limits.memoFromStart = memoFromStart;
    engine.setLimits(limits);
    engine.setExpression(expression);
    Outcome outcome;
    int previousEnd = 0;
    int count = 0;
    for (bool ok = engine.MatchFirst(text); ok && count < 200; ok = engine.MatchNext(), ++count) {
        const int start = engine.MatchStart(0);
        const int length = engine.MatchLength(0);
        if (start < 1 || length < 0 || start + length > static_cast<int>(text.size()) + 1)
            std::abort();
        if (start < previousEnd) std::abort();
        for (int g = 1; g <= 14; ++g) {
            const int groupStart = engine.MatchStart(g);
            if (groupStart == -1) continue;
            if (groupStart < 1 ||
                groupStart + engine.MatchLength(g) > static_cast<int>(text.size()) + 1)
                std::abort();
        }
        previousEnd = start + length;
        outcome.hits.push_back(start);
        outcome.hits.push_back(length);
        (void)engine.ExpandTemplate(tpl);
    }
    outcome.aborted = engine.searchAborted();
    if (!state.noError && state.message.empty()) std::abort();
    return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    RegexOptions options;
    const std::uint8_t flags = data[0];
    options.i = flags & 1;
    options.s = flags & 2;
    options.g = flags & 4;
    options.m = flags & 8;
    options.r = flags & 16;
    if (flags & 32) options.LineSeparatorSet.clear();
    if (flags & 64) options.WordSet = u"ab\u0430";

    // Expression, text and template are separated by 0xFF bytes.
    std::u16string parts[3];
    int part = 0;
    for (std::size_t k = 1; k < size; ++k) {
        if (data[k] == 0xFF && part < 2) {
            ++part;
            continue;
        }
        parts[part].push_back(unitOf(data[k]));
    }
    const Outcome plain = runAll(options, parts[0], parts[1], parts[2], false);
    const Outcome memo = runAll(options, parts[0], parts[1], parts[2], true);
    if (!plain.aborted && !memo.aborted && plain.hits != memo.hits) std::abort();
    return 0;
}

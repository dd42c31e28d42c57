// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the lazy DFA: arbitrary expressions over arbitrary texts. Every match
// of a replace-all walk must have the bounds the backtracker finds, unless the DFA refuses
// the expression or gives up, or the backtracker runs out of budget. The state cache is kept
// small so that emptying it is exercised too.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "text/regex/lazy_dfa.h"
#include "text/regex/regex_matcher.h"
#include "text/regex/regex_program.h"
#include "text/regex/regex_syntax.h"
#include "text/regex_engine.h"
#include "text/regex_options.h"

namespace {

using namespace tessaro;

// Bytes become code units: ASCII as it is, the rest mapped onto units with a meaning for
// the expression (line breaks, German letters, the ends of the range).
char16_t unitOf(std::uint8_t byte) {
    static const char16_t special[] = {
        u'\u00e4', u'\u00c4', u'\u00df', u'\u0085', u'\u2028', u'\u2029', u'\u000b', u'\u000c',
        u'\r',     u'\n',     u'\r',     u'\n',     u'\u0000', u'\uffff', u'\u0430', u'_'};
    if (byte < 0x80) return byte;
    return special[byte & 15];
}

using Bounds = std::vector<std::pair<std::size_t, std::size_t>>;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    RegexOptions options;
    const std::uint8_t flags = data[0];
    options.i = flags & 1;
    options.s = flags & 2;
    options.g = flags & 4;
    options.m = flags & 8;
    if (flags & 16) options.LinePairedSeparator.clear();

    // Expression and text are separated by a 0xFF byte.
    std::u16string parts[2];
    int part = 0;
    for (std::size_t k = 1; k < size; ++k) {
        if (data[k] == 0xFF && part == 0) {
            part = 1;
            continue;
        }
        parts[part].push_back(unitOf(data[k]));
    }
    const std::u16string& text = parts[1];

    SyntaxTree tree;
    if (ParseRegex(parts[0], SyntaxOptionsOf(options), tree)) return 0;
    const RegexProgram program = CompileRegex(tree);
    for (const Inst& inst : program.code)
        if (inst.op == Op::DepthFail) return 0;

    const MatchContext context = MatchContextOf(options);
    LazyDfaOptions dfaOptions;
    dfaOptions.cacheBytes = 32u << 10;
    const std::unique_ptr<RegexDfa> dfa = RegexDfa::create(tree, context, dfaOptions);
    if (!dfa) return 0;

    Bounds expected;
    RegexMatcher matcher(program, context, MatchLimits{});
    for (std::size_t pos = 0; pos <= text.size() && expected.size() < 200;) {
        CaptureSlots slots;
        const SearchOutcome outcome = matcher.search(text, pos, slots, 3'000'000);
        if (outcome == SearchOutcome::NotFound) break;
        if (outcome != SearchOutcome::Found) return 0;
        const auto start = static_cast<std::size_t>(slots[0]);
        const auto end = static_cast<std::size_t>(slots[1]);
        expected.emplace_back(start, end);
        pos = end + (start == end ? 1 : 0);
    }

    Bounds actual;
    for (std::size_t pos = 0; pos <= text.size() && actual.size() < expected.size() + 1;) {
        std::size_t end = 0;
        const DfaOutcome forward = dfa->findEnd(text, pos, end);
        if (forward == DfaOutcome::GaveUp) return 0;
        if (forward == DfaOutcome::NotFound) break;
        if (end < pos || end > text.size()) std::abort();
        std::size_t start = 0;
        const DfaOutcome backward = dfa->findStart(text, pos, end, start);
        if (backward == DfaOutcome::GaveUp) return 0;
        if (backward != DfaOutcome::Found) std::abort();
        actual.emplace_back(start, end);
        pos = end + (start == end ? 1 : 0);
    }
    // The backtracker's walk may have been cut at 200 matches.
    if (expected.size() < 200 && actual != expected) std::abort();
    if (expected.size() == 200 && (actual.size() < expected.size() ||
                                   !std::equal(expected.begin(), expected.end(), actual.begin())))
        std::abort();
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The backtracking matcher. Every choice point and every undo record lives on one explicit
// stack on the heap, so no text length or nesting can overflow the machine stack. A search is
// bounded by a step budget and a stack-memory limit; when a search backtracks far more than
// the text is long, a bit memo of failed (state, position) pairs makes the rest linear.
#include "text/regex/regex_matcher.h"

#include <algorithm>
#include <climits>

#include "text/regex/text_scan.h"

namespace tessaro {

namespace {

char16_t foldAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; }

// What setting up a search costs, in steps: a walk of many empty matches is mostly that.
constexpr std::uint64_t kSearchSetupSteps = 8;

}  // namespace

RegexMatcher::RegexMatcher(const RegexProgram& program, const MatchContext& context,
                           MatchLimits limits)
    : m_program(program),
      m_context(context),
      m_limits(limits),
      m_regs(static_cast<std::size_t>(program.registerCount), -1),
      m_maxEntries(std::max<std::size_t>(1, limits.backtrackBytes / sizeof(Entry))),
      m_runEnds(static_cast<std::size_t>(program.runCount)) {
    // Registers need no clearing between searches: every path writes one before reading it.
    if (!program.lineAnchored) return;
    CharSet breaks = context.lineSeparators;
    if (context.hasPair) breaks.add(context.pairSecond);
    breaks.finish();
    for (const auto& [first, last] : breaks.ranges()) m_breakRanges.push_back({first, last});
    if (m_breakRanges.size() > 8) m_breakRanges.clear();
}

bool RegexMatcher::lineStartAt(std::int32_t pos) const {
    if (pos == 0) return true;
    const char16_t before = m_text[pos - 1];
    // No line break is seen between the two characters of the pair.
    if (m_context.hasPair && before == m_context.pairFirst && pos < m_n &&
        m_text[pos] == m_context.pairSecond)
        return false;
    if (m_context.lineSeparators.contains(before)) return true;
    return m_context.hasPair && before == m_context.pairSecond && pos >= 2 &&
           m_text[pos - 2] == m_context.pairFirst;
}

bool RegexMatcher::lineEndAt(std::int32_t pos) const {
    if (pos == m_n) return true;
    const char16_t at = m_text[pos];
    if (m_context.hasPair && at == m_context.pairSecond && pos > 0 &&
        m_text[pos - 1] == m_context.pairFirst)
        return false;
    if (m_context.lineSeparators.contains(at)) return true;
    return m_context.hasPair && at == m_context.pairFirst && pos + 1 < m_n &&
           m_text[pos + 1] == m_context.pairSecond;
}

bool RegexMatcher::matchOne(const Inst& inst, std::int32_t pos) const {
    const char16_t c = m_text[pos];
    switch (static_cast<RepeatAtom>(inst.atom)) {
        case RepeatAtom::Char:
            return c == inst.ch;
        case RepeatAtom::CharFold:
            return char16_t(c | 0x20) == inst.ch;
        case RepeatAtom::Any:
            return true;
        case RepeatAtom::AnyNoBreak:
            if (m_context.lineSeparators.contains(c)) return false;
            return !(m_context.hasPair && c == m_context.pairFirst && pos + 1 < m_n &&
                     m_text[pos + 1] == m_context.pairSecond);
        case RepeatAtom::Set:
            return m_program.sets[inst.x].contains(c);
    }
    return false;
}

bool RegexMatcher::backrefAt(int group, bool fold, std::int32_t pos, std::int32_t& length) const {
    const std::int32_t from = m_slots[2 * group];
    const std::int32_t to = m_slots[2 * group + 1];
    if (from < 0 || to < 0) return false;
    length = to - from;
    if (length > m_n - pos) return false;
    if (!fold) {
        // Most comparisons fail at once; the first character spares them a library call.
        if (length > 0 && m_text[from] != m_text[pos]) return false;
        return std::equal(m_text + from, m_text + to, m_text + pos);
    }
    for (std::int32_t k = 0; k < length; ++k) {
        if (foldAscii(m_text[from + k]) != foldAscii(m_text[pos + k])) return false;
    }
    return true;
}

std::uint64_t RegexMatcher::maybeEnableMemo() {
    if (m_memoOn || m_memoRefused) return 0;
    m_memoRefused = true;
    const std::size_t rows = static_cast<std::size_t>(m_program.memoRows);
    if (rows == 0) return 0;
    m_memoWidth = static_cast<std::size_t>(m_n - m_searchStart) + 1;
    const std::size_t words = (rows * m_memoWidth + 63) / 64;
    if (words * sizeof(std::uint64_t) > m_limits.memoBytes) return 0;
    m_memo.assign(words, 0);
    m_memoOn = true;
    return words;  // clearing the memo is work like any other
}

std::int32_t RegexMatcher::lastCharBefore(char16_t c, std::int32_t from, std::int32_t to,
                                          std::uint64_t& steps) {
    // Walks over one text give back over the same tail again and again (".*x" on a text
    // without "x"); the last answer covers every later question inside its range.
    LastCharScan& last = m_lastCharScan;
    if (last.valid && last.c == c && from >= last.from && to <= last.to && last.found < to) {
        ++steps;
        return last.found >= from ? last.found : -1;
    }
    const std::ptrdiff_t found = text_scan::findLastChar(m_text, from, to, c);
    steps += static_cast<std::uint64_t>(to - (found < 0 ? from : found)) / 8 + 1;
    last = {true, c, from, to, static_cast<std::int32_t>(found)};
    return last.found;
}

bool RegexMatcher::memoTest(std::int32_t row, std::int32_t pos) const {
    const std::size_t bit =
        static_cast<std::size_t>(row) * m_memoWidth + static_cast<std::size_t>(pos - m_searchStart);
    return (m_memo[bit >> 6] >> (bit & 63)) & 1u;
}

bool RegexMatcher::memoTestAndSet(std::int32_t row, std::int32_t pos) {
    const std::size_t bit =
        static_cast<std::size_t>(row) * m_memoWidth + static_cast<std::size_t>(pos - m_searchStart);
    std::uint64_t& word = m_memo[bit >> 6];
    const std::uint64_t mask = 1ull << (bit & 63);
    if (word & mask) return true;
    word |= mask;
    return false;
}

std::uint64_t RegexMatcher::memoSetRange(std::int32_t row, std::int32_t from, std::int32_t to) {
    const std::size_t base = static_cast<std::size_t>(row) * m_memoWidth;
    std::size_t first = base + static_cast<std::size_t>(from - m_searchStart);
    const std::size_t last = base + static_cast<std::size_t>(to - m_searchStart);
    const std::uint64_t cost = (last - first) / 64 + 1;
    for (; first <= last && (first & 63); ++first) m_memo[first >> 6] |= 1ull << (first & 63);
    for (; first + 63 <= last; first += 64) m_memo[first >> 6] = ~0ull;
    for (; first <= last; ++first) m_memo[first >> 6] |= 1ull << (first & 63);
    return cost;
}

void RegexMatcher::begin(std::u16string_view text, std::size_t start, std::uint64_t budget) {
    // Only a first search starts at 0; later ones of the same walk keep what they learnt.
    if (start == 0 || m_text != text.data() || m_n != std::int32_t(text.size())) {
        m_lastCharScan.valid = false;
        ++m_walk;
    }
    m_text = text.data();
    m_n = static_cast<std::int32_t>(text.size());
    m_searchStart = static_cast<std::int32_t>(start);
    m_steps = kSearchSetupSteps;
    m_budget = budget;
    m_backtracks = 0;
    if (m_memoOn) m_memo.clear();
    m_memoOn = false;
    m_memoRefused = false;
    m_loopDepthExceeded = false;
    // Without groups only the whole match is ever set, and the caller sets that.
    if (m_program.hasGroups) m_slots.fill(-1);
    m_slotsDirty = false;
    m_memoThreshold = m_limits.memoFromStart
                          ? 0
                          : static_cast<std::uint64_t>(m_n + 1) * std::max(1, m_program.memoRows);
}

SearchOutcome RegexMatcher::searchAt(std::u16string_view text, std::size_t start,
                                     CaptureSlots& slots, std::uint64_t budget) {
    if (text.size() >= static_cast<std::size_t>(INT32_MAX)) return SearchOutcome::MemoryExceeded;
    begin(text, start, budget);
    std::int32_t end = 0;
    const auto s = static_cast<std::int32_t>(start);
    const RunResult result = m_program.linear ? runLinear(s, end) : run(s, end);
    m_stack.clear();
    switch (result) {
        case RunResult::Match:
            if (m_program.hasGroups) slots = m_slots;
            slots[0] = s;
            slots[1] = end;
            return SearchOutcome::Found;
        case RunResult::Budget:
            return SearchOutcome::StepBudgetExceeded;
        case RunResult::Memory:
            return SearchOutcome::MemoryExceeded;
        case RunResult::Fail:
            break;
    }
    return SearchOutcome::NotFound;
}

SearchOutcome RegexMatcher::search(std::u16string_view text, std::size_t start,
                                   CaptureSlots& slots, std::uint64_t budget) {
    const RegexProgram& p = m_program;
    // Positions are 32-bit; a longer text is more than any search may hold.
    if (text.size() >= static_cast<std::size_t>(INT32_MAX)) return SearchOutcome::MemoryExceeded;
    if (p.classRun && takeRunAhead(text, start, slots)) return SearchOutcome::Found;
    begin(text, start, budget);

    if (p.literalOnly) {
        const std::size_t at = p.startLiterals->find(m_text, text.size(), start);
        // The scan reads eight characters or more at a time.
        m_steps += (std::min(at, text.size()) - start) / 8;
        if (m_steps > m_budget) return SearchOutcome::StepBudgetExceeded;
        std::size_t length = 0;
        if (at >= text.size() || !p.startLiterals->matchesAt(m_text, text.size(), at, length))
            return SearchOutcome::NotFound;
        // Whole slots first, the match after: reading back a narrow store just made through a
        // wide load stalls the processor on every match of a walk.
        slots = m_slots;
        slots[0] = static_cast<std::int32_t>(at);
        slots[1] = static_cast<std::int32_t>(at + length);
        return SearchOutcome::Found;
    }
    if (p.anchoredStart && start > 0) return SearchOutcome::NotFound;
    if (p.classRun) {
        const SearchOutcome outcome = searchClassRun(m_searchStart, m_n, slots);
        if (outcome == SearchOutcome::Found) findRunsAhead(slots[1]);
        return outcome;
    }

    const bool filter = !p.canBeEmpty && p.firstCount < 65536;
    const bool byLines = p.lineAnchored && !m_breakRanges.empty();
    std::int32_t required = -1;
    for (std::int32_t s = m_searchStart; s <= m_n; ++s) {
        if (byLines) {
            // Only a line start can begin a match: go from line break to line break.
            bool more = true;
            while (!lineStartAt(s)) {
                const std::size_t at =
                    text_scan::findInRanges(m_text, text.size(), std::size_t(s),
                                            m_breakRanges.data(), m_breakRanges.size());
                m_steps += (std::min(at, text.size()) - std::size_t(s)) / 8 + 1;
                if (at >= text.size()) {
                    more = false;
                    break;
                }
                s = static_cast<std::int32_t>(at) + 1;
            }
            if (!more) break;
            if (filter && (s >= m_n || !p.firstContains(m_text[s]))) continue;
        } else if (filter) {
            if (s >= m_n) break;
            const std::size_t next = p.nextStart(m_text, text.size(), std::size_t(s));
            m_steps += (next - std::size_t(s)) / 8 + 1;  // vector scans
            if (next >= text.size()) break;
            s = static_cast<std::int32_t>(next);
        }
        if (p.hasRequired && required < s) {
            const std::size_t at =
                text_scan::findChar(m_text, text.size(), std::size_t(s), p.required);
            m_steps += (std::min(at, text.size()) - std::size_t(s)) / 8 + 1;
            if (at >= text.size()) break;
            required = static_cast<std::int32_t>(at);
        }
        if (m_steps > m_budget) return SearchOutcome::StepBudgetExceeded;
        if (m_slotsDirty) {
            m_slots.fill(-1);
            m_slotsDirty = false;
        }
        std::int32_t end = 0;
        m_runFirsts.clear();
        m_runFirstsKnown = true;
        switch (p.linear ? runLinear(s, end) : run(s, end)) {
            case RunResult::Match:
                if (p.hasGroups) slots = m_slots;
                slots[0] = s;
                slots[1] = end;
                m_stack.clear();
                return SearchOutcome::Found;
            case RunResult::Budget:
                m_stack.clear();
                return SearchOutcome::StepBudgetExceeded;
            case RunResult::Memory:
                m_stack.clear();
                return SearchOutcome::MemoryExceeded;
            case RunResult::Fail:
                if (p.capturedRunGroup) s = lastUselessStart(s);
                break;
        }
        if (p.anchoredStart) break;
    }
    return SearchOutcome::NotFound;
}

void RegexMatcher::noteRunBackref(std::int32_t pos, bool same) {
    // A later start inside the run captures less, beginning with its own first character:
    // where that differs from the one here, the comparison fails at once, as it failed
    // here; at the end of the text it fails for any start. Only a success is different.
    if (same || m_runFirsts.size() == kRunFirsts) {
        m_runFirstsKnown = false;
        return;
    }
    if (pos >= m_n) return;
    // Kept folded when any back-reference to the run folds: a later start is then skipped
    // only when it differs from this one in either case, which fails every comparison.
    const char16_t c = m_text[pos];
    m_runFirsts.push_back(m_program.capturedRunFold ? foldAscii(c) : c);
}

std::int32_t RegexMatcher::lastUselessStart(std::int32_t s) {
    // The attempt from s captured [s, end of the run) and failed; one from a later start in
    // the run takes the same path up to every back-reference, where only its first
    // character can decide differently. Starts whose first character none of them met are
    // skipped: the loop goes on after the returned one.
    if (!m_runFirstsKnown) return s;
    const std::int32_t last = m_capturedRunEnd - m_program.code[1].min;
    std::int32_t next = s + 1;
    if (m_runFirsts.size() == 1 && !m_program.capturedRunFold) {
        const char16_t met = m_runFirsts[0];
        while (next <= last && m_text[next] != met) ++next;
    } else {
        for (; next <= last; ++next) {
            const char16_t c = m_program.capturedRunFold ? foldAscii(m_text[next]) : m_text[next];
            if (std::find(m_runFirsts.begin(), m_runFirsts.end(), c) != m_runFirsts.end()) break;
        }
    }
    m_steps += static_cast<std::uint64_t>(next - s);
    return next - 1;
}

bool RegexMatcher::assertionHolds(const Inst& inst, std::int32_t pos) const {
    switch (inst.op) {
        case Op::LineStart:
            return pos == 0;
        case Op::LineStartM:
            return lineStartAt(pos);
        case Op::InputEnd:
            return pos == m_n;
        case Op::LineEndM:
            return lineEndAt(pos);
        case Op::WordBoundary:
            return isWord(pos - 1) != isWord(pos);
        case Op::NotWordBoundary:
            return isWord(pos - 1) == isWord(pos);
        default:
            return false;
    }
}

SearchOutcome RegexMatcher::searchClassRun(std::int32_t from, std::int32_t last,
                                           CaptureSlots& slots) {
    const RegexProgram& p = m_program;
    const RegexProgram::ClassRun& run = *p.classRun;
    const Inst* code = p.code.data();
    const Inst& repeat = code[run.repeat];
    // Runs may start up to last; they may go on beyond it.
    const std::size_t bound = std::size_t(last) + (last < m_n ? 1 : 0);
    std::int32_t s = from;
    while (s < m_n) {
        const std::size_t next = p.nextStart(m_text, bound, std::size_t(s));
        m_steps += (next - std::size_t(s)) / 8 + 1;  // vector scans
        if (next >= bound) break;
        s = static_cast<std::int32_t>(next);
        std::int32_t e = s + 1;
        while (e < m_n && run.members.contains(m_text[e])) ++e;
        m_steps += static_cast<std::uint64_t>(e - s);
        if (m_steps > m_budget) return SearchOutcome::StepBudgetExceeded;
        // Every start in the run takes it to its end, so the assertions there decide for all,
        // and those at the start for each; starts too close to the end take too little.
        bool endHolds = true;
        for (std::size_t pc = run.repeat + 1; endHolds && code[pc].op != Op::Match; ++pc)
            endHolds = assertionHolds(code[pc], e);
        for (std::int32_t start = s; endHolds && start <= e - repeat.min; ++start) {
            ++m_steps;
            bool startHolds = true;
            for (std::size_t pc = 0; startHolds && pc < run.repeat; ++pc)
                startHolds = assertionHolds(code[pc], start);
            if (startHolds) {
                slots[0] = start;
                slots[1] = e;
                return SearchOutcome::Found;
            }
        }
        if (p.anchoredStart) break;
        s = e;
    }
    return SearchOutcome::NotFound;
}

void RegexMatcher::findRunsAhead(std::int32_t from) {
    // A walk over many short runs ("[a-z]+" over prose) spends more on setting up its
    // searches than on finding the runs: the next ones are found now, from one table lookup
    // per 32 units, while a short stretch of text still holds one, so that a caller who
    // wants only the first match pays for little more.
    constexpr std::int32_t kStretch = 256;
    m_aheadCount = 0;
    m_aheadNext = 0;
    const RegexProgram& p = m_program;
    const RegexProgram::ClassRun& run = *p.classRun;
    if (!run.scan || p.anchoredStart) return;
    const Inst* code = p.code.data();
    const std::int32_t min = code[run.repeat].min;
    std::int32_t lastFound = from;
    std::int32_t pos = from;  // everything before is done
    while (m_aheadCount < kAhead && pos + 64 <= m_n && pos - lastFound <= kStretch) {
        const std::uint64_t members = run.scan->mask32(m_text + pos) |
                                      std::uint64_t(run.scan->mask32(m_text + pos + 32)) << 32;
        m_steps += 8;
        // Runs that start in the first half and end inside the window; a longer one is left
        // to the search that reaches it.
        std::uint64_t rest = members;
        std::int32_t done = pos + 32;
        while (rest & 0xFFFFFFFFu) {
            const int start = __builtin_ctzll(rest);
            const std::uint64_t after = ~members >> start;
            if (after == 0) break;  // the run goes on past the window
            const int end = start + __builtin_ctzll(after);
            if (end >= 64) break;
            rest &= ~0ull << end;
            const std::int32_t s = pos + start;
            const std::int32_t e = pos + end;
            done = std::max(done, e);
            bool endHolds = e - s >= min;
            for (std::size_t pc = run.repeat + 1; endHolds && code[pc].op != Op::Match; ++pc)
                endHolds = assertionHolds(code[pc], e);
            for (std::int32_t first = s; endHolds && first <= e - min; ++first) {
                bool startHolds = true;
                for (std::size_t pc = 0; startHolds && pc < run.repeat; ++pc)
                    startHolds = assertionHolds(code[pc], first);
                if (!startHolds) continue;
                if (m_aheadCount == kAhead) return;
                m_ahead[m_aheadCount++] = {from, first, e};
                from = e;
                lastFound = e;
                break;
            }
        }
        if (rest & 0xFFFFFFFFu) return;  // a run crosses the window: the searches go on
        pos = done;  // never inside a run: every run begun before has been taken whole
    }
}

bool RegexMatcher::takeRunAhead(std::u16string_view text, std::size_t start,
                                CaptureSlots& slots) {
    if (m_aheadNext >= m_aheadCount || start == 0 || text.data() != m_text ||
        text.size() != static_cast<std::size_t>(m_n) ||
        m_ahead[m_aheadNext].from != static_cast<std::int32_t>(start)) {
        m_aheadCount = 0;
        return false;
    }
    slots[0] = m_ahead[m_aheadNext].start;
    slots[1] = m_ahead[m_aheadNext].end;
    ++m_aheadNext;
    m_steps = 1;  // the work was counted by the search that found it
    return true;
}

std::int32_t RegexMatcher::runEnd(const Inst& in, std::int32_t pos, std::uint64_t& steps) {
    const char16_t* t = m_text;
    const std::int32_t n = m_n;
    const std::int32_t limit =
        static_cast<std::int32_t>(std::min<std::int64_t>(n, std::int64_t(pos) + in.max));
    RunEnd& run = m_runEnds[static_cast<std::size_t>(in.run)];
    if (run.walk == m_walk && pos >= run.from && pos <= run.end) {
        // Entered again inside the run read last time (the next start position, the next
        // search of a walk): it ends where it ended.
        ++steps;
        return std::min(run.end, limit);
    }
    std::int32_t e = pos;
    switch (static_cast<RepeatAtom>(in.atom)) {
        case RepeatAtom::Char:
            while (e < limit && t[e] == in.ch) ++e;
            break;
        case RepeatAtom::Any:
            e = limit;
            break;
        case RepeatAtom::Set: {
            // 32 units per table lookup where the set allows, one by one near the limit.
            if (const ByteSetScan* scan = m_program.setScans[in.x].get()) {
                for (; e + 32 <= limit; e += 32) {
                    const std::uint32_t outside = ~scan->mask32(t + e);
                    if (outside) {
                        e += __builtin_ctz(outside);
                        break;
                    }
                }
                if (e + 32 <= limit) break;
            }
            const CharSet& set = m_program.sets[in.x];
            while (e < limit && set.contains(t[e])) ++e;
            break;
        }
        default:
            while (e < limit && matchOne(in, e)) ++e;
            break;
    }
    // Characters read; "." in single-line mode reads none.
    if (in.atom != std::uint8_t(RepeatAtom::Any)) steps += static_cast<std::uint64_t>(e - pos);
    // Only a run that stopped at a character outside it is known whole.
    if (e < limit || limit == n) run = {m_walk, pos, e};
    return e;
}

RegexMatcher::RunResult RegexMatcher::runLinear(std::int32_t start, std::int32_t& end) {
    const char16_t* t = m_text;
    const std::int32_t n = m_n;
    std::int32_t pos = start;
    std::uint64_t steps = 0;
    for (const Inst* in = m_program.code.data();; ++in) {
        ++steps;
        switch (in->op) {
            case Op::Char:
                if (pos < n && t[pos] == in->ch) {
                    ++pos;
                    continue;
                }
                break;
            case Op::CharFold:
                if (pos < n && char16_t(t[pos] | 0x20) == in->ch) {
                    ++pos;
                    continue;
                }
                break;
            case Op::Str: {
                const std::u16string& s = m_program.strings[in->x];
                const auto len = static_cast<std::int32_t>(s.size());
                steps += static_cast<std::uint64_t>(len);
                if (len > n - pos) break;
                bool same = true;
                for (std::int32_t k = 0; k < len && same; ++k)
                    same = (in->atom ? foldAscii(t[pos + k]) : t[pos + k]) == s[k];
                if (!same) break;
                pos += len;
                continue;
            }
            case Op::Any:
                if (pos >= n) break;
                ++pos;
                continue;
            case Op::AnyNoBreak:
                if (pos >= n || m_context.lineSeparators.contains(t[pos])) break;
                if (m_context.hasPair && t[pos] == m_context.pairFirst && pos + 1 < n &&
                    t[pos + 1] == m_context.pairSecond)
                    break;
                ++pos;
                continue;
            case Op::Set:
                if (pos >= n || !m_program.sets[in->x].contains(t[pos])) break;
                ++pos;
                continue;
            case Op::LineStart:
                if (pos != 0) break;
                continue;
            case Op::LineStartM:
                if (!lineStartAt(pos)) break;
                continue;
            case Op::InputEnd:
                if (pos != n) break;
                continue;
            case Op::LineEndM:
                if (!lineEndAt(pos)) break;
                continue;
            case Op::WordBoundary:
            case Op::NotWordBoundary:
                if ((isWord(pos - 1) != isWord(pos)) != (in->op == Op::WordBoundary)) break;
                continue;
            case Op::Open:
                m_regs[in->slot - 1] = pos;
                continue;
            case Op::Close:
                m_slots[2 * in->slot] = m_regs[in->slot - 1];
                m_slots[2 * in->slot + 1] = pos;
                m_slotsDirty = true;
                continue;
            case Op::Repeat: {
                // Possessive, or of a fixed count: the longest run is the only one tried.
                const std::int32_t e = runEnd(*in, pos, steps);
                if (e - pos < in->min) break;
                if (in->slot && e > pos) {
                    m_slots[2 * in->slot] = e - 1;
                    m_slots[2 * in->slot + 1] = e;
                    m_slotsDirty = true;
                }
                pos = e;
                continue;
            }
            case Op::Match:
                end = pos;
                m_steps += steps;
                return RunResult::Match;
            default:  // no other instruction is in a linear program
                break;
        }
        m_steps += steps;
        return RunResult::Fail;
    }
}

RegexMatcher::RunResult RegexMatcher::run(std::int32_t start, std::int32_t& end) {
    std::uint32_t pc = 0;
    std::int32_t pos = start;
    const int group = m_program.capturedRunGroup;
    if (group) {
        // The captured run that begins the program, without three turns of the loop.
        pos = runEnd(m_program.code[1], start, m_steps);
        m_capturedRunEnd = pos;
        if (pos - start < m_program.code[1].min) return RunResult::Fail;
        m_regs[group - 1] = start;
        m_slots[2 * group] = start;
        m_slots[2 * group + 1] = pos;
        m_slotsDirty = true;
        pc = 3;
    }
    return runFrom(pc, pos, end);
}

RegexMatcher::RunResult RegexMatcher::runFrom(std::uint32_t pc, std::int32_t pos,
                                              std::int32_t& end) {
    const Inst* code = m_program.code.data();
    const char16_t* t = m_text;
    const std::int32_t n = m_n;
    const std::uint64_t budget = m_budget;
    std::uint64_t steps = m_steps;
    m_stack.clear();

#define TESSARO_PUSH(...)                \
    do {                                 \
        if (!push(Entry{__VA_ARGS__})) { \
            m_steps = steps;             \
            return RunResult::Memory;    \
        }                                \
    } while (0)
    // An undo record matters only to a choice below it: with none, a failure ends the run,
    // and the next run starts from cleared slots instead.
#define TESSARO_RECORD(...)              \
    do {                                 \
        if (m_stack.empty()) {           \
            m_slotsDirty = true;         \
        } else {                         \
            TESSARO_PUSH(__VA_ARGS__);   \
        }                                \
    } while (0)

    for (;;) {
        if (++steps > budget) {
            m_steps = steps;
            return RunResult::Budget;
        }
        const Inst& in = code[pc];
        switch (in.op) {
            case Op::Char:
                if (pos < n && t[pos] == in.ch) {
                    ++pos;
                    ++pc;
                    continue;
                }
                break;
            case Op::CharFold:
                if (pos < n && char16_t(t[pos] | 0x20) == in.ch) {
                    ++pos;
                    ++pc;
                    continue;
                }
                break;
            case Op::Str: {
                const std::u16string& s = m_program.strings[in.x];
                const std::int32_t len = static_cast<std::int32_t>(s.size());
                if (len > n - pos) break;
                bool same = true;
                steps += static_cast<std::uint64_t>(len);
                if (!in.atom) {
                    same = std::equal(s.begin(), s.end(), t + pos);
                } else {
                    for (std::int32_t k = 0; k < len && same; ++k)
                        same = foldAscii(t[pos + k]) == s[k];
                }
                if (!same) break;
                pos += len;
                ++pc;
                continue;
            }
            case Op::Any:
                if (pos < n) {
                    ++pos;
                    ++pc;
                    continue;
                }
                break;
            case Op::AnyNoBreak: {
                if (pos >= n || m_context.lineSeparators.contains(t[pos])) break;
                if (m_context.hasPair && t[pos] == m_context.pairFirst && pos + 1 < n &&
                    t[pos + 1] == m_context.pairSecond)
                    break;
                ++pos;
                ++pc;
                continue;
            }
            case Op::Set:
                if (pos >= n || !m_program.sets[in.x].contains(t[pos])) break;
                ++pos;
                ++pc;
                continue;
            case Op::LineStart:
                if (pos != 0) break;
                ++pc;
                continue;
            case Op::LineStartM:
                if (!lineStartAt(pos)) break;
                ++pc;
                continue;
            case Op::InputEnd:
                if (pos != n) break;
                ++pc;
                continue;
            case Op::LineEndM:
                if (!lineEndAt(pos)) break;
                ++pc;
                continue;
            case Op::WordBoundary:
            case Op::NotWordBoundary: {
                const bool boundary = isWord(pos - 1) != isWord(pos);
                if (boundary != (in.op == Op::WordBoundary)) break;
                ++pc;
                continue;
            }
            case Op::Backref: {
                std::int32_t length = 0;
                const bool same = backrefAt(in.slot, in.atom, pos, length);
                if (in.slot == m_program.capturedRunGroup) noteRunBackref(pos, same);
                steps += static_cast<std::uint64_t>(std::max(length, 0));
                if (!same) break;
                pos += length;
                ++pc;
                continue;
            }
            case Op::Split:
                if (m_memoOn && in.memo >= 0 && memoTestAndSet(in.memo, pos)) break;
                TESSARO_PUSH(Kind::Alt, std::uint32_t(in.y), pos, 0);
                pc = static_cast<std::uint32_t>(in.x);
                continue;
            case Op::Jmp:
                pc = static_cast<std::uint32_t>(in.x);
                continue;
            case Op::Trie: {
                if (m_memoOn && in.memo >= 0 && memoTestAndSet(in.memo, pos)) break;
                std::int32_t length = 0;
                const int taken = m_program.tries[in.x].next(t, pos, n, -1, length, steps);
                if (taken < 0) break;
                TESSARO_PUSH(Kind::TrieNext, pc, pos, taken);
                pos += length;
                ++pc;
                continue;
            }
            case Op::Open:
                TESSARO_RECORD(Kind::RestoreReg, std::uint32_t(in.slot - 1), m_regs[in.slot - 1], 0);
                m_regs[in.slot - 1] = pos;
                ++pc;
                continue;
            case Op::Close:
                TESSARO_RECORD(Kind::RestoreSlot, in.slot, m_slots[2 * in.slot],
                               m_slots[2 * in.slot + 1]);
                m_slots[2 * in.slot] = m_regs[in.slot - 1];
                m_slots[2 * in.slot + 1] = pos;
                ++pc;
                continue;
            case Op::Repeat: {
                const bool memo = m_memoOn && in.memo >= 0;
                if (in.greedy) {
                    if (memo && memoTest(in.memo, pos)) break;
                    if (memo && in.max == kRegexInfinite && in.min <= 1 && pos < n &&
                        memoTest(in.memo, pos + 1) && matchOne(in, pos)) {
                        // The entry one further on has tried every continuation after the
                        // first repetition; only stopping after in.min repetitions is new.
                        memoTestAndSet(in.memo, pos);
                        const std::int32_t e = pos + in.min;
                        if (in.slot && e > pos) {
                            TESSARO_PUSH(Kind::RestoreSlot, in.slot, m_slots[2 * in.slot],
                                         m_slots[2 * in.slot + 1]);
                            m_slots[2 * in.slot] = e - 1;
                            m_slots[2 * in.slot + 1] = e;
                        }
                        if (memoTestAndSet(in.memo + 1, e)) break;
                        pos = e;
                        ++pc;
                        continue;
                    }
                    const std::int32_t e = runEnd(in, pos, steps);
                    // Rescanning the same run from many start positions is repeated work
                    // just like backtracking, and the memo ends it the same way.
                    m_backtracks += static_cast<std::uint64_t>(e - pos);
                    if (e - pos < in.min) break;
                    if (memo) {
                        // From any later entry up to e the same run ends at e, so those
                        // entries can only retry continuations tried from this one.
                        if (in.max == kRegexInfinite)
                            steps += memoSetRange(in.memo, pos, e);
                        else
                            memoTestAndSet(in.memo, pos);
                    }
                    if (in.slot && e > pos) {
                        TESSARO_PUSH(Kind::RestoreSlot, in.slot, m_slots[2 * in.slot],
                                     m_slots[2 * in.slot + 1]);
                        m_slots[2 * in.slot] = e - 1;
                        m_slots[2 * in.slot + 1] = e;
                    }
                    const std::int32_t minPos = pos + in.min;
                    if (e > minPos && !in.possessive)
                        TESSARO_PUSH(Kind::RepeatGreedy, pc, minPos, e);
                    if (memo && memoTestAndSet(in.memo + 1, e)) break;
                    pos = e;
                    ++pc;
                    continue;
                }
                if (memo && memoTestAndSet(in.memo, pos)) break;
                if (in.min > n - pos) break;
                const std::int32_t e = pos + in.min;
                bool ok = true;
                for (std::int32_t k = pos; k < e && ok; ++k) ok = matchOne(in, k);
                steps += static_cast<std::uint64_t>(in.min);
                if (!ok) break;
                if (in.slot) {
                    TESSARO_PUSH(Kind::RestoreSlot, in.slot, m_slots[2 * in.slot],
                                 m_slots[2 * in.slot + 1]);
                    if (e > pos) {
                        m_slots[2 * in.slot] = e - 1;
                        m_slots[2 * in.slot + 1] = e;
                    }
                }
                if (in.max > in.min) TESSARO_PUSH(Kind::RepeatLazy, pc, e, in.min);
                if (memo && memoTestAndSet(in.memo + 1, e)) break;
                pos = e;
                ++pc;
                continue;
            }
            case Op::RepeatBackref: {
                const std::int32_t from = m_slots[2 * in.slot];
                const std::int32_t to = m_slots[2 * in.slot + 1];
                if (from < 0 || to < 0) {
                    // An unset group gives no copy; only zero repetitions can match.
                    if (in.min > 0) break;
                    ++pc;
                    continue;
                }
                const std::int32_t length = to - from;
                if (length == 0) {
                    ++pc;
                    continue;
                }
                std::int32_t count = 0;
                std::int32_t e = pos;
                std::int32_t copy = 0;
                const std::int32_t want = in.greedy ? in.max : in.min;
                while (count < want && backrefAt(in.slot, in.atom, e, copy)) {
                    e += length;
                    ++count;
                }
                steps += static_cast<std::uint64_t>(e - pos + length);
                if (count < in.min) break;
                if (in.greedy) {
                    const std::int32_t minPos = pos + in.min * length;
                    if (e > minPos) TESSARO_PUSH(Kind::BackrefGreedy, pc, minPos, e);
                } else if (in.max > in.min) {
                    TESSARO_PUSH(Kind::BackrefLazy, pc, e, count);
                }
                pos = e;
                ++pc;
                continue;
            }
            case Op::IterMark:
                TESSARO_RECORD(Kind::RestoreReg, std::uint32_t(in.x), m_regs[in.x], 0);
                m_regs[in.x] = pos;
                ++pc;
                continue;
            case Op::IterCheck:
                pc = pos == m_regs[in.x] ? static_cast<std::uint32_t>(in.y) : pc + 1;
                continue;
            case Op::CountInit:
                TESSARO_RECORD(Kind::RestoreReg, std::uint32_t(in.x), m_regs[in.x], 0);
                m_regs[in.x] = 0;
                ++pc;
                continue;
            case Op::CountTest: {
                const std::int32_t count = m_regs[in.x];
                if (count < in.min) {
                    ++pc;
                } else if (count >= in.max) {
                    pc = static_cast<std::uint32_t>(in.y);
                } else if (in.greedy) {
                    TESSARO_PUSH(Kind::Alt, std::uint32_t(in.y), pos, 0);
                    ++pc;
                } else {
                    TESSARO_PUSH(Kind::Alt, pc + 1, pos, 0);
                    pc = static_cast<std::uint32_t>(in.y);
                }
                continue;
            }
            case Op::CountNext: {
                const std::int32_t old = m_regs[in.x];
                TESSARO_RECORD(Kind::RestoreReg, std::uint32_t(in.x), old, 0);
                if (in.z >= 0 && pos == m_regs[in.z]) {
                    // An empty iteration: further ones would change nothing, so the loop
                    // counts as satisfied and ends here.
                    m_regs[in.x] = std::max(old + 1, in.min);
                    pc = static_cast<std::uint32_t>(code[in.y].y);
                } else {
                    m_regs[in.x] = old + 1;
                    pc = static_cast<std::uint32_t>(in.y);
                }
                continue;
            }
            case Op::DepthFail:
                m_loopDepthExceeded = true;
                break;
            case Op::Match:
                end = pos;
                m_steps = steps;
                return RunResult::Match;
        }

        // Backtrack to the most recent choice that still has an alternative.
        for (;;) {
            if (m_stack.empty()) {
                m_steps = steps;
                return RunResult::Fail;
            }
            // Taking a record back costs about twice an instruction: a load from the stack,
            // a restore, and a jump the processor rarely predicts.
            steps += 2;
            if (steps > budget) {
                m_steps = steps;
                return RunResult::Budget;
            }
            if (++m_backtracks > m_memoThreshold) steps += maybeEnableMemo();
            Entry& e = m_stack.back();
            switch (e.kind) {
                case Kind::RestoreSlot:
                    m_slots[2 * e.pc] = e.a;
                    m_slots[2 * e.pc + 1] = e.b;
                    m_stack.pop_back();
                    continue;
                case Kind::RestoreReg:
                    m_regs[e.pc] = e.a;
                    m_stack.pop_back();
                    continue;
                case Kind::Alt:
                    pc = e.pc;
                    pos = e.a;
                    m_stack.pop_back();
                    break;
                case Kind::RepeatGreedy: {
                    const Inst& ri = code[e.pc];
                    const Inst& next = code[e.pc + 1];
                    const bool memo = m_memoOn && ri.memo >= 0;
                    const std::int32_t minPos = e.a;
                    std::int32_t cur = e.b - 1;
                    while (cur >= minPos) {
                        // Skip give-backs after which the next character cannot match.
                        if (next.op == Op::Char) {
                            cur = lastCharBefore(next.ch, minPos, cur + 1, steps);
                            if (cur < minPos) break;
                        }
                        ++steps;
                        if (memo && memoTestAndSet(ri.memo + 1, cur)) {
                            --cur;
                            continue;
                        }
                        break;
                    }
                    if (cur < minPos) {
                        m_stack.pop_back();
                        continue;
                    }
                    const std::uint32_t repeatPc = e.pc;
                    if (cur == minPos)
                        m_stack.pop_back();
                    else
                        e.b = cur;
                    if (ri.slot) {
                        if (cur > minPos - ri.min) {
                            m_slots[2 * ri.slot] = cur - 1;
                            m_slots[2 * ri.slot + 1] = cur;
                        } else {
                            // No repetition left: the capture is what it was before.
                            const Entry& saved = m_stack.back();
                            m_slots[2 * ri.slot] = saved.a;
                            m_slots[2 * ri.slot + 1] = saved.b;
                        }
                    }
                    pos = cur;
                    pc = repeatPc + 1;
                    break;
                }
                case Kind::RepeatLazy: {
                    const Inst& ri = code[e.pc];
                    const bool memo = m_memoOn && ri.memo >= 0;
                    std::int32_t cur = e.a;
                    std::int32_t count = e.b;
                    bool found = false;
                    while (count < ri.max && cur < n && matchOne(ri, cur)) {
                        ++cur;
                        ++count;
                        ++steps;
                        if (memo && memoTestAndSet(ri.memo + 1, cur)) continue;
                        found = true;
                        break;
                    }
                    if (!found) {
                        m_stack.pop_back();
                        continue;
                    }
                    const std::uint32_t repeatPc = e.pc;
                    if (count >= ri.max) {
                        m_stack.pop_back();
                    } else {
                        e.a = cur;
                        e.b = count;
                    }
                    if (ri.slot) {
                        m_slots[2 * ri.slot] = cur - 1;
                        m_slots[2 * ri.slot + 1] = cur;
                    }
                    pos = cur;
                    pc = repeatPc + 1;
                    break;
                }
                case Kind::BackrefGreedy: {
                    const Inst& ri = code[e.pc];
                    const std::int32_t length = m_slots[2 * ri.slot + 1] - m_slots[2 * ri.slot];
                    const std::int32_t cur = e.b - length;
                    if (cur < e.a) {
                        m_stack.pop_back();
                        continue;
                    }
                    const std::uint32_t repeatPc = e.pc;
                    if (cur == e.a)
                        m_stack.pop_back();
                    else
                        e.b = cur;
                    pos = cur;
                    pc = repeatPc + 1;
                    break;
                }
                case Kind::TrieNext: {
                    // The next alternative in priority order that matches here.
                    std::int32_t length = 0;
                    const int taken =
                        m_program.tries[code[e.pc].x].next(t, e.a, n, e.b, length, steps);
                    if (taken < 0) {
                        m_stack.pop_back();
                        continue;
                    }
                    e.b = taken;
                    pos = e.a + length;
                    pc = e.pc + 1;
                    break;
                }
                case Kind::BackrefLazy: {
                    const Inst& ri = code[e.pc];
                    std::int32_t length = 0;
                    steps += static_cast<std::uint64_t>(
                        m_slots[2 * ri.slot + 1] - m_slots[2 * ri.slot] + 1);
                    if (e.b >= ri.max || !backrefAt(ri.slot, ri.atom, e.a, length)) {
                        m_stack.pop_back();
                        continue;
                    }
                    const std::uint32_t repeatPc = e.pc;
                    const std::int32_t cur = e.a + length;
                    if (e.b + 1 >= ri.max) {
                        m_stack.pop_back();
                    } else {
                        e.a = cur;
                        e.b += 1;
                    }
                    pos = cur;
                    pc = repeatPc + 1;
                    break;
                }
            }
            break;
        }
    }
#undef TESSARO_RECORD
#undef TESSARO_PUSH
}

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// The backtracking matcher: runs a compiled program over a text with an explicit stack on
// the heap, a step budget per search, a memory limit, and a failure memo for runaway searches.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "text/regex/char_set.h"
#include "text/regex/regex_program.h"
#include "text/regex/text_scan.h"

namespace tessaro {

// The facts about text that the flags and sets of the engine's creation fix.
struct MatchContext {
    CharSet wordSet;
    CharSet lineSeparators;
    bool hasPair = false;  // a two-character line break is defined
    char16_t pairFirst = 0;
    char16_t pairSecond = 0;
};

struct MatchLimits {
    // The work one walk over a text may do, from its first search to its last, in steps: an
    // instruction, a character read, a record taken back (two), 64 memo bits, the setup of a
    // search. The slowest steps (backtracking into back-references) take up to about 4.5 ns
    // here, so the budget holds a replace-all to about one second; bench_regex_engine
    // measures it.
    std::uint64_t stepBudget = 200'000'000;
    std::size_t backtrackBytes = 64u << 20;  // the backtracking stack
    std::size_t memoBytes = 64u << 20;       // the failure memo
    bool memoFromStart = false;  // memo from the first backtrack on (to test that it is sound)
    bool dfa = true;  // find match bounds with the lazy DFA where it is the better engine
};

enum class SearchOutcome { Found, NotFound, StepBudgetExceeded, MemoryExceeded };

// Capture slots 0..14 as 0-based [start, end) pairs; -1 when unset.
using CaptureSlots = std::array<std::int32_t, 2 * (kRegexMaxGroups + 1)>;

class RegexMatcher {
public:
    RegexMatcher(const RegexProgram& program, const MatchContext& context, MatchLimits limits);

    // Finds the leftmost match starting at or after start (0-based) in text; on Found the
    // slots hold the match. Text must stay alive and unchanged during the call. budget is
    // the work this search may do, in steps; more ends it with StepBudgetExceeded.
    SearchOutcome search(std::u16string_view text, std::size_t start, CaptureSlots& slots,
                         std::uint64_t budget);
    // As search, trying only the start position start: the captures of a match whose bounds
    // are known.
    SearchOutcome searchAt(std::u16string_view text, std::size_t start, CaptureSlots& slots,
                           std::uint64_t budget);

    // Whether a counted repetition nested too deeply made a path fail in the last search.
    bool loopDepthExceeded() const { return m_loopDepthExceeded; }
    // Work done by the last search, in budget steps.
    std::uint64_t steps() const { return m_steps; }
    bool memoUsed() const { return m_memoOn; }

private:
    enum class Kind : std::uint8_t {
        Alt,
        RestoreSlot,
        RestoreReg,
        RepeatGreedy,
        RepeatLazy,
        BackrefGreedy,
        BackrefLazy,
        TrieNext,
    };
    struct Entry {
        Kind kind;
        std::uint32_t pc;
        std::int32_t a;
        std::int32_t b;
    };
    enum class RunResult { Match, Fail, Budget, Memory };

    // The search of a program that is one run of a class between assertions, for matches
    // starting from..last.
    SearchOutcome searchClassRun(std::int32_t from, std::int32_t last, CaptureSlots& slots);
    // Finds the runs that follow from on, for the searches to come; takes the one found
    // for a search from start, if any.
    void findRunsAhead(std::int32_t from);
    bool takeRunAhead(std::u16string_view text, std::size_t start, CaptureSlots& slots);
    bool assertionHolds(const Inst& inst, std::int32_t pos) const;
    // For a program that begins with a captured run: records what a back-reference to it met.
    void noteRunBackref(std::int32_t pos, bool same);
    // After a failed attempt from s: the last start after s that cannot match either.
    std::int32_t lastUselessStart(std::int32_t s);
    // The state every search starts from.
    void begin(std::u16string_view text, std::size_t start, std::uint64_t budget);
    RunResult run(std::int32_t start, std::int32_t& end);
    // The backtracking loop from instruction pc at pos.
    RunResult runFrom(std::uint32_t pc, std::int32_t pos, std::int32_t& end);
    // A program without choices: one pass, no undo records, nothing to backtrack.
    RunResult runLinear(std::int32_t start, std::int32_t& end);
    // Where a greedy run of a Repeat entered at pos ends; adds the characters read to steps.
    std::int32_t runEnd(const Inst& in, std::int32_t pos, std::uint64_t& steps);
    bool push(Entry entry) {
        if (m_stack.size() >= m_maxEntries) return false;
        m_stack.push_back(entry);
        return true;
    }
    bool matchOne(const Inst& inst, std::int32_t pos) const;
    bool lineStartAt(std::int32_t pos) const;
    bool lineEndAt(std::int32_t pos) const;
    bool isWord(std::int32_t pos) const {
        return pos >= 0 && pos < m_n && m_context.wordSet.contains(m_text[pos]);
    }
    bool backrefAt(int group, bool fold, std::int32_t pos, std::int32_t& length) const;
    // Both return their work in steps.
    std::uint64_t maybeEnableMemo();
    // The last position of c in [from, to), or -1; adds its work to steps.
    std::int32_t lastCharBefore(char16_t c, std::int32_t from, std::int32_t to,
                                std::uint64_t& steps);
    bool memoTestAndSet(std::int32_t row, std::int32_t pos);
    bool memoTest(std::int32_t row, std::int32_t pos) const;
    std::uint64_t memoSetRange(std::int32_t row, std::int32_t from, std::int32_t to);

    const RegexProgram& m_program;
    const MatchContext& m_context;
    MatchLimits m_limits;

    const char16_t* m_text = nullptr;
    std::int32_t m_n = 0;
    std::int32_t m_searchStart = 0;
    CaptureSlots m_slots{};
    std::vector<std::int32_t> m_regs;
    std::vector<Entry> m_stack;
    std::size_t m_maxEntries = 0;
    std::uint64_t m_steps = 0;
    std::uint64_t m_budget = 0;
    std::uint64_t m_backtracks = 0;
    std::uint64_t m_memoThreshold = 0;
    bool m_memoOn = false;
    bool m_memoRefused = false;
    std::vector<std::uint64_t> m_memo;
    std::size_t m_memoWidth = 0;
    bool m_loopDepthExceeded = false;
    // The last backward scan for a character and what it found (-1: nothing in range).
    struct LastCharScan {
        bool valid = false;
        char16_t c = 0;
        std::int32_t from = 0;
        std::int32_t to = 0;
        std::int32_t found = -1;
    };
    LastCharScan m_lastCharScan;
    // Per greedy repetition, the last run it read: from its entry to the first character
    // outside, valid for the walk it was read in.
    struct RunEnd {
        std::uint64_t walk = 0;
        std::int32_t from = 0;
        std::int32_t end = 0;
    };
    std::vector<RunEnd> m_runEnds;
    std::uint64_t m_walk = 0;
    bool m_slotsDirty = false;  // slots were written without undo records
    // The characters the back-references to a leading captured run met first in the last
    // attempt, and whether that is all they decided on.
    static constexpr std::size_t kRunFirsts = 8;
    std::vector<char16_t> m_runFirsts;
    bool m_runFirstsKnown = false;
    std::int32_t m_capturedRunEnd = 0;  // where the leading run of the last attempt ended
    // Runs found ahead: where the search for each starts, and its bounds.
    struct RunAhead {
        std::int32_t from;
        std::int32_t start;
        std::int32_t end;
    };
    static constexpr std::size_t kAhead = 64;
    std::array<RunAhead, kAhead> m_ahead{};
    std::size_t m_aheadCount = 0;
    std::size_t m_aheadNext = 0;
    // The characters after which a line may start, for expressions that begin with "^" in
    // multi-line mode; empty when there are too many to scan for at once.
    std::vector<text_scan::UnitRange> m_breakRanges;
};

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// A lazily built DFA that finds where matches lie without the backtracker's worst cases.
// findEnd runs forward, unanchored, with the backtracker's leftmost-first priorities and
// returns where the match it would report ends; findStart runs the reversed expression back
// from that end and returns where the match begins. Captures are left to the backtracker,
// which can then run anchored on the known bounds.
//
// States are made on first use and kept in a cache of bounded size. When it fills, it is
// emptied and the search goes on; when that happens so often that building states costs
// more than the scan saves, the search returns GaveUp and the caller uses the backtracker.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "text/regex/regex_matcher.h"
#include "text/regex/regex_syntax.h"

namespace tessaro {

struct LazyDfaOptions {
    // The state cache of each direction: transitions, state keys and the lookup table.
    std::size_t cacheBytes = 2u << 20;
    // The unrolled automaton; larger expressions are not eligible.
    int maxNfaStates = 10'000;
    // More classes make every state's transition row longer; such expressions are refused.
    int maxClasses = 4096;
    // A search gives up when the cache has been emptied this often and the text scanned since
    // the last emptying is less than minUnitsPerState units per state built in that time.
    unsigned clearsBeforeGiveUp = 3;
    unsigned minUnitsPerState = 10;
};

enum class DfaOutcome : std::uint8_t { Found, NotFound, GaveUp };

// The work of one call, for the caller's budget.
struct DfaWork {
    std::uint64_t units = 0;        // transitions taken: text units read, plus the text's edge
    std::uint64_t statesBuilt = 0;  // DFA states made
    std::uint64_t nfaSteps = 0;     // automaton states visited while making states
    std::uint64_t cacheClears = 0;
    std::uint64_t skipped = 0;  // units the accelerator jumped over
};

// Returns the first position at or after pos where a match could begin, or n (or more) when
// there is none. It must never skip a position where a match begins. The forward search
// calls it only while no match is in progress, so its cost is not paid per unit.
using DfaAccelerator = std::size_t (*)(const void* context, const char16_t* text, std::size_t n,
                                       std::size_t pos);

class LazyDfaDirection;
class UnitClasses;
struct Nfa;

class RegexDfa {
public:
    // The DFA of tree for context, or null when the expression or the context is not
    // eligible (see contextEligible, back-references, size and class limits).
    static std::unique_ptr<RegexDfa> create(const SyntaxTree& tree, const MatchContext& context,
                                            const LazyDfaOptions& options = {});

    // Contexts whose line rules need one unit of look-behind and one of look-ahead: without
    // a two-unit line break, or with one whose both units are separators themselves.
    static bool contextEligible(const MatchContext& context);

    ~RegexDfa();
    RegexDfa(const RegexDfa&) = delete;
    RegexDfa& operator=(const RegexDfa&) = delete;

    // The end (0-based, exclusive) of the match the backtracker would find searching text
    // from position from. Assertions see the whole text, also before from.
    DfaOutcome findEnd(std::u16string_view text, std::size_t from, std::size_t& end);

    // The start of the match ending at end that findEnd found from from: the smallest start
    // at or after from such that [start, end) matches.
    DfaOutcome findStart(std::u16string_view text, std::size_t from, std::size_t end,
                         std::size_t& start);

    // Installs (or with null removes) the jump used while the forward search has nothing in
    // progress. context is passed through and must outlive the searches.
    void setAccelerator(DfaAccelerator accelerator, const void* context);

    // The work of the last findEnd or findStart.
    const DfaWork& work() const { return m_work; }

    int classCount() const;
    std::size_t nfaStates() const;

private:
    RegexDfa();

    std::unique_ptr<UnitClasses> m_classes;
    std::unique_ptr<Nfa> m_forwardNfa;
    std::unique_ptr<Nfa> m_reverseNfa;
    std::unique_ptr<LazyDfaDirection> m_forward;
    std::unique_ptr<LazyDfaDirection> m_reverse;
    std::vector<std::uint8_t> m_classLook;  // per class: its look_bits
    DfaWork m_work;
};

}  // namespace tessaro

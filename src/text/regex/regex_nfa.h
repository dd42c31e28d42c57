// SPDX-License-Identifier: GPL-3.0-or-later
// A Thompson automaton of an expression for the lazy DFA: consuming states carry a set of
// code units, splits are ordered (the first way is preferred, as the backtracker tries it
// first), and assertions are zero-width states judged from the units on both sides of a
// position. Counted repetitions are unrolled. The builder walks the tree with an explicit
// stack and refuses what the automaton cannot express (back-references) or what would grow
// too large, so its callers fall back to the backtracker.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "text/regex/char_set.h"
#include "text/regex/regex_syntax.h"

namespace tessaro {

// The zero-width assertions of the dialect.
enum class LookKind : std::uint8_t {
    InputStart,  // "\A", "^" without m
    InputEnd,    // "\Z", "$" without m
    LineStart,   // "^" with m
    LineEnd,     // "$" with m
    WordBoundary,
    NotWordBoundary,
};
inline constexpr int kLookKinds = 6;

// What an assertion needs to know of the unit on one side of a position. Edge stands for
// the outside of the text; the other bits describe a unit inside it.
namespace look_bits {
inline constexpr std::uint8_t Edge = 1;
inline constexpr std::uint8_t Word = 2;
inline constexpr std::uint8_t Separator = 4;    // a member of the line separators
inline constexpr std::uint8_t PairFirst = 8;    // the first unit of the two-unit line break
inline constexpr std::uint8_t PairSecond = 16;  // its second unit
}  // namespace look_bits

// Whether an assertion holds between a unit described by before and one described by after.
// Valid for contexts where both units of the pair are line separators themselves (or there is
// no pair): then one unit on each side settles every line rule.
bool LookHolds(LookKind kind, std::uint8_t before, std::uint8_t after);

// The bits of the unit before a position that LookHolds reads for kind, and those of the
// unit after it.
std::uint8_t LookNeedsBefore(LookKind kind);
std::uint8_t LookNeedsAfter(LookKind kind);

struct NfaState {
    enum class Kind : std::uint8_t { Consume, Split, Look, Match };
    Kind kind = Kind::Match;
    LookKind look = LookKind::InputStart;  // Look
    std::int32_t out = -1;                 // Consume, Look: the next state; Split: preferred
    std::int32_t out2 = -1;                // Split: the other way
    std::int32_t set = -1;                 // Consume: index into Nfa::sets
};

struct Nfa {
    std::vector<NfaState> states;
    // The distinct unit sets of the consuming states, finished.
    std::vector<CharSet> sets;
    std::int32_t start = -1;
    bool reversed = false;
    // Which assertion kinds occur, one bit per LookKind.
    std::uint8_t looks = 0;
    // Per state: the assertion kinds reachable from it without consuming, one bit per
    // LookKind; lets a DFA state keep only the look-behind facts its threads can use.
    std::vector<std::uint8_t> reachableLooks;
    // Every path from start passes "\A" (or "^" without m) before it consumes or matches.
    bool anchoredAtInputStart = false;
};

struct NfaBuildOptions {
    bool reverse = false;  // build the automaton of the reversed language
    int maxStates = 10'000;
    // The units "." without s refuses: the line separators. Sound only in contexts where
    // both units of the pair are separators too, which the caller checks.
    const CharSet* lineSeparators = nullptr;
};

// Builds the automaton of tree, or returns null when the tree holds a back-reference or the
// automaton would exceed options.maxStates.
std::unique_ptr<Nfa> BuildNfa(const SyntaxTree& tree, const NfaBuildOptions& options);

}  // namespace tessaro

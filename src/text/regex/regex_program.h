// SPDX-License-Identifier: GPL-3.0-or-later
// The compiled form of an expression: a flat instruction list for the backtracking matcher,
// with the facts the search uses to skip start positions.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "text/regex/char_set.h"
#include "text/regex/literal_trie.h"
#include "text/regex/start_scan.h"
#include "text/regex/regex_syntax.h"

namespace tessaro {

enum class Op : std::uint8_t {
    Char,        // ch
    CharFold,    // ch (lower case) or its upper-case counterpart
    Str,         // literal x: index into strings, fold in atom
    Any,         // any character
    AnyNoBreak,  // "." without s
    Set,         // x: set index
    LineStart,   // "^" without m, "\A"
    LineStartM,  // "^" with m
    InputEnd,    // "$" without m, "\Z"
    LineEndM,    // "$" with m
    WordBoundary,
    NotWordBoundary,
    Backref,        // slot: group; atom: fold
    Split,          // try x, keep y for backtracking
    Trie,           // x: trie index; the alternatives of a group of plain literals
    Jmp,            // x
    Open,           // slot: group
    Close,          // slot: group
    Repeat,         // a one-character atom repeated: atom, ch/x, min, max, greedy; slot: group
                    // whose capture follows the last repetition, or 0
    RepeatBackref,  // slot: group; atom: fold; min, max, greedy
    IterMark,       // x: register; the start of a loop iteration
    IterCheck,      // x: register, y: loop exit; leaves the loop after an empty iteration
    CountInit,      // x: counter register
    CountTest,      // x: counter, y: exit, min, max, greedy
    CountNext,      // x: counter, y: CountTest, z: iteration register or -1, min
    DepthFail,      // a counted loop nested too deeply: fails this path with error 1014
    Match,
};

// The one-character atoms a Repeat instruction can hold.
enum class RepeatAtom : std::uint8_t { Char, CharFold, Any, AnyNoBreak, Set };

struct Inst {
    Op op = Op::Match;
    std::uint8_t atom = 0;
    bool greedy = true;
    char16_t ch = 0;
    std::uint16_t slot = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t z = -1;
    std::int32_t min = 0;
    std::int32_t max = 0;
    std::int32_t memo = -1;   // memo row of this state, or -1 when it may not be memoized
    std::int32_t run = -1;    // Repeat: its entry in the matcher's cache of run ends
    bool possessive = false;  // Repeat: what follows cannot begin with a repeated character,
                              // so giving repetitions back is useless
};

struct RegexProgram {
    std::vector<Inst> code;
    std::vector<CharSet> sets;
    // Per set, its table for 32 units at a time when all its members are below U+00FF.
    std::vector<std::unique_ptr<ByteSetScan>> setScans;
    std::vector<std::u16string> strings;
    std::vector<LiteralTrie> tries;
    int registerCount = 0;  // open positions of groups, counters, iteration marks
    int memoRows = 0;
    int runCount = 0;  // Repeat instructions
    bool hasBackref = false;
    bool linear = false;     // no instruction ever leaves a choice to come back to
    bool hasGroups = false;  // a capture beyond the whole match can be set

    // Start-position facts; each only ever skips positions that cannot begin a match.
    bool anchoredStart = false;  // every match begins at the start of the input
    bool lineAnchored = false;   // every match begins at a line start ("^" with m)
    bool canBeEmpty = true;      // a match may be empty, so no character filter applies
    std::unique_ptr<std::uint64_t[]> firstChars;  // 65536-bit filter of first characters
    int firstCount = 0;                           // members of the filter (65536: none)
    char16_t firstA = 0, firstB = 0;              // the members when there are one or two
    bool hasRequired = false;                     // a case-sensitive character every match has
    char16_t required = 0;
    bool literalOnly = false;  // the expression is one literal: the one of startLiterals
    std::unique_ptr<LiteralScan> startLiterals;  // every match begins with one of these
    std::unique_ptr<ByteSetScan> startSet;       // or else with one of the first characters

    bool firstContains(char16_t c) const { return (firstChars[c >> 6] >> (c & 63)) & 1u; }
    // The first position at or after pos in text[0, n) where a match can begin, or n; only
    // for programs whose matches cannot be empty and whose first characters are known.
    std::size_t nextStart(const char16_t* text, std::size_t n, std::size_t pos) const;

    // One run of a character class between assertions ("[a-z]+", "\b\w+\b", "^\d+"): the
    // whole match is a longest run, found without the instruction loop.
    struct ClassRun {
        std::size_t repeat = 0;  // the Repeat instruction; the others before it are
                                 // assertions at the start, those after at the end
        CharSet members;
        std::unique_ptr<ByteSetScan> scan;  // the members as a table, when all are below U+00FF
    };
    std::unique_ptr<ClassRun> classRun;

    // A program that begins by capturing a run of a class in a group used only by plain
    // back-references ("(\\w+)\\s+\\1"): starts inside one run differ only in the capture.
    int capturedRunGroup = 0;       // the group, or 0
    bool capturedRunFold = false;  // a back-reference to it ignores case
};

// Translates a syntax tree into a program. wordSet, when given, is the matcher's set of word
// characters, which lets more repetitions skip giving characters back.
RegexProgram CompileRegex(const SyntaxTree& tree, const CharSet* wordSet = nullptr);

}  // namespace tessaro

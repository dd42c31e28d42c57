// SPDX-License-Identifier: GPL-3.0-or-later
// The syntax tree of one expression: atoms with their quantifiers, groups holding their
// alternatives, and the character sets of classes. The parser builds it, the compiler reads it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/regex/char_set.h"

namespace tessaro {

inline constexpr int kRegexMaxGroups = 14;
// The upper bound of "*", "+" and "{n,}".
inline constexpr int kRegexInfinite = 2147483646;

enum class AtomKind : std::uint8_t {
    Empty,  // modifier group, comment, skipped blanks in extended mode
    Char,
    Any,
    Set,
    LineStart,
    LineEnd,
    InputStart,
    InputEnd,
    WordBoundary,
    NotWordBoundary,
    Backref,
    Group,
};

struct SyntaxNode {
    AtomKind kind = AtomKind::Empty;
    char16_t ch = 0;         // Char: the character (lower case when folded)
    bool fold = false;       // Char, Backref: ASCII case folding
    bool dotAll = false;     // Any: the s flag
    bool multiLine = false;  // LineStart, LineEnd: the m flag
    int set = -1;            // Set: index into SyntaxTree::sets
    int number = 0;          // Group: capture slot; Backref: group referred to
    int min = 1;
    int max = 1;
    bool greedy = true;
    bool quantified = false;
    bool braces = false;                         // the quantifier was written with braces
    bool atomEmpty = false;                      // the atom alone can match the empty string
    std::vector<std::vector<int>> alternatives;  // Group: node indexes per alternative

    // A piece can match the empty string through its atom or through a zero minimum.
    bool pieceCanBeEmpty() const { return atomEmpty || (quantified && min == 0); }
    // A repetition that runs on the bounded loop stack: counted ({n,m}) or lazy
    // repetitions of groups and of "." outside single-line mode.
    bool countedLoop() const {
        return quantified && (kind == AtomKind::Group || (kind == AtomKind::Any && !dotAll)) &&
               (braces || !greedy);
    }
};

struct SyntaxTree {
    std::vector<SyntaxNode> nodes;
    std::vector<CharSet> sets;
    int root = -1;  // a Group node numbered 0 holding the top-level alternatives
    int groupCount = 0;
    bool hasBackref = false;
};

// The modifiers and character sets an expression starts with.
struct SyntaxOptions {
    bool i = false, r = true, s = true, g = true, m = false, x = false;
    std::u16string_view wordSet;
    std::u16string_view spaceSet;
};

// Parses an expression into tree; returns 0 or the code of the first error found.
int ParseRegex(std::u16string_view expression, const SyntaxOptions& options, SyntaxTree& tree);

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// The error codes of the regular-expression engine, their German and English messages,
// and the error state that the engine's hook writes and the replace routines read.
#pragma once

#include <string>

namespace tessaro {

// Set before a replace run; the engine's error hook clears the flag and keeps the message.
struct RegExErrorState {
    bool noError = true;
    std::u16string message;
};

namespace regex_code {
inline constexpr int kNoErrors = 0;
inline constexpr int kNullArgument = 100;
inline constexpr int kTooBig = 101;
inline constexpr int kTooManyGroups = 102;
inline constexpr int kUnclosedGroup = 103;
inline constexpr int kUnopenedGroup = 104;
inline constexpr int kJunkOnEnd = 105;
inline constexpr int kOperandCouldBeEmpty = 106;
inline constexpr int kNestedQuantifier = 107;
inline constexpr int kBadHexDigit = 108;
inline constexpr int kInvalidRange = 109;
inline constexpr int kTrailingBackslashInClass = 110;
inline constexpr int kNoHexCode = 111;
inline constexpr int kHexCodeTooBig = 112;
inline constexpr int kUnmatchedBracket = 113;
inline constexpr int kInternalUrp = 114;
inline constexpr int kQuantifierFollowsNothing = 115;
inline constexpr int kTrailingBackslash = 116;
inline constexpr int kParseAtomDisaster = 119;
inline constexpr int kBracesTooBig = 122;
inline constexpr int kBracesMinGreaterMax = 124;
inline constexpr int kUnclosedComment = 125;
inline constexpr int kUnrecognizedModifier = 127;
inline constexpr int kBadPairedSeparator = 128;
// Match-time codes.
inline constexpr int kNoExpression = 1003;
inline constexpr int kNoFirstMatch = 1007;
inline constexpr int kLoopStackExceeded = 1014;
// Limits that keep one search bounded in time and memory.
inline constexpr int kStepBudgetExceeded = 1016;
inline constexpr int kBacktrackMemoryExceeded = 1017;
}  // namespace regex_code

// The message of an error code, English or German.
std::u16string RegexErrorMessage(int code, bool english);

}  // namespace tessaro

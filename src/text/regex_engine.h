// SPDX-License-Identifier: GPL-3.0-or-later
// TRegexEngine: compiles one regular expression and finds its matches in a text one after
// the other; reports every error through an overridable hook into a caller-owned state.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "text/regex/lazy_dfa.h"
#include "text/regex/regex_error.h"
#include "text/regex/regex_matcher.h"
#include "text/regex/regex_program.h"
#include "text/regex_options.h"

namespace tessaro {

// The modifiers and sets the parser starts from, taken from options; x always starts off.
SyntaxOptions SyntaxOptionsOf(const RegexOptions& options);
// The word and line facts the matchers and the DFA read, taken from options.
MatchContext MatchContextOf(const RegexOptions& options);

class TRegexEngine {
public:
    // Returns the interface language code of the moment ("de" or "en").
    using LanguageCode = std::function<std::u16string()>;

    // Copies the i, r, s, g and m flags and the four sets from options (x starts off).
    // errorState and language must outlive the engine; language may be empty (German).
    TRegexEngine(const RegexOptions& options, RegExErrorState& errorState, LanguageCode language);
    virtual ~TRegexEngine();
    TRegexEngine(const TRegexEngine&) = delete;
    TRegexEngine& operator=(const TRegexEngine&) = delete;

    // Replaces the expression; it is compiled before the next search. Empty means none.
    void setExpression(std::u16string_view expression);
    const std::u16string& expression() const { return m_expression; }

    // Copies input, clears the slots, compiles if needed and searches from position 1.
    bool MatchFirst(std::u16string_view input);
    // As above, sharing an immutable text instead of copying it (a long memo text).
    bool MatchFirst(std::shared_ptr<const std::u16string> input);
    // The text of the searches, empty before the first.
    std::u16string_view input() const {
        return m_input ? std::u16string_view(*m_input) : std::u16string_view();
    }
    // Searches again from the end of the last match (one further after an empty match).
    bool MatchNext();
    // 1-based start of slot n of the last search; -1 for n outside 0..14, no input, or unset.
    int MatchStart(int n) const;
    // Length of slot n of the last search; -1 in the same cases as MatchStart.
    int MatchLength(int n) const;
    // The template expanded against the last match.
    std::u16string ExpandTemplate(std::u16string_view tpl) const;

    // The error hook: records the message of code, in the language of the moment.
    virtual void Error(int code);
    // The message of code in the language of the moment.
    virtual std::u16string ErrorMsg(int code) const;

    // The code last passed to the hook, 0 if none.
    int lastErrorCode() const { return m_lastError; }
    // Whether the last search was stopped by the step budget or the memory limit, so that a
    // caller replacing all matches can leave the text as it was.
    bool searchAborted() const { return m_aborted; }
    // Bounds of every following walk (MatchFirst and the MatchNext calls after it); the
    // defaults suit interactive use.
    void setLimits(const MatchLimits& limits);
    // Work of the last search in budget steps (for measurements).
    std::uint64_t lastSearchSteps() const { return m_matcher ? m_matcher->steps() : 0; }
    // Work of the searches since the last MatchFirst, in budget steps.
    std::uint64_t walkSteps() const { return m_walkSteps; }
    // Whether the searches find their bounds with the DFA (for measurements and tests).
    bool usesDfa() const { return m_dfa && m_limits.dfa; }

private:
    bool compile();
    bool search(std::size_t start);
    // The bounds of the next match through the DFA: true with the slots set (captures
    // included), false with found telling whether there was a match; gaveUp when the
    // backtracker has to search instead.
    bool searchByDfa(std::size_t start, bool& found);
    bool found(SearchOutcome outcome);

    RegexOptions m_options;
    RegExErrorState& m_errorState;
    LanguageCode m_language;
    MatchLimits m_limits;

    std::u16string m_expression;
    bool m_compileTried = false;
    std::unique_ptr<RegexProgram> m_program;
    MatchContext m_context;
    std::unique_ptr<RegexMatcher> m_matcher;
    // For expressions whose backtracking could go wrong in time: no back-reference, and
    // neither one pass nor led by literals.
    std::unique_ptr<RegexDfa> m_dfa;
    // Units the DFA read in this walk. Each of its searches reads on to where no match can
    // go on, so a walk like ".*x|y" reads the text again for every match; past a few times
    // the text, the backtracker, which remembers across the searches of a walk, takes over.
    std::uint64_t m_dfaUnits = 0;

    std::shared_ptr<const std::u16string> m_input;
    CaptureSlots m_slots{};
    bool m_hasMatch = false;
    bool m_aborted = false;
    int m_lastError = 0;
    std::uint64_t m_walkSteps = 0;
};

}  // namespace tessaro

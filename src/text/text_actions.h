// SPDX-License-Identifier: GPL-3.0-or-later
// The two text actions of a capture: search and replace (the single pair, then the table
// of pairs, plain or by regular expression) and the fixed texts put in front and behind.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "forms/buttons.h"
#include "forms/list_view.h"
#include "forms/text_controls.h"
#include "text/regex_engine.h"
#include "text/regex_replace.h"

namespace tessaro {

// How one pair is applied: the search as a regular expression, the replacement as a
// template of group references (which only counts together with a regular expression).
struct ReplaceFlags {
    bool searchIsRegex = false;
    bool replacementIsTemplate = false;
    bool operator==(const ReplaceFlags&) const = default;
};

// The flags text of a table row: "x", "x/-", "-/x" or "-".
std::u16string TableRowFlags(bool searchIsRegex, bool replacementIsTemplate);
// The flags of a table row from its flags text: a regular expression when the part before
// the first "/" (all of it without one) holds "x"; a template when the text holds "x" and
// no "/".
ReplaceFlags ParseTableRowFlags(std::u16string_view flags);

// Applies one pair to text in place. Plain pairs compare exactly or ignoring case; scratch
// is a buffer reused between pairs. Regular-expression errors go to context.showError and
// leave the text as it was.
void ApplyReplacePair(std::u16string& text, std::u16string_view search,
                      std::u16string_view replacement, ReplaceFlags flags, bool caseSensitive,
                      const RegexReplaceContext& context, std::u16string& scratch);

// The controls the two actions read at the moment they run.
struct TextActionControls {
    const Memo& act_ers_text_suchen;
    const Memo& act_ers_text_ersetzen;
    const CheckBox& act_ers_text_suchen_regex;
    const CheckBox& act_ers_text_ersetzen_regex;
    const CheckBox& act_ers_casesensitive;
    const ListView& act_ers_text_liste;
    const Memo& act_textadd_vorne;
    const Memo& act_textadd_hinten;
};

class TextActions {
public:
    // options and the language outlive this object; showError marks a message at the memo
    // edited last.
    TextActions(TextActionControls controls, const RegexOptions& options,
                TRegexEngine::LanguageCode language,
                std::function<void(const std::u16string& message)> showError)
        : m_c(controls),
          m_options(options),
          m_language(std::move(language)),
          m_showError(std::move(showError)) {}

    // The single pair (when its search text is not empty), then every table row from the
    // first to the last, each on the result of the one before.
    std::u16string ApplySearchReplace(std::u16string text);
    // The text in front, the text, the text behind, all taken literally.
    std::u16string ApplyTextAdditions(const std::u16string& text) const;

    // The no-error flag and the last message, shared by the engines of every pair.
    const RegExErrorState& errorState() const { return m_errorState; }
    // Bounds of each regular-expression search (tests lower them).
    void setLimits(const MatchLimits& limits) { m_limits = limits; }

private:
    TextActionControls m_c;
    const RegexOptions& m_options;
    TRegexEngine::LanguageCode m_language;
    std::function<void(const std::u16string&)> m_showError;
    RegExErrorState m_errorState;
    MatchLimits m_limits;
};

}  // namespace tessaro

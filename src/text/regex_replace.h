// SPDX-License-Identifier: GPL-3.0-or-later
// The two regular-expression replace routines of the search-and-replace action: every match
// replaced by a literal text or by an expanded template, errors reported to a display hook.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "text/regex_engine.h"

namespace tessaro {

// What a replace routine needs besides its texts: the options new engines start from, the
// shared error state, the language of the moment, and where an error message is shown
// (the main window marks the memo edited last).
struct RegexReplaceContext {
    const RegexOptions& options;
    RegExErrorState& errorState;
    TRegexEngine::LanguageCode language;
    std::function<void(const std::u16string& message)> showError;
    MatchLimits limits{};  // bounds of each search; the defaults suit interactive use
};

// Replaces every match of expression in text by replacement, taken literally. The
// expression "[" alone returns the text unchanged without an error. A search stopped by the
// engine's step or memory limit leaves the whole text unchanged; its error is shown.
std::u16string RegExReplaceText(std::u16string_view text, std::u16string_view replacement,
                                std::u16string_view expression, const RegexReplaceContext& context);

// Replaces every match of expression in text by template expanded against that match. An
// expression ending in "[" returns the text unchanged without an error. Limits as above.
std::u16string RegExReplaceTemplate(std::u16string_view text, std::u16string_view expression,
                                    std::u16string_view tpl, const RegexReplaceContext& context);

}  // namespace tessaro

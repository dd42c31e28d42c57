// SPDX-License-Identifier: GPL-3.0-or-later
// Replace-all over the engine's matches: the text between matches is copied, each match is
// replaced, and an error of the engine is shown once the pair is done.
#include "text/regex_replace.h"

namespace tessaro {

namespace {

template <typename Replacement>
std::u16string replaceAll(std::u16string_view text, std::u16string_view expression,
                          const RegexReplaceContext& context, Replacement replacement) {
    context.errorState.noError = true;
    std::u16string result;
    result.reserve(text.size());
    bool aborted = false;
    {
        TRegexEngine engine(context.options, context.errorState, context.language);
        engine.setLimits(context.limits);
        engine.setExpression(expression);
        std::size_t position = 0;  // 0-based: the first character not yet copied
        for (bool found = engine.MatchFirst(text); found; found = engine.MatchNext()) {
            const std::size_t start = static_cast<std::size_t>(engine.MatchStart(0) - 1);
            result.append(text.substr(position, start - position));
            result += replacement(engine);
            position = start + static_cast<std::size_t>(engine.MatchLength(0));
        }
        result.append(text.substr(std::min(position, text.size())));
        // A search cut short by a limit has replaced only part of the text: keep none of it.
        aborted = engine.searchAborted();
    }
    if (!context.errorState.noError && context.showError) {
        context.showError(context.errorState.message);
    }
    if (aborted) return std::u16string(text);
    return result;
}

}  // namespace

std::u16string RegExReplaceText(std::u16string_view text, std::u16string_view replacement,
                                std::u16string_view expression,
                                const RegexReplaceContext& context) {
    if (expression == u"[") return std::u16string(text);
    return replaceAll(text, expression, context,
                      [replacement](const TRegexEngine&) { return std::u16string(replacement); });
}

std::u16string RegExReplaceTemplate(std::u16string_view text, std::u16string_view expression,
                                    std::u16string_view tpl, const RegexReplaceContext& context) {
    if (!expression.empty() && expression.back() == u'[') return std::u16string(text);
    return replaceAll(text, expression, context,
                      [tpl](const TRegexEngine& engine) { return engine.ExpandTemplate(tpl); });
}

}  // namespace tessaro

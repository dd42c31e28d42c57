// SPDX-License-Identifier: GPL-3.0-or-later
// Search and replace pair by pair: each plain pair by the replace-all helpers, each
// regular-expression pair by a fresh engine, so that option changes count from the next pair.
#include "text/text_actions.h"

#include "text/wide_replace.h"

namespace tessaro {

std::u16string TableRowFlags(bool searchIsRegex, bool replacementIsTemplate) {
    if (searchIsRegex) return replacementIsTemplate ? u"x" : u"x/-";
    return replacementIsTemplate ? u"-/x" : u"-";
}

ReplaceFlags ParseTableRowFlags(std::u16string_view flags) {
    const std::size_t slash = flags.find(u'/');
    const std::u16string_view searchPart = flags.substr(0, slash);
    ReplaceFlags result;
    result.searchIsRegex = searchPart.find(u'x') != std::u16string_view::npos;
    result.replacementIsTemplate =
        slash == std::u16string_view::npos && flags.find(u'x') != std::u16string_view::npos;
    return result;
}

void ApplyReplacePair(std::u16string& text, std::u16string_view search,
                      std::u16string_view replacement, ReplaceFlags flags, bool caseSensitive,
                      const RegexReplaceContext& context, std::u16string& scratch) {
    if (!flags.searchIsRegex) {
        const bool changed = caseSensitive
                                 ? WideReplaceAllInto(text, search, replacement, scratch)
                                 : WideReplaceAllIgnoreCaseInto(text, search, replacement, scratch);
        if (changed) text.swap(scratch);
        return;
    }
    text = flags.replacementIsTemplate ? RegExReplaceTemplate(text, search, replacement, context)
                                       : RegExReplaceText(text, replacement, search, context);
}

std::u16string TextActions::ApplySearchReplace(std::u16string text) {
    const RegexReplaceContext context{m_options, m_errorState, m_language, m_showError, m_limits};
    const bool caseSensitive = m_c.act_ers_casesensitive.checked();
    std::u16string scratch;
    const std::u16string& search = m_c.act_ers_text_suchen.text();
    if (!search.empty()) {
        const ReplaceFlags flags{m_c.act_ers_text_suchen_regex.checked(),
                                 m_c.act_ers_text_ersetzen_regex.checked()};
        ApplyReplacePair(text, search, m_c.act_ers_text_ersetzen.text(), flags, caseSensitive,
                         context, scratch);
    }
    for (const ListItem& row : m_c.act_ers_text_liste.items()) {
        ApplyReplacePair(text, row.cell(0), row.cell(1), ParseTableRowFlags(row.cell(2)),
                         caseSensitive, context, scratch);
    }
    return text;
}

std::u16string TextActions::ApplyTextAdditions(const std::u16string& text) const {
    const std::u16string& front = m_c.act_textadd_vorne.text();
    const std::u16string& back = m_c.act_textadd_hinten.text();
    std::u16string result;
    result.reserve(front.size() + text.size() + back.size());
    result.append(front).append(text).append(back);
    return result;
}

}  // namespace tessaro

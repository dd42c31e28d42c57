// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/regex_error_marks.h"

namespace tessaro {

RegExErrorMarks::RegExErrorMarks(Memo& search, Memo& replacement, Label& searchError,
                                 Label& replacementError)
    : m_search(search),
      m_replacement(replacement),
      m_searchError(searchError),
      m_replacementError(replacementError) {
    for (Label* label : {&m_searchError, &m_replacementError}) {
        label->setCaption(u"RegEx");
        label->setColor(kErrorColor);
        label->setVisible(false);
    }
}

void RegExErrorMarks::RegExFehlerInMemoMarkieren(const std::u16string& message) {
    Memo* memo = nullptr;
    Label* label = nullptr;
    if (m_lastEdited == &m_replacement) {
        memo = &m_replacement;
        label = &m_replacementError;
    } else if (m_lastEdited == &m_search) {
        memo = &m_search;
        label = &m_searchError;
    } else {
        return;
    }
    memo->setColor(kErrorColor);
    label->setVisible(true);
    label->setCaption(message);
}

void RegExErrorMarks::clear(Memo& memo, Label& label) {
    memo.setColor(std::nullopt);
    label.setVisible(false);
    m_lastEdited = &memo;
}

}  // namespace tessaro

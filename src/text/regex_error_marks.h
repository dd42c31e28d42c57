// SPDX-License-Identifier: GPL-3.0-or-later
// Where a regular-expression error is shown: beside the memo edited last, in dark red, until
// the text of that memo (or of its partner text-addition memo) changes.
#pragma once

#include <string>

#include "forms/text_controls.h"

namespace tessaro {

class RegExErrorMarks {
public:
    static constexpr Rgb kErrorColor{127, 28, 23};

    // The search and replacement memos with their error labels; the labels start hidden,
    // dark red, captioned "RegEx".
    RegExErrorMarks(Memo& search, Memo& replacement, Label& searchError, Label& replacementError);

    // The memo edited last: the search memo, the replacement memo or none.
    const Memo* LastEditedMemo() const { return m_lastEdited; }

    // Shows message at the memo edited last: the memo's text turns dark red and its label
    // shows the message. Nothing is shown while no memo has been edited.
    void RegExFehlerInMemoMarkieren(const std::u16string& message);
    // The search memo (or the text in front) changed: its mark goes, it becomes the memo
    // edited last.
    void act_ers_text_suchenChange() { clear(m_search, m_searchError); }
    // The replacement memo (or the text behind) changed: likewise for the replacement memo.
    void act_ers_text_ersetzenChange() { clear(m_replacement, m_replacementError); }

private:
    void clear(Memo& memo, Label& label);

    Memo& m_search;
    Memo& m_replacement;
    Label& m_searchError;
    Label& m_replacementError;
    const Memo* m_lastEdited = nullptr;
};

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// The search field above the history list: typing narrows the shown rows to those whose
// content contains the typed text, ignoring case by full Unicode case folding; Esc empties
// the field, and an empty field shows every row. It is a view over the rows only: the rows,
// their order, their numbers and the text store stay as they are.
#pragma once

#include <cstddef>
#include <memory>

#include "forms/list_view.h"
#include "forms/text_controls.h"
#include "text/folded_search.h"

namespace tessaro {

class HistoryFilter {
public:
    // The content cell: the captured text, or an image's size.
    static constexpr std::size_t kContentColumn = 2;
    static constexpr char16_t kKeyEscape = 27;

    // Takes over the field's change and key handlers.
    HistoryFilter(Edit& field, ListView& history);
    HistoryFilter(const HistoryFilter&) = delete;
    HistoryFilter& operator=(const HistoryFilter&) = delete;

    // Applies the field's text to the list. Each keystroke tests only the rows it may
    // change: typing on tests the rows still shown, deleting the rows hidden.
    void apply();

private:
    Edit& m_field;
    ListView& m_history;
    // The search applied; none while the field is empty.
    std::shared_ptr<const FoldedFinder> m_finder;
};

}  // namespace tessaro

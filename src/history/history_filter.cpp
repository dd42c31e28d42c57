// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/history_filter.h"

#include <string>

namespace tessaro {

HistoryFilter::HistoryFilter(Edit& field, ListView& history) : m_field(field), m_history(history) {
    m_field.onChange = [this] { apply(); };
    m_field.onKeyPress = [this](char16_t& key) {
        if (key != kKeyEscape) return;
        key = 0;
        m_field.setText(std::u16string());
    };
}

void HistoryFilter::apply() {
    auto finder = std::make_shared<const FoldedFinder>(m_field.text());
    if (finder->empty()) {
        m_finder.reset();
        m_history.clearRowFilter();
        return;
    }
    // Folded, a search that contains the previous one matches a subset of its rows, and one
    // contained in it a superset.
    auto scope = ListView::FilterScope::All;
    if (m_finder && m_history.filtered()) {
        if (finder->folded().find(m_finder->folded()) != std::u16string::npos) {
            scope = ListView::FilterScope::ShownRows;
        } else if (m_finder->folded().find(finder->folded()) != std::u16string::npos) {
            scope = ListView::FilterScope::HiddenRows;
        }
    }
    m_finder = finder;
    m_history.setRowFilter(
        [finder](const ListItem& row) { return finder->foundIn(row.cell(kContentColumn)); }, scope);
}

}  // namespace tessaro

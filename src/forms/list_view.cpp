// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/list_view.h"

#include <algorithm>
#include <numeric>

namespace tessaro {

std::u16string_view ListItem::cell(std::size_t column) const {
    if (column == 0) return caption;
    return column - 1 < subItems.size() ? subItems[column - 1].view() : std::u16string_view();
}

void ListView::setColumns(std::vector<ListColumn> columns) {
    m_columns = std::move(columns);
    m_listChanged.notify({ListChange::Kind::Columns, 0, 0});
}

void ListView::setColumnCaption(std::size_t column, std::u16string caption) {
    if (column >= m_columns.size()) return;
    m_columns[column].caption = std::move(caption);
    m_listChanged.notify({ListChange::Kind::Columns, 0, 0});
}

void ListView::append(ListItem item) {
    item.selected = false;
    item.hidden = m_filter && !m_filter(item);
    m_items.push_back(std::move(item));
    const std::size_t row = m_items.size() - 1;
    if (m_items.back().hidden) {
        // The first hidden row: every row before it is shown.
        if (m_hiddenCount++ == 0) {
            m_shown.resize(row);
            std::iota(m_shown.begin(), m_shown.end(), std::size_t{0});
        }
        m_listChanged.notify({ListChange::Kind::HiddenRows, 0, 0});
        return;
    }
    if (m_hiddenCount) m_shown.push_back(row);
    m_listChanged.notify({ListChange::Kind::Inserted, static_cast<int>(shownCount() - 1), 1});
}

void ListView::clear() {
    if (m_items.empty()) return;
    m_items.clear();
    m_shown.clear();
    m_hiddenCount = 0;
    m_listChanged.notify({ListChange::Kind::Reset, 0, 0});
}

std::size_t ListView::shownPosition(std::size_t row) const {
    if (!m_hiddenCount) return row;
    return static_cast<std::size_t>(std::lower_bound(m_shown.begin(), m_shown.end(), row) - m_shown.begin());
}

void ListView::rebuildShown() {
    m_hiddenCount = 0;
    m_shown.clear();
    for (const ListItem& item : m_items) m_hiddenCount += item.hidden;
    if (!m_hiddenCount) return;
    m_shown.reserve(m_items.size() - m_hiddenCount);
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (!m_items[i].hidden) m_shown.push_back(i);
    }
}

void ListView::setRowFilter(RowFilter filter, FilterScope scope) {
    if (!filter) {
        clearRowFilter();
        return;
    }
    m_filter = std::move(filter);
    bool changed = false;
    for (ListItem& item : m_items) {
        if ((scope == FilterScope::ShownRows && item.hidden) || (scope == FilterScope::HiddenRows && !item.hidden)) {
            continue;
        }
        const bool hide = !m_filter(item);
        if (hide == item.hidden) continue;
        item.hidden = hide;
        if (hide) item.selected = false;
        changed = true;
    }
    if (!changed) return;
    rebuildShown();
    m_listChanged.notify({ListChange::Kind::Reset, 0, 0});
}

void ListView::clearRowFilter() {
    m_filter = nullptr;
    if (!m_hiddenCount) return;
    for (ListItem& item : m_items) item.hidden = false;
    rebuildShown();
    m_listChanged.notify({ListChange::Kind::Reset, 0, 0});
}

void ListView::remove(std::vector<std::size_t> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    while (!rows.empty() && rows.back() >= m_items.size()) rows.pop_back();
    if (rows.empty()) return;
    // Contiguous runs as [first, end) pairs.
    std::vector<std::pair<std::size_t, std::size_t>> runs;
    for (std::size_t row : rows) {
        if (!runs.empty() && runs.back().second == row) {
            ++runs.back().second;
        } else {
            runs.emplace_back(row, row + 1);
        }
    }
    // Erasing run by run moves the tail once per run: cheap for a few runs, quadratic for
    // many, so beyond a few the rows are compacted in one pass instead.
    constexpr std::size_t kMaxSeparateRuns = 8;
    if (runs.size() <= kMaxSeparateRuns) {
        // From the back, so that the runs still to be removed keep their indices.
        for (auto it = runs.rbegin(); it != runs.rend(); ++it) {
            // The shown rows of a run stand together among the shown rows.
            const std::size_t first = shownPosition(it->first);
            const std::size_t end = shownPosition(it->second);
            m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(it->first),
                          m_items.begin() + static_cast<std::ptrdiff_t>(it->second));
            if (m_hiddenCount) rebuildShown();
            if (end == first) {
                m_listChanged.notify({ListChange::Kind::HiddenRows, 0, 0});
            } else {
                m_listChanged.notify({ListChange::Kind::Removed, static_cast<int>(first),
                                      static_cast<int>(end - first)});
            }
        }
        return;
    }
    std::size_t next = 0;  // index into rows
    std::size_t kept = 0;
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (next < rows.size() && rows[next] == i) {
            ++next;
            continue;
        }
        if (kept != i) m_items[kept] = std::move(m_items[i]);
        ++kept;
    }
    m_items.resize(kept);
    if (m_hiddenCount) rebuildShown();
    m_listChanged.notify({ListChange::Kind::Reset, 0, 0});
}

void ListView::setItems(std::vector<ListItem> items) {
    m_items = std::move(items);
    for (ListItem& item : m_items) {
        item.hidden = m_filter && !m_filter(item);
        if (item.hidden) item.selected = false;
    }
    rebuildShown();
    m_listChanged.notify({ListChange::Kind::Reset, 0, 0});
}

void ListView::reorder(const std::vector<std::size_t>& order) {
    if (order.size() != m_items.size()) return;
    std::vector<bool> seen(order.size(), false);
    for (std::size_t index : order) {
        if (index >= seen.size() || seen[index]) return;
        seen[index] = true;
    }
    std::vector<ListItem> reordered;
    reordered.reserve(m_items.size());
    for (std::size_t index : order) reordered.push_back(std::move(m_items[index]));
    m_items = std::move(reordered);
    if (m_hiddenCount) rebuildShown();
    m_listChanged.notify({ListChange::Kind::Reset, 0, 0});
}

void ListView::setSelected(std::size_t row, bool selected) {
    if (row >= m_items.size() || m_items[row].selected == selected) return;
    if (selected && m_items[row].hidden) return;
    if (selected && !m_multiSelect) {
        for (auto& item : m_items) item.selected = false;
    }
    m_items[row].selected = selected;
    m_listChanged.notify({ListChange::Kind::Selection, 0, 0});
}

void ListView::selectAll() {
    if (!m_multiSelect) return;
    for (auto& item : m_items) item.selected = !item.hidden;
    m_listChanged.notify({ListChange::Kind::Selection, 0, 0});
}

void ListView::clearSelection() {
    for (auto& item : m_items) item.selected = false;
    m_listChanged.notify({ListChange::Kind::Selection, 0, 0});
}

void ListView::setSelectedRows(const std::vector<std::size_t>& rows) {
    std::vector<bool> wanted(m_items.size(), false);
    for (std::size_t row : rows) {
        if (row < wanted.size() && !m_items[row].hidden) wanted[row] = true;
    }
    if (!m_multiSelect) {
        // A single-selection list keeps the first of them.
        bool first = true;
        for (std::size_t i = 0; i < wanted.size(); ++i) {
            if (wanted[i] && !first) wanted[i] = false;
            if (wanted[i]) first = false;
        }
    }
    bool changed = false;
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].selected != wanted[i]) {
            m_items[i].selected = wanted[i];
            changed = true;
        }
    }
    if (changed) m_listChanged.notify({ListChange::Kind::Selection, 0, 0});
}

std::vector<std::size_t> ListView::selectedRows() const {
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].selected) rows.push_back(i);
    }
    return rows;
}

}  // namespace tessaro

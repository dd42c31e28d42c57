#include "forms/list_view.h"

#include <algorithm>

namespace tessaro {

const std::u16string& ListItem::cell(std::size_t column) const {
    static const std::u16string kEmpty;
    if (column == 0) return caption;
    return column - 1 < subItems.size() ? subItems[column - 1].str() : kEmpty;
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
    m_items.push_back(std::move(item));
    m_listChanged.notify({ListChange::Kind::Inserted, static_cast<int>(m_items.size() - 1), 1});
}

void ListView::clear() {
    if (m_items.empty()) return;
    m_items.clear();
    m_listChanged.notify({ListChange::Kind::Reset, 0, 0});
}

void ListView::remove(std::vector<std::size_t> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // From the back, so that the indices still to be removed stay valid.
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        if (*it >= m_items.size()) continue;
        m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(*it));
        m_listChanged.notify({ListChange::Kind::Removed, static_cast<int>(*it), 1});
    }
}

void ListView::setItems(std::vector<ListItem> items) {
    m_items = std::move(items);
    m_listChanged.notify({ListChange::Kind::Reset, 0, 0});
}

void ListView::setSelected(std::size_t row, bool selected) {
    if (row >= m_items.size() || m_items[row].selected == selected) return;
    if (selected && !m_multiSelect) {
        for (auto& item : m_items) item.selected = false;
    }
    m_items[row].selected = selected;
    m_listChanged.notify({ListChange::Kind::Selection, 0, 0});
}

void ListView::selectAll() {
    if (!m_multiSelect) return;
    for (auto& item : m_items) item.selected = true;
    m_listChanged.notify({ListChange::Kind::Selection, 0, 0});
}

void ListView::clearSelection() {
    for (auto& item : m_items) item.selected = false;
    m_listChanged.notify({ListChange::Kind::Selection, 0, 0});
}

std::vector<std::size_t> ListView::selectedRows() const {
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].selected) rows.push_back(i);
    }
    return rows;
}

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// A report-style list view: rows of a caption and sub-items, with multi-selection, and a
// filter that hides rows from the views without taking them out of the list.
// Views are told of each structural change so that they can update incrementally.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "forms/control.h"
#include "forms/shared_text.h"

namespace tessaro {

struct ListColumn {
    std::u16string caption;
    int width = 0;
};

struct ListItem {
    std::u16string caption;
    std::vector<SharedText> subItems;
    bool selected = false;
    // Rejected by the list's filter: kept in the list, but not shown and never selected.
    bool hidden = false;

    // The text of a cell: column 0 is the caption, column k the sub-item k - 1 ("" if absent).
    std::u16string_view cell(std::size_t column) const;
};

// Positions count the shown rows only: with no row hidden they are the rows' indices.
// HiddenRows: rows that are not shown were added or removed; the shown rows are unchanged.
struct ListChange {
    enum class Kind { Reset, Inserted, Removed, Selection, Columns, HiddenRows };
    Kind kind = Kind::Reset;
    int first = 0;
    int count = 0;
};

class ListView : public Control {
public:
    ListView(Form& owner, std::string name)
        : Control(owner, std::move(name), ControlKind::ListView) {}

    const std::vector<ListColumn>& columns() const { return m_columns; }
    void setColumns(std::vector<ListColumn> columns);
    void setColumnCaption(std::size_t column, std::u16string caption);

    bool multiSelect() const { return m_multiSelect; }
    void setMultiSelect(bool on) { m_multiSelect = on; }

    const std::vector<ListItem>& items() const { return m_items; }
    std::size_t count() const { return m_items.size(); }
    const ListItem& item(std::size_t row) const { return m_items.at(row); }

    void append(ListItem item);
    void clear();
    // Removes the rows whose indices are given (any order, duplicates and indices past
    // the end ignored). A few separate runs are announced one by one, from the back; many
    // runs are removed in one pass and announced as a reset.
    void remove(std::vector<std::size_t> rows);
    // Replaces all rows at once, e.g. after sorting.
    void setItems(std::vector<ListItem> items);
    // Puts the rows in a new order: row i becomes the row that was at order[i]. `order`
    // must be a permutation of all row indices; anything else leaves the list alone.
    void reorder(const std::vector<std::size_t>& order);

    // A filter hides the rows it rejects. Hidden rows keep their place: items(), count(),
    // item() and every operation by row index still include them; only views leave them
    // out. Rows appended or set later are tested as they come.
    using RowFilter = std::function<bool(const ListItem&)>;
    // Which rows applying a filter tests. A caller that knows the new filter to accept no
    // row the present one rejects (a longer search) may test the shown rows only, one that
    // knows it to reject no row the present one accepts, the hidden rows only.
    enum class FilterScope { All, ShownRows, HiddenRows };
    void setRowFilter(RowFilter filter, FilterScope scope = FilterScope::All);
    // Shows every row again.
    void clearRowFilter();
    bool filtered() const { return static_cast<bool>(m_filter); }
    // The rows a view shows: their number, and the index in items() of the one at a position.
    std::size_t shownCount() const { return m_hiddenCount ? m_shown.size() : m_items.size(); }
    std::size_t shownRow(std::size_t position) const { return m_hiddenCount ? m_shown.at(position) : position; }

    // Selecting a hidden row does nothing; select all selects the shown rows.
    void setSelected(std::size_t row, bool selected);
    void selectAll();
    void clearSelection();
    // Makes exactly the given rows selected, with one announcement (a view mirroring a
    // selection of many rows).
    void setSelectedRows(const std::vector<std::size_t>& rows);
    std::vector<std::size_t> selectedRows() const;

    Notifier<const ListChange&>& listChanged() { return m_listChanged; }

    Handler onDblClick;
    // A key pressed in the list: its key code (46 Delete, 65 to 90 the letters) and
    // whether Ctrl was held.
    std::function<void(int key, bool ctrl)> onKeyDown;
    // A click on a column header: the column's index (0 the caption column).
    std::function<void(int column)> onColumnClick;

private:
    // The position among the shown rows that the row with index `row` has or would have.
    std::size_t shownPosition(std::size_t row) const;
    // Counts the hidden rows and lists the shown ones again.
    void rebuildShown();

    std::vector<ListColumn> m_columns;
    std::vector<ListItem> m_items;
    RowFilter m_filter;
    // Indices of the shown rows in order; kept only while some row is hidden.
    std::vector<std::size_t> m_shown;
    std::size_t m_hiddenCount = 0;
    bool m_multiSelect = false;
    Notifier<const ListChange&> m_listChanged;
};

}  // namespace tessaro

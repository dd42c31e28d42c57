// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/search_replace_panel.h"

#include <algorithm>

#include "text/text_actions.h"

namespace tessaro {

SearchReplacePanel::SearchReplacePanel(SearchReplacePanelControls controls) : m_c(controls) {
    m_c.act_ers_text_liste.setMultiSelect(true);
    m_c.act_ers_text_liste.setColumns({{u"", 95}, {u"", 95}, {u"RegEx", 50}});
}

void SearchReplacePanel::act_ers_text_addClick() {
    if (m_c.act_ers_text_suchen.text().empty()) return;
    m_c.act_ers_text_liste.append({m_c.act_ers_text_suchen.text(),
                                   {m_c.act_ers_text_ersetzen.sharedText(),
                                    TableRowFlags(m_c.act_ers_text_suchen_regex.checked(),
                                                  m_c.act_ers_text_ersetzen_regex.checked())}});
    act_ers_text_deleteClick();
}

void SearchReplacePanel::act_ers_text_deleteClick() {
    m_c.act_ers_text_suchen.clear();
    m_c.act_ers_text_ersetzen.clear();
}

void SearchReplacePanel::act_ers_text_delmarkClick() {
    m_c.act_ers_text_liste.remove(m_c.act_ers_text_liste.selectedRows());
}

void SearchReplacePanel::act_ers_text_listeSelectItem() {
    const std::vector<std::size_t> selected = m_c.act_ers_text_liste.selectedRows();
    if (selected.empty()) return;
    // Copies first: setting a memo's text runs handlers that must not see a half-done row.
    const ListItem row = m_c.act_ers_text_liste.item(selected.front());
    m_c.act_ers_text_suchen.setText(row.caption);
    m_c.act_ers_text_ersetzen.setText(row.subItems.empty() ? SharedText() : row.subItems[0]);
    const std::u16string_view flags = row.cell(2);
    std::optional<std::pair<bool, bool>> boxes;
    if (flags == u"-") boxes = {false, false};
    if (flags == u"x") boxes = {true, true};
    if (flags == u"x/-") boxes = {true, false};
    if (flags == u"-/x") boxes = {false, true};
    if (!boxes) return;
    m_c.act_ers_text_suchen_regex.setChecked(boxes->first);
    m_c.act_ers_text_ersetzen_regex.setChecked(boxes->second);
}

bool SearchReplacePanel::act_ers_text_listeKeyDown(std::uint16_t key, bool ctrl) {
    if (ctrl && key == kKeyA) {
        m_c.act_ers_text_liste.selectAll();
        return true;
    }
    if (key == kKeyDelete) {
        act_ers_text_delmarkClick();
        return true;
    }
    return false;
}

void SearchReplacePanel::act_ers_text_listeDragDrop(bool fromTable,
                                                    std::optional<std::size_t> target) {
    if (!fromTable) return;
    ListView& list = m_c.act_ers_text_liste;
    const std::vector<ListItem>& items = list.items();
    // A target among the moved rows would move with them: the rows land before the next
    // row that stays, so that none is lost and their order holds. No target: the end.
    std::size_t stop = std::min(target.value_or(items.size()), items.size());
    while (stop < items.size() && items[stop].selected) ++stop;
    std::vector<ListItem> moved;
    std::vector<ListItem> staying;
    std::size_t at = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        (items[i].selected ? moved : staying).push_back(items[i]);
        if (i < stop && !items[i].selected) at = staying.size();
    }
    if (moved.empty()) return;
    for (ListItem& item : moved) item.selected = false;
    for (ListItem& item : staying) item.selected = false;
    staying.insert(staying.begin() + static_cast<std::ptrdiff_t>(at),
                   std::make_move_iterator(moved.begin()), std::make_move_iterator(moved.end()));
    list.setItems(std::move(staying));
}

void SearchReplacePanel::cb_se_mehrfachClick() {
    using namespace search_replace_layout;
    const int height = m_c.cb_se_mehrfach.checked() ? kTable.top + kTable.height + 8
                                                    : kShowTable.top + kShowTable.height + 8;
    m_c.pa_suchenersetzen.setHeight(height);
    m_c.pa001b.setHeight(height + kRowExtra);
}

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// The history list's operations. Copying back relies on the clipboard announcing the write
// synchronously, inside it: the pipeline runs while the text switch is off.
#include "history/history_list.h"

#include "history/list_sorting.h"
#include "platform/decimal_text.h"

namespace tessaro {
namespace {

constexpr std::u16string_view kImageNoticeDe =
    u"Im Moment können nur Texte erneut zur Zwischenablage hinzugefügt werden.\r\n"
    u"Alter Bilder aus der Zwischenablage werden wegen Ihres hohen Speicherverbrauchs nicht "
    u"gespeichert.";
constexpr std::u16string_view kImageNoticeEn =
    u"At the moment, only texts can be copied to the clipboard again.\r\n"
    u"Old images from the clipboard are not kept because of their high memory consumption.";

// The store index or image number of a row; -1 when the cell is not a number.
long long numberCell(const ListItem& row) { return DigitsValue(row.cell(3)).value_or(-1); }

// Sets a flag for the lifetime of a scope and restores the switch state even when the
// clipboard write fails.
class RecopyScope {
public:
    RecopyScope(bool& flag, CheckBox& textSwitch)
        : m_flag(flag), m_switch(textSwitch), m_wasChecked(textSwitch.checked()) {
        m_flag = true;
    }
    ~RecopyScope() {
        m_switch.setChecked(m_wasChecked);
        m_flag = false;
    }
    RecopyScope(const RecopyScope&) = delete;
    RecopyScope& operator=(const RecopyScope&) = delete;

private:
    bool& m_flag;
    CheckBox& m_switch;
    bool m_wasChecked;
};

}  // namespace

bool HistoryList::isTextRow(const ListItem& row) { return row.cell(1) == u"Text"; }

void HistoryList::zuletztDblClick() {
    m_recopyInProgress = true;
    const std::vector<std::size_t> selected = m_c.zuletzt.selectedRows();
    if (!m_c.cb_history_dblclick.checked() || selected.empty()) {
        m_recopyInProgress = false;
        return;
    }
    const ListItem& row = m_c.zuletzt.item(selected.front());
    if (!isTextRow(row)) {
        m_recopyInProgress = false;
        m_desktop.showMessage(MessageKind::Information, u"Information",
                              german() ? kImageNoticeDe : kImageNoticeEn);
        return;
    }
    recopy(numberCell(row));
}

bool HistoryList::copyTextRow(long long number) {
    for (const ListItem& row : m_c.zuletzt.items()) {
        if (isTextRow(row) && numberCell(row) == number) {
            m_recopyInProgress = true;
            recopy(number);
            return true;
        }
    }
    return false;
}

void HistoryList::recopy(long long n) {
    // Held by value: the nested pipeline run may change the list.
    SharedText text;
    const bool stored = n >= 0 && static_cast<std::size_t>(n) < m_store.HistoryTexts.size();
    if (stored) text = m_store.HistoryTexts[static_cast<std::size_t>(n)];
    // The scope unchecks the text switch (the recopy flag keeps that from removing rows)
    // and restores it afterwards, also when the write fails.
    RecopyScope scope(m_recopyInProgress, m_c.cb_history_txt);
    m_c.cb_history_txt.setChecked(false);
    if (stored) m_clipboard.WriteUnicodeText(text.str());
}

void HistoryList::pop2Click() { m_c.zuletzt.remove(m_c.zuletzt.selectedRows()); }

bool HistoryList::PopupMenu2Popup() const {
    for (const ListItem& row : m_c.zuletzt.items()) {
        if (row.selected) return true;
    }
    return false;
}

void HistoryList::zuletztKeyDown(int key, bool ctrl) {
    if (key == kKeyA && ctrl) {
        m_c.zuletzt.selectAll();
        return;
    }
    if (key == kKeyZ && ctrl) {
        undoDelete();
        return;
    }
    if (key == kKeyEnter) {
        zuletztDblClick();
        return;
    }
    if (key != kKeyDelete) return;
    const std::vector<std::size_t> selected = m_c.zuletzt.selectedRows();
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
        const ListItem& row = m_c.zuletzt.item(*it);
        if (!isTextRow(row)) continue;
        const long long n = numberCell(row);
        if (n >= 0 && static_cast<std::size_t>(n) < m_store.HistoryTexts.size()) {
            m_store.HistoryTexts[static_cast<std::size_t>(n)] = SharedText();
        }
    }
    m_c.zuletzt.remove(selected);
}

void HistoryList::zuletztColumnClick(int column) {
    SortListByColumn(m_c.zuletzt, SortedList::History, column, m_sort, m_desktop);
}

void HistoryList::listeColumnClick(int column) {
    SortListByColumn(m_c.liste, SortedList::Details, column, m_sort, m_desktop);
}

void HistoryList::delverlaufClick() {
    if (m_c.zuletzt.count() == 0) return;
    m_deletedRows = m_c.zuletzt.items();
    m_c.zuletzt.clear();
    m_undoChanged.notify();
}

void HistoryList::undoDelete() {
    if (!m_deletedRows) return;
    // Rows removed singly after the deletion (none can be added before the next capture)
    // do not exist; the deleted ones come back in front of anything else.
    std::vector<ListItem> rows = std::move(*m_deletedRows);
    for (const ListItem& row : m_c.zuletzt.items()) rows.push_back(row);
    m_deletedRows.reset();
    m_c.zuletzt.setItems(std::move(rows));
    m_undoChanged.notify();
}

void HistoryList::forgetDeleted() {
    if (!m_deletedRows) return;
    m_deletedRows.reset();
    m_undoChanged.notify();
}

void HistoryList::removeRowsOfKind(bool textRows) {
    std::vector<std::size_t> rows;
    const auto& items = m_c.zuletzt.items();
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (isTextRow(items[i]) == textRows) rows.push_back(i);
    }
    m_c.zuletzt.remove(std::move(rows));
}

void HistoryList::cb_history_txtClick() {
    if (!m_c.cb_history_txt.checked() && !m_recopyInProgress) removeRowsOfKind(true);
    if (m_textMirror) m_textMirror->setChecked(m_c.cb_history_txt.checked());
}

void HistoryList::cb_history_imgClick() {
    if (!m_c.cb_history_img.checked() && !m_recopyInProgress) removeRowsOfKind(false);
    if (m_imageMirror) m_imageMirror->setChecked(m_c.cb_history_img.checked());
}

}  // namespace tessaro

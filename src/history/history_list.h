// SPDX-License-Identifier: GPL-3.0-or-later
// The user's operations on the history list: copying a row back to the clipboard,
// deleting rows, selecting all, sorting both lists, and the two switches of the kinds.
#pragma once

#include <optional>
#include <vector>

#include "capture/clipboard_ex.h"
#include "forms/buttons.h"
#include "forms/language_code.h"
#include "forms/list_view.h"
#include "forms/text_controls.h"
#include "history/history_store.h"
#include "history/list_sorting.h"
#include "platform/desktop.h"

namespace tessaro {

struct HistoryControls {
    ListView& zuletzt;
    ListView& liste;
    CheckBox& cb_history_txt;
    CheckBox& cb_history_img;
    CheckBox& cb_history_dblclick;
    const Label& spr;
};

class HistoryList {
public:
    static constexpr int kKeyEnter = 13;
    static constexpr int kKeyDelete = 46;
    static constexpr int kKeyA = 65;
    static constexpr int kKeyZ = 90;

    HistoryList(HistoryControls controls, HistoryStore& store, TClipBoardEx& clipboard,
                Desktop& desktop)
        : m_c(controls), m_store(store), m_clipboard(clipboard), m_desktop(desktop) {}

    // The switches in the history settings that follow the two main-window switches;
    // attached once that window exists.
    void attachMirrors(CheckBox& textMirror, CheckBox& imageMirror) {
        m_textMirror = &textMirror;
        m_imageMirror = &imageMirror;
    }

    // Puts the first selected row back on the clipboard: a text row's stored text, which
    // the pipeline then handles like any new content without adding a row; for an image
    // row a notice that only texts can be copied back.
    void zuletztDblClick();
    // Puts the text of the text row with this number back on the clipboard, as a double
    // click on it would, whatever the double-click switch says (a later start of the
    // program asks for it by number). False when the list has no such row.
    bool copyTextRow(long long number);
    // Removes the selected rows; the store keeps their texts.
    void pop2Click();
    // Whether the history's popup menu may open: only with a selected row.
    bool PopupMenu2Popup() const;
    // Ctrl+A selects every row; Delete removes the selected rows and empties the store
    // entries of their texts; Ctrl+Z undoes "Delete History"; Enter copies the row back as
    // a double click does. Other keys do nothing.
    void zuletztKeyDown(int key, bool ctrl);
    void zuletztColumnClick(int column);
    void listeColumnClick(int column);
    // Removes every row; the store and both counters are kept, so the rows can come back
    // with undoDelete() until the next capture.
    void delverlaufClick();
    bool canUndoDelete() const { return m_deletedRows.has_value(); }
    void undoDelete();
    // A new capture begins: the deleted rows are gone for good.
    void forgetDeleted();
    // Told when undoing becomes possible or impossible.
    Notifier<>& undoChanged() { return m_undoChanged; }
    // A switch now unchecked removes the rows of its kind (not while a row is being copied
    // back); either way its mirror follows.
    void cb_history_txtClick();
    void cb_history_imgClick();

    bool RecopyInProgress() const { return m_recopyInProgress; }
    const SortState& sortState() const { return m_sort; }

    // A row is a text row exactly when its kind cell is "Text".
    static bool isTextRow(const ListItem& row);

private:
    void removeRowsOfKind(bool textRows);
    // Writes the stored text of text row `n` to the clipboard with the text switch held
    // off, so that the copy adds no row of its own; m_recopyInProgress is set by the caller.
    void recopy(long long n);
    bool german() const { return IsGerman(m_c.spr); }

    HistoryControls m_c;
    HistoryStore& m_store;
    TClipBoardEx& m_clipboard;
    Desktop& m_desktop;
    CheckBox* m_textMirror = nullptr;
    CheckBox* m_imageMirror = nullptr;
    bool m_recopyInProgress = false;
    SortState m_sort;
    std::optional<std::vector<ListItem>> m_deletedRows;
    Notifier<> m_undoChanged;
};

}  // namespace tessaro

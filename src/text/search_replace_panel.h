// SPDX-License-Identifier: GPL-3.0-or-later
// The search-and-replace box of the main window: editing the replacement table (adding
// from the fields, deleting, copying a selected row back, reordering by dragging) and the
// height rule that shows or hides the table part.
#pragma once

#include <cstdint>
#include <optional>

#include "forms/buttons.h"
#include "forms/containers.h"
#include "forms/list_view.h"
#include "forms/text_controls.h"

namespace tessaro {

// Design geometry of the box's controls, in pixels from the box's top left corner. The
// box is as wide as its row allows; horizontal places are fractions of its width, so only
// the vertical ones are fixed.
namespace search_replace_layout {
struct Band {
    int top;
    int height;
};
inline constexpr Band kCaptions{6, 14};     // "Search for:", "Replace by:"
inline constexpr Band kMemos{22, 58};       // the two memos, side by side
inline constexpr Band kRegexBoxes{84, 17};  // the two regex boxes and their error labels
inline constexpr Band kCaseSensitive{104, 17};
inline constexpr Band kShowTable{124, 17};  // cb_se_mehrfach
inline constexpr Band kButtons{148, 23};    // add, clear, delete selected
inline constexpr Band kTable{176, 76};      // act_ers_text_liste
// The row holding the box is this much higher than the box.
inline constexpr int kRowExtra = 6;
}  // namespace search_replace_layout

// Virtual key codes the table reacts to.
inline constexpr std::uint16_t kKeyA = 0x41;
inline constexpr std::uint16_t kKeyDelete = 0x2E;

struct SearchReplacePanelControls {
    Panel& pa001b;
    Panel& pa_suchenersetzen;
    Memo& act_ers_text_suchen;
    Memo& act_ers_text_ersetzen;
    CheckBox& act_ers_text_suchen_regex;
    CheckBox& act_ers_text_ersetzen_regex;
    CheckBox& cb_se_mehrfach;
    ListView& act_ers_text_liste;
};

class SearchReplacePanel {
public:
    explicit SearchReplacePanel(SearchReplacePanelControls controls);

    // Appends the fields as a row (flags from the two regex boxes) and empties both memos;
    // does nothing while the search memo is empty.
    void act_ers_text_addClick();
    // Empties both memos; the table stays.
    void act_ers_text_deleteClick();
    // Deletes every selected row.
    void act_ers_text_delmarkClick();
    // Copies the first selected row, if any, into the memos and the regex boxes.
    void act_ers_text_listeSelectItem();
    // Ctrl+A selects every row, Delete deletes the selected ones; returns whether the key
    // was used.
    bool act_ers_text_listeKeyDown(std::uint16_t key, bool ctrl);
    // A drag is welcome whenever the pointer is over the table.
    bool act_ers_text_listeDragOver(bool overTable) const { return overTable; }
    // A drop of a drag that started in the table: the selected rows, in their order, move
    // to stand right before the row under the drop point, or to the end without one. A
    // drop onto a selected row lands before the next row that is not selected.
    void act_ers_text_listeDragDrop(bool fromTable, std::optional<std::size_t> target);
    // The height rule: tall enough for the table while cb_se_mehrfach is on, ending below
    // that box otherwise.
    void cb_se_mehrfachClick();

private:
    SearchReplacePanelControls m_c;
};

}  // namespace tessaro

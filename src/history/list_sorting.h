// SPDX-License-Identifier: GPL-3.0-or-later
// Column sorting of the history list and the details list: one sort state shared by both
// lists, and the comparison rules of each list's columns.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "forms/list_view.h"
#include "platform/desktop.h"

namespace tessaro {

// Shared by the history list and the details list, so that a click on a column of one
// list after a click on the column with the same index in the other sorts descending.
struct SortState {
    int SortColumn = 0;
    // -1 at start: the first click on any column sorts ascending, a second click on the
    // same column descending.
    int LastSortColumn = -1;
    int SortDescending = 0;
};

enum class SortedList { History, Details };

// Applies a click on column `column` of a list to the shared state and sorts that list
// once: the history list by time (as numbers), kind and content; the details list by
// format name, format number (as integers) and value. Text cells compare by the
// desktop's locale, ignoring case. Rows with equal keys keep their order.
void SortListByColumn(ListView& list, SortedList which, int column, SortState& state,
                      Desktop& desktop);

// The number a time caption stands for once every time separator is removed; nothing
// when the rest is not a decimal integer (a time with AM/PM markers, say).
std::optional<std::int64_t> TimeCaptionNumber(std::u16string_view caption,
                                              std::u16string_view separator);

// A cell read as a 32-bit integer; 0 when it is not one.
std::int32_t IntegerCellOrZero(std::u16string_view cell);

}  // namespace tessaro

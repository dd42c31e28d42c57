// SPDX-License-Identifier: GPL-3.0-or-later
// Sorting a list by a clicked column: the shared state, numeric keys computed once per
// row, and a stable sort of row indices so that rows are moved only once.
#include "history/list_sorting.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <optional>

namespace tessaro {
namespace {

std::optional<std::int64_t> decimalNumber(std::u16string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    if (i == text.size()) return std::nullopt;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < u'0' || c > u'9') return std::nullopt;
        if (value > (std::numeric_limits<std::int64_t>::max() - 9) / 10) return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    return negative ? -value : value;
}

int threeWay(std::int64_t a, std::int64_t b) { return a < b ? -1 : (a > b ? 1 : 0); }

}  // namespace

std::optional<std::int64_t> TimeCaptionNumber(std::u16string_view caption,
                                              std::u16string_view separator) {
    std::u16string digits;
    digits.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size();) {
        if (!separator.empty() && caption.substr(i, separator.size()) == separator) {
            i += separator.size();
            continue;
        }
        digits += caption[i++];
    }
    return decimalNumber(digits);
}

std::int32_t IntegerCellOrZero(std::u16string_view cell) {
    const auto value = decimalNumber(cell);
    if (!value || *value < std::numeric_limits<std::int32_t>::min() ||
        *value > std::numeric_limits<std::int32_t>::max()) {
        return 0;
    }
    return static_cast<std::int32_t>(*value);
}

void SortListByColumn(ListView& list, SortedList which, int column, SortState& state,
                      Desktop& desktop) {
    state.SortDescending = column == state.LastSortColumn ? 1 - state.SortDescending : 0;
    state.SortColumn = column;
    state.LastSortColumn = column;
    if (list.count() < 2 || column < 0) return;

    const auto& items = list.items();
    const auto cellColumn = static_cast<std::size_t>(column);
    const bool numeric = (which == SortedList::History && column == 0) ||
                         (which == SortedList::Details && column == 1);
    std::vector<std::optional<std::int64_t>> keys;
    if (numeric) {
        keys.reserve(items.size());
        const std::u16string separator = desktop.timeSeparator();
        for (const ListItem& item : items) {
            if (which == SortedList::History) {
                keys.push_back(TimeCaptionNumber(item.cell(0), separator));
            } else {
                keys.emplace_back(IntegerCellOrZero(item.cell(1)));
            }
        }
    }
    // compare(a, b) < 0 when row a comes first in ascending order. Times that are not
    // numbers come after those that are, in locale order among themselves, so that the
    // order stays strict and no row is lost.
    const auto compare = [&](std::size_t a, std::size_t b) {
        if (numeric) {
            const auto& x = keys[a];
            const auto& y = keys[b];
            if (x && y) return threeWay(*x, *y);
            if (x || y) return x ? -1 : 1;
        }
        return desktop.compareTextIgnoreCase(items[a].cell(cellColumn), items[b].cell(cellColumn));
    };
    std::vector<std::size_t> order(items.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    if (state.SortDescending) {
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return compare(b, a) < 0; });
    } else {
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return compare(a, b) < 0; });
    }
    list.reorder(order);
}

}  // namespace tessaro

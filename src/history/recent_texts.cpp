// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/recent_texts.h"

#include <algorithm>

#include "history/history_list.h"
#include "platform/decimal_text.h"

namespace tessaro {

std::vector<RecentText> RecentTexts(const ListView& history, const HistoryStore& store, std::size_t count) {
    std::vector<RecentText> texts;
    for (const ListItem& row : history.items()) {
        if (!HistoryList::isTextRow(row)) continue;
        const auto number = DigitsValue(row.cell(3));
        if (!number || *number < 0 || static_cast<std::size_t>(*number) >= store.HistoryTexts.size()) continue;
        texts.push_back({*number, row.caption, store.HistoryTexts[static_cast<std::size_t>(*number)]});
    }
    const std::size_t kept = std::min(count, texts.size());
    std::partial_sort(texts.begin(), texts.begin() + static_cast<std::ptrdiff_t>(kept), texts.end(),
                      [](const RecentText& a, const RecentText& b) { return a.number > b.number; });
    texts.resize(kept);
    return texts;
}

}  // namespace tessaro

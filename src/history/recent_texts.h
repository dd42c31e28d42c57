// SPDX-License-Identifier: GPL-3.0-or-later
// The latest text rows of the history, for scripts: their numbers, times and full texts.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "forms/list_view.h"
#include "forms/shared_text.h"
#include "history/history_store.h"

namespace tessaro {

struct RecentText {
    long long number = 0;  // the row's number, which copying back by number takes
    std::u16string time;
    SharedText text;       // the whole text as stored, not the row's one-line preview
};

// At most `count` text rows of the list, newest first. Newest means the highest number:
// the user may have sorted the list by any column.
std::vector<RecentText> RecentTexts(const ListView& history, const HistoryStore& store, std::size_t count);

}  // namespace tessaro

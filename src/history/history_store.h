// SPDX-License-Identifier: GPL-3.0-or-later
// The text store behind the history list and its two running counters.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "forms/shared_text.h"

namespace tessaro {

struct HistoryStore {
    // Entry i holds the text of the history row whose store index is i.
    std::vector<SharedText> HistoryTexts;
    // Entries ever stored, and so the store index of the next text row.
    std::int32_t TextHistoryCount = 0;
    // Running number of the next image row.
    std::int32_t ImageHistoryCount = 0;
};

}  // namespace tessaro

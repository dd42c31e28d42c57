// SPDX-License-Identifier: GPL-3.0-or-later
// The rows that captures add to the history list: time, kind, content and the store
// index or image number.
#pragma once

#include <string>

#include "forms/list_view.h"
#include "history/history_store.h"

namespace tessaro {

// Stores the clipboard text at the next store index and appends its row.
void appendTextRow(ListView& history, HistoryStore& store, std::u16string time,
                   SharedText shownText, SharedText storedText);

// Appends the row of a captured image ("Bild" in German, else "Image").
void appendImageRow(ListView& history, HistoryStore& store, std::u16string time, bool german,
                    int width, int height);

}  // namespace tessaro

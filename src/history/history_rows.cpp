// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/history_rows.h"

#include <string>

#include "platform/decimal_text.h"

namespace tessaro {

void appendTextRow(ListView& history, HistoryStore& store, std::u16string time,
                   SharedText shownText, SharedText storedText) {
    const auto index = static_cast<std::size_t>(store.TextHistoryCount);
    if (store.HistoryTexts.size() < index + 1) store.HistoryTexts.resize(index + 1);
    store.HistoryTexts[index] = std::move(storedText);
    history.append({std::move(time),
                    {u"Text", std::move(shownText), DecimalText(store.TextHistoryCount)}});
    ++store.TextHistoryCount;
}

void appendImageRow(ListView& history, HistoryStore& store, std::u16string time, bool german,
                    int width, int height) {
    history.append({std::move(time),
                    {german ? u"Bild" : u"Image", DecimalText(width) + u" x " + DecimalText(height),
                     DecimalText(store.ImageHistoryCount)}});
    ++store.ImageHistoryCount;
}

}  // namespace tessaro

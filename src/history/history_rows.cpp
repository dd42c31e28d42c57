// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/history_rows.h"

#include <string>

namespace tessaro {

std::u16string decimal(long long value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

void appendTextRow(ListView& history, HistoryStore& store, std::u16string time,
                   SharedText shownText, SharedText storedText) {
    const auto index = static_cast<std::size_t>(store.TextHistoryCount);
    if (store.HistoryTexts.size() < index + 1) store.HistoryTexts.resize(index + 1);
    store.HistoryTexts[index] = std::move(storedText);
    history.append({std::move(time),
                    {u"Text", std::move(shownText), decimal(store.TextHistoryCount)}});
    ++store.TextHistoryCount;
}

void appendImageRow(ListView& history, HistoryStore& store, std::u16string time, bool german,
                    int width, int height) {
    history.append({std::move(time),
                    {german ? u"Bild" : u"Image", decimal(width) + u" x " + decimal(height),
                     decimal(store.ImageHistoryCount)}});
    ++store.ImageHistoryCount;
}

}  // namespace tessaro

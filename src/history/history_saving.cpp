// SPDX-License-Identifier: GPL-3.0-or-later
// Saving the text history: joining the rows and writing them through the text file writer.
#include "history/history_saving.h"

#include "history/history_list.h"
#include "output/text_file_writer.h"

namespace tessaro {

std::u16string JoinHistoryText(const ListView& history, HistorySaveOptions options, bool german) {
    const std::u16string_view prefix = german ? u"Bild " : u"Image ";
    const auto included = [&](const ListItem& row) {
        return HistoryList::isTextRow(row) ? options.texts : options.imageNames;
    };
    // Sized first: a history of many long texts is joined without regrowing.
    std::size_t size = 0;
    for (const ListItem& row : history.items()) {
        if (!included(row)) continue;
        size += row.cell(2).size() + prefix.size() + 4;
        if (options.times) size += row.cell(0).size() + 2;
    }
    std::u16string text;
    text.reserve(size);
    for (const ListItem& row : history.items()) {
        if (!included(row)) continue;
        if (options.times) {
            text += row.cell(0);
            text += u"\r\n";
        }
        if (HistoryList::isTextRow(row)) {
            text += row.cell(2);
            text += u"\r\n";
        } else {
            text += prefix;
            text += row.cell(2);
            text += u"\r\n\r\n";
        }
    }
    return text;
}

SaveFileRequest HistorySaveDialog() {
    SaveFileRequest request;
    request.fileName = u"Text";
    request.defaultExtension = u"txt";
    request.filter = u"Text (*.txt)|*.txt";
    request.confirmOverwrite = false;
    return request;
}

void SaveTextHistory(const ListView& history, HistorySaveOptions options, bool german,
                     Teinstausgabe& output, Desktop& desktop) {
    const std::u16string text = JoinHistoryText(history, options, german);
    output.ChooseTextEncoding(text);
    if (text.empty()) {
        desktop.showMessage(MessageKind::Information, u"Information",
                            german ? u"Momentan befinden sich keine Textelemente in Ihrem Verlauf."
                                   : u"At the moment, there are no text elements in your history.");
        return;
    }
    const std::optional<std::u16string> fileName = desktop.chooseSaveFile(HistorySaveDialog());
    if (!fileName || fileName->empty()) return;
    WriteTextFile(text, *fileName, output.TextEncoding);
}

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// Saving the text history as one file: the rows joined in list order by the three save
// options, the empty-history message, the save dialog and the text file writer.
#pragma once

#include <string>

#include "forms/buttons.h"
#include "forms/list_view.h"
#include "forms/text_controls.h"
#include "output/output_settings_window.h"
#include "platform/desktop.h"

namespace tessaro {

struct HistorySaveOptions {
    bool texts = true;        // cb_save_txt
    bool imageNames = false;  // cb_save_img
    bool times = false;       // cb_save_time
};

// The rows of the history list, top to bottom, as one text: a text row as its content
// and CR LF, an image row as the prefix ("Bild " in German, else "Image "), its size text
// and two CR LF; with times, each included row's time and CR LF before it.
std::u16string JoinHistoryText(const ListView& history, HistorySaveOptions options, bool german);

// The properties of the dialog that asks where the history goes.
SaveFileRequest HistorySaveDialog();

// The menu command: joins the history; with nothing to save shows the message and stops;
// otherwise asks for a file and writes the text in the chosen text encoding. Errors of
// the file writer pass on to the caller's error report.
void SaveTextHistory(const ListView& history, HistorySaveOptions options, bool german,
                     Teinstausgabe& output, Desktop& desktop);

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// The text-save stage of a capture: checks the three save fields, names the file, chooses
// the encoding and writes the captured text.
#pragma once

#include <string>

#include "forms/text_controls.h"
#include "output/file_naming.h"
#include "output/output_settings_window.h"
#include "platform/desktop.h"

namespace tessaro {

class TextSaveStage {
public:
    TextSaveStage(Edit& savetxt_ordner, ComboBox& savetxt_name, ComboBox& savetxt_format,
                  Teinstausgabe& einstausgabe, Desktop& desktop, const Label& spr,
                  FileCounters& counters)
        : m_ordner(savetxt_ordner),
          m_name(savetxt_name),
          m_format(savetxt_format),
          m_einstausgabe(einstausgabe),
          m_desktop(desktop),
          m_spr(spr),
          m_counters(counters) {}

    // Saves the clipboard text read for this stage. An empty text saves nothing; every
    // empty field is reported and nothing is saved; an invalid or uncreatable folder saves
    // nothing silently. Errors of creating or writing the file propagate as FileError.
    void save(const std::u16string& text);

private:
    Edit& m_ordner;
    ComboBox& m_name;
    ComboBox& m_format;
    Teinstausgabe& m_einstausgabe;
    Desktop& m_desktop;
    const Label& m_spr;
    FileCounters& m_counters;
};

}  // namespace tessaro

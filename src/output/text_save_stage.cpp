// SPDX-License-Identifier: GPL-3.0-or-later
// The text-save stage: the fields are read at the moment of the save, as the controls are
// the settings.
#include "output/text_save_stage.h"

#include "forms/language_code.h"
#include "output/save_checks.h"
#include "output/text_file_writer.h"

namespace tessaro {

void TextSaveStage::save(const std::u16string& text) {
    if (text.empty()) return;
    const SaveFields fields{m_ordner.text(), m_name.text(), m_format.text()};
    if (!CheckSaveFields(SaveKind::Text, fields, m_desktop, IsGerman(m_spr))) return;
    const std::optional<std::u16string> path =
        BuildTargetFileName(SaveKind::Text, fields, text, m_counters, m_desktop);
    if (!path) return;
    m_einstausgabe.ChooseTextEncoding(text);
    WriteTextFile(text, *path, m_einstausgabe.TextEncoding);
}

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// The image-save stage: the fields are read at the moment of the save, as the controls are
// the settings.
#include "output/image_save_stage.h"

#include "forms/language_code.h"
#include "output/save_checks.h"

namespace tessaro {

void ImageSaveStage::save(const Bitmap& image) {
    const SaveFields fields{m_ordner.text(), m_name.text(), m_format.text()};
    if (!CheckSaveFields(SaveKind::Image, fields, m_desktop, IsGerman(m_spr))) return;
    const std::optional<std::u16string> path =
        BuildTargetFileName(SaveKind::Image, fields, u"", m_counters, m_desktop);
    if (!path) return;
    m_writer(*path, ConvertToRgb24(ImageFromBitmap(image)), m_options);
}

}  // namespace tessaro

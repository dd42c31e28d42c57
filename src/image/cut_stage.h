// SPDX-License-Identifier: GPL-3.0-or-later
// The cut stage of a capture: takes margins from the cut-out dialog or from the main
// window and cuts them off the working picture.
#pragma once

#include <memory>

#include "forms/buttons.h"
#include "forms/text_controls.h"
#include "image/cut_out_window.h"
#include "image/image_record.h"
#include "platform/bitmap.h"
#include "platform/desktop.h"

namespace tessaro {

struct CutControls {
    const RadioButton& rb_cutimg_auswahl;
    const RadioButton& rb_cutimg_direkt;
    const ComboBox& act_zuschlinks;
    const ComboBox& act_zuschrechts;
    const ComboBox& act_zuschoben;
    const ComboBox& act_zuschunten;
};

// Cuts left, top, right and bottom off the image (negative margins add black); nothing
// when the margins meet or exceed the width or the height.
void CutMargins(ImageRecord& image, std::int64_t left, std::int64_t top, std::int64_t right,
                std::int64_t bottom);

class CutStage {
public:
    CutStage(CutControls controls, Tcutauswahl& dialog, Desktop& desktop)
        : m_c(controls), m_dialog(dialog), m_desktop(desktop) {}

    // The picture as it goes back on the clipboard: cut when the margins allow, always
    // 24-bit. Throws ImageError when the picture cannot be made (no memory, or the dialog
    // still open for an earlier copy, which is left exactly as the user has it): nothing
    // goes back then.
    std::shared_ptr<const Bitmap> run(const Bitmap& working);

private:
    // Set while the dialog is shown; a copy arriving meanwhile runs nested inside it.
    bool m_dialogOpen = false;
    CutControls m_c;
    Tcutauswahl& m_dialog;
    Desktop& m_desktop;
};

}  // namespace tessaro

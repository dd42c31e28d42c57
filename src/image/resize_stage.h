// SPDX-License-Identifier: GPL-3.0-or-later
// The resize stage of a capture: fits the working picture into the maximum size by the
// rules of the output settings, with the chosen resampling method.
#pragma once

#include <cstdint>
#include <memory>

#include "forms/buttons.h"
#include "forms/text_controls.h"
#include "platform/bitmap.h"

namespace tessaro {

struct ResizeControls {
    // Main window.
    const ComboBox& act_sizebenutzer_x;
    const ComboBox& act_sizebenutzer_y;
    const CheckBox& act_resizeimg_prop;
    // Output settings.
    const CheckBox& act_sizehochquerformat;
    const CheckBox& act_sizekleiner;
    const CheckBox& act_sizebigger;
    const ComboBox& act_sizemethode;
};

class ResizeStage {
public:
    explicit ResizeStage(ResizeControls controls) : m_c(controls) {}

    // The resampling method: 0 nearest neighbour, 1 bilinear, 2 bicubic.
    std::int32_t ResizeFilter = 0;

    // Takes the method from its list; a text naming none keeps the previous one.
    void KonvertierWerteSetzen();

    // The picture as it goes back on the clipboard: resized when the rules say so, always
    // 24-bit. Throws when it cannot be resized (a side of 0, no memory): nothing goes back.
    std::shared_ptr<const Bitmap> run(const Bitmap& working);

private:
    ResizeControls m_c;
};

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// The captions of the windows in both interface languages, and the routine that puts
// them on the controls by component name.
#pragma once

#include <span>
#include <string_view>

#include "forms/form.h"

namespace tessaro {

struct CaptionText {
    std::string_view control;
    std::u16string_view german;
    std::u16string_view english;
};

// Sets the caption of each named control (check box, radio button, button, label, panel,
// menu item; the placeholder of an edit field) to its text in the chosen language; names
// the form lacks are skipped.
void applyCaptions(Form& form, std::span<const CaptionText> captions, bool german);

std::span<const CaptionText> mainWindowCaptions();

}  // namespace tessaro

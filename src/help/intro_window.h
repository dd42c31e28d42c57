// SPDX-License-Identifier: GPL-3.0-or-later
// An introduction window: the introduction page of one language, read-only, and a button
// that closes it. There is one window per language; the help windows show the one of the
// current interface language.
#pragma once

#include "forms/buttons.h"
#include "forms/text_controls.h"
#include "language/language_window.h"

namespace tessaro {

class Tintro final : public LanguageWindow {
public:
    static constexpr int kDesignWidth = 640;
    static constexpr int kDesignHeight = 560;

    // `german` chooses the window's language for good: "Tintro_de" or "Tintro_en".
    Tintro(const Label& spr, bool german);

    // The introduction as rich text (HTML).
    Memo& txt_intro;
    // Closes the window; the owner binds its click to hiding it.
    Button& bt_close;
};

}  // namespace tessaro

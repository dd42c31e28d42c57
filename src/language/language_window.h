// SPDX-License-Identifier: GPL-3.0-or-later
// A window whose title follows the interface language: the common ground of the settings
// dialogs and the help windows.
#pragma once

#include <string>

#include "forms/form.h"
#include "forms/language_code.h"
#include "forms/text_controls.h"

namespace tessaro {

class LanguageWindow : public Form {
public:
    LanguageWindow(std::string name, const Label& spr, std::u16string germanTitle,
                   std::u16string englishTitle)
        : Form(std::move(name)),
          m_spr(spr),
          m_germanTitle(std::move(germanTitle)),
          m_englishTitle(std::move(englishTitle)) {}

    // Applies the current interface language.
    virtual void Sprache() { setCaption(german() ? m_germanTitle : m_englishTitle); }

protected:
    bool german() const { return IsGerman(m_spr); }

private:
    const Label& m_spr;
    std::u16string m_germanTitle;
    std::u16string m_englishTitle;
};

}  // namespace tessaro

// The cut-out dialog: the user drags the part of a new image to keep.
#pragma once

#include "ui/language_window.h"

namespace tessaro {

class Tcutauswahl final : public LanguageWindow {
public:
    explicit Tcutauswahl(const Label& spr)
        : LanguageWindow("Tcutauswahl", spr, u"Wählen Sie einen Auschnitt des Bildes mit Ihrer Maus",
                         u"Choose the Cutout with your Mouse") {}
};

}  // namespace tessaro

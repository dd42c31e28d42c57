// The history settings: which kinds enter the history, and what saving it writes.
#pragma once

#include "ui/language_window.h"

namespace tessaro {

class Teinstverlauf final : public LanguageWindow {
public:
    explicit Teinstverlauf(const Label& spr)
        : LanguageWindow("Teinstverlauf", spr, u"Einstellungen für den Verlauf", u"History Settings") {}
};

}  // namespace tessaro

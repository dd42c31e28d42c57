// The regular-expression settings: the engine's start options and character classes.
#pragma once

#include "ui/language_window.h"

namespace tessaro {

class Teinstregex final : public LanguageWindow {
public:
    explicit Teinstregex(const Label& spr)
        : LanguageWindow("Teinstregex", spr, u"Einstellungen für Reguläre Ausdrücke",
                         u"Regular Expression Settings") {}
};

}  // namespace tessaro

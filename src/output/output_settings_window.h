// The output settings: image output options, text-file encodings, image resizing.
#pragma once

#include "ui/language_window.h"

namespace tessaro {

class Teinstausgabe final : public LanguageWindow {
public:
    explicit Teinstausgabe(const Label& spr)
        : LanguageWindow("Teinstausgabe", spr, u"Einstellungen", u"Settings") {}
};

}  // namespace tessaro

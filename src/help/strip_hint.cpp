// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/strip_hint.h"

#include "help/program_version.h"

namespace tessaro {

std::u16string StripHint(bool german) {
    return ProgramNameAndVersion() + (german ? u" – Klicken Sie hier für eine Einführung"
                                             : u" – click here for an introduction");
}

}  // namespace tessaro

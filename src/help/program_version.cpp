// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/program_version.h"

#include "platform/utf.h"

#ifndef TESSARO_VERSION
#error "TESSARO_VERSION is set by src/CMakeLists.txt from the project version"
#endif

namespace tessaro {

std::u16string_view ProgramVersion() {
    static const std::u16string version = utf8ToUtf16(TESSARO_VERSION);
    return version;
}

std::u16string ProgramNameAndVersion() { return u"Tessaro " + std::u16string(ProgramVersion()); }

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// The program's version as the build sets it (the CMake project version), so that the
// bug report and the bottom strip can never name a version other than the one built.
#pragma once

#include <string>
#include <string_view>

namespace tessaro {

// The version number, e.g. "0.1".
std::u16string_view ProgramVersion();
// The program's name and version, e.g. "Tessaro 0.1".
std::u16string ProgramNameAndVersion();

}  // namespace tessaro

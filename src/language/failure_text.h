// SPDX-License-Identifier: GPL-3.0-or-later
// A failure of the file layer as the user reads it.
#pragma once

#include <exception>
#include <string>
#include <string_view>

namespace tessaro {

// The layer's own words, which name the path and the system's reason; in German a lead
// line of the interface's own comes first.
std::u16string FileFailureText(std::u16string_view germanLead, const std::exception& error, bool german);

}  // namespace tessaro

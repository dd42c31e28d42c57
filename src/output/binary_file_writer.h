// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a finished file image to disk: created or replaced, and never left half-written
// when the system refuses a write.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace tessaro {

// Writes `bytes` to the file; FileError (as the text writer reports) when the file cannot
// be created or written. An existing file is replaced only by a completely written one.
void WriteBinaryFile(std::u16string_view fileName, const std::vector<std::uint8_t>& bytes);

}  // namespace tessaro

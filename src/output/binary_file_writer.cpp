// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/binary_file_writer.h"

#include "platform/atomic_file.h"
#include "platform/utf.h"

namespace tessaro {

void WriteBinaryFile(std::u16string_view fileName, const std::vector<std::uint8_t>& bytes) {
    WriteFileAtomically(utf16ToUtf8(fileName),
                        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace tessaro

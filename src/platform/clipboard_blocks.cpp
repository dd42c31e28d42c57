// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstring>

#include "platform/clipboard_backend.h"

namespace tessaro {

MemoryBlock utf16Block(std::u16string_view text) {
    MemoryBlock block((text.size() + 1) * 2, 0);
    if (!text.empty()) std::memcpy(block.data(), text.data(), text.size() * 2);
    return block;
}

MemoryBlock ansiBlock(std::string_view bytes) {
    MemoryBlock block(bytes.size() + 1, 0);
    if (!bytes.empty()) std::memcpy(block.data(), bytes.data(), bytes.size());
    return block;
}

}  // namespace tessaro

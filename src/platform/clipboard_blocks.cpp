// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstring>

#include "platform/clipboard_backend.h"
#include "platform/utf.h"
#include "platform/windows_1252.h"

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

std::u16string utf16OfBlock(const MemoryBlock& block) {
    std::size_t units = block.size() / 2;
    // Blocks come from operator new, which aligns them for any character type.
    const auto* data = reinterpret_cast<const char16_t*>(block.data());
    while (units > 0 && data[units - 1] == 0) --units;
    return std::u16string(data, units);
}

std::u16string textOfBytes(std::string_view bytes, TargetText convention) {
    if (convention == TargetText::None) return ansiToUtf16(bytes);
    while (!bytes.empty() && bytes.back() == '\0') bytes.remove_suffix(1);
    switch (convention) {
        case TargetText::Utf8: return utf8ToUtf16(bytes);
        case TargetText::Latin1: return std::u16string(bytes.begin(), bytes.end());
        case TargetText::Utf16: {
            const auto byte = [&bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
            bool bigEndian = false;
            if (bytes.size() >= 2 && byte(0) == 0xFE && byte(1) == 0xFF) {
                bigEndian = true;
                bytes.remove_prefix(2);
            } else if (bytes.size() >= 2 && byte(0) == 0xFF && byte(1) == 0xFE) {
                bytes.remove_prefix(2);
            }
            std::u16string text(bytes.size() / 2, u'\0');
            for (std::size_t i = 0; i < text.size(); ++i) {
                const unsigned hi = byte(2 * i + (bigEndian ? 0 : 1));
                const unsigned lo = byte(2 * i + (bigEndian ? 1 : 0));
                text[i] = static_cast<char16_t>((hi << 8) | lo);
            }
            return text;
        }
        case TargetText::None: break;
    }
    return ansiToUtf16(bytes);
}

}  // namespace tessaro

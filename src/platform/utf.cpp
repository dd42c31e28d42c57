// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/utf.h"

#include <cstdint>
#include <cstring>

namespace tessaro {

std::size_t utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    return (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
}

std::u16string utf8ToUtf16(std::string_view text) {
    std::u16string out;
    appendUtf8(out, text);
    return out;
}

void appendUtf8(std::u16string& out, std::string_view text) {
    // UTF-8 never takes fewer bytes than UTF-16 takes units, so the output fits in as many
    // units as the input has bytes, written in place: large copied texts are mostly ASCII.
    std::size_t o = out.size();
    out.resize(o + text.size());
    std::size_t i = 0;
    const auto* in = reinterpret_cast<const unsigned char*>(text.data());
    while (i < text.size()) {
        // Runs of ASCII eight bytes at a time.
        std::uint64_t word = ~std::uint64_t{0};
        if (i + 8 <= text.size()) std::memcpy(&word, in + i, 8);
        if ((word & 0x8080808080808080ULL) == 0) {
            for (std::size_t k = 0; k < 8; ++k) out[o + k] = in[i + k];
            o += 8;
            i += 8;
            continue;
        }
        const unsigned char lead = in[i];
        if (lead < 0x80) {
            out[o++] = lead;
            ++i;
            continue;
        }
        const int length = static_cast<int>(utf8SequenceLength(lead));
        char32_t cp = length == 2 ? (lead & 0x1F) : length == 3 ? (lead & 0x0F) : (lead & 0x07);
        bool valid = length > 0 && i + static_cast<std::size_t>(length) <= text.size();
        for (int k = 1; valid && k < length; ++k) {
            const unsigned char next = in[i + static_cast<std::size_t>(k)];
            valid = (next & 0xC0) == 0x80;
            cp = (cp << 6) | (next & 0x3F);
        }
        const char32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid && (cp < minimum[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) {
            valid = false;
        }
        if (!valid) {
            out[o++] = u'\uFFFD';
            ++i;
            continue;
        }
        if (cp < 0x10000) {
            out[o++] = static_cast<char16_t>(cp);
        } else {
            cp -= 0x10000;
            out[o++] = static_cast<char16_t>(0xD800 + (cp >> 10));
            out[o++] = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        }
        i += static_cast<std::size_t>(length);
    }
    out.resize(o);
}

std::string utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        std::size_t extra = 0;
        std::uint32_t min = 0;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (c >= 0xC2 && c <= 0xDF) extra = 1, min = 0x80;
        else if (c >= 0xE0 && c <= 0xEF) extra = 2, min = 0x800;
        else if (c >= 0xF0 && c <= 0xF4) extra = 3, min = 0x10000;
        else return false;
        if (i + extra >= bytes.size()) return false;
        std::uint32_t code = c & (0x3F >> extra);
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

}  // namespace tessaro

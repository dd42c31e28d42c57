// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/windows_1252.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace tessaro {
namespace {

// Code points of the bytes 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The code point of every byte.
constexpr std::array<char16_t, 256> kTable = [] {
    std::array<char16_t, 256> table{};
    for (std::size_t b = 0; b < 256; ++b) {
        table[b] = (b >= 0x80 && b < 0xA0) ? kHighControls[b - 0x80] : static_cast<char16_t>(b);
    }
    return table;
}();

// Whether none of four UTF-16 units, packed in a word, is above U+007F.
constexpr std::uint64_t kNonAsciiUnits = 0xFF80FF80FF80FF80ULL;

char toAnsiChar(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c) return static_cast<char>(0x80 + i);
    }
    return '?';
}

}  // namespace

std::u16string ansiToUtf16(std::string_view bytes) {
    std::u16string out(bytes.size(), u'\0');
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    // Runs of ASCII are widened eight bytes at a time; clipboard text is mostly ASCII.
    while (i + 8 <= n) {
        std::uint64_t word;
        std::memcpy(&word, in + i, 8);
        if (word & 0x8080808080808080ULL) {
            for (std::size_t end = i + 8; i < end; ++i) out[i] = kTable[in[i]];
        } else {
            for (std::size_t k = 0; k < 8; ++k) out[i + k] = in[i + k];
            i += 8;
        }
    }
    for (; i < n; ++i) out[i] = kTable[in[i]];
    return out;
}

std::string utf16ToAnsi(std::u16string_view text) {
    // Written in place: never more bytes than units, and ASCII needs no table.
    std::string out(text.size(), '\0');
    std::size_t o = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        // Runs of ASCII four units at a time.
        std::uint64_t word = kNonAsciiUnits;
        if (i + 4 <= text.size()) std::memcpy(&word, text.data() + i, 8);
        if ((word & kNonAsciiUnits) == 0) {
            for (std::size_t k = 0; k < 4; ++k) out[o + k] = static_cast<char>(text[i + k]);
            o += 4;
            i += 4;
            continue;
        }
        const char16_t c = text[i];
        const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() &&
                          text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        out[o++] = pair ? '?' : toAnsiChar(c);
        i += pair ? 2 : 1;
    }
    out.resize(o);
    return out;
}

bool survivesAnsi(std::u16string_view text) {
    std::size_t i = 0;
    for (; i + 4 <= text.size(); i += 4) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        if ((word & kNonAsciiUnits) == 0) continue;
        for (std::size_t k = 0; k < 4; ++k) {
            if (toAnsiChar(text[i + k]) == '?' && text[i + k] != u'?') return false;
        }
    }
    for (; i < text.size(); ++i) {
        if (toAnsiChar(text[i]) == '?' && text[i] != u'?') return false;
    }
    return true;
}

}  // namespace tessaro

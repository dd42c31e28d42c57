// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the %firstchars% name part, against a model of the cleaning rules written
// here, and against the file system's view of the name: written as UTF-8 and decoded by
// a decoder of this file, a name made from a text without lone surrogates comes back
// unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "output/file_naming.h"
#include "platform/utf.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

bool high(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool low(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

bool hasLoneSurrogate(const std::u16string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (high(text[i])) {
            if (i + 1 < text.size() && low(text[i + 1])) {
                ++i;
                continue;
            }
            return true;
        }
        if (low(text[i])) return true;
    }
    return false;
}

std::u16string trim(const std::u16string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && text[first] <= 0x20) ++first;
    while (last > first && text[last - 1] <= 0x20) --last;
    return text.substr(first, last - first);
}

// One pass of "replace every run of n spaces by one", left to right, without rescanning.
std::u16string shrinkSpaces(const std::u16string& text, std::size_t n) {
    std::u16string out;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t run = 0;
        while (i + run < text.size() && text[i + run] == u' ') ++run;
        if (run == 0) {
            out.push_back(text[i++]);
            continue;
        }
        out.append(run / n + run % n, u' ');
        i += run;
    }
    return out;
}

std::u16string model(const std::u16string& text) {
    std::u16string s = trim(text);
    if (s.size() > 40) {
        s.resize(40);
        if (high(s.back())) s.pop_back();
    }
    for (char16_t& c : s) {
        switch (c) {
            case u'?':
            case u'|':
            case u'<':
            case u'>':
            case u'/':
            case u':':
            case u'"':
            case u'*':
            case u'\\':
            case u'\r':
            case u'\n':
            case u'\t':
            case u'\0':
                c = u' ';
                break;
            default:
                break;
        }
    }
    s = shrinkSpaces(shrinkSpaces(s, 3), 3);
    s = shrinkSpaces(shrinkSpaces(s, 2), 2);
    return trim(s);
}

// Strict UTF-8 to UTF-16; an invalid sequence gives U+FFFD.
std::u16string decodeUtf8(const std::string& bytes) {
    std::u16string out;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        std::uint32_t cp = 0xFFFD;
        std::size_t length = 1;
        if (b < 0x80) {
            cp = b;
        } else if (b >= 0xC2 && b <= 0xF4) {
            length = b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
            if (i + length <= bytes.size()) {
                cp = b & (0xFF >> (length + 1));
                for (std::size_t k = 1; k < length; ++k) {
                    const auto next = static_cast<unsigned char>(bytes[i + k]);
                    if ((next & 0xC0) != 0x80) cp = 0x110000;
                    cp = (cp << 6) | (next & 0x3F);
                }
                const std::uint32_t minimum = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
                if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
            } else {
                length = 1;
            }
        }
        if (cp >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += length;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        // The second byte chooses between the interesting ASCII range (spaces, controls,
        // forbidden characters) and any code unit.
        const std::uint8_t a = data[i];
        const std::uint8_t b = data[i + 1];
        text.push_back(b < 0xC0 ? static_cast<char16_t>(a & 0x7F)
                                : static_cast<char16_t>((b << 8) | a));
    }
    const std::u16string name = tessaro::FirstCharsName(text);
    check(name == model(text));
    check(name.size() <= 40);
    check(name.find_first_of(u"?|<>/:\"*\\\r\n\t") == std::u16string::npos);
    check(name.find(u'\0') == std::u16string::npos);
    check(name.empty() || (name.front() > 0x20 && name.back() > 0x20));
    if (!hasLoneSurrogate(text)) {
        check(!hasLoneSurrogate(name));
        check(decodeUtf8(tessaro::utf16ToUtf8(name)) == name);
    }
    return 0;
}

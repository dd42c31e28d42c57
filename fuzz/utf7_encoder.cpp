// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the UTF-7 encoder, with and without signature, judged by a decoder written
// here from RFC 2152 alone. Every text must decode back unchanged, and the stream must obey
// the writing rules: only ASCII, only direct characters outside runs, zero padding, and a
// "-" after a run only where a decoder needs it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "output/text_encoder.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

// The characters RFC 2152 lets a writer put directly: set D, set O, space, TAB, CR, LF.
bool directChar(char16_t c) {
    static const std::u16string kDirect =
        u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789'(),-./:? \t\r\n"
        u"!\"#$%&*;<=>@[]^_`{|}";
    return kDirect.find(c) != std::u16string::npos;
}

int base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

// Decodes a UTF-7 stream into UTF-16 code units, checking the writing rules on the way.
std::u16string decode(const std::string& in) {
    std::u16string out;
    std::size_t i = 0;
    while (i < in.size()) {
        const char c = in[i];
        check(static_cast<unsigned char>(c) < 0x80);
        if (c != '+') {
            check(directChar(static_cast<char16_t>(c)));
            out.push_back(static_cast<char16_t>(c));
            ++i;
            continue;
        }
        ++i;
        if (i < in.size() && in[i] == '-') {  // "+-" is a plus sign
            out.push_back(u'+');
            ++i;
            continue;
        }
        std::uint32_t bits = 0;
        int count = 0;
        std::size_t units = 0;
        while (i < in.size() && base64Value(in[i]) >= 0) {
            bits = (bits << 6) | static_cast<std::uint32_t>(base64Value(in[i]));
            count += 6;
            ++i;
            if (count >= 16) {
                count -= 16;
                const auto unit = static_cast<char16_t>((bits >> count) & 0xFFFF);
                // A run holds only what may not be written directly, and never opens
                // with a plus sign, which has its own "+-" form outside a run.
                check(!directChar(unit));
                check(units > 0 || unit != u'+');
                out.push_back(unit);
                ++units;
                bits &= (1u << count) - 1;
            }
        }
        check(units > 0);
        check(count < 6 && bits == 0);  // only zero padding is left over
        if (i < in.size() && in[i] == '-') {
            ++i;
            // The "-" is written only when the next character would otherwise be read
            // as part of the run, or is a "-" itself.
            check(i < in.size() && (base64Value(in[i]) >= 0 || in[i] == '-'));
        } else if (i < in.size()) {
            check(base64Value(in[i]) < 0);
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        // Mostly ASCII with the second byte as a switch, so that direct characters, runs
        // and their borders all come up often.
        const std::uint8_t low = data[i];
        const std::uint8_t high = data[i + 1];
        text.push_back(high < 0x80 ? static_cast<char16_t>(low & 0x7F)
                                   : static_cast<char16_t>((high << 8) | low));
    }
    const std::string plain =
        tessaro::EncodeText(text, tessaro::TextEncodeOptions{tessaro::kEncodingUtf7NoSignature});
    check(decode(plain) == text);
    const std::string signed_ =
        tessaro::EncodeText(text, tessaro::TextEncodeOptions{tessaro::kEncodingUtf7});
    // The mark's last six bits share a group with the text when the text starts in a
    // run; only "+/v" is fixed then.
    check(signed_.rfind(text.empty() || text[0] < 0x80 ? "+/v8" : "+/v", 0) == 0);
    check(decode(signed_) == u"\uFEFF" + text);
    return 0;
}

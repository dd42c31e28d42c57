// SPDX-License-Identifier: GPL-3.0-or-later
// The eight text-file encoders. Each walks the UTF-16 text once and collects its bytes in a
// fixed buffer that is handed to the sink when full, so no whole-file copy is ever made.
#include "output/text_encoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>

#include "platform/windows_1252.h"

namespace tessaro {
namespace {

constexpr bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Collects output bytes and passes them to the sink in pieces of up to kMaxSize bytes.
// The hot loops below take __restrict pointers: without them every byte stored through a
// char pointer could alias the text, which keeps the compiler from vectorising.
// Encoders work in blocks: block(perUnit) says how many code units fit when each writes at
// most perUnit bytes, and the block is then written through a plain pointer. A surrogate
// pair at the end of a block may reach one unit past it; kSlack bytes cover that.
class OutBuffer {
public:
    static constexpr std::size_t kMaxSize = 256 * 1024;
    static constexpr std::size_t kMinSize = 64;
    static constexpr std::size_t kSlack = 16;

    // `expected` is a guess of the output size; short texts get a small buffer.
    OutBuffer(ByteSink& sink, std::size_t expected)
        : m_sink(sink),
          m_size(std::clamp(expected, kMinSize, kMaxSize)),
          m_data(std::make_unique_for_overwrite<char[]>(m_size + kSlack)) {}

    // The number of units (at most `wanted`) that may be written now; flushes first when
    // not even one fits.
    std::size_t block(std::size_t wanted, std::size_t perUnit) {
        if (m_used + perUnit > m_size) flush();
        return std::min(wanted, (m_size - m_used) / perUnit);
    }
    char* cursor() { return m_data.get() + m_used; }
    void advanceTo(char* end) { m_used = static_cast<std::size_t>(end - m_data.get()); }
    void put(std::string_view bytes) {
        while (!bytes.empty()) {
            const std::size_t n = block(bytes.size(), 1);
            std::copy_n(bytes.data(), n, cursor());
            m_used += n;
            bytes.remove_prefix(n);
        }
    }
    void flush() {
        if (m_used == 0) return;
        const std::size_t used = m_used;
        m_used = 0;
        m_sink.write(m_data.get(), used);
    }

private:
    ByteSink& m_sink;
    std::size_t m_size;
    std::unique_ptr<char[]> m_data;
    std::size_t m_used = 0;
};

inline char byteOf(unsigned value) { return static_cast<char>(value & 0xFF); }

// The Windows-1252 byte of every UTF-16 code unit, "?" where the code page has none; made
// once from the code page's own table so the two can never disagree.
const std::array<char, 0x10000>& ansiTable() {
    static const std::array<char, 0x10000> table = [] {
        std::array<char, 0x10000> t;
        t.fill('?');
        for (unsigned byte = 0; byte < 256; ++byte) {
            const char one = static_cast<char>(byte);
            const std::u16string unit = ansiToUtf16(std::string_view(&one, 1));
            if (utf16ToAnsi(unit) == std::string_view(&one, 1)) t[unit[0]] = one;
        }
        return t;
    }();
    return table;
}

void encodeAnsi(std::u16string_view text, OutBuffer& out) {
    const std::array<char, 0x10000>& table = ansiTable();
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const std::size_t end = i + out.block(n - i, 1);
        char* p = out.cursor();
        while (i < end) {
            const char16_t c = text[i++];
            // A surrogate pair is one character and gives one "?".
            if (isHighSurrogate(c) && i < n && isLowSurrogate(text[i])) ++i;
            *p++ = table[c];
        }
        out.advanceTo(p);
    }
}

// Encodes the units src[0 .. count); a surrogate pair that starts at count - 1 also takes
// src[count] when `available` allows. Returns the end of the output; `consumed` gets the
// number of units taken.
char* encodeUtf8Block(const char16_t* __restrict src, std::size_t count, std::size_t available,
                      char* __restrict p, std::size_t& consumed) {
    std::size_t k = 0;
    while (k < count) {
        const unsigned c = src[k++];
        if (c < 0x80) {
            *p++ = static_cast<char>(c);
        } else if (c < 0x800) {
            *p++ = byteOf(0xC0 | (c >> 6));
            *p++ = byteOf(0x80 | (c & 0x3F));
        } else if (c < 0xD800 || c > 0xDFFF) {
            *p++ = byteOf(0xE0 | (c >> 12));
            *p++ = byteOf(0x80 | ((c >> 6) & 0x3F));
            *p++ = byteOf(0x80 | (c & 0x3F));
        } else if (c <= 0xDBFF && k < available && isLowSurrogate(src[k])) {
            const unsigned cp = 0x10000 + ((c - 0xD800) << 10) + (src[k++] - 0xDC00u);
            *p++ = byteOf(0xF0 | (cp >> 18));
            *p++ = byteOf(0x80 | ((cp >> 12) & 0x3F));
            *p++ = byteOf(0x80 | ((cp >> 6) & 0x3F));
            *p++ = byteOf(0x80 | (cp & 0x3F));
        } else {
            // An unpaired surrogate has no UTF-8 form; it becomes U+FFFD, as in every
            // other UTF-16 to UTF-8 conversion of the program.
            *p++ = byteOf(0xEF);
            *p++ = byteOf(0xBF);
            *p++ = byteOf(0xBD);
        }
    }
    consumed = k;
    return p;
}

void encodeUtf8(std::u16string_view text, OutBuffer& out) {
    out.put(std::string_view("\xEF\xBB\xBF"));
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const std::size_t count = out.block(n - i, 3);
        std::size_t consumed = 0;
        out.advanceTo(encodeUtf8Block(text.data() + i, count, n - i, out.cursor(), consumed));
        i += consumed;
    }
}

char* copyUtf16(const char16_t* __restrict src, std::size_t count, char* __restrict dst,
                bool bigEndian) {
    if (bigEndian) {
        for (std::size_t k = 0; k < count; ++k) {
            dst[2 * k] = byteOf(src[k] >> 8);
            dst[2 * k + 1] = byteOf(src[k]);
        }
    } else {
        for (std::size_t k = 0; k < count; ++k) {
            dst[2 * k] = byteOf(src[k]);
            dst[2 * k + 1] = byteOf(src[k] >> 8);
        }
    }
    return dst + 2 * count;
}

void encodeUtf16(std::u16string_view text, bool bigEndian, OutBuffer& out) {
    out.put(bigEndian ? std::string_view("\xFE\xFF") : std::string_view("\xFF\xFE"));
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const std::size_t count = out.block(n - i, 2);
        out.advanceTo(copyUtf16(text.data() + i, count, out.cursor(), bigEndian));
        i += count;
    }
}

// Units without surrogates: every unit is its own code point.
char* widenUtf32(const char16_t* __restrict src, std::size_t count, char* __restrict dst,
                 bool bigEndian) {
    if (bigEndian) {
        for (std::size_t k = 0; k < count; ++k) {
            dst[4 * k] = 0;
            dst[4 * k + 1] = 0;
            dst[4 * k + 2] = byteOf(src[k] >> 8);
            dst[4 * k + 3] = byteOf(src[k]);
        }
    } else {
        for (std::size_t k = 0; k < count; ++k) {
            dst[4 * k] = byteOf(src[k]);
            dst[4 * k + 1] = byteOf(src[k] >> 8);
            dst[4 * k + 2] = 0;
            dst[4 * k + 3] = 0;
        }
    }
    return dst + 4 * count;
}

void encodeUtf32(std::u16string_view text, bool bigEndian, OutBuffer& out) {
    out.put(bigEndian ? std::string_view("\0\0\xFE\xFF", 4) : std::string_view("\xFF\xFE\0\0", 4));
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const std::size_t end = i + out.block(n - i, 4);
        char* p = out.cursor();
        while (i < end) {
            // The stretch up to the next surrogate takes the straight path.
            std::size_t plain = i;
            while (plain < end && (text[plain] & 0xF800) != 0xD800) ++plain;
            p = widenUtf32(text.data() + i, plain - i, p, bigEndian);
            i = plain;
            if (i == end) break;
            const char16_t c = text[i++];
            if (isLowSurrogate(c)) continue;  // the second half of a pair, or a lone one
            unsigned cp = u'?';               // a high surrogate without its low half
            if (i < n && isLowSurrogate(text[i])) {
                cp = 0x10000 + ((c - 0xD800u) << 10) + (text[i++] - 0xDC00u);
            }
            p[0] = byteOf(bigEndian ? cp >> 24 : cp);
            p[1] = byteOf(bigEndian ? cp >> 16 : cp >> 8);
            p[2] = byteOf(bigEndian ? cp >> 8 : cp >> 16);
            p[3] = byteOf(bigEndian ? cp : cp >> 24);
            p += 4;
        }
        out.advanceTo(p);
    }
}

// The ASCII characters UTF-7 writes as themselves; everything else goes into base64 runs,
// and "+" outside a run becomes "+-".

constexpr std::array<bool, 128> makeUtf7Direct() {
    std::array<bool, 128> direct{};
    auto range = [&](unsigned from, unsigned to) {
        for (unsigned c = from; c <= to; ++c) direct[c] = true;
    };
    // The directly encoded characters.
    range('A', 'Z');
    range('a', 'z');
    range('0', '9');
    range(0x27, 0x29);
    range(0x2C, 0x2F);
    range(0x3A, 0x3A);
    range(0x3F, 0x3F);
    range(' ', ' ');
    range('\t', '\t');
    range('\r', '\r');
    range('\n', '\n');
    // The optional direct characters, also written as themselves.
    range(0x21, 0x26);
    range(0x2A, 0x2A);
    range(0x3B, 0x3E);
    range(0x40, 0x40);
    range(0x5B, 0x5B);
    range(0x5D, 0x60);
    range(0x7B, 0x7D);
    return direct;
}

constexpr std::array<bool, 128> kUtf7Direct = makeUtf7Direct();
constexpr char kBase64Alphabet[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// A direct character right after a run needs the "-" terminator when a decoder would
// otherwise read it as part of the run.
constexpr bool needsTerminator(char16_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
           c == '/' || c == '-';
}

// The state of a UTF-7 stream between blocks: whether a run is open and its bits not yet
// written.
struct Utf7State {
    bool inRun = false;
    std::uint32_t bits = 0;
    unsigned bitCount = 0;
};

// One code unit writes at most 4 bytes: "+" and three base64 letters, or the last letter
// of a run, "-" and a direct character.
constexpr std::size_t kUtf7PerUnit = 4;

constexpr bool isDirect(char16_t c) { return c < 128 && kUtf7Direct[c]; }

// Encodes `count` units; the state lives in locals while the block runs. The text is taken
// as alternating stretches: direct characters copied as they are, and base64 runs, whose
// units are cut into letters three at a time (48 bits, eight letters, nothing left over)
// where they can be.
char* encodeUtf7Block(const char16_t* __restrict src, std::size_t count, char* __restrict p,
                      Utf7State& state) {
    bool inRun = state.inRun;
    std::uint32_t bits = state.bits;
    unsigned bitCount = state.bitCount;
    std::size_t k = 0;
    while (k < count) {
        if (!inRun) {
            while (k < count && isDirect(src[k])) *p++ = static_cast<char>(src[k++]);
            if (k == count) break;
            if (src[k] == u'+') {  // a plus sign outside a run
                *p++ = '+';
                *p++ = '-';
                ++k;
                continue;
            }
            *p++ = '+';
            inRun = true;
        }
        while (k < count && !isDirect(src[k])) {
            if (bitCount == 0 && k + 3 <= count && !isDirect(src[k + 1]) && !isDirect(src[k + 2])) {
                const std::uint64_t group =
                    (std::uint64_t{src[k]} << 32) | (std::uint64_t{src[k + 1]} << 16) | src[k + 2];
                // The letters are gathered in a register and stored at once; eight byte
                // stores followed by one wide load would stall store forwarding.
                auto letter = [group](int j) -> std::uint64_t {
                    return static_cast<unsigned char>(
                        kBase64Alphabet[(group >> (42 - 6 * j)) & 0x3F]);
                };
                const std::uint64_t letters = letter(0) | letter(1) << 8 | letter(2) << 16 |
                                              letter(3) << 24 | letter(4) << 32 | letter(5) << 40 |
                                              letter(6) << 48 | letter(7) << 56;
                if constexpr (std::endian::native == std::endian::little) {
                    std::memcpy(p, &letters, 8);
                } else {
                    for (int j = 0; j < 8; ++j) p[j] = static_cast<char>(letters >> (8 * j));
                }
                p += 8;
                k += 3;
                continue;
            }
            bits = (bits << 16) | src[k++];
            bitCount += 16;
            while (bitCount >= 6) {
                bitCount -= 6;
                *p++ = kBase64Alphabet[(bits >> bitCount) & 0x3F];
            }
            bits &= (1u << bitCount) - 1;
        }
        if (k == count) break;
        // A direct character ends the run: the last bits padded with zeros, then "-" only
        // where the character would otherwise be read as part of the run.
        if (bitCount > 0) *p++ = kBase64Alphabet[(bits << (6 - bitCount)) & 0x3F];
        bits = 0;
        bitCount = 0;
        inRun = false;
        if (needsTerminator(src[k])) *p++ = '-';
    }
    state = {inRun, bits, bitCount};
    return p;
}

void encodeUtf7(std::u16string_view text, bool signature, OutBuffer& out) {
    Utf7State state;
    // The signature is U+FEFF encoded in the same stream as the text, so a text that
    // starts with a base64 character continues the signature's run.
    if (signature) {
        const char16_t mark = 0xFEFF;
        out.block(1, kUtf7PerUnit);
        out.advanceTo(encodeUtf7Block(&mark, 1, out.cursor(), state));
    }
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const std::size_t count = out.block(n - i, kUtf7PerUnit);
        out.advanceTo(encodeUtf7Block(text.data() + i, count, out.cursor(), state));
        i += count;
    }
    // A run open at the end is closed without "-".
    if (state.inRun && state.bitCount > 0) {
        out.block(1, 1);
        char* p = out.cursor();
        *p++ = kBase64Alphabet[(state.bits << (6 - state.bitCount)) & 0x3F];
        out.advanceTo(p);
    }
}

}  // namespace

bool IsKnownTextEncoding(std::int32_t encoding) {
    switch (encoding) {
        case kEncodingAnsi:
        case kEncodingUtf7NoSignature:
        case kEncodingUtf7:
        case kEncodingUtf8:
        case kEncodingUtf16Le:
        case kEncodingUtf16Be:
        case kEncodingUtf32Le:
        case kEncodingUtf32Be:
            return true;
        default:
            return false;
    }
}

void EncodeText_core(std::u16string_view text, const TextEncodeOptions& options, ByteSink& sink) {
    // Four bytes per unit is the most any encoding needs, plus the start bytes.
    OutBuffer out(sink, text.size() * 4 + 8);
    switch (options.encoding) {
        case kEncodingAnsi:
            encodeAnsi(text, out);
            break;
        case kEncodingUtf7NoSignature:
            encodeUtf7(text, false, out);
            break;
        case kEncodingUtf7:
            encodeUtf7(text, true, out);
            break;
        case kEncodingUtf8:
            encodeUtf8(text, out);
            break;
        case kEncodingUtf16Le:
            encodeUtf16(text, false, out);
            break;
        case kEncodingUtf16Be:
            encodeUtf16(text, true, out);
            break;
        case kEncodingUtf32Le:
            encodeUtf32(text, false, out);
            break;
        case kEncodingUtf32Be:
            encodeUtf32(text, true, out);
            break;
        default:
            break;
    }
    out.flush();
}

std::string EncodeText(std::u16string_view text, const TextEncodeOptions& options) {
    std::string bytes;
    StringSink sink(bytes);
    EncodeText_core(text, options, sink);
    return bytes;
}

bool IsLatin1Only(std::u16string_view text) {
    for (char16_t c : text) {
        if (c > 0xFF) return false;
    }
    return true;
}

std::int32_t ChooseTextEncoding(bool automatic, std::int32_t current, std::u16string_view text) {
    if (!automatic) return current;
    // Latin-1's control characters U+0080 to U+009F have no place in the ANSI code page
    // but five: such a text would lose them as "?", so it goes to UTF-8 as well.
    return IsLatin1Only(text) && survivesAnsi(text) ? kEncodingAnsi : kEncodingUtf8;
}

}  // namespace tessaro

// The eight text-file encoders. Each walks the UTF-16 text once and collects its bytes in a
// fixed buffer that is handed to the sink when full, so no whole-file copy is ever made.
#include "output/text_encoder.h"

#include <algorithm>
#include <array>

#include "platform/windows_1252.h"

namespace tessaro {
namespace {

constexpr bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Collects output bytes and passes them to the sink in pieces of up to kSize bytes.
class OutBuffer {
public:
    static constexpr std::size_t kSize = 64 * 1024;
    // The most bytes one encoder step writes between two room() checks.
    static constexpr std::size_t kMaxStep = 16;

    explicit OutBuffer(ByteSink& sink) : m_sink(sink) {}

    // Makes sure the next kMaxStep bytes fit.
    void room() {
        if (m_used + kMaxStep > kSize) flush();
    }
    void put(char byte) { m_data[m_used++] = byte; }
    void put(unsigned value) { m_data[m_used++] = static_cast<char>(value & 0xFF); }
    void put(std::string_view bytes) {
        for (char byte : bytes) {
            room();
            put(byte);
        }
    }
    void flush() {
        if (m_used == 0) return;
        const std::size_t used = m_used;
        m_used = 0;
        m_sink.write(m_data.data(), used);
    }

private:
    ByteSink& m_sink;
    std::array<char, kSize> m_data;
    std::size_t m_used = 0;
};

void encodeAnsi(std::u16string_view text, OutBuffer& out) {
    // The code page converter works on pieces; a piece never ends between the two halves
    // of a surrogate pair, which the converter counts as one character.
    constexpr std::size_t kPiece = 32 * 1024;
    out.flush();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = std::min(text.size(), start + kPiece);
        if (end < text.size() && isHighSurrogate(text[end - 1])) ++end;
        out.put(std::string_view(utf16ToAnsi(text.substr(start, end - start))));
        start = end;
    }
}

void encodeUtf8(std::u16string_view text, OutBuffer& out) {
    out.put(std::string_view("\xEF\xBB\xBF"));
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        out.room();
        const unsigned c = text[i];
        if (c < 0x80) {
            out.put(c);
        } else if (c < 0x800) {
            out.put(0xC0 | (c >> 6));
            out.put(0x80 | (c & 0x3F));
        } else if (isHighSurrogate(static_cast<char16_t>(c)) && i + 1 < n &&
                   isLowSurrogate(text[i + 1])) {
            const unsigned cp = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00u);
            out.put(0xF0 | (cp >> 18));
            out.put(0x80 | ((cp >> 12) & 0x3F));
            out.put(0x80 | ((cp >> 6) & 0x3F));
            out.put(0x80 | (cp & 0x3F));
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            // An unpaired surrogate has no UTF-8 form; it becomes U+FFFD, as in every
            // other UTF-16 to UTF-8 conversion of the program.
            out.put(0xEFu);
            out.put(0xBFu);
            out.put(0xBDu);
        } else {
            out.put(0xE0 | (c >> 12));
            out.put(0x80 | ((c >> 6) & 0x3F));
            out.put(0x80 | (c & 0x3F));
        }
    }
}

void encodeUtf16(std::u16string_view text, bool bigEndian, OutBuffer& out) {
    auto unit = [&](unsigned c) {
        out.room();
        if (bigEndian) {
            out.put(c >> 8);
            out.put(c);
        } else {
            out.put(c);
            out.put(c >> 8);
        }
    };
    unit(0xFEFF);
    for (char16_t c : text) unit(c);
}

void encodeUtf32(std::u16string_view text, bool bigEndian, OutBuffer& out) {
    auto codePoint = [&](unsigned cp) {
        out.room();
        if (bigEndian) {
            out.put(cp >> 24);
            out.put(cp >> 16);
            out.put(cp >> 8);
            out.put(cp);
        } else {
            out.put(cp);
            out.put(cp >> 8);
            out.put(cp >> 16);
            out.put(cp >> 24);
        }
    };
    codePoint(0xFEFF);
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t c = text[i];
        if (isLowSurrogate(c)) continue;  // the second half of a pair, or a lone one
        if (isHighSurrogate(c)) {
            if (i + 1 < n && isLowSurrogate(text[i + 1])) {
                codePoint(0x10000 + ((c - 0xD800u) << 10) + (text[i + 1] - 0xDC00u));
            } else {
                codePoint(u'?');
            }
            continue;
        }
        codePoint(c);
    }
}

// UTF-7 character classes of the ASCII range.
constexpr unsigned char kBase64 = 0;
constexpr unsigned char kDirect = 1;
constexpr unsigned char kPlus = 2;

constexpr std::array<unsigned char, 128> makeUtf7Classes() {
    std::array<unsigned char, 128> classes{};
    auto direct = [&](unsigned from, unsigned to) {
        for (unsigned c = from; c <= to; ++c) classes[c] = kDirect;
    };
    // The directly encoded characters.
    direct('A', 'Z');
    direct('a', 'z');
    direct('0', '9');
    direct(0x27, 0x29);
    direct(0x2C, 0x2F);
    direct(0x3A, 0x3A);
    direct(0x3F, 0x3F);
    direct(' ', ' ');
    direct('\t', '\t');
    direct('\r', '\r');
    direct('\n', '\n');
    // The optional direct characters, also written as themselves.
    direct(0x21, 0x26);
    direct(0x2A, 0x2A);
    direct(0x3B, 0x3E);
    direct(0x40, 0x40);
    direct(0x5B, 0x5B);
    direct(0x5D, 0x60);
    direct(0x7B, 0x7D);
    classes['+'] = kPlus;
    return classes;
}

constexpr std::array<unsigned char, 128> kUtf7Classes = makeUtf7Classes();
constexpr char kBase64Alphabet[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// A direct character right after a run needs the "-" terminator when a decoder would
// otherwise read it as part of the run.
constexpr bool needsTerminator(char16_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           c == '+' || c == '/' || c == '-';
}

class Utf7Writer {
public:
    explicit Utf7Writer(OutBuffer& out) : m_out(out) {}

    void add(char16_t c) {
        m_out.room();
        const unsigned char kind = c < 128 ? kUtf7Classes[c] : kBase64;
        if (kind == kDirect) {
            if (m_inRun) {
                closeRun();
                if (needsTerminator(c)) m_out.put('-');
            }
            m_out.put(static_cast<char>(c));
        } else if (kind == kPlus && !m_inRun) {
            m_out.put('+');
            m_out.put('-');
        } else {
            if (!m_inRun) {
                m_out.put('+');
                m_inRun = true;
            }
            m_bits = (m_bits << 16) | c;
            m_bitCount += 16;
            while (m_bitCount >= 6) {
                m_bitCount -= 6;
                m_out.put(kBase64Alphabet[(m_bits >> m_bitCount) & 0x3F]);
            }
            m_bits &= (1u << m_bitCount) - 1;
        }
    }

    // Ends an open run at the end of the text; no "-" follows.
    void finish() {
        m_out.room();
        if (m_inRun) closeRun();
    }

private:
    void closeRun() {
        if (m_bitCount > 0) m_out.put(kBase64Alphabet[(m_bits << (6 - m_bitCount)) & 0x3F]);
        m_bits = 0;
        m_bitCount = 0;
        m_inRun = false;
    }

    OutBuffer& m_out;
    bool m_inRun = false;
    std::uint32_t m_bits = 0;
    unsigned m_bitCount = 0;
};

void encodeUtf7(std::u16string_view text, bool signature, OutBuffer& out) {
    Utf7Writer writer(out);
    // The signature is U+FEFF encoded in the same stream as the text, so a text that
    // starts with a base64 character continues the signature's run.
    if (signature) writer.add(0xFEFF);
    for (char16_t c : text) writer.add(c);
    writer.finish();
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
    OutBuffer out(sink);
    switch (options.encoding) {
        case kEncodingAnsi: encodeAnsi(text, out); break;
        case kEncodingUtf7NoSignature: encodeUtf7(text, false, out); break;
        case kEncodingUtf7: encodeUtf7(text, true, out); break;
        case kEncodingUtf8: encodeUtf8(text, out); break;
        case kEncodingUtf16Le: encodeUtf16(text, false, out); break;
        case kEncodingUtf16Be: encodeUtf16(text, true, out); break;
        case kEncodingUtf32Le: encodeUtf32(text, false, out); break;
        case kEncodingUtf32Be: encodeUtf32(text, true, out); break;
        default: break;
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
    return IsLatin1Only(text) ? kEncodingAnsi : kEncodingUtf8;
}

}  // namespace tessaro

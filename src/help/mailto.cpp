// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/mailto.h"

#include "platform/utf.h"

namespace tessaro {
namespace {

bool unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

// Every line break as CR LF.
std::u16string withCrLf(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            out += u"\r\n";
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

void appendEncoded(std::string& url, std::u16string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char byte : utf16ToUtf8(withCrLf(text))) {
        const auto c = static_cast<unsigned char>(byte);
        if (unreserved(c)) {
            url += byte;
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 0x0F];
        }
    }
}

}  // namespace

std::string MailtoUrl(std::u16string_view subject, std::u16string_view body) {
    std::string url = "mailto:?subject=";
    appendEncoded(url, subject);
    url += "&body=";
    appendEncoded(url, body);
    return url;
}

}  // namespace tessaro

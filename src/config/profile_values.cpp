// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/profile_values.h"

namespace tessaro {
namespace {

constexpr char16_t kEscape = u'\x10';

bool isQuote(char16_t c) { return c == u'\'' || c == u'"'; }

bool needsEscapes(std::u16string_view text, char16_t lineBreak) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\0' || c == kEscape || (lineBreak != 0 && c == lineBreak)) return true;
        const bool pairStart = c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n';
        if (pairStart && lineBreak != 0) {
            ++i;
            continue;
        }
        if (c == u'\r' || c == u'\n') return true;
    }
    return false;
}

}  // namespace

std::u16string ProtectProfileText(std::u16string_view text) {
    std::u16string out(text);
    if (out.size() >= 2 && isQuote(out.front()) && out.back() == out.front()) {
        out = out.front() + out + out.back();
    }
    if (!out.empty() && (out.front() <= u' ' || out.back() <= u' ')) out = u'"' + out + u'"';
    return out;
}

std::u16string ReadProfileText(std::u16string_view raw) {
    while (!raw.empty() && (raw.front() == u' ' || raw.front() == u'\t')) raw.remove_prefix(1);
    while (!raw.empty() && (raw.back() == u' ' || raw.back() == u'\t')) raw.remove_suffix(1);
    if (raw.size() >= 2 && isQuote(raw.front()) && raw.back() == raw.front()) {
        raw = raw.substr(1, raw.size() - 2);
    }
    return std::u16string(raw.substr(0, kProfileValueLimit));
}

std::u16string FoldLineBreaks(std::u16string_view text, char16_t lineBreak) {
    std::u16string out;
    out.reserve(text.size() + 1);
    if (needsEscapes(text, lineBreak)) {
        out += kEscape;
        for (char16_t c : text) {
            switch (c) {
                case u'\r': out += {kEscape, u'r'}; break;
                case u'\n': out += {kEscape, u'n'}; break;
                case u'\0': out += {kEscape, u'0'}; break;
                case kEscape: out += {kEscape, kEscape}; break;
                default: out += c;
            }
        }
        return out;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            out += lineBreak;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::u16string UnfoldLineBreaks(std::u16string_view stored, char16_t lineBreak) {
    std::u16string out;
    out.reserve(stored.size() + stored.size() / 8);
    if (!stored.empty() && stored.front() == kEscape) {
        for (std::size_t i = 1; i < stored.size(); ++i) {
            const char16_t c = stored[i];
            if (c != kEscape || i + 1 == stored.size()) {
                out += c;
                continue;
            }
            switch (stored[++i]) {
                case u'r': out += u'\r'; break;
                case u'n': out += u'\n'; break;
                case u'0': out += u'\0'; break;
                case kEscape: out += kEscape; break;
                default: out += {kEscape, stored[i]};
            }
        }
        return out;
    }
    for (char16_t c : stored) {
        if (lineBreak != 0 && c == lineBreak) {
            out += u"\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::int32_t> ParseProfileInteger(std::u16string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text.remove_prefix(1);
    }
    std::int64_t value = 0;
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
        text.remove_prefix(2);
        if (text.size() > 8) return std::nullopt;
        for (char16_t c : text) {
            int digit = -1;
            if (c >= u'0' && c <= u'9') digit = c - u'0';
            if (c >= u'a' && c <= u'f') digit = c - u'a' + 10;
            if (c >= u'A' && c <= u'F') digit = c - u'A' + 10;
            if (digit < 0) return std::nullopt;
            value = value * 16 + digit;
        }
        const auto bits = static_cast<std::uint32_t>(value);
        const auto number = static_cast<std::int32_t>(bits);
        return negative ? static_cast<std::int32_t>(0u - bits) : number;
    }
    if (text.empty() || text.size() > 11) return std::nullopt;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    if (negative) value = -value;
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

}  // namespace tessaro

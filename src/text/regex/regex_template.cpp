// SPDX-License-Identifier: GPL-3.0-or-later
// Template expansion for replacements: slot references by number or "&", and backslash
// escapes; anything that is not a complete reference is copied as it stands.
#include "text/regex/regex_template.h"

namespace tessaro {

namespace {

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

void appendSlot(std::u16string& out, std::u16string_view text, const CaptureSlots& slots,
                std::size_t number) {
    if (number > kRegexMaxGroups) return;
    const std::int32_t from = slots[2 * number];
    const std::int32_t to = slots[2 * number + 1];
    if (from < 0 || to < from) return;
    out.append(text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from)));
}

}  // namespace

std::u16string ExpandRegexTemplate(std::u16string_view tpl, std::u16string_view text,
                                   const CaptureSlots& slots) {
    std::u16string out;
    const std::size_t n = tpl.size();
    std::size_t p = 0;
    while (p < n) {
        const char16_t c = tpl[p];
        if (c == u'\\') {
            if (p + 1 < n) {
                out.push_back(tpl[p + 1]);
                p += 2;
            } else {
                out.push_back(u'\\');
                ++p;
            }
            continue;
        }
        if (c != u'$' || p + 1 >= n) {
            out.push_back(c);
            ++p;
            continue;
        }
        const char16_t next = tpl[p + 1];
        if (next == u'&') {
            appendSlot(out, text, slots, 0);
            p += 2;
            continue;
        }
        if (isDigit(next)) {
            std::size_t q = p + 1;
            std::size_t number = 0;
            // A long run of digits only has to stay out of range, not overflow.
            while (q < n && isDigit(tpl[q])) {
                if (number <= kRegexMaxGroups) number = number * 10 + std::size_t(tpl[q] - u'0');
                ++q;
            }
            appendSlot(out, text, slots, number);
            p = q;
            continue;
        }
        if (next == u'{') {
            std::size_t q = p + 2;
            if (q < n && tpl[q] == u'&' && q + 1 < n && tpl[q + 1] == u'}') {
                appendSlot(out, text, slots, 0);
                p = q + 2;
                continue;
            }
            std::size_t number = 0;
            while (q < n && isDigit(tpl[q])) {
                if (number <= kRegexMaxGroups) number = number * 10 + std::size_t(tpl[q] - u'0');
                ++q;
            }
            if (q < n && tpl[q] == u'}') {
                appendSlot(out, text, slots, number);  // "${}" is slot 0
                p = q + 1;
                continue;
            }
        }
        out.push_back(u'$');
        ++p;
    }
    return out;
}

}  // namespace tessaro

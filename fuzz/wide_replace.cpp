// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: plain replace-all, exact and ignoring case, against a scan written here
// with std::u16string::find over upper-cased copies. The input is split into text, search
// and replacement; short alphabets make hits dense so that every lane of the vector scan
// and the tail after it are reached.
#include "text/wide_replace.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "text/upper_case_table.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

std::u16string reference(const std::u16string& text, const std::u16string& search,
                         const std::u16string& replacement, bool ignoreCase) {
    if (text.empty() || search.empty()) return text;
    if (!ignoreCase && search == replacement) return text;
    std::u16string upperText = text;
    std::u16string upperSearch = search;
    if (ignoreCase) {
        for (char16_t& c : upperText) c = tessaro::UpperCaseUnit(c);
        for (char16_t& c : upperSearch) c = tessaro::UpperCaseUnit(c);
    }
    std::u16string out;
    std::size_t from = 0;
    for (std::size_t hit = upperText.find(upperSearch); hit != std::u16string::npos;
         hit = upperText.find(upperSearch, from)) {
        out.append(text, from, hit - from).append(replacement);
        from = hit + search.size();
    }
    out.append(text, from);
    return out;
}

// Bytes to code units: a small alphabet with case pairs for most bytes, any unit for others.
std::u16string units(const std::uint8_t* data, std::size_t size) {
    static constexpr char16_t kAlphabet[] = {u'a',      u'A',      u'b', u'B', u'\u03c3', u'\u03c2',
                                             u'\u03a3', u'\u0131', u'I', u'i', u'\r',     u'\n'};
    std::u16string result;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] < 0xF0 || i + 2 >= size) {
            result += kAlphabet[data[i] % std::size(kAlphabet)];
        } else {
            result += static_cast<char16_t>(data[i + 1] | (data[i + 2] << 8));
            i += 2;
        }
    }
    return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::size_t searchSize = 1 + data[0] % 6;
    const std::size_t replacementSize = data[1] % 8;
    data += 2;
    size -= 2;
    const std::size_t s = std::min(searchSize, size);
    const std::size_t r = std::min(replacementSize, size - s);
    const std::u16string search = units(data, s);
    const std::u16string replacement = units(data + s, r);
    const std::u16string text = units(data + s + r, size - s - r);
    check(tessaro::WideReplaceAll(text, search, replacement) ==
          reference(text, search, replacement, false));
    check(tessaro::WideReplaceAllIgnoreCase(text, search, replacement) ==
          reference(text, search, replacement, true));
    return 0;
}

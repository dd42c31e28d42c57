// SPDX-License-Identifier: GPL-3.0-or-later
// Where the next match can begin, from the start facts of a program: the scan that suits
// them, chosen once per position asked.
#include "text/regex/regex_program.h"

#include "text/regex/text_scan.h"

namespace tessaro {

std::size_t RegexProgram::nextStart(const char16_t* text, std::size_t n, std::size_t pos) const {
    if (startLiterals) return startLiterals->find(text, n, pos);
    if (startSet) {
        // Matches close together: the units at hand decide before any vector is loaded.
        for (const std::size_t near = std::min(pos + 4, n); pos < near; ++pos) {
            if (firstContains(text[pos])) return pos;
        }
        for (;; ++pos) {
            pos = startSet->find(text, n, pos);
            // Units from U+0100 on are only candidates; the bit map decides.
            if (pos >= n || startSet->exact() || firstContains(text[pos])) return pos;
        }
    }
    if (firstCount == 1) return text_scan::findChar(text, n, pos, firstA);
    if (firstCount == 2) return text_scan::findEither(text, n, pos, firstA, firstB);
    while (pos < n && !firstContains(text[pos])) ++pos;
    return pos;
}

}  // namespace tessaro

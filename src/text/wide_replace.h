// SPDX-License-Identifier: GPL-3.0-or-later
// Plain replace-all on UTF-16 text: exact (code unit by code unit) or ignoring case by the
// simple one-to-one upper-case mapping; left to right, hits never overlap.
#pragma once

#include <string>
#include <string_view>

namespace tessaro {

// Every exact occurrence of search, scanned from the left, replaced by replacement; the scan
// goes on right after a hit, so hits never overlap and the replacement is never rescanned.
// The text comes back unchanged when text or search is empty or search equals replacement.
std::u16string WideReplaceAll(std::u16string_view text, std::u16string_view search,
                              std::u16string_view replacement);

// As WideReplaceAll, comparing upper cases (one code unit in, one out): the unmatched pieces
// keep their case and the replacement is inserted as given. An empty search changes nothing.
std::u16string WideReplaceAllIgnoreCase(std::u16string_view text, std::u16string_view search,
                                        std::u16string_view replacement);

// The same two, writing the result into out (whose capacity is reused) and returning true;
// when nothing would change they return false and leave out as it was. out must not share
// memory with text.
bool WideReplaceAllInto(std::u16string_view text, std::u16string_view search,
                        std::u16string_view replacement, std::u16string& out);
bool WideReplaceAllIgnoreCaseInto(std::u16string_view text, std::u16string_view search,
                                  std::u16string_view replacement, std::u16string& out);

}  // namespace tessaro

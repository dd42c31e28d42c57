// SPDX-License-Identifier: GPL-3.0-or-later
// Replacement templates: "$n", "${n}", "$&" and "\c" expanded against the slots of a match.
#pragma once

#include <string>
#include <string_view>

#include "text/regex/regex_matcher.h"

namespace tessaro {

// Expands a template against 0-based capture slots of text; unset slots insert nothing.
std::u16string ExpandRegexTemplate(std::u16string_view tpl, std::u16string_view text,
                                   const CaptureSlots& slots);

}  // namespace tessaro

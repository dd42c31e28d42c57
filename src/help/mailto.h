// SPDX-License-Identifier: GPL-3.0-or-later
// A mailto: link that opens a new mail with a subject and a body, for the desktop's mail
// program. Both are percent-encoded as UTF-8, and line breaks are CR LF, as mail wants them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tessaro {

// Longer links are not handed to the desktop. The link travels as one command-line
// argument (xdg-open and the mail program it starts); 32 KiB stays far below the kernel's
// limit on one argument (128 KiB), so a long report is never cut on the way.
inline constexpr std::size_t kMaxMailtoLength = 32 * 1024;

// "mailto:?subject=...&body=..." without a recipient, which the user picks in the mail
// program. Every character but A-Z, a-z, 0-9 and "-._~" is percent-encoded (a space as
// %20, never "+"); every line break (CR LF, a lone CR or a lone LF) becomes %0D%0A.
std::string MailtoUrl(std::u16string_view subject, std::u16string_view body);

}  // namespace tessaro

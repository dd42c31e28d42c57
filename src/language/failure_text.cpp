// SPDX-License-Identifier: GPL-3.0-or-later
#include "language/failure_text.h"

#include "platform/utf.h"

namespace tessaro {

std::u16string FileFailureText(std::u16string_view germanLead, const std::exception& error, bool german) {
    std::u16string text = utf8ToUtf16(error.what());
    if (german) text = std::u16string(germanLead) + u"\r\n\r\n" + text;
    return text;
}

}  // namespace tessaro

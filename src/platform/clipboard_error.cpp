// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/clipboard_error.h"

#include "platform/utf.h"

namespace tessaro {

std::u16string ClipboardError::text(bool german) const { return german ? m_german : utf8ToUtf16(what()); }

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// Puts a text of the program's own on the clipboard without capturing it: the monitor
// takes the change for one of the program's write-backs, so no history row is added and
// no action runs on it, just as for the text the actions wrote back.
#pragma once

#include <string_view>

#include "capture/capture_state.h"
#include "capture/clipboard_ex.h"

namespace tessaro {

// Writes the text as CF_UNICODETEXT and CF_TEXT. Returns whether the clipboard holds it
// afterwards: false when a newer copy of another program took the clipboard first. Throws
// ClipboardError when the clipboard cannot be opened or written. The suppress count is
// raised only while the write is under way, so a refused write never swallows a copy.
bool CopyWithoutCapture(TClipBoardEx& clipboard, CaptureState& state, std::u16string_view text);

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/uncaptured_copy.h"

#include <cstdint>

namespace tessaro {

bool CopyWithoutCapture(TClipBoardEx& clipboard, CaptureState& state, std::u16string_view text) {
    // The notification of the write arrives inside it and consumes the raised count; when
    // it does not come, the count is given back here. Marking the write as a write-back
    // also covers a late or repeated notification while the clipboard still holds it.
    const std::int32_t raised = ++state.SuppressCount;
    struct Restore {
        TClipBoardEx& clipboard;
        std::int32_t& count;
        std::int32_t raised;
        ~Restore() {
            clipboard.setWritingBack(false);
            if (count == raised) --count;
        }
    } restore{clipboard, state.SuppressCount, raised};
    clipboard.setWritingBack(true);
    clipboard.WriteUnicodeText(text);
    return clipboard.holdsOwnWrite();
}

}  // namespace tessaro

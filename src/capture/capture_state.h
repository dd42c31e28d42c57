// SPDX-License-Identifier: GPL-3.0-or-later
// Counters of the capture core that live for the whole run.
#pragma once

#include <cstdint>

namespace tessaro {

struct CaptureState {
    // Own clipboard writes whose change notification is still to be skipped.
    std::int32_t SuppressCount = 0;
    // Tick at the start of the last pipeline run.
    std::uint32_t LastRunTick = 0;
    // Change notifications that were not our own writes. A run compares it with its value
    // at the start to learn whether the user copied while the run waited in a dialog.
    std::uint64_t ChangeNotifications = 0;
    // True while a run reads the clipboard. The window keeps answering meanwhile, but no
    // second run may start inside the reading: it would find the first one's copy half read.
    bool Reading = false;
};

}  // namespace tessaro

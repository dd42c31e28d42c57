// SPDX-License-Identifier: GPL-3.0-or-later
// The wall clock of the desktops that run on the real system, with or without a display.
#pragma once

#include <QDateTime>

#include "platform/desktop.h"

namespace tessaro {

inline LocalTime CurrentLocalTime() {
    const QDateTime current = QDateTime::currentDateTime();
    const QDate d = current.date();
    const QTime t = current.time();
    return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec()};
}

}  // namespace tessaro

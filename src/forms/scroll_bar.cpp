// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/scroll_bar.h"

#include <algorithm>

namespace tessaro {

void ScrollBar::setPosition(long long position) {
    const int limited = static_cast<int>(std::clamp<long long>(position, m_min, m_max));
    if (limited == m_position) return;
    m_position = limited;
    notifyChanged();
    if (onChange) onChange();
}

}  // namespace tessaro

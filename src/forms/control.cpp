// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/control.h"

namespace tessaro {

void Control::setVisible(bool visible) {
    if (m_visible == visible) return;
    m_visible = visible;
    notifyChanged();
}

void Control::setEnabled(bool enabled) {
    if (m_enabled == enabled) return;
    m_enabled = enabled;
    notifyChanged();
}

}  // namespace tessaro

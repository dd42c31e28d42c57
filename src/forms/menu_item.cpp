// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/menu_item.h"

namespace tessaro {

void MenuItem::setCaption(std::u16string caption) {
    m_caption = std::move(caption);
    notifyChanged();
}

void MenuItem::setHint(std::u16string hint) {
    m_hint = std::move(hint);
    notifyChanged();
}

void MenuItem::setChecked(bool checked) {
    if (m_checked == checked) return;
    m_checked = checked;
    notifyChanged();
}

}  // namespace tessaro

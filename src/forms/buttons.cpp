// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/buttons.h"

#include "forms/form.h"

namespace tessaro {

void Button::setCaption(std::u16string caption) {
    m_caption = std::move(caption);
    notifyChanged();
}

void CheckBox::setCaption(std::u16string caption) {
    m_caption = std::move(caption);
    notifyChanged();
}

void CheckBox::setChecked(bool checked) {
    if (m_checked == checked) return;
    m_checked = checked;
    notifyChanged();
    fire(onClick);
}

void RadioButton::setCaption(std::u16string caption) {
    m_caption = std::move(caption);
    notifyChanged();
}

void RadioButton::setChecked(bool checked) {
    if (m_checked == checked) return;
    m_checked = checked;
    notifyChanged();
    if (!checked) return;
    for (RadioButton* other : owner().controlsOf<RadioButton>()) {
        if (other != this && other->m_group == m_group && other->m_checked) {
            other->m_checked = false;
            other->notifyChanged();
        }
    }
    fire(onClick);
}

}  // namespace tessaro

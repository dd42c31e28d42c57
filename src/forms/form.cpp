// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/form.h"

namespace tessaro {

Control* Form::find(std::string_view name) const {
    for (const auto& control : m_controls) {
        if (control->name() == name) return control.get();
    }
    return nullptr;
}

void Form::setCaption(std::u16string caption) {
    m_caption = std::move(caption);
    m_changed.notify();
}

void Form::setClientSize(int width, int height) {
    if (m_clientWidth == width && m_clientHeight == height) return;
    m_clientWidth = width;
    m_clientHeight = height;
    m_changed.notify();
}

void Form::setPosition(int left, int top) {
    if (m_left == left && m_top == top) return;
    m_left = left;
    m_top = top;
    m_changed.notify();
}

void Form::setShownState(bool visible, WindowState state) {
    if (m_visible == visible && m_state == state) return;
    m_visible = visible;
    m_state = state;
    m_changed.notify();
}

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/text_controls.h"

namespace tessaro {

void Edit::setText(std::u16string text) {
    if (m_text == text) return;
    m_text = std::move(text);
    notifyChanged();
    fire(onChange);
}

void Edit::setPlaceholder(std::u16string text) {
    if (m_placeholder == text) return;
    m_placeholder = std::move(text);
    notifyChanged();
}

void ComboBox::setItems(std::vector<std::u16string> items) {
    m_items = std::move(items);
    m_itemIndex = -1;
    notifyChanged();
}

void ComboBox::setItem(std::size_t index, std::u16string text) {
    if (index >= m_items.size()) return;
    m_items[index] = std::move(text);
    notifyChanged();
}

void ComboBox::setText(std::u16string text) {
    m_text = std::move(text);
    m_itemIndex = -1;
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i] == m_text) {
            m_itemIndex = static_cast<int>(i);
            break;
        }
    }
    notifyChanged();
}

void ComboBox::setItemIndex(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_items.size()) {
        m_itemIndex = -1;
    } else {
        m_itemIndex = index;
        m_text = m_items[static_cast<std::size_t>(index)];
    }
    notifyChanged();
}

void ComboBox::userSetText(std::u16string text) {
    setText(std::move(text));
    fire(onChange);
}

void Memo::setText(SharedText text) {
    m_text = std::move(text);
    notifyChanged();
    fire(onChange);
}

void Memo::setColor(std::optional<Rgb> color) {
    m_color = color;
    notifyChanged();
}

void Label::setCaption(std::u16string caption) {
    m_caption = std::move(caption);
    notifyChanged();
}

void Label::setColor(std::optional<Rgb> color) {
    m_color = color;
    notifyChanged();
}

}  // namespace tessaro

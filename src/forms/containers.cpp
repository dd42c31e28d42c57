// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/containers.h"

#include <algorithm>

namespace tessaro {

void Panel::setCaption(std::u16string caption) {
    m_caption = std::move(caption);
    notifyChanged();
}

void Panel::setTop(int top) {
    m_top = top;
    notifyChanged();
}

void Panel::setWidth(int width) {
    m_width = width;
    notifyChanged();
}

void Panel::setHeight(int height) {
    m_height = height;
    notifyChanged();
}

void Panel::setColor(std::optional<Rgb> color) {
    m_color = color;
    notifyChanged();
}

void ScrollRange::scrollBy(int delta) {
    const long long target = static_cast<long long>(position) + delta;
    position = static_cast<int>(std::clamp<long long>(target, min, std::max(min, max)));
}

void ScrollBox::setRanges(int horizontalRange, int verticalRange) {
    m_horizontal.max = horizontalRange;
    m_vertical.max = verticalRange;
    m_horizontal.scrollBy(0);
    m_vertical.scrollBy(0);
    notifyChanged();
}

void ScrollBox::scrollBy(int dx, int dy) {
    m_horizontal.scrollBy(dx);
    m_vertical.scrollBy(dy);
    notifyChanged();
}

void ScrollBox::userScrolledTo(int x, int y) {
    m_horizontal.position = 0;
    m_vertical.position = 0;
    m_horizontal.scrollBy(x);
    m_vertical.scrollBy(y);
}

void PageControl::setActivePage(Panel& page) {
    if (m_active == &page) return;
    m_active = &page;
    notifyChanged();
}

void TabSet::setTabs(std::vector<std::u16string> tabs) {
    m_tabs = std::move(tabs);
    m_tabIndex = -1;
    notifyChanged();
}

void TabSet::setTabIndex(int index) {
    if (index < -1 || index >= static_cast<int>(m_tabs.size()) || index == m_tabIndex) return;
    if (onChange) onChange(index);
    m_tabIndex = index;
    notifyChanged();
}

}  // namespace tessaro

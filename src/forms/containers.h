// SPDX-License-Identifier: GPL-3.0-or-later
// Controls that arrange others: panels, scroll boxes with their two scroll bars, page
// controls with hidden tabs, and the tab strip that stands in for those tabs.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "forms/control.h"
#include "forms/text_controls.h"

namespace tessaro {

class Panel : public Control {
public:
    Panel(Form& owner, std::string name) : Control(owner, std::move(name), ControlKind::Panel) {}

    const std::u16string& caption() const { return m_caption; }
    void setCaption(std::u16string caption);
    int top() const { return m_top; }
    void setTop(int top);
    int width() const { return m_width; }
    void setWidth(int width);
    int height() const { return m_height; }
    void setHeight(int height);
    std::optional<Rgb> color() const { return m_color; }
    void setColor(std::optional<Rgb> color);

private:
    std::u16string m_caption;
    int m_top = 0;
    int m_width = 0;
    int m_height = 0;
    std::optional<Rgb> m_color;
};

struct ScrollRange {
    int min = 0;
    int max = 0;  // the scroll range
    int position = 0;

    // Moves the position by `delta`, kept within min .. max.
    void scrollBy(int delta);
};

class ScrollBox : public Control {
public:
    ScrollBox(Form& owner, std::string name)
        : Control(owner, std::move(name), ControlKind::ScrollBox) {}

    const ScrollRange& horizontal() const { return m_horizontal; }
    const ScrollRange& vertical() const { return m_vertical; }
    void setRanges(int horizontalRange, int verticalRange);
    void scrollBy(int dx, int dy);
    // The view reports where the user scrolled to.
    void userScrolledTo(int x, int y);

private:
    ScrollRange m_horizontal;
    ScrollRange m_vertical;
};

// Pages are panels; their own tabs are hidden, so only the active page matters.
class PageControl : public Control {
public:
    PageControl(Form& owner, std::string name)
        : Control(owner, std::move(name), ControlKind::PageControl) {}

    void addPage(Panel& page) { m_pages.push_back(&page); }
    const std::vector<Panel*>& pages() const { return m_pages; }
    Panel* activePage() const { return m_active; }
    void setActivePage(Panel& page);

private:
    std::vector<Panel*> m_pages;
    Panel* m_active = nullptr;
};

class TabSet : public Control {
public:
    TabSet(Form& owner, std::string name) : Control(owner, std::move(name), ControlKind::TabSet) {}

    const std::vector<std::u16string>& tabs() const { return m_tabs; }
    // Replaces the tabs; afterwards no tab is selected.
    void setTabs(std::vector<std::u16string> tabs);
    int tabIndex() const { return m_tabIndex; }
    // Selects a tab, from code or by the user; the change handler gets the new index
    // before the selection changes.
    void setTabIndex(int index);

    std::function<void(int newIndex)> onChange;

private:
    std::vector<std::u16string> m_tabs;
    int m_tabIndex = -1;
};

}  // namespace tessaro

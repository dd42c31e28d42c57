// SPDX-License-Identifier: GPL-3.0-or-later
// Menu items with a check mark, a hint and a shortcut. A check mark set from code runs
// nothing; only a user's choice runs the click handler.
#pragma once

#include <string>
#include <vector>

#include "forms/control.h"

namespace tessaro {

class MenuItem : public Control {
public:
    MenuItem(Form& owner, std::string name) : Control(owner, std::move(name), ControlKind::MenuItem) {}

    const std::u16string& caption() const { return m_caption; }
    void setCaption(std::u16string caption);
    const std::u16string& hint() const { return m_hint; }
    void setHint(std::u16string hint);
    bool checked() const { return m_checked; }
    void setChecked(bool checked);
    // Key sequence in portable text form ("F3", "Ctrl+S"); empty for none.
    const std::string& shortcut() const { return m_shortcut; }
    void setShortcut(std::string shortcut) { m_shortcut = std::move(shortcut); }
    bool isSeparator() const { return m_separator; }
    void setSeparator(bool separator) { m_separator = separator; }

    // Sub-items, in menu order.
    const std::vector<MenuItem*>& items() const { return m_items; }
    void addItem(MenuItem& item) {
        m_items.push_back(&item);
        notifyChanged();
    }

    // The user chose the item (by mouse or shortcut).
    void click() { fire(onClick); }
    // The menu that holds the item is about to open.
    void menuOpening() { fire(onMenuOpening); }

    Handler onClick;
    // Lets an item whose state lies outside the program (a file) show it as it is when the
    // user looks at it.
    Handler onMenuOpening;

private:
    std::u16string m_caption;
    std::u16string m_hint;
    std::string m_shortcut;
    bool m_checked = false;
    bool m_separator = false;
    std::vector<MenuItem*> m_items;
};

}  // namespace tessaro

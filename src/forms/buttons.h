// SPDX-License-Identifier: GPL-3.0-or-later
// Check boxes, radio buttons and push buttons. Changing a check state from code runs the
// click handler exactly as a user's click would; loading settings relies on that.
#pragma once

#include <string>

#include "forms/control.h"

namespace tessaro {

class Button : public Control {
public:
    Button(Form& owner, std::string name) : Control(owner, std::move(name), ControlKind::Button) {}

    const std::u16string& caption() const { return m_caption; }
    void setCaption(std::u16string caption);
    // A user's click.
    void click() { fire(onClick); }

    Handler onClick;

private:
    std::u16string m_caption;
};

class CheckBox : public Control {
public:
    CheckBox(Form& owner, std::string name, bool checked = false)
        : Control(owner, std::move(name), ControlKind::CheckBox), m_checked(checked) {}

    const std::u16string& caption() const { return m_caption; }
    void setCaption(std::u16string caption);
    bool checked() const { return m_checked; }
    // Sets the state; when it changes, the click handler runs.
    void setChecked(bool checked);
    // A user's click toggles the state.
    void click() { setChecked(!m_checked); }

    Handler onClick;

private:
    std::u16string m_caption;
    bool m_checked;
};

class RadioButton : public Control {
public:
    // Buttons with the same group name in one form exclude each other.
    RadioButton(Form& owner, std::string name, std::string group, bool checked = false)
        : Control(owner, std::move(name), ControlKind::RadioButton),
          m_group(std::move(group)),
          m_checked(checked) {}

    const std::string& group() const { return m_group; }
    const std::u16string& caption() const { return m_caption; }
    void setCaption(std::u16string caption);
    bool checked() const { return m_checked; }
    // Checking unchecks the others of the group and runs the click handler; unchecking
    // from code leaves the whole group unchecked and runs nothing.
    void setChecked(bool checked);
    // A user's click checks the button.
    void click() { setChecked(true); }

    Handler onClick;

private:
    std::string m_group;
    std::u16string m_caption;
    bool m_checked;
};

}  // namespace tessaro

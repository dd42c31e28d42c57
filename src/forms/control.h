// SPDX-License-Identifier: GPL-3.0-or-later
// The base of every headless control: a component name, its kind, visibility, and the
// notifier that tells a view to redraw. Behaviour of each kind lives in its own class.
#pragma once

#include <functional>
#include <string>

#include "forms/notifier.h"

namespace tessaro {

class Form;

enum class ControlKind {
    CheckBox,
    RadioButton,
    Button,
    Edit,
    ComboBox,
    Memo,
    Label,
    ListView,
    Panel,
    ScrollBox,
    PageControl,
    TabSet,
    Picture,
    MenuItem,
    Timer,
    ScrollBar,
};

using Handler = std::function<void()>;

class Control {
public:
    Control(Form& owner, std::string name, ControlKind kind)
        : m_owner(owner), m_name(std::move(name)), m_kind(kind) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return m_name; }
    ControlKind kind() const { return m_kind; }
    Form& owner() const { return m_owner; }

    bool visible() const { return m_visible; }
    void setVisible(bool visible);
    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    // Whether a configuration file holds the control's value (true for every control whose
    // kind has a value, unless the window says otherwise).
    bool stored() const { return m_stored; }
    void setStored(bool stored) { m_stored = stored; }

    // Views subscribe here to redraw after any change of the control's state.
    Notifier<>& changed() { return m_changed; }

protected:
    void notifyChanged() const { m_changed.notify(); }

private:
    Form& m_owner;
    std::string m_name;
    ControlKind m_kind;
    bool m_visible = true;
    bool m_enabled = true;
    bool m_stored = true;
    Notifier<> m_changed;
};

// Runs a handler when one is bound.
inline void fire(const Handler& handler) {
    if (handler) handler();
}

}  // namespace tessaro

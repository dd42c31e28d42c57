// SPDX-License-Identifier: GPL-3.0-or-later
// A window of the program without any display: its named controls in creation order,
// its caption, size and visibility. Each window class derives from it and adds handlers.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "forms/control.h"
#include "forms/notifier.h"

namespace tessaro {

enum class WindowState { Normal, Minimized, Maximized };

class Form {
public:
    explicit Form(std::string name) : m_name(std::move(name)) {}
    virtual ~Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& name() const { return m_name; }

    // Creates a control owned by this form; creation order is kept.
    template <typename T, typename... Args>
    T& add(std::string name, Args&&... args) {
        auto control = std::make_unique<T>(*this, std::move(name), std::forward<Args>(args)...);
        T& ref = *control;
        m_controls.push_back(std::move(control));
        return ref;
    }

    const std::vector<std::unique_ptr<Control>>& controls() const { return m_controls; }
    Control* find(std::string_view name) const;

    // The controls of one kind, in creation order.
    template <typename T>
    std::vector<T*> controlsOf() const {
        std::vector<T*> found;
        for (const auto& control : m_controls) {
            if (auto* typed = dynamic_cast<T*>(control.get())) found.push_back(typed);
        }
        return found;
    }

    const std::u16string& caption() const { return m_caption; }
    void setCaption(std::u16string caption);
    int clientWidth() const { return m_clientWidth; }
    int clientHeight() const { return m_clientHeight; }
    void setClientSize(int width, int height);
    // The window's position on the screen (its outer top-left corner).
    int left() const { return m_left; }
    int top() const { return m_top; }
    void setPosition(int left, int top);
    // The window's integer tag, free for the window's own use.
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

    bool visible() const { return m_visible; }
    WindowState windowState() const { return m_state; }
    // Kept up to date by the desktop that shows the window.
    void setShownState(bool visible, WindowState state);

    Notifier<>& changed() { return m_changed; }

    // Asks the view to put the input focus into a control.
    void requestFocus(Control& control) { m_focusRequested.notify(control); }
    Notifier<Control&>& focusRequested() { return m_focusRequested; }

private:
    std::string m_name;
    std::vector<std::unique_ptr<Control>> m_controls;
    std::u16string m_caption;
    int m_clientWidth = 0;
    int m_clientHeight = 0;
    int m_left = 0;
    int m_top = 0;
    int m_tag = 0;
    bool m_visible = false;
    WindowState m_state = WindowState::Normal;
    Notifier<> m_changed;
    Notifier<Control&> m_focusRequested;
};

}  // namespace tessaro

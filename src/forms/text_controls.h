// SPDX-License-Identifier: GPL-3.0-or-later
// Controls that hold text: single-line edits, combo boxes (a list plus an edit part),
// multi-line memos and labels.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "forms/control.h"
#include "forms/shared_text.h"

namespace tessaro {

// Handler of a typed character: set the character to 0 to discard it.
using KeyPressHandler = std::function<void(char16_t& key)>;

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

class Edit : public Control {
public:
    Edit(Form& owner, std::string name) : Control(owner, std::move(name), ControlKind::Edit) {}

    const std::u16string& text() const { return m_text; }
    // Sets the text; the change handler runs when it differs, from code as from the user.
    void setText(std::u16string text);

    // The hint a view shows in the empty field; it follows the interface language.
    const std::u16string& placeholder() const { return m_placeholder; }
    void setPlaceholder(std::u16string text);

    // Asks the view to select the whole text.
    void selectAll() { m_selectAllRequested.notify(); }
    Notifier<>& selectAllRequested() { return m_selectAllRequested; }

    Handler onChange;
    Handler onExit;
    Handler onDblClick;
    KeyPressHandler onKeyPress;

private:
    std::u16string m_text;
    std::u16string m_placeholder;
    Notifier<> m_selectAllRequested;
};

class ComboBox : public Control {
public:
    ComboBox(Form& owner, std::string name)
        : Control(owner, std::move(name), ControlKind::ComboBox) {}

    const std::vector<std::u16string>& items() const { return m_items; }
    void setItems(std::vector<std::u16string> items);
    void setItem(std::size_t index, std::u16string text);
    int dropDownCount() const { return m_dropDownCount; }
    void setDropDownCount(int count) { m_dropDownCount = count; }

    const std::u16string& text() const { return m_text; }
    int itemIndex() const { return m_itemIndex; }
    // From code: neither of these runs the change handler.
    void setText(std::u16string text);
    void setItemIndex(int index);
    // The user typed or picked a text: the change handler runs.
    void userSetText(std::u16string text);

    Handler onChange;
    Handler onExit;
    KeyPressHandler onKeyPress;

private:
    std::vector<std::u16string> m_items;
    std::u16string m_text;
    int m_itemIndex = -1;
    int m_dropDownCount = 8;
};

// A multi-line text box. The text is shared with the views, so that a long text is not
// copied for each of them.
class Memo : public Control {
public:
    Memo(Form& owner, std::string name) : Control(owner, std::move(name), ControlKind::Memo) {}

    const std::u16string& text() const { return m_text.str(); }
    const SharedText& sharedText() const { return m_text; }
    // Sets the whole text (lines separated by CR LF); the change handler runs.
    void setText(SharedText text);
    void clear() { setText(SharedText()); }
    // The font colour; none means the window-text colour.
    std::optional<Rgb> color() const { return m_color; }
    void setColor(std::optional<Rgb> color);

    Handler onChange;

private:
    SharedText m_text;
    std::optional<Rgb> m_color;
};

class Label : public Control {
public:
    Label(Form& owner, std::string name) : Control(owner, std::move(name), ControlKind::Label) {}

    const std::u16string& caption() const { return m_caption; }
    void setCaption(std::u16string caption);
    std::optional<Rgb> color() const { return m_color; }
    void setColor(std::optional<Rgb> color);

    Handler onClick;

private:
    std::u16string m_caption;
    std::optional<Rgb> m_color;
};

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// An immutable text shared by the places that show or keep it: a captured text lives once
// in memory although the details list, the display and the history all hold it.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace tessaro {

class SharedText {
public:
    SharedText() : m_text(empty()) {}
    SharedText(std::u16string text) : m_text(std::make_shared<const std::u16string>(std::move(text))) {}
    SharedText(const char16_t* text) : SharedText(std::u16string(text)) {}
    SharedText(std::shared_ptr<const std::u16string> text) : m_text(text ? std::move(text) : empty()) {}

    // The same text followed by one 0 character, without a copy: the string's own
    // terminator. An 8-bit clipboard block read whole shows its terminating 0 byte, and a
    // large text converted to one need not be held twice.
    SharedText withTerminator() const {
        SharedText result = *this;
        result.m_terminated = true;
        return result;
    }

    // The whole text, terminator included where there is one.
    std::u16string_view view() const { return {m_text->data(), m_text->size() + (m_terminated ? 1 : 0)}; }
    // The string the text is kept in: the whole text unless it was made withTerminator().
    const std::u16string& str() const { return *m_text; }
    operator const std::u16string&() const { return *m_text; }
    const std::shared_ptr<const std::u16string>& shared() const { return m_text; }

    friend bool operator==(const SharedText& a, const SharedText& b) { return a.view() == b.view(); }
    friend bool operator==(const SharedText& a, std::u16string_view b) { return a.view() == b; }
    friend bool operator==(const SharedText& a, const std::u16string& b) { return a.view() == b; }
    friend bool operator==(const SharedText& a, const char16_t* b) { return a.view() == b; }

private:
    static const std::shared_ptr<const std::u16string>& empty() {
        static const auto text = std::make_shared<const std::u16string>();
        return text;
    }

    std::shared_ptr<const std::u16string> m_text;
    bool m_terminated = false;
};

}  // namespace tessaro

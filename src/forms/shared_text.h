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

    const std::u16string& str() const { return *m_text; }
    operator const std::u16string&() const { return *m_text; }
    const std::shared_ptr<const std::u16string>& shared() const { return m_text; }

    friend bool operator==(const SharedText& a, const SharedText& b) { return a.str() == b.str(); }
    friend bool operator==(const SharedText& a, std::u16string_view b) { return a.str() == b; }
    friend bool operator==(const SharedText& a, const std::u16string& b) { return a.str() == b; }
    friend bool operator==(const SharedText& a, const char16_t* b) { return a.str() == b; }

private:
    static const std::shared_ptr<const std::u16string>& empty() {
        static const auto text = std::make_shared<const std::u16string>();
        return text;
    }

    std::shared_ptr<const std::u16string> m_text;
};

}  // namespace tessaro

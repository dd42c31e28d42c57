// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/test_desktop.h"

#include <algorithm>
#include <stdexcept>

#include "forms/form.h"

namespace tessaro {
namespace {

char16_t foldAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; }

std::u16string twoDigits(int value) {
    return {char16_t(u'0' + (value / 10) % 10), char16_t(u'0' + value % 10)};
}

}  // namespace

void TestDesktop::showMessage(MessageKind kind, std::u16string_view title, std::u16string_view text) {
    m_messages.push_back({kind, std::u16string(title), std::u16string(text)});
}

std::u16string TestDesktop::longTimeText(const LocalTime& time) {
    return twoDigits(time.hour) + u":" + twoDigits(time.minute) + u":" + twoDigits(time.second);
}

int TestDesktop::compareTextIgnoreCase(std::u16string_view a, std::u16string_view b) {
    const auto n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t x = foldAscii(a[i]);
        const char16_t y = foldAscii(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

void TestDesktop::advance(std::uint32_t ms) {
    const std::uint64_t end = m_time + ms;
    for (;;) {
        const auto next = std::min_element(m_later.begin(), m_later.end(),
                                           [](const LaterTask& a, const LaterTask& b) { return a.due < b.due; });
        if (next == m_later.end() || next->due > end) break;
        if (next->due > m_time) moveClockTo(next->due);
        auto task = std::move(next->task);
        m_later.erase(next);
        task();
    }
    if (m_time < end) moveClockTo(end);
}

void TestDesktop::showModal(Form& window, std::function<void()>& endModal) {
    if (m_modalWindow == &window) throw std::logic_error("the window is already shown modally");
    ++m_modalShowings;
    m_modalWindow = &window;
    endModal = [] {};  // the script plays the user; the showing ends when it returns
    struct Reset {
        std::function<void()>& hook;
        const Form*& shown;
        ~Reset() {
            hook = nullptr;
            shown = nullptr;
        }
    } reset{endModal, m_modalWindow};
    if (m_modalScript) m_modalScript(window);
}

void TestDesktop::windowCommand(Form& window, WindowCommand command) {
    m_commands.push_back({&window, command});
    switch (command) {
        case WindowCommand::Show: window.setShownState(true, window.windowState()); break;
        case WindowCommand::Hide: window.setShownState(false, window.windowState()); break;
        case WindowCommand::Minimize: window.setShownState(true, WindowState::Minimized); break;
        case WindowCommand::Maximize: window.setShownState(true, WindowState::Maximized); break;
        case WindowCommand::Restore: window.setShownState(true, WindowState::Normal); break;
        case WindowCommand::Activate:
            window.setShownState(true, window.windowState() == WindowState::Minimized ? WindowState::Normal
                                                                                       : window.windowState());
            break;
    }
}

bool TestDesktop::setTrayIcon(bool present, std::u16string_view tip, std::function<void()> onLeftButtonDown,
                              std::vector<TrayMenuEntry> menu) {
    m_trayIcon = present && m_trayAvailable;
    m_trayTip = tip;
    m_trayClick = std::move(onLeftButtonDown);
    m_trayMenu = std::move(menu);
    return m_trayIcon;
}

}  // namespace tessaro

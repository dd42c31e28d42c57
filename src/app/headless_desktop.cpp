// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/headless_desktop.h"

#include <QString>
#include <stdexcept>

#include "app/local_time.h"
#include "forms/form.h"
#include "platform/decimal_text.h"

namespace tessaro {

HeadlessDesktop::HeadlessDesktop(std::filesystem::path programFolder) : m_programFolder(std::move(programFolder)) {}

void HeadlessDesktop::advance(std::uint32_t ms) {
    const std::uint32_t target = m_tick + ms;
    for (;;) {
        auto next = m_tasks.end();
        for (auto it = m_tasks.begin(); it != m_tasks.end(); ++it) {
            if (it->due <= target && (next == m_tasks.end() || it->due < next->due)) next = it;
        }
        if (next == m_tasks.end()) break;
        m_tick = std::max(m_tick, next->due);
        std::function<void()> run = std::move(next->run);
        m_tasks.erase(next);
        run();
    }
    m_tick = target;
}

void HeadlessDesktop::showModal(Form&, std::function<void()>&) {
    // The only dialog of a capture is the frame to cut, drawn with the mouse.
    m_refusedDialog =
        "this configuration cuts pictures with a frame drawn by mouse, which needs the window; "
        "apply cuts fixed margins only";
    throw std::runtime_error(m_refusedDialog);
}

void HeadlessDesktop::showMessage(MessageKind kind, std::u16string_view title, std::u16string_view text) {
    m_messages.push_back({kind, std::u16string(title), std::u16string(text)});
}

void HeadlessDesktop::runLater(std::uint32_t delayMs, std::function<void()> task) {
    m_tasks.push_back({m_tick + delayMs, std::move(task)});
}

LocalTime HeadlessDesktop::now() { return CurrentLocalTime(); }

std::u16string HeadlessDesktop::longTimeText(const LocalTime& time) {
    const auto twoDigits = [](int value) {
        std::u16string digits = DecimalText(value);
        if (digits.size() < 2) digits.insert(digits.begin(), u'0');
        return digits;
    };
    return twoDigits(time.hour) + u":" + twoDigits(time.minute) + u":" + twoDigits(time.second);
}

int HeadlessDesktop::compareTextIgnoreCase(std::u16string_view a, std::u16string_view b) {
    return QStringView(a.data(), static_cast<qsizetype>(a.size()))
        .compare(QStringView(b.data(), static_cast<qsizetype>(b.size())), Qt::CaseInsensitive);
}

void HeadlessDesktop::windowCommand(Form& window, WindowCommand command) {
    window.setShownState(command != WindowCommand::Hide, window.windowState());
}

}  // namespace tessaro

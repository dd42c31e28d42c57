// SPDX-License-Identifier: GPL-3.0-or-later
#include "capture/clipboard_monitor.h"

#include <exception>

#include "platform/utf.h"

namespace tessaro {

ClipboardMonitor::ClipboardMonitor(ClipboardBackend& backend, TClipBoardEx& clipboard,
                                   Desktop& desktop, CaptureState& state,
                                   std::function<void()> processClipboard,
                                   std::function<void(const std::exception&)> reportFailure)
    : m_backend(backend),
      m_clipboard(clipboard),
      m_desktop(desktop),
      m_state(state),
      m_processClipboard(std::move(processClipboard)),
      m_reportFailure(std::move(reportFailure)),
      m_handle(backend.viewers().createWindow(*this)) {}

ClipboardMonitor::~ClipboardMonitor() {
    leave();
    m_backend.viewers().destroyWindow(m_handle);
}

void ClipboardMonitor::join() {
    m_joined = true;
    m_nextViewer = m_backend.viewers().setClipboardViewer(m_handle);
}

void ClipboardMonitor::leave() {
    if (!m_joined) return;
    m_joined = false;
    m_changeWaiting = false;  // the program no longer captures
    m_backend.viewers().changeClipboardChain(m_handle, m_nextViewer);
}

void ClipboardMonitor::handleViewerMessage(const ViewerMessage& message) {
    if (message.kind == ViewerMessage::Kind::DrawClipboard) {
        drawClipboard();
        if (m_nextViewer != 0) m_backend.viewers().sendMessage(m_nextViewer, message);
        return;
    }
    if (message.wParam == m_nextViewer) {
        m_nextViewer = message.lParam;
    } else if (m_nextViewer != 0) {
        m_backend.viewers().sendMessage(m_nextViewer, message);
    }
}

void ClipboardMonitor::drawClipboard() {
    if (m_clipboard.announcingOwnWrite() && m_state.SuppressCount > 0) {
        // The notification of one of our own write-backs: it consumes its count here,
        // before the debounce could drop it and leave the count for a user's copy.
        --m_state.SuppressCount;
    } else if (m_clipboard.holdsOwnWriteBack()) {
        // A late or repeated notification while the clipboard still holds our write-back
        // (X11 may announce it again once the selection owner is known): our own content,
        // not a copy of the user's.
    } else {
        ++m_state.ChangeNotifications;
        runOrDefer();
    }
    if (afterNotification) afterNotification();
}

void ClipboardMonitor::runOrDefer() {
    // Elapsed time in modular arithmetic, so the debounce keeps working when the tick
    // counter wraps at 2^32.
    const std::uint32_t elapsed = m_desktop.tickCount() - m_state.LastRunTick;
    if (m_state.Reading) {
        // Tried again when the interval has passed, until the reading is over.
        deferRun(kDebounceMs + 1);
        return;
    }
    if (elapsed > kDebounceMs) {
        m_changeWaiting = false;
        m_state.LastRunTick = m_desktop.tickCount();
        try {
            m_processClipboard();
        } catch (const std::exception& error) {
            m_reportFailure(error);
        }
        return;
    }
    deferRun(kDebounceMs + 1 - elapsed);
}

void ClipboardMonitor::deferRun(std::uint32_t delayMs) {
    // One deferred run serves every change skipped until it comes.
    if (m_changeWaiting) return;
    m_changeWaiting = true;
    m_desktop.runLater(delayMs, [this, alive = std::weak_ptr<bool>(m_alive)] {
        if (alive.lock()) deferredRun();
    });
}

void ClipboardMonitor::deferredRun() {
    // A run that started meanwhile (a later notification) has already seen the change.
    if (!m_changeWaiting) return;
    runOrDefer();
    if (afterNotification) afterNotification();
}

}  // namespace tessaro

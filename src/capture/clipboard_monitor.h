// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's place in the clipboard-viewer chain: it lets at most one pipeline run
// start per 175 ms, forwards every chain message to the next viewer and repairs the chain
// when a viewer leaves. A change that comes too soon after a run is not dropped: it gets
// one run of its own once the interval has passed, so the last copy of a burst is seen.
#pragma once

#include <exception>
#include <functional>
#include <memory>

#include "capture/capture_state.h"
#include "capture/clipboard_ex.h"
#include "platform/clipboard_backend.h"
#include "platform/desktop.h"

namespace tessaro {

class ClipboardMonitor final : public ClipboardViewer {
public:
    static constexpr std::uint32_t kDebounceMs = 175;

    // `reportFailure` receives the error of a failed run, to be told in the language of
    // the moment; it must not open a modal box: a stream of broken copies would stack one
    // inside the other.
    ClipboardMonitor(ClipboardBackend& backend, TClipBoardEx& clipboard, Desktop& desktop,
                     CaptureState& state, std::function<void()> processClipboard,
                     std::function<void(const std::exception&)> reportFailure);
    ~ClipboardMonitor() override;
    ClipboardMonitor(const ClipboardMonitor&) = delete;
    ClipboardMonitor& operator=(const ClipboardMonitor&) = delete;

    WindowHandle handle() const { return m_handle; }
    WindowHandle NextViewer() const { return m_nextViewer; }

    // Joins the chain; the desktop answers at once with a change notification.
    void join();
    // Leaves the chain (ChangeClipboardChain with the next viewer).
    void leave();

    void handleViewerMessage(const ViewerMessage& message) override;

    // Called after every change notification has been handled, for observers of the state.
    std::function<void()> afterNotification;

private:
    void drawClipboard();
    // Runs the pipeline now when the interval allows, or once when it has passed.
    void runOrDefer();
    // Schedules one deferred run, unless one is waiting already.
    void deferRun(std::uint32_t delayMs);
    void deferredRun();

    ClipboardBackend& m_backend;
    TClipBoardEx& m_clipboard;
    Desktop& m_desktop;
    CaptureState& m_state;
    std::function<void()> m_processClipboard;
    std::function<void(const std::exception&)> m_reportFailure;
    WindowHandle m_handle;
    WindowHandle m_nextViewer = 0;
    bool m_joined = false;
    // A change skipped by the interval is waiting for its deferred run.
    bool m_changeWaiting = false;
    // Lets a deferred run that fires after this monitor is gone do nothing.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

}  // namespace tessaro

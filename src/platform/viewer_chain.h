// SPDX-License-Identifier: GPL-3.0-or-later
// The clipboard-viewer chain of a Windows-style desktop: windows join at the head, every
// change is announced to the head, and each viewer forwards what it gets to its successor.
#pragma once

#include <cstdint>
#include <unordered_map>

namespace tessaro {

using WindowHandle = std::uint32_t;  // 0 stands for "no window"

struct ViewerMessage {
    enum class Kind { DrawClipboard, ChangeCbChain };
    Kind kind = Kind::DrawClipboard;
    WindowHandle wParam = 0;  // WM_CHANGECBCHAIN: the window that leaves the chain
    WindowHandle lParam = 0;  // WM_CHANGECBCHAIN: the window that followed it
};

// A window that can receive the two chain messages.
class ClipboardViewer {
public:
    virtual ~ClipboardViewer() = default;
    virtual void handleViewerMessage(const ViewerMessage& message) = 0;
};

// Holds the windows known to the desktop and the head of the chain. Messages are delivered
// synchronously, as SendMessage does: the call returns when the receiver has handled it.
class ViewerChain {
public:
    // Makes a window known so that it can be addressed by its handle.
    WindowHandle createWindow(ClipboardViewer& window);
    // Forgets a window; messages sent to it afterwards are lost, as with a destroyed window.
    void destroyWindow(WindowHandle window);

    // SetClipboardViewer: puts the window at the head, sends it WM_DRAWCLIPBOARD, and
    // returns the previous head (the window's next viewer), 0 when the chain was empty.
    WindowHandle setClipboardViewer(WindowHandle window);
    // ChangeClipboardChain: when `removed` is the head, `next` becomes the head; then the
    // (new) head is told with WM_CHANGECBCHAIN(removed, next).
    void changeClipboardChain(WindowHandle removed, WindowHandle next);
    // SendMessage to one window; a handle that names no window is ignored.
    void sendMessage(WindowHandle to, const ViewerMessage& message);
    // Announces a clipboard change to the head of the chain.
    void announceChange();

    WindowHandle head() const { return m_head; }

private:
    std::unordered_map<WindowHandle, ClipboardViewer*> m_windows;
    WindowHandle m_head = 0;
    WindowHandle m_nextHandle = 0x10;
};

}  // namespace tessaro

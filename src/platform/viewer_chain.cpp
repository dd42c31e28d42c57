// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/viewer_chain.h"

namespace tessaro {

WindowHandle ViewerChain::createWindow(ClipboardViewer& window) {
    const WindowHandle handle = m_nextHandle++;
    m_windows[handle] = &window;
    return handle;
}

void ViewerChain::destroyWindow(WindowHandle window) { m_windows.erase(window); }

WindowHandle ViewerChain::setClipboardViewer(WindowHandle window) {
    const WindowHandle previous = m_head;
    m_head = window;
    sendMessage(window, {ViewerMessage::Kind::DrawClipboard, 0, 0});
    return previous;
}

void ViewerChain::changeClipboardChain(WindowHandle removed, WindowHandle next) {
    if (m_head == removed) m_head = next;
    if (m_head != 0) sendMessage(m_head, {ViewerMessage::Kind::ChangeCbChain, removed, next});
}

void ViewerChain::sendMessage(WindowHandle to, const ViewerMessage& message) {
    const auto it = m_windows.find(to);
    if (it != m_windows.end()) it->second->handleViewerMessage(message);
}

void ViewerChain::announceChange() {
    if (m_head != 0) sendMessage(m_head, {ViewerMessage::Kind::DrawClipboard, 0, 0});
}

}  // namespace tessaro

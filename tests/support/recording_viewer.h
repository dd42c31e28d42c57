// SPDX-License-Identifier: GPL-3.0-or-later
// A window in the viewer chain that records what it receives and forwards like a
// well-behaved viewer.
#pragma once

#include <vector>

#include "platform/viewer_chain.h"

namespace tessaro::testing {

class RecordingViewer final : public ClipboardViewer {
public:
    explicit RecordingViewer(ViewerChain& chain) : m_chain(chain), handle(chain.createWindow(*this)) {}
    ~RecordingViewer() override { m_chain.destroyWindow(handle); }

    void join() { next = m_chain.setClipboardViewer(handle); }
    void leave() { m_chain.changeClipboardChain(handle, next); }

    void handleViewerMessage(const ViewerMessage& message) override {
        received.push_back(message);
        if (message.kind == ViewerMessage::Kind::ChangeCbChain && message.wParam == next) {
            next = message.lParam;
        } else if (next != 0) {
            m_chain.sendMessage(next, message);
        }
    }

    int draws() const {
        int n = 0;
        for (const auto& m : received) n += m.kind == ViewerMessage::Kind::DrawClipboard;
        return n;
    }

private:
    ViewerChain& m_chain;

public:
    WindowHandle handle;
    WindowHandle next = 0;
    std::vector<ViewerMessage> received;
};

}  // namespace tessaro::testing

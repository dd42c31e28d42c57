// SPDX-License-Identifier: GPL-3.0-or-later
// An in-memory clipboard with the semantics of the Windows clipboard, for tests and
// benchmarks: ordered formats, registered names, replace-all writes, one change
// announcement per close after a write, delivered synchronously through the viewer chain.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/clipboard_backend.h"

namespace tessaro {

class MemoryClipboard final : public ClipboardBackend {
public:
    using Content = std::vector<std::pair<FormatId, ClipboardData>>;

    bool open() override;
    void close() override;
    void empty() override;
    void setData(FormatId format, ClipboardData data) override;
    int formatCount() override;
    FormatId enumFormats(FormatId previous) override;
    const ClipboardData* data(FormatId format) override;
    std::optional<std::string> registeredName(FormatId format) override;
    bool holdsOwnWrite() override { return m_holdsOwnWrite; }
    ViewerChain& viewers() override { return m_chain; }

    // RegisterClipboardFormat: the same name (ignoring ASCII case) gives the same id.
    FormatId registerFormat(std::string_view name);

    // Another program replaces the clipboard content; the change is announced as usual.
    void putFromOtherProgram(Content content);
    // Another program holds the clipboard open, so that open() fails.
    void setHeldByOtherProgram(bool held) { m_heldByOther = held; }
    // SetClipboardData fails from now on (as when memory runs out).
    void setRefuseData(bool refuse) { m_refuseData = refuse; }
    // Writes are announced but do not take from now on: the content stays as it was, as
    // when X11 keeps the selection with a newer owner.
    void setLoseWrites(bool lose) { m_loseWrites = lose; }

    bool isOpen() const { return m_open; }
    const Content& content() const { return m_content; }
    int changeCount() const { return m_changeCount; }

private:
    Content m_content;
    std::map<FormatId, std::string> m_names;
    ViewerChain m_chain;
    bool m_open = false;
    bool m_changedWhileOpen = false;
    bool m_heldByOther = false;
    bool m_refuseData = false;
    bool m_loseWrites = false;
    bool m_holdsOwnWrite = false;
    Content m_beforeWrite;
    int m_changeCount = 0;
};

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// The X11 clipboard seen through Qt with the semantics of numbered formats: text gives
// CF_UNICODETEXT and CF_TEXT, an image CF_BITMAP, and every other MIME type a registered
// format named by the MIME type (ids from 0xC000 up, stable for the run).
#pragma once

#include <QMimeData>
#include <QObject>
#include <QPointer>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/clipboard_backend.h"

class QClipboard;

namespace tessaro {

class QtClipboard final : public QObject, public ClipboardBackend {
    Q_OBJECT
public:
    explicit QtClipboard(QClipboard* clipboard);

    bool open() override;
    void close() override;
    void empty() override;
    void setData(FormatId format, ClipboardData data) override;
    int formatCount() override;
    FormatId enumFormats(FormatId previous) override;
    const ClipboardData* data(FormatId format) override;
    std::optional<std::string> registeredName(FormatId format) override;
    bool holdsOwnWrite() override;
    ViewerChain& viewers() override { return m_chain; }

    // Number of changes seen so far (own writes included).
    int changeCount() const { return m_changes; }

private:
    struct Entry {
        FormatId id = 0;
        QString mimeType;  // where the data comes from
        std::optional<ClipboardData> data;  // read on first use
    };

    void clipboardChanged();
    // Lists the formats of the current content once per change.
    void ensureSnapshot();
    ClipboardData readEntry(const Entry& entry);
    FormatId idForMimeType(const QString& mimeType);
    void publishPending();

    QClipboard* m_clipboard;
    ViewerChain m_chain;
    std::vector<Entry> m_snapshot;
    bool m_snapshotValid = false;
    std::map<QString, FormatId> m_ids;
    std::map<FormatId, std::string> m_names;
    FormatId m_nextId = kFirstRegisteredFormat;
    bool m_open = false;
    bool m_writing = false;
    std::vector<std::pair<FormatId, ClipboardData>> m_pending;
    int m_changes = 0;
    // What our last write handed to Qt: Qt deletes it when another program takes the
    // clipboard, and while we own it the clipboard's data is this very object.
    QPointer<QMimeData> m_published;
};

}  // namespace tessaro

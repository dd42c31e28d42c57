// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_clipboard.h"

#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <algorithm>
#include <cstring>

#include "app/qt_bitmap.h"
#include "app/qt_text.h"
#include "platform/clipboard_error.h"
#include "platform/windows_1252.h"

namespace tessaro {
namespace {

// WORKAROUND: the details list reads format 49159 as UTF-16, a meaning that number has
// on Windows. Our registered ids name MIME types whose bytes are rarely UTF-16, so that
// id is never handed out.
constexpr FormatId kReservedUtf16Id = 49159;

// Targets of the X11 selection protocol itself, which Qt lists beside the content types.
bool isProtocolTarget(const QString& type) {
    static const QStringList targets = {
        QStringLiteral("TARGETS"),          QStringLiteral("MULTIPLE"),
        QStringLiteral("TIMESTAMP"),        QStringLiteral("SAVE_TARGETS"),
        QStringLiteral("DELETE"),           QStringLiteral("INSERT_SELECTION"),
        QStringLiteral("INSERT_PROPERTY"),  QStringLiteral("CLIPBOARD_MANAGER")};
    return targets.contains(type);
}

bool isTextType(const QString& mimeType) { return mimeType.startsWith(u"text/plain"); }
bool isImageType(const QString& mimeType) {
    return mimeType.startsWith(u"image/") || mimeType == u"application/x-qt-image";
}

std::u16string textOfBlock(const MemoryBlock& block) {
    std::u16string text(block.size() / 2, u'\0');
    std::memcpy(text.data(), block.data(), text.size() * 2);
    text.resize(std::min(text.size(), text.find(u'\0')));
    return text;
}

}  // namespace

QtClipboard::QtClipboard(QClipboard* clipboard) : m_clipboard(clipboard) {
    connect(m_clipboard, &QClipboard::changed, this,
            [this](QClipboard::Mode mode) {
                if (mode == QClipboard::Clipboard) clipboardChanged();
            },
            Qt::DirectConnection);
}

void QtClipboard::clipboardChanged() {
    ++m_changes;
    m_snapshotValid = false;
    m_chain.announceChange();
}

bool QtClipboard::open() {
    if (!m_open) {
        m_open = true;
        m_writing = false;
        m_pending.clear();
    }
    return true;
}

void QtClipboard::close() {
    if (!m_open) return;
    m_open = false;
    if (m_writing) {
        m_writing = false;
        publishPending();
    }
}

void QtClipboard::empty() {
    if (!m_open) throw ClipboardError("Clipboard is not open");
    m_writing = true;
    m_pending.clear();
}

void QtClipboard::setData(FormatId format, ClipboardData data) {
    if (!m_open) throw ClipboardError("Clipboard is not open");
    m_writing = true;
    const auto it = std::find_if(m_pending.begin(), m_pending.end(),
                                 [format](const auto& entry) { return entry.first == format; });
    if (it != m_pending.end()) {
        it->second = std::move(data);
    } else {
        m_pending.emplace_back(format, std::move(data));
    }
}

void QtClipboard::publishPending() {
    auto mime = std::make_unique<QMimeData>();
    bool hasUnicode = false;
    for (const auto& [format, data] : m_pending) {
        if (format == CF_UNICODETEXT) {
            if (const auto* block = std::get_if<MemoryBlock>(&data)) {
                mime->setText(toQString(textOfBlock(*block)));
                hasUnicode = true;
            }
        } else if (format == CF_TEXT && !hasUnicode) {
            if (const auto* block = std::get_if<MemoryBlock>(&data)) {
                const std::string_view bytes(reinterpret_cast<const char*>(block->data()), block->size());
                mime->setText(toQString(ansiToUtf16(bytes.substr(0, bytes.find('\0')))));
            }
        } else if (format == CF_BITMAP) {
            if (const auto* bitmap = std::get_if<std::shared_ptr<const Bitmap>>(&data); bitmap && *bitmap) {
                mime->setImageData(toQImage(*bitmap).copy());
            }
        } else if (const auto name = m_names.find(format); name != m_names.end()) {
            if (const auto* block = std::get_if<MemoryBlock>(&data)) {
                mime->setData(QString::fromStdString(name->second),
                              QByteArray(reinterpret_cast<const char*>(block->data()),
                                         static_cast<qsizetype>(block->size())));
            }
        }
    }
    m_pending.clear();
    // Qt announces the new content from inside setMimeData(), so the change reaches the
    // viewer chain nested inside this close, as the Windows clipboard does it.
    m_published = mime.get();
    m_clipboard->setMimeData(mime.release(), QClipboard::Clipboard);
}

bool QtClipboard::holdsOwnWrite() {
    // On X11 the clipboard's data is ours only while we own the selection; a refused
    // write leaves the newer owner's data in place.
    return m_published && m_clipboard->mimeData(QClipboard::Clipboard) == m_published;
}

FormatId QtClipboard::idForMimeType(const QString& mimeType) {
    const auto it = m_ids.find(mimeType);
    if (it != m_ids.end()) return it->second;
    if (m_nextId == kReservedUtf16Id) ++m_nextId;
    if (m_nextId == 0) return 0;  // all ids used up: the type stays unlisted
    const FormatId id = m_nextId++;
    m_ids.emplace(mimeType, id);
    m_names.emplace(id, mimeType.toStdString());
    return id;
}

void QtClipboard::ensureSnapshot() {
    if (m_snapshotValid) return;
    m_snapshotValid = true;
    m_snapshot.clear();
    const QMimeData* mime = m_clipboard->mimeData(QClipboard::Clipboard);
    if (!mime) return;
    bool textListed = false;
    bool imageListed = false;
    for (const QString& type : mime->formats()) {
        if (isProtocolTarget(type)) continue;
        if (isTextType(type)) {
            if (textListed) continue;
            textListed = true;
            m_snapshot.push_back({CF_UNICODETEXT, type, std::nullopt});
            m_snapshot.push_back({CF_TEXT, type, std::nullopt});
        } else if (isImageType(type)) {
            if (imageListed) continue;
            imageListed = true;
            m_snapshot.push_back({CF_BITMAP, type, std::nullopt});
        } else if (const FormatId id = idForMimeType(type); id != 0) {
            m_snapshot.push_back({id, type, std::nullopt});
        }
    }
}

ClipboardData QtClipboard::readEntry(const Entry& entry) {
    const QMimeData* mime = m_clipboard->mimeData(QClipboard::Clipboard);
    if (!mime) return MemoryBlock{};
    if (entry.id == CF_UNICODETEXT) return utf16Block(toU16(mime->text()));
    if (entry.id == CF_TEXT) return ansiBlock(utf16ToAnsi(toU16(mime->text())));
    if (entry.id == CF_BITMAP) {
        const QImage image = qvariant_cast<QImage>(mime->imageData());
        if (image.isNull()) return MemoryBlock{};  // undecodable: no bitmap object
        return std::make_shared<const Bitmap>(toBitmap(image));
    }
    const QByteArray bytes = mime->data(entry.mimeType);
    return MemoryBlock(bytes.begin(), bytes.end());
}

int QtClipboard::formatCount() {
    ensureSnapshot();
    return static_cast<int>(m_snapshot.size());
}

FormatId QtClipboard::enumFormats(FormatId previous) {
    if (!m_open) return 0;
    ensureSnapshot();
    if (previous == 0) return m_snapshot.empty() ? 0 : m_snapshot.front().id;
    for (std::size_t i = 0; i + 1 < m_snapshot.size(); ++i) {
        if (m_snapshot[i].id == previous) return m_snapshot[i + 1].id;
    }
    return 0;
}

const ClipboardData* QtClipboard::data(FormatId format) {
    if (!m_open) return nullptr;
    ensureSnapshot();
    for (Entry& entry : m_snapshot) {
        if (entry.id != format) continue;
        if (!entry.data) entry.data = readEntry(entry);
        return &*entry.data;
    }
    return nullptr;
}

std::optional<std::string> QtClipboard::registeredName(FormatId format) {
    const auto it = m_names.find(format);
    if (it == m_names.end()) return std::nullopt;
    return it->second;
}

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_clipboard.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <QMimeData>
#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <future>
#include <set>

#include "app/qt_bitmap.h"
#include "app/qt_text.h"
#include "app/x11/selection_reader.h"
#include "platform/background_utf8_decoder.h"
#include "platform/clipboard_error.h"
#include "platform/windows_1252.h"

namespace tessaro {
namespace {

// WORKAROUND: the details list reads format 49159 as UTF-16, a meaning that number has
// on Windows. Our registered ids name MIME types whose bytes are rarely UTF-16, so that
// id is never handed out.
constexpr FormatId kReservedUtf16Id = 49159;

const std::set<std::string>& decodablePictureTypes() {
    static const std::set<std::string> types = [] {
        std::set<std::string> names;
        for (const QByteArray& type : QImageReader::supportedMimeTypes()) names.insert(type.toStdString());
        return names;
    }();
    return types;
}

}  // namespace

QtClipboard::QtClipboard(QClipboard* clipboard, std::unique_ptr<X11SelectionReader> reader)
    : m_clipboard(clipboard), m_reader(std::move(reader)) {
    connect(m_clipboard, &QClipboard::changed, this,
            [this](QClipboard::Mode mode) {
                if (mode == QClipboard::Clipboard) clipboardChanged();
            },
            Qt::DirectConnection);
    if (m_reader) {
        // While the reader waits for an owner, the window goes on answering the user. What
        // could disturb the copy being read waits: its changes are announced after the
        // read, and writes are refused meanwhile.
        m_reader->setPump([] { QCoreApplication::processEvents(QEventLoop::AllEvents); });
    }
}

QtClipboard::QtClipboard(QClipboard* clipboard) : QtClipboard(clipboard, nullptr) {}

QtClipboard::~QtClipboard() = default;

void QtClipboard::clipboardChanged() {
    if (m_takingOver) return;  // our offer of the same content changes nothing
    if (m_reading) {
        // A change while a copy is being read is announced once that run is over: the
        // snapshot it reads must stay whole until then.
        if (!m_changeWhileReading) {
            m_changeWhileReading = true;
            QTimer::singleShot(0, this, [this] {
                m_changeWhileReading = false;
                clipboardChanged();
            });
        }
        return;
    }
    if (takeOverFromVanishedOwner()) return;
    ++m_changes;
    m_snapshotValid = false;
    m_chain.announceChange();
}

bool QtClipboard::takeOverFromVanishedOwner() {
    if (!m_reader || !m_reader->valid() || !m_snapshotValid || m_snapshot.empty()) return false;
    if (holdsOwnWrite() || m_reader->owner() != 0) return false;
    auto mime = std::make_unique<QMimeData>();
    bool offered = false;
    // Offers a target again with the bytes read from its owner, when they were read.
    const auto offerRead = [this, &mime](const std::string& target, std::size_t limit) {
        const auto it = m_bytes.find(target);
        if (it == m_bytes.end() || !it->second || it->second->size() > limit) return false;
        mime->setData(QString::fromStdString(target),
                      QByteArray(it->second->data(), static_cast<qsizetype>(it->second->size())));
        return true;
    };
    for (const Entry& entry : m_snapshot) {
        const std::string& source = entry.plan.sources.front();
        if (entry.plan.kind == PlannedFormat::Kind::Registered && source == "x-kde-passwordManagerHint") {
            return false;
        }
        if (entry.id == CF_UNICODETEXT && m_text) {
            mime->setText(toQString(*m_text));
            offered = true;
        } else if (entry.id == CF_BITMAP && !m_pictureSource.empty()) {
            // The picture as the owner gave it, in the type that decoded.
            offered = offerRead(m_pictureSource, SIZE_MAX) || offered;
        } else if (entry.plan.kind == PlannedFormat::Kind::Registered && entry.plan.text != TargetText::None) {
            offered = offerRead(source, kTakeOverTextLimit) || offered;
        }
    }
    if (!offered) return false;
    m_takingOver = true;
    m_published = mime.get();
    m_clipboard->setMimeData(mime.release(), QClipboard::Clipboard);
    m_takingOver = false;
    return true;
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
    if (!m_open) throw ClipboardError("Clipboard is not open", u"Die Zwischenablage ist nicht geöffnet");
    if (m_reading) throw ClipboardError("The clipboard is being read; try again when the transfer is over",
                                     u"Die Zwischenablage wird gerade gelesen; versuchen Sie es nach der Übertragung erneut");
    m_writing = true;
    m_pending.clear();
}

void QtClipboard::setData(FormatId format, ClipboardData data) {
    if (!m_open) throw ClipboardError("Clipboard is not open", u"Die Zwischenablage ist nicht geöffnet");
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
                mime->setText(toQString(utf16OfBlock(*block)));
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

FormatId QtClipboard::idForName(const std::string& name) {
    const auto it = m_ids.find(name);
    if (it != m_ids.end()) return it->second;
    if (m_nextId == kReservedUtf16Id) ++m_nextId;
    if (m_nextId == 0) return 0;  // all ids used up: the type stays unlisted
    const FormatId id = m_nextId++;
    m_ids.emplace(name, id);
    m_names.emplace(id, name);
    m_conventions.emplace(id, TextConventionOf(name));
    return id;
}

bool QtClipboard::readsThroughQt() { return !m_reader || !m_reader->valid() || holdsOwnWrite(); }

std::vector<std::string> QtClipboard::currentTargets() {
    if (readsThroughQt()) {
        std::vector<std::string> targets;
        if (const QMimeData* mime = m_clipboard->mimeData(QClipboard::Clipboard)) {
            for (const QString& type : mime->formats()) targets.push_back(type.toStdString());
        }
        return targets;
    }
    m_reading = true;
    auto targets = m_reader->targets(std::chrono::steady_clock::now() + kTargetsTimeout);
    m_reading = false;
    m_reader->dispatchPending();
    if (!targets) throw ClipboardError("The program that holds the clipboard did not answer",
                                              u"Das Programm, dem die Zwischenablage gehört, hat nicht geantwortet");
    return std::move(*targets);
}

void QtClipboard::ensureSnapshot() {
    if (m_snapshotValid) return;
    m_snapshot.clear();
    m_contentTargets.clear();
    m_bytes.clear();
    m_text.reset();
    m_textSurvivesAnsi.reset();
    m_pictureSource.clear();
    m_unanswered.clear();
    m_detailsDeadline.reset();
    const std::vector<std::string> targets = currentTargets();
    m_snapshotValid = true;
    for (PlannedFormat& plan : PlanFormats(targets, decodablePictureTypes())) {
        switch (plan.kind) {
            case PlannedFormat::Kind::Text:
                m_contentTargets.insert(m_contentTargets.end(), plan.sources.begin(), plan.sources.end());
                m_snapshot.push_back({CF_UNICODETEXT, plan, std::nullopt});
                m_snapshot.push_back({CF_TEXT, std::move(plan), std::nullopt});
                break;
            case PlannedFormat::Kind::Bitmap:
                m_contentTargets.insert(m_contentTargets.end(), plan.sources.begin(), plan.sources.end());
                m_snapshot.push_back({CF_BITMAP, std::move(plan), std::nullopt});
                break;
            case PlannedFormat::Kind::Registered:
                if (const FormatId id = idForName(plan.sources.front()); id != 0) {
                    m_snapshot.push_back({id, std::move(plan), std::nullopt});
                }
                break;
        }
    }
}

std::optional<std::string> QtClipboard::fetch(const std::string& target, const X11SelectionReader::Consumer* consume) {
    if (readsThroughQt()) {
        const QMimeData* mime = m_clipboard->mimeData(QClipboard::Clipboard);
        if (!mime || !mime->hasFormat(QString::fromStdString(target))) return std::nullopt;
        const QByteArray bytes = mime->data(QString::fromStdString(target));
        return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
    const auto now = std::chrono::steady_clock::now();
    const bool content = std::find(m_contentTargets.begin(), m_contentTargets.end(), target) != m_contentTargets.end();
    if (!content && !m_detailsDeadline) m_detailsDeadline = now + kDetailsTimeout;
    const auto deadline = content ? now + kContentTimeout : *m_detailsDeadline;
    const auto progress = [this](std::size_t bytes, std::size_t total) {
        if (onTransfer) onTransfer(bytes, total, false);
    };
    m_reading = true;
    X11SelectionReader::ReadResult result =
        consume ? m_reader->readInto(target, deadline, *consume, progress) : m_reader->read(target, deadline, progress);
    m_reading = false;
    if (onTransfer) onTransfer(result.data.size(), result.data.size(), true);
    m_reader->dispatchPending();
    if (result.status == X11SelectionReader::Status::TimedOut || result.status == X11SelectionReader::Status::OwnerGone) {
        m_unanswered.insert(target);
    }
    if (result.status != X11SelectionReader::Status::Ok) return std::nullopt;
    return std::move(result.data);
}

const std::optional<std::string>& QtClipboard::bytesOf(const std::string& target) {
    auto it = m_bytes.find(target);
    if (it == m_bytes.end()) it = m_bytes.emplace(target, fetch(target)).first;
    return it->second;
}

SharedUtf16 QtClipboard::text(const PlannedFormat& plan) {
    if (!m_text) {
        for (const std::string& source : plan.sources) {
            if (std::optional<std::u16string> streamed = decodeWhileArriving(source)) {
                m_text = std::make_shared<const std::u16string>(std::move(*streamed));
                break;
            }
            const auto& bytes = bytesOf(source);
            if (!bytes) continue;
            m_text = std::make_shared<const std::u16string>(decode(*bytes, TextConventionOf(source)));
            // The decoded text serves every later reader; the bytes are not needed again.
            m_bytes[source] = std::string();
            break;
        }
    }
    return m_text;
}

std::optional<std::u16string> QtClipboard::decodeWhileArriving(const std::string& source) {
    if (readsThroughQt() || TextConventionOf(source) != TargetText::Utf8 || m_bytes.count(source)) return std::nullopt;
    // The 8-bit form of the text is listed too: whether the code page holds it is found out
    // on the decoding thread, along the way.
    bool survives = true;
    BackgroundUtf8Decoder decoder([&survives](std::u16string_view part) { survives = survives && survivesAnsi(part); });
    const X11SelectionReader::Consumer consume = [&decoder](std::string_view piece) { decoder.feed(piece); };
    std::optional<std::string> done = fetch(source, &consume);
    m_bytes[source] = done ? std::optional<std::string>(std::string()) : std::nullopt;
    if (!done) return std::nullopt;
    std::u16string text = waitBesideTheWindow(decoder.finish());
    m_textSurvivesAnsi = survives;  // the decoding thread is done with it
    // X11 texts may end with 0 bytes; as everywhere else, they are not part of the text.
    while (!text.empty() && text.back() == u'\0') text.pop_back();
    return text;
}

template <typename Result>
Result QtClipboard::waitBesideTheWindow(std::future<Result> done) {
    m_reading = true;
    while (done.wait_for(X11SelectionReader::pumpInterval()) != std::future_status::ready) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    m_reading = false;
    return done.get();
}

template <typename Work>
auto QtClipboard::besideTheWindow(bool large, Work work) -> decltype(work()) {
    if (readsThroughQt() || !large) return work();
    // Longer than a window may stand still: a thread of its own does it while the window
    // goes on, as it does while the owner sends the data.
    return waitBesideTheWindow(std::async(std::launch::async, std::move(work)));
}

std::u16string QtClipboard::decode(const std::string& bytes, TargetText convention) {
    return besideTheWindow(bytes.size() >= kBackgroundDecodeBytes,
                           [&bytes, convention] { return textOfBytes(bytes, convention); });
}

ClipboardData QtClipboard::readEntry(const Entry& entry) {
    if (entry.id == CF_UNICODETEXT || entry.id == CF_TEXT) {
        const SharedUtf16 value = text(entry.plan);
        if (!value) return MemoryBlock{};
        if (entry.id == CF_UNICODETEXT) return value;
        return AnsiOfUtf16{value, m_textSurvivesAnsi};
    }
    if (entry.id == CF_BITMAP) {
        // The best picture type that decodes; an offer that does not is no picture.
        for (const std::string& source : entry.plan.sources) {
            std::optional<Bitmap> bitmap;
            if (source == "application/x-qt-image") {
                if (const QMimeData* mime = m_clipboard->mimeData(QClipboard::Clipboard)) {
                    const QImage image = qvariant_cast<QImage>(mime->imageData());
                    if (!image.isNull()) bitmap = toBitmap(image);
                }
            } else if (const auto& bytes = bytesOf(source)) {
                // A small file may hold a very large picture: what counts is the decoding.
                bitmap = besideTheWindow(true, [&bytes] { return decodeBitmap(*bytes); });
            }
            if (!bitmap) continue;
            if (source != "application/x-qt-image") m_pictureSource = source;
            return std::make_shared<const Bitmap>(std::move(*bitmap));
        }
        return MemoryBlock{};  // no bitmap object
    }
    const auto& bytes = bytesOf(entry.plan.sources.front());
    if (!bytes) return MemoryBlock{};
    return MemoryBlock(bytes->begin(), bytes->end());
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

bool QtClipboard::unanswered(FormatId format) {
    const auto name = m_names.find(format);
    return name != m_names.end() && m_unanswered.count(name->second) > 0;
}

TargetText QtClipboard::textConvention(FormatId format) {
    const auto it = m_conventions.find(format);
    return it == m_conventions.end() ? TargetText::None : it->second;
}

}  // namespace tessaro

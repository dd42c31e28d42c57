// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop clipboard with the semantics of numbered formats: a text gives CF_UNICODETEXT
// and CF_TEXT, a decodable picture CF_BITMAP, and every other target a registered format
// named by the target (ids from 0xC000 up, stable for the run).
//
// On X11 another program's copy is read through a selection reader of our own: every wait
// has a deadline, the window keeps being served while a large text arrives, and each target
// is read at most once per copy. Our own content, and the clipboard of other platforms, is
// read through Qt. Writes always go through Qt, which serves them to other programs.
#pragma once

#include <QObject>
#include <QMimeData>
#include <QPointer>
#include <chrono>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/clipboard_targets.h"
#include "app/x11/selection_reader.h"
#include "platform/clipboard_backend.h"

class QClipboard;

namespace tessaro {

class QtClipboard final : public QObject, public ClipboardBackend {
    Q_OBJECT
public:
    // Reads everything through Qt.
    explicit QtClipboard(QClipboard* clipboard);
    // `reader` reads other programs' copies.
    QtClipboard(QClipboard* clipboard, std::unique_ptr<X11SelectionReader> reader);
    ~QtClipboard() override;

    bool open() override;
    void close() override;
    void empty() override;
    void setData(FormatId format, ClipboardData data) override;
    int formatCount() override;
    FormatId enumFormats(FormatId previous) override;
    const ClipboardData* data(FormatId format) override;
    std::optional<std::string> registeredName(FormatId format) override;
    bool holdsOwnWrite() override;
    TargetText textConvention(FormatId format) override;
    bool unanswered(FormatId format) override;
    ViewerChain& viewers() override { return m_chain; }

    // Number of changes seen so far (own writes included).
    int changeCount() const { return m_changes; }

    // Told while a target arrives (bytes so far, the total when known) and once more with
    // `finished` when it is complete or given up; for a progress note on long transfers.
    std::function<void(std::size_t bytes, std::size_t total, bool finished)> onTransfer;

    // How long the owner may take: to list its targets, to hand over the text or the
    // picture, and for all other targets of one copy together.
    static constexpr std::chrono::milliseconds kTargetsTimeout{3000};
    static constexpr std::chrono::milliseconds kContentTimeout{10000};
    static constexpr std::chrono::milliseconds kDetailsTimeout{1000};

private:
    struct Entry {
        FormatId id = 0;
        PlannedFormat plan;
        std::optional<ClipboardData> data;  // read on first use
    };

    void clipboardChanged();
    // When the program that owned the copy we read has gone (X11 empties the clipboard
    // then), we offer what we read of it ourselves: its text, its picture and its small text
    // types, never a secret. True when we did.
    bool takeOverFromVanishedOwner();
    // Lists the formats of the current content once per change; throws ClipboardError when
    // the owner does not say what it offers.
    void ensureSnapshot();
    std::vector<std::string> currentTargets();
    // The bytes of one target, read once per copy; nothing when the owner refused it, did
    // not answer in time or went away.
    const std::optional<std::string>& bytesOf(const std::string& target);
    std::optional<std::string> fetch(const std::string& target, const X11SelectionReader::Consumer* consume = nullptr);
    // Reads a UTF-8 text target from another program and decodes it while it arrives;
    // nothing when the target is not such a text, was read before, or did not come.
    std::optional<std::u16string> decodeWhileArriving(const std::string& source);
    ClipboardData readEntry(const Entry& entry);
    std::u16string decode(const std::string& bytes, TargetText convention);
    // Runs `work` on a thread of its own when `large`, keeping the window going meanwhile;
    // changes of the clipboard wait and writes are refused as during a transfer.
    template <typename Work>
    auto besideTheWindow(bool large, Work work) -> decltype(work());
    // Waits for work on another thread, keeping the window going as besideTheWindow does.
    template <typename Result>
    Result waitBesideTheWindow(std::future<Result> done);
    // The text of the copy, decoded once and shared with everyone who reads it.
    SharedUtf16 text(const PlannedFormat& plan);
    FormatId idForName(const std::string& name);
    void publishPending();
    // True while the content is ours or no reader is at hand: Qt's data then serves.
    bool readsThroughQt();

    QClipboard* m_clipboard;
    std::unique_ptr<X11SelectionReader> m_reader;
    ViewerChain m_chain;
    std::vector<Entry> m_snapshot;
    bool m_snapshotValid = false;
    // Targets that only give a text or picture; their reads get the longer deadline.
    std::vector<std::string> m_contentTargets;
    std::map<std::string, std::optional<std::string>> m_bytes;
    // Targets whose owner did not hand them over in time (or went away meanwhile).
    std::set<std::string> m_unanswered;
    SharedUtf16 m_text;
    // Whether the code page holds every character of m_text, where that was found out.
    std::optional<bool> m_textSurvivesAnsi;
    // The picture type the bitmap was decoded from; empty before or without one.
    std::string m_pictureSource;
    std::optional<std::chrono::steady_clock::time_point> m_detailsDeadline;
    std::map<std::string, FormatId> m_ids;
    std::map<FormatId, std::string> m_names;
    std::map<FormatId, TargetText> m_conventions;
    FormatId m_nextId = kFirstRegisteredFormat;
    bool m_open = false;
    bool m_writing = false;
    bool m_reading = false;
    bool m_changeWhileReading = false;
    bool m_takingOver = false;
    // The largest text type (other than the text itself) offered again after its owner left.
    static constexpr std::size_t kTakeOverTextLimit = std::size_t{1} << 20;
    // Texts from this size on are decoded beside the window, not in its stead.
    static constexpr std::size_t kBackgroundDecodeBytes = std::size_t{4} << 20;
    std::vector<std::pair<FormatId, ClipboardData>> m_pending;
    int m_changes = 0;
    // What our last write handed to Qt: Qt deletes it when another program takes the
    // clipboard, and while we own it the clipboard's data is this very object.
    QPointer<QMimeData> m_published;
};

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the X11 CLIPBOARD selection on a connection of its own, so that a slow, hanging or
// vanishing owner never blocks the caller: every call that waits for the owner takes an
// absolute deadline and, while it waits, calls a pump callback in which the caller keeps its
// own event loop (its window) going. No Qt here: plain C++ on libxcb and XFixes.
//
// Time stamps: requests are sent with CurrentTime. The reader always wants what the current
// owner holds; a change of owner during a transfer is seen through XFixes and reported as
// OwnerGone, and late answers to an earlier, abandoned request are kept apart because every
// request names a property of its own (a small rotating set on the reader's window).
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct xcb_connection_t;

namespace tessaro {

class X11SelectionReader {
public:
    using Clock = std::chrono::steady_clock;
    // Absolute time at which a waiting call gives up.
    using Deadline = Clock::time_point;
    using WindowId = std::uint32_t;     // xcb_window_t
    using Timestamp = std::uint32_t;    // xcb_timestamp_t
    // Called as data arrives: the bytes received so far, and the total when known: the size an
    // owner announced for an incremental transfer (0 when it announced none, as xclip does),
    // or the property's size when the data came in one property.
    using Progress = std::function<void(std::size_t bytesSoFar, std::size_t totalHint)>;

    enum class Status {
        Ok,
        Refused,         // the owner answered that it cannot give this target
        NoOwner,         // nobody owns the selection
        TimedOut,        // the deadline passed before the transfer ended
        OwnerGone,       // the owner went away or the selection changed hands meanwhile
        TooLarge,        // more bytes than the limit (or than memory allows)
        Busy,            // called from inside the pump of a call still running
        ConnectionLost,  // the reader's own X connection is broken (or never opened)
    };

    struct ReadResult {
        Status status = Status::ConnectionLost;
        std::string data;  // complete only with Status::Ok
        std::string type;  // the property type the owner gave, e.g. "UTF8_STRING"
    };

    enum class OwnerChange { NewOwner, OwnerWindowDestroyed, OwnerClientClosed };

    struct OwnerEvent {
        OwnerChange change = OwnerChange::NewOwner;
        WindowId owner = 0;              // the new owner (0 when the selection has none now)
        Timestamp timestamp = 0;         // when the server saw the change
        Timestamp selectionTimestamp = 0;  // the time the owner gave when taking the selection
    };

    // Connects to `display` (nullptr: $DISPLAY) and watches the named selection.
    explicit X11SelectionReader(const char* display = nullptr, const std::string& selection = "CLIPBOARD");
    ~X11SelectionReader();
    X11SelectionReader(const X11SelectionReader&) = delete;
    X11SelectionReader& operator=(const X11SelectionReader&) = delete;

    // False when the connection failed, broke, or the server lacks XFixes.
    bool valid() const;

    // Called at least every pumpInterval() while a call waits for the owner or the server.
    // Never called from inside itself; a read() started from inside it returns Busy.
    void setPump(std::function<void()> pump) { m_pump = std::move(pump); }
    static constexpr std::chrono::milliseconds pumpInterval() { return std::chrono::milliseconds(10); }

    // The owner's targets by name. Empty when nobody owns the selection; nullopt when the
    // owner refused, did not answer in time, went away, or the connection is broken.
    std::optional<std::vector<std::string>> targets(Deadline deadline);

    // The bytes of one target. Incremental (INCR) transfers and large properties are read in
    // pieces into one buffer, reserved from the announced size when there is one.
    ReadResult read(const std::string& target, Deadline deadline, const Progress& progress = {},
                    std::size_t limit = std::numeric_limits<std::size_t>::max());
    // The same, but the bytes go to `consume` piece by piece as they arrive instead of into
    // the result, so that the caller works on a large transfer while it goes on. After any
    // status but Ok, what was handed over is incomplete.
    using Consumer = std::function<void(std::string_view piece)>;
    ReadResult readInto(const std::string& target, Deadline deadline, const Consumer& consume,
                        const Progress& progress = {});

    // The current owner's window (0 when none), asked from the server.
    WindowId owner();
    // Whether `window` (for instance the caller's own clipboard window) owns the selection.
    bool ownedBy(WindowId window) { return window != 0 && owner() == window; }

    // Owner changes are delivered to `callback` from dispatchPending() only, never from inside
    // a read or targets call; those that arrive meanwhile are kept until then.
    void watchOwner(std::function<void(const OwnerEvent&)> callback);
    // Readable when events may be waiting: hook it into the caller's loop (QSocketNotifier)
    // and call dispatchPending() then, and also after every read() or targets(), since events
    // taken from the socket during a call no longer make the descriptor readable.
    int fileDescriptor() const;
    void dispatchPending();

    // The reader's own window, on which the owner puts the data.
    WindowId window() const { return m_window; }

private:
    struct PropertyRead {
        bool ok = false;        // false: the server did not answer (connection broken)
        bool tooLarge = false;  // over the limit: nothing appended
        std::uint32_t type = 0;
        std::uint8_t format = 0;
        std::size_t bytes = 0;      // the property's size
        std::size_t incrHint = 0;   // the announced size when the type is INCR
    };

    std::uint32_t atom(const std::string& name);
    std::optional<std::string> atomName(std::uint32_t atom);
    ReadResult transfer(const std::string& target, std::uint32_t property, Deadline deadline,
                        const Progress& progress, std::size_t limit);
    // Appends the whole property to `out` in pieces and deletes it; an INCR announcement is
    // not appended. Progress reports `hint` as the total when `incremental`, else the
    // property's own size.
    PropertyRead readProperty(std::uint32_t property, std::string& out, std::size_t limit, bool incremental,
                              std::size_t hint, const Progress& progress);
    // The next event from the connection (an xcb_generic_event_t to free), pumping while none
    // comes; nullptr at the deadline or when the connection breaks.
    void* waitForEvent(Deadline deadline);
    // Appends received bytes to `out`, or hands them to the consumer of readInto().
    void take(std::string& out, const char* data, std::size_t size);
    std::size_t received(const std::string& out) const { return m_consumer ? m_received : out.size(); }
    void pumpIfDue();
    // Keeps an event for dispatchPending() when it is about the watched selection; true then.
    bool keepOwnerEvent(const void* event);
    void keepQueuedEvents();
    void takeEvents();

    xcb_connection_t* m_connection = nullptr;
    WindowId m_window = 0;
    std::uint32_t m_selection = 0;
    std::uint32_t m_incr = 0;
    std::uint8_t m_xfixesFirstEvent = 0;
    bool m_valid = false;
    std::vector<std::uint32_t> m_properties;
    std::size_t m_nextProperty = 0;
    std::map<std::string, std::uint32_t> m_atoms;
    std::map<std::uint32_t, std::string> m_atomNames;

    std::function<void()> m_pump;
    Clock::time_point m_lastPump;
    bool m_inPump = false;
    bool m_busy = false;
    const Consumer* m_consumer = nullptr;
    std::size_t m_received = 0;

    std::function<void(const OwnerEvent&)> m_ownerCallback;
    std::deque<OwnerEvent> m_ownerEvents;
};

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/x11/selection_reader.h"

#include <poll.h>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

namespace tessaro {

namespace {

struct FreeDeleter {
    void operator()(void* pointer) const { std::free(pointer); }
};
template <typename T>
using XcbPtr = std::unique_ptr<T, FreeDeleter>;

// Bytes asked for by one GetProperty, and how many such requests are in flight at once: few
// round trips for a text of many megabytes, while the replies xcb holds stay a few MB.
constexpr std::uint32_t kPieceBytes = 256 * 1024;
constexpr std::size_t kPiecesInFlight = 8;
// Properties used in turn, one per request, so that a late answer to an abandoned request
// lands where the current one does not look.
constexpr int kPropertyCount = 4;
// An owner's INCR size is only a hint: never reserve more than this from it alone.
constexpr std::size_t kMaxReserve = std::size_t(1) << 30;

class Flag {
public:
    explicit Flag(bool& flag) : m_flag(flag) { m_flag = true; }
    ~Flag() { m_flag = false; }
    Flag(const Flag&) = delete;
    Flag& operator=(const Flag&) = delete;

private:
    bool& m_flag;
};

}  // namespace

X11SelectionReader::X11SelectionReader(const char* display, const std::string& selection) {
    int screenNumber = 0;
    m_connection = xcb_connect(display, &screenNumber);
    if (xcb_connection_has_error(m_connection)) return;

    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(m_connection, &xcb_xfixes_id);
    if (!xfixes || !xfixes->present) return;
    m_xfixesFirstEvent = xfixes->first_event;
    // The server enables XFixes for a client only once it has told its version.
    XcbPtr<xcb_xfixes_query_version_reply_t> version(xcb_xfixes_query_version_reply(
        m_connection, xcb_xfixes_query_version(m_connection, 5, 0), nullptr));
    if (!version || version->major_version < 1) return;

    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int i = 0; i < screenNumber && screens.rem; ++i) xcb_screen_next(&screens);
    if (!screens.rem) return;
    const xcb_screen_t* screen = screens.data;

    // Never mapped: it only receives the data and the events about it.
    m_window = xcb_generate_id(m_connection);
    const std::uint32_t events[] = {XCB_EVENT_MASK_PROPERTY_CHANGE};
    xcb_create_window(m_connection, 0, m_window, screen->root, -1, -1, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, events);

    m_selection = atom(selection);
    m_incr = atom("INCR");
    for (int i = 0; i < kPropertyCount; ++i) m_properties.push_back(atom("TESSARO_SELECTION_" + std::to_string(i)));
    if (!m_selection || !m_incr || std::count(m_properties.begin(), m_properties.end(), 0u) != 0) return;

    xcb_xfixes_select_selection_input(m_connection, m_window, m_selection,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    xcb_flush(m_connection);
    m_valid = !xcb_connection_has_error(m_connection);
}

X11SelectionReader::~X11SelectionReader() {
    if (!m_connection) return;
    if (m_window && !xcb_connection_has_error(m_connection)) xcb_destroy_window(m_connection, m_window);
    xcb_disconnect(m_connection);
}

bool X11SelectionReader::valid() const { return m_valid && !xcb_connection_has_error(m_connection); }

int X11SelectionReader::fileDescriptor() const {
    return m_connection ? xcb_get_file_descriptor(m_connection) : -1;
}

std::uint32_t X11SelectionReader::atom(const std::string& name) {
    if (auto known = m_atoms.find(name); known != m_atoms.end()) return known->second;
    XcbPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, 0, static_cast<std::uint16_t>(name.size()), name.data()),
        nullptr));
    if (!reply) return XCB_ATOM_NONE;
    m_atoms.emplace(name, reply->atom);
    m_atomNames.emplace(reply->atom, name);
    return reply->atom;
}

std::optional<std::string> X11SelectionReader::atomName(std::uint32_t atom) {
    if (auto known = m_atomNames.find(atom); known != m_atomNames.end()) return known->second;
    xcb_generic_error_t* error = nullptr;
    XcbPtr<xcb_get_atom_name_reply_t> reply(
        xcb_get_atom_name_reply(m_connection, xcb_get_atom_name(m_connection, atom), &error));
    std::free(error);
    if (!reply) return std::nullopt;
    std::string name(xcb_get_atom_name_name(reply.get()),
                     static_cast<std::size_t>(xcb_get_atom_name_name_length(reply.get())));
    m_atomNames.emplace(atom, name);
    m_atoms.emplace(name, atom);
    return name;
}

X11SelectionReader::WindowId X11SelectionReader::owner() {
    if (!valid()) return 0;
    XcbPtr<xcb_get_selection_owner_reply_t> reply(xcb_get_selection_owner_reply(
        m_connection, xcb_get_selection_owner(m_connection, m_selection), nullptr));
    return reply ? reply->owner : 0;
}

void X11SelectionReader::watchOwner(std::function<void(const OwnerEvent&)> callback) {
    m_ownerCallback = std::move(callback);
    if (!m_ownerCallback) m_ownerEvents.clear();
}

bool X11SelectionReader::keepOwnerEvent(const void* generic) {
    const auto* event = static_cast<const xcb_generic_event_t*>(generic);
    if ((event->response_type & 0x7f) != m_xfixesFirstEvent + XCB_XFIXES_SELECTION_NOTIFY) return false;
    const auto* notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t*>(event);
    if (notify->selection != m_selection) return false;
    if (m_ownerCallback) {
        OwnerEvent owner;
        owner.change = notify->subtype == XCB_XFIXES_SELECTION_EVENT_SELECTION_WINDOW_DESTROY
                           ? OwnerChange::OwnerWindowDestroyed
                       : notify->subtype == XCB_XFIXES_SELECTION_EVENT_SELECTION_CLIENT_CLOSE
                           ? OwnerChange::OwnerClientClosed
                           : OwnerChange::NewOwner;
        owner.owner = notify->owner;
        owner.timestamp = notify->timestamp;
        owner.selectionTimestamp = notify->selection_timestamp;
        m_ownerEvents.push_back(owner);
    }
    return true;
}

void X11SelectionReader::keepQueuedEvents() {
    while (xcb_generic_event_t* event = xcb_poll_for_queued_event(m_connection)) {
        keepOwnerEvent(event);
        std::free(event);
    }
}

void X11SelectionReader::takeEvents() {
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
        keepOwnerEvent(event);
        std::free(event);
    }
}

void X11SelectionReader::dispatchPending() {
    // From inside a read's pump the events belong to the read; they come after it.
    if (m_busy || !m_connection) return;
    takeEvents();
    while (!m_ownerEvents.empty() && !m_busy) {
        const OwnerEvent event = m_ownerEvents.front();
        m_ownerEvents.pop_front();
        if (m_ownerCallback) m_ownerCallback(event);
    }
}

void X11SelectionReader::pumpIfDue() {
    if (!m_pump || m_inPump) return;
    if (Clock::now() - m_lastPump < pumpInterval()) return;
    {
        Flag inPump(m_inPump);
        m_pump();
    }
    m_lastPump = Clock::now();
}

void* X11SelectionReader::waitForEvent(Deadline deadline) {
    for (;;) {
        if (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) return event;
        if (xcb_connection_has_error(m_connection)) return nullptr;
        pumpIfDue();
        // The pump may have made a round trip of its own (owner()), queueing events.
        if (xcb_generic_event_t* event = xcb_poll_for_queued_event(m_connection)) return event;
        const auto now = Clock::now();
        if (now >= deadline) return nullptr;
        const auto wait = std::min<Clock::duration>(deadline - now, pumpInterval());
        const int milliseconds = static_cast<int>(
            std::chrono::ceil<std::chrono::milliseconds>(wait).count());
        xcb_flush(m_connection);
        pollfd descriptor{xcb_get_file_descriptor(m_connection), POLLIN, 0};
        ::poll(&descriptor, 1, std::max(milliseconds, 1));
    }
}

X11SelectionReader::PropertyRead X11SelectionReader::readProperty(std::uint32_t property, std::string& out,
                                                                 std::size_t limit, bool incremental,
                                                                 std::size_t hint, const Progress& progress) {
    PropertyRead read;
    // Every piece asks the server to delete the property; it does so only for the piece that
    // reaches the end, which for INCR is the owner's signal to send the next chunk.
    auto request = [&](std::size_t offset) {
        return xcb_get_property(m_connection, 1, m_window, property, XCB_GET_PROPERTY_TYPE_ANY,
                                static_cast<std::uint32_t>(offset / 4), kPieceBytes / 4);
    };
    XcbPtr<xcb_get_property_reply_t> first(xcb_get_property_reply(m_connection, request(0), nullptr));
    if (!first) return read;
    read.ok = true;
    read.type = first->type;
    read.format = first->format;
    if (first->type == XCB_ATOM_NONE) return read;
    const std::size_t firstBytes = static_cast<std::size_t>(xcb_get_property_value_length(first.get()));
    const std::size_t total = firstBytes + first->bytes_after;
    read.bytes = total;
    if (first->type == m_incr) {
        if (firstBytes >= 4) {
            std::uint32_t size = 0;
            std::memcpy(&size, xcb_get_property_value(first.get()), 4);
            read.incrHint = size;
        }
        return read;
    }
    if (total > limit || received(out) > limit - total) {
        read.tooLarge = true;
        if (first->bytes_after) xcb_delete_property(m_connection, m_window, property);
        return read;
    }
    // One buffer for the whole transfer: grow it geometrically when the owner's hint was short.
    if (!m_consumer && out.capacity() < out.size() + total) {
        out.reserve(std::max(out.size() + total, out.capacity() * 2));
    }
    take(out, static_cast<const char*>(xcb_get_property_value(first.get())), firstBytes);
    first.reset();
    if (!incremental) hint = total;
    if (progress && total) progress(received(out), hint);

    std::deque<xcb_get_property_cookie_t> inFlight;
    std::size_t requested = firstBytes;
    while (requested < total || !inFlight.empty()) {
        while (requested < total && inFlight.size() < kPiecesInFlight) {
            inFlight.push_back(request(requested));
            requested += kPieceBytes;
        }
        XcbPtr<xcb_get_property_reply_t> piece(xcb_get_property_reply(m_connection, inFlight.front(), nullptr));
        inFlight.pop_front();
        if (!piece) {
            for (const auto& cookie : inFlight) xcb_discard_reply(m_connection, cookie.sequence);
            read.ok = false;
            return read;
        }
        take(out, static_cast<const char*>(xcb_get_property_value(piece.get())),
             static_cast<std::size_t>(xcb_get_property_value_length(piece.get())));
        piece.reset();
        if (progress) progress(received(out), hint);
        pumpIfDue();
    }
    return read;
}

X11SelectionReader::ReadResult X11SelectionReader::read(const std::string& target, Deadline deadline,
                                                        const Progress& progress, std::size_t limit) {
    if (!valid()) return {Status::ConnectionLost, {}, {}};
    if (m_busy) return {Status::Busy, {}, {}};
    Flag busy(m_busy);
    m_lastPump = Clock::now();
    const std::uint32_t property = m_properties[m_nextProperty++ % m_properties.size()];
    try {
        return transfer(target, property, deadline, progress, limit);
    } catch (const std::bad_alloc&) {
        xcb_delete_property(m_connection, m_window, property);
        xcb_flush(m_connection);
        return {Status::TooLarge, {}, {}};
    }
}

X11SelectionReader::ReadResult X11SelectionReader::readInto(const std::string& target, Deadline deadline,
                                                            const Consumer& consume, const Progress& progress) {
    if (m_busy) return {Status::Busy, {}, {}};
    m_consumer = &consume;
    m_received = 0;
    ReadResult result = read(target, deadline, progress);
    m_consumer = nullptr;
    return result;
}

void X11SelectionReader::take(std::string& out, const char* data, std::size_t size) {
    if (!m_consumer) {
        out.append(data, size);
        return;
    }
    m_received += size;
    if (size) (*m_consumer)(std::string_view(data, size));
}

X11SelectionReader::ReadResult X11SelectionReader::transfer(const std::string& target, std::uint32_t property,
                                                            Deadline deadline, const Progress& progress,
                                                            std::size_t limit) {
    ReadResult result;
    const std::uint32_t targetAtom = atom(target);
    XcbPtr<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
        m_connection, xcb_get_selection_owner(m_connection, m_selection), nullptr));
    if (!targetAtom || !owner) return result;
    if (owner->owner == XCB_WINDOW_NONE) {
        result.status = Status::NoOwner;
        return result;
    }
    // Owner changes the server reported before its answer above are older than this request:
    // they are for the watcher, not a sign that this transfer's owner went away.
    keepQueuedEvents();

    xcb_delete_property(m_connection, m_window, property);
    xcb_convert_selection(m_connection, m_window, m_selection, targetAtom, property, XCB_CURRENT_TIME);
    xcb_flush(m_connection);

    auto finish = [&](Status status) {
        // Nothing of an unfinished transfer stays on the server, nor a partial result here.
        xcb_delete_property(m_connection, m_window, property);
        xcb_flush(m_connection);
        result.status = status;
        if (status != Status::Ok) {
            result.data.clear();
            result.data.shrink_to_fit();
        }
        return std::move(result);
    };
    auto failure = [&](const PropertyRead& read) {
        if (!read.ok) return Status::ConnectionLost;
        return Status::TooLarge;
    };

    bool incremental = false;
    std::size_t hint = 0;
    for (;;) {
        XcbPtr<xcb_generic_event_t> event(static_cast<xcb_generic_event_t*>(waitForEvent(deadline)));
        if (!event) return finish(xcb_connection_has_error(m_connection) ? Status::ConnectionLost : Status::TimedOut);
        if (keepOwnerEvent(event.get())) return finish(Status::OwnerGone);
        const std::uint8_t type = event->response_type & 0x7f;

        if (type == XCB_SELECTION_NOTIFY && !incremental) {
            const auto* notify = reinterpret_cast<const xcb_selection_notify_event_t*>(event.get());
            if (notify->requestor != m_window || notify->selection != m_selection || notify->target != targetAtom)
                continue;
            if (notify->property == XCB_ATOM_NONE) return finish(Status::Refused);
            if (notify->property != property) continue;
            const PropertyRead read = readProperty(property, result.data, limit, false, 0, progress);
            if (!read.ok || read.tooLarge) return finish(failure(read));
            // An owner that names a property it never set has given nothing.
            if (read.type == XCB_ATOM_NONE) return finish(Status::Refused);
            if (read.type == m_incr) {
                // Reading it deleted the property: that asks the owner for the first chunk.
                hint = read.incrHint;
                if (hint > limit) return finish(Status::TooLarge);
                if (!m_consumer) result.data.reserve(std::min(hint, kMaxReserve));
                incremental = true;
                continue;
            }
            result.type = atomName(read.type).value_or(std::string());
            return finish(Status::Ok);
        }

        if (type == XCB_PROPERTY_NOTIFY && incremental) {
            const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event.get());
            if (notify->window != m_window || notify->atom != property || notify->state != XCB_PROPERTY_NEW_VALUE)
                continue;
            const PropertyRead read = readProperty(property, result.data, limit, true, hint, progress);
            if (!read.ok || read.tooLarge) return finish(failure(read));
            if (read.type == XCB_ATOM_NONE) continue;  // already read and deleted
            if (result.type.empty()) result.type = atomName(read.type).value_or(std::string());
            // A chunk of no bytes ends the transfer.
            if (read.bytes == 0) return finish(Status::Ok);
        }
    }
}

std::optional<std::vector<std::string>> X11SelectionReader::targets(Deadline deadline) {
    // A list of atoms: a hostile owner could send any amount, so a generous bound.
    const ReadResult list = read("TARGETS", deadline, {}, 1 << 20);
    if (list.status == Status::NoOwner) return std::vector<std::string>{};
    if (list.status != Status::Ok || (list.type != "ATOM" && list.type != "TARGETS")) return std::nullopt;

    std::vector<std::uint32_t> atoms(list.data.size() / 4);
    std::memcpy(atoms.data(), list.data.data(), atoms.size() * 4);
    // Names not seen before are asked for all at once: one round trip, not one per atom.
    std::vector<std::pair<std::uint32_t, xcb_get_atom_name_cookie_t>> asked;
    for (std::uint32_t atom : atoms) {
        if (atom != XCB_ATOM_NONE && !m_atomNames.count(atom))
            asked.emplace_back(atom, xcb_get_atom_name(m_connection, atom));
    }
    for (const auto& [atom, cookie] : asked) {
        xcb_generic_error_t* error = nullptr;
        XcbPtr<xcb_get_atom_name_reply_t> reply(xcb_get_atom_name_reply(m_connection, cookie, &error));
        std::free(error);
        if (!reply) continue;
        std::string name(xcb_get_atom_name_name(reply.get()),
                         static_cast<std::size_t>(xcb_get_atom_name_name_length(reply.get())));
        m_atomNames.emplace(atom, name);
        m_atoms.emplace(std::move(name), atom);
    }
    std::vector<std::string> names;
    for (std::uint32_t atom : atoms) {
        auto known = m_atomNames.find(atom);
        if (known != m_atomNames.end() && std::find(names.begin(), names.end(), known->second) == names.end())
            names.push_back(known->second);
    }
    return names;
}

}  // namespace tessaro

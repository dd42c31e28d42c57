// SPDX-License-Identifier: GPL-3.0-or-later
// A list of callbacks told when a model object changes; the Qt views listen here. Every
// subscription returns a handle that ends it, so a listener that goes away is never called
// again, whichever of the two dies first.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <utility>

namespace tessaro {

class [[nodiscard]] Subscription {
public:
    Subscription() = default;
    explicit Subscription(std::function<void()> cancel) : m_cancel(std::move(cancel)) {}
    Subscription(Subscription&& other) noexcept : m_cancel(std::exchange(other.m_cancel, {})) {}
    Subscription& operator=(Subscription&& other) noexcept {
        if (this != &other) {
            reset();
            m_cancel = std::exchange(other.m_cancel, {});
        }
        return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription() { reset(); }

    // Ends the subscription now; a callback that is running at this moment still finishes.
    void reset() {
        if (auto cancel = std::exchange(m_cancel, {})) cancel();
    }

private:
    std::function<void()> m_cancel;
};

template <typename... Args>
class Notifier {
public:
    using Callback = std::function<void(Args...)>;

    Notifier() = default;
    Notifier(const Notifier&) = delete;
    Notifier& operator=(const Notifier&) = delete;

    Subscription subscribe(Callback callback) {
        if (!m_listeners) m_listeners = std::make_shared<Listeners>();
        const std::uint64_t id = m_listeners->nextId++;
        m_listeners->entries.push_back({id, std::move(callback), true});
        return Subscription([weak = std::weak_ptr<Listeners>(m_listeners), id] {
            if (const auto listeners = weak.lock()) listeners->remove(id);
        });
    }

    // Callbacks may subscribe or unsubscribe while they run: ended ones are skipped, new
    // ones hear from the next notification on.
    void notify(Args... args) const {
        if (!m_listeners) return;
        const std::shared_ptr<Listeners> listeners = m_listeners;
        const std::size_t count = listeners->entries.size();
        ++listeners->notifying;
        try {
            for (std::size_t i = 0; i < count; ++i) {
                if (listeners->entries[i].active) listeners->entries[i].callback(args...);
            }
        } catch (...) {
            listeners->endNotify();
            throw;
        }
        listeners->endNotify();
    }

private:
    struct Entry {
        std::uint64_t id;
        Callback callback;
        // Cleared instead of erasing while a notification runs: the callback that ends
        // its own subscription must not be destroyed under its feet.
        bool active = true;
    };
    // A deque keeps the running callback in place while others are added behind it.
    struct Listeners {
        std::deque<Entry> entries;
        std::uint64_t nextId = 0;
        int notifying = 0;
        bool holes = false;

        void remove(std::uint64_t id) {
            for (auto it = entries.begin(); it != entries.end(); ++it) {
                if (it->id != id) continue;
                if (notifying > 0) {
                    it->active = false;
                    holes = true;
                } else {
                    entries.erase(it);
                }
                return;
            }
        }
        void endNotify() {
            if (--notifying > 0 || !holes) return;
            std::erase_if(entries, [](const Entry& entry) { return !entry.active; });
            holes = false;
        }
    };
    std::shared_ptr<Listeners> m_listeners;
};

}  // namespace tessaro

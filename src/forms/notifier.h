// SPDX-License-Identifier: GPL-3.0-or-later
// A list of callbacks told when a model object changes; the Qt views listen here.
#pragma once

#include <functional>
#include <vector>

namespace tessaro {

template <typename... Args>
class Notifier {
public:
    using Callback = std::function<void(Args...)>;

    void subscribe(Callback callback) { m_callbacks.push_back(std::move(callback)); }
    void notify(Args... args) const {
        for (const auto& callback : m_callbacks) callback(args...);
    }

private:
    std::vector<Callback> m_callbacks;
};

}  // namespace tessaro

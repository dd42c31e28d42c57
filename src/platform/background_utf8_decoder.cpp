// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/background_utf8_decoder.h"

namespace tessaro {

BackgroundUtf8Decoder::BackgroundUtf8Decoder(PartSeen partSeen)
    : m_partSeen(std::move(partSeen)), m_thread([this] { run(); }) {}

BackgroundUtf8Decoder::~BackgroundUtf8Decoder() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopped = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void BackgroundUtf8Decoder::feed(std::string_view piece) {
    {
        const std::lock_guard lock(m_mutex);
        m_pieces.emplace_back(piece);
    }
    m_wake.notify_one();
}

std::future<std::u16string> BackgroundUtf8Decoder::finish() {
    std::future<std::u16string> result = m_result.get_future();
    {
        const std::lock_guard lock(m_mutex);
        m_finished = true;
    }
    m_wake.notify_one();
    return result;
}

void BackgroundUtf8Decoder::run() {
    try {
        std::size_t seen = 0;
        for (;;) {
            std::string piece;
            {
                std::unique_lock lock(m_mutex);
                m_wake.wait(lock, [this] { return m_stopped || m_finished || !m_pieces.empty(); });
                if (m_stopped) return;
                if (m_pieces.empty()) break;  // finished, and everything decoded
                piece = std::move(m_pieces.front());
                m_pieces.pop_front();
            }
            const std::u16string_view part = m_decoder.feed(piece);
            seen += part.size();
            if (m_partSeen) m_partSeen(part);
        }
        std::u16string text = m_decoder.finish();
        // The end of a character cut off at the very end.
        if (m_partSeen) m_partSeen(std::u16string_view(text).substr(seen));
        m_result.set_value(std::move(text));
    } catch (...) {
        m_result.set_exception(std::current_exception());
    }
}

}  // namespace tessaro

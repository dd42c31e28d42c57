// SPDX-License-Identifier: GPL-3.0-or-later
// Decodes a UTF-8 text on a thread of its own while its pieces still arrive, so that the
// decoding of a large transfer overlaps the transfer instead of following it.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "platform/utf8_decoder.h"

namespace tessaro {

class BackgroundUtf8Decoder {
public:
    // Called on the decoding thread with each part of the text as it is decoded, in order;
    // for work that can go along with the decoding.
    using PartSeen = std::function<void(std::u16string_view part)>;

    explicit BackgroundUtf8Decoder(PartSeen partSeen = {});
    // Stops the thread; pieces not decoded yet are dropped.
    ~BackgroundUtf8Decoder();
    BackgroundUtf8Decoder(const BackgroundUtf8Decoder&) = delete;
    BackgroundUtf8Decoder& operator=(const BackgroundUtf8Decoder&) = delete;

    // Queues a copy of the piece.
    void feed(std::string_view piece);
    // After the last piece: the whole text, once the thread has decoded everything.
    std::future<std::u16string> finish();

private:
    void run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::string> m_pieces;
    bool m_finished = false;
    bool m_stopped = false;
    std::promise<std::u16string> m_result;
    PartSeen m_partSeen;
    Utf8Decoder m_decoder;  // used by the thread only
    std::thread m_thread;
};

}  // namespace tessaro

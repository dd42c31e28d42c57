// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <cstring>

#include "image/codecs/encoded_image.h"

namespace tessaro {

void ChunkedWriter::append(const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        if (m_used == kSize) flush();
        const std::size_t part = std::min(size, kSize - m_used);
        std::memcpy(m_buffer.get() + m_used, data, part);
        m_used += part;
        data += part;
        size -= part;
    }
}

void ChunkedWriter::flush() {
    if (m_used == 0) return;
    // Emptied first: after a throwing sink the writer is not asked to repeat the bytes.
    const std::size_t used = m_used;
    m_used = 0;
    m_sink.write(reinterpret_cast<const char*>(m_buffer.get()), used);
}

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/utf8_decoder.h"

#include <algorithm>

#include "platform/utf.h"

namespace tessaro {
namespace {

// Where a character begins that the bytes after `bytes` may still complete; bytes.size()
// when none does. Only a lead byte among the last three can start one: a character that
// began earlier is complete or already invalid, whatever follows.
std::size_t completePrefix(std::string_view bytes) {
    std::size_t back = 0;
    while (back < 3 && back < bytes.size() && (static_cast<unsigned char>(bytes[bytes.size() - 1 - back]) & 0xC0) == 0x80) {
        ++back;
    }
    if (back == bytes.size()) return bytes.size();
    const std::size_t start = bytes.size() - 1 - back;
    const std::size_t length = utf8SequenceLength(static_cast<unsigned char>(bytes[start]));
    return (length > 1 && start + length > bytes.size()) ? start : bytes.size();
}

}  // namespace

void Utf8Decoder::append(std::string_view bytes) {
    // Never more units than bytes: a block with room for all of them takes the piece whole.
    // Blocks grow with the text, so that a short text keeps a short block.
    if (m_blocks.empty() || m_blocks.back().capacity() - m_blocks.back().size() < bytes.size()) {
        const std::size_t grown = m_blocks.empty() ? kFirstBlockUnits : std::min(2 * m_blocks.back().capacity(), kBlockUnits);
        m_blocks.emplace_back().reserve(std::max(grown, bytes.size()));
    }
    appendUtf8(m_blocks.back(), bytes);
}

std::u16string_view Utf8Decoder::feed(std::string_view piece) {
    std::size_t complete = 0;
    if (!m_carry.empty()) {
        // Rare: a character split between two pieces.
        m_carry.append(piece);
        const std::string joined = std::move(m_carry);
        m_carry.clear();
        complete = completePrefix(joined);
        m_carry.assign(joined, complete);
        return appendPart(std::string_view(joined).substr(0, complete));
    }
    complete = completePrefix(piece);
    m_carry.assign(piece.substr(complete));
    return appendPart(piece.substr(0, complete));
}

std::u16string_view Utf8Decoder::appendPart(std::string_view bytes) {
    const std::size_t blocks = m_blocks.size();
    const std::size_t before = blocks ? m_blocks.back().size() : 0;
    append(bytes);
    // A new block holds the whole part.
    return std::u16string_view(m_blocks.back()).substr(m_blocks.size() == blocks ? before : 0);
}

std::u16string Utf8Decoder::finish() {
    // An unfinished character at the very end decodes as it does at the end of any text.
    append(m_carry);
    m_carry.clear();
    std::vector<std::u16string> blocks = std::move(m_blocks);
    m_blocks.clear();
    if (blocks.size() == 1) return std::move(blocks.front());
    std::size_t total = 0;
    for (const std::u16string& block : blocks) total += block.size();
    std::u16string text;
    text.reserve(total);
    for (std::u16string& block : blocks) {
        text.append(block);
        std::u16string().swap(block);  // its memory goes back at once
    }
    return text;
}

}  // namespace tessaro

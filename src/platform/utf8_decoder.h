// SPDX-License-Identifier: GPL-3.0-or-later
// UTF-8 that arrives in pieces, split anywhere (even inside a character), decoded as it
// comes: the result is exactly what utf8ToUtf16 gives for all the pieces at once.
//
// The text is kept in blocks until the end: a string that grew with a transfer of unknown
// length would be copied (and its memory touched afresh) at every doubling. Blocks double up
// to a size that the allocator maps on its own, so that each such block is returned to the
// system as soon as the whole text has taken it over.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessaro {

class Utf8Decoder {
public:
    // Returns what the piece added to the text (valid until the next call).
    std::u16string_view feed(std::string_view piece);
    // The whole text; the decoder is empty again afterwards.
    std::u16string finish();

private:
    static constexpr std::size_t kFirstBlockUnits = std::size_t{1} << 16;
    static constexpr std::size_t kBlockUnits = std::size_t{16} << 20;  // 32 MiB

    void append(std::string_view bytes);
    std::u16string_view appendPart(std::string_view bytes);

    std::vector<std::u16string> m_blocks;
    // The start of a character whose remaining bytes are still to come (at most 3 bytes).
    std::string m_carry;
};

}  // namespace tessaro

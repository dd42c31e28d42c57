// SPDX-License-Identifier: GPL-3.0-or-later
// Encoders of the image file formats: each turns a 24-bit RGB image record into the bytes
// of one file and hands them to a sink as they are produced, so that a large picture's
// file is written while it is encoded instead of being held whole in memory as well.
//
// Errors of the sink (a full disk, say) propagate unchanged out of every encoder, also
// when they arise inside a codec library's callback: they are caught there, the library is
// stopped through its own error path, and they are rethrown once control is back in our
// code. What the sink received before the error stays there; callers that write files
// therefore write through an AtomicFile and commit only after the encoder returned.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "image/image_record.h"
#include "platform/byte_sink.h"

namespace tessaro {

using Bytes = std::vector<std::uint8_t>;

// Collects small writes into pieces of 64 KiB for the sink: the container formats write
// their pixels a byte at a time, and every sink write may be a system call.
class ChunkedWriter {
public:
    explicit ChunkedWriter(ByteSink& sink) : m_sink(sink), m_buffer(new std::uint8_t[kSize]) {}

    void push_back(std::uint8_t byte) {
        if (m_used == kSize) flush();
        m_buffer[m_used++] = byte;
    }
    void append(const std::uint8_t* data, std::size_t size);
    // Hands the collected bytes to the sink. Nothing is handed on without it, also not on
    // destruction: an encoder that fails midway leaves the rest unwritten.
    void flush();

private:
    static constexpr std::size_t kSize = std::size_t{64} << 10;
    ByteSink& m_sink;
    std::unique_ptr<std::uint8_t[]> m_buffer;
    std::size_t m_used = 0;
};

// Little- and big-endian appends for the container formats, into a Bytes buffer or a
// ChunkedWriter.
template <typename Out>
void putLe16(Out& out, std::uint32_t v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}
template <typename Out>
void putLe32(Out& out, std::uint32_t v) {
    putLe16(out, v & 0xFFFF);
    putLe16(out, v >> 16);
}
template <typename Out>
void putBe16(Out& out, std::uint32_t v) {
    out.push_back(std::uint8_t(v >> 8));
    out.push_back(std::uint8_t(v));
}
template <typename Out>
void putBe32(Out& out, std::uint32_t v) {
    putBe16(out, v >> 16);
    putBe16(out, v & 0xFFFF);
}
template <typename Out>
void putText(Out& out, const char* text) {
    while (*text) out.push_back(std::uint8_t(*text++));
}

// The grey value of an RGB pixel with the ITU-R BT.601 weights, rounded.
inline std::uint8_t greyOf(const std::uint8_t* rgb) {
    return std::uint8_t((rgb[0] * 299 + rgb[1] * 587 + rgb[2] * 114 + 500) / 1000);
}

void EncodeBmp(const ImageRecord& image, ByteSink& sink);  // 24 bits, uncompressed, bottom-up
void EncodeTga(const ImageRecord& image, ByteSink& sink);  // 24 bits, uncompressed
void EncodeDds(const ImageRecord& image, ByteSink& sink);  // one level, uncompressed 24-bit RGB
void EncodePgm(const ImageRecord& image, ByteSink& sink);  // P5, grey
void EncodePpm(const ImageRecord& image, ByteSink& sink);  // P6
void EncodePam(const ImageRecord& image, ByteSink& sink);  // P7, RGB
void EncodePfm(const ImageRecord& image, ByteSink& sink);  // PF, samples 0..1, little-endian
void EncodePng(const ImageRecord& image, ByteSink& sink);  // truecolour, 8 bits, no alpha
void EncodeMng(const ImageRecord& image, ByteSink& sink);  // one PNG-style lossless frame
void EncodeJpeg(const ImageRecord& image, int quality, bool progressive, ByteSink& sink);  // JFIF
void EncodeJng(const ImageRecord& image, int quality, bool progressive, ByteSink& sink);
void EncodeTiff(const ImageRecord& image, ByteSink& sink);  // RGB, LZW
void EncodeGif(const ImageRecord& image, ByteSink& sink);   // one frame, at most 256 colours
void EncodePsd(const ImageRecord& image, bool withLayer, ByteSink& sink);
void EncodeJp2(const ImageRecord& image, ByteSink& sink);   // JP2 container, lossy
void EncodeIcon(const ImageRecord& image, ByteSink& sink);  // ICO, one 32-bit image with its mask

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// Encoders of the image file formats: each turns a 24-bit RGB image record into the bytes
// of one file, so that a failing encoder never leaves half a file behind.
#pragma once

#include <cstdint>
#include <vector>

#include "image/image_record.h"

namespace tessaro {

using Bytes = std::vector<std::uint8_t>;

// Little- and big-endian appends for the container formats.
inline void putLe16(Bytes& out, std::uint32_t v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}
inline void putLe32(Bytes& out, std::uint32_t v) {
    putLe16(out, v & 0xFFFF);
    putLe16(out, v >> 16);
}
inline void putBe16(Bytes& out, std::uint32_t v) {
    out.push_back(std::uint8_t(v >> 8));
    out.push_back(std::uint8_t(v));
}
inline void putBe32(Bytes& out, std::uint32_t v) {
    putBe16(out, v >> 16);
    putBe16(out, v & 0xFFFF);
}
inline void putText(Bytes& out, const char* text) {
    while (*text) out.push_back(std::uint8_t(*text++));
}

// The grey value of an RGB pixel with the ITU-R BT.601 weights, rounded.
inline std::uint8_t greyOf(const std::uint8_t* rgb) {
    return std::uint8_t((rgb[0] * 299 + rgb[1] * 587 + rgb[2] * 114 + 500) / 1000);
}

Bytes EncodeBmp(const ImageRecord& image);    // 24 bits, uncompressed, bottom-up
Bytes EncodeTga(const ImageRecord& image);    // 24 bits, uncompressed
Bytes EncodeDds(const ImageRecord& image);    // one level, uncompressed 24-bit RGB
Bytes EncodePgm(const ImageRecord& image);    // P5, grey
Bytes EncodePpm(const ImageRecord& image);    // P6
Bytes EncodePam(const ImageRecord& image);    // P7, RGB
Bytes EncodePfm(const ImageRecord& image);    // PF, samples 0..1, little-endian
Bytes EncodePng(const ImageRecord& image);    // truecolour, 8 bits, no alpha
Bytes EncodeMng(const ImageRecord& image);    // one PNG-style lossless frame
Bytes EncodeJpeg(const ImageRecord& image, int quality, bool progressive);  // JFIF
Bytes EncodeJng(const ImageRecord& image, int quality, bool progressive);
Bytes EncodeTiff(const ImageRecord& image);   // RGB, LZW
Bytes EncodeGif(const ImageRecord& image);    // one frame, at most 256 colours
Bytes EncodePsd(const ImageRecord& image, bool withLayer);
Bytes EncodeJp2(const ImageRecord& image);    // JP2 container, lossy
Bytes EncodeIcon(const ImageRecord& image);   // ICO, one 32-bit image with its mask

}  // namespace tessaro

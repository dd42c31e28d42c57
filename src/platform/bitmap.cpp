// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/bitmap.h"

#include <stdexcept>

namespace tessaro {

Bitmap Bitmap::blank(int width, int height, int bitsPerPixel) {
    if (width < 0 || height < 0 || (bitsPerPixel != 24 && bitsPerPixel != 32)) {
        throw std::invalid_argument("invalid bitmap size or pixel format");
    }
    Bitmap b;
    b.width = width;
    b.height = height;
    b.bitsPerPixel = bitsPerPixel;
    b.pixels.assign(b.rowBytes() * static_cast<std::size_t>(height), 0);
    return b;
}

Bitmap Bitmap::to32Bit() const {
    if (bitsPerPixel == 32) return *this;
    Bitmap out = blank(width, height, 32);
    out.palette = palette;
    const std::size_t n = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    const std::uint8_t* src = pixels.data();
    std::uint8_t* dst = out.pixels.data();
    for (std::size_t i = 0; i < n; ++i, src += 3, dst += 4) {
        dst[0] = src[0];
        dst[1] = src[1];
        dst[2] = src[2];
        dst[3] = 255;
    }
    return out;
}

bool SameColours(const Bitmap& a, const Bitmap& b) {
    if (a.width != b.width || a.height != b.height) return false;
    if (a.bitsPerPixel == b.bitsPerPixel && a.bitsPerPixel == 24) return a.pixels == b.pixels;
    const std::size_t n = static_cast<std::size_t>(a.width) * static_cast<std::size_t>(a.height);
    const std::size_t stepA = static_cast<std::size_t>(a.bitsPerPixel / 8);
    const std::size_t stepB = static_cast<std::size_t>(b.bitsPerPixel / 8);
    const std::uint8_t* pa = a.pixels.data();
    const std::uint8_t* pb = b.pixels.data();
    for (std::size_t i = 0; i < n; ++i, pa += stepA, pb += stepB) {
        if (pa[0] != pb[0] || pa[1] != pb[1] || pa[2] != pb[2]) return false;
    }
    return true;
}

}  // namespace tessaro

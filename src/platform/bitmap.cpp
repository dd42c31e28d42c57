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

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// A device-independent picture as the clipboard hands it over: the graphics object
// behind CF_BITMAP. Pixels are stored top-down, blue-green-red(-alpha), rows packed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessaro {

struct Bitmap {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 32;              // 24 or 32
    std::vector<std::uint8_t> pixels;   // height rows of width * bitsPerPixel / 8 bytes
    std::vector<std::uint32_t> palette; // 0x00RRGGBB entries; empty when the bitmap has none

    std::size_t rowBytes() const { return static_cast<std::size_t>(width) * (bitsPerPixel / 8); }

    // Allocates a zeroed picture; throws std::bad_alloc when the size cannot be held.
    static Bitmap blank(int width, int height, int bitsPerPixel);

    // Returns a copy with 32 bits per pixel (alpha 255 where the source has none).
    Bitmap to32Bit() const;
};

// True when both show the same picture: the same size and the same colour in every pixel,
// whatever their depth. Alpha is left out: a stage that only drops it changes nothing
// worth writing back over the original.
bool SameColours(const Bitmap& a, const Bitmap& b);

}  // namespace tessaro

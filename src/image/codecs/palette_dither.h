// SPDX-License-Identifier: GPL-3.0-or-later
// Mapping a truecolour picture onto a palette of at most 256 colours with error diffusion
// that spares edges: photos and gradients are dithered, while text, lines and flat areas
// keep their nearest palette colour, so screenshots stay crisp.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "image/image_record.h"

namespace tessaro {

struct PaletteColour {
    std::uint8_t r = 0, g = 0, b = 0;
};

// The palette index of every pixel, row by row. The palette holds 1 to 256 colours.
std::vector<std::uint8_t> DitherToPalette(const ImageRecord& image, std::span<const PaletteColour> palette);

}  // namespace tessaro

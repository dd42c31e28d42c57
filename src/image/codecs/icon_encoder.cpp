// SPDX-License-Identifier: GPL-3.0-or-later
// Icon files: one 32-bit image of the picture's full size whose AND mask makes every pixel
// of the bottom-left pixel's colour transparent. The colour image carries the same
// transparency in its alpha channel, so that readers which use alpha agree with the mask.
#include <algorithm>
#include <limits>

#include "image/codecs/encoded_image.h"

namespace tessaro {

void EncodeIcon(const ImageRecord& image, ByteSink& sink) {
    if (image.format != PixelFormat::Rgb24) throw ImageError("the writers take 24-bit RGB");
    if (image.width <= 0 || image.height <= 0) throw ImageError("an icon needs a picture");
    const std::uint64_t colourRow = std::uint64_t(image.width) * 4;
    const std::uint64_t maskRow = ((std::uint64_t(image.width) + 31) / 32) * 4;
    const std::uint64_t dataSize = 40 + (colourRow + maskRow) * std::uint64_t(image.height);
    if (dataSize + 22 > std::numeric_limits<std::uint32_t>::max() || image.height > 0x3FFFFFFF) {
        throw ImageError("image too large for an icon");
    }
    const std::uint8_t* key = image.row(image.height - 1);
    const auto transparent = [&](const std::uint8_t* p) {
        return p[0] == key[0] && p[1] == key[1] && p[2] == key[2];
    };
    ChunkedWriter out(sink);
    putLe16(out, 0);
    putLe16(out, 1);  // an icon, also for cursor names
    putLe16(out, 1);
    // A side of 256 or more is written as 0, the only way the byte can say "256 or more";
    // readers then take the size from the image header below.
    out.push_back(image.width >= 256 ? 0 : std::uint8_t(image.width));
    out.push_back(image.height >= 256 ? 0 : std::uint8_t(image.height));
    out.push_back(32);  // the colour-count byte holds the colour depth's low byte
    out.push_back(0);
    putLe16(out, 0);
    putLe16(out, 0);
    putLe32(out, std::uint32_t(dataSize));
    putLe32(out, 22);
    putLe32(out, 40);
    putLe32(out, std::uint32_t(image.width));
    putLe32(out, std::uint32_t(image.height) * 2);  // colour rows and mask rows
    putLe16(out, 1);
    putLe16(out, 32);
    putLe32(out, 0);
    putLe32(out, std::uint32_t((colourRow + maskRow) * std::uint64_t(image.height)));
    for (int i = 0; i < 4; ++i) putLe32(out, 0);
    for (int y = image.height - 1; y >= 0; --y) {
        const std::uint8_t* row = image.row(y);
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* p = row + 3 * x;
            out.push_back(p[2]);
            out.push_back(p[1]);
            out.push_back(p[0]);
            out.push_back(transparent(p) ? 0 : 255);
        }
    }
    Bytes mask(std::size_t(maskRow), 0);
    for (int y = image.height - 1; y >= 0; --y) {
        const std::uint8_t* row = image.row(y);
        std::fill(mask.begin(), mask.end(), 0);
        for (int x = 0; x < image.width; ++x) {
            if (transparent(row + 3 * x)) mask[std::size_t(x / 8)] |= std::uint8_t(0x80 >> (x % 8));
        }
        out.append(mask.data(), mask.size());
    }
    out.flush();
}

}  // namespace tessaro

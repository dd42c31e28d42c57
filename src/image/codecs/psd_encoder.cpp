// SPDX-License-Identifier: GPL-3.0-or-later
// Photoshop documents: RGB, 8 bits per channel, uncompressed planes; with the layer option
// the picture is stored once more as one layer named "Layer 0".
#include <limits>

#include "image/codecs/encoded_image.h"

namespace tessaro {
namespace {

void putPlane(ChunkedWriter& out, const ImageRecord& image, int channel) {
    for (std::size_t i = std::size_t(channel); i < image.pixels.size(); i += 3) {
        out.push_back(image.pixels[i]);
    }
}

}  // namespace

void EncodePsd(const ImageRecord& image, bool withLayer, ByteSink& sink) {
    if (image.format != PixelFormat::Rgb24) throw ImageError("the writers take 24-bit RGB");
    if (image.width > 30000 || image.height > 30000) throw ImageError("image too large for PSD");
    const std::uint64_t plane = std::uint64_t(image.width) * std::uint64_t(image.height);
    if (plane * 6 + 1024 > std::numeric_limits<std::uint32_t>::max()) {
        throw ImageError("image too large for PSD");
    }
    ChunkedWriter out(sink);
    putText(out, "8BPS");
    putBe16(out, 1);
    for (int i = 0; i < 6; ++i) out.push_back(0);  // reserved
    putBe16(out, 3);                               // channels
    putBe32(out, std::uint32_t(image.height));
    putBe32(out, std::uint32_t(image.width));
    putBe16(out, 8);
    putBe16(out, 3);  // RGB
    putBe32(out, 0);  // no colour-mode data
    putBe32(out, 0);  // no image resources
    if (!withLayer) {
        putBe32(out, 0);
    } else {
        Bytes layers;
        putBe16(layers, 1);  // one layer
        putBe32(layers, 0);  // top, left, bottom, right
        putBe32(layers, 0);
        putBe32(layers, std::uint32_t(image.height));
        putBe32(layers, std::uint32_t(image.width));
        putBe16(layers, 3);
        for (int channel = 0; channel < 3; ++channel) {
            putBe16(layers, std::uint32_t(channel));
            putBe32(layers, std::uint32_t(plane + 2));  // compression word and the raw plane
        }
        putText(layers, "8BIMnorm");
        layers.insert(layers.end(), {255, 0, 0, 0});  // opacity, clipping, flags, filler
        putBe32(layers, 4 + 4 + 8);                   // extra data: mask, blending ranges, name
        putBe32(layers, 0);
        putBe32(layers, 0);
        layers.push_back(7);
        putText(layers, "Layer 0");  // with its length byte, 8 bytes: a multiple of 4
        // The layer's planes, each after its compression word, and a pad byte to an even
        // length follow the record; their size is known, so the section sizes come first.
        const std::uint64_t planes = 3 * (2 + plane);
        const std::uint64_t info = layers.size() + planes + (layers.size() + planes) % 2;
        putBe32(out, std::uint32_t(info + 8));  // the layer and mask section
        putBe32(out, std::uint32_t(info));      // the layer info
        out.append(layers.data(), layers.size());
        for (int channel = 0; channel < 3; ++channel) {
            putBe16(out, 0);  // raw
            putPlane(out, image, channel);
        }
        if ((layers.size() + planes) % 2) out.push_back(0);
        putBe32(out, 0);  // no global layer mask
    }
    putBe16(out, 0);  // raw composite image
    for (int channel = 0; channel < 3; ++channel) putPlane(out, image, channel);
    out.flush();
}

}  // namespace tessaro

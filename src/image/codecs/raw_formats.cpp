// SPDX-License-Identifier: GPL-3.0-or-later
// The uncompressed formats, written by hand: Windows bitmap, Targa, DirectDraw surface
// and the four Netpbm maps. Their headers depend only on the picture's size, so the rows
// follow the header straight into the sink.
#include <cstring>
#include <limits>
#include <string>

#include "image/codecs/encoded_image.h"

namespace tessaro {
namespace {

void requireRgb24(const ImageRecord& image) {
    if (image.format != PixelFormat::Rgb24) throw ImageError("the writers take 24-bit RGB");
}

std::string sizeText(const ImageRecord& image) {
    return std::to_string(image.width) + " " + std::to_string(image.height) + "\n";
}

// A row's pixels in blue, green, red order.
void putBgrRow(ChunkedWriter& out, const std::uint8_t* row, int width) {
    for (int x = 0; x < width; ++x) {
        out.push_back(row[3 * x + 2]);
        out.push_back(row[3 * x + 1]);
        out.push_back(row[3 * x]);
    }
}

}  // namespace

void EncodeBmp(const ImageRecord& image, ByteSink& sink) {
    requireRgb24(image);
    const std::uint64_t stride = (std::uint64_t(image.width) * 3 + 3) & ~std::uint64_t{3};
    const std::uint64_t dataSize = stride * std::uint64_t(image.height);
    if (dataSize + 54 > std::numeric_limits<std::uint32_t>::max()) {
        throw ImageError("image too large for a bitmap file");
    }
    ChunkedWriter out(sink);
    putText(out, "BM");
    putLe32(out, std::uint32_t(dataSize + 54));
    putLe32(out, 0);
    putLe32(out, 54);
    putLe32(out, 40);
    putLe32(out, std::uint32_t(image.width));
    putLe32(out, std::uint32_t(image.height));  // positive: rows bottom-up
    putLe16(out, 1);
    putLe16(out, 24);
    putLe32(out, 0);  // no compression
    putLe32(out, std::uint32_t(dataSize));
    putLe32(out, 2835);  // 72 dpi
    putLe32(out, 2835);
    putLe32(out, 0);
    putLe32(out, 0);
    for (int y = image.height - 1; y >= 0; --y) {
        putBgrRow(out, image.row(y), image.width);
        for (std::uint64_t pad = std::uint64_t(image.width) * 3; pad < stride; ++pad)
            out.push_back(0);
    }
    out.flush();
}

void EncodeTga(const ImageRecord& image, ByteSink& sink) {
    requireRgb24(image);
    if (image.width > 0xFFFF || image.height > 0xFFFF)
        throw ImageError("image too large for Targa");
    ChunkedWriter out(sink);
    for (int i = 0; i < 12; ++i) out.push_back(i == 2 ? 2 : 0);  // uncompressed true colour
    putLe16(out, std::uint32_t(image.width));
    putLe16(out, std::uint32_t(image.height));
    out.push_back(24);
    out.push_back(0x20);  // rows top-down
    for (int y = 0; y < image.height; ++y) putBgrRow(out, image.row(y), image.width);
    out.flush();
}

void EncodeDds(const ImageRecord& image, ByteSink& sink) {
    requireRgb24(image);
    ChunkedWriter out(sink);
    putText(out, "DDS ");
    putLe32(out, 124);
    putLe32(out, 0x1 | 0x2 | 0x4 | 0x8 | 0x1000);  // caps, height, width, pitch, pixel format
    putLe32(out, std::uint32_t(image.height));
    putLe32(out, std::uint32_t(image.width));
    putLe32(out, std::uint32_t(image.width) * 3);  // pitch of a row
    putLe32(out, 0);                               // depth
    putLe32(out, 0);                               // mipmap count: the one level
    for (int i = 0; i < 11; ++i) putLe32(out, 0);
    putLe32(out, 32);    // pixel format size
    putLe32(out, 0x40);  // RGB without alpha
    putLe32(out, 0);     // no four-cc
    putLe32(out, 24);
    putLe32(out, 0x00FF0000);
    putLe32(out, 0x0000FF00);
    putLe32(out, 0x000000FF);
    putLe32(out, 0);
    putLe32(out, 0x1000);  // a texture
    for (int i = 0; i < 4; ++i) putLe32(out, 0);
    // Little-endian 24-bit samples with red in the high byte: blue, green, red in memory.
    for (int y = 0; y < image.height; ++y) putBgrRow(out, image.row(y), image.width);
    out.flush();
}

void EncodePgm(const ImageRecord& image, ByteSink& sink) {
    requireRgb24(image);
    ChunkedWriter out(sink);
    putText(out, ("P5\n" + sizeText(image) + "255\n").c_str());
    for (std::size_t i = 0; i < image.pixels.size(); i += 3)
        out.push_back(greyOf(&image.pixels[i]));
    out.flush();
}

void EncodePpm(const ImageRecord& image, ByteSink& sink) {
    requireRgb24(image);
    ChunkedWriter out(sink);
    putText(out, ("P6\n" + sizeText(image) + "255\n").c_str());
    out.append(image.pixels.data(), image.pixels.size());
    out.flush();
}

void EncodePam(const ImageRecord& image, ByteSink& sink) {
    requireRgb24(image);
    ChunkedWriter out(sink);
    putText(out, ("P7\nWIDTH " + std::to_string(image.width) + "\nHEIGHT " +
                  std::to_string(image.height) + "\nDEPTH 3\nMAXVAL 255\nTUPLTYPE RGB\nENDHDR\n")
                     .c_str());
    out.append(image.pixels.data(), image.pixels.size());
    out.flush();
}

void EncodePfm(const ImageRecord& image, ByteSink& sink) {
    requireRgb24(image);
    // A negative scale marks little-endian samples; rows run from the bottom up.
    ChunkedWriter out(sink);
    putText(out, ("PF\n" + sizeText(image) + "-1.0\n").c_str());
    for (int y = image.height - 1; y >= 0; --y) {
        const std::uint8_t* row = image.row(y);
        for (std::size_t i = 0; i < image.rowBytes(); ++i) {
            const float sample = float(row[i]) / 255.0f;
            std::uint32_t bits;
            std::memcpy(&bits, &sample, 4);
            putLe32(out, bits);
        }
    }
    out.flush();
}

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: every image writer on pictures of random sizes (empty ones included) and
// random pixels. No writer may crash; each either gives the bytes of a file or refuses the
// picture with an error. Sides stay small so that memory stays bounded.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

#include "image/image_record.h"
#include "output/image_file_writer.h"

namespace {

constexpr const char16_t* kNames[] = {
    u"a.jpg", u"a.jpeg", u"a.jfif", u"a.jpe", u"a.jif", u"a.png", u"a.gif", u"a.bmp", u"a.dib",
    u"a.ico", u"a.cur", u"a.psd", u"a.pdd", u"a.tif", u"a.tiff", u"a.mng", u"a.jng", u"a.pgm",
    u"a.ppm", u"a.pam", u"a.pfm", u"a.jp2", u"a.j2k", u"a.j2c", u"a.jpx", u"a.jpc", u"a.dds", u"a.tga"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaro;
    if (size < 6) return 0;
    const std::u16string name = kNames[data[0] % (sizeof kNames / sizeof kNames[0])];
    const int width = data[1] % 48;   // 0 included: an empty picture must be refused
    const int height = data[2] % 48;
    ImageWriteOptions options;
    options.jpegQuality = options.jngQuality = 1 + data[3] % 100;
    options.jpegProgressive = options.jngProgressive = data[4] & 1;
    options.psdLayer = data[4] & 2;
    ImageRecord picture = NewImage(width, height, PixelFormat::Rgb24);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = data[5 + i % (size - 5)];
    try {
        const auto bytes = EncodeImageFile(name, picture, options);
        if (!bytes || bytes->empty() || width == 0 || height == 0) std::abort();
    } catch (const std::exception&) {
        // A refused picture is an answer too.
    }
    return 0;
}

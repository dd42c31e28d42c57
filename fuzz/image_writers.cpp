// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: every image writer on pictures of random sizes (empty ones included) and
// random pixels. No writer may crash; each either writes the bytes of a file into the sink
// or refuses the picture with an error. Sides stay small so that memory stays bounded.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

#include "image/image_record.h"
#include "output/image_file_writer.h"
#include "output/save_field_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaro;
    if (size < 6) return 0;
    // "*.jpg - JPEG-Image" -> "a.jpg": every extension of the program's format list.
    static const auto formats = ImageFormatEntries();
    const std::u16string& entry = formats[data[0] % formats.size()];
    const std::u16string name = u"a" + entry.substr(1, entry.find(u" - ") - 1);
    const int width = data[1] % 48;  // 0 included: an empty picture must be refused
    const int height = data[2] % 48;
    ImageWriteOptions options;
    options.jpegQuality = options.jngQuality = 1 + data[3] % 100;
    options.jpegProgressive = options.jngProgressive = data[4] & 1;
    options.psdLayer = data[4] & 2;
    ImageRecord picture = NewImage(width, height, PixelFormat::Rgb24);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i)
        picture.pixels[i] = data[5 + i % (size - 5)];
    try {
        std::string bytes;
        StringSink sink(bytes);
        const bool written = EncodeImageFile(name, picture, options, sink);
        if (!written || bytes.empty() || width == 0 || height == 0) std::abort();
    } catch (const std::exception&) {
        // A refused picture is an answer too.
    }
    return 0;
}

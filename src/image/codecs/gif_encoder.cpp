// SPDX-License-Identifier: GPL-3.0-or-later
// GIF through giflib: one frame whose colours libimagequant reduces to a palette of at
// most 256, dithered where the picture is smooth and left crisp at edges.
#include <gif_lib.h>
#include <libimagequant.h>

#include <exception>

#include "image/codecs/encoded_image.h"
#include "image/codecs/palette_dither.h"

namespace tessaro {
namespace {

// Where giflib's output goes, and the error of the sink that stopped it.
struct GifOutput {
    ChunkedWriter writer;
    std::exception_ptr failure;
};

// giflib hands its output here. An exception must not unwind through giflib's C frames:
// it is kept, and giflib sees a short write, which makes it fail and refuse further work;
// EncodeGif() rethrows the exception.
int writeToSink(GifFileType* gif, const GifByteType* data, int size) {
    auto* output = static_cast<GifOutput*>(gif->UserData);
    if (output->failure) return 0;
    try {
        output->writer.append(data, std::size_t(size));
    } catch (...) {
        output->failure = std::current_exception();
        return 0;
    }
    return size;
}

void rgbaRow(liq_color out[], int y, int width, void* picture) {
    const std::uint8_t* in = static_cast<const ImageRecord*>(picture)->row(y);
    for (int x = 0; x < width; ++x)
        out[x] = liq_color{in[3 * x], in[3 * x + 1], in[3 * x + 2], 255};
}

}  // namespace

void EncodeGif(const ImageRecord& image, ByteSink& sink) {
    if (image.format != PixelFormat::Rgb24) throw ImageError("the writers take 24-bit RGB");
    if (image.width > 0xFFFF || image.height > 0xFFFF) throw ImageError("image too large for GIF");
    // libimagequant chooses the palette; the mapping onto it is ours, because its own
    // dithering fringes text and takes most of the time on a large screenshot.
    liq_attr* attr = liq_attr_create();
    liq_set_speed(attr, 8);
    liq_image* input = liq_image_create_custom(attr, rgbaRow, const_cast<ImageRecord*>(&image),
                                               image.width, image.height, 0);
    liq_result* result = nullptr;
    struct Release {
        liq_attr* attr;
        liq_image* input;
        liq_result** result;
        ~Release() {
            if (*result) liq_result_destroy(*result);
            if (input) liq_image_destroy(input);
            liq_attr_destroy(attr);
        }
    } release{attr, input, &result};
    if (!input || liq_image_quantize(input, attr, &result) != LIQ_OK) {
        throw ImageError("the colours cannot be reduced");
    }
    const liq_palette* palette = liq_get_palette(result);
    std::vector<PaletteColour> chosen;
    for (unsigned i = 0; i < palette->count; ++i) {
        chosen.push_back({palette->entries[i].r, palette->entries[i].g, palette->entries[i].b});
    }
    std::vector<std::uint8_t> indices = DitherToPalette(image, chosen);
    int bits = 1;
    while ((1 << bits) < int(chosen.size())) ++bits;
    std::vector<GifColorType> colours(std::size_t(1) << bits, GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < chosen.size(); ++i)
        colours[i] = GifColorType{chosen[i].r, chosen[i].g, chosen[i].b};

    GifOutput output{ChunkedWriter(sink), nullptr};
    int error = 0;
    GifFileType* gif = EGifOpen(&output, writeToSink, &error);
    if (!gif) throw ImageError(GifErrorString(error));
    ColorMapObject* map = GifMakeMapObject(int(colours.size()), colours.data());
    bool ok = map && EGifPutScreenDesc(gif, image.width, image.height, bits, 0, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, image.width, image.height, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < image.height; ++y) {
        ok = EGifPutLine(gif, indices.data() + std::size_t(y) * std::size_t(image.width),
                         image.width) == GIF_OK;
    }
    if (map) GifFreeMapObject(map);
    const int closeResult = EGifCloseFile(gif, &error);
    if (output.failure) std::rethrow_exception(output.failure);
    if (!ok || closeResult != GIF_OK) throw ImageError("GIF cannot be written");
    output.writer.flush();
}

}  // namespace tessaro

// GIF through giflib: one frame whose colours libimagequant reduces to a palette of at
// most 256, with dithering that keeps photos smooth and flat areas flat.
#include <gif_lib.h>
#include <libimagequant.h>

#include "image/codecs/encoded_image.h"

namespace tessaro {
namespace {

int appendToBytes(GifFileType* gif, const GifByteType* data, int size) {
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + size);
    return size;
}

}  // namespace

Bytes EncodeGif(const ImageRecord& image) {
    if (image.format != PixelFormat::Rgb24) throw ImageError("the writers take 24-bit RGB");
    if (image.width > 0xFFFF || image.height > 0xFFFF) throw ImageError("image too large for GIF");
    const std::size_t count = std::size_t(image.width) * std::size_t(image.height);
    std::vector<std::uint8_t> rgba(count * 4);
    for (std::size_t i = 0; i < count; ++i) {
        rgba[4 * i] = image.pixels[3 * i];
        rgba[4 * i + 1] = image.pixels[3 * i + 1];
        rgba[4 * i + 2] = image.pixels[3 * i + 2];
        rgba[4 * i + 3] = 255;
    }
    liq_attr* attr = liq_attr_create();
    liq_set_speed(attr, 8);
    liq_image* input = liq_image_create_rgba(attr, rgba.data(), image.width, image.height, 0);
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
    liq_set_dithering_level(result, 1.0f);
    std::vector<std::uint8_t> indices(count);
    if (liq_write_remapped_image(result, input, indices.data(), indices.size()) != LIQ_OK) {
        throw ImageError("the colours cannot be reduced");
    }
    const liq_palette* palette = liq_get_palette(result);
    int bits = 1;
    while ((1 << bits) < int(palette->count)) ++bits;
    std::vector<GifColorType> colours(std::size_t(1) << bits, GifColorType{0, 0, 0});
    for (unsigned i = 0; i < palette->count; ++i) {
        colours[i] = GifColorType{palette->entries[i].r, palette->entries[i].g, palette->entries[i].b};
    }

    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, appendToBytes, &error);
    if (!gif) throw ImageError(GifErrorString(error));
    ColorMapObject* map = GifMakeMapObject(int(colours.size()), colours.data());
    bool ok = map && EGifPutScreenDesc(gif, image.width, image.height, bits, 0, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, image.width, image.height, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < image.height; ++y) {
        ok = EGifPutLine(gif, indices.data() + std::size_t(y) * std::size_t(image.width), image.width) ==
             GIF_OK;
    }
    if (map) GifFreeMapObject(map);
    const int closeResult = EGifCloseFile(gif, &error);
    if (!ok || closeResult != GIF_OK) throw ImageError("GIF cannot be written");
    return out;
}

}  // namespace tessaro

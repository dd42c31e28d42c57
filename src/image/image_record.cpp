// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/image_record.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace tessaro {
namespace {

std::optional<std::int32_t> parseInteger(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == u' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    unsigned base = 10;
    if (i < text.size() && text[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size()) return std::nullopt;
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i];
        unsigned digit;
        if (c >= u'0' && c <= u'9') {
            digit = c - u'0';
        } else if (base == 16 && c >= u'a' && c <= u'f') {
            digit = c - u'a' + 10;
        } else if (base == 16 && c >= u'A' && c <= u'F') {
            digit = c - u'A' + 10;
        } else {
            return std::nullopt;
        }
        value = value * base + digit;
        if (value > 0xFFFFFFFFull) return std::nullopt;
    }
    if (base == 10) {
        // Decimal numbers must fit the signed range; -2147483648 is the one asymmetric case.
        if (value > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return std::nullopt;
        return static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(value)
                                                  : static_cast<std::int64_t>(value));
    }
    // Hexadecimal numbers name the 32 bits themselves: $FFFFFFFF is -1.
    const auto bits = static_cast<std::uint32_t>(value);
    const auto signedBits = static_cast<std::int32_t>(bits);
    return negative ? static_cast<std::int32_t>(0u - bits) : signedBits;
}

}  // namespace

ImageRecord NewImage(int width, int height, PixelFormat format) {
    if (width < 0 || height < 0) throw ImageError("negative image size");
    if (static_cast<std::int64_t>(width) * height > kMaxImagePixels) {
        throw ImageError("image too large");
    }
    ImageRecord image;
    image.width = width;
    image.height = height;
    image.format = format;
    image.pixels.assign(image.rowBytes() * static_cast<std::size_t>(height), 0);
    return image;
}

ImageRecord ImageFromBitmap(const Bitmap& bitmap) {
    if (bitmap.bitsPerPixel != 24 && bitmap.bitsPerPixel != 32) {
        throw ImageError("unsupported bitmap format");
    }
    if (bitmap.pixels.size() < bitmap.rowBytes() * static_cast<std::size_t>(bitmap.height)) {
        throw ImageError("bitmap holds fewer pixels than its size");
    }
    ImageRecord image = NewImage(bitmap.width, bitmap.height,
                                 bitmap.bitsPerPixel == 32 ? PixelFormat::Bgra32 : PixelFormat::Bgr24);
    // An empty picture has no pixel buffer to copy from or to.
    if (!image.pixels.empty()) std::memcpy(image.pixels.data(), bitmap.pixels.data(), image.pixels.size());
    return image;
}

ImageRecord ConvertToRgb24(const ImageRecord& image) {
    if (image.format == PixelFormat::Rgb24) return image;
    ImageRecord out = NewImage(image.width, image.height, PixelFormat::Rgb24);
    const std::size_t step = static_cast<std::size_t>(image.bytesPerPixel());
    const std::size_t count = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    const std::uint8_t* src = image.pixels.data();
    std::uint8_t* dst = out.pixels.data();
    for (std::size_t i = 0; i < count; ++i, src += step, dst += 3) {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
    }
    return out;
}

void CopyRect(const ImageRecord& src, int x, int y, int width, int height, ImageRecord& dst,
              int dx, int dy) {
    if (src.format != dst.format) throw ImageError("pixel formats differ");
    // Work in 64 bits: margins near the 32-bit limits must clip, not wrap.
    std::int64_t sx = x, sy = y, tx = dx, ty = dy, w = width, h = height;
    if (sx < 0) { w += sx; tx -= sx; sx = 0; }
    if (sy < 0) { h += sy; ty -= sy; sy = 0; }
    if (tx < 0) { w += tx; sx -= tx; tx = 0; }
    if (ty < 0) { h += ty; sy -= ty; ty = 0; }
    w = std::min({w, std::int64_t{src.width} - sx, std::int64_t{dst.width} - tx});
    h = std::min({h, std::int64_t{src.height} - sy, std::int64_t{dst.height} - ty});
    if (w <= 0 || h <= 0) return;
    const std::size_t bpp = static_cast<std::size_t>(src.bytesPerPixel());
    for (std::int64_t row = 0; row < h; ++row) {
        std::memcpy(dst.row(static_cast<int>(ty + row)) + static_cast<std::size_t>(tx) * bpp,
                    src.row(static_cast<int>(sy + row)) + static_cast<std::size_t>(sx) * bpp,
                    static_cast<std::size_t>(w) * bpp);
    }
}

Bitmap ImageToBitmap(const ImageRecord& image) {
    Bitmap bitmap = Bitmap::blank(image.width, image.height, image.format == PixelFormat::Bgra32 ? 32 : 24);
    if (image.format != PixelFormat::Rgb24) {
        if (!image.pixels.empty()) std::memcpy(bitmap.pixels.data(), image.pixels.data(), image.pixels.size());
        return bitmap;
    }
    const std::size_t count = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    const std::uint8_t* src = image.pixels.data();
    std::uint8_t* dst = bitmap.pixels.data();
    for (std::size_t i = 0; i < count; ++i, src += 3, dst += 3) {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
    }
    return bitmap;
}

bool IsIntegerText(std::u16string_view text) { return parseInteger(text).has_value(); }

std::int32_t IntegerOf(std::u16string_view text, std::int32_t fallback) {
    return parseInteger(text).value_or(fallback);
}

}  // namespace tessaro

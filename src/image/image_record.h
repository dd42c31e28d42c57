// SPDX-License-Identifier: GPL-3.0-or-later
// The image record of the image actions and writers: a picture in one pixel format, rows
// packed top-down. Records are values: copying one clones it, destroying it releases it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "platform/bitmap.h"

namespace tessaro {

enum class PixelFormat {
    Bgr24,   // as a 24-bit bitmap holds it
    Bgra32,  // as a 32-bit bitmap holds it
    Rgb24,   // what the actions work on and the writers take
};

// Failures of the image operations (sizes that cannot be held, mismatched formats).
class ImageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ImageRecord {
    int width = 0;
    int height = 0;
    PixelFormat format = PixelFormat::Rgb24;
    std::vector<std::uint8_t> pixels;

    int bytesPerPixel() const { return format == PixelFormat::Bgra32 ? 4 : 3; }
    std::size_t rowBytes() const { return static_cast<std::size_t>(width) * bytesPerPixel(); }
    std::uint8_t* row(int y) { return pixels.data() + rowBytes() * static_cast<std::size_t>(y); }
    const std::uint8_t* row(int y) const {
        return pixels.data() + rowBytes() * static_cast<std::size_t>(y);
    }
};

// The largest pixel count a record may hold; larger requests fail with ImageError instead
// of exhausting memory (16384 x 16384 fits).
inline constexpr std::int64_t kMaxImagePixels = std::int64_t{1} << 30;

// A new zero-filled (black) image; ImageError for negative or unholdable sizes.
ImageRecord NewImage(int width, int height, PixelFormat format);

// The bitmap's pixels in its own format (Bgr24 or Bgra32).
ImageRecord ImageFromBitmap(const Bitmap& bitmap);

// The image as 24-bit RGB, 8 bits per channel; alpha is dropped.
ImageRecord ConvertToRgb24(const ImageRecord& image);

// Copies the source rectangle (x, y, width, height) to (dx, dy) of `dst`, clipped to both
// images; pixels outside either image are left alone. The formats must be equal.
void CopyRect(const ImageRecord& src, int x, int y, int width, int height, ImageRecord& dst,
              int dx, int dy);

// The bitmap written to the clipboard: the record's size, 24 or 32 bits per pixel.
Bitmap ImageToBitmap(const ImageRecord& image);

// True when the text reads as a signed 32-bit integer: optional leading blanks, an
// optional sign and decimal digits, or a "$" / "0x" hexadecimal number up to 32 bits.
bool IsIntegerText(std::u16string_view text);
// The value of a text that passes IsIntegerText; `fallback` otherwise.
std::int32_t IntegerOf(std::u16string_view text, std::int32_t fallback);

}  // namespace tessaro

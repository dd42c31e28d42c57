// SPDX-License-Identifier: GPL-3.0-or-later
// Conversions between the core's bitmaps and QImage at the Qt edge.
#pragma once

#include <QImage>
#include <memory>
#include <optional>
#include <string_view>

#include "platform/bitmap.h"

namespace tessaro {

// A QImage over the bitmap's own pixels, keeping the bitmap alive as long as the image.
QImage toQImage(std::shared_ptr<const Bitmap> bitmap);

// A 32-bit copy of an image (blue, green, red, alpha in memory).
Bitmap toBitmap(const QImage& image);

// Decodes a picture file's bytes (any format Qt reads) into a 32-bit bitmap; nothing when
// they do not decode. Pictures that decode to 32 bits are written straight into the
// bitmap's pixels, so a large one is held once, not three times.
std::optional<Bitmap> decodeBitmap(std::string_view bytes);

}  // namespace tessaro

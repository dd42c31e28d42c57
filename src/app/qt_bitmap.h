// SPDX-License-Identifier: GPL-3.0-or-later
// Conversions between the core's bitmaps and QImage at the Qt edge.
#pragma once

#include <QImage>
#include <memory>

#include "platform/bitmap.h"

namespace tessaro {

// A QImage over the bitmap's own pixels, keeping the bitmap alive as long as the image.
QImage toQImage(std::shared_ptr<const Bitmap> bitmap);

// A 32-bit copy of an image (blue, green, red, alpha in memory).
Bitmap toBitmap(const QImage& image);

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_bitmap.h"

#include <cstring>

namespace tessaro {

QImage toQImage(std::shared_ptr<const Bitmap> bitmap) {
    if (!bitmap || bitmap->width <= 0 || bitmap->height <= 0) return {};
    // Blue-green-red(-alpha) bytes are Qt's ARGB32 and BGR888 on little-endian machines.
    const QImage::Format format =
        bitmap->bitsPerPixel == 32 ? QImage::Format_ARGB32 : QImage::Format_BGR888;
    auto* keeper = new std::shared_ptr<const Bitmap>(bitmap);
    return QImage(bitmap->pixels.data(), bitmap->width, bitmap->height,
                  static_cast<qsizetype>(bitmap->rowBytes()), format,
                  [](void* info) { delete static_cast<std::shared_ptr<const Bitmap>*>(info); },
                  keeper);
}

Bitmap toBitmap(const QImage& image) {
    const QImage source = image.format() == QImage::Format_ARGB32
                              ? image
                              : image.convertToFormat(QImage::Format_ARGB32);
    Bitmap bitmap = Bitmap::blank(source.width(), source.height(), 32);
    const std::size_t rowBytes = bitmap.rowBytes();
    for (int y = 0; y < source.height(); ++y) {
        std::memcpy(bitmap.pixels.data() + rowBytes * static_cast<std::size_t>(y),
                    source.constScanLine(y), rowBytes);
    }
    return bitmap;
}

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_bitmap.h"

#include <QBuffer>
#include <QImageReader>

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
    // RGB32 keeps 0xFF in its alpha byte: the same bytes as ARGB32, no conversion needed.
    const bool same = image.format() == QImage::Format_ARGB32 || image.format() == QImage::Format_RGB32;
    const QImage source = same ? image : image.convertToFormat(QImage::Format_ARGB32);
    Bitmap bitmap = Bitmap::blank(source.width(), source.height(), 32);
    const std::size_t rowBytes = bitmap.rowBytes();
    for (int y = 0; y < source.height(); ++y) {
        std::memcpy(bitmap.pixels.data() + rowBytes * static_cast<std::size_t>(y),
                    source.constScanLine(y), rowBytes);
    }
    return bitmap;
}

std::optional<Bitmap> decodeBitmap(std::string_view bytes) {
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer device(&data);
    device.open(QIODevice::ReadOnly);
    QImageReader reader(&device);
    const QSize size = reader.size();
    const QImage::Format format = reader.imageFormat();
    if (size.isValid() && (format == QImage::Format_ARGB32 || format == QImage::Format_RGB32)) {
        Bitmap bitmap = Bitmap::blank(size.width(), size.height(), 32);
        // An image over the bitmap's pixels of the very size and format is decoded into.
        QImage target(bitmap.pixels.data(), size.width(), size.height(), static_cast<qsizetype>(bitmap.rowBytes()),
                      format);
        if (!reader.read(&target)) return std::nullopt;
        if (target.constBits() == bitmap.pixels.data()) return bitmap;
        return toBitmap(target);  // the reader chose a buffer of its own after all
    }
    QImage image;
    if (!reader.read(&image)) return std::nullopt;
    return toBitmap(image);
}

}  // namespace tessaro

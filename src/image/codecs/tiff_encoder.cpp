// SPDX-License-Identifier: GPL-3.0-or-later
// TIFF through libtiff: RGB, 8 bits per sample, LZW with the horizontal predictor. libtiff
// seeks back to link the directory it writes after the strips into the header, so the
// file is put together in memory and handed to the sink once complete; only the
// compressed file is held, not a second copy of it.
#include <tiffio.h>

#include <algorithm>
#include <cstring>

#include "image/codecs/encoded_image.h"

namespace tessaro {
namespace {

struct MemoryFile {
    Bytes bytes;
    toff_t position = 0;
};

tsize_t readNothing(thandle_t, tdata_t, tsize_t) { return 0; }

tsize_t writeAt(thandle_t handle, tdata_t data, tsize_t size) {
    auto* file = static_cast<MemoryFile*>(handle);
    const std::size_t end = std::size_t(file->position) + std::size_t(size);
    if (file->bytes.size() < end) file->bytes.resize(end);
    std::memcpy(file->bytes.data() + file->position, data, std::size_t(size));
    file->position = end;
    return size;
}

toff_t seekTo(thandle_t handle, toff_t offset, int whence) {
    auto* file = static_cast<MemoryFile*>(handle);
    if (whence == SEEK_CUR) offset += file->position;
    if (whence == SEEK_END) offset += file->bytes.size();
    file->position = offset;
    return offset;
}

int closeNothing(thandle_t) { return 0; }

toff_t sizeOf(thandle_t handle) { return static_cast<MemoryFile*>(handle)->bytes.size(); }

int mapNothing(thandle_t, tdata_t*, toff_t*) { return 0; }

void unmapNothing(thandle_t, tdata_t, toff_t) {}

}  // namespace

void EncodeTiff(const ImageRecord& image, ByteSink& sink) {
    if (image.format != PixelFormat::Rgb24) throw ImageError("the writers take 24-bit RGB");
    MemoryFile file;
    TIFF* tiff = TIFFClientOpen("memory", "w", &file, readNothing, writeAt, seekTo, closeNothing,
                                sizeOf, mapNothing, unmapNothing);
    if (!tiff) throw ImageError("libtiff cannot start");
    struct Release {
        TIFF* tiff;
        ~Release() { TIFFClose(tiff); }
    } release{tiff};
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, std::uint32_t(image.width));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, std::uint32_t(image.height));
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(tiff, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    TIFFSetField(tiff, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    // Every strip starts a new LZW dictionary: strips of about 256 KiB instead of libtiff's
    // 8 KiB (a single row of a wide screenshot) let the codes grow long.
    const std::size_t stripRows =
        std::max<std::size_t>(1, (std::size_t{256} << 10) / image.rowBytes());
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP,
                 std::uint32_t(std::min<std::size_t>(stripRows, std::size_t(image.height))));
    Bytes row(image.rowBytes());
    for (int y = 0; y < image.height; ++y) {
        // libtiff's predictor works in place on the row it is given.
        std::copy_n(image.row(y), row.size(), row.begin());
        if (TIFFWriteScanline(tiff, row.data(), std::uint32_t(y), 0) < 0) {
            throw ImageError("libtiff cannot write a row");
        }
    }
    if (!TIFFFlush(tiff)) throw ImageError("libtiff cannot finish the file");
    sink.write(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size());
}

}  // namespace tessaro

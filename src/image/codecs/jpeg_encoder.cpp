// SPDX-License-Identifier: GPL-3.0-or-later
// JPEG with a JFIF header through libjpeg-turbo.
// jpeglib.h needs size_t and FILE declared before it.
#include <cstddef>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include "image/codecs/encoded_image.h"

namespace tessaro {
namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void throwJpegError(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    throw ImageError(errors->message);
}

}  // namespace

Bytes EncodeJpeg(const ImageRecord& image, int quality, bool progressive) {
    if (image.format != PixelFormat::Rgb24) throw ImageError("the writers take 24-bit RGB");
    if (image.width > JPEG_MAX_DIMENSION || image.height > JPEG_MAX_DIMENSION) {
        throw ImageError("image too large for JPEG");
    }
    jpeg_compress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = throwJpegError;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    struct Release {
        jpeg_compress_struct* info;
        unsigned char** buffer;
        ~Release() {
            jpeg_destroy_compress(info);
            std::free(*buffer);
        }
    } release{&info, &buffer};
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(image.width);
    info.image_height = JDIMENSION(image.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (quality >= 90) {
        // High qualities keep full colour resolution: screenshots have sharp coloured text.
        for (int c = 0; c < 3; ++c) {
            info.comp_info[c].h_samp_factor = 1;
            info.comp_info[c].v_samp_factor = 1;
        }
    }
    info.optimize_coding = TRUE;
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.row(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return Bytes(buffer, buffer + size);
}

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// JPEG with a JFIF header through libjpeg-turbo.
// jpeglib.h needs size_t and FILE declared before it.
#include <cstddef>
#include <cstdio>
#include <csetjmp>
#include <cstdlib>
#include <memory>

#include <jpeglib.h>

#include "image/codecs/encoded_image.h"

namespace tessaro {
namespace {

// libjpeg reports an error by calling error_exit, which must not return. It jumps back to
// compress(), so that no C++ exception ever has to pass through libjpeg's C frames.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void jumpOnError(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// Runs the whole compression; false after an error of libjpeg, whose message is then in
// `errors`. Nothing here has a destructor that the jump would skip.
bool compress(jpeg_compress_struct& info, ErrorManager& errors, const ImageRecord& image, int quality,
              bool progressive, unsigned char** buffer, unsigned long* size) {
    if (setjmp(errors.jump)) return false;
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, buffer, size);
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
    return true;
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
    errors.base.error_exit = jumpOnError;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool compressed = compress(info, errors, image, quality, progressive, &buffer, &size);
    jpeg_destroy_compress(&info);
    // The buffer is libjpeg's malloc block; it is ours to free whatever happened.
    const std::unique_ptr<unsigned char, decltype(&std::free)> owned(buffer, &std::free);
    if (!compressed) throw ImageError(errors.message);
    return Bytes(buffer, buffer + size);
}

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// JPEG with a JFIF header through libjpeg-turbo, written through a fixed buffer into the
// sink as libjpeg fills it.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <exception>
#include <vector>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include "image/codecs/encoded_image.h"

namespace tessaro {
namespace {

// libjpeg reports an error by calling error_exit, which must not return. It jumps back to
// compress(), so that no C++ exception ever has to pass through libjpeg's C frames. An
// error of the sink takes the same jump and is kept in `failure`.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    std::exception_ptr failure;
};

void jumpOnError(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// libjpeg fills `buffer` and asks for it to be emptied; the bytes go on to the sink.
struct Destination {
    jpeg_destination_mgr base;
    ByteSink* sink;
    std::vector<JOCTET>* buffer;
};

void startBuffer(j_compress_ptr info) {
    auto* destination = reinterpret_cast<Destination*>(info->dest);
    destination->base.next_output_byte = destination->buffer->data();
    destination->base.free_in_buffer = destination->buffer->size();
}

// Hands the first `size` bytes of the buffer to the sink. An exception of the sink is
// kept and libjpeg is left by the error jump, outside the handler.
void handOn(j_compress_ptr info, std::size_t size) {
    auto* destination = reinterpret_cast<Destination*>(info->dest);
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    try {
        destination->sink->write(reinterpret_cast<const char*>(destination->buffer->data()), size);
    } catch (...) {
        errors->failure = std::current_exception();
    }
    if (errors->failure) std::longjmp(errors->jump, 1);
}

// Called when the buffer is full, whatever next_output_byte says.
boolean emptyBuffer(j_compress_ptr info) {
    handOn(info, reinterpret_cast<Destination*>(info->dest)->buffer->size());
    startBuffer(info);
    return TRUE;
}

void finishBuffer(j_compress_ptr info) {
    auto* destination = reinterpret_cast<Destination*>(info->dest);
    const std::size_t used = destination->buffer->size() - destination->base.free_in_buffer;
    if (used > 0) handOn(info, used);
}

// Runs the whole compression; false after an error of libjpeg or of the sink, whose
// message or exception is then in `errors`. Nothing here has a destructor that the jump
// would skip.
bool compress(jpeg_compress_struct& info, ErrorManager& errors, Destination& destination,
              const ImageRecord& image, int quality, bool progressive) {
    if (setjmp(errors.jump)) return false;
    jpeg_create_compress(&info);
    destination.base.init_destination = startBuffer;
    destination.base.empty_output_buffer = emptyBuffer;
    destination.base.term_destination = finishBuffer;
    info.dest = &destination.base;
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

void EncodeJpeg(const ImageRecord& image, int quality, bool progressive, ByteSink& sink) {
    if (image.format != PixelFormat::Rgb24) throw ImageError("the writers take 24-bit RGB");
    if (image.width > JPEG_MAX_DIMENSION || image.height > JPEG_MAX_DIMENSION) {
        throw ImageError("image too large for JPEG");
    }
    jpeg_compress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = jumpOnError;
    std::vector<JOCTET> buffer(std::size_t{64} << 10);
    Destination destination{{}, &sink, &buffer};
    const bool compressed = compress(info, errors, destination, image, quality, progressive);
    jpeg_destroy_compress(&info);
    if (errors.failure) std::rethrow_exception(errors.failure);
    if (!compressed) throw ImageError(errors.message);
}

}  // namespace tessaro

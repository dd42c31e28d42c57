// SPDX-License-Identifier: GPL-3.0-or-later
// JPEG 2000 in the JP2 container through OpenJPEG. OpenJPEG seeks back to write the
// length of the codestream box before it, so the file is put together in memory and
// handed to the sink once complete. Lossy at the writer's own quality, which the output
// options never change: the quality 80 of the scale the options use corresponds here to a
// target of 41 dB PSNR.
#include <openjpeg.h>

#include <algorithm>
#include <cstring>

#include "image/codecs/encoded_image.h"

namespace tessaro {
namespace {

constexpr float kTargetPsnr = 41.0f;

struct MemoryStream {
    Bytes bytes;
    std::size_t position = 0;
};

OPJ_SIZE_T writeAt(void* data, OPJ_SIZE_T size, void* user) {
    auto* stream = static_cast<MemoryStream*>(user);
    const std::size_t end = stream->position + size;
    if (stream->bytes.size() < end) stream->bytes.resize(end);
    std::memcpy(stream->bytes.data() + stream->position, data, size);
    stream->position = end;
    return size;
}

OPJ_OFF_T skipBy(OPJ_OFF_T offset, void* user) {
    auto* stream = static_cast<MemoryStream*>(user);
    stream->position = std::size_t(OPJ_OFF_T(stream->position) + offset);
    return offset;
}

OPJ_BOOL seekTo(OPJ_OFF_T offset, void* user) {
    static_cast<MemoryStream*>(user)->position = std::size_t(offset);
    return OPJ_TRUE;
}

}  // namespace

void EncodeJp2(const ImageRecord& image, ByteSink& sink) {
    if (image.format != PixelFormat::Rgb24) throw ImageError("the writers take 24-bit RGB");
    opj_image_cmptparm_t components[3]{};
    for (auto& c : components) {
        c.dx = c.dy = 1;
        c.w = OPJ_UINT32(image.width);
        c.h = OPJ_UINT32(image.height);
        c.prec = 8;
        c.sgnd = 0;
    }
    opj_image_t* picture = opj_image_create(3, components, OPJ_CLRSPC_SRGB);
    if (!picture) throw ImageError("OpenJPEG cannot hold the picture");
    opj_codec_t* codec = opj_create_compress(OPJ_CODEC_JP2);
    opj_stream_t* stream = opj_stream_default_create(OPJ_FALSE);
    struct Release {
        opj_image_t* picture;
        opj_codec_t* codec;
        opj_stream_t* stream;
        ~Release() {
            if (stream) opj_stream_destroy(stream);
            if (codec) opj_destroy_codec(codec);
            opj_image_destroy(picture);
        }
    } release{picture, codec, stream};
    if (!codec || !stream) throw ImageError("OpenJPEG cannot start");
    picture->x1 = OPJ_UINT32(image.width);
    picture->y1 = OPJ_UINT32(image.height);
    const std::size_t count = std::size_t(image.width) * std::size_t(image.height);
    for (int c = 0; c < 3; ++c) {
        OPJ_INT32* samples = picture->comps[c].data;
        for (std::size_t i = 0; i < count; ++i) samples[i] = image.pixels[3 * i + std::size_t(c)];
    }
    opj_cparameters_t parameters;
    opj_set_default_encoder_parameters(&parameters);
    parameters.tcp_numlayers = 1;
    parameters.cp_fixed_quality = 1;
    parameters.tcp_distoratio[0] = kTargetPsnr;
    parameters.tcp_mct = 1;       // colour transform for RGB
    parameters.irreversible = 1;  // the 9/7 wavelet of lossy JPEG 2000: meets the target closely
    const int smallest = std::min(image.width, image.height);
    while (parameters.numresolution > 1 && (1 << (parameters.numresolution - 1)) > smallest) {
        --parameters.numresolution;
    }
    if (!opj_setup_encoder(codec, &parameters, picture))
        throw ImageError("OpenJPEG refuses the settings");
    MemoryStream memory;
    opj_stream_set_user_data(stream, &memory, nullptr);
    opj_stream_set_write_function(stream, writeAt);
    opj_stream_set_skip_function(stream, skipBy);
    opj_stream_set_seek_function(stream, seekTo);
    if (!opj_start_compress(codec, picture, stream) || !opj_encode(codec, stream) ||
        !opj_end_compress(codec, stream)) {
        throw ImageError("JPEG 2000 cannot be written");
    }
    sink.write(reinterpret_cast<const char*>(memory.bytes.data()), memory.bytes.size());
}

}  // namespace tessaro

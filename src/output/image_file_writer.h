// SPDX-License-Identifier: GPL-3.0-or-later
// Writing an image file: the writer is chosen by the file name's extension.
#pragma once

#include <string>

#include "image/image_record.h"
#include "platform/byte_sink.h"

namespace tessaro {

// The options the writers take up; the image-save stage sets them before every save.
struct ImageWriteOptions {
    int jpegQuality = 90;
    int jngQuality = 90;
    int mngQuality = 90;
    bool psdLayer = true;
    bool jpegProgressive = true;
    bool jngProgressive = true;
    bool mngProgressive = true;
};

// The writer of a file name: ".ico" and ".cur" as an icon file, every other name by the
// first registered writer whose pattern list matches the base name (letter case ignored).
//
// Whether a writer takes the file name.
bool HasImageWriter(const std::u16string& path);

// Encodes `image` (24-bit RGB) as the file `path` asks for into `sink`; false, with nothing
// written, when no writer takes the name. Throws ImageError for a picture the format
// cannot hold, an empty one among them (checked first, whatever the name), and whatever
// the sink throws.
bool EncodeImageFile(const std::u16string& path, const ImageRecord& image,
                     const ImageWriteOptions& options, ByteSink& sink);

// Writes that file: the encoder writes straight into a temporary file beside the target,
// which replaces the target only once the encoder has finished. A failing encode or write
// throws and leaves any old file as it was; a name no writer takes creates no file.
void SaveImageFile(const std::u16string& path, const ImageRecord& image,
                   const ImageWriteOptions& options);

}  // namespace tessaro

// Writing an image file: the writer is chosen by the file name's extension.
#pragma once

#include <string>

#include "image/image_record.h"

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

// Writes `image` (24-bit RGB) to `path`: ".ico" and ".cur" as an icon file, every other
// name by the first registered writer whose extension list matches it (letter case
// ignored). A name no writer knows writes nothing. Failures throw.
void SaveImageFile(const std::u16string& path, const ImageRecord& image,
                   const ImageWriteOptions& options);

}  // namespace tessaro

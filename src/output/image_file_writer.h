// SPDX-License-Identifier: GPL-3.0-or-later
// Writing an image file: the writer is chosen by the file name's extension.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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
// The bytes of the file the name asks for (its writer chosen by the name's pattern, icons
// by ".ico"/".cur"), nothing when no writer takes the name. Throws ImageError for a
// picture the format cannot hold, an empty one among them.
std::optional<std::vector<std::uint8_t>> EncodeImageFile(const std::u16string& path,
                                                         const ImageRecord& image,
                                                         const ImageWriteOptions& options);

// Writes that file; a failing write throws FileError and leaves any old file as it was.
void SaveImageFile(const std::u16string& path, const ImageRecord& image,
                   const ImageWriteOptions& options);

}  // namespace tessaro

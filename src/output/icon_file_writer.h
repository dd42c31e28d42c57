// Icon and cursor names: the picture as one icon of its full size, transparent where it
// has the colour of its bottom-left pixel.
#pragma once

#include <string_view>

#include "image/image_record.h"

namespace tessaro {

// Writes the icon file (resource type 1, also for ".cur" names); failures throw.
void SaveIconFile(std::u16string_view fileName, const ImageRecord& image);

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// Resampling an image record to a new size.
#pragma once

#include "image/image_record.h"

namespace tessaro {

enum class ResizeMethod { Nearest = 0, Bilinear = 1, Bicubic = 2 };

// Replaces `image` (Rgb24) by a copy resampled to newWidth x newHeight; does nothing when
// the size is unchanged. ImageError when a new side is 0 or less.
void ResizeImage(ImageRecord& image, int newWidth, int newHeight, ResizeMethod method);

}  // namespace tessaro

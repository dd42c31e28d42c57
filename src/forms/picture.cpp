// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/picture.h"

namespace tessaro {

void Picture::setBitmap(std::shared_ptr<const Bitmap> bitmap) {
    m_bitmap = std::move(bitmap);
    notifyChanged();
}

}  // namespace tessaro

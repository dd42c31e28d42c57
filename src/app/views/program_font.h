// SPDX-License-Identifier: GPL-3.0-or-later
// The font every window of the program is laid out for.
#pragma once

#include <QFont>

namespace tessaro {

// Tahoma at 11 pixels: the design sizes of the windows and their rows were made for it.
// Where Tahoma is missing, the desktop's nearest sans-serif font takes its place.
inline QFont programFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed")});
    font.setPixelSize(11);
    return font;
}

}  // namespace tessaro

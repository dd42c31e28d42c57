// SPDX-License-Identifier: GPL-3.0-or-later
// The picture the image benchmarks work on: 3840 x 2160 like a screenshot, with flat
// interface panels, text-like strokes and a photo-like region.
#pragma once

#include <cmath>

#include "image/image_record.h"

namespace tessaro::bench {

inline const ImageRecord& screenshotPicture() {
    static const ImageRecord image = [] {
        ImageRecord im = NewImage(3840, 2160, PixelFormat::Rgb24);
        for (int y = 0; y < im.height; ++y) {
            for (int x = 0; x < im.width; ++x) {
                std::uint8_t* p = im.row(y) + 3 * x;
                if (x > 2400 && y > 600 && y < 1800) {
                    for (int c = 0; c < 3; ++c) {
                        p[c] = std::uint8_t(128 + 90 * std::sin(x * 0.013 + c) * std::cos(y * 0.021 - c) +
                                            20 * std::sin(x * 0.31 + y * 0.17));
                    }
                } else if ((y % 24) > 6 && (y % 24) < 18 && ((x / 2 + y / 3) % 5 == 0) && x < 2300) {
                    p[0] = p[1] = p[2] = 30;
                } else {
                    const bool panel = (x / 400 + y / 300) % 2;
                    p[0] = panel ? 240 : 225;
                    p[1] = panel ? 240 : 230;
                    p[2] = panel ? 240 : 245;
                }
            }
        }
        return im;
    }();
    return image;
}

}  // namespace tessaro::bench

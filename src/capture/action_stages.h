// SPDX-License-Identifier: GPL-3.0-or-later
// The action stages that the capture pipeline runs at their place, in its fixed order.
// Each stage only transforms or saves; reading the clipboard afresh, writing back and
// counting own writes stay with the pipeline. The defaults leave content as it is, so a
// stage that is not configured passes its input through unchanged.
#pragma once

#include <memory>
#include <string>

#include "platform/bitmap.h"

namespace tessaro {

class ActionStages {
public:
    virtual ~ActionStages() = default;

    // The single search-and-replace pair, then the table of pairs.
    virtual std::u16string searchReplace(std::u16string text) { return text; }
    // The fixed texts in front and behind.
    virtual std::u16string addText(std::u16string text) { return text; }
    // Checks the save fields, names the file and writes the text.
    virtual void saveText(const std::u16string& text) { (void)text; }
    // Cuts the working bitmap; returns the result (the input when nothing is cut).
    virtual std::shared_ptr<const Bitmap> cutImage(std::shared_ptr<const Bitmap> working) {
        return working;
    }
    // Resizes the working bitmap when the size rules call for it.
    virtual std::shared_ptr<const Bitmap> resizeImage(std::shared_ptr<const Bitmap> working) {
        return working;
    }
    // Takes over the output options before a series of image saves.
    virtual void applyOutputOptions() {}
    // Checks the save fields, names the file and writes the image.
    virtual void saveImage(const Bitmap& image) { (void)image; }
};

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// The action stages that the capture pipeline runs at their place, in its fixed order.
// Each stage only transforms or saves; reading the clipboard afresh, writing back and
// counting own writes stay with the pipeline. There are no pass-through defaults: a stage
// left out of the wiring must show up as an error, not as an action that does nothing.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "platform/bitmap.h"

namespace tessaro {

// A stage that the program never wired up: a programming error, which the pipeline
// passes on instead of taking it for a failed picture.
class StageWiringError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

class ActionStages {
public:
    virtual ~ActionStages() = default;

    // The single search-and-replace pair, then the table of pairs.
    virtual std::u16string searchReplace(std::u16string text) = 0;
    // The fixed texts in front and behind.
    virtual std::u16string addText(std::u16string text) = 0;
    // Checks the save fields, names the file and writes the text.
    virtual void saveText(const std::u16string& text) = 0;
    // Cuts the working bitmap; returns the result (the input when nothing is cut).
    virtual std::shared_ptr<const Bitmap> cutImage(std::shared_ptr<const Bitmap> working) = 0;
    // Resizes the working bitmap when the size rules call for it.
    virtual std::shared_ptr<const Bitmap> resizeImage(std::shared_ptr<const Bitmap> working) = 0;
    // Takes over the output options before a series of image saves.
    virtual void applyOutputOptions() = 0;
    // Checks the save fields, names the file and writes the image.
    virtual void saveImage(const Bitmap& image) = 0;
};

}  // namespace tessaro

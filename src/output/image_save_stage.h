// SPDX-License-Identifier: GPL-3.0-or-later
// The image-save stages of a capture (before and after resizing): check the three save
// fields, name the file and hand the picture, as 24-bit RGB, to the image writer.
#pragma once

#include <functional>
#include <string>

#include "forms/text_controls.h"
#include "output/file_naming.h"
#include "output/image_file_writer.h"
#include "output/output_settings_window.h"
#include "platform/bitmap.h"
#include "platform/desktop.h"

namespace tessaro {

// Writes one image file; SaveImageFile in the program, a recorder in tests.
using ImageFileWriter = std::function<void(const std::u16string& path, const ImageRecord& image,
                                           const ImageWriteOptions& options)>;

class ImageSaveStage {
public:
    ImageSaveStage(Edit& saveimg_ordner, ComboBox& saveimg_name, ComboBox& saveimg_format,
                   const Teinstausgabe& einstausgabe, Desktop& desktop, const Label& spr,
                   FileCounters& counters, ImageFileWriter writer)
        : m_ordner(saveimg_ordner),
          m_name(saveimg_name),
          m_format(saveimg_format),
          m_einstausgabe(einstausgabe),
          m_desktop(desktop),
          m_spr(spr),
          m_counters(counters),
          m_writer(std::move(writer)) {}

    // Takes over the options of the output settings; runs before each save stage.
    void applyOutputOptions() { m_options = m_einstausgabe.AusgabeWerteSetzen(); }

    // Saves the picture. Every empty field is reported and nothing is saved; an invalid or
    // uncreatable folder saves nothing silently. Writer errors propagate.
    void save(const Bitmap& image);

private:
    Edit& m_ordner;
    ComboBox& m_name;
    ComboBox& m_format;
    const Teinstausgabe& m_einstausgabe;
    Desktop& m_desktop;
    const Label& m_spr;
    FileCounters& m_counters;
    ImageFileWriter m_writer;
    ImageWriteOptions m_options;
};

}  // namespace tessaro

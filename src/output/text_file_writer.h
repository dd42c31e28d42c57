// SPDX-License-Identifier: GPL-3.0-or-later
// The one writer of text files: the saved clipboard text, the saved history and the empty
// configuration file all go through WriteTextFile.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "output/text_encoder.h"
#include "platform/file_error.h"

namespace tessaro {

// True when the file name's extension is one of the image extensions that text is never
// written to: ".bmp", ".gif", ".jpg" and ".jpeg", in any letter case.
bool IsRefusedTextExtension(std::u16string_view fileName);

// Writes `text` in `encoding` to the file `fileName` (a full path), replacing any file of
// that name. Does nothing for a refused extension; for an unknown encoding code the file is
// created empty. Throws FileError "Cannot create file "<name>". <reason>" when the file
// cannot be created and "Stream write error "<name>". <reason>" when a write fails; an
// existing file is replaced only by a completely written new one.
void WriteTextFile(std::u16string_view text, std::u16string_view fileName, std::int32_t encoding);

}  // namespace tessaro

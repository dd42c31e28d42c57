// SPDX-License-Identifier: GPL-3.0-or-later
// The save folders: which folder texts name a folder files may be saved in, and how a
// folder text becomes the folder part of a target path on this system.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/desktop.h"

namespace tessaro {

// True for a folder path a save may use. An absolute path ("/" and below) passes when its
// last part is non-empty and free of : ? / > | \ < * and the double quote; the parts in
// between are not examined. Windows drive-letter paths ("C:", "C:\", "C:\Out") are judged
// by the same rule, so that settings written on Windows are judged alike. Everything else
// (relative paths, "\\server\share") fails.
bool IsValidFolderPath(std::u16string_view path);

// True for a folder text of the Windows form "X:" or "X:\...".
bool IsDriveLetterPath(std::u16string_view path);

// The folder text with a leading "~" (alone or before "/") replaced by the home folder.
// Other texts come back unchanged; so does "~" when the home folder is unknown.
std::u16string ExpandHomeFolder(std::u16string_view folder, const std::filesystem::path& home);

// The folder part of a target path, ending with its separator: the folder text with "~"
// expanded, then checked. No folder when the text is not a valid folder path or names a
// Windows drive (which does not exist here). Nothing is created yet: the folder may still
// hold placeholders such as %date%.
std::optional<std::u16string> CheckSaveFolder(std::u16string_view folder, Desktop& desktop);

// Creates, with all missing parents, the folder that a finished target path has in the
// place of the checked folder `folder` (whose placeholders the path has expanded; none of
// them gives a separator). Folders that the name itself adds are not created. False when
// the folder does not exist afterwards.
bool CreateSaveFolder(std::u16string_view path, std::u16string_view folder, Desktop& desktop);

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program's own files (its help pages) lie: beside the executable in the build
// tree and in a portable folder, or in <prefix>/share/tessaro/ when the executable was
// installed as <prefix>/bin/tessaro.
#pragma once

#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

namespace tessaro {

// A page every installation carries; its presence marks the data folder of an installation.
inline constexpr std::string_view kLayoutMarkerPage = "regex-help.html";

// The folders that may hold the program's data files, in the order they are tried: the
// program folder itself, then, for a program folder named "bin", its ../share/tessaro/.
// Each ends in a separator.
std::vector<std::filesystem::path> DataFolderCandidates(const std::filesystem::path& programFolder);

// Whether the program folder is the bin folder of an installation: it is named "bin" and
// its ../share/tessaro/ holds the help pages. `fileExists` answers for regular files.
bool IsInstalledLayout(const std::filesystem::path& programFolder,
                       const std::function<bool(const std::filesystem::path&)>& fileExists);

}  // namespace tessaro

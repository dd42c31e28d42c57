// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/program_layout.h"

#include <optional>

namespace tessaro {
namespace {

// The folder without a trailing separator, so that its last part is its name.
std::filesystem::path withoutSeparator(const std::filesystem::path& folder) {
    std::filesystem::path normal = folder.lexically_normal();
    if (!normal.has_filename() && normal.has_parent_path()) normal = normal.parent_path();
    return normal;
}

std::optional<std::filesystem::path> installedDataFolder(const std::filesystem::path& programFolder) {
    const std::filesystem::path folder = withoutSeparator(programFolder);
    if (folder.filename() != "bin") return std::nullopt;
    return folder.parent_path() / "share" / "tessaro" / "";
}

}  // namespace

std::vector<std::filesystem::path> DataFolderCandidates(const std::filesystem::path& programFolder) {
    std::vector<std::filesystem::path> folders{withoutSeparator(programFolder) / ""};
    if (auto installed = installedDataFolder(programFolder)) folders.push_back(std::move(*installed));
    return folders;
}

bool IsInstalledLayout(const std::filesystem::path& programFolder,
                       const std::function<bool(const std::filesystem::path&)>& fileExists) {
    const auto installed = installedDataFolder(programFolder);
    return installed && fileExists(*installed / kLayoutMarkerPage);
}

}  // namespace tessaro

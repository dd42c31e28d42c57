// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settings_location.h"

#include <array>
#include <string_view>

namespace tessaro {
namespace {

// Folders of the system's own installations are never a portable installation, even for
// a user (root) who may write to them.
bool isSystemFolder(const std::filesystem::path& folder) {
    constexpr std::array<std::string_view, 6> kSystem = {"/usr/", "/opt/", "/bin/", "/sbin/", "/snap/", "/lib"};
    const std::string text = folder.lexically_normal().string() + "/";
    for (std::string_view prefix : kSystem) {
        if (text.compare(0, prefix.size(), prefix) == 0) return true;
    }
    return false;
}

}  // namespace

SettingsFolders ChooseSettingsFolders(const SettingsSurroundings& s) {
    if (s.programFolderWritable && !s.installedLayout && !isSystemFolder(s.programFolder)) {
        return {s.programFolder, s.programFolder};
    }
    const std::filesystem::path documents = s.documents.empty() ? s.home / "Documents" : s.documents;
    return {XdgConfigHome(s.configHome, s.home) / "tessaro" / "", documents / "Tessaro" / ""};
}

std::filesystem::path XdgConfigHome(std::string_view configHome, const std::filesystem::path& home) {
    // The XDG rule: a relative $XDG_CONFIG_HOME is invalid and ignored.
    if (!configHome.empty() && configHome.front() == '/') return std::filesystem::path(configHome);
    return home / ".config";
}

}  // namespace tessaro

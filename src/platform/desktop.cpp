// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop.h"

#include "platform/settings_location.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>
#include <vector>

namespace tessaro {

bool Desktop::fileExists(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

bool Desktop::directoryExists(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

bool Desktop::createDirectories(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return directoryExists(path);
}

std::filesystem::path Desktop::homeFolder() {
    // $HOME first, as shells do for "~"; the password database when it is unset.
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    return {};
}

std::filesystem::path Desktop::userConfigFolder() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    return XdgConfigHome(configHome != nullptr ? configHome : "", homeFolder());
}

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program keeps its start configuration and known configuration files, and
// which folder new save settings point to. A program folder the user can write to is a
// portable installation that keeps everything beside the program; an installed program
// (in a system folder, or in the bin folder of an installation prefix) uses the user's
// configuration and documents folders instead.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tessaro {

struct SettingsFolders {
    std::filesystem::path settings;    // Auto.tpf and the known configuration files
    std::filesystem::path saveFolder;  // the default folder of saved texts and images
};

struct SettingsSurroundings {
    std::filesystem::path programFolder;
    bool programFolderWritable = false;
    // The program folder is the bin folder of an installation (see IsInstalledLayout):
    // `cmake --install --prefix ~/somewhere` leaves a writable folder that is no portable one.
    bool installedLayout = false;
    std::string configHome;        // $XDG_CONFIG_HOME, empty when unset
    std::filesystem::path home;    // the user's home folder
    std::filesystem::path documents;  // the user's documents folder, empty when unknown
};

SettingsFolders ChooseSettingsFolders(const SettingsSurroundings& surroundings);

// The user's configuration folder by the XDG rules: `configHome` ($XDG_CONFIG_HOME) when it
// is an absolute path, `home`/.config otherwise.
std::filesystem::path XdgConfigHome(std::string_view configHome, const std::filesystem::path& home);

}  // namespace tessaro

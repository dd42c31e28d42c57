// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program keeps its start configuration and known configuration files, and
// which folder new save settings point to. A program folder the user can write to is a
// portable installation that keeps everything beside the program; an installed program
// uses the user's configuration and documents folders instead.
#pragma once

#include <filesystem>
#include <string>

namespace tessaro {

struct SettingsFolders {
    std::filesystem::path settings;    // Auto.tpf and the known configuration files
    std::filesystem::path saveFolder;  // the default folder of saved texts and images
};

struct SettingsSurroundings {
    std::filesystem::path programFolder;
    bool programFolderWritable = false;
    std::string configHome;        // $XDG_CONFIG_HOME, empty when unset
    std::filesystem::path home;    // the user's home folder
    std::filesystem::path documents;  // the user's documents folder, empty when unknown
};

SettingsFolders ChooseSettingsFolders(const SettingsSurroundings& surroundings);

}  // namespace tessaro

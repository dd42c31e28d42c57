// SPDX-License-Identifier: GPL-3.0-or-later
// Where settings and saves go: beside a portable program, or in the user's folders.
#include <gtest/gtest.h>

#include "platform/settings_location.h"

namespace tessaro {
namespace {

TEST(SettingsLocation, AWritableProgramFolderIsPortableAnInstalledOneUsesTheUsersFolders) {
    SettingsSurroundings s;
    s.programFolder = "/home/me/apps/tessaro/";
    s.programFolderWritable = true;
    s.home = "/home/me";
    SettingsFolders folders = ChooseSettingsFolders(s);
    EXPECT_EQ(folders.settings, s.programFolder);
    EXPECT_EQ(folders.saveFolder, s.programFolder);

    s.programFolderWritable = false;
    folders = ChooseSettingsFolders(s);
    EXPECT_EQ(folders.settings, "/home/me/.config/tessaro/");
    EXPECT_EQ(folders.saveFolder, "/home/me/Documents/Tessaro/");
    s.configHome = "/xdg/config";
    s.documents = "/home/me/Dokumente";
    folders = ChooseSettingsFolders(s);
    EXPECT_EQ(folders.settings, "/xdg/config/tessaro/");
    EXPECT_EQ(folders.saveFolder, "/home/me/Dokumente/Tessaro/");
    s.configHome = "relative/config";  // not absolute: ignored, as the XDG rules say
    EXPECT_EQ(ChooseSettingsFolders(s).settings, "/home/me/.config/tessaro/");

    // A system folder is never a portable install, even for a user who may write to it.
    s.programFolder = "/usr/bin/";
    s.programFolderWritable = true;
    EXPECT_EQ(ChooseSettingsFolders(s).settings, "/home/me/.config/tessaro/");
    s.programFolder = "/usrlocal/tessaro/";
    EXPECT_EQ(ChooseSettingsFolders(s).settings, "/usrlocal/tessaro/");
}

}  // namespace
}  // namespace tessaro

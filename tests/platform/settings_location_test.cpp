// SPDX-License-Identifier: GPL-3.0-or-later
// Where settings and saves go: beside a portable program, or in the user's folders.
#include <gtest/gtest.h>

#include <set>

#include "platform/program_layout.h"
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

TEST(SettingsLocation, TheBinFolderOfAnInstallationIsNoPortableFolderEvenWhenWritable) {
    // `cmake --install --prefix /home/me/inst` leaves a folder the user may write to.
    SettingsSurroundings s;
    s.programFolder = "/home/me/inst/bin/";
    s.programFolderWritable = true;
    s.installedLayout = true;
    s.home = "/home/me";
    s.configHome = "/home/me/xdg";
    SettingsFolders folders = ChooseSettingsFolders(s);
    EXPECT_EQ(folders.settings, "/home/me/xdg/tessaro/");
    EXPECT_EQ(folders.saveFolder, "/home/me/Documents/Tessaro/");
    s.installedLayout = false;  // a bin folder without the installed pages stays portable
    EXPECT_EQ(ChooseSettingsFolders(s).settings, "/home/me/inst/bin/");
}

TEST(ProgramLayout, DataFoldersAreBesideTheProgramThenInTheShareFolderOfABinFolder) {
    struct Case {
        const char* programFolder;
        std::vector<std::filesystem::path> expected;
    };
    const Case cases[] = {
        {"/work/build/", {"/work/build/"}},
        {"/usr/bin/", {"/usr/bin/", "/usr/share/tessaro/"}},
        {"/usr/bin", {"/usr/bin/", "/usr/share/tessaro/"}},
        {"/tmp/x/bin/", {"/tmp/x/bin/", "/tmp/x/share/tessaro/"}},
        {"/tmp/x/./bin//", {"/tmp/x/bin/", "/tmp/x/share/tessaro/"}},
        {"/opt/tessaro/binaries/", {"/opt/tessaro/binaries/"}},  // only a folder named bin
        {"/home/me/bin/tessaro/", {"/home/me/bin/tessaro/"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DataFolderCandidates(c.programFolder), c.expected) << c.programFolder;
    }
}

TEST(ProgramLayout, AnInstallationIsABinFolderWhoseShareFolderHoldsThePages) {
    const std::set<std::filesystem::path> files = {"/usr/share/tessaro/regex-help.html",
                                                   "/home/me/apps/regex-help.html",
                                                   "/home/me/share/tessaro/other.html"};
    const auto exists = [&files](const std::filesystem::path& path) { return files.count(path) > 0; };
    EXPECT_TRUE(IsInstalledLayout("/usr/bin/", exists));
    EXPECT_TRUE(IsInstalledLayout("/usr/bin", exists));
    EXPECT_FALSE(IsInstalledLayout("/home/me/apps/", exists)) << "pages beside the program: portable";
    EXPECT_FALSE(IsInstalledLayout("/home/me/bin/", exists)) << "a share folder without the pages";
    EXPECT_FALSE(IsInstalledLayout("/usr/sbin/", exists));
}

}  // namespace
}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// The settings windows behind the main window's menu: shown without blocking, closed by
// their OK buttons, and the help page they link to.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "output/oracle.h"
#include "platform/utf.h"
#include "support/app_fixture.h"

namespace tessaro {
namespace {

class SettingsWindows : public testing::AppFixture {};

TEST_F(SettingsWindows, MenuItemsShowThemAndOkHidesThem) {
    Teinstausgabe& output = app.outputSettings();
    Teinstregex& regex = app.regexSettings();
    EXPECT_FALSE(output.visible());
    prog().einst_akt.click();
    EXPECT_TRUE(output.visible());
    output.OK.click();
    EXPECT_FALSE(output.visible());

    prog().einst_regex.click();
    EXPECT_TRUE(regex.visible());
    regex.Button1.click();
    EXPECT_FALSE(regex.visible());
    EXPECT_EQ(prog().einst_regex.caption(), u"Options regarding Regular Expressions..");
}

TEST_F(SettingsWindows, HelpLinksOpenThePageInstalledBesideTheProgram) {
    const auto folder = std::filesystem::temp_directory_path() / "tessaro-help-test";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "regex-help.html") << "<html></html>";
    desktop.setProgramFolder(folder);
    fire(app.regexSettings().Label7.onClick);
    ASSERT_EQ(desktop.openedDocuments().size(), 1u);
    EXPECT_EQ(desktop.openedDocuments()[0], folder / "regex-help.html");
    EXPECT_TRUE(desktop.messages().empty());

    desktop.setCanOpenDocuments(false);
    fire(app.regexSettings().Label2.onClick);
    ASSERT_EQ(desktop.messages().size(), 1u) << "no browser: the user is told, not left waiting";
    EXPECT_NE(desktop.messages()[0].text.find(u"could not be opened"), std::u16string::npos);
    std::filesystem::remove_all(folder);

    desktop.clearMessages();
    fire(app.regexSettings().Label7.onClick);
    ASSERT_EQ(desktop.messages().size(), 1u) << "a missing page is reported too";
}

TEST_F(SettingsWindows, AnInstalledProgramFindsItsPagesInTheShareFolderOfItsPrefix) {
    testing_output::TempDir prefix;
    const auto bin = prefix.path() / "bin";
    const auto share = prefix.path() / "share" / "tessaro";
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(share);
    std::ofstream(share / "text-encodings-en.html") << "<html></html>";
    desktop.setProgramFolder(bin / "");
    ASSERT_TRUE(app.outputSettings().openLink);
    app.outputSettings().openLink(u"text-encodings-en.html");
    ASSERT_EQ(desktop.openedDocuments().size(), 1u);
    EXPECT_EQ(desktop.openedDocuments()[0], share / "text-encodings-en.html");
    EXPECT_TRUE(desktop.messages().empty());

    // A page beside the program comes first, as in the build tree.
    std::ofstream(bin / "text-encodings-en.html") << "<html></html>";
    app.outputSettings().openLink(u"text-encodings-en.html");
    ASSERT_EQ(desktop.openedDocuments().size(), 2u);
    EXPECT_EQ(desktop.openedDocuments()[1], bin / "text-encodings-en.html");

    // Missing everywhere: the message names both places looked at.
    app.outputSettings().openLink(u"text-encodings-de.html");
    EXPECT_EQ(desktop.openedDocuments().size(), 2u);
    ASSERT_EQ(desktop.messages().size(), 1u);
    const std::u16string& text = desktop.messages()[0].text;
    EXPECT_NE(text.find(utf8ToUtf16((bin / "text-encodings-de.html").string())), std::u16string::npos)
        << utf16ToUtf8(text);
    EXPECT_NE(text.find(utf8ToUtf16((share / "text-encodings-de.html").string())), std::u16string::npos)
        << utf16ToUtf8(text);

    // Only a folder named bin has a share folder beside it.
    const auto portable = prefix.path() / "portable";
    std::filesystem::create_directories(portable);
    desktop.setProgramFolder(portable / "");
    desktop.clearMessages();
    app.outputSettings().openLink(u"text-encodings-en.html");
    EXPECT_EQ(desktop.openedDocuments().size(), 2u);
    ASSERT_EQ(desktop.messages().size(), 1u);
}

TEST_F(SettingsWindows, TheHelpPageIsPartOfTheProgram) {
    // The build puts the page beside the executable; the source is what gets installed.
    const std::filesystem::path source = std::filesystem::path(TESSARO_SOURCE_DIR) / "src/app/resources/regex-help.html";
    std::ifstream page(source);
    ASSERT_TRUE(page.good());
    const std::string text{std::istreambuf_iterator<char>(page), {}};
    for (const char* topic : {"Modifiers", "(?i)", "\\w", "$1"}) {
        EXPECT_NE(text.find(topic), std::string::npos) << topic;
    }
}

}  // namespace
}  // namespace tessaro

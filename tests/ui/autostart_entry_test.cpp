// SPDX-License-Identifier: GPL-3.0-or-later
// Start at Login: the settings menu's item writes and removes the autostart file, shows
// whether it is there when the menu opens, says why when it cannot, and stays out of
// configuration files.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "output/oracle.h"
#include "support/app_fixture.h"
#include "platform/utf.h"
#include "ui/autostart_entry.h"

namespace tessaro {
namespace {

using testing_output::readBytes;
using testing_output::TempDir;
using testing_output::writeBytes;

class Autostart : public testing::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        desktop.setUserConfigFolder(config.path());
        desktop.setProgramFolder("/opt/tessaro/");
        item().menuOpening();  // the folder changed after the window was made
    }
    MenuItem& item() { return prog().einst_autostart; }
    std::filesystem::path file() const { return config.path() / "autostart" / "tessaro.desktop"; }

    TempDir config;
};

TEST_F(Autostart, TheItemWritesAndRemovesTheEntryAndShowsWhetherItIsThere) {
    const auto& settings = prog().einst.items();
    ASSERT_GE(settings.size(), 3u);
    EXPECT_EQ(settings[2], &item()) << "after the two switches of the program's behaviour";
    EXPECT_EQ(item().caption(), u"Start at Login");
    EXPECT_FALSE(item().checked());

    item().click();
    ASSERT_TRUE(std::filesystem::is_regular_file(file())) << "the autostart folder is made when missing";
    EXPECT_TRUE(item().checked());
    const std::string text = readBytes(file());
    EXPECT_EQ(text.rfind("[Desktop Entry]\n", 0), 0u);
    EXPECT_NE(text.find("\nExec=/opt/tessaro/tessaro\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nType=Application\n"), std::string::npos);
    EXPECT_TRUE(desktop.messages().empty());

    item().click();
    EXPECT_FALSE(std::filesystem::exists(file()));
    EXPECT_TRUE(std::filesystem::is_directory(file().parent_path())) << "the folder is the desktop's";
    EXPECT_FALSE(item().checked());
    EXPECT_TRUE(desktop.messages().empty());

    prog().einst_spr_deClick();
    EXPECT_EQ(item().caption(), u"Beim Anmelden starten");
}

TEST_F(Autostart, TheCheckMarkFollowsChangesMadeElsewhereWhenTheMenuOpens) {
    std::filesystem::create_directories(file().parent_path());
    writeBytes(file(), "[Desktop Entry]\nType=Application\nName=Tessaro\nExec=tessaro\n");
    EXPECT_FALSE(item().checked()) << "nothing looks before the menu opens";
    item().menuOpening();
    EXPECT_TRUE(item().checked());

    // Desktops switch an entry off in its file rather than deleting it.
    writeBytes(file(), "[Desktop Entry]\r\nType=Application\r\nExec=tessaro\r\nHidden = true\r\n");
    item().menuOpening();
    EXPECT_FALSE(item().checked());
    writeBytes(file(), "[Desktop Entry]\nExec=tessaro\nX-GNOME-Autostart-enabled=false\n");
    item().menuOpening();
    EXPECT_FALSE(item().checked());
    // The keys count in the entry's own group only, and by their whole name.
    writeBytes(file(), "[Desktop Entry]\nExec=tessaro\nHiddenFlag=true\n[Desktop Action a]\nHidden=true\n");
    item().menuOpening();
    EXPECT_TRUE(item().checked());

    // A click on a switched-off entry switches it on: our own file replaces it.
    writeBytes(file(), "[Desktop Entry]\nExec=tessaro\nHidden=true\n");
    item().menuOpening();
    item().click();
    EXPECT_TRUE(item().checked());
    EXPECT_EQ(readBytes(file()).find("Hidden"), std::string::npos);

    std::filesystem::remove(file());
    item().menuOpening();
    EXPECT_FALSE(item().checked());
}

TEST_F(Autostart, ConfigurationFilesNeitherHoldNorChangeIt) {
    const std::filesystem::path off = config.path() / "off.tpf";
    const std::filesystem::path on = config.path() / "on.tpf";
    app.configuration().KonfigurationSpeichern(off);
    item().click();
    ASSERT_TRUE(item().checked());
    app.configuration().KonfigurationSpeichern(on);
    EXPECT_EQ(readBytes(off), readBytes(on)) << "the entry leaves configuration files byte for byte alike";

    // Loading a configuration, or resetting every setting, leaves the file where it is.
    app.configuration().KonfigurationLaden(LoadOrigin::UserCommand, off);
    prog().m_konfig_standard.click();
    EXPECT_TRUE(std::filesystem::exists(file()));
    EXPECT_TRUE(item().checked());
}

TEST_F(Autostart, FailuresAreShownAndTheCheckMarkStaysWithTheFile) {
    // A file where the autostart folder belongs.
    writeBytes(config.path() / "autostart", "not a folder");
    item().click();
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_EQ(desktop.messages()[0].kind, MessageKind::Error);
    EXPECT_NE(desktop.messages()[0].text.find(u"Cannot create folder \"" +
                                              utf8ToUtf16((config.path() / "autostart").string()) + u"\""),
              std::u16string::npos);
    EXPECT_FALSE(item().checked());

    // A folder in the file's place: the write fails and names the file.
    std::filesystem::remove(config.path() / "autostart");
    std::filesystem::create_directories(file() / "inside");
    desktop.clearMessages();
    prog().einst_spr_deClick();
    item().click();
    ASSERT_EQ(desktop.messages().size(), 1u);
    const std::u16string& text = desktop.messages()[0].text;
    EXPECT_EQ(text.rfind(u"Der Autostart-Eintrag konnte nicht geschrieben werden.", 0), 0u) << utf16ToUtf8(text);
    EXPECT_NE(text.find(utf8ToUtf16(file().string())), std::u16string::npos);
    EXPECT_FALSE(item().checked());
    EXPECT_TRUE(std::filesystem::is_directory(file() / "inside"));

    // Without a home folder there is no autostart folder, and no folder relative to
    // wherever the program was started.
    for (const char* unknown : {"", "relative/config"}) {
        desktop.setUserConfigFolder(unknown);
        desktop.clearMessages();
        item().click();
        ASSERT_EQ(desktop.messages().size(), 1u) << unknown;
        EXPECT_NE(desktop.messages()[0].text.find(u"$XDG_CONFIG_HOME"), std::u16string::npos);
        EXPECT_FALSE(item().checked());
    }
    EXPECT_FALSE(std::filesystem::exists("relative"));

    // A program path that a desktop file cannot hold is refused, not written broken.
    desktop.setUserConfigFolder(config.path() / "second");
    desktop.setProgramFolder("/opt/line\nbreak/");
    desktop.clearMessages();
    item().click();
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_NE(desktop.messages()[0].text.find(u"/opt/line\nbreak/tessaro"), std::u16string::npos);
    EXPECT_FALSE(std::filesystem::exists(config.path() / "second" / "autostart" / "tessaro.desktop"));
    EXPECT_FALSE(item().checked());
}

// The Exec line as it stands in the file.
std::string execLine(const std::filesystem::path& program) {
    const auto text = AutostartFileText(program);
    if (!text) return "(refused)";
    const std::size_t start = text->find("\nExec=");
    return text->substr(start + 1, text->find('\n', start + 1) - start - 1);
}

TEST(AutostartFileText, ExecQuotesAndEscapesAsTheDesktopEntryRulesAsk) {
    struct Case {
        const char* program;
        const char* exec;
    };
    const Case cases[] = {
        {"/usr/bin/tessaro", "Exec=/usr/bin/tessaro"},
        {"/opt/Zwischenablage-\xc3\x9c/tessaro", "Exec=/opt/Zwischenablage-\xc3\x9c/tessaro"},
        {"/opt/My Apps/tessaro", R"(Exec="/opt/My Apps/tessaro")"},
        // A field code would start at '%'; a literal one is doubled, quoted or not.
        {"/opt/100%/tessaro", "Exec=/opt/100%%/tessaro"},
        {"/opt/100% sure/tessaro", R"(Exec="/opt/100%% sure/tessaro")"},
        // Inside quotes '"', '`', '$' and '\' take a backslash, and every backslash of the
        // line is doubled by the file's string escapes.
        {R"(/opt/a"b/tessaro)", R"(Exec="/opt/a\\"b/tessaro")"},
        {"/opt/a$b`c/tessaro", R"(Exec="/opt/a\\$b\\`c/tessaro")"},
        {R"(/opt/a\b/tessaro)", R"(Exec="/opt/a\\\\b/tessaro")"},
        {"/opt/it's/tessaro", R"(Exec="/opt/it's/tessaro")"},
        {"/opt/~me/tessaro", R"(Exec="/opt/~me/tessaro")"},
        {"tessaro", "(refused)"},
        {"/opt/a\nb/tessaro", "(refused)"},
        {"/opt/a\tb/tessaro", "(refused)"},
        {"/opt/a\x7f/tessaro", "(refused)"},
        {"/opt/\xff\xfe/tessaro", "(refused)"},
    };
    for (const Case& c : cases) EXPECT_EQ(execLine(c.program), c.exec) << c.program;
}

TEST(AutostartFileText, DesktopFileValidateAcceptsTheEntries) {
    const std::filesystem::path validator = "/usr/bin/desktop-file-validate";
    if (!std::filesystem::exists(validator)) GTEST_SKIP() << "desktop-file-utils is not installed";
    TempDir folder;
    const std::filesystem::path file = folder.path() / "tessaro.desktop";
    for (const char* program : {"/usr/bin/tessaro", "/opt/My Apps/tessaro", R"(/opt/a"b$c\d%e/tessaro)"}) {
        writeBytes(file, *AutostartFileText(program));
        const std::string command = validator.string() + " '" + file.string() + "' 2>&1";
        FILE* pipe = ::popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string output;
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
        EXPECT_EQ(::pclose(pipe), 0) << program << "\n" << output;
        EXPECT_EQ(output, "") << program;
    }
}

}  // namespace
}  // namespace tessaro

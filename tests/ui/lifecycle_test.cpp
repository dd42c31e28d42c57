// SPDX-License-Identifier: GPL-3.0-or-later
// The program's start, the start window, the main window's life cycle and the tray.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/app_fixture.h"

namespace tessaro {
namespace {

using testing::AppFixture;

class Lifecycle : public AppFixture {};

TEST_F(Lifecycle, WindowsAreCreatedOnceInTheirOrder) {
    std::vector<std::string> names;
    for (const Form* window : app.windows()) names.push_back(window->name());
    EXPECT_EQ(names, (std::vector<std::string>{"Tstart", "Tprog", "Tintro_de", "Tintro_en", "Tbugreport",
                                               "Teinstausgabe", "Teinstregex", "Tcutauswahl", "Teinstverlauf"}));
    EXPECT_EQ(desktop.applicationTitle(), u"Tessaro - Orvendal");
    EXPECT_EQ(prog().caption(), u"Tessaro - Orvendal");
    EXPECT_EQ(app.windows()[8]->caption(), u"History Settings");
}

TEST_F(Lifecycle, CreationJoinsTheChainAndSelectsTheTextPage) {
    EXPECT_EQ(clipboard.viewers().head(), prog().monitor().handle());
    EXPECT_EQ(prog().TabSet1.tabs(), (std::vector<std::u16string>{u"Text", u"Details"}));
    EXPECT_EQ(prog().pc.activePage(), &prog().tab_txt);
    EXPECT_EQ(app.captureState().LastRunTick, 176u)
        << "the joining notification at tick 0 came too soon and got its deferred run";
    EXPECT_EQ(prog().zuletzt.columns()[2].caption, u"Content");
    EXPECT_EQ(prog().m_einst_aktiv.caption(), u"Clipboard-Exploring active");
    EXPECT_TRUE(prog().m_einst_aktiv.checked());
}

TEST_F(Lifecycle, TheJoiningNotificationCapturesWhatIsOnTheClipboardWhenTimeAllows) {
    TestDesktop late;
    late.setTick(5000);
    MemoryClipboard board;
    board.putFromOtherProgram(testing::textContent(u"there at start"));
    Application program(late, board);
    program.createWindows();
    ASSERT_EQ(program.mainWindow().zuletzt.count(), 1u);
    EXPECT_EQ(program.mainWindow().zuletzt.item(0).cell(2), u"there at start");

    // A picture there at start shows on its own page under its own tab.
    TestDesktop other;
    other.setTick(5000);
    MemoryClipboard pictureBoard;
    pictureBoard.putFromOtherProgram({{CF_BITMAP, testing::testBitmap(4, 3)}});
    Application withPicture(other, pictureBoard);
    withPicture.createWindows();
    Tprog& window = withPicture.mainWindow();
    EXPECT_EQ(window.TabSet1.tabs(), (std::vector<std::u16string>{u"Image", u"Details"}));
    EXPECT_EQ(window.pc.activePage(), &window.tab_img);
}

TEST_F(Lifecycle, StartTimerRevealsTheMainWindowThenHidesItselfThenStops) {
    Tstart& start = app.startWindow();
    app.showStartWindow();
    ASSERT_TRUE(start.visible());
    for (int tick = 1; tick <= 3; ++tick) start.Timer1.elapse();
    EXPECT_FALSE(prog().visible());
    start.Timer1.elapse();
    EXPECT_TRUE(prog().visible());
    start.Timer1.elapse();
    EXPECT_TRUE(start.visible());
    start.Timer1.elapse();
    EXPECT_FALSE(start.visible());
    start.Timer1.elapse();
    EXPECT_TRUE(start.Timer1.enabled());
    start.Timer1.elapse();
    EXPECT_FALSE(start.Timer1.enabled());
    EXPECT_EQ(start.tickCounter(), 8);
}

TEST_F(Lifecycle, ClickingTheSplashRevealsAtOnce) {
    app.showStartWindow();
    fire(app.startWindow().en1.onClick);
    EXPECT_TRUE(prog().visible());
    EXPECT_FALSE(app.startWindow().visible());
    EXPECT_FALSE(app.startWindow().Timer1.enabled());
}

TEST_F(Lifecycle, ASmallScreenMaximizesTheWindowAtItsFirstActivation) {
    desktop.setScreen({800, 600});
    prog().reveal();
    EXPECT_EQ(prog().windowState(), WindowState::Maximized);
    EXPECT_EQ(prog().tag(), 1);

    TestDesktop big;
    MemoryClipboard board;
    Application program(big, board);
    program.createWindows();
    program.mainWindow().reveal();
    EXPECT_EQ(program.mainWindow().windowState(), WindowState::Normal);
}

TEST_F(Lifecycle, ResizeRuleSplitsColumnsAndRowsWithIntegerDivision) {
    prog().Panel2.setWidth(300);
    prog().Panel3.setWidth(701);
    prog().Panel4.setHeight(360);
    prog().Panel5.setHeight(228);
    prog().FormResize();
    EXPECT_EQ(prog().Panel2.width(), 333);
    EXPECT_EQ(prog().Panel4.height(), 351);
}

TEST_F(Lifecycle, MinimizingToTheTrayAndRestoringWithTheLeftButton) {
    prog().reveal();
    EXPECT_FALSE(prog().sysCommand(SysCommand::Minimize)) << "without the option: a normal minimize";
    prog().MinimizetoTaskbar.click();
    EXPECT_TRUE(prog().MinimizetoTaskbar.checked());
    EXPECT_TRUE(desktop.trayIconPresent());
    EXPECT_EQ(desktop.trayTip(), u"Tessaro - Orvendal\nClipboard-Exploring active");
    EXPECT_FALSE(prog().visible()) << "checking the option hides the window at once";

    // The icon's menu switches capture and shows its state each time it opens.
    const auto& menu = desktop.trayMenu();
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_EQ(menu[1].caption, u"Clipboard-Exploring active");
    ASSERT_TRUE(menu[1].checked);
    EXPECT_TRUE(menu[1].checked());
    menu[1].run();
    EXPECT_FALSE(prog().m_einst_aktiv.checked());
    EXPECT_FALSE(menu[1].checked());
    menu[1].run();
    EXPECT_TRUE(prog().m_einst_aktiv.checked());
    menu[0].run();  // Show

    EXPECT_FALSE(desktop.trayIconPresent());
    EXPECT_TRUE(prog().visible());
    EXPECT_EQ(prog().windowState(), WindowState::Normal);

    EXPECT_TRUE(prog().sysCommand(SysCommand::Minimize));
    desktop.pressTrayIcon();
    EXPECT_FALSE(desktop.trayIconPresent());
    EXPECT_TRUE(prog().visible());

    EXPECT_TRUE(prog().sysCommand(SysCommand::Minimize));
    EXPECT_FALSE(prog().visible());
    EXPECT_FALSE(prog().sysCommand(SysCommand::Maximize));
}

TEST_F(Lifecycle, WithoutANotificationAreaTheWindowIsNotHidden) {
    prog().reveal();
    desktop.setTrayAvailable(false);
    prog().MinimizetoTaskbar.click();
    EXPECT_TRUE(prog().visible());
    // The user hears why, and the option does not stay on to swallow the next minimize.
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_NE(desktop.messages()[0].text.find(u"notification area"), std::u16string::npos);
    EXPECT_FALSE(prog().MinimizetoTaskbar.checked());
    EXPECT_FALSE(prog().sysCommand(SysCommand::Minimize));
}

TEST_F(Lifecycle, BothWaysOfClosingEndTheProgram) {
    prog().m_close.click();
    EXPECT_TRUE(desktop.quitRequested());
    TestDesktop other;
    MemoryClipboard board;
    Application program(other, board);
    program.createWindows();
    EXPECT_TRUE(program.mainWindow().FormCloseQuery());
    program.mainWindow().FormClose();
    EXPECT_TRUE(other.quitRequested());
}

class MarkerFiles : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("tessaro-markers-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
        desktop.setWorkingDirectory(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    void touch(const char* name) { std::ofstream(folder / name) << ""; }
    std::u16string startLanguage() {
        Application program(desktop, board);
        program.createWindows();
        return program.startWindow().spr.caption();
    }

    std::filesystem::path folder;
    TestDesktop desktop;
    MemoryClipboard board;
};

TEST_F(MarkerFiles, ChooseTheStartLanguageWithGermanWinning) {
    EXPECT_EQ(startLanguage(), u"en");
    touch("de");
    EXPECT_EQ(startLanguage(), u"de");
    touch("en");
    EXPECT_EQ(startLanguage(), u"de");
    std::filesystem::remove(folder / "de");
    EXPECT_EQ(startLanguage(), u"en");
}

TEST_F(MarkerFiles, GermanStartShowsGermanSplashAndCaptions) {
    touch("de");
    Application program(desktop, board);
    program.createWindows();
    EXPECT_TRUE(program.startWindow().Image1.visible());
    EXPECT_FALSE(program.startWindow().en1.visible());
    Tprog& p = program.mainWindow();
    EXPECT_EQ(p.Panel7.caption(), u"  Verlauf");
    EXPECT_EQ(p.zuletzt.columns()[0].caption, u"Zeit");
    EXPECT_EQ(p.liste.columns()[1].caption, u"Nummer");
    EXPECT_EQ(p.cb_history_img.caption(), u"Bilder im Verlauf zeigen");
    EXPECT_EQ(program.windows()[5]->caption(), u"Einstellungen");
}

}  // namespace
}  // namespace tessaro

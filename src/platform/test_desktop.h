// SPDX-License-Identifier: GPL-3.0-or-later
// A desktop for tests: a tick and a clock that the test sets, recorded message boxes and
// window commands, and a chosen program folder, working directory and command line.
#pragma once

#include <string>
#include <vector>

#include "platform/desktop.h"

namespace tessaro {

class TestDesktop final : public Desktop {
public:
    struct Message {
        MessageKind kind;
        std::u16string title;
        std::u16string text;
    };
    struct Command {
        const Form* window;
        WindowCommand command;
    };

    void showMessage(MessageKind kind, std::u16string_view title, std::u16string_view text) override;
    // Runs the modal script with the window in place of the user, then ends the showing.
    void showModal(Form& window, std::function<void()>& endModal) override;
    void setModalScript(std::function<void(Form&)> script) { m_modalScript = std::move(script); }
    int modalShowings() const { return m_modalShowings; }
    std::uint32_t tickCount() override { return m_tick; }
    // Kept until the test's clock reaches the task's time.
    void runLater(std::uint32_t delayMs, std::function<void()> task) override {
        m_later.push_back({m_time + delayMs, std::move(task)});
    }
    LocalTime now() override { return m_now; }
    std::u16string longTimeText(const LocalTime& time) override;
    std::u16string timeSeparator() override { return u":"; }
    int compareTextIgnoreCase(std::u16string_view a, std::u16string_view b) override;
    void windowCommand(Form& window, WindowCommand command) override;
    ScreenSize screenSize() override { return m_screen; }
    bool setTrayIcon(bool present, std::u16string_view tip, std::function<void()> onLeftButtonDown,
                     std::vector<TrayMenuEntry> menu) override;
    void setApplicationTitle(std::u16string_view title) override { m_title = title; }
    void quit() override { m_quitRequested = true; }
    std::optional<std::u16string> chooseFolder(std::u16string_view caption) override {
        m_folderCaptions.emplace_back(caption);
        return m_folderChoice;
    }
    bool openDocument(const std::filesystem::path& path) override {
        m_opened.push_back(path);
        return m_canOpen;
    }
    bool openUrl(std::string_view url) override {
        m_openedUrls.emplace_back(url);
        return m_canOpen;
    }
    std::u16string systemDescription() const override { return m_system; }
    std::optional<std::u16string> chooseSaveFile(const SaveFileRequest& request) override {
        m_saveRequests.push_back(request);
        return m_saveChoice;
    }
    std::optional<std::u16string> chooseOpenFile(const OpenFileRequest& request) override {
        m_openRequests.push_back(request);
        return m_openChoice;
    }
    // Six pixels a character, as a narrow proportional font gives on average.
    int statusTextWidth(std::u16string_view text) override { return 6 * static_cast<int>(text.size()); }
    std::filesystem::path programFolder() override { return m_programFolder; }
    std::filesystem::path userConfigFolder() override { return m_userConfigFolder; }
    std::filesystem::path workingDirectory() override { return m_workingDirectory; }
    std::vector<std::u16string> commandLineArguments() override { return m_arguments; }

    // Test controls.
    // The clock moves on as a real one would: tasks that fall due on the way run in their
    // order, each at its own time. Both wrap like the real counter.
    void setTick(std::uint32_t tick) { advance(tick - m_tick); }
    void advance(std::uint32_t ms);
    std::size_t pendingTasks() const { return m_later.size(); }
    void setNow(const LocalTime& now) { m_now = now; }
    void setScreen(ScreenSize screen) { m_screen = screen; }
    void setProgramFolder(std::filesystem::path folder) { m_programFolder = std::move(folder); }
    // The user's configuration folder; a folder that does not exist until a test sets one,
    // so that no test reaches the real one.
    void setUserConfigFolder(std::filesystem::path folder) { m_userConfigFolder = std::move(folder); }
    void setWorkingDirectory(std::filesystem::path dir) { m_workingDirectory = std::move(dir); }
    void setArguments(std::vector<std::u16string> args) { m_arguments = std::move(args); }
    // What the folder picker answers from now on (nothing: cancelled).
    void setFolderChoice(std::optional<std::u16string> folder) { m_folderChoice = std::move(folder); }
    const std::vector<std::u16string>& folderCaptions() const { return m_folderCaptions; }
    const std::vector<std::filesystem::path>& openedDocuments() const { return m_opened; }
    void setCanOpenDocuments(bool can) { m_canOpen = can; }
    // The addresses handed to openUrl; setCanOpenDocuments decides its answer too.
    const std::vector<std::string>& openedUrls() const { return m_openedUrls; }
    void setSystemDescription(std::u16string system) { m_system = std::move(system); }
    // What the save dialog answers from now on (nothing: cancelled), and what it was asked.
    void setSaveFileChoice(std::optional<std::u16string> file) { m_saveChoice = std::move(file); }
    const std::vector<SaveFileRequest>& saveRequests() const { return m_saveRequests; }
    // What the open dialog answers from now on (nothing: cancelled), and what it was asked.
    void setOpenFileChoice(std::optional<std::u16string> file) { m_openChoice = std::move(file); }
    const std::vector<OpenFileRequest>& openRequests() const { return m_openRequests; }

    const std::vector<Message>& messages() const { return m_messages; }
    void clearMessages() { m_messages.clear(); }
    const std::vector<Command>& commands() const { return m_commands; }
    bool trayIconPresent() const { return m_trayIcon; }
    void setTrayAvailable(bool available) { m_trayAvailable = available; }
    // The user presses the left mouse button on the tray icon.
    void pressTrayIcon() {
        if (m_trayIcon && m_trayClick) m_trayClick();
    }
    const std::u16string& trayTip() const { return m_trayTip; }
    const std::vector<TrayMenuEntry>& trayMenu() const { return m_trayMenu; }
    const std::u16string& applicationTitle() const { return m_title; }
    bool quitRequested() const { return m_quitRequested; }

private:
    struct LaterTask {
        std::uint64_t due;  // on the never-wrapping clock below
        std::function<void()> task;
    };
    void moveClockTo(std::uint64_t time) {
        m_tick += static_cast<std::uint32_t>(time - m_time);
        m_time = time;
    }

    std::uint32_t m_tick = 0;
    std::uint64_t m_time = 0;  // milliseconds moved so far; tasks may move it on themselves
    std::vector<LaterTask> m_later;
    LocalTime m_now{2026, 12, 9, 14, 5, 9, 0};
    ScreenSize m_screen{1920, 1080};
    std::filesystem::path m_programFolder = "/opt/tessaro/";
    std::filesystem::path m_userConfigFolder = "/nonexistent-config-folder";
    std::filesystem::path m_workingDirectory = "/nonexistent-working-directory";
    std::vector<std::u16string> m_arguments;
    std::vector<Message> m_messages;
    std::function<void(Form&)> m_modalScript;
    int m_modalShowings = 0;
    const Form* m_modalWindow = nullptr;
    std::optional<std::u16string> m_folderChoice;
    std::vector<std::u16string> m_folderCaptions;
    std::vector<std::filesystem::path> m_opened;
    std::vector<std::string> m_openedUrls;
    std::u16string m_system = u"Qt 6.4.2, Debian GNU/Linux 12 (bookworm), Linux 6.1.0 x86_64, X11";
    bool m_canOpen = true;
    std::optional<std::u16string> m_saveChoice;
    std::vector<SaveFileRequest> m_saveRequests;
    std::optional<std::u16string> m_openChoice;
    std::vector<OpenFileRequest> m_openRequests;
    std::vector<Command> m_commands;
    bool m_trayIcon = false;
    bool m_trayAvailable = true;
    std::function<void()> m_trayClick;
    std::u16string m_trayTip;
    std::vector<TrayMenuEntry> m_trayMenu;
    std::u16string m_title;
    bool m_quitRequested = false;
};

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop of a run without a display (`tessaro apply`): no windows, no dialogs, no
// tray. Messages are collected for the caller to print; a dialog the run would need is an
// error. Its clock only moves when the caller moves it, so a run never waits out the
// debounce interval.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace tessaro {

class HeadlessDesktop final : public Desktop {
public:
    struct Message {
        MessageKind kind;
        std::u16string title;
        std::u16string text;
    };

    explicit HeadlessDesktop(std::filesystem::path programFolder);

    // Moves the clock on, running the tasks that fall due on the way.
    void advance(std::uint32_t ms);
    const std::vector<Message>& messages() const { return m_messages; }
    // Why a dialog the run asked for could not be shown; empty when none was asked for.
    // Told here too, since the picture stages end quietly on any failure.
    const std::string& refusedDialog() const { return m_refusedDialog; }

    void showModal(Form& window, std::function<void()>& endModal) override;
    void showMessage(MessageKind kind, std::u16string_view title, std::u16string_view text) override;
    std::uint32_t tickCount() override { return m_tick; }
    void runLater(std::uint32_t delayMs, std::function<void()> task) override;
    LocalTime now() override;
    std::u16string longTimeText(const LocalTime& time) override;
    std::u16string timeSeparator() override { return u":"; }
    int compareTextIgnoreCase(std::u16string_view a, std::u16string_view b) override;
    std::optional<std::u16string> chooseFolder(std::u16string_view) override { return std::nullopt; }
    std::optional<std::u16string> chooseSaveFile(const SaveFileRequest&) override { return std::nullopt; }
    std::optional<std::u16string> chooseOpenFile(const OpenFileRequest&) override { return std::nullopt; }
    int statusTextWidth(std::u16string_view text) override { return static_cast<int>(text.size()) * 6; }
    bool openDocument(const std::filesystem::path&) override { return false; }
    bool openUrl(std::string_view) override { return false; }
    std::u16string systemDescription() const override { return u"no display"; }
    void windowCommand(Form& window, WindowCommand command) override;
    ScreenSize screenSize() override { return {1920, 1080}; }
    bool setTrayIcon(bool, std::u16string_view, std::function<void()>, std::vector<TrayMenuEntry>) override {
        return false;
    }
    void setApplicationTitle(std::u16string_view) override {}
    void quit() override {}
    std::filesystem::path programFolder() override { return m_programFolder; }
    // Files go where the configuration says; a save folder it leaves empty is the working
    // directory, as for any command-line tool.
    std::filesystem::path settingsFolder() override { return workingDirectory(); }
    std::filesystem::path defaultSaveFolder() override { return workingDirectory() / ""; }
    std::filesystem::path workingDirectory() override { return std::filesystem::current_path(); }
    std::vector<std::u16string> commandLineArguments() override { return {}; }

private:
    struct Task {
        std::uint32_t due;
        std::function<void()> run;
    };

    std::filesystem::path m_programFolder;
    std::uint32_t m_tick = 0;
    std::vector<Task> m_tasks;
    std::vector<Message> m_messages;
    std::string m_refusedDialog;
};

}  // namespace tessaro

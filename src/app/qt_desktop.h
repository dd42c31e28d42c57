// SPDX-License-Identifier: GPL-3.0-or-later
// The real desktop: Qt message boxes, windows, the system tray icon, the monotonic tick,
// the locale's time format and collation, and the program's surroundings.
#pragma once

#include <QCollator>
#include <QMenu>
#include <QPointer>
#include <QStringList>
#include <QSystemTrayIcon>
#include <QWidget>
#include <map>
#include <memory>
#include <optional>

#include "platform/desktop.h"
#include "platform/settings_location.h"

namespace tessaro {

class QtDesktop final : public Desktop {
public:
    // `arguments` are the command-line arguments meant for the program (without its own
    // options such as --state-file).
    explicit QtDesktop(QStringList arguments);
    ~QtDesktop() override;

    // Binds a window of the core to the widget that draws it.
    void registerWindow(const Form& window, QWidget* widget);

    void showMessage(MessageKind kind, std::u16string_view title, std::u16string_view text) override;
    // The window's registered widget must be a QDialog; it runs its own event loop.
    void showModal(Form& window, std::function<void()>& endModal) override;
    std::uint32_t tickCount() override;
    void runLater(std::uint32_t delayMs, std::function<void()> task) override;
    LocalTime now() override;
    std::u16string longTimeText(const LocalTime& time) override;
    std::u16string timeSeparator() override;
    int compareTextIgnoreCase(std::u16string_view a, std::u16string_view b) override;
    void windowCommand(Form& window, WindowCommand command) override;
    ScreenSize screenSize() override;
    bool setTrayIcon(bool present, std::u16string_view tip, std::function<void()> onLeftButtonDown,
                     std::vector<TrayMenuEntry> menu) override;
    void setApplicationTitle(std::u16string_view title) override;
    void quit() override;
    std::optional<std::u16string> chooseFolder(std::u16string_view caption) override;
    bool openDocument(const std::filesystem::path& path) override;
    bool openUrl(std::string_view url) override;
    std::u16string systemDescription() const override;
    std::optional<std::u16string> chooseSaveFile(const SaveFileRequest& request) override;
    std::optional<std::u16string> chooseOpenFile(const OpenFileRequest& request) override;
    int statusTextWidth(std::u16string_view text) override;
    std::filesystem::path programFolder() override;
    std::filesystem::path programFile() override;
    std::filesystem::path settingsFolder() override;
    std::filesystem::path defaultSaveFolder() override;
    std::filesystem::path workingDirectory() override;
    std::vector<std::u16string> commandLineArguments() override;

private:
    QWidget* widgetOf(const Form& window) const;
    const SettingsFolders& folders();

    QStringList m_arguments;
    QString m_timeFormat;
    QCollator m_collator;
    std::map<const Form*, QPointer<QWidget>> m_widgets;
    std::unique_ptr<QSystemTrayIcon> m_tray;
    std::unique_ptr<QMenu> m_trayMenu;
    std::optional<SettingsFolders> m_folders;
};

}  // namespace tessaro

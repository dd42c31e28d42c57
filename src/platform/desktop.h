// SPDX-License-Identifier: GPL-3.0-or-later
// Every desktop service the program uses, behind one interface: message boxes, windows
// and the tray icon, the tick and the clock, locale services, the file system and the
// program's surroundings. QtDesktop is the real one; TestDesktop records and scripts.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaro {

class Form;

// An item of the tray icon's context menu. `checked`, when given, makes the item show a
// check mark, asked for each time the menu opens.
struct TrayMenuEntry {
    std::u16string caption;
    std::function<void()> run;
    std::function<bool()> checked;
};

enum class MessageKind { Information, Plain, Error };

// Activate shows a window where the user left it: out of the taskbar when minimized (a
// maximized one maximized again), raised and given the focus.
enum class WindowCommand { Show, Hide, Minimize, Maximize, Restore, Activate };

struct LocalTime {
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

struct ScreenSize {
    int width = 0;
    int height = 0;
};

// What a file save dialog proposes and how it behaves.
struct SaveFileRequest {
    std::u16string title;             // empty: the platform's default title
    std::u16string fileName;          // proposed file name
    std::u16string defaultExtension;  // without the dot; added to a name typed without one
    std::u16string filter;            // "Description|mask" pairs joined by '|'
    bool confirmOverwrite = true;     // ask before replacing an existing file
};

// What a file open dialog shows.
struct OpenFileRequest {
    std::u16string title;   // empty: the platform's default title
    std::u16string filter;  // "Description|mask" pairs joined by '|'
};

class Desktop {
public:
    virtual ~Desktop() = default;

    // Shows the window modally and returns when `endModal`, which the desktop sets for the
    // time of the showing, is called. Events keep being processed meanwhile. Throws when
    // the window is already being shown modally.
    virtual void showModal(Form& window, std::function<void()>& endModal) = 0;

    // A modal message box with one OK button.
    virtual void showMessage(MessageKind kind, std::u16string_view title,
                             std::u16string_view text) = 0;

    // Milliseconds since some start, wrapping at 2^32 like GetTickCount.
    virtual std::uint32_t tickCount() = 0;
    // Runs `task` once from the event loop, `delayMs` from now; never from inside this call.
    virtual void runLater(std::uint32_t delayMs, std::function<void()> task) = 0;
    virtual LocalTime now() = 0;
    // The time of day in the user's long time format, e.g. "14:05:09".
    virtual std::u16string longTimeText(const LocalTime& time) = 0;
    virtual std::u16string timeSeparator() = 0;
    // Locale-aware comparison ignoring case: < 0, 0 or > 0.
    virtual int compareTextIgnoreCase(std::u16string_view a, std::u16string_view b) = 0;

    // The folder picker (with a button to make a new folder, file-system folders only):
    // the chosen folder's path without a trailing separator, nothing when cancelled.
    virtual std::optional<std::u16string> chooseFolder(std::u16string_view caption) = 0;
    // The file save dialog: the chosen file's full path, nothing when cancelled.
    virtual std::optional<std::u16string> chooseSaveFile(const SaveFileRequest& request) = 0;

    // The file open dialog: the chosen existing file's full path, nothing when cancelled.
    virtual std::optional<std::u16string> chooseOpenFile(const OpenFileRequest& request) = 0;
    // The width in pixels of a text in the font of the main window's bottom strip.
    virtual int statusTextWidth(std::u16string_view text) = 0;

    // Opens a document (a help page) in the desktop's program for it; false when none could.
    virtual bool openDocument(const std::filesystem::path& path) = 0;
    // Opens an address (a mailto: link) in the desktop's program for it; false when none
    // could be started.
    virtual bool openUrl(std::string_view url) = 0;
    // The surroundings a bug report names, in one line: toolkit version, operating system,
    // kernel and display session.
    virtual std::u16string systemDescription() const = 0;

    // Windows and the application.
    virtual void windowCommand(Form& window, WindowCommand command) = 0;
    virtual ScreenSize screenSize() = 0;
    // Adds (present) or removes the notification-area icon; `onLeftButtonDown` runs when
    // the left button is pressed on it, `menu` is its context menu. Returns whether an icon
    // is shown: false when the desktop has no notification area.
    virtual bool setTrayIcon(bool present, std::u16string_view tip, std::function<void()> onLeftButtonDown,
                             std::vector<TrayMenuEntry> menu) = 0;
    virtual void setApplicationTitle(std::u16string_view title) = 0;
    // Ends the message loop; the program exits once the current handler returns.
    virtual void quit() = 0;

    // The program's surroundings.
    virtual std::filesystem::path programFolder() = 0;
    // The program's executable file, which an autostart entry starts.
    virtual std::filesystem::path programFile() { return programFolder() / "tessaro"; }
    // Where the start configuration and the known configuration files live, and the
    // folder that new save settings point to: the program folder by default.
    virtual std::filesystem::path settingsFolder() { return programFolder(); }
    virtual std::filesystem::path defaultSaveFolder() { return programFolder(); }
    virtual std::filesystem::path workingDirectory() = 0;
    virtual std::vector<std::u16string> commandLineArguments() = 0;

    // File-system queries; the default implementations use the real file system.
    virtual bool fileExists(const std::filesystem::path& path);
    virtual bool directoryExists(const std::filesystem::path& path);
    // Creates a folder with all missing parents; true when it exists afterwards.
    virtual bool createDirectories(const std::filesystem::path& path);
    // The user's home folder, empty when it is unknown.
    virtual std::filesystem::path homeFolder();
    // The user's configuration folder ($XDG_CONFIG_HOME, or ~/.config), which holds the
    // autostart folder of the desktop.
    virtual std::filesystem::path userConfigFolder();
};

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// Saving and loading a whole configuration: the controls of the main window and of the
// three settings windows, the main window's place and size, and four menu switches.
#pragma once

#include <filesystem>
#include <functional>

#include "forms/form.h"
#include "forms/menu_item.h"
#include "platform/desktop.h"

namespace tessaro {

// On whose behalf a configuration is loaded: at program start a maximized window is
// maximized when it is first activated, on a user's command at once.
enum class LoadOrigin { ProgramStart, UserCommand };

struct ConfigurationWindows {
    Form& main;
    Form& regex;
    Form& output;
    Form& history;
};

struct ConfigurationSwitches {
    MenuItem& autosaveNever;
    MenuItem& autosaveAll;
    MenuItem& minimizeToTray;
    MenuItem& captureActive;
};

class Configuration {
public:
    // `afterLoad` runs at the end of every load: it lays the action panels out anew and
    // puts the loaded settings into effect.
    Configuration(ConfigurationWindows windows, ConfigurationSwitches switches, Desktop& desktop,
                  std::function<void()> afterLoad);

    // Writes every setting into the file at `path`, keeping the keys it does not write, in
    // one rewrite of the file. Throws FileError: the text writer's "Cannot create file"
    // when the file cannot be made, "Unable to write to <path>. <reason>" when it cannot
    // be written; the old file stays as it was then.
    void KonfigurationSpeichern(const std::filesystem::path& path);
    // Applies the file at `path`; a missing or unreadable file, section or key leaves the
    // setting as it is.
    void KonfigurationLaden(LoadOrigin origin, const std::filesystem::path& path);

    const ConfigurationWindows& windows() const { return m_windows; }
    const ConfigurationSwitches& switches() const { return m_switches; }
    void runAfterLoad() { if (m_afterLoad) m_afterLoad(); }

private:
    void loadGeometry(LoadOrigin origin, const class ProfileFile& file);

    ConfigurationWindows m_windows;
    ConfigurationSwitches m_switches;
    Desktop& m_desktop;
    std::function<void()> m_afterLoad;
};

}  // namespace tessaro

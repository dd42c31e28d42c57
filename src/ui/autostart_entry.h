// SPDX-License-Identifier: GPL-3.0-or-later
// Starting Tessaro when the user logs in: a desktop file in the user's autostart folder
// ($XDG_CONFIG_HOME/autostart/, or ~/.config/autostart/), which desktops that follow the
// XDG autostart rules run at login. A check item of the settings menu writes and removes
// it. The file is the item's only state: configuration files never hold it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "forms/menu_item.h"
#include "forms/text_controls.h"
#include "platform/desktop.h"

namespace tessaro {

// The text of an autostart file that starts `program`; nothing when the path cannot stand
// in a desktop file (a relative path, control characters, or bytes that are not UTF-8).
std::optional<std::string> AutostartFileText(const std::filesystem::path& program);

class AutostartEntry {
public:
    // Takes over the item's click and its menu's opening, keeps it out of configuration
    // files and sets its check mark from the file. `spr` names the interface language.
    AutostartEntry(MenuItem& item, Desktop& desktop, const Label& spr);
    AutostartEntry(const AutostartEntry&) = delete;
    AutostartEntry& operator=(const AutostartEntry&) = delete;

    // <user configuration folder>/autostart/tessaro.desktop; empty when the configuration
    // folder is unknown (no home folder).
    std::filesystem::path path();
    // Whether the desktop will start the program at login: the file is there and not
    // switched off by Hidden=true or X-GNOME-Autostart-enabled=false, as the desktops' own
    // settings leave it.
    bool active();
    // Sets the check mark from the file as it is now.
    void refresh();
    // The user's click: writes the file when the entry is not active, removes it otherwise.
    // A failure is shown in a message box; the check mark follows the file either way.
    void toggle();

private:
    void write();
    void remove();
    void report(std::u16string_view germanLead, const std::exception& error);
    bool german() const;

    MenuItem& m_item;
    Desktop& m_desktop;
    const Label& m_spr;
};

}  // namespace tessaro

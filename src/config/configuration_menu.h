// SPDX-License-Identifier: GPL-3.0-or-later
// The configuration menu of the main window: saving and loading configuration files, the
// start configuration "Auto.tpf", saving on exit, resetting every setting, and the items
// of the configuration files known since the program started.
#pragma once

#include <filesystem>
#include <string>

#include "config/configuration.h"
#include "forms/language_code.h"
#include "forms/text_controls.h"

namespace tessaro {

struct ConfigurationMenuItems {
    MenuItem& menu;  // m_konfig: the fixed items, then the known files
    MenuItem& save;
    MenuItem& saveStart;
    MenuItem& load;
    MenuItem& autosaveAll;
    MenuItem& autosaveNever;
    MenuItem& standard;
    MenuItem& start;
};

class ConfigurationMenu {
public:
    // `owner` is the window that owns the menu (new items are its controls); `spr` holds
    // the interface language code.
    ConfigurationMenu(Form& owner, ConfigurationMenuItems items, Configuration& configuration,
                      Desktop& desktop, const Label& spr);

    // While the main window is created: the start configuration's path as the hint of its
    // item, and an item for every configuration file in the settings folder.
    void prepare();
    // When the main window is first shown: the configuration files named on the command
    // line, or else the start configuration when there is one.
    void loadAtStart();
    // A command-line argument of a later start of the program, which hands its arguments
    // to this one: a configuration file is loaded, as on the user's command, and added to
    // the known files. Returns whether the argument named a configuration file.
    bool loadNamed(std::u16string_view argument, const std::filesystem::path& workingDirectory);
    // The close box: saves the start configuration when "Save all" is checked; false (the
    // window stays open) when that save fails, after saying why.
    bool closeQuery();

    void m_konfig_saveClick();
    // Returns whether the start configuration was written.
    bool m_konfig_save_startClick();
    void m_konfig_loadClick();
    void m_konfig_autosave_nieClick(MenuItem& clicked);
    void KonfigurationLadenStandard();
    void m_konfig_startClick();
    void KonfigurationAddMenu(const std::u16string& path);
    void KonfigurationLadenMenu(const MenuItem& item);

    std::filesystem::path startConfigurationPath() const;

private:
    bool german() const { return IsGerman(m_spr); }
    // Shows a failed load or save: the error's own text, after `germanLead` in German.
    void reportFileError(std::u16string_view germanLead, const std::exception& error);
    // The filter of both file dialogs, in the current language.
    std::u16string_view dialogFilter() const {
        return german() ? u"Tessaro Konfiguration|*.tpf" : u"Tessaro Configuration|*.tpf";
    }
    std::u16string shortened(const std::u16string& path) const;
    // Saves and reports a failure through the desktop; false when it failed.
    bool saveReporting(const std::filesystem::path& path);
    void loadFrom(LoadOrigin origin, const std::filesystem::path& path);
    // A command-line argument: loads and adds it when it names a configuration file.
    bool loadArgument(LoadOrigin origin, std::u16string_view argument, const std::filesystem::path& workingDirectory);

    Form& m_owner;
    ConfigurationMenuItems m_items;
    Configuration& m_configuration;
    Desktop& m_desktop;
    const Label& m_spr;
};

}  // namespace tessaro

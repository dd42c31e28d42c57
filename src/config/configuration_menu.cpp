// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/configuration_menu.h"

#include <exception>
#include <system_error>

#include "config/configuration_defaults.h"
#include "config/path_caption.h"
#include "language/failure_text.h"
#include "platform/file_error.h"
#include "platform/utf.h"

namespace tessaro {
namespace {

constexpr std::u16string_view kAppTitle = u"Tessaro - Orvendal";

std::u16string pathText(const std::filesystem::path& path) { return utf8ToUtf16(path.string()); }

bool hasTpfExtension(std::u16string_view argument) {
    const std::size_t dot = argument.rfind(u'.');
    const std::size_t slash = argument.rfind(u'/');
    if (dot == std::u16string_view::npos || (slash != std::u16string_view::npos && slash > dot)) {
        return false;
    }
    return argument.substr(dot) == u".tpf";
}

bool endsWithTpfIgnoringCase(const std::string& name) {
    if (name.size() < 4) return false;
    std::string extension = name.substr(name.size() - 4);
    for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return extension == ".tpf";
}

}  // namespace

ConfigurationMenu::ConfigurationMenu(Form& owner, ConfigurationMenuItems items,
                                     Configuration& configuration, Desktop& desktop, const Label& spr)
    : m_owner(owner), m_items(items), m_configuration(configuration), m_desktop(desktop), m_spr(spr) {
    m_items.save.onClick = [this] { m_konfig_saveClick(); };
    m_items.saveStart.onClick = [this] { m_konfig_save_startClick(); };
    m_items.load.onClick = [this] { m_konfig_loadClick(); };
    m_items.autosaveAll.onClick = [this] { m_konfig_autosave_nieClick(m_items.autosaveAll); };
    m_items.autosaveNever.onClick = [this] { m_konfig_autosave_nieClick(m_items.autosaveNever); };
    m_items.standard.onClick = [this] { KonfigurationLadenStandard(); };
    m_items.start.onClick = [this] { m_konfig_startClick(); };
}

std::filesystem::path ConfigurationMenu::startConfigurationPath() const {
    return m_desktop.settingsFolder() / "Auto.tpf";
}

void ConfigurationMenu::prepare() {
    m_items.start.setHint(pathText(startConfigurationPath()));
    std::error_code error;
    std::filesystem::directory_iterator files(m_desktop.settingsFolder(), error);
    for (; !error && files != std::filesystem::directory_iterator(); files.increment(error)) {
        const std::string name = files->path().filename().string();
        if (endsWithTpfIgnoringCase(name) && files->is_regular_file(error)) {
            KonfigurationAddMenu(pathText(files->path()));
        }
    }
}

void ConfigurationMenu::loadAtStart() {
    bool named = false;
    for (const std::u16string& argument : m_desktop.commandLineArguments()) {
        named = loadArgument(LoadOrigin::ProgramStart, argument, m_desktop.workingDirectory()) || named;
    }
    if (!named && m_desktop.fileExists(startConfigurationPath())) {
        loadFrom(LoadOrigin::ProgramStart, startConfigurationPath());
    }
}

bool ConfigurationMenu::loadNamed(std::u16string_view argument, const std::filesystem::path& workingDirectory) {
    return loadArgument(LoadOrigin::UserCommand, argument, workingDirectory);
}

bool ConfigurationMenu::loadArgument(LoadOrigin origin, std::u16string_view argument,
                                     const std::filesystem::path& workingDirectory) {
    if (!hasTpfExtension(argument)) return false;
    std::filesystem::path path(utf16ToUtf8(argument));
    if (path.is_relative()) path = workingDirectory / path;
    loadFrom(origin, path);
    KonfigurationAddMenu(pathText(path));
    return true;
}

void ConfigurationMenu::loadFrom(LoadOrigin origin, const std::filesystem::path& path) {
    // Whatever a file holds, the program starts: a failure is said and the rest goes on.
    try {
        m_configuration.KonfigurationLaden(origin, path);
    } catch (const std::exception& error) {
        reportFileError(u"Die Konfiguration konnte nicht geladen werden.", error);
    }
}

void ConfigurationMenu::reportFileError(std::u16string_view germanLead, const std::exception& error) {
    m_desktop.showMessage(MessageKind::Error, kAppTitle, FileFailureText(germanLead, error, german()));
}

bool ConfigurationMenu::closeQuery() {
    if (!m_items.autosaveAll.checked()) return true;
    return m_konfig_save_startClick();
}

bool ConfigurationMenu::saveReporting(const std::filesystem::path& path) {
    try {
        m_configuration.KonfigurationSpeichern(path);
        return true;
    } catch (const FileError& error) {
        reportFileError(u"Die Konfiguration konnte nicht gespeichert werden.", error);
        return false;
    }
}

void ConfigurationMenu::m_konfig_saveClick() {
    SaveFileRequest request;
    request.fileName = german() ? u"Konfiguration.tpf" : u"Configuration.tpf";
    request.defaultExtension = u"tpf";
    request.filter = dialogFilter();
    request.confirmOverwrite = false;  // an existing file is updated, not replaced
    const auto chosen = m_desktop.chooseSaveFile(request);
    if (!chosen || chosen->empty()) return;
    if (saveReporting(utf16ToUtf8(*chosen))) KonfigurationAddMenu(*chosen);
}

bool ConfigurationMenu::m_konfig_save_startClick() {
    // Where the settings live outside the program folder, that folder may not exist yet.
    m_desktop.createDirectories(m_desktop.settingsFolder());
    const bool saved = saveReporting(startConfigurationPath());
    m_items.start.setHint(pathText(startConfigurationPath()));
    return saved;
}

void ConfigurationMenu::m_konfig_loadClick() {
    OpenFileRequest request;
    request.filter = dialogFilter();
    const auto chosen = m_desktop.chooseOpenFile(request);
    if (!chosen || chosen->empty()) return;
    m_configuration.KonfigurationLaden(LoadOrigin::UserCommand, utf16ToUtf8(*chosen));
    KonfigurationAddMenu(*chosen);
}

void ConfigurationMenu::m_konfig_autosave_nieClick(MenuItem& clicked) {
    m_items.autosaveAll.setChecked(false);
    m_items.autosaveNever.setChecked(false);
    clicked.setChecked(true);
}

void ConfigurationMenu::KonfigurationLadenStandard() {
    // The same folder the save fields start with: the desktop gives it with its separator.
    ResetConfiguration(m_configuration, pathText(m_desktop.defaultSaveFolder()));
}

void ConfigurationMenu::m_konfig_startClick() {
    const std::filesystem::path path = startConfigurationPath();
    if (m_desktop.fileExists(path)) {
        m_configuration.KonfigurationLaden(LoadOrigin::UserCommand, path);
        return;
    }
    std::u16string text;
    if (m_desktop.settingsFolder() == m_desktop.programFolder()) {
        text = german() ? u"Es ist keine Startkonfiguration im Programmverzeichnis vorhanden."
                        : u"There is no Start Configuration available in the application folder.";
    } else {
        const std::u16string folder = pathText(m_desktop.settingsFolder());
        text = german() ? u"Es ist keine Startkonfiguration im Konfigurationsordner " + folder + u" vorhanden."
                        : u"There is no Start Configuration available in the configuration folder " +
                              folder + u".";
    }
    m_desktop.showMessage(MessageKind::Plain, kAppTitle, text);
}

void ConfigurationMenu::KonfigurationAddMenu(const std::u16string& path) {
    for (const MenuItem* item : m_items.menu.items()) {
        if (item->hint() == path) return;
    }
    const std::string name = "m_konfig_" + std::to_string(m_items.menu.items().size());
    MenuItem& item = m_owner.add<MenuItem>(name);
    item.setHint(path);
    item.setCaption(shortened(path));
    item.onClick = [this, &item] { KonfigurationLadenMenu(item); };
    m_items.menu.addItem(item);
}

void ConfigurationMenu::KonfigurationLadenMenu(const MenuItem& item) {
    const std::filesystem::path path(utf16ToUtf8(item.hint()));
    if (m_desktop.fileExists(path)) m_configuration.KonfigurationLaden(LoadOrigin::UserCommand, path);
}

std::u16string ConfigurationMenu::shortened(const std::u16string& path) const {
    // Twice the width of the bottom strip's label (15 pixels narrower than the window's
    // client area), plus 30.
    const int limit = 2 * (m_owner.clientWidth() - 15) + 30;
    return ShortenPathCaption(path, limit, [this](std::u16string_view text) {
        return m_desktop.statusTextWidth(text);
    });
}

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/configuration.h"

#include <cstring>

#include "config/control_walker.h"
#include "config/profile_file.h"
#include "platform/atomic_file.h"

namespace tessaro {

Configuration::Configuration(ConfigurationWindows windows, ConfigurationSwitches switches,
                             Desktop& desktop, std::function<void()> afterLoad)
    : m_windows(windows), m_switches(switches), m_desktop(desktop), m_afterLoad(std::move(afterLoad)) {}

void Configuration::KonfigurationSpeichern(const std::filesystem::path& path) {
    // Its "Cannot create file" (a folder in the file's place, say) is the text writer's
    // message; the old file is read only once the new one can be made.
    AtomicFile out(path.string());
    // Keys this save does not write (rows beyond the table's end, other programs' keys)
    // stay in the file.
    ProfileFile file = ProfileFile::read(path);
    SaveFormControls(file, m_windows.main, u"PB", WalkedKinds::MainWindow);
    SaveFormControls(file, m_windows.regex, u"RX", WalkedKinds::Settings);
    SaveFormControls(file, m_windows.output, u"EA", WalkedKinds::Settings);
    SaveFormControls(file, m_windows.history, u"EV", WalkedKinds::Settings);
    const Form& main = m_windows.main;
    WriteProfileBool(file, u"SP", u"PF", main.windowState() == WindowState::Maximized);
    WriteProfileInteger(file, u"SP", u"PB", main.clientWidth());
    WriteProfileInteger(file, u"SP", u"PH", main.clientHeight());
    WriteProfileInteger(file, u"SP", u"PT", main.top());
    WriteProfileInteger(file, u"SP", u"PL", main.left());
    WriteProfileBool(file, u"AS", u"N", m_switches.autosaveNever.checked());
    WriteProfileBool(file, u"AS", u"A", m_switches.autosaveAll.checked());
    WriteProfileBool(file, u"CBM", u"MTT", m_switches.minimizeToTray.checked());
    WriteProfileBool(file, u"CBM", u"AKT", m_switches.captureActive.checked());

    const std::string bytes = file.serialize();
    try {
        out.write(bytes.data(), bytes.size());
        out.commit();
    } catch (const FileError& error) {
        throw FileError("Unable to write to " + path.string() + ". " + std::strerror(error.error()),
                        error.error());
    }
}

void Configuration::KonfigurationLaden(LoadOrigin origin, const std::filesystem::path& path) {
    const ProfileFile file = ProfileFile::readOrEmpty(path);
    LoadFormControls(file, m_windows.main, u"PB", WalkedKinds::MainWindow);
    LoadFormControls(file, m_windows.regex, u"RX", WalkedKinds::Settings);
    LoadFormControls(file, m_windows.output, u"EA", WalkedKinds::Settings);
    LoadFormControls(file, m_windows.history, u"EV", WalkedKinds::Settings);
    loadGeometry(origin, file);
    auto setSwitch = [&](MenuItem& item, std::u16string_view section, std::u16string_view key) {
        item.setChecked(ReadProfileBool(file, section, key, item.checked()));
    };
    setSwitch(m_switches.autosaveNever, u"AS", u"N");
    setSwitch(m_switches.autosaveAll, u"AS", u"A");
    setSwitch(m_switches.minimizeToTray, u"CBM", u"MTT");
    setSwitch(m_switches.captureActive, u"CBM", u"AKT");
    runAfterLoad();
}

void Configuration::loadGeometry(LoadOrigin origin, const ProfileFile& file) {
    Form& main = m_windows.main;
    const bool maximized = ReadProfileBool(file, u"SP", u"PF", main.windowState() == WindowState::Maximized);
    if (maximized && origin == LoadOrigin::ProgramStart) {
        main.setTag(0);  // maximized at the first activation
        return;
    }
    if (maximized) {
        main.setPosition(0, 0);
        m_desktop.windowCommand(main, WindowCommand::Maximize);
        return;
    }
    // A value beyond the screen is ignored, so a file from a larger screen cannot put the
    // window out of reach.
    const ScreenSize screen = m_desktop.screenSize();
    const std::int32_t width = ReadProfileInteger(file, u"SP", u"PB", main.clientWidth());
    const std::int32_t height = ReadProfileInteger(file, u"SP", u"PH", main.clientHeight());
    const std::int32_t top = ReadProfileInteger(file, u"SP", u"PT", main.top());
    const std::int32_t left = ReadProfileInteger(file, u"SP", u"PL", main.left());
    main.setClientSize(width <= screen.width ? width : main.clientWidth(),
                       height <= screen.height ? height : main.clientHeight());
    main.setPosition(left <= screen.width ? left : main.left(), top <= screen.height ? top : main.top());
}

}  // namespace tessaro

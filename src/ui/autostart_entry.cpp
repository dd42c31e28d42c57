// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/autostart_entry.h"

#include <fstream>
#include <string_view>
#include <system_error>

#include "forms/language_code.h"
#include "language/failure_text.h"
#include "platform/atomic_file.h"
#include "platform/file_error.h"
#include "platform/utf.h"

namespace tessaro {
namespace {

constexpr std::u16string_view kAppTitle = u"Tessaro - Orvendal";

// One argument of an Exec line: quoted where it holds a character the Exec rules reserve,
// with '"', '`', '$' and '\' escaped inside the quotes; then every backslash doubled,
// because the desktop file's string escapes are undone before the quoting is read; and
// '%' doubled, which would otherwise start a field code.
std::string execArgument(std::string_view argument) {
    constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string quoted;
    if (argument.find_first_of(kReserved) == std::string_view::npos) {
        quoted = argument;
    } else {
        quoted = "\"";
        for (char c : argument) {
            if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
            quoted += c;
        }
        quoted += '"';
    }
    std::string line;
    for (char c : quoted) {
        if (c == '\\') line += "\\\\";
        else if (c == '%') line += "%%";
        else line += c;
    }
    return line;
}

// The value of `key` in the [Desktop Entry] group of a desktop file's text, if present.
std::optional<std::string> entryValue(std::istream& in, std::string_view key) {
    std::string line;
    bool inEntry = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[') {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntry || line.compare(0, key.size(), key) != 0) continue;
        std::string_view rest = std::string_view(line).substr(key.size());
        while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
        if (rest.empty() || rest.front() != '=') continue;
        rest.remove_prefix(1);
        while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
        return std::string(rest);
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> AutostartFileText(const std::filesystem::path& program) {
    const std::string path = program.string();
    if (!program.is_absolute() || !IsValidUtf8(path)) return std::nullopt;
    for (unsigned char c : path) {
        if (c < 0x20 || c == 0x7F) return std::nullopt;
    }
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Tessaro\n"
           "Comment=Watches the clipboard and runs the actions you switched on\n"
           "Comment[de]=Beobachtet die Zwischenablage und führt die eingeschalteten Aktionen aus\n"
           "Exec=" + execArgument(path) + "\n"
           "Icon=tessaro\n"
           "Terminal=false\n";
}

AutostartEntry::AutostartEntry(MenuItem& item, Desktop& desktop, const Label& spr)
    : m_item(item), m_desktop(desktop), m_spr(spr) {
    // The check mark shows a file, not a setting: loading or saving a configuration must
    // neither write nor remove it.
    m_item.setStored(false);
    m_item.onClick = [this] { toggle(); };
    // Another program (the desktop's settings, the user's file manager) may add or remove
    // the file while Tessaro runs.
    m_item.onMenuOpening = [this] { refresh(); };
    refresh();
}

std::filesystem::path AutostartEntry::path() {
    const std::filesystem::path config = m_desktop.userConfigFolder();
    // A relative folder would be read against the working directory: no folder at all.
    if (!config.is_absolute()) return {};
    return config / "autostart" / "tessaro.desktop";
}

bool AutostartEntry::active() {
    const std::filesystem::path file = path();
    if (file.empty() || !m_desktop.fileExists(file)) return false;
    std::ifstream in(file);
    if (!in) return true;  // there, though we cannot read it: the desktop may well run it
    if (entryValue(in, "Hidden") == "true") return false;
    in.clear();
    in.seekg(0);
    return entryValue(in, "X-GNOME-Autostart-enabled") != "false";
}

void AutostartEntry::refresh() { m_item.setChecked(active()); }

void AutostartEntry::toggle() {
    if (active()) {
        remove();
    } else {
        write();
    }
    refresh();
}

void AutostartEntry::write() {
    const std::filesystem::path file = path();
    if (file.empty()) {
        m_desktop.showMessage(MessageKind::Error, kAppTitle,
                              german() ? u"Der Autostart-Eintrag kann nicht geschrieben werden: Weder "
                                         u"$XDG_CONFIG_HOME noch der persönliche Ordner ist bekannt."
                                       : u"The autostart entry cannot be written: neither $XDG_CONFIG_HOME "
                                         u"nor the home folder is known.");
        return;
    }
    const std::filesystem::path program = m_desktop.programFile();
    const std::optional<std::string> text = AutostartFileText(program);
    if (!text) {
        const std::u16string shown = utf8ToUtf16(program.string());
        m_desktop.showMessage(MessageKind::Error, kAppTitle,
                              german() ? u"Der Autostart-Eintrag kann nicht geschrieben werden: Der Pfad "
                                         u"des Programms lässt sich nicht in eine Desktop-Datei schreiben "
                                         u"(Steuerzeichen oder kein UTF-8): " + shown
                                       : u"The autostart entry cannot be written: the program's path cannot "
                                         u"stand in a desktop file (control characters, or not UTF-8): " +
                                             shown);
        return;
    }
    const std::filesystem::path folder = file.parent_path();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        report(u"Der Ordner für den Autostart-Eintrag konnte nicht angelegt werden.",
               FileError("Cannot create folder \"" + folder.string() + "\". " + error.message(), error.value()));
        return;
    }
    try {
        WriteFileAtomically(file.string(), *text);
    } catch (const FileError& failure) {
        report(u"Der Autostart-Eintrag konnte nicht geschrieben werden.", failure);
    }
}

void AutostartEntry::remove() {
    const std::filesystem::path file = path();
    std::error_code error;
    std::filesystem::remove(file, error);
    if (error) {
        report(u"Der Autostart-Eintrag konnte nicht entfernt werden.",
               FileError("Cannot delete file \"" + file.string() + "\". " + error.message(), error.value()));
    }
}

void AutostartEntry::report(std::u16string_view germanLead, const std::exception& error) {
    m_desktop.showMessage(MessageKind::Error, kAppTitle, FileFailureText(germanLead, error, german()));
}

bool AutostartEntry::german() const { return IsGerman(m_spr); }

}  // namespace tessaro

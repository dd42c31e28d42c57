// SPDX-License-Identifier: GPL-3.0-or-later
// Folder rules of the save actions. The rules were made for drive-letter paths; here they
// are carried over to absolute paths from "/", while drive-letter paths keep their rule.
#include "output/folder_path.h"

#include <algorithm>

#include "platform/utf.h"

namespace tessaro {
namespace {

constexpr std::u16string_view kForbiddenInLastPart = u":?/>|\\<*\"";

bool isDriveLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

bool lastPartValid(std::u16string_view path, char16_t separator) {
    if (!path.empty() && path.back() == separator) path.remove_suffix(1);
    const std::size_t cut = path.rfind(separator);
    const std::u16string_view last = cut == std::u16string_view::npos ? path : path.substr(cut + 1);
    return !last.empty() && last.find_first_of(kForbiddenInLastPart) == std::u16string_view::npos;
}

bool validDrivePath(std::u16string_view path) {
    if (path.size() < 2) return false;
    if (path.size() == 2) return isDriveLetter(path[0]) && path[1] == u':';
    if (path.size() == 3) return isDriveLetter(path[0]) && path[1] == u':' && path[2] == u'\\';
    // The first part must be exactly the drive: "C:" followed by the first "\".
    if (!isDriveLetter(path[0]) || path[1] != u':' || path[2] != u'\\') return false;
    return lastPartValid(path, u'\\');
}

}  // namespace

bool IsDriveLetterPath(std::u16string_view path) {
    return path.size() >= 2 && isDriveLetter(path[0]) && path[1] == u':' &&
           (path.size() == 2 || path[2] == u'\\');
}

bool IsValidFolderPath(std::u16string_view path) {
    if (path.empty()) return false;
    if (path[0] == u'/') {
        // The root stands where "C:\" stood; any longer path is judged by its last part.
        if (path == u"/") return true;
        return lastPartValid(path, u'/');
    }
    return validDrivePath(path);
}

// A Linux user who types "~/Texte" means the folder Texte in the home folder, as in every
// shell and file dialog; read literally it would be a relative path that silently saves
// nothing. So "~" and "~/..." stand for the home folder. "~name" (another user's home) is
// left as written and fails as a relative path.
std::u16string ExpandHomeFolder(std::u16string_view folder, const std::filesystem::path& home) {
    const bool tilde =
        folder == u"~" || (folder.size() >= 2 && folder[0] == u'~' && folder[1] == u'/');
    if (!tilde || home.empty() || !home.is_absolute()) return std::u16string(folder);
    std::u16string base = utf8ToUtf16(home.string());
    while (!base.empty() && base.back() == u'/') base.pop_back();
    std::u16string expanded = base + std::u16string(folder.substr(1));
    if (expanded.empty()) expanded.push_back(u'/');
    return expanded;
}

std::optional<std::u16string> CheckSaveFolder(std::u16string_view folderText, Desktop& desktop) {
    std::u16string folder = ExpandHomeFolder(folderText, desktop.homeFolder());
    const bool drive = IsDriveLetterPath(folder);
    const char16_t separator = drive ? u'\\' : u'/';
    if (folder.empty() || folder.back() != separator) folder.push_back(separator);
    if (!IsValidFolderPath(folder)) return std::nullopt;
    // WORKAROUND: a drive-letter folder from a Windows configuration has no counterpart
    // here; creating it would make a folder literally named "C:\Out\" in the working
    // directory, so it gives no path, as a folder that cannot be created does.
    if (drive) return std::nullopt;
    return folder;
}

bool CreateSaveFolder(std::u16string_view path, std::u16string_view folder, Desktop& desktop) {
    const auto depth = std::count(folder.begin(), folder.end(), u'/');
    std::size_t end = 0;
    for (std::ptrdiff_t seen = 0; seen < depth; ++seen) {
        end = path.find(u'/', seen == 0 ? 0 : end + 1);
        if (end == std::u16string_view::npos) return false;
    }
    return desktop.createDirectories(std::filesystem::path(utf16ToUtf8(path.substr(0, end + 1))));
}

}  // namespace tessaro

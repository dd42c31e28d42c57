// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/path_caption.h"

namespace tessaro {

std::u16string ShortenPathCaption(std::u16string_view path, int limit,
                                  const std::function<int(std::u16string_view)>& widthOf,
                                  char16_t separator) {
    const std::u16string sep(1, separator);
    const std::u16string ellipsisFolder = u"..." + sep;  // what replaces a cut-off folder
    std::u16string result(path);
    const std::size_t last = path.rfind(separator);
    std::u16string folder(last == std::u16string_view::npos ? u"" : path.substr(0, last + 1));
    const std::u16string name(last == std::u16string_view::npos ? path : path.substr(last + 1));
    std::u16string drive;
    if (folder.size() >= 2 && folder[1] == u':') {
        drive = folder.substr(0, 2);
        folder.erase(0, 2);
    }
    // Every step shortens the folder or clears the drive; the bound only guards that.
    for (std::size_t steps = 0; steps <= path.size() + 4 && (!folder.empty() || !drive.empty()) &&
                                widthOf(result) > limit;
         ++steps) {
        if (folder == sep + ellipsisFolder) {
            drive.clear();
            folder = ellipsisFolder;
        } else if (folder.empty()) {
            drive.clear();
        } else if (folder == sep) {
            folder.clear();
        } else {
            const bool rooted = folder.front() == separator;
            if (rooted) folder.erase(0, 1);
            if (!folder.empty() && folder.front() == u'.') folder.erase(0, 4);
            const std::size_t cut = folder.find(separator);
            folder = cut == std::u16string::npos ? u"" : ellipsisFolder + folder.substr(cut + 1);
            if (rooted) folder.insert(0, sep);
        }
        result = drive + folder + name;
    }
    return result;
}

}  // namespace tessaro

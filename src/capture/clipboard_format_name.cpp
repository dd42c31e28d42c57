// SPDX-License-Identifier: GPL-3.0-or-later
// The names of clipboard formats as the details list shows them.
#include <array>
#include <string_view>

#include "capture/clipboard_ex.h"

namespace tessaro {
namespace {

constexpr std::array<std::string_view, 18> kStandardNames = {
    "",       "TEXT",    "BITMAP",  "METAFILEPICT", "SYLK",        "DIF",
    "TIFF",   "OEMTEXT", "DIB",     "PALETTE",      "PENDATA",     "RIFF",
    "WAVE",   "UNICODETEXT", "ENHMETAFILE", "HDROP", "LOCALE",     "MAX"};

}  // namespace

std::string TClipBoardEx::ClipboardFormatName(FormatId format) {
    if (format >= 1 && format <= 17) return std::string(kStandardNames[format]);
    switch (format) {
        case 0x80: return "OWNERDISPLAY";
        case 0x81: return "DSPTEXT";
        case 0x82: return "DSPBITMAP";
        case 0x83: return "DSPMETAFILEPICT";
        case 0x8E: return "DSPENHMETAFILE";
        default: break;
    }
    if (format >= 0x200 && format <= 0x2FF) return "PRIVATE";
    if (format >= 0x300 && format <= 0x3FF) return "GDIOBJ";
    // GetClipboardFormatNameA gets room for 256 characters, the last for the terminator.
    std::string name = m_backend.registeredName(format).value_or("");
    if (name.size() > 255) name.resize(255);
    return name.empty() ? "Unknown" : name;
}

}  // namespace tessaro

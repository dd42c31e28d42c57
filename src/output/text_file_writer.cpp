// SPDX-License-Identifier: GPL-3.0-or-later
// The file side of the text writer: refused extensions, and a sink on the file that
// replaces the target once it is complete.
#include "output/text_file_writer.h"

#include "platform/atomic_file.h"
#include "platform/utf.h"

namespace tessaro {
namespace {

char16_t upperAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; }

bool equalsUpper(std::u16string_view text, std::u16string_view upper) {
    if (text.size() != upper.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (upperAscii(text[i]) != upper[i]) return false;
    }
    return true;
}

}  // namespace

bool IsRefusedTextExtension(std::u16string_view fileName) {
    const std::size_t dot = fileName.rfind(u'.');
    if (dot == std::u16string_view::npos) return false;
    const std::u16string_view extension = fileName.substr(dot);
    // A separator after the dot means the dot belongs to a folder name. "/" is the
    // separator here; "\" and ":" still end an extension as they would on Windows.
    if (extension.find_first_of(u"\\:/") != std::u16string_view::npos) return false;
    for (std::u16string_view refused : {u".BMP", u".GIF", u".JPG", u".JPEG"}) {
        if (equalsUpper(extension, refused)) return true;
    }
    return false;
}

void WriteTextFile(std::u16string_view text, std::u16string_view fileName, std::int32_t encoding) {
    if (IsRefusedTextExtension(fileName)) return;
    AtomicFile file(utf16ToUtf8(fileName));
    AtomicFileSink sink(file);
    EncodeText_core(text, TextEncodeOptions{encoding}, sink);
    file.commit();
}

}  // namespace tessaro

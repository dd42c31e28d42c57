// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing the writer by the file name: icon names first, then the registered writers in
// their order, each with its list of name patterns.
#include "output/image_file_writer.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "image/codecs/encoded_image.h"
#include "output/binary_file_writer.h"
#include "platform/utf.h"

namespace tessaro {
namespace {

using Encoder = std::function<Bytes(const ImageRecord&, const ImageWriteOptions&)>;

struct RegisteredWriter {
    std::u16string_view patterns;  // "*.jpg,*.jpeg", matched ignoring letter case
    Encoder encode;
};

const std::array<RegisteredWriter, 15>& registeredWriters() {
    static const std::array<RegisteredWriter, 15> writers = {{
        {u"*.jpg,*.jpeg,*.jfif,*.jpe,*.jif",
         [](const ImageRecord& i, const ImageWriteOptions& o) {
             return EncodeJpeg(i, o.jpegQuality, o.jpegProgressive);
         }},
        {u"*.png", [](const ImageRecord& i, const ImageWriteOptions&) { return EncodePng(i); }},
        {u"*.gif", [](const ImageRecord& i, const ImageWriteOptions&) { return EncodeGif(i); }},
        {u"*.bmp,*.dib", [](const ImageRecord& i, const ImageWriteOptions&) { return EncodeBmp(i); }},
        {u"*.psd,*.pdd",
         [](const ImageRecord& i, const ImageWriteOptions& o) { return EncodePsd(i, o.psdLayer); }},
        {u"*.tif,*.tiff", [](const ImageRecord& i, const ImageWriteOptions&) { return EncodeTiff(i); }},
        // Only lossy frames would take the MNG quality; the one frame here is lossless.
        {u"*.mng", [](const ImageRecord& i, const ImageWriteOptions&) { return EncodeMng(i); }},
        {u"*.jng",
         [](const ImageRecord& i, const ImageWriteOptions& o) {
             return EncodeJng(i, o.jngQuality, o.jngProgressive);
         }},
        {u"*.pgm", [](const ImageRecord& i, const ImageWriteOptions&) { return EncodePgm(i); }},
        {u"*.ppm", [](const ImageRecord& i, const ImageWriteOptions&) { return EncodePpm(i); }},
        {u"*.pam", [](const ImageRecord& i, const ImageWriteOptions&) { return EncodePam(i); }},
        {u"*.pfm", [](const ImageRecord& i, const ImageWriteOptions&) { return EncodePfm(i); }},
        {u"*.jp2,*.j2k,*.j2c,*.jpx,*.jpc",
         [](const ImageRecord& i, const ImageWriteOptions&) { return EncodeJp2(i); }},
        {u"*.dds", [](const ImageRecord& i, const ImageWriteOptions&) { return EncodeDds(i); }},
        {u"*.tga", [](const ImageRecord& i, const ImageWriteOptions&) { return EncodeTga(i); }},
    }};
    return writers;
}

char16_t folded(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; }

// "*" matches any run of characters, "?" any one; letter case is ignored.
bool matchesPattern(std::u16string_view name, std::u16string_view pattern) {
    std::size_t n = 0, p = 0, starP = std::u16string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || folded(pattern[p]) == folded(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (starP != std::u16string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}

bool matchesList(std::u16string_view name, std::u16string_view patterns) {
    while (!patterns.empty()) {
        const std::size_t comma = patterns.find(u',');
        if (matchesPattern(name, patterns.substr(0, comma))) return true;
        if (comma == std::u16string_view::npos) break;
        patterns.remove_prefix(comma + 1);
    }
    return false;
}

// The extension from the last "." on, when no separator follows it; upper-cased ASCII.
std::u16string upperExtension(std::u16string_view name) {
    const std::size_t dot = name.rfind(u'.');
    if (dot == std::u16string_view::npos) return {};
    std::u16string extension(name.substr(dot));
    if (extension.find_first_of(u"\\:/") != std::u16string::npos) return {};
    for (char16_t& c : extension) {
        if (c >= u'a' && c <= u'z') c = char16_t(c - 32);
    }
    return extension;
}

// The base name: patterns are matched against the file's own name, not its folders.
std::u16string_view baseName(std::u16string_view path) {
    const std::size_t slash = path.find_last_of(u"/\\");
    return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> EncodeImageFile(const std::u16string& path,
                                                         const ImageRecord& image,
                                                         const ImageWriteOptions& options) {
    // No format this program writes holds a picture without pixels; several encoders
    // divide by a side. Refused before any file is touched.
    if (image.width <= 0 || image.height <= 0) {
        throw ImageError("The picture is empty (" + std::to_string(image.width) + " x " +
                         std::to_string(image.height) + " pixels) and is not saved as \"" +
                         utf16ToUtf8(path) + "\".");
    }
    const std::u16string extension = upperExtension(path);
    if (extension == u".ICO" || extension == u".CUR") return EncodeIcon(image);
    for (const RegisteredWriter& writer : registeredWriters()) {
        if (matchesList(baseName(path), writer.patterns)) return writer.encode(image, options);
    }
    return std::nullopt;
}

void SaveImageFile(const std::u16string& path, const ImageRecord& image,
                   const ImageWriteOptions& options) {
    if (auto bytes = EncodeImageFile(path, image, options)) WriteBinaryFile(path, *bytes);
}

}  // namespace tessaro

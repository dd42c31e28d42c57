// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing the writer by the file name: icon names first, then the registered writers in
// their order, each with its list of name patterns.
#include "output/image_file_writer.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "image/codecs/encoded_image.h"
#include "platform/atomic_file.h"
#include "platform/utf.h"

namespace tessaro {
namespace {

using Encoder = std::function<void(const ImageRecord&, const ImageWriteOptions&, ByteSink&)>;

struct RegisteredWriter {
    std::u16string_view patterns;  // "*.jpg,*.jpeg", matched ignoring letter case
    Encoder encode;
};

const std::array<RegisteredWriter, 15>& registeredWriters() {
    static const std::array<RegisteredWriter, 15> writers = {{
        {u"*.jpg,*.jpeg,*.jfif,*.jpe,*.jif",
         [](const ImageRecord& i, const ImageWriteOptions& o, ByteSink& s) {
             EncodeJpeg(i, o.jpegQuality, o.jpegProgressive, s);
         }},
        {u"*.png",
         [](const ImageRecord& i, const ImageWriteOptions&, ByteSink& s) { EncodePng(i, s); }},
        {u"*.gif",
         [](const ImageRecord& i, const ImageWriteOptions&, ByteSink& s) { EncodeGif(i, s); }},
        {u"*.bmp,*.dib",
         [](const ImageRecord& i, const ImageWriteOptions&, ByteSink& s) { EncodeBmp(i, s); }},
        {u"*.psd,*.pdd", [](const ImageRecord& i, const ImageWriteOptions& o,
                            ByteSink& s) { EncodePsd(i, o.psdLayer, s); }},
        {u"*.tif,*.tiff",
         [](const ImageRecord& i, const ImageWriteOptions&, ByteSink& s) { EncodeTiff(i, s); }},
        // Only lossy frames would take the MNG quality; the one frame here is lossless.
        {u"*.mng",
         [](const ImageRecord& i, const ImageWriteOptions&, ByteSink& s) { EncodeMng(i, s); }},
        {u"*.jng", [](const ImageRecord& i, const ImageWriteOptions& o,
                      ByteSink& s) { EncodeJng(i, o.jngQuality, o.jngProgressive, s); }},
        {u"*.pgm",
         [](const ImageRecord& i, const ImageWriteOptions&, ByteSink& s) { EncodePgm(i, s); }},
        {u"*.ppm",
         [](const ImageRecord& i, const ImageWriteOptions&, ByteSink& s) { EncodePpm(i, s); }},
        {u"*.pam",
         [](const ImageRecord& i, const ImageWriteOptions&, ByteSink& s) { EncodePam(i, s); }},
        {u"*.pfm",
         [](const ImageRecord& i, const ImageWriteOptions&, ByteSink& s) { EncodePfm(i, s); }},
        {u"*.jp2,*.j2k,*.j2c,*.jpx,*.jpc",
         [](const ImageRecord& i, const ImageWriteOptions&, ByteSink& s) { EncodeJp2(i, s); }},
        {u"*.dds",
         [](const ImageRecord& i, const ImageWriteOptions&, ByteSink& s) { EncodeDds(i, s); }},
        {u"*.tga",
         [](const ImageRecord& i, const ImageWriteOptions&, ByteSink& s) { EncodeTga(i, s); }},
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

// The encoder the name asks for; null when no writer takes it.
const Encoder* writerFor(const std::u16string& path) {
    static const Encoder icon = [](const ImageRecord& i, const ImageWriteOptions&, ByteSink& s) {
        EncodeIcon(i, s);
    };
    const std::u16string extension = upperExtension(path);
    if (extension == u".ICO" || extension == u".CUR") return &icon;
    for (const RegisteredWriter& writer : registeredWriters()) {
        if (matchesList(baseName(path), writer.patterns)) return &writer.encode;
    }
    return nullptr;
}

// No format this program writes holds a picture without pixels; several encoders divide
// by a side. Refused before any file is touched.
void refuseEmpty(const std::u16string& path, const ImageRecord& image) {
    if (image.width <= 0 || image.height <= 0) {
        throw ImageError("The picture is empty (" + std::to_string(image.width) + " x " +
                         std::to_string(image.height) + " pixels) and is not saved as \"" +
                         utf16ToUtf8(path) + "\".");
    }
}

}  // namespace

bool HasImageWriter(const std::u16string& path) { return writerFor(path) != nullptr; }

bool EncodeImageFile(const std::u16string& path, const ImageRecord& image,
                     const ImageWriteOptions& options, ByteSink& sink) {
    refuseEmpty(path, image);
    const Encoder* encode = writerFor(path);
    if (!encode) return false;
    (*encode)(image, options, sink);
    return true;
}

void SaveImageFile(const std::u16string& path, const ImageRecord& image,
                   const ImageWriteOptions& options) {
    refuseEmpty(path, image);
    const Encoder* encode = writerFor(path);
    if (!encode) return;
    AtomicFile file(utf16ToUtf8(path));
    AtomicFileSink sink(file);
    (*encode)(image, options, sink);
    // Only a complete file replaces the target; an exception above leaves the temporary
    // file to the AtomicFile, which removes it.
    file.commit();
}

}  // namespace tessaro

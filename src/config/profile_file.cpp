// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/profile_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/file_error.h"
#include "platform/utf.h"
#include "platform/windows_1252.h"

namespace tessaro {
namespace {

// Blanks around names and values; a Ctrl-Z, the old end-of-file mark, counts as one.
bool isBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\x1A'; }

std::u16string_view trimmed(std::u16string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Names compare without the case of ASCII letters, as the profile service compares them.
std::u16string folded(std::u16string_view name) {
    std::u16string out(trimmed(name));
    for (char16_t& c : out) {
        if (c >= u'a' && c <= u'z') c = char16_t(c - 32);
    }
    return out;
}

std::u16string fromUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string out(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto lo = static_cast<unsigned char>(bytes[2 * i + (bigEndian ? 1 : 0)]);
        const auto hi = static_cast<unsigned char>(bytes[2 * i + (bigEndian ? 0 : 1)]);
        out[i] = char16_t(lo | (hi << 8));
    }
    return out;
}

// UTF-16 LE without a mark: text of the Latin script has a zero in nearly every second
// byte and none in the others.
bool looksLikeUtf16Le(std::string_view bytes) {
    if (bytes.size() < 4 || bytes.size() % 2 != 0) return false;
    std::size_t zeroHigh = 0;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        if (bytes[i] == 0) return false;
        if (bytes[i + 1] == 0) ++zeroHigh;
    }
    return zeroHigh * 2 >= bytes.size() / 2;
}

std::u16string decode(std::string_view bytes) {
    auto startsWith = [&](std::initializer_list<unsigned char> mark) {
        if (bytes.size() < mark.size()) return false;
        std::size_t i = 0;
        for (unsigned char m : mark) {
            if (static_cast<unsigned char>(bytes[i++]) != m) return false;
        }
        return true;
    };
    if (startsWith({0xFF, 0xFE})) return fromUtf16(bytes.substr(2), false);
    if (startsWith({0xFE, 0xFF})) return fromUtf16(bytes.substr(2), true);
    if (startsWith({0xEF, 0xBB, 0xBF})) return utf8ToUtf16(bytes.substr(3));
    if (looksLikeUtf16Le(bytes)) return fromUtf16(bytes, false);
    if (IsValidUtf8(bytes)) return utf8ToUtf16(bytes);
    return ansiToUtf16(bytes);
}

void appendUtf16Le(std::string& out, std::u16string_view text) {
    for (char16_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
}

}  // namespace

ProfileFile::ProfileFile() { m_sections.push_back(Section{u"", false, {}, {}}); }

ProfileFile ProfileFile::parse(std::string_view bytes) {
    ProfileFile file;
    const std::u16string text = decode(bytes);
    std::u16string_view rest(text);
    // Lines end at CR LF, LF or a lone CR.
    while (!rest.empty()) {
        const std::size_t end = rest.find_first_of(u"\r\n");
        file.addLine(rest.substr(0, end));
        if (end == std::u16string_view::npos) break;
        const bool pair = rest[end] == u'\r' && end + 1 < rest.size() && rest[end + 1] == u'\n';
        rest.remove_prefix(end + (pair ? 2 : 1));
    }
    return file;
}

void ProfileFile::addLine(std::u16string_view raw) {
    const std::u16string_view line = trimmed(raw);
    Section& current = m_sections.back();
    if (line.empty()) {
        current.lines.push_back(Line{{}, std::nullopt, true});
        return;
    }
    if (line.front() == u'[') {
        const std::size_t close = line.rfind(u']');
        if (close != std::u16string_view::npos && close > 0) {
            Section section{std::u16string(trimmed(line.substr(1, close - 1))), true, {}, {}};
            const std::u16string key = folded(section.name);
            m_sections.push_back(std::move(section));
            m_sectionIndex.try_emplace(key, m_sections.size() - 1);
            return;
        }
    }
    const std::size_t equals = line.find(u'=');
    if (equals == std::u16string_view::npos) {
        current.lines.push_back(Line{std::u16string(line), std::nullopt, false});
    } else {
        current.lines.push_back(Line{std::u16string(trimmed(line.substr(0, equals))),
                                     std::u16string(trimmed(line.substr(equals + 1))), false});
    }
    indexKey(current, current.lines.size() - 1);
}

void ProfileFile::indexKey(Section& section, std::size_t line) {
    section.keys.try_emplace(folded(section.lines[line].name), line);
}

ProfileFile ProfileFile::read(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return ProfileFile();
        throw FileError("Cannot open file \"" + path.string() + "\". " + std::strerror(errno));
    }
    struct stat info {};
    std::string bytes;
    int error = 0;
    if (::fstat(fd, &info) != 0) {
        error = errno;
    } else if (S_ISDIR(info.st_mode)) {
        error = EISDIR;
    } else if (static_cast<std::size_t>(info.st_size) > kMaxFileBytes) {
        error = EFBIG;
    }
    char buffer[65536];
    while (error == 0) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) error = errno;
        if (got <= 0) break;
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (bytes.size() > kMaxFileBytes) error = EFBIG;
    }
    ::close(fd);
    if (error != 0) {
        throw FileError("Cannot read file \"" + path.string() + "\". " + std::strerror(error));
    }
    return parse(bytes);
}

ProfileFile ProfileFile::readOrEmpty(const std::filesystem::path& path) {
    try {
        return read(path);
    } catch (const FileError&) {
        return ProfileFile();
    }
}

const ProfileFile::Section* ProfileFile::findSection(std::u16string_view name) const {
    const std::u16string key = folded(name);
    if (key.empty()) return &m_sections.front();
    const auto found = m_sectionIndex.find(key);
    return found == m_sectionIndex.end() ? nullptr : &m_sections[found->second];
}

ProfileFile::Section* ProfileFile::findSection(std::u16string_view name) {
    return const_cast<Section*>(std::as_const(*this).findSection(name));
}

std::optional<std::u16string_view> ProfileFile::value(std::u16string_view section,
                                                      std::u16string_view key) const {
    const Section* found = findSection(section);
    if (!found) return std::nullopt;
    const auto line = found->keys.find(folded(key));
    if (line == found->keys.end() || !found->lines[line->second].value) return std::nullopt;
    return std::u16string_view(*found->lines[line->second].value);
}

void ProfileFile::setValue(std::u16string_view section, std::u16string_view key,
                           std::u16string_view value) {
    Section* target = findSection(section);
    if (!target) {
        m_sections.push_back(Section{std::u16string(trimmed(section)), true, {}, {}});
        m_sectionIndex.try_emplace(folded(section), m_sections.size() - 1);
        target = &m_sections.back();
    }
    // The profile service never stores blanks at the start of a value.
    std::u16string stored(value);
    stored.erase(0, stored.find_first_not_of(u" \t"));
    const auto found = target->keys.find(folded(key));
    if (found != target->keys.end()) {
        target->lines[found->second].value = std::move(stored);
        return;
    }
    // A new key follows the last line of the section that is not blank.
    std::size_t at = target->lines.size();
    while (at > 0 && target->lines[at - 1].blank) --at;
    target->lines.insert(target->lines.begin() + static_cast<std::ptrdiff_t>(at),
                         Line{std::u16string(trimmed(key)), std::move(stored), false});
    if (at + 1 != target->lines.size()) {
        for (auto& [name, index] : target->keys) {
            if (index >= at) ++index;
        }
    }
    indexKey(*target, at);
}

std::string ProfileFile::serialize() const {
    std::string out("\xFF\xFE", 2);
    for (const Section& section : m_sections) {
        if (section.hasHeader) {
            appendUtf16Le(out, u"[");
            appendUtf16Le(out, section.name);
            appendUtf16Le(out, u"]\r\n");
        }
        for (const Line& line : section.lines) {
            appendUtf16Le(out, line.name);
            if (line.value) {
                appendUtf16Le(out, u"=");
                appendUtf16Le(out, *line.value);
            }
            appendUtf16Le(out, u"\r\n");
        }
    }
    return out;
}

}  // namespace tessaro

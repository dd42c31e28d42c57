// SPDX-License-Identifier: GPL-3.0-or-later
// Test helpers: a temporary folder that is removed afterwards, file access, and the
// independent decoders (Python's codecs, iconv) that judge the bytes we write.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace tessaro::testing_output {

class TempDir {
public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tessaro-out-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        m_path = pattern;
    }
    ~TempDir() {
        std::error_code error;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, error);
        std::filesystem::remove_all(m_path, error);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // The folder as a UTF-16 text with a trailing "/".
    std::u16string folderText() const {
        const std::string s = m_path.string() + "/";
        return std::u16string(s.begin(), s.end());
    }

private:
    std::filesystem::path m_path;
};

inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The code units of a UTF-16LE byte string (the byte order the decoders are asked for).
inline std::u16string fromUtf16LeBytes(const std::string& bytes) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                             (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
    return text;
}

inline std::string shellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Decodes a file with Debian's Python codec `codec`; no text when Python refuses it.
inline std::optional<std::u16string> decodeWithPython(const std::filesystem::path& file,
                                                      const std::string& codec) {
    const std::filesystem::path out = file.string() + ".py16";
    const std::string command =
        "/usr/bin/python3 -c \"import sys; "
        "open(sys.argv[3],'wb').write(open(sys.argv[1],'rb').read().decode(sys.argv[2])"
        ".encode('utf-16-le','surrogatepass'))\" " +
        shellQuote(file.string()) + " " + shellQuote(codec) + " " + shellQuote(out.string()) +
        " 2>/dev/null";
    if (std::system(command.c_str()) != 0) return std::nullopt;
    return fromUtf16LeBytes(readBytes(out));
}

// Decodes a file with iconv from `charset`; no text when iconv refuses it.
inline std::optional<std::u16string> decodeWithIconv(const std::filesystem::path& file,
                                                     const std::string& charset) {
    const std::filesystem::path out = file.string() + ".iconv16";
    const std::string command = "iconv -f " + shellQuote(charset) + " -t UTF-16LE " +
                                shellQuote(file.string()) + " > " + shellQuote(out.string()) +
                                " 2>/dev/null";
    if (std::system(command.c_str()) != 0) return std::nullopt;
    return fromUtf16LeBytes(readBytes(out));
}

}  // namespace tessaro::testing_output

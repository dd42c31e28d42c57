// SPDX-License-Identifier: GPL-3.0-or-later
// A profile ("INI") file in memory: sections of "name=value" lines, with the update rules
// of the Windows profile service. An existing key is replaced where it stands, a new key
// goes to the end of its section (before the blank lines that close it), a new section to
// the end of the file. Section and key names compare without regard to the case of ASCII
// letters; the first of two sections or keys of the same name is the one read and written.
// Lines that are neither (a comment, a line without "=") are kept. A written file holds
// every line in its plain form ("[name]", "name=value"), as the profile service writes it.
//
// The file is read in any of the encodings such files come in and always written as
// UTF-16 LE with its byte-order mark and CR LF line ends.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tessaro {

class ProfileFile {
public:
    // The decoded lines of a file's bytes: UTF-16 (with either byte-order mark), UTF-8 with
    // its mark, and without a mark UTF-16 LE when it plainly is, else UTF-8 when valid,
    // else Windows-1252.
    static ProfileFile parse(std::string_view bytes);
    // Reads a file; a missing file is an empty one. Throws FileError when the file exists
    // but cannot be read, or is too large to be a profile.
    static ProfileFile read(const std::filesystem::path& path);
    // As read(), but a file that cannot be read is taken as empty: reading settings never
    // fails.
    static ProfileFile readOrEmpty(const std::filesystem::path& path);

    // The raw text after the "=" of the key (blanks at its start removed), if the key has
    // one. The section name "" stands for the lines before the first section.
    std::optional<std::u16string_view> value(std::u16string_view section,
                                             std::u16string_view key) const;
    void setValue(std::u16string_view section, std::u16string_view key, std::u16string_view value);

    // The whole file: UTF-16 LE with FF FE, CR LF after every line.
    std::string serialize() const;

    bool empty() const { return m_sections.size() == 1 && m_sections.front().lines.empty(); }

    // Files larger than this are not taken for settings.
    static constexpr std::size_t kMaxFileBytes = 64u << 20;

private:
    struct Line {
        std::u16string name;                  // the whole line when it has no "="
        std::optional<std::u16string> value;  // absent: no "=" (or a blank line)
        bool blank = false;
    };
    struct Section {
        std::u16string name;
        bool hasHeader = true;  // false only for the lines before the first header
        std::vector<Line> lines;
        std::unordered_map<std::u16string, std::size_t> keys;  // folded name -> first line
    };

    ProfileFile();
    void addLine(std::u16string_view line);
    static void indexKey(Section& section, std::size_t line);
    const Section* findSection(std::u16string_view name) const;
    Section* findSection(std::u16string_view name);

    std::vector<Section> m_sections;
    std::unordered_map<std::u16string, std::size_t> m_sectionIndex;  // folded name -> first
};

}  // namespace tessaro

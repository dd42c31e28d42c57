// SPDX-License-Identifier: GPL-3.0-or-later
// Our profile files against the Windows profile service. Each scenario of
// tests/config/profile_reference/ is a list of writes and reads; the .expected and .reads
// files beside it hold what WritePrivateProfileStringW wrote and GetPrivateProfileStringW
// read for it (recorded under Wine, see the README there). Replayed here, our file must
// hold the same lines (blank lines aside, which the service drops on its first write) and
// every read must give the same text; and the service's own file must read the same in
// our reader.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "config/profile_file.h"
#include "config/profile_values.h"
#include "output/oracle.h"
#include "platform/utf.h"
#include "platform/windows_1252.h"

namespace tessaro {
namespace {

namespace fs = std::filesystem;
using testing_output::readBytes;

const fs::path kFolder = fs::path(TESSARO_SOURCE_DIR) / "tests/config/profile_reference";

// The escapes of the scenario and reads files: \t \n \r \\ and \uXXXX.
std::u16string unescape(const std::string& field) {
    const std::u16string text = utf8ToUtf16(field);
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char16_t kind = text[++i];
        if (kind == u't') out += u'\t';
        else if (kind == u'n') out += u'\n';
        else if (kind == u'r') out += u'\r';
        else if (kind == u'u') {
            out += char16_t(std::stoi(utf16ToUtf8(text.substr(i + 1, 4)), nullptr, 16));
            i += 4;
        } else out += kind;
    }
    return out;
}

std::vector<std::string> split(const std::string& line, char separator) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t end; (end = line.find(separator, start)) != std::string::npos; start = end + 1) {
        fields.push_back(line.substr(start, end - start));
    }
    fields.push_back(line.substr(start));
    return fields;
}

enum class Encoding { Utf16, Utf8, Ansi };

Encoding encodingOf(const std::string& bytes) {
    if (bytes.rfind("\xFF\xFE", 0) == 0) return Encoding::Utf16;
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) return Encoding::Utf8;
    return Encoding::Ansi;
}

// The lines of a file that are not blank, decoded as the service wrote them.
std::vector<std::u16string> linesOf(const std::string& bytes) {
    std::u16string text;
    switch (encodingOf(bytes)) {
        case Encoding::Utf16: text = testing_output::fromUtf16LeBytes(bytes.substr(2)); break;
        case Encoding::Utf8: text = utf8ToUtf16(bytes.substr(3)); break;
        case Encoding::Ansi: text = ansiToUtf16(bytes); break;
    }
    std::vector<std::u16string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(u"\r\n", start);
        if (end == std::u16string::npos) end = text.size();
        if (end > start) lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::u16string readValue(const ProfileFile& file, const std::u16string& section, const std::u16string& key) {
    const auto raw = file.value(section, key);
    return raw ? ReadProfileText(*raw) : u"<<missing>>";
}

std::vector<std::string> scenarios() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kFolder)) {
        if (entry.path().extension() == ".scn") names.push_back(entry.path().stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ProfileReference, OurFilesAndReadsAreThoseOfTheWindowsProfileService) {
    const std::vector<std::string> names = scenarios();
    ASSERT_GE(names.size(), 20u);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const fs::path initialPath = kFolder / (name + ".initial");
        const std::string initial = fs::exists(initialPath) ? readBytes(initialPath) : std::string("\xFF\xFE", 2);
        ProfileFile ours = ProfileFile::parse(initial);
        std::string written = ours.serialize();  // the file as the last write left it
        std::vector<std::pair<std::u16string, std::u16string>> readKeys;
        std::vector<std::u16string> reads;
        std::ifstream scenario(kFolder / (name + ".scn"));
        for (std::string line; std::getline(scenario, line);) {
            if (line.empty() || line[0] == '#') continue;
            const std::vector<std::string> fields = split(line, '\t');
            if (fields[0] == "write") {
                ASSERT_EQ(fields.size(), 4u) << line;
                // The service rewrites its file at every write; so does the replay, so that
                // a key or value no file can hold (a line break, an "=" in a key) reads as
                // the rewritten file has it.
                ours.setValue(unescape(fields[1]), unescape(fields[2]), unescape(fields[3]));
                written = ours.serialize();
                ours = ProfileFile::parse(written);
            } else {
                ASSERT_EQ(fields.size(), 3u) << line;
                readKeys.emplace_back(unescape(fields[1]), unescape(fields[2]));
                reads.push_back(readValue(ours, readKeys.back().first, readKeys.back().second));
            }
        }
        // The service keeps an 8-bit file 8-bit, losing every code unit Windows-1252 cannot
        // hold; we write UTF-16, which loses nothing: compared through the same 8-bit lens.
        const std::string theirs = readBytes(kFolder / (name + ".expected"));
        const bool eightBit = encodingOf(theirs) == Encoding::Ansi;
        const auto lens = [eightBit](std::u16string text) {
            if (!eightBit) return text;
            for (char16_t& unit : text) unit = ansiToUtf16(utf16ToAnsi(std::u16string(1, unit))).at(0);
            return text;
        };
        std::ifstream expectedReads(kFolder / (name + ".reads"));
        std::size_t index = 0;
        for (std::string line; std::getline(expectedReads, line); ++index) {
            ASSERT_LT(index, reads.size());
            EXPECT_EQ(utf16ToUtf8(lens(reads[index])), utf16ToUtf8(unescape(line))) << "read " << index;
        }
        EXPECT_EQ(index, reads.size());

        ASSERT_EQ(encodingOf(written), Encoding::Utf16);
        std::vector<std::u16string> ourLines = linesOf(written);
        for (std::u16string& line : ourLines) line = lens(line);
        EXPECT_EQ(ourLines, linesOf(theirs));

        // The service's own file reads the same in our reader as ours does.
        const ProfileFile reread = ProfileFile::parse(theirs);
        for (const auto& [section, key] : readKeys) {
            EXPECT_EQ(utf16ToUtf8(readValue(reread, section, key)),
                      utf16ToUtf8(lens(readValue(ProfileFile::parse(written), section, key))))
                << utf16ToUtf8(section) << "/" << utf16ToUtf8(key);
        }
    }
}

}  // namespace
}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// Building target file names from the save fields: joining, the %firstchars% cleaning and
// the placeholder expansion with collision-free running numbers.
#include "output/file_naming.h"

#include <array>
#include <limits>

#include "output/folder_path.h"
#include "platform/utf.h"
#include "text/wide_replace.h"

namespace tessaro {
namespace {

constexpr std::u16string_view kFirstChars = u"%firstchars%";
constexpr std::u16string_view kDate = u"%date%";
constexpr std::u16string_view kTime = u"%time%";
constexpr std::size_t kFirstCharsLength = 40;

struct NumberPlaceholder {
    std::u16string_view text;
    std::size_t width;
};
// In the order the loops run; one counter serves them all.
constexpr std::array<NumberPlaceholder, 5> kNumbers = {{
    {u"%num%", 1},
    {u"%num2%", 2},
    {u"%num3%", 3},
    {u"%num4%", 4},
    {u"%num5%", 5},
}};

bool contains(std::u16string_view text, std::u16string_view part) {
    return text.find(part) != std::u16string_view::npos;
}

std::u16string_view trimControlsAndSpaces(std::u16string_view text) {
    while (!text.empty() && text.front() <= u' ') text.remove_prefix(1);
    while (!text.empty() && text.back() <= u' ') text.remove_suffix(1);
    return text;
}

std::u16string padded(std::int32_t value, std::size_t width) {
    std::u16string digits = utf8ToUtf16(std::to_string(value));
    if (digits.size() < width) digits.insert(0, width - digits.size(), u'0');
    return digits;
}

std::u16string twoDigits(int value) {
    return {char16_t(u'0' + (value / 10) % 10), char16_t(u'0' + value % 10)};
}

std::u16string expandDateTime(std::u16string_view path, const std::u16string& date,
                              const std::u16string& time) {
    return WideReplaceAll(WideReplaceAll(path, kDate, date), kTime, time);
}

}  // namespace

std::u16string FormatDate(const LocalTime& time) {
    std::u16string year = padded(time.year, 4);
    return year + u"-" + twoDigits(time.month) + u"-" + twoDigits(time.day);
}

std::u16string FormatTime(const LocalTime& time) {
    return twoDigits(time.hour) + u"-" + twoDigits(time.minute) + u"-" + twoDigits(time.second);
}

std::u16string GetDate(Desktop& desktop) { return FormatDate(desktop.now()); }

std::u16string GetTime(Desktop& desktop) { return FormatTime(desktop.now()); }

std::u16string FirstCharsName(std::u16string_view text) {
    std::u16string_view trimmed = trimControlsAndSpaces(text);
    if (trimmed.size() > kFirstCharsLength) {
        trimmed = trimmed.substr(0, kFirstCharsLength);
        // Cutting between the halves of a surrogate pair would leave half a character,
        // which no file system can store; the whole character is left out instead.
        if (trimmed.back() >= 0xD800 && trimmed.back() <= 0xDBFF) trimmed.remove_suffix(1);
    }
    std::u16string name(trimmed);
    for (char16_t& c : name) {
        // A zero would end the path where the system reads it.
        if (c == u'\0' || std::u16string_view(u"?|<>/:\"*\\\r\n\t").find(c) != std::u16string_view::npos) {
            c = u' ';
        }
    }
    name = WideReplaceAll(name, u"   ", u" ");
    name = WideReplaceAll(name, u"   ", u" ");
    name = WideReplaceAll(name, u"  ", u" ");
    name = WideReplaceAll(name, u"  ", u" ");
    return std::u16string(trimControlsAndSpaces(name));
}

std::u16string JoinTargetPath(SaveKind kind, std::u16string_view folder, std::u16string_view name,
                              std::u16string_view format) {
    std::u16string path = std::u16string(folder) + std::u16string(name);
    if (kind == SaveKind::Text) {
        if (format.empty() || format.front() != u'.') path += u'.';
        path += format;
        return path;
    }
    const std::size_t dash = format.find(u" - ");
    const std::u16string extension = dash == std::u16string_view::npos
                                         ? std::u16string()
                                         : WideReplaceAll(format.substr(0, dash), u"*", u"");
    path += (!extension.empty() && extension.front() == u'.') ? extension : u".bmp";
    return path;
}

std::optional<std::u16string> ExpandPlaceholders(SaveKind kind, std::u16string path,
                                                 std::u16string_view text, std::int32_t& counter,
                                                 const LocalTime& stamp,
                                                 const FileExistsQuery& exists) {
    if (kind == SaveKind::Text && contains(path, kFirstChars)) {
        path = WideReplaceAll(path, kFirstChars, FirstCharsName(text));
    }
    // Date and time are read once, so that the names tested below and the name written
    // agree even when the clock moves on in between.
    const std::u16string date = FormatDate(stamp);
    const std::u16string time = FormatTime(stamp);
    for (const NumberPlaceholder& number : kNumbers) {
        if (!contains(path, number.text)) continue;
        std::u16string candidate;
        do {
            if (counter == std::numeric_limits<std::int32_t>::max()) return std::nullopt;
            ++counter;
            candidate = WideReplaceAll(path, number.text, padded(counter, number.width));
            // The test looks at the name as it will be written: a number chosen while
            // "%date%" was still in the name could hit a file saved earlier today.
        } while (exists(expandDateTime(candidate, date, time)));
        path = std::move(candidate);
    }
    return expandDateTime(path, date, time);
}

std::optional<std::u16string> BuildTargetFileName(SaveKind kind, const SaveFields& fields,
                                                  std::u16string_view text, FileCounters& counters,
                                                  Desktop& desktop) {
    const std::optional<std::u16string> folder = CheckSaveFolder(fields.folder, desktop);
    if (!folder) return std::nullopt;
    const std::u16string joined = JoinTargetPath(kind, *folder, fields.name, fields.format);
    const FileExistsQuery exists = [&desktop](std::u16string_view path) {
        return desktop.fileExists(std::filesystem::path(utf16ToUtf8(path)));
    };
    // Placeholders in the folder are expanded with those of the name, and the folder the
    // file really goes to is the one created.
    std::optional<std::u16string> path =
        ExpandPlaceholders(kind, joined, text, counters.of(kind), desktop.now(), exists);
    if (path && !CreateSaveFolder(*path, *folder, desktop)) return std::nullopt;
    return path;
}

}  // namespace tessaro

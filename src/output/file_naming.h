// SPDX-License-Identifier: GPL-3.0-or-later
// Target file names of the automatic text and image saves: folder, template and format
// joined, and the placeholders %firstchars%, %num% to %num5%, %date% and %time% expanded.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/desktop.h"

namespace tessaro {

enum class SaveKind { Text, Image };

// The running numbers behind the %num% placeholders, one per kind. Both start at 0 when the
// main window is created and only grow; the caller owns them.
struct FileCounters {
    std::int32_t TextFileCounter = 0;
    std::int32_t ImageFileCounter = 0;

    std::int32_t& of(SaveKind kind) {
        return kind == SaveKind::Text ? TextFileCounter : ImageFileCounter;
    }
};

// The texts of the three save fields of one kind: folder, name template, format.
struct SaveFields {
    std::u16string folder;
    std::u16string name;
    std::u16string format;
};

// "yyyy-mm-dd" of the given time.
std::u16string FormatDate(const LocalTime& time);
// "hh-nn-ss" (24-hour clock) of the given time.
std::u16string FormatTime(const LocalTime& time);
// The current local date as "yyyy-mm-dd", read from the desktop's clock.
std::u16string GetDate(Desktop& desktop);
// The current local time as "hh-nn-ss", read from the desktop's clock.
std::u16string GetTime(Desktop& desktop);

// The text for %firstchars%: the trimmed first 40 characters of `text`, with the characters
// a file name cannot hold turned into spaces and runs of spaces shortened.
std::u16string FirstCharsName(std::u16string_view text);

// folder + name + extension: for text the format field (a "." put in front when it lacks
// one), for images the pattern before " - " of the format entry without "*", or ".bmp".
// `folder` already ends with its separator.
std::u16string JoinTargetPath(SaveKind kind, std::u16string_view folder, std::u16string_view name,
                              std::u16string_view format);

// Answers whether a file of the given full name exists.
using FileExistsQuery = std::function<bool(std::u16string_view path)>;

// Expands the placeholders of a joined path: %firstchars% (text kind only) from `text`, the
// five number placeholders from `counter`, %date% and %time% from `stamp`. Each number loop
// advances the counter until the name as it will finally be written (later numbers
// excepted) names no existing file, so a running number never overwrites a file. No path
// when the counter cannot advance any further.
std::optional<std::u16string> ExpandPlaceholders(SaveKind kind, std::u16string path,
                                                 std::u16string_view text, std::int32_t& counter,
                                                 const LocalTime& stamp,
                                                 const FileExistsQuery& exists);

// The full target path for a save of `kind`: checks and creates the folder through the
// desktop, joins the fields and expands the placeholders, advancing the kind's counter.
// No path, and no message, when the folder is invalid or cannot be created.
std::optional<std::u16string> BuildTargetFileName(SaveKind kind, const SaveFields& fields,
                                                  std::u16string_view text, FileCounters& counters,
                                                  Desktop& desktop);

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// A file path shortened to fit a width: leading folders give way to ".../" one at a time,
// then the whole folder, until the caption fits or only the file name is left.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tessaro {

// `widthOf` measures a caption in pixels; `separator` is the path separator ('/' here,
// '\\' for Windows paths, where a drive such as "C:" stays in front as long as it can).
std::u16string ShortenPathCaption(std::u16string_view path, int limit,
                                  const std::function<int(std::u16string_view)>& widthOf,
                                  char16_t separator = u'/');

}  // namespace tessaro

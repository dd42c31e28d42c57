// SPDX-License-Identifier: GPL-3.0-or-later
// Encoders of UTF-16 text into the eight text-file encodings, each with its fixed start
// bytes. The core writes to a sink; the memory wrapper here and the file writer are thin.
//
// Usage: EncodeText_core(text, {.encoding = kEncodingUtf8}, sink) writes the start bytes
// and the body of the chosen encoding into `sink`, in pieces of at most 64 KiB. A code that
// is not one of the eight writes nothing. Errors of the sink propagate unchanged; what was
// handed to the sink before stays there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/byte_sink.h"

namespace tessaro {

// The encoding codes. The numbers are internal; they never reach a file.
inline constexpr std::int32_t kEncodingAnsi = 0;
inline constexpr std::int32_t kEncodingUtf7NoSignature = 64999;
inline constexpr std::int32_t kEncodingUtf7 = 65000;
inline constexpr std::int32_t kEncodingUtf8 = 65001;
inline constexpr std::int32_t kEncodingUtf16Le = 1200;
inline constexpr std::int32_t kEncodingUtf16Be = 1201;
inline constexpr std::int32_t kEncodingUtf32Le = 65005;
inline constexpr std::int32_t kEncodingUtf32Be = 65006;

struct TextEncodeOptions {
    // One of the kEncoding* codes; any other value writes nothing.
    std::int32_t encoding = kEncodingUtf8;
};

// True for the eight codes that have an encoder.
bool IsKnownTextEncoding(std::int32_t encoding);

// Writes the start bytes and the body of `text` in the encoding of `options` to `sink`.
void EncodeText_core(std::u16string_view text, const TextEncodeOptions& options, ByteSink& sink);

// The bytes EncodeText_core would write.
std::string EncodeText(std::u16string_view text, const TextEncodeOptions& options);

// True when every UTF-16 code unit of the text is at most 0x00FF (true for empty text).
bool IsLatin1Only(std::u16string_view text);

// The automatic choice: ANSI for Latin-1-only text, else UTF-8 when `automatic` is set;
// `current` unchanged otherwise.
std::int32_t ChooseTextEncoding(bool automatic, std::int32_t current, std::u16string_view text);

}  // namespace tessaro

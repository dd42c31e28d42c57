// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop clipboard as the program sees it: an ordered list of numbered formats, each
// holding a memory block or a graphics object, replaced as a whole by every write.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/bitmap.h"
#include "platform/viewer_chain.h"

namespace tessaro {

using FormatId = std::uint16_t;

inline constexpr FormatId CF_TEXT = 1;
inline constexpr FormatId CF_BITMAP = 2;
inline constexpr FormatId CF_PALETTE = 9;
inline constexpr FormatId CF_UNICODETEXT = 13;
inline constexpr FormatId kFirstRegisteredFormat = 0xC000;

// A memory block: the bytes of a format, its size what GlobalSize would tell.
using MemoryBlock = std::vector<std::uint8_t>;
// A palette handed over as its own graphics object (CF_PALETTE).
struct Palette {
    std::vector<std::uint32_t> entries;
};
// A text the platform already holds as UTF-16, without a terminating 0: CF_UNICODETEXT
// handed over without copying a large text into a block and out of it again.
using SharedUtf16 = std::shared_ptr<const std::u16string>;
// CF_TEXT that the platform makes from its UTF-16 text when asked, as Windows does: the text
// in the 8-bit code page with a terminating 0 byte. Kept as the text itself, so that listing
// a large text as 8-bit text does not hold it twice.
struct AnsiOfUtf16 {
    SharedUtf16 text;
    // Whether every character has a byte in the code page, where the platform already
    // found out (see survivesAnsi); nothing when it did not look.
    std::optional<bool> survivesAnsi;
};
// The data of one format. Graphics objects have no memory block: their block size reads 0.
using ClipboardData = std::variant<MemoryBlock, std::shared_ptr<const Bitmap>,
                                   std::shared_ptr<const Palette>, SharedUtf16, AnsiOfUtf16>;

// How the bytes of a registered format are text, where a convention of the platform says
// so (X11 text types are UTF-8); without one they are read one character per byte.
enum class TargetText {
    None,
    Utf8,
    Latin1,
    Utf16,  // with or without a byte-order mark, little-endian without one
};

// Memory blocks of text as the clipboard holds them.
MemoryBlock utf16Block(std::u16string_view text);  // with the terminating 0 character
MemoryBlock ansiBlock(std::string_view bytes);     // with the terminating 0 byte
// The text of a UTF-16 block without the 0 characters that end it; a 0 inside stays, as
// X11 texts may hold them.
std::u16string utf16OfBlock(const MemoryBlock& block);
// Bytes as text of a convention: without one every byte is a Windows-1252 character, the
// terminating 0 included; with one, the terminating 0s are dropped.
std::u16string textOfBytes(std::string_view bytes, TargetText convention);

// Platform clipboard calls with Windows semantics. All calls come from the one
// user-interface thread. Data pointers stay valid until the clipboard is closed.
class ClipboardBackend {
public:
    virtual ~ClipboardBackend() = default;

    // OpenClipboard: false when another program holds the clipboard.
    virtual bool open() = 0;
    // CloseClipboard: after a write (empty and set) this announces the change to the
    // viewer chain, synchronously, before it returns.
    virtual void close() = 0;
    // EmptyClipboard: removes every format; the clipboard must be open.
    virtual void empty() = 0;
    // SetClipboardData: adds a format after the ones already there; the clipboard must be
    // open. Throws ClipboardError when the platform refuses the data.
    virtual void setData(FormatId format, ClipboardData data) = 0;

    // CountClipboardFormats.
    virtual int formatCount() = 0;
    // EnumClipboardFormats: the format after `previous` (0 starts), 0 after the last.
    // The clipboard must be open.
    virtual FormatId enumFormats(FormatId previous) = 0;
    // GetClipboardData: nullptr when the format is absent. The clipboard must be open.
    virtual const ClipboardData* data(FormatId format) = 0;
    // GetClipboardFormatNameA: the registered name, nothing when the id has none.
    virtual std::optional<std::string> registeredName(FormatId format) = 0;

    // True while the clipboard holds what this program's last write put there: false once
    // another program has copied, and false for a write that the platform did not let take
    // effect (X11 refuses the selection to an older request than the current owner's).
    virtual bool holdsOwnWrite() = 0;

    // True for a format whose owner did not hand it over in time: it is listed with an
    // empty value rather than left out as if it were empty.
    virtual bool unanswered(FormatId format) {
        (void)format;
        return false;
    }

    // How the bytes of a format are text (for the details list).
    virtual TargetText textConvention(FormatId format) {
        (void)format;
        return TargetText::None;
    }

    // The viewer chain of this desktop.
    virtual ViewerChain& viewers() = 0;
};

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
#include "capture/clipboard_ex.h"

#include <algorithm>

#include "platform/clipboard_error.h"
#include "platform/windows_1252.h"

namespace tessaro {
namespace {

const MemoryBlock* blockOf(const ClipboardData* data) {
    const auto* block = data ? std::get_if<MemoryBlock>(data) : nullptr;
    return (block && !block->empty()) ? block : nullptr;
}

std::string_view bytesOf(const MemoryBlock& block) {
    return {reinterpret_cast<const char*>(block.data()), block.size()};
}

class Restore {
public:
    explicit Restore(bool& flag) : m_flag(flag), m_old(flag) { m_flag = true; }
    ~Restore() { m_flag = m_old; }
    Restore(const Restore&) = delete;
    Restore& operator=(const Restore&) = delete;

private:
    bool& m_flag;
    bool m_old;
};

}  // namespace

void TClipBoardEx::open() {
    if (m_openCount == 0) {
        if (!m_backend.open()) throw ClipboardError("Cannot open clipboard", u"Die Zwischenablage lässt sich nicht öffnen");
        m_emptied = false;
    }
    ++m_openCount;
}

void TClipBoardEx::close() {
    if (m_openCount == 0) return;
    if (--m_openCount > 0) return;
    if (m_emptied) {
        // The platform announces our write from inside close(); mark it as our own.
        Restore announcing(m_announcingOwnWrite);
        m_emptied = false;
        m_lastWriteWasWriteBack = m_writingBack;
        m_backend.close();
    } else {
        m_backend.close();
    }
}

int TClipBoardEx::formatCount() { return m_backend.formatCount(); }

FormatId TClipBoardEx::formatAt(int index) {
    ClipboardOpen scope(*this);
    FormatId format = 0;
    for (int step = 0; step <= index; ++step) {
        format = m_backend.enumFormats(format);
        if (format == 0) break;
    }
    return format;
}

SharedText TClipBoardEx::ReadFormatAsText(FormatId format, bool utf16) {
    ClipboardOpen scope(*this);
    const ClipboardData* data = m_backend.data(format);
    if (const auto* text = data ? std::get_if<SharedUtf16>(data) : nullptr) return SharedText(*text);
    if (const auto* ansi = data ? std::get_if<AnsiOfUtf16>(data) : nullptr; ansi && ansi->text) {
        // Read whole, the block ends with its 0 byte. Mostly the text comes back unchanged
        // from the code page, and the value is the text itself with its terminator.
        const SharedText text(ansi->text);
        if (!utf16 && (ansi->survivesAnsi ? *ansi->survivesAnsi : survivesAnsi(text.str()))) return text.withTerminator();
        const MemoryBlock block = ansiBlock(utf16ToAnsi(text.str()));
        return utf16 ? utf16OfBlock(block) : textOfBytes(bytesOf(block), m_backend.textConvention(format));
    }
    const MemoryBlock* block = blockOf(data);
    if (!block) return {};
    return utf16 ? utf16OfBlock(*block) : textOfBytes(bytesOf(*block), m_backend.textConvention(format));
}

bool TClipBoardEx::HoldsSecret() {
    // The convention of KDE's clipboard and the password managers that follow it.
    constexpr std::string_view kHint = "x-kde-passwordManagerHint";
    const int count = formatCount();
    for (int i = 0; i < count; ++i) {
        const FormatId format = formatAt(i);
        if (format < kFirstRegisteredFormat || m_backend.registeredName(format) != kHint) continue;
        ClipboardOpen scope(*this);
        const MemoryBlock* block = blockOf(m_backend.data(format));
        if (!block) return false;
        std::string_view value = bytesOf(*block);
        value = value.substr(0, std::min(value.size(), value.find('\0')));
        return value == "secret";
    }
    return false;
}

std::u16string TClipBoardEx::ReadUnicodeText() {
    std::u16string text;
    {
        ClipboardOpen scope(*this);
        const ClipboardData* data = m_backend.data(CF_UNICODETEXT);
        if (const auto* shared = data ? std::get_if<SharedUtf16>(data) : nullptr; shared && *shared) {
            text = **shared;
        } else if (const MemoryBlock* block = blockOf(data)) {
            text = utf16OfBlock(*block);
        }
    }
    if (!text.empty()) return text;
    ClipboardOpen scope(*this);
    const MemoryBlock* block = blockOf(m_backend.data(CF_TEXT));
    if (!block) return {};
    const std::string_view bytes = bytesOf(*block);
    return ansiToUtf16(bytes.substr(0, std::min(bytes.size(), bytes.find('\0'))));
}

void TClipBoardEx::WriteUnicodeText(std::u16string_view text) {
    ClipboardOpen scope(*this);
    const std::string ansi = utf16ToAnsi(text);
    put(CF_TEXT, ansiBlock(ansi));
    put(CF_UNICODETEXT, utf16Block(text));
}

std::shared_ptr<const Bitmap> TClipBoardEx::ReadClipboardBitmap() {
    ClipboardOpen scope(*this);
    const ClipboardData* paletteData = m_backend.data(CF_PALETTE);
    const ClipboardData* bitmapData = m_backend.data(CF_BITMAP);
    const auto* bitmap = bitmapData ? std::get_if<std::shared_ptr<const Bitmap>>(bitmapData) : nullptr;
    if (!bitmap || !*bitmap) throw ClipboardError("The clipboard holds no bitmap", u"Die Zwischenablage enthält kein Bild");
    const auto* palette =
        paletteData ? std::get_if<std::shared_ptr<const Palette>>(paletteData) : nullptr;
    const bool paletteDiffers = palette && *palette && (*palette)->entries != (*bitmap)->palette;
    if ((*bitmap)->bitsPerPixel == 32 && !paletteDiffers) return *bitmap;
    auto copy = std::make_shared<Bitmap>((*bitmap)->to32Bit());
    if (paletteDiffers) copy->palette = (*palette)->entries;
    return copy;
}

void TClipBoardEx::WriteClipboardBitmap(std::shared_ptr<const Bitmap> bitmap) {
    if (!bitmap) throw ClipboardError("No bitmap to put on the clipboard", u"Es gibt kein Bild für die Zwischenablage");
    ClipboardOpen scope(*this);
    std::vector<std::uint32_t> palette = bitmap->palette;
    put(CF_BITMAP, std::move(bitmap));
    if (!palette.empty()) put(CF_PALETTE, std::make_shared<const Palette>(Palette{std::move(palette)}));
}

void TClipBoardEx::put(FormatId format, ClipboardData data) {
    if (!m_emptied) {
        m_backend.empty();
        m_emptied = true;
    }
    m_backend.setData(format, std::move(data));
}

}  // namespace tessaro

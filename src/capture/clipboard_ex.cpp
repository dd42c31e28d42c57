#include "capture/clipboard_ex.h"

#include <algorithm>
#include <cstring>

#include "platform/clipboard_error.h"
#include "platform/windows_1252.h"

namespace tessaro {
namespace {

const MemoryBlock* blockOf(const ClipboardData* data) {
    const auto* block = data ? std::get_if<MemoryBlock>(data) : nullptr;
    return (block && !block->empty()) ? block : nullptr;
}

// UTF-16 characters of a block up to the first 0 character (or the block's end).
std::u16string utf16UpToZero(const MemoryBlock& block) {
    const std::size_t units = block.size() / 2;
    std::u16string text(units, u'\0');
    std::memcpy(text.data(), block.data(), units * 2);
    const auto end = std::find(text.begin(), text.end(), u'\0');
    text.resize(static_cast<std::size_t>(end - text.begin()));
    return text;
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
        if (!m_backend.open()) throw ClipboardError("Cannot open clipboard");
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

std::u16string TClipBoardEx::ReadFormatAsText(FormatId format, bool utf16) {
    ClipboardOpen scope(*this);
    const MemoryBlock* block = blockOf(m_backend.data(format));
    if (!block) return {};
    return utf16 ? utf16UpToZero(*block) : ansiToUtf16(bytesOf(*block));
}

std::u16string TClipBoardEx::ReadUnicodeText() {
    std::u16string text;
    {
        ClipboardOpen scope(*this);
        if (const MemoryBlock* block = blockOf(m_backend.data(CF_UNICODETEXT))) {
            text = utf16UpToZero(*block);
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

Bitmap TClipBoardEx::ReadClipboardBitmap() {
    ClipboardOpen scope(*this);
    const ClipboardData* paletteData = m_backend.data(CF_PALETTE);
    const ClipboardData* bitmapData = m_backend.data(CF_BITMAP);
    const auto* bitmap = bitmapData ? std::get_if<std::shared_ptr<const Bitmap>>(bitmapData) : nullptr;
    if (!bitmap || !*bitmap) throw ClipboardError("The clipboard holds no bitmap");
    Bitmap copy = (*bitmap)->to32Bit();
    const auto* palette =
        paletteData ? std::get_if<std::shared_ptr<const Palette>>(paletteData) : nullptr;
    if (palette && *palette) copy.palette = (*palette)->entries;
    return copy;
}

void TClipBoardEx::WriteClipboardBitmap(const Bitmap& bitmap) {
    ClipboardOpen scope(*this);
    put(CF_BITMAP, std::make_shared<const Bitmap>(bitmap));
    if (!bitmap.palette.empty()) {
        put(CF_PALETTE, std::make_shared<const Palette>(Palette{bitmap.palette}));
    }
}

void TClipBoardEx::put(FormatId format, ClipboardData data) {
    if (!m_emptied) {
        m_backend.empty();
        m_emptied = true;
    }
    m_backend.setData(format, std::move(data));
}

}  // namespace tessaro

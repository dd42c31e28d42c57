// SPDX-License-Identifier: GPL-3.0-or-later
// The program's clipboard object: a nesting open count over the platform clipboard and the
// few read and write operations that all clipboard use goes through. Every write replaces
// the whole content and is announced once, when the outermost close closes the platform.
#pragma once

#include <string>
#include <string_view>

#include "forms/shared_text.h"
#include "platform/bitmap.h"
#include "platform/clipboard_backend.h"

namespace tessaro {

class TClipBoardEx {
public:
    explicit TClipBoardEx(ClipboardBackend& backend) : m_backend(backend) {}

    // Opens the platform clipboard on the outermost call; throws ClipboardError
    // "Cannot open clipboard" when another program holds it.
    void open();
    // Closes on the outermost call; a close without an open does nothing.
    void close();
    int openCount() const { return m_openCount; }

    // The number of formats on the clipboard.
    int formatCount();
    // The id of the format at a 0-based index in the platform's order; 0 past the end.
    FormatId formatAt(int index);
    // The 8-bit name of a format: the standard names, "PRIVATE", "GDIOBJ", the registered
    // name, or "Unknown".
    std::string ClipboardFormatName(FormatId format);
    // A format's memory block as text: UTF-16 without the 0 characters that end it, or the
    // bytes in the format's text convention, or without one every byte of the block as
    // Windows-1252. Empty when the format has no block (graphics objects).
    SharedText ReadFormatAsText(FormatId format, bool utf16);
    // True for a format its owner did not hand over in time.
    bool Unanswered(FormatId format) { return m_backend.unanswered(format); }
    // True when the copy says it is a secret (a password manager's marker): such content
    // must be neither read nor kept.
    bool HoldsSecret();
    // The clipboard text: CF_UNICODETEXT (0 characters inside kept), or CF_TEXT up to its
    // first 0 byte when that is absent or empty.
    std::u16string ReadUnicodeText();
    // Replaces the content by the text, as CF_TEXT (Windows-1252, '?' for the rest) and
    // CF_UNICODETEXT.
    void WriteUnicodeText(std::u16string_view text);
    // The clipboard bitmap with 32 bits per pixel; throws ClipboardError when the
    // clipboard holds none. Bitmaps are immutable, so a 32-bit one is shared, not copied.
    std::shared_ptr<const Bitmap> ReadClipboardBitmap();
    // Replaces the content by the bitmap (and its palette, when it has one).
    void WriteClipboardBitmap(std::shared_ptr<const Bitmap> bitmap);

    // True while the platform announces a change that this object wrote, that is, for
    // notifications that arrive nested inside one of our own writes.
    bool announcingOwnWrite() const { return m_announcingOwnWrite; }

    // Marks the writes made while it is set as write-backs of the pipeline.
    void setWritingBack(bool writingBack) { m_writingBack = writingBack; }
    // True while the clipboard still holds the pipeline's last write-back: a notification
    // then speaks of our own content, however late it comes. Other writes (a history text
    // put back) are captured like any copy.
    bool holdsOwnWriteBack() { return m_lastWriteWasWriteBack && m_backend.holdsOwnWrite(); }
    // True while the clipboard holds this object's last write, whatever it was.
    bool holdsOwnWrite() { return m_backend.holdsOwnWrite(); }

private:
    // Puts one format; the first put after the outermost open empties the clipboard.
    void put(FormatId format, ClipboardData data);

    ClipboardBackend& m_backend;
    int m_openCount = 0;
    bool m_emptied = false;
    bool m_announcingOwnWrite = false;
    bool m_writingBack = false;
    bool m_lastWriteWasWriteBack = false;
};

// Opens the clipboard object for the lifetime of a scope, and closes it also on failure.
class ClipboardOpen {
public:
    explicit ClipboardOpen(TClipBoardEx& clipboard) : m_clipboard(clipboard) { m_clipboard.open(); }
    ~ClipboardOpen() { m_clipboard.close(); }
    ClipboardOpen(const ClipboardOpen&) = delete;
    ClipboardOpen& operator=(const ClipboardOpen&) = delete;

private:
    TClipBoardEx& m_clipboard;
};

}  // namespace tessaro

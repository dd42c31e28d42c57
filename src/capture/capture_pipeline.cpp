// SPDX-License-Identifier: GPL-3.0-or-later
#include "capture/capture_pipeline.h"

#include <exception>
#include <utility>

#include "history/history_rows.h"
#include "platform/clipboard_error.h"
#include "platform/decimal_text.h"
#include "platform/windows_1252.h"

namespace tessaro {
namespace {

constexpr FormatId kUtf16RegisteredFormat = 49159;

}  // namespace

void CapturePipeline::ProcessClipboard() {
    if (!m_c.m_einst_aktiv.checked()) return;
    if (m_state.SuppressCount > 0) {
        --m_state.SuppressCount;
        return;
    }
    struct Nesting {
        RunView& run;
        RunView outer;
        ~Nesting() { run = std::move(outer); }
    } nesting{m_run, std::exchange(m_run, RunView{m_state.ChangeNotifications, {}, false, false, std::nullopt})};
    std::shared_ptr<const Bitmap> working;
    {
        m_state.Reading = true;
        struct ReadingDone {
            bool& flag;
            ~ReadingDone() { flag = false; }
        } readingDone{m_state.Reading};
        if (m_clipboard.HoldsSecret()) {
            showSecret();
            return;
        }
        fillDetails();
        working = capture();
    }
    m_unicodeText.reset();
    // Without a Unicode text the text stages work on the 8-bit one, read once for all.
    if (m_run.text.str().empty() &&
        (m_c.cb_suchenersetzen.checked() || m_c.cb_textadd.checked() || m_c.cb_savetxt.checked())) {
        m_run.text = m_clipboard.ReadUnicodeText();
    }

    if (m_c.cb_suchenersetzen.checked()) {
        runTextStage([this](std::u16string text) { return m_stages.searchReplace(std::move(text)); });
    }
    if (m_c.cb_textadd.checked()) {
        runTextStage([this](std::u16string text) { return m_stages.addText(std::move(text)); });
    }
    if (m_c.cb_savetxt.checked() && !m_run.text.str().empty()) m_stages.saveText(m_run.text);
    if (m_run.pictureProblem) throw *m_run.pictureProblem;
    if (!working) return;
    if (m_c.cb_cutimg.checked()) {
        runImageStage(working, [this](auto bitmap) { return m_stages.cutImage(std::move(bitmap)); });
    }
    if (m_c.cb_saveimg.checked() && m_c.save_img_vorher.checked()) runSaveImageStage(*working);
    if (m_c.cb_resizeimg.checked()) {
        runImageStage(working,
                      [this](auto bitmap) { return m_stages.resizeImage(std::move(bitmap)); });
    }
    if (m_c.cb_saveimg.checked() && m_c.save_img_nachher.checked()) runSaveImageStage(*working);
}

void CapturePipeline::fillDetails() {
    m_c.liste.clear();
    m_c.display_txt.clear();
    const int count = m_clipboard.formatCount();
    for (int i = 0; i < count; ++i) {
        try {
            const FormatId id = m_clipboard.formatAt(i);
            const std::string name = m_clipboard.ClipboardFormatName(id);
            if (name == "Unknown") continue;
            const bool utf16 = id == CF_UNICODETEXT || id == kUtf16RegisteredFormat;
            SharedText value = m_clipboard.ReadFormatAsText(id, utf16);
            if (id == CF_UNICODETEXT) m_unicodeText = value;
            if (value.str().empty() && !m_clipboard.Unanswered(id)) continue;
            m_c.liste.append({ansiToUtf16(name), {DecimalText(id), std::move(value)}});
        } catch (const std::exception&) {
            // A format that cannot be named or read is left out; the others still count.
        }
    }
}

void CapturePipeline::showSecret() {
    m_c.liste.clear();
    m_c.display_txt.clear();
    const std::u16string hidden = german() ? u"(verborgen)" : u"(hidden)";
    const int count = m_clipboard.formatCount();
    for (int i = 0; i < count; ++i) {
        const FormatId id = m_clipboard.formatAt(i);
        const std::string name = m_clipboard.ClipboardFormatName(id);
        if (name != "Unknown") m_c.liste.append({ansiToUtf16(name), {DecimalText(id), hidden}});
    }
    showTabs(u"Text");
    m_c.TabSet1.setTabIndex(1);
    m_c.pc.setActivePage(m_c.tab_details);
}

std::shared_ptr<const Bitmap> CapturePipeline::capture() {
    std::shared_ptr<const Bitmap> working;
    const int count = m_clipboard.formatCount();
    for (int i = 0; i < count; ++i) {
        const FormatId id = m_clipboard.formatAt(i);
        if (id == CF_UNICODETEXT) captureText();
        if (id != CF_BITMAP) continue;
        try {
            working = captureBitmap();
        } catch (const ClipboardError& error) {
            // A picture that cannot be read does not keep the text from its run; the
            // failure is reported when the run is over.
            m_run.pictureProblem = error;
        }
    }
    return working;
}

void CapturePipeline::captureText() {
    // One shared copy serves the details list, the display, the history row and the
    // store. The store gets the clipboard text; with a non-empty Unicode text that is the
    // very text just read.
    const SharedText shared = m_unicodeText ? std::move(*m_unicodeText)
                                            : SharedText(m_clipboard.ReadFormatAsText(CF_UNICODETEXT, true));
    m_unicodeText.reset();
    if (shared.str().empty()) return;
    m_run.text = shared;
    m_c.pc.setActivePage(m_c.tab_txt);
    m_c.display_txt.setText(shared);
    showTabs(u"Text");
    if (m_c.cb_history_txt.checked()) {
        appendTextRow(m_c.zuletzt, m_history, m_desktop.longTimeText(m_desktop.now()), shared, shared);
    }
}

std::shared_ptr<const Bitmap> CapturePipeline::captureBitmap() {
    std::shared_ptr<const Bitmap> bitmap = m_clipboard.ReadClipboardBitmap();
    m_run.listsBitmap = true;
    m_c.pc.setActivePage(m_c.tab_img);
    showTabs(german() ? u"Bild" : u"Image");
    if (m_c.cb_history_img.checked()) {
        appendImageRow(m_c.zuletzt, m_history, m_desktop.longTimeText(m_desktop.now()), german(),
                       bitmap->width, bitmap->height);
    }
    // The view shares the captured picture: image stages make new bitmaps, never change it.
    m_c.display_img.setBitmap(bitmap);
    m_c.ScrollBox2.setRanges(bitmap->width, bitmap->height);
    return bitmap;
}

void CapturePipeline::showTabs(std::u16string first) {
    m_c.TabSet1.setTabs({std::move(first), u"Details"});
    m_c.TabSet1.setTabIndex(0);
}

void CapturePipeline::TabSet1Change(int newIndex) {
    if (newIndex == 1) {
        m_c.pc.setActivePage(m_c.tab_details);
    } else if (!m_c.TabSet1.tabs().empty() && m_c.TabSet1.tabs()[0] == u"Text") {
        m_c.pc.setActivePage(m_c.tab_txt);
    } else {
        m_c.pc.setActivePage(m_c.tab_img);
    }
}

void CapturePipeline::runTextStage(const std::function<std::u16string(std::u16string)>& change) {
    const SharedText before = m_run.text;
    if (before.str().empty()) return;
    std::u16string text = change(before.str());
    // An unchanged text is not written back: the clipboard keeps everything the copy
    // offered (formatted text, pictures), which a write of plain text would throw away.
    if (text == before.str()) return;
    if (writeBack([&] { m_clipboard.WriteUnicodeText(text); })) m_run.listsBitmap = false;
    m_run.text = std::move(text);
}

void CapturePipeline::runImageStage(
    std::shared_ptr<const Bitmap>& working,
    const std::function<std::shared_ptr<const Bitmap>(std::shared_ptr<const Bitmap>)>& change) {
    try {
        if (!clipboardListsBitmap()) return;
        auto result = change(working);
        if (!result || SameColours(*result, *working)) return;  // nothing to write back
        working = std::move(result);
        if (writeBack([&] { m_clipboard.WriteClipboardBitmap(working); })) m_run.listsBitmap = true;
    } catch (const StageWiringError&) {
        throw;  // a programming error is reported, never taken for a failed picture
    } catch (const std::exception&) {
        // Image stages end silently on failure and write nothing back.
    }
}

void CapturePipeline::runSaveImageStage(const Bitmap& working) {
    try {
        m_stages.applyOutputOptions();
        if (clipboardListsBitmap()) m_stages.saveImage(working);
    } catch (const StageWiringError&) {
        throw;
    } catch (const std::exception&) {
        // A failed image save is dropped without a message.
    }
}

bool CapturePipeline::clipboardListsBitmap() {
    if (superseded()) return m_run.listsBitmap;
    const int count = m_clipboard.formatCount();
    for (int i = 0; i < count; ++i) {
        if (m_clipboard.formatAt(i) == CF_BITMAP) return true;
    }
    return false;
}

bool CapturePipeline::writeBack(const std::function<void()>& write) {
    if (superseded()) return false;
    const std::int32_t raised = ++m_state.SuppressCount;
    struct WritingBack {
        TClipBoardEx& clipboard;
        std::int32_t& count;
        std::int32_t raised;
        ~WritingBack() {
            clipboard.setWritingBack(false);
            if (count == raised) --count;
        }
    } scope{m_clipboard, m_state.SuppressCount, raised};
    m_clipboard.setWritingBack(true);
    write();
    // A write takes only while no newer copy owns the clipboard (X11 refuses the selection
    // to an older request): then the user copied meanwhile, that copy gets its own run, and
    // this one writes nothing more over it.
    if (!m_clipboard.holdsOwnWrite()) {
        m_run.writeLost = true;
        return false;
    }
    return true;
}

}  // namespace tessaro

namespace tessaro {

void CapturePipeline::display_imgMouseDown(Point screen) { m_captureDrag = screen; }

void CapturePipeline::display_imgMouseMove(bool leftHeld, Point screen) {
    if (!leftHeld || m_captureDrag.x < 0) return;
    m_c.ScrollBox2.scrollBy(m_captureDrag.x - screen.x, m_captureDrag.y - screen.y);
    m_captureDrag = screen;
}

void CapturePipeline::display_imgMouseUp() { m_captureDrag = {-1, -1}; }

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// One run per clipboard change: list every format, take the text or the bitmap, show it,
// add history rows, then run the switched-on actions in their fixed order and write
// changed content back, counting each own write so that its notification is skipped.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "capture/action_stages.h"
#include "capture/capture_controls.h"
#include "capture/capture_state.h"
#include "capture/clipboard_ex.h"
#include "forms/language_code.h"
#include "history/history_store.h"
#include "platform/clipboard_error.h"
#include "platform/desktop.h"

namespace tessaro {

class CapturePipeline {
public:
    CapturePipeline(CaptureControls controls, TClipBoardEx& clipboard, Desktop& desktop,
                    CaptureState& state, HistoryStore& history, ActionStages& stages)
        : m_c(controls),
          m_clipboard(clipboard),
          m_desktop(desktop),
          m_state(state),
          m_history(history),
          m_stages(stages) {}

    // Runs the pipeline once. Failures of the capture itself (an unreadable bitmap, a
    // clipboard that cannot be opened) pass on to the caller's error report.
    void ProcessClipboard();

    // The tab-change rule of the content display.
    void TabSet1Change(int newIndex);

    // Drag-scrolling of the image view, in screen coordinates.
    void display_imgMouseDown(Point screen);
    void display_imgMouseMove(bool leftHeld, Point screen);
    void display_imgMouseUp();
    Point CaptureDrag() const { return m_captureDrag; }

private:
    void fillDetails();
    // A copy marked secret by a password manager: only its format names are listed, no
    // value is read, shown, kept or saved, and no stage runs.
    void showSecret();
    std::shared_ptr<const Bitmap> capture();
    void captureText();
    std::shared_ptr<const Bitmap> captureBitmap();
    void showTabs(std::u16string first);
    void runTextStage(const std::function<std::u16string(std::u16string)>& change);
    void runImageStage(std::shared_ptr<const Bitmap>& working,
                       const std::function<std::shared_ptr<const Bitmap>(
                           std::shared_ptr<const Bitmap>)>& change);
    void runSaveImageStage(const Bitmap& working);
    bool clipboardListsBitmap();
    // True once the user copied after this run started (the copy ran nested, inside a
    // dialog of this run): the clipboard is no longer the run's, so the run writes nothing
    // over the newer copy.
    bool superseded() const {
        return m_run.writeLost || m_state.ChangeNotifications != m_run.changesAtStart;
    }
    // Raises SuppressCount for one own write. The count is only held while the write is
    // under way: its nested notification consumes it, and a write that fails or that
    // comes back without a notification gives it back, so a user's copy is never skipped.
    // Writes nothing once the run is superseded; says whether the write took.
    bool writeBack(const std::function<void()>& write);
    bool german() const { return IsGerman(m_c.spr); }

    CaptureControls m_c;
    TClipBoardEx& m_clipboard;
    Desktop& m_desktop;
    CaptureState& m_state;
    HistoryStore& m_history;
    ActionStages& m_stages;
    Point m_captureDrag{0, 0};
    // The Unicode text as the details list read it in this run; the capture takes it from
    // here instead of copying the same block out of the clipboard again.
    std::optional<SharedText> m_unicodeText;
    // The current run's own view of its content: the stages work on the text and picture
    // taken once at the start and on what they made of it, never on a second reading of a
    // clipboard that may have changed. A nested run keeps its own and gives the outer one
    // back when it ends.
    struct RunView {
        std::uint64_t changesAtStart = 0;
        SharedText text;
        bool listsBitmap = false;
        // A write-back of this run did not take: the clipboard belongs to a newer copy.
        bool writeLost = false;
        // Why the listed picture could not be taken, told once the text has had its run.
        std::optional<ClipboardError> pictureProblem;
    };
    RunView m_run;
};

}  // namespace tessaro

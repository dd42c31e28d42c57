// SPDX-License-Identifier: GPL-3.0-or-later
// The one line at the bottom of the main window. It tells, most urgent first: a clipboard
// transfer that takes long, a deleted history that can still be brought back, that capture
// is switched off, the last failed capture; and otherwise the program's hint. A click does
// what the line offers.
#pragma once

#include <functional>
#include <string>

#include "forms/text_controls.h"

namespace tessaro {

class BottomStrip {
public:
    enum class Offer { Nothing, UndoDelete, SwitchCaptureOn, Introduction };

    // `hint` gives the resting text in the language asked for.
    BottomStrip(Label& label, const Label& spr, std::function<std::u16string(bool german)> hint);

    // Each situation is told in the language of the moment it is shown; an empty text or
    // false ends it.
    void setTransfer(std::u16string note);
    void setFailure(std::u16string message);
    void setUndoOffered(bool offered);
    void setCaptureOff(bool off);
    // The language changed: the resting texts follow, a failure keeps its words.
    void refresh() { show(); }

    Offer offer() const;
    const std::u16string& failure() const { return m_failure; }

private:
    void show();

    Label& m_label;
    const Label& m_spr;
    std::function<std::u16string(bool)> m_hint;
    std::u16string m_transfer;
    std::u16string m_failure;
    bool m_undo = false;
    bool m_captureOff = false;
};

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// The start window: a splash picture in the interface language, the holder of the
// language code, and the timer that reveals the main window. Closing it ends the program.
#pragma once

#include <functional>

#include "forms/form.h"
#include "forms/picture.h"
#include "forms/text_controls.h"
#include "forms/timer.h"
#include "platform/desktop.h"

namespace tessaro {

class Tstart final : public Form {
public:
    static constexpr int kSplashWidth = 380;
    static constexpr int kSplashHeight = 235;

    explicit Tstart(Desktop& desktop);

    Picture& Image1;  // German splash
    Picture& en1;     // English splash
    Label& spr;       // the language code, "de" or "en"
    Timer& Timer1;

    // Settles the language from the marker files "en" and "de" in the working directory
    // (German wins) and applies it.
    void FormCreate();
    // Every 600 ms: the main window appears at the 4th tick, the splash goes at the 6th,
    // the timer stops at the 8th.
    void Timer1Timer();
    // A click on either splash picture reveals the main window at once.
    void Image1Click();
    // Shows the splash picture of the current language.
    void sprache();
    // Closing the start window ends the program.
    void close();

    int tickCounter() const { return m_ticks; }

    // Reveals the main window (showing an already visible one does nothing).
    std::function<void()> showMainWindow;

private:
    void hide();

    Desktop& m_desktop;
    int m_ticks = 0;
};

}  // namespace tessaro

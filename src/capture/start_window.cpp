// SPDX-License-Identifier: GPL-3.0-or-later
#include "capture/start_window.h"
#include "forms/language_code.h"

namespace tessaro {

Tstart::Tstart(Desktop& desktop)
    : Form("Tstart"),
      Image1(add<Picture>("Image1")),
      en1(add<Picture>("en1")),
      spr(add<Label>("spr")),
      Timer1(add<Timer>("Timer1", 600)),
      m_desktop(desktop) {
    setClientSize(kSplashWidth, kSplashHeight);
    Image1.setVisible(false);
    en1.setVisible(false);
    spr.setVisible(false);
    spr.setCaption(u"en");
    Image1.onClick = [this] { Image1Click(); };
    en1.onClick = [this] { Image1Click(); };
    Timer1.onTimer = [this] { Timer1Timer(); };
}

void Tstart::FormCreate() {
    const auto folder = m_desktop.workingDirectory();
    if (m_desktop.fileExists(folder / "en")) spr.setCaption(u"en");
    if (m_desktop.fileExists(folder / "de")) spr.setCaption(u"de");
    m_ticks = 0;
    sprache();
}

void Tstart::sprache() {
    if (IsGerman(spr)) {
        Image1.setVisible(true);
        en1.setVisible(false);
    }
    if (spr.caption() == u"en") {
        en1.setVisible(true);
        Image1.setVisible(false);
    }
    m_desktop.setApplicationTitle(u"Tessaro - Orvendal");
}

void Tstart::Timer1Timer() {
    ++m_ticks;
    if (m_ticks > 3 && showMainWindow) showMainWindow();
    if (m_ticks > 5) hide();
    if (m_ticks > 7) Timer1.setEnabled(false);
}

void Tstart::Image1Click() {
    if (showMainWindow) showMainWindow();
    hide();
    Timer1.setEnabled(false);
}

void Tstart::hide() {
    if (visible()) m_desktop.windowCommand(*this, WindowCommand::Hide);
}

void Tstart::close() { m_desktop.quit(); }

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/intro_window.h"

#include "help/introduction.h"

namespace tessaro {

Tintro::Tintro(const Label& spr, bool german)
    // The title is the same in both slots: the window keeps its language when the
    // interface switches, since the other window serves the other language.
    : LanguageWindow(german ? "Tintro_de" : "Tintro_en", spr,
                     german ? u"Einführung" : u"Introduction",
                     german ? u"Einführung" : u"Introduction"),
      txt_intro(add<Memo>("txt_intro")),
      bt_close(add<Button>("bt_close")) {
    setClientSize(kDesignWidth, kDesignHeight);
    txt_intro.setText(IntroductionHtml(german));
    bt_close.setCaption(german ? u"Schließen" : u"Close");
    Sprache();
}

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// The history settings window: its two groups, the mirrors of the main window's switches
// and the language of its captions.
#include "history/history_settings_window.h"

#include <array>

#include "language/interface_texts.h"

namespace tessaro {
namespace {

// The captions of the window in German and English, by component name.
constexpr std::array kHistorySettingsCaptions = {
    CaptionText{"gb1", u"Allgemein", u"General"},
    CaptionText{"cb_history_txt", u"Texte im Verlauf zeigen", u"Add Text to History"},
    CaptionText{"cb_history_img", u"Bilder im Verlauf zeigen", u"Add Images to History"},
    CaptionText{"gb2", u"Verlauf Speichern (STRG+S)", u"Save History (CTRL+S)"},
    CaptionText{"cb_save_txt", u"Texte speichern", u"Save Texts"},
    CaptionText{"cb_save_img", u"Namen der Bilder speichern", u"Save Names of Images"},
    CaptionText{"cb_save_time", u"Zeit speichern", u"Save Timestamp"},
};

}  // namespace

Teinstverlauf::Teinstverlauf(const Label& spr)
    : LanguageWindow("Teinstverlauf", spr, u"Einstellungen für den Verlauf", u"History Settings"),
      gb2(add<Panel>("gb2")),
      cb_save_txt(add<CheckBox>("cb_save_txt", true)),
      cb_save_img(add<CheckBox>("cb_save_img", false)),
      cb_save_time(add<CheckBox>("cb_save_time", false)),
      gb1(add<Panel>("gb1")),
      cb_history_txt(add<CheckBox>("cb_history_txt", true)),
      cb_history_img(add<CheckBox>("cb_history_img", true)),
      Button1(add<Button>("Button1")) {
    setClientSize(kDesignWidth, kDesignHeight);
    Button1.setCaption(u"OK");
    cb_history_txt.onClick = [this] { cb_history_txtClick(); };
    cb_history_img.onClick = [this] { cb_history_imgClick(); };
    Sprache();
}

void Teinstverlauf::bindMainSwitches(CheckBox& textSwitch, CheckBox& imageSwitch) {
    m_textSwitch = &textSwitch;
    m_imageSwitch = &imageSwitch;
}

void Teinstverlauf::cb_history_txtClick() {
    if (m_textSwitch) m_textSwitch->setChecked(cb_history_txt.checked());
}

void Teinstverlauf::cb_history_imgClick() {
    if (m_imageSwitch) m_imageSwitch->setChecked(cb_history_img.checked());
}

void Teinstverlauf::Sprache() {
    LanguageWindow::Sprache();
    applyCaptions(*this, kHistorySettingsCaptions, german());
}

}  // namespace tessaro

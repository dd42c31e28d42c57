// The history settings window: its two groups, the mirrors of the main window's switches
// and the language of its captions.
#include "history/history_settings_window.h"

namespace tessaro {

Teinstverlauf::Teinstverlauf(const Label& spr)
    : LanguageWindow("Teinstverlauf", spr, u"Einstellungen für den Verlauf", u"History Settings"),
      gb1(add<Panel>("gb1")),
      cb_history_txt(add<CheckBox>("cb_history_txt", true)),
      cb_history_img(add<CheckBox>("cb_history_img", true)),
      gb2(add<Panel>("gb2")),
      cb_save_txt(add<CheckBox>("cb_save_txt", true)),
      cb_save_img(add<CheckBox>("cb_save_img", false)),
      cb_save_time(add<CheckBox>("cb_save_time", false)),
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
    const bool de = german();
    gb1.setCaption(de ? u"Allgemein" : u"General");
    cb_history_txt.setCaption(de ? u"Texte im Verlauf zeigen" : u"Add Text to History");
    cb_history_img.setCaption(de ? u"Bilder im Verlauf zeigen" : u"Add Images to History");
    gb2.setCaption(de ? u"Verlauf Speichern (STRG+S)" : u"Save History (CTRL+S)");
    cb_save_txt.setCaption(de ? u"Texte speichern" : u"Save Texts");
    cb_save_img.setCaption(de ? u"Namen der Bilder speichern" : u"Save Names of Images");
    cb_save_time.setCaption(de ? u"Zeit speichern" : u"Save Timestamp");
}

}  // namespace tessaro

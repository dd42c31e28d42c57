// SPDX-License-Identifier: GPL-3.0-or-later
#include "language/interface_texts.h"

#include <array>

#include "forms/buttons.h"
#include "forms/containers.h"
#include "forms/menu_item.h"
#include "forms/text_controls.h"

namespace tessaro {
namespace {

constexpr std::array kMainWindow = {
    CaptionText{"Programm1", u"Programm", u"Program"},
    CaptionText{"m_close", u"Beenden", u"Close"},
    CaptionText{"m_bugreport", u"Fehler oder Verbesserung melden..", u"Report Bug or Improvement.."},
    CaptionText{"einst_spr", u"Sprache", u"Language"},
    CaptionText{"einst_spr_de", u"Deutsch", u"Deutsch"},
    CaptionText{"einst_spr_en", u"English", u"English"},
    CaptionText{"einst", u"Einstellungen", u"Settings"},
    CaptionText{"m_einst_aktiv", u"Clipboard-Erfassung aktiv", u"Clipboard-Exploring active"},
    CaptionText{"MinimizetoTaskbar", u"Minimieren zum Systray", u"Minimize to Systray"},
    CaptionText{"einst_autostart", u"Beim Anmelden starten", u"Start at Login"},
    CaptionText{"einst_akt", u"Optionen für Aktionen und Speicherung..",
                u"Options regarding Actions and Saving.."},
    CaptionText{"m_konfig", u"Konfiguration", u"Configuration"},
    CaptionText{"m_konfig_save", u"Aktuelle Konfiguration speichern", u"Save current Configuration"},
    CaptionText{"m_konfig_save_start", u"Aktuelle Konfiguration als Startkonfiguration speichern (auto.tpf)",
                u"Save current Configuration as Start Configuration (auto.tpf)"},
    CaptionText{"m_konfig_load", u"Konfiguration laden", u"Load Configuration"},
    CaptionText{"m_konfig_autosave", u"Konfiguration beim Beenden speichern", u"Auto Save Settings on Exit"},
    CaptionText{"m_konfig_autosave_alles", u"Alles speichern", u"Save all"},
    CaptionText{"m_konfig_autosave_nie", u"Nicht speichern", u"Never"},
    CaptionText{"m_konfig_standard", u"Alle Einstellungen zurücksetzen", u"Reset all Settings"},
    CaptionText{"m_konfig_start", u"Startkonfiguration (auto.tpf) laden wenn vorhanden",
                u"Load Start Configuration (auto.tpf) if possible"},
    CaptionText{"Panel7", u"  Verlauf", u"  History"},
    CaptionText{"ed_history_filter", u"Verlauf durchsuchen (Strg+F)", u"Search history (Ctrl+F)"},
    CaptionText{"Panel11", u"  Inhalt der Zwischenablage", u"  Clipboard Content"},
    CaptionText{"Panel9", u"  Aktionen", u"  Actions"},
    CaptionText{"cb_history_txt", u"Texte im Verlauf zeigen", u"Add Text to History"},
    CaptionText{"cb_history_img", u"Bilder im Verlauf zeigen", u"Add Images to History"},
    CaptionText{"cb_suchenersetzen", u"Text in der Zwischenablage: Suchen und Ersetzen",
                u"Clipboard Text: Search and Replace"},
    CaptionText{"cb_textadd", u"Text in der Zwischenablage: Text anhängen",
                u"Clipboard Text: Add Text"},
    CaptionText{"act_ers_la1", u"Suchen nach:", u"Search for:"},
    CaptionText{"act_ers_la2", u"Ersetzen durch:", u"Replace by:"},
    CaptionText{"act_ers_text_suchen_regex", u"Als RegEx", u"Use RegEx"},
    CaptionText{"act_ers_text_ersetzen_regex", u"Als RegEx", u"Use RegEx"},
    CaptionText{"act_ers_casesensitive", u"Groß- und Kleinschreibung beachten", u"Case-Sensitive"},
    CaptionText{"cb_se_mehrfach", u"Optionen für mehrfache Ersetzungen anzeigen",
                u"Show Options for multiple Replacements"},
    CaptionText{"act_ers_text_add", u"Felder hinzufügen", u"Add to Table"},
    CaptionText{"act_ers_text_delete", u"Felder leeren", u"Clear Boxes"},
    CaptionText{"act_ers_text_delmark", u"Markierte löschen", u"Delete Selected"},
    CaptionText{"Label2", u"Vorne:", u"In Front:"},
    CaptionText{"Label3", u"Hinten:", u"Behind:"},
    CaptionText{"cb_savetxt", u"Text in der Zwischenablage: Automatisch speichern",
                u"Clipboard Text: Save automatically"},
    CaptionText{"einst_regex", u"Optionen für reguläre Ausdrücke..",
                u"Options regarding Regular Expressions.."},
    CaptionText{"Label9", u"Ordner:", u"Directory:"},
    CaptionText{"Label7", u"Dateiname:", u"File Name:"},
    CaptionText{"Label8", u"Dateiformat:", u"File Format:"},
    CaptionText{"savetxt_ordnerwahl", u"Ordner wählen..", u"Select Directory.."},
    CaptionText{"Label4", u"Ordner:", u"Directory:"},
    CaptionText{"Label5", u"Dateiname:", u"File Name:"},
    CaptionText{"Label6", u"Dateiformat:", u"File Format:"},
    CaptionText{"saveimg_ordnerwahl", u"Ordner wählen..", u"Select Directory.."},
    CaptionText{"rb_cutimg_auswahl", u"Ausschnitt bei jedem Screenshot mit einem Auswahlrahmen festlegen",
                u"Select Cutout at each Screenshot with Marquee"},
    CaptionText{"rb_cutimg_direkt", u"So viele Pixel an den Seiten abschneiden:",
                u"Cut off the following Pixels at the sides:"},
    CaptionText{"Label15", u"Links", u"Left"},
    CaptionText{"Label16", u"Rechts", u"Right"},
    CaptionText{"Label17", u"Oben", u"Above"},
    CaptionText{"Label18", u"Unten", u"Below"},
    CaptionText{"Label1", u"Maximalgröße:", u"Maximum Size:"},
    CaptionText{"Label11", u"Optionen:", u"Options:"},
    CaptionText{"Label10", u"Breite:", u"Width:"},
    CaptionText{"Label12", u"Höhe:", u"Height:"},
    CaptionText{"Label13", u"Pixel", u"Pixel"},
    CaptionText{"Label14", u"Pixel", u"Pixel"},
    CaptionText{"act_resizeimg_prop", u"Proportionen beibehalten", u"Keep Proportions"},
    CaptionText{"Label19", u"Tipp: Mit STRG+S speichern Sie alle Textelemente Ihres Verlaufs in eine Datei.",
                u"Tip: Press CTRL+S to save all text elements of your current history into a single file."},
    CaptionText{"cb_cutimg", u"Bilder in der Zwischenablage: Zuschneiden",
                u"Clipboard Images: Cut to Size"},
    CaptionText{"cb_resizeimg", u"Bilder in der Zwischenablage: Vergrößern oder Verkleinern",
                u"Clipboard Images: Resize"},
    CaptionText{"cb_saveimg", u"Bilder in der Zwischenablage: Automatisch speichern",
                u"Clipboard Images: Save automatically"},
    CaptionText{"save_img_vorher", u"Bild vor dem Vergrößern oder Verkleinern speichern",
                u"Save Image before Resizing"},
    CaptionText{"save_img_nachher", u"Bild nach dem Vergrößern oder Verkleinern speichern",
                u"Save Image after Resizing"},
    CaptionText{"saveverlauf", u"Gesamten Text-Verlauf als Datei speichern..",
                u"Save Text-History as single File.."},
    CaptionText{"delverlauf", u"Gesamten Verlauf löschen", u"Delete History"},
    CaptionText{"einst_verl", u"Optionen für den Verlauf..", u"Options regarding History.."},
    CaptionText{"pop1", u"In die Zwischenablage (Doppelklick)",
                u"Copy to Clipboard again (Double Click)"},
    CaptionText{"pop2", u"Aus Liste löschen (Entf-Taste)", u"Delete from List (DEL-Key)"},
    CaptionText{"cb_history_dblclick", u"Doppelklick zum erneuten hinzufügen",
                u"Double Click to copy to Clipboard again"},
};

}  // namespace

void applyCaptions(Form& form, std::span<const CaptionText> captions, bool german) {
    for (const CaptionText& entry : captions) {
        Control* control = form.find(entry.control);
        const std::u16string text(german ? entry.german : entry.english);
        if (auto* box = dynamic_cast<CheckBox*>(control)) box->setCaption(text);
        if (auto* radio = dynamic_cast<RadioButton*>(control)) radio->setCaption(text);
        if (auto* button = dynamic_cast<Button*>(control)) button->setCaption(text);
        if (auto* label = dynamic_cast<Label*>(control)) label->setCaption(text);
        if (auto* panel = dynamic_cast<Panel*>(control)) panel->setCaption(text);
        if (auto* item = dynamic_cast<MenuItem*>(control)) item->setCaption(text);
        if (auto* edit = dynamic_cast<Edit*>(control)) edit->setPlaceholder(text);
    }
}

std::span<const CaptionText> mainWindowCaptions() { return kMainWindow; }

}  // namespace tessaro

# SPDX-License-Identifier: GPL-3.0-or-later
"""End to end: the interface in German and in English. Every caption of every window (shown
or not), the menus with their order, shortcuts, check marks and the help menu of each
language, and the entries of the lists that the language rewrites are compared with one
table of the texts as the interface is meant to read. The language is switched through the
real menu with the mouse, to German, back to English and to German again; a typed file-name
template gives way to the default when the language changes; and a file "de" in the working
directory starts the program in German.

The table is kept by hand, apart from the program: a wrong text in the program must show up
here as a difference, not be copied into the test."""

import os
import subprocess
import tempfile
import time

from harness import Clipboard, Display, ProgramTest, Tessaro, run_tests, wait_until

# --- the expected texts ------------------------------------------------------------------
# Each entry is (German, English); the same text twice where both languages read alike.



def BOTH(text):
    return (text, text)


TPROG_CONTROLS = {
    # Menus: Program
    "Programm1": ("Programm", "Program"),
    "saveverlauf": ("Gesamten Text-Verlauf als Datei speichern..", "Save Text-History as single File.."),
    "delverlauf": ("Gesamten Verlauf löschen", "Delete History"),
    "m_bugreport": ("Fehler oder Verbesserung melden..", "Report Bug or Improvement.."),
    "m_close": ("Beenden", "Close"),
    # Menus: Settings
    "einst": ("Einstellungen", "Settings"),
    "m_einst_aktiv": ("Clipboard-Erfassung aktiv", "Clipboard-Exploring active"),
    "MinimizetoTaskbar": ("Minimieren zum Systray", "Minimize to Systray"),
    "einst_autostart": ("Beim Anmelden starten", "Start at Login"),
    "einst_akt": ("Optionen für Aktionen und Speicherung..", "Options regarding Actions and Saving.."),
    "einst_regex": ("Optionen für reguläre Ausdrücke..", "Options regarding Regular Expressions.."),
    "einst_verl": ("Optionen für den Verlauf..", "Options regarding History.."),
    "einst_spr": ("Sprache", "Language"),
    "einst_spr_de": BOTH("Deutsch"),
    "einst_spr_en": BOTH("English"),
    # Menus: Configuration
    "m_konfig": ("Konfiguration", "Configuration"),
    "m_konfig_save": ("Aktuelle Konfiguration speichern", "Save current Configuration"),
    "m_konfig_save_start": ("Aktuelle Konfiguration als Startkonfiguration speichern (auto.tpf)",
                            "Save current Configuration as Start Configuration (auto.tpf)"),
    "m_konfig_load": ("Konfiguration laden", "Load Configuration"),
    "m_konfig_autosave": ("Konfiguration beim Beenden speichern", "Auto Save Settings on Exit"),
    "m_konfig_autosave_alles": ("Alles speichern", "Save all"),
    "m_konfig_autosave_nie": ("Nicht speichern", "Never"),
    "m_konfig_standard": ("Alle Einstellungen zurücksetzen", "Reset all Settings"),
    "m_konfig_start": ("Startkonfiguration (auto.tpf) laden wenn vorhanden",
                       "Load Start Configuration (auto.tpf) if possible"),
    # Menus: help (never translated, one of them shown) and the history's context menu
    "Hilfe1": BOTH("Hilfe und Info"),
    "Information1": BOTH("Help and Information"),
    "pop1": ("In die Zwischenablage (Doppelklick)", "Copy to Clipboard again (Double Click)"),
    "pop2": ("Aus Liste löschen (Entf-Taste)", "Delete from List (DEL-Key)"),
    # History and content areas
    "Panel7": ("  Verlauf", "  History"),
    "Panel11": ("  Inhalt der Zwischenablage", "  Clipboard Content"),
    "cb_history_txt": ("Texte im Verlauf zeigen", "Add Text to History"),
    "cb_history_img": ("Bilder im Verlauf zeigen", "Add Images to History"),
    "cb_history_dblclick": ("Doppelklick zum erneuten hinzufügen", "Double Click to copy to Clipboard again"),
    "ed_history_filter": ("Verlauf durchsuchen (Strg+F)", "Search history (Ctrl+F)"),  # the field's hint
    # Actions area
    "Panel9": ("  Aktionen", "  Actions"),
    "cb_suchenersetzen": ("Text in der Zwischenablage: Suchen und Ersetzen", "Clipboard Text: Search and Replace"),
    "act_ers_la1": ("Suchen nach:", "Search for:"),
    "act_ers_la2": ("Ersetzen durch:", "Replace by:"),
    "act_ers_text_suchen_regex": ("Als RegEx", "Use RegEx"),
    "act_ers_text_ersetzen_regex": ("Als RegEx", "Use RegEx"),
    "act_ers_casesensitive": ("Groß- und Kleinschreibung beachten", "Case-Sensitive"),
    "cb_se_mehrfach": ("Optionen für mehrfache Ersetzungen anzeigen", "Show Options for multiple Replacements"),
    "act_ers_text_add": ("Felder hinzufügen", "Add to Table"),
    "act_ers_text_delete": ("Felder leeren", "Clear Boxes"),
    "act_ers_text_delmark": ("Markierte löschen", "Delete Selected"),
    "cb_textadd": ("Text in der Zwischenablage: Text anhängen", "Clipboard Text: Add Text"),
    "Label2": ("Vorne:", "In Front:"),
    "Label3": ("Hinten:", "Behind:"),
    "cb_savetxt": ("Text in der Zwischenablage: Automatisch speichern", "Clipboard Text: Save automatically"),
    "Label9": ("Ordner:", "Directory:"),
    "Label7": ("Dateiname:", "File Name:"),
    "Label8": ("Dateiformat:", "File Format:"),
    "Label4": ("Ordner:", "Directory:"),
    "Label5": ("Dateiname:", "File Name:"),
    "Label6": ("Dateiformat:", "File Format:"),
    "savetxt_ordnerwahl": ("Ordner wählen..", "Select Directory.."),
    "saveimg_ordnerwahl": ("Ordner wählen..", "Select Directory.."),
    "Label19": ("Tipp: Mit STRG+S speichern Sie alle Textelemente Ihres Verlaufs in eine Datei.",
                "Tip: Press CTRL+S to save all text elements of your current history into a single file."),
    "cb_cutimg": ("Bilder in der Zwischenablage: Zuschneiden", "Clipboard Images: Cut to Size"),
    "rb_cutimg_auswahl": ("Ausschnitt bei jedem Screenshot mit einem Auswahlrahmen festlegen",
                          "Select Cutout at each Screenshot with Marquee"),
    "rb_cutimg_direkt": ("So viele Pixel an den Seiten abschneiden:", "Cut off the following Pixels at the sides:"),
    "Label15": ("Links", "Left"),
    "Label16": ("Rechts", "Right"),
    "Label17": ("Oben", "Above"),
    "Label18": ("Unten", "Below"),
    "cb_resizeimg": ("Bilder in der Zwischenablage: Vergrößern oder Verkleinern", "Clipboard Images: Resize"),
    "Label1": ("Maximalgröße:", "Maximum Size:"),
    "Label11": ("Optionen:", "Options:"),
    "Label10": ("Breite:", "Width:"),
    "Label12": ("Höhe:", "Height:"),
    "Label13": BOTH("Pixel"),
    "Label14": BOTH("Pixel"),
    "act_resizeimg_prop": ("Proportionen beibehalten", "Keep Proportions"),
    "cb_saveimg": ("Bilder in der Zwischenablage: Automatisch speichern", "Clipboard Images: Save automatically"),
    "save_img_vorher": ("Bild vor dem Vergrößern oder Verkleinern speichern", "Save Image before Resizing"),
    "save_img_nachher": ("Bild nach dem Vergrößern oder Verkleinern speichern", "Save Image after Resizing"),
}

CUSTOM_NUMBER = ("Benutzer..", "Custom..")
CUSTOM_NAME = ("Benutzerdefiniert..", "Custom..")
MARGINS = ["0", "10", "25", "50", "75", "100", "250", "500", "1000"]
SIZES = ["100", "240", "320", "480", "600", "640", "720", "768", "800", "864", "1024", "1152", "1280", "1366",
         "1440", "1600", "1792", "1920", "2048"]
# The image formats as the German list reads; in English every "Bild" reads "Image". The
# German texts are made by turning every "Image" into "Bild", at start as at every switch, and
# so the TIFF entries read "Tagged Bild File Format" in German (in English they read as designed).
IMAGE_FORMATS_DE = [
    "*.jpg - JPEG-Bild", "*.png - Portable Network Graphics", "*.gif - Graphics Interchange Format",
    "*.bmp - Windows Bitmap", "*.dib - Windows Bitmap", "*.ico - Windows Icon", "*.cur - Windows Cursor",
    "*.psd - Photoshop Bild", "*.pdd - Photoshop Bild", "*.tif - Tagged Bild File Format",
    "*.tiff - Tagged Bild File Format", "*.jpeg - JPEG-Bild", "*.jfif - JPEG-Bild", "*.jpe - JPEG-Bild",
    "*.jif - JPEG-Bild", "*.mng - Multiple Network Graphics", "*.jng - JPEG Network Graphics´",
    "*.pgm - Portable Gray Map", "*.ppm - Portable Pixel Map", "*.pam - Portable Arbitrary Map",
    "*.pfm - Portable Float Map", "*.jp2 - JPEG 2000", "*.j2k - JPEG 2000", "*.j2c - JPEG 2000",
    "*.jpx - JPEG 2000", "*.jpc - JPEG 2000", "*.dds - DirectDraw Surface", "*.tga - Truevision Targa Bild",
]
IMAGE_FORMATS_EN = [
    "*.jpg - JPEG-Image", "*.png - Portable Network Graphics", "*.gif - Graphics Interchange Format",
    "*.bmp - Windows Bitmap", "*.dib - Windows Bitmap", "*.ico - Windows Icon", "*.cur - Windows Cursor",
    "*.psd - Photoshop Image", "*.pdd - Photoshop Image", "*.tif - Tagged Image File Format",
    "*.tiff - Tagged Image File Format", "*.jpeg - JPEG-Image", "*.jfif - JPEG-Image", "*.jpe - JPEG-Image",
    "*.jif - JPEG-Image", "*.mng - Multiple Network Graphics", "*.jng - JPEG Network Graphics´",
    "*.pgm - Portable Gray Map", "*.ppm - Portable Pixel Map", "*.pam - Portable Arbitrary Map",
    "*.pfm - Portable Float Map", "*.jp2 - JPEG 2000", "*.j2k - JPEG 2000", "*.j2c - JPEG 2000",
    "*.jpx - JPEG 2000", "*.jpc - JPEG 2000", "*.dds - DirectDraw Surface", "*.tga - Truevision Targa Image",
]

TPROG_LISTS = {
    "act_zuschlinks": (MARGINS + [CUSTOM_NUMBER[0]], MARGINS + [CUSTOM_NUMBER[1]]),
    "act_zuschrechts": (MARGINS + [CUSTOM_NUMBER[0]], MARGINS + [CUSTOM_NUMBER[1]]),
    "act_zuschoben": (MARGINS + [CUSTOM_NUMBER[0]], MARGINS + [CUSTOM_NUMBER[1]]),
    "act_zuschunten": (MARGINS + [CUSTOM_NUMBER[0]], MARGINS + [CUSTOM_NUMBER[1]]),
    "act_sizebenutzer_x": (SIZES + [CUSTOM_NUMBER[0]], SIZES + [CUSTOM_NUMBER[1]]),
    "act_sizebenutzer_y": (SIZES + [CUSTOM_NUMBER[0]], SIZES + [CUSTOM_NUMBER[1]]),
    "savetxt_name": (["%firstchars% %num%", "%firstchars% %date% %time%", "Text aus der Zwischenablage %num%",
                      "Text aus der Zwischenablage %date% %time%", "%date% %time%", CUSTOM_NAME[0]],
                     ["%firstchars% %num%", "%firstchars% %date% %time%", "Clipboard Text %num%",
                      "Clipboard Text %date% %time%", "%date% %time%", CUSTOM_NAME[1]]),
    "saveimg_name": (["Bild aus der Zwischenablage %num%", "Bild aus der Zwischenablage %date% %time%",
                      "%date% %time%", CUSTOM_NAME[0]],
                     ["Clipboard Image %num%", "Clipboard Image %date% %time%", "%date% %time%", CUSTOM_NAME[1]]),
    "savetxt_format": ([".txt", ".log", ".php", ".htm", ".html", CUSTOM_NAME[0]],
                       [".txt", ".log", ".php", ".htm", ".html", CUSTOM_NAME[1]]),
    "saveimg_format": (IMAGE_FORMATS_DE, IMAGE_FORMATS_EN),
}

EXPECTED = {
    "Tprog": {
        "title": BOTH("Tessaro - Orvendal"),
        "controls": TPROG_CONTROLS,
        "columns": {
            "zuletzt": (["Zeit", "Art", "Inhalt"], ["Time", "Type", "Content"]),
            "liste": (["Format", "Nummer", "Wert"], ["Format", "Number", "Value"]),
            "act_ers_text_liste": (["Suchen nach:", "Ersetzen durch:", "RegEx"], ["Search for:", "Replace by:", "RegEx"]),
        },
        "lists": TPROG_LISTS,
    },
    "Tstart": {
        # The invisible label that holds the language code.
        "controls": {"spr": ("de", "en")},
    },
    "Teinstausgabe": {
        "title": ("Einstellungen", "Settings"),
        "controls": {
            "GroupBox1": ("Bildausgabe", "Image Output"),
            "Label1": ("Ausgabe-Qualität für Formate JPEG, JNG, MNG und JPG2000",
                       "Output Quality for Formats JPEG, JNG, MNG and JPG2000"),
            "progressivaktiv": ("Progressiv-Funktion für Formate JPEG, JNG und MNG verwenden",
                                "Use Progressiv-Function for Formats JPEF, JNG and MNG"),
            "psdlayers": ("Bild als Ebene einfügen im Photoshop Format PSD",
                          "Insert image as layer in format PSD (Photoshop)"),
            "GroupBox2": ("Kodierung von Textdateien", "Coding of Text Files"),
            "Label5": ("Die Textdateien werden in folgendem Format abgespeichert:",
                       "Text Files are saved in this File Format:"),
            "Label4": ("Informationen zu den Formaten erhalten Sie auf dieser Seite:",
                       "Information to the File Formats, you can get on:"),
            "rb_beibehalten": ("Falls kein Unicode als ANSI speichern, sonst UTF-8",
                               "If no Unicode, save as ANSI, in other cases UTF-8"),
            "rb_utf7ansi": ("Unicode UTF-7 als ANSI gespeichert", "Unicode UTF-7 saved as ANSI"),
            "rb_ansi": BOTH("ANSI Text"),
            "rb_utf7": BOTH("Unicode UTF-7"),
            "rb_utf8": BOTH("Unicode UTF-8"),
            "rb_utf16le": BOTH("Unicode UTF-16 Little Endian (Standard Windows Unicode)"),
            "rb_utf_be": BOTH("Unicode UTF-16 Big Endian"),
            "rb_utf32le": BOTH("Unicode UTF-32 Little Endian"),
            "rb_utf32be": BOTH("Unicode UTF-32 Big Endian"),
            "GroupBox3": ("Vergrößerung oder Verkleinerung der Bilder", "Image Resizing"),
            "act_sizehochquerformat": ("Unterscheidung zwischen Hoch- und Querformat",
                                       "Distinction between Landscape and Portrait"),
            "act_sizebigger": ("Ändern wenn Ursprungsbild größer als Maximalgröße",
                               "Process if Original is larger than Maximum Size"),
            "act_sizekleiner": ("Ändern wenn Ursprungsbild kleiner als Maximalgröße",
                                "Process if Original is smaller than Maximum Size"),
            "Label2": ("Skaliermethode:", "Resize Method:"),
            "OK": BOTH("OK"),
        },
        "lists": {
            "act_sizemethode": (["Bikubisch", "Bilinear", "Nächster Nachbar"], ["Bicubic", "Bilinear", "Nearest"]),
            "out_quality": BOTH(["100", "90", "85", "80", "75", "70", "60", "40", "20", "1"]),
        },
    },
    "Teinstregex": {
        # The English title is the program's own choice: checked apart (regex_title_problems).
        "controls": {
            "GroupBox1": ("Modifikatoren", "Modifiers"),
            "Label6": ("Folgende Modifikatoren werden angewendet:", "The following modifiers are used:"),
            "cb_caseinsensitive_i": ("Modifikator i: Case-Insensitive", "Modifier i: Case-Insensitive"),
            "cb_multiline_m": ("Modifikator m: Multi Line", "Modifier m: Multi Line"),
            "cb_singleline_s": ("Modifikator s: Single Line", "Modifier s: Single Line"),
            "cb_greedymode_g": ("Modifikator g: Greedy Mode", "Modifier g: Greedy Mode"),
            "cb_whitespacecomments_x": ("Modifiktaor x: Extended Syntax", "Modifier x: Extended Syntax"),
            "Label8": ("Beispiele um Modifikatoren direkt im regulären Ausdruck zu ändern:",
                       "Examples to use modifiers within regular expressions:"),
            "Label13": ("Informationen und Erklärungen zu den Modifikatoren auf:",
                        "Information and explanations regarding modifiers:"),
            "GroupBox2": ("Zeichenklassen", "Character Classes"),
            "Label5": ("Folgende Zeichen werden für die Zeichenklassen verwendet:",
                       "The following characters are used for character classes:"),
            "Label4": ("Informationen und Hilfe zur Benutzung von regulären Ausdrücken:",
                       "Information and help regarding the usage of regular expressions:"),
            "Button1": BOTH("OK"),
            "Button2": ("Übernehmen", "Assume"),
            "Button3": BOTH("Standard"),
        },
        # Texts the dialog shows in both languages, whatever their labels are named.
        "shown": ["Word \\w:", "Space \\s:", "LineSeparators:",
                  "(?i)[a-z]", "(?ms-g)^.+$", "[a-z]\\s(?-i)[a-z]", "((?i)[a-z])\\s[a-z]"],
    },
    "Teinstverlauf": {
        "title": ("Einstellungen für den Verlauf", "History Settings"),
        "controls": {
            "gb1": ("Allgemein", "General"),
            "cb_history_txt": ("Texte im Verlauf zeigen", "Add Text to History"),
            "cb_history_img": ("Bilder im Verlauf zeigen", "Add Images to History"),
            "gb2": ("Verlauf Speichern (STRG+S)", "Save History (CTRL+S)"),
            "cb_save_txt": ("Texte speichern", "Save Texts"),
            "cb_save_img": ("Namen der Bilder speichern", "Save Names of Images"),
            "cb_save_time": ("Zeit speichern", "Save Timestamp"),
            "Button1": BOTH("OK"),
        },
    },
    "Tcutauswahl": {
        "title": ("Wählen Sie einen Auschnitt des Bildes mit Ihrer Maus", "Choose the Cutout with your Mouse"),
        "controls": {
            "Abbrechen": ("Abbrechen", "Cancel"),
            "Label15": ("Links", "Left"),
            "Label16": ("Rechts", "Right"),
            "Label17": ("Oben", "Above"),
            "Label18": ("Unten", "Below"),
            "Button1": BOTH("OK"),
        },
        # The dialog's margin lists have no custom entry.
        "lists": {name: BOTH(MARGINS) for name in ("act_zuschlinks", "act_zuschrechts", "act_zuschoben",
                                                   "act_zuschunten")},
    },
}

REGEX_TITLE_DE = "Einstellungen für Reguläre Ausdrücke"

# Texts of the edit parts of lists that applying a language sets: (window, list): (de, en).
EDIT_TEXTS = {
    ("Tprog", "savetxt_name"): BOTH("%firstchars% %num%"),
    ("Tprog", "saveimg_name"): ("Bild aus der Zwischenablage %num%", "Clipboard Image %num%"),
    ("Tprog", "saveimg_format"): ("*.jpg - JPEG-Bild", "*.jpg - JPEG-Image"),
    ("Teinstausgabe", "act_sizemethode"): ("Bikubisch", "Bicubic"),
}

# Menus as trees: a name, "-" for a separator, or (name, shortcut); None: no shortcut.
SEP = "-"
MENU_PROGRAMM = [("saveverlauf", "Ctrl+S"), ("delverlauf", "Ctrl+Del"), SEP, ("m_bugreport", None), SEP,
                 ("m_close", None)]
MENU_EINST = [("m_einst_aktiv", "F3"), ("MinimizetoTaskbar", None), ("einst_autostart", None), SEP,
              ("einst_akt", None), ("einst_regex", None), ("einst_verl", None), SEP, ("einst_spr", None)]
MENU_SPRACHE = ["einst_spr_de", "einst_spr_en"]
MENU_KONFIG_FIXED = ["m_konfig_save", "m_konfig_save_start", "m_konfig_load", SEP, "m_konfig_autosave", SEP,
                     "m_konfig_standard", "m_konfig_start"]
MENU_AUTOSAVE = ["m_konfig_autosave_alles", "m_konfig_autosave_nie"]

WINDOWS = ("Tprog", "Tstart", "Teinstausgabe", "Teinstregex", "Teinstverlauf", "Tcutauswahl")
DE, EN = 0, 1
LANGUAGE = {DE: "German", EN: "English"}


# --- reading what the program shows --------------------------------------------------------

def menu_index(menus):
    """Every menu entry of a tree by its name."""
    found = {}

    def walk(entries):
        for entry in entries:
            found[entry.get("name")] = entry
            walk(entry.get("items", []))

    walk(menus)
    return found


def layout(entries):
    """The names of a menu's items in order, "-" for separators."""
    return [SEP if entry.get("separator") else entry.get("name") for entry in entries]


def caption_problems(captions, language):
    """Every difference between the captions the program shows and the table, as lines
    "window / control: expected ..., got ..."."""
    problems = []

    def differ(where, expected, got):
        if got != expected:
            problems.append(f"{where}: expected {expected!r}, got {got!r}")

    for window in WINDOWS:
        if window not in captions:
            problems.append(f"{window}: no captions at all")
            continue
        shown = captions[window]
        table = EXPECTED[window]
        if "title" in table:
            differ(f"{window} / title", table["title"][language], shown.get("title"))
        for name, texts in table.get("controls", {}).items():
            differ(f"{window} / {name}", texts[language], shown.get("controls", {}).get(name, "<missing>"))
        for name, heads in table.get("columns", {}).items():
            differ(f"{window} / {name} columns", heads[language], shown.get("columns", {}).get(name, "<missing>"))
        for name, entries in table.get("lists", {}).items():
            differ(f"{window} / {name} entries", entries[language], shown.get("lists", {}).get(name, "<missing>"))
        everything = "\n".join(str(text) for text in shown.get("controls", {}).values())
        for text in table.get("shown", []):
            if text not in everything:
                problems.append(f"{window}: the text {text!r} is not among its captions")
    problems += regex_title_problems(captions, language)
    return problems


def regex_title_problems(captions, language):
    title = captions.get("Teinstregex", {}).get("title")
    if language == DE:
        return [] if title == REGEX_TITLE_DE else [f"Teinstregex / title: expected {REGEX_TITLE_DE!r}, got {title!r}"]
    if not title or title == REGEX_TITLE_DE:
        return [f"Teinstregex / title: expected an English title of its own, got {title!r}"]
    return []


def edit_text_problems(settings, language):
    problems = []
    for (window, name), texts in EDIT_TEXTS.items():
        got = settings.get(window, {}).get(name, "<missing>")
        if got != texts[language]:
            problems.append(f"{window} / {name} text: expected {texts[language]!r}, got {got!r}")
    return problems


def menu_problems(captions, language):
    """The menus of the main window: order, separators, shortcuts, the help menu of the
    language and the check mark on the language."""
    problems = []

    def differ(where, expected, got):
        if got != expected:
            problems.append(f"{where}: expected {expected!r}, got {got!r}")

    tree = captions.get("Tprog", {}).get("menus", [])
    menus = menu_index(tree)
    tops = [entry.get("name") for entry in tree]
    bar = [name for name in tops if name in ("Programm1", "einst", "m_konfig", "Hilfe1", "Information1")]
    differ("Tprog menu bar: the first three menus", ["Programm1", "einst", "m_konfig"], bar[:3])
    differ("Tprog menu bar: the help menus after them", ["Hilfe1", "Information1"], sorted(bar[3:]))
    if "PopupMenu2" not in tops:
        problems.append("Tprog: the history's context menu PopupMenu2 is missing")
    else:
        differ("PopupMenu2 items", ["pop1", "pop2"], sorted(layout(menus["PopupMenu2"].get("items", []))))

    for top, expected in (("Programm1", MENU_PROGRAMM), ("einst", MENU_EINST)):
        items = menus.get(top, {}).get("items", [])
        differ(f"{top} items", [SEP if e == SEP else e[0] for e in expected], layout(items))
        for entry in expected:
            if entry == SEP:
                continue
            name, shortcut = entry
            differ(f"{top} / {name} shortcut", shortcut, menus.get(name, {}).get("shortcut"))
    differ("einst_spr items", MENU_SPRACHE, layout(menus.get("einst_spr", {}).get("items", [])))
    konfig = layout(menus.get("m_konfig", {}).get("items", []))
    differ("m_konfig fixed items", MENU_KONFIG_FIXED, konfig[:len(MENU_KONFIG_FIXED)])
    differ("m_konfig_autosave items", MENU_AUTOSAVE, layout(menus.get("m_konfig_autosave", {}).get("items", [])))

    # One help menu per language, with items of its own (their texts are the help's choice).
    differ("Hilfe1 visible", language == DE, menus.get("Hilfe1", {}).get("visible"))
    differ("Information1 visible", language == EN, menus.get("Information1", {}).get("visible"))
    for help_menu in ("Hilfe1", "Information1"):
        items = [e for e in menus.get(help_menu, {}).get("items", []) if not e.get("separator")]
        if not items:
            problems.append(f"{help_menu}: no items")
        for entry in items:
            if not entry.get("caption"):
                problems.append(f"{help_menu} / {entry.get('name')}: an item without a caption")

    differ("einst_spr_de checked", language == DE, menus.get("einst_spr_de", {}).get("checked"))
    differ("einst_spr_en checked", language == EN, menus.get("einst_spr_en", {}).get("checked"))
    return problems


def all_problems(state, language):
    captions = state.get("captions", {})
    return (caption_problems(captions, language) + menu_problems(captions, language)
            + edit_text_problems(state.get("settings", {}), language))


def uncovered(captions):
    """Captions the table says nothing about (the help windows, the status strip, ...)."""
    lines = []
    for window, shown in sorted(captions.items()):
        table = EXPECTED.get(window, {})
        for name, text in sorted(shown.get("controls", {}).items()):
            if name not in table.get("controls", {}) and text:
                lines.append(f"{window} / {name}: {text!r}")
    return lines


# --- the program -----------------------------------------------------------------------------

class MarkedTessaro(Tessaro):
    """The program started in a working directory that holds the given marker files."""

    def __init__(self, executable, display, artifacts, markers):
        self.display = display
        self.artifacts = artifacts
        self.workdir = tempfile.mkdtemp(prefix="tessaro-e2e-lang-")
        for marker in markers:
            open(os.path.join(self.workdir, marker), "w").close()
        self.state_path = os.path.join(self.workdir, "state.json")
        self.log = open(os.path.join(self.workdir, "tessaro.log"), "w")
        self.process = subprocess.Popen([executable, "--state-file", self.state_path], cwd=self.workdir,
                                        env=display.env, stdout=self.log, stderr=subprocess.STDOUT)
        wait_until(lambda: self.state().get("windowVisible") and self.state().get("captions"), timeout=15,
                   what="the main window and its captions")


class LanguageTest(ProgramTest):
    markers = ()

    @classmethod
    def setUpClass(cls):
        cls.display = Display()
        cls.clipboard = Clipboard(cls.display)
        try:
            cls.app = MarkedTessaro(cls.options.tessaro, cls.display, cls.options.artifacts, cls.markers)
        except BaseException:
            cls.display.stop()
            raise

    def point(self, name):
        x, y, w, h = self.control(name)
        return str(x + min(8, w // 2)), str(y + h // 2)

    def language_shown(self, state):
        checked = menu_index(state.get("captions", {}).get("Tprog", {}).get("menus", []))
        spr = state.get("captions", {}).get("Tstart", {}).get("controls", {}).get("spr")
        return spr, checked.get("einst_spr_de", {}).get("checked"), checked.get("einst_spr_en", {}).get("checked")

    def settled_state(self):
        return self.app.settled_state()

    def switch_to(self, language, screenshot):
        """Settings → Language → Deutsch / English with the mouse, as a user would; the open
        menu is photographed before the click."""
        item = "einst_spr_de" if language == DE else "einst_spr_en"
        self.click("einst")
        self.control("einst_akt")  # the menu is open
        self.display.run(["xdotool", "mousemove", "--sync", *self.point("einst_spr")])
        self.control(item)  # the submenu is open
        time.sleep(0.15)  # past the submenu's slide-in
        self.app.screenshot(screenshot)
        self.click(item)
        wait_until(lambda: item not in self.app.state().get("controls", {}), what="the menu closed")
        code = "de" if language == DE else "en"
        wait_until(lambda: self.language_shown(self.app.state())[0] == code, what=f"the language code {code}")
        return self.settled_state()

    def assertNoProblems(self, problems, when):
        self.assertEqual([], problems, f"{when}: {len(problems)} differences:\n" + "\n".join(problems))


class EnglishStart(LanguageTest):
    """Without a marker file the program starts in English."""

    def test_every_caption_menu_and_list_reads_english(self):
        state = self.settled_state()
        self.assertEqual(("en", False, True), self.language_shown(state), "language code, Deutsch and English checked")
        self.assertNoProblems(all_problems(state, EN), "at the start in English")
        # What the table leaves to the program, listed for whoever reads the log.
        print("\ncaptions the table does not cover:\n  " + "\n  ".join(uncovered(state["captions"])))


class SwitchingAtRunTime(LanguageTest):
    """The language menu switches every window, shown or not, at once, as often as wanted."""

    def test_a_german_english_german_through_the_menu(self):
        # Each picture shows the open menu in the language before the switch.
        steps = ((DE, "language-1-to-de"), (EN, "language-2-to-en"), (DE, "language-3-to-de"))
        failures = []
        for language, name in steps:
            shown = "en" if language == DE else "de"
            state = self.switch_to(language, f"{name}-menu-shown-in-{shown}.png")
            self.assertEqual(("de", True, False) if language == DE else ("en", False, True),
                             self.language_shown(state), f"{name}: language code, Deutsch and English checked")
            problems = all_problems(state, language)
            if problems:
                failures.append(f"after switching to {LANGUAGE[language]} ({name}): {len(problems)} differences:\n  "
                                + "\n  ".join(problems))
        self.assertEqual([], failures, "\n".join(failures))

    def test_b_a_typed_text_template_gives_way_to_the_default(self):
        self.click("cb_savetxt")  # opens the text-save row (the action does nothing without copies)
        self.control("savetxt_name")
        try:
            for language, template in ((EN, "Notiz %num% eigen"), (DE, "note %date% own")):
                x, y, w, h = self.control("savetxt_name")
                self.display.run(["xdotool", "mousemove", "--sync", str(x + w // 3), str(y + h // 2), "click", "1"])
                self.display.run(["xdotool", "key", "ctrl+a", "BackSpace"])
                self.display.run(["xdotool", "type", "--delay", "15", template])
                wait_until(lambda: self.app.state().get("settings", {}).get("Tprog", {}).get("savetxt_name")
                           == template, what=f"the typed template {template!r}")
                state = self.switch_to(language, f"language-template-{LANGUAGE[language]}.png")
                self.assertEqual("%firstchars% %num%", state["settings"]["Tprog"]["savetxt_name"],
                                 f"the text template after switching to {LANGUAGE[language]}")
                self.assertEqual(TPROG_LISTS["savetxt_name"][language],
                                 state["captions"]["Tprog"]["lists"]["savetxt_name"],
                                 f"the text template list after switching to {LANGUAGE[language]}")
        finally:
            self.click("cb_savetxt")


class GermanMarker(LanguageTest):
    """A file "de" in the working directory starts the program in German."""

    markers = ("de",)

    def test_starts_in_german(self):
        state = self.settled_state()
        self.assertEqual(("de", True, False), self.language_shown(state), "language code, Deutsch and English checked")
        self.assertNoProblems(all_problems(state, DE), "at the start with the marker file de")


class BothMarkers(LanguageTest):
    """With both "en" and "de" present, German wins."""

    markers = ("en", "de")

    def test_german_wins(self):
        state = self.settled_state()
        self.assertEqual(("de", True, False), self.language_shown(state), "language code, Deutsch and English checked")
        self.assertEqual("Einstellungen", state["captions"]["Tprog"]["controls"].get("einst"), "the settings menu")
        self.assertEqual(["Hilfe1"], [e["name"] for e in state["captions"]["Tprog"]["menus"]
                                      if e.get("name") in ("Hilfe1", "Information1") and e.get("visible")],
                         "the help menu shown")


if __name__ == "__main__":
    run_tests()

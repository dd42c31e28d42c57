// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/introduction.h"

#include <array>

#include "platform/utf.h"

namespace tessaro {
namespace {

constexpr std::array kGermanTopics = {
    IntroTopic{
        "replace", u"Suchen und Ersetzen",
        u"Schalten Sie im Bereich Aktionen <b>Text in der Zwischenablage: Suchen und Ersetzen</b> "
        u"ein. In jedem kopierten Text wird dann der Text aus <i>Suchen nach:</i> gesucht und "
        u"jedes Vorkommen durch den Text aus <i>Ersetzen durch:</i> ersetzt. Solange <i>Groß- und "
        u"Kleinschreibung beachten</i> angehakt ist, müssen auch Groß- und Kleinbuchstaben "
        u"übereinstimmen.</p><p>Mit <i>Als RegEx</i> wird der Suchtext als regulärer Ausdruck "
        u"gelesen, und die Ersetzung kann dessen Gruppen als $1, $2 usw. einsetzen; "
        u"<b>Einstellungen → Optionen für reguläre Ausdrücke..</b> legt die Modifikatoren fest und "
        u"öffnet eine Übersicht der Syntax. <i>Optionen für mehrfache Ersetzungen anzeigen</i> "
        u"öffnet die Ersetzungstabelle: <i>Felder hinzufügen</i> übernimmt die beiden Felder als "
        u"neue Zeile, und die Zeilen der Tabelle werden nach dem einzelnen Paar der Reihe nach "
        u"angewandt. Der geänderte Text liegt sofort wieder in der Zwischenablage.",
        u"Suchen nach „Hr.“, ersetzen durch „Herr“: Aus „Hr. Müller“ wird „Herr Müller“. "
        u"Als regulärer Ausdruck macht „(\\d+) EUR“, ersetzt durch „$1 €“, aus „12 EUR“ „12 €“."},
    IntroTopic{
        "add", u"Text vorne und hinten anfügen",
        u"<b>Text in der Zwischenablage: Text anhängen</b> setzt feste Texte um jeden kopierten "
        u"Text: den aus <i>Vorne:</i> vor sein erstes Zeichen, den aus <i>Hinten:</i> hinter sein "
        u"letztes. Beide Felder dürfen mehrere Zeilen enthalten. Ist auch Suchen und Ersetzen "
        u"eingeschaltet, läuft das Ersetzen zuerst.",
        u"Vorne „> “ (ein Größer-als-Zeichen und ein Leerzeichen), Hinten leer: Aus „Danke für "
        u"die Nachricht“ wird „> Danke für die Nachricht“, fertig zum Zitieren in einer E-Mail."},
    IntroTopic{
        "savetext", u"Text automatisch speichern",
        u"<b>Text in der Zwischenablage: Automatisch speichern</b> schreibt jeden kopierten Text "
        u"in eine eigene Datei. <i>Ordner:</i> ist ein vollständiger Ordnerpfad (er wird angelegt, "
        u"wenn er fehlt; ~ steht für Ihren persönlichen Ordner). <i>Dateiname:</i> ist eine "
        u"Vorlage: %firstchars% steht für den Anfang des Textes, %num% für eine laufende Nummer "
        u"(%num3% füllt sie auf drei Stellen auf), %date% und %time% für Datum und Uhrzeit. "
        u"<i>Dateiformat:</i> ist die Endung. Eine laufende Nummer überschreibt nie eine "
        u"vorhandene Datei.</p><p><b>Einstellungen → Optionen für Aktionen und Speicherung..</b> "
        u"wählt die Kodierung der Textdateien; der Verweis dort erklärt die neun Kodierungen.",
        u"Ordner /home/ich/Notizen, Dateiname „notiz-%num3%“, Dateiformat .txt: Der erste "
        u"kopierte Text landet in notiz-001.txt, der nächste in notiz-002.txt."},
    IntroTopic{
        "cut", u"Bilder zuschneiden",
        u"<b>Bilder in der Zwischenablage: Zuschneiden</b> arbeitet auf eine von zwei Arten. Mit "
        u"<i>Ausschnitt bei jedem Screenshot mit einem Auswahlrahmen festlegen</i> öffnet sich "
        u"für jedes kopierte Bild ein Fenster: Ziehen Sie mit der Maus einen Rahmen um den Teil, "
        u"der bleiben soll (die vier Randfelder darunter folgen dem Rahmen, eingetippte Ränder "
        u"verschieben ihn), und bestätigen Sie mit OK; <i>Abbrechen</i> behält das ganze Bild. "
        u"Mit <i>So viele Pixel an den Seiten abschneiden:</i> werden von jedem Bild ohne "
        u"Rückfrage dieselben Ränder abgeschnitten.",
        u"Links 0, Rechts 0, Oben 30, Unten 40: Von jedem Screenshot verschwinden die 30 Pixel "
        u"hohe Titelleiste und die 40 Pixel hohe Taskleiste."},
    IntroTopic{
        "resize", u"Bilder vergrößern oder verkleinern",
        u"<b>Bilder in der Zwischenablage: Vergrößern oder Verkleinern</b> bringt jedes kopierte "
        u"Bild auf die <i>Maximalgröße:</i> (Breite und Höhe in Pixeln) und behält dabei seine "
        u"Proportionen, solange <i>Proportionen beibehalten</i> angehakt ist. <b>Einstellungen → "
        u"Optionen für Aktionen und Speicherung..</b> legt fest, ob Bilder über und unter der "
        u"Maximalgröße geändert werden, ob Hochformate Breite und Höhe tauschen und welche "
        u"Skaliermethode gilt (bikubisch, bilinear oder nächster Nachbar). Das Ergebnis kommt "
        u"zurück in die Zwischenablage.",
        u"Maximalgröße 800 × 600 mit beibehaltenen Proportionen: Aus einem Screenshot mit "
        u"1920 × 1080 Pixeln wird ein Bild mit 800 × 450 Pixeln."},
    IntroTopic{
        "saveimage", u"Bilder automatisch speichern",
        u"<b>Bilder in der Zwischenablage: Automatisch speichern</b> schreibt jedes kopierte Bild "
        u"in eine Datei: vor dem Vergrößern oder Verkleinern, danach (die Voreinstellung) oder "
        u"beides. Ordner und Dateiname funktionieren wie beim Text; unter <i>Dateiformat:</i> "
        u"wählen Sie eines von vielen Formaten, etwa JPEG, PNG, GIF, TIFF oder PSD. Die Qualität "
        u"für JPEG und ob eine PSD-Datei das Bild auch als Ebene enthält, stellen Sie unter "
        u"<b>Einstellungen → Optionen für Aktionen und Speicherung..</b> ein.",
        u"Ordner ~/Bildschirmfotos, Dateiname „bild %date% %num%“, Dateiformat *.png: Das erste "
        u"Bild am 14. März 2026 wird als „bild 2026-03-14 1.png“ gespeichert."},
    IntroTopic{
        "history", u"Der Verlauf",
        u"Die Liste links hat eine Zeile für jeden erfassten Text und jedes erfasste Bild, mit "
        u"Uhrzeit, Art und Inhalt. <b>Ein Doppelklick auf eine Textzeile</b> legt diesen Text "
        u"erneut in die Zwischenablage (das Kontextmenü der Zeile ebenso); die Entf-Taste löscht "
        u"die markierten Zeilen, ein Klick auf einen Spaltenkopf sortiert.</p><p><b>Strg+S</b> "
        u"(Programm → Gesamten Text-Verlauf als Datei speichern..) speichert alle Texte des "
        u"Verlaufs in eine Datei; <b>Einstellungen → Optionen für den Verlauf..</b> legt fest, "
        u"was hineinkommt und welche Arten in die Liste aufgenommen werden. Bilder stehen nur mit "
        u"ihrer Größe in der Liste; ihre Pixel werden nicht aufbewahrt.",
        u"Sie haben vor einer Stunde eine Adresse kopiert und seitdem vieles andere: Ein "
        u"Doppelklick auf ihre Zeile, und die Adresse liegt wieder in der Zwischenablage."},
    IntroTopic{
        "capture", u"Erfassung aus- und einschalten (F3)",
        u"<b>Einstellungen → Clipboard-Erfassung aktiv</b> oder die Taste <b>F3</b> schaltet die "
        u"Erfassung aus und wieder ein. Solange sie aus ist, ändert das Programm nichts: Keine "
        u"Zeile kommt in den Verlauf und keine Aktion läuft, Sie können also ungestört kopieren.",
        u"Bevor Sie einen Text kopieren, den Tessaro weder ändern noch im Verlauf zeigen soll, "
        u"drücken Sie F3; danach schaltet ein zweites F3 die Erfassung wieder ein."},
    IntroTopic{
        "configurations", u"Konfigurationen (.tpf-Dateien)",
        u"Alle Einstellungen der Aktionen und der Einstellungsfenster lassen sich in einer "
        u"Konfigurationsdatei mit der Endung .tpf festhalten. Im Menü <b>Konfiguration</b> "
        u"schreiben und lesen <i>Aktuelle Konfiguration speichern</i> und <i>Konfiguration "
        u"laden</i> eine Datei Ihrer Wahl; <i>Aktuelle Konfiguration als Startkonfiguration "
        u"speichern (auto.tpf)</i> sorgt dafür, dass die Einstellungen bei jedem Start geladen "
        u"werden. Verwendete Dateien erscheinen unten im Menü als eigene Einträge, ein Wechsel "
        u"ist also ein Klick. Eine Datei kann auch beim Start genannt werden: tessaro arbeit.tpf.",
        u"Eine mail.tpf mit dem Vorne-Text „> “ zum Zitieren und eine screenshots.tpf, die "
        u"Bilder zuschneidet und speichert: Laden Sie jeweils die, die gerade passt."},
};

constexpr std::array kEnglishTopics = {
    IntroTopic{
        "replace", u"Search and replace",
        u"Switch on <b>Clipboard Text: Search and Replace</b> in the actions area. Every text you "
        u"copy is then searched for the text in <i>Search for:</i>, and every occurrence is "
        u"replaced by the text in <i>Replace by:</i>. While <i>Case-Sensitive</i> is checked, "
        u"capitals and small letters must match as well.</p><p>With <i>Use RegEx</i> the search "
        u"text is read as a regular expression, and the replacement may insert its groups as $1, "
        u"$2 and so on; <b>Settings → Options regarding Regular Expressions..</b> sets the "
        u"modifiers and opens a summary of the syntax. <i>Show Options for multiple "
        u"Replacements</i> opens the replacement table: <i>Add to Table</i> takes the two fields "
        u"as a new row, and the table's rows are applied one after another after the single "
        u"pair. The changed text is back on the clipboard at once.",
        u"Search for “Mr.”, replace by “Mister”: “Mr. Smith” becomes “Mister Smith”. As a "
        u"regular expression, “(\\d+) EUR” replaced by “$1 €” turns “12 EUR” into “12 €”."},
    IntroTopic{
        "add", u"Text in front and behind",
        u"<b>Clipboard Text: Add Text</b> puts fixed texts around every copied text: the one in "
        u"<i>In Front:</i> before its first character, the one in <i>Behind:</i> after its last. "
        u"Both fields may hold several lines. When search and replace is on as well, the "
        u"replacing comes first.",
        u"In Front “> ” (a greater-than sign and a space), Behind empty: “Thanks for the "
        u"update” becomes “> Thanks for the update”, ready to quote in an e-mail."},
    IntroTopic{
        "savetext", u"Saving text automatically",
        u"<b>Clipboard Text: Save automatically</b> writes every copied text into a file of its "
        u"own. <i>Directory:</i> is a full folder path (it is created when missing; ~ stands for "
        u"your home folder). <i>File Name:</i> is a template: %firstchars% stands for the start "
        u"of the text, %num% for a running number (%num3% pads it to three digits), %date% and "
        u"%time% for the date and the time. <i>File Format:</i> is the extension. A running "
        u"number never overwrites an existing file.</p><p><b>Settings → Options regarding "
        u"Actions and Saving..</b> chooses the encoding of the text files; its link explains the "
        u"nine encodings.",
        u"Directory /home/me/Notes, File Name “note-%num3%”, File Format .txt: the first copied "
        u"text goes into note-001.txt, the next one into note-002.txt."},
    IntroTopic{
        "cut", u"Cutting images",
        u"<b>Clipboard Images: Cut to Size</b> works in one of two ways. With <i>Select Cutout at "
        u"each Screenshot with Marquee</i>, a window opens for every copied image: drag a frame "
        u"around the part to keep (the four margin fields below follow the frame, and typing "
        u"margins moves it) and confirm with OK; <i>Cancel</i> keeps the whole picture. With "
        u"<i>Cut off the following Pixels at the sides</i>, the same margins are cut off every "
        u"image without a question.",
        u"Left 0, Right 0, Above 30, Below 40: every screenshot loses its 30-pixel title bar and "
        u"its 40-pixel task bar."},
    IntroTopic{
        "resize", u"Resizing images",
        u"<b>Clipboard Images: Resize</b> fits every copied image into the <i>Maximum Size:</i> "
        u"(width and height in pixels), keeping its proportions while <i>Keep Proportions</i> is "
        u"checked. <b>Settings → Options regarding Actions and Saving..</b> decides whether "
        u"images larger and smaller than the maximum are changed, whether portrait images swap "
        u"width and height, and the method (bicubic, bilinear or nearest neighbour). The result "
        u"goes back on the clipboard.",
        u"Maximum Size 800 × 600 with proportions kept: a screenshot of 1920 × 1080 pixels "
        u"becomes a picture of 800 × 450 pixels."},
    IntroTopic{
        "saveimage", u"Saving images automatically",
        u"<b>Clipboard Images: Save automatically</b> writes every copied image into a file: "
        u"before resizing, after it (the default), or both. Directory and file name work as for "
        u"text; <i>File Format:</i> offers many formats, among them JPEG, PNG, GIF, TIFF and "
        u"PSD. The JPEG quality, and whether a PSD file also holds the picture as a layer, are "
        u"set in <b>Settings → Options regarding Actions and Saving..</b>.",
        u"Directory ~/Screenshots, File Name “shot %date% %num%”, File Format *.png: the first "
        u"image on 14 March 2026 is saved as “shot 2026-03-14 1.png”."},
    IntroTopic{
        "history", u"The history",
        u"The list on the left has one row for every captured text or image, with its time, "
        u"kind and content. <b>Double-click a text row</b> to put that text on the clipboard "
        u"again (the row's context menu does the same); DEL removes the selected rows, and a "
        u"click on a column header sorts.</p><p><b>Ctrl+S</b> (Program → Save Text-History as "
        u"single File..) saves all texts of the history into one file; <b>Settings → Options "
        u"regarding History..</b> chooses what goes into it and which kinds enter the list. "
        u"Images are listed with their size only; their pixels are not kept.",
        u"You copied an address an hour ago and much else since: double-click its row, and the "
        u"address is on the clipboard again."},
    IntroTopic{
        "capture", u"Capture off and on (F3)",
        u"<b>Settings → Clipboard-Exploring active</b> or the key <b>F3</b> switches capturing "
        u"off and on again. While it is off, the program changes nothing: no row enters the "
        u"history and no action runs, so you can copy undisturbed.",
        u"Before you copy a text that Tessaro should neither change nor list, press F3; "
        u"afterwards a second F3 switches capturing on again."},
    IntroTopic{
        "configurations", u"Configurations (.tpf files)",
        u"Every setting of the actions and of the settings windows can be kept in a "
        u"configuration file with the extension .tpf. In the <b>Configuration</b> menu, <i>Save "
        u"current Configuration</i> and <i>Load Configuration</i> write and read a file you "
        u"choose; <i>Save current Configuration as Start Configuration (auto.tpf)</i> makes the "
        u"settings load at every start. Files you used appear as items of their own at the end "
        u"of the menu, so switching takes one click. A file can also be named at the start: "
        u"tessaro work.tpf.",
        u"A mail.tpf with the front text “> ” for quoting and a screenshots.tpf that cuts and "
        u"saves images: load whichever fits the task at hand."},
};

// Makes plain text safe inside HTML.
std::u16string escaped(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (char16_t c : text) {
        switch (c) {
            case u'&': out += u"&amp;"; break;
            case u'<': out += u"&lt;"; break;
            case u'>': out += u"&gt;"; break;
            case u'"': out += u"&quot;"; break;
            default: out += c; break;
        }
    }
    return out;
}

}  // namespace

std::span<const IntroTopic> IntroTopics(bool german) {
    if (german) return kGermanTopics;
    return kEnglishTopics;
}

std::u16string IntroductionHtml(bool german) {
    std::u16string html = german
                              ? u"<h1>Einführung in Tessaro</h1><p>Tessaro beobachtet die "
                                u"Zwischenablage. Jedes Mal, wenn ein Programm etwas kopiert, "
                                u"zeigt Tessaro es an, trägt es in den Verlauf ein und führt die "
                                u"Aktionen aus, die Sie im Bereich Aktionen eingeschaltet haben. "
                                u"Ein geänderter Text oder ein geändertes Bild kommt zurück in die "
                                u"Zwischenablage und kann gleich eingefügt werden.</p>"
                              : u"<h1>Introduction to Tessaro</h1><p>Tessaro watches the "
                                u"clipboard. Every time a program copies something, Tessaro "
                                u"shows it, adds it to the history and runs the actions you "
                                u"switched on in the actions area. A changed text or image goes "
                                u"back on the clipboard, ready to paste.</p>";
    const std::span<const IntroTopic> topics = IntroTopics(german);
    html += u"<ul>";
    for (const IntroTopic& topic : topics) {
        html += u"<li><a href=\"#" + utf8ToUtf16(topic.id) + u"\">" + escaped(topic.title) +
                u"</a></li>";
    }
    html += u"</ul>";
    const std::u16string_view exampleLabel = german ? u"Beispiel:" : u"Example:";
    for (const IntroTopic& topic : topics) {
        html += u"<h2><a name=\"" + utf8ToUtf16(topic.id) + u"\"></a>" + escaped(topic.title) +
                u"</h2>";
        html += u"<p>" + std::u16string(topic.body) + u"</p>";
        html += u"<p style=\"background-color:#eef3f7\"><i>" + std::u16string(exampleLabel) +
                u"</i> " + escaped(topic.example) + u"</p>";
    }
    return html;
}

}  // namespace tessaro

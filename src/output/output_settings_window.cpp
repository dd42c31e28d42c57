// SPDX-License-Identifier: GPL-3.0-or-later
// The output-settings window: its image-output group, its text-encoding group with the
// nine encoding buttons, its image-resizing group, and the language of its captions.
#include "output/output_settings_window.h"

#include <array>

#include "output/output_quality.h"
#include "text/wide_replace.h"
#include "language/interface_texts.h"

namespace tessaro {
namespace {

constexpr const char* kEncodingGroup = "GroupBox2";

// The captions of the window in German and English, by component name.
constexpr std::array kOutputSettingsCaptions = {
    CaptionText{"GroupBox3", u"Vergrößerung oder Verkleinerung der Bilder", u"Image Resizing"},
    CaptionText{"act_sizehochquerformat", u"Unterscheidung zwischen Hoch- und Querformat",
                u"Distinction between Landscape and Portrait"},
    CaptionText{"act_sizekleiner", u"Ändern wenn Ursprungsbild kleiner als Maximalgröße",
                u"Process if Original is smaller than Maximum Size"},
    CaptionText{"act_sizebigger", u"Ändern wenn Ursprungsbild größer als Maximalgröße",
                u"Process if Original is larger than Maximum Size"},
    CaptionText{"Label2", u"Skaliermethode:", u"Resize Method:"},
    CaptionText{"GroupBox1", u"Bildausgabe", u"Image Output"},
    CaptionText{"Label1", u"Ausgabe-Qualität für Formate JPEG, JNG, MNG und JPG2000",
                u"Output Quality for Formats JPEG, JNG, MNG and JPG2000"},
    CaptionText{"progressivaktiv", u"Progressiv-Funktion für Formate JPEG, JNG und MNG verwenden",
                u"Use Progressiv-Function for Formats JPEF, JNG and MNG"},
    CaptionText{"psdlayers", u"Bild als Ebene einfügen im Photoshop Format PSD",
                u"Insert image as layer in format PSD (Photoshop)"},
    CaptionText{"GroupBox2", u"Kodierung von Textdateien", u"Coding of Text Files"},
    CaptionText{"Label5", u"Die Textdateien werden in folgendem Format abgespeichert:",
                u"Text Files are saved in this File Format:"},
    CaptionText{"Label4", u"Informationen zu den Formaten erhalten Sie auf dieser Seite:",
                u"Information to the File Formats, you can get on:"},
    CaptionText{"lb_encodings_link", u"Textkodierungen erklärt", u"Text encodings explained"},
    CaptionText{"rb_utf7ansi", u"Unicode UTF-7 als ANSI gespeichert",
                u"Unicode UTF-7 saved as ANSI"},
    CaptionText{"rb_beibehalten", u"Falls kein Unicode als ANSI speichern, sonst UTF-8",
                u"If no Unicode, save as ANSI, in other cases UTF-8"},
};

}  // namespace

Teinstausgabe::Teinstausgabe(const Label& spr)
    : LanguageWindow("Teinstausgabe", spr, u"Einstellungen", u"Settings"),
      GroupBox1(add<Panel>("GroupBox1")),
      Label1(add<Label>("Label1")),
      out_quality(add<ComboBox>("out_quality")),
      ScrollBar1(add<ScrollBar>("ScrollBar1", 1, 100, 90)),
      progressivaktiv(add<CheckBox>("progressivaktiv", true)),
      psdlayers(add<CheckBox>("psdlayers", true)),
      GroupBox2(add<Panel>("GroupBox2")),
      Label5(add<Label>("Label5")),
      Label4(add<Label>("Label4")),
      lb_encodings_link(add<Label>("lb_encodings_link")),
      rb_ansi(add<RadioButton>("rb_ansi", kEncodingGroup)),
      rb_utf7(add<RadioButton>("rb_utf7", kEncodingGroup)),
      rb_utf8(add<RadioButton>("rb_utf8", kEncodingGroup)),
      rb_beibehalten(add<RadioButton>("rb_beibehalten", kEncodingGroup, true)),
      rb_utf7ansi(add<RadioButton>("rb_utf7ansi", kEncodingGroup)),
      rb_utf16le(add<RadioButton>("rb_utf16le", kEncodingGroup)),
      rb_utf_be(add<RadioButton>("rb_utf_be", kEncodingGroup)),
      rb_utf32le(add<RadioButton>("rb_utf32le", kEncodingGroup)),
      rb_utf32be(add<RadioButton>("rb_utf32be", kEncodingGroup)),
      GroupBox3(add<Panel>("GroupBox3")),
      act_sizehochquerformat(add<CheckBox>("act_sizehochquerformat", true)),
      act_sizekleiner(add<CheckBox>("act_sizekleiner", true)),
      act_sizebigger(add<CheckBox>("act_sizebigger", true)),
      Label2(add<Label>("Label2")),
      act_sizemethode(add<ComboBox>("act_sizemethode")),
      OK(add<Button>("OK")) {
    setClientSize(kDesignWidth, kDesignHeight);
    out_quality.setItems(QualityEntries());
    out_quality.setText(u"90");
    BindOutputQuality(out_quality, ScrollBar1);
    act_sizemethode.setItems({u"Bikubisch", u"Bilinear", u"N\u00e4chster Nachbar"});
    act_sizemethode.setText(u"Bikubisch");
    rb_ansi.setCaption(u"ANSI Text");
    rb_utf7.setCaption(u"Unicode UTF-7");
    rb_utf8.setCaption(u"Unicode UTF-8");
    rb_utf16le.setCaption(u"Unicode UTF-16 Little Endian (Standard Windows Unicode)");
    rb_utf_be.setCaption(u"Unicode UTF-16 Big Endian");
    rb_utf32le.setCaption(u"Unicode UTF-32 Little Endian");
    rb_utf32be.setCaption(u"Unicode UTF-32 Big Endian");
    OK.setCaption(u"OK");
    lb_encodings_link.setStored(false);
    lb_encodings_link.onClick = [this] {
        if (openLink) openLink(german() ? kEncodingsPageGerman : kEncodingsPageEnglish);
    };
    bindEncoding(rb_ansi, kEncodingAnsi);
    bindEncoding(rb_utf7, kEncodingUtf7);
    bindEncoding(rb_utf7ansi, kEncodingUtf7NoSignature);
    bindEncoding(rb_utf8, kEncodingUtf8);
    bindEncoding(rb_utf16le, kEncodingUtf16Le);
    bindEncoding(rb_utf_be, kEncodingUtf16Be);
    bindEncoding(rb_utf32le, kEncodingUtf32Le);
    bindEncoding(rb_utf32be, kEncodingUtf32Be);
    // The automatic choice shares the UTF-8 handler; the text decides at each save.
    bindEncoding(rb_beibehalten, kEncodingUtf8);
    // The captions that differ between the languages are set by Sprache().
    Sprache();
}

void Teinstausgabe::bindEncoding(RadioButton& button, std::int32_t encoding) {
    button.onClick = [this, encoding] { TextEncoding = encoding; };
}

void Teinstausgabe::ChooseTextEncoding(std::u16string_view text) {
    TextEncoding = tessaro::ChooseTextEncoding(rb_beibehalten.checked(), TextEncoding, text);
}

std::u16string TranslateResizeMethod(std::u16string text, bool german) {
    static constexpr std::array<std::pair<std::u16string_view, std::u16string_view>, 2> kNames = {
        {{u"Bikubisch", u"Bicubic"}, {u"N\u00e4chster Nachbar", u"Nearest"}}};
    for (const auto& [de, en] : kNames) {
        text = german ? WideReplaceAll(text, en, de) : WideReplaceAll(text, de, en);
    }
    return text;
}

ImageWriteOptions Teinstausgabe::AusgabeWerteSetzen() const {
    ImageWriteOptions options;
    options.jpegQuality = ScrollBar1.position();
    options.jngQuality = ScrollBar1.position();
    options.mngQuality = ScrollBar1.position();
    options.psdLayer = psdlayers.checked();
    options.jpegProgressive = progressivaktiv.checked();
    options.jngProgressive = progressivaktiv.checked();
    options.mngProgressive = progressivaktiv.checked();
    return options;
}

void Teinstausgabe::Sprache() {
    LanguageWindow::Sprache();
    applyCaptions(*this, kOutputSettingsCaptions, german());
    // The method names change language in place; the text keeps the chosen method.
    for (std::size_t i = 0; i < act_sizemethode.items().size(); ++i) {
        act_sizemethode.setItem(i, TranslateResizeMethod(act_sizemethode.items()[i], german()));
    }
    act_sizemethode.setText(TranslateResizeMethod(act_sizemethode.text(), german()));
}

}  // namespace tessaro

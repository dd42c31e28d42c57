// SPDX-License-Identifier: GPL-3.0-or-later
// The output settings: image output options, text-file encodings, image resizing. Holds
// the chosen text encoding, which its radio buttons set and the automatic choice adjusts.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "forms/buttons.h"
#include "forms/containers.h"
#include "forms/scroll_bar.h"
#include "forms/text_controls.h"
#include "output/image_file_writer.h"
#include "output/text_encoder.h"
#include "language/language_window.h"

namespace tessaro {

// Puts the resize-method names in a text into the other language ("Bikubisch" and
// "Bicubic", "Nächster Nachbar" and "Nearest"); "Bilinear" is the same in both.
std::u16string TranslateResizeMethod(std::u16string text, bool german);

class Teinstausgabe final : public LanguageWindow {
public:
    static constexpr int kDesignWidth = 347;
    static constexpr int kDesignHeight = 533;

    explicit Teinstausgabe(const Label& spr);

    // Image-output group.
    Panel& GroupBox1;
    Label& Label1;
    ComboBox& out_quality;
    ScrollBar& ScrollBar1;
    CheckBox& progressivaktiv;
    CheckBox& psdlayers;
    // Text-encoding group.
    Panel& GroupBox2;
    Label& Label5;
    Label& Label4;
    // The link to the page that explains the encodings; not part of a configuration.
    Label& lb_encodings_link;
    // Created in the order a configuration file holds them: when a file marks several as
    // checked, the last one set stays checked.
    RadioButton& rb_ansi;
    RadioButton& rb_utf7;
    RadioButton& rb_utf8;
    RadioButton& rb_beibehalten;
    RadioButton& rb_utf7ansi;
    RadioButton& rb_utf16le;
    RadioButton& rb_utf_be;
    RadioButton& rb_utf32le;
    RadioButton& rb_utf32be;
    // Image-resizing group.
    Panel& GroupBox3;
    CheckBox& act_sizehochquerformat;
    CheckBox& act_sizekleiner;
    CheckBox& act_sizebigger;
    Label& Label2;
    ComboBox& act_sizemethode;
    // Closes the window; the owner binds its click to hiding it.
    Button& OK;

    // The encoding code the next text file is written in; a kEncoding* value.
    std::int32_t TextEncoding = kEncodingUtf8;

    // With the automatic choice checked, sets TextEncoding to ANSI for text that fits into
    // Latin-1 and to UTF-8 otherwise; leaves it alone when the choice is not checked.
    void ChooseTextEncoding(std::u16string_view text);

    // The options of the image writers as the image-output group sets them now. The
    // quality is the scroll bar's, which is always within 1 .. 100.
    ImageWriteOptions AusgabeWerteSetzen() const;

    void Sprache() override;

    // The pages beside the program that explain the text encodings, one per language.
    static constexpr std::u16string_view kEncodingsPageGerman = u"text-encodings-de.html";
    static constexpr std::u16string_view kEncodingsPageEnglish = u"text-encodings-en.html";
    // Opens a page beside the program; the application binds it.
    std::function<void(std::u16string_view)> openLink;

private:
    void bindEncoding(RadioButton& button, std::int32_t encoding);
};

}  // namespace tessaro

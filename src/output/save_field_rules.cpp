// SPDX-License-Identifier: GPL-3.0-or-later
// The typing and list rules of the save fields, as plain functions that the main window
// binds to its controls.
#include "output/save_field_rules.h"

#include "text/wide_replace.h"

namespace tessaro {
namespace {

constexpr std::u16string_view kCustomGerman = u"Benutzerdefiniert..";
constexpr std::u16string_view kCustomEnglish = u"Custom..";

void discardAny(char16_t& key, std::u16string_view refused) {
    if (refused.find(key) != std::u16string_view::npos) key = 0;
}

std::u16string_view custom(bool german) { return german ? kCustomGerman : kCustomEnglish; }

}  // namespace

void FilterFileNameKey(char16_t& key) { discardAny(key, u"\\/:*?\"<>|"); }

void FilterFolderKey(char16_t& key) { discardAny(key, u"*?\"<>|"); }

void RefuseEveryKey(char16_t& key) { key = 0; }

bool IsCustomEntry(std::u16string_view text) {
    return text == kCustomGerman || text == kCustomEnglish;
}

bool ApplyCustomEntry(ComboBox& list) {
    if (!IsCustomEntry(list.text())) return false;
    list.setItemIndex(-1);
    list.setText(u"");
    return true;
}

void SelectFirstEntryWhenEmpty(ComboBox& list) {
    if (list.text().empty()) list.setItemIndex(0);
}

std::vector<std::u16string> TextNameTemplates(bool german) {
    return {u"%firstchars% %num%",
            u"%firstchars% %date% %time%",
            german ? u"Text aus der Zwischenablage %num%" : u"Clipboard Text %num%",
            german ? u"Text aus der Zwischenablage %date% %time%" : u"Clipboard Text %date% %time%",
            u"%date% %time%",
            std::u16string(custom(german))};
}

std::vector<std::u16string> ImageNameTemplates(bool german) {
    return {
        german ? u"Bild aus der Zwischenablage %num%" : u"Clipboard Image %num%",
        german ? u"Bild aus der Zwischenablage %date% %time%" : u"Clipboard Image %date% %time%",
        u"%date% %time%", std::u16string(custom(german))};
}

std::vector<std::u16string> TextFormatEntries(bool german) {
    return {u".txt", u".log", u".php", u".htm", u".html", std::u16string(custom(german))};
}

std::vector<std::u16string> ImageFormatEntries() {
    return {u"*.jpg - JPEG-Bild",
            u"*.png - Portable Network Graphics",
            u"*.gif - Graphics Interchange Format",
            u"*.bmp - Windows Bitmap",
            u"*.dib - Windows Bitmap",
            u"*.ico - Windows Icon",
            u"*.cur - Windows Cursor",
            u"*.psd - Photoshop Bild",
            u"*.pdd - Photoshop Bild",
            u"*.tif - Tagged Image File Format",
            u"*.tiff - Tagged Image File Format",
            u"*.jpeg - JPEG-Bild",
            u"*.jfif - JPEG-Bild",
            u"*.jpe - JPEG-Bild",
            u"*.jif - JPEG-Bild",
            u"*.mng - Multiple Network Graphics",
            u"*.jng - JPEG Network Graphics\u00b4",
            u"*.pgm - Portable Gray Map",
            u"*.ppm - Portable Pixel Map",
            u"*.pam - Portable Arbitrary Map",
            u"*.pfm - Portable Float Map",
            u"*.jp2 - JPEG 2000",
            u"*.j2k - JPEG 2000",
            u"*.j2c - JPEG 2000",
            u"*.jpx - JPEG 2000",
            u"*.jpc - JPEG 2000",
            u"*.dds - DirectDraw Surface",
            u"*.tga - Truevision Targa Bild"};
}

std::u16string TranslateImageFormat(std::u16string entry, bool german) {
    return german ? WideReplaceAll(entry, u"Image", u"Bild") : WideReplaceAll(entry, u"Bild", u"Image");
}

void BindImageSaveFieldRules(Edit& saveimg_ordner, ComboBox& saveimg_name, ComboBox& saveimg_format,
                             std::function<void(Control&)> focus) {
    saveimg_ordner.onKeyPress = FilterFolderKey;
    saveimg_name.onKeyPress = FilterFileNameKey;
    saveimg_format.onKeyPress = RefuseEveryKey;
    saveimg_name.onChange = [&saveimg_name, focus] {
        if (ApplyCustomEntry(saveimg_name) && focus) focus(saveimg_name);
    };
    saveimg_name.onExit = [&saveimg_name] { SelectFirstEntryWhenEmpty(saveimg_name); };
}

void BindTextSaveFieldRules(Edit& savetxt_ordner, ComboBox& savetxt_name, ComboBox& savetxt_format,
                            std::function<void(Control&)> focus) {
    savetxt_ordner.onKeyPress = FilterFolderKey;
    savetxt_name.onKeyPress = FilterFileNameKey;
    savetxt_format.onKeyPress = FilterFileNameKey;
    for (ComboBox* list : {&savetxt_name, &savetxt_format}) {
        list->onChange = [list, focus] {
            if (ApplyCustomEntry(*list) && focus) focus(*list);
        };
        list->onExit = [list] { SelectFirstEntryWhenEmpty(*list); };
    }
}

}  // namespace tessaro

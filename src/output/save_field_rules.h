// SPDX-License-Identifier: GPL-3.0-or-later
// Input rules of the save fields: the characters typed keys may not add, the custom entry
// of the name and format lists, the first entry for a list left empty, and the ready-made
// entries of those lists.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/control.h"
#include "forms/text_controls.h"

namespace tessaro {

// Discards (sets to 0) a typed \ / : * ? " < > | in a file-name template or text format.
void FilterFileNameKey(char16_t& key);

// Discards a typed * ? " < > | in a folder field; "/", "\" and ":" are kept, "/" because
// it separates the folders of every path here.
void FilterFolderKey(char16_t& key);

// Discards every typed key: the image format is picked from its list only.
void RefuseEveryKey(char16_t& key);

// True for the custom entry of a name or format list in either language.
bool IsCustomEntry(std::u16string_view text);

// When the list's text is its custom entry: clears the selection and the text and returns
// true, so that the caller puts the input focus into the list for the user's own text.
bool ApplyCustomEntry(ComboBox& list);

// When the list is left with an empty text, selects its first entry.
void SelectFirstEntryWhenEmpty(ComboBox& list);

// The entries of `savetxt_name`, `saveimg_name` and `savetxt_format` in one language; the
// first is the design text of each list.
std::vector<std::u16string> TextNameTemplates(bool german);
std::vector<std::u16string> ImageNameTemplates(bool german);
std::vector<std::u16string> TextFormatEntries(bool german);

// The design entries of the image format list (German descriptions), in list order.
std::vector<std::u16string> ImageFormatEntries();

// Puts an image format entry into the other language: "Bild" becomes "Image" (English) or
// "Image" becomes "Bild" (German), every occurrence, letter case kept.
std::u16string TranslateImageFormat(std::u16string entry, bool german);

// Binds the rules above to the three fields of the image save: the folder's key filter,
// the name list's custom entry and exit rule, and a format list that takes no typing.
void BindImageSaveFieldRules(Edit& saveimg_ordner, ComboBox& saveimg_name, ComboBox& saveimg_format,
                             std::function<void(Control&)> focus);

// Binds the rules above to the three fields of the text save: key filters, the custom
// entry of the two lists (with `focus` called for the list to focus), and the exit rule.
void BindTextSaveFieldRules(Edit& savetxt_ordner, ComboBox& savetxt_name, ComboBox& savetxt_format,
                            std::function<void(Control&)> focus);

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// The typing and list rules of the number lists, bound by the main window.
#include "ui/number_list_rules.h"

#include "forms/language_code.h"
#include "platform/utf.h"

namespace tessaro {
namespace {

constexpr std::u16string_view kCustomGerman = u"Benutzer..";
constexpr std::u16string_view kCustomEnglish = u"Custom..";

std::u16string custom(bool german) {
    return std::u16string(german ? kCustomGerman : kCustomEnglish);
}

}  // namespace

std::vector<std::u16string> MarginListEntries(bool german) {
    return {u"0", u"10", u"25", u"50", u"75", u"100", u"250", u"500", u"1000", custom(german)};
}

std::vector<std::u16string> SizeListEntries(bool german) {
    return {u"100",  u"240",  u"320",  u"480",  u"600",  u"640",  u"720",
            u"768",  u"800",  u"864",  u"1024", u"1152", u"1280", u"1366",
            u"1440", u"1600", u"1792", u"1920", u"2048", custom(german)};
}

bool IsNumberListCustomEntry(std::u16string_view text) {
    return text == kCustomGerman || text == kCustomEnglish;
}

void TranslateNumberListEntries(ComboBox& list, bool german) {
    const auto& items = list.items();
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (IsNumberListCustomEntry(items[i])) list.setItem(i, custom(german));
    }
}

bool IsNumberKey(char16_t key) { return (key >= u'0' && key <= u'9') || key == 8; }

void BindNumberListRules(ComboBox& list, std::int32_t fallback, Desktop& desktop, const Label& spr,
                         std::function<void(Control&)> focus) {
    list.onKeyPress = [&desktop, &spr](char16_t& key) {
        if (IsNumberKey(key)) return;
        key = 0;
        const bool german = IsGerman(spr);
        desktop.showMessage(MessageKind::Information, u"Information",
                            german ? u"In diesem Feld sind nur Zahleneingaben erlaubt."
                                   : u"In this box only numerical entries are allowed.");
    };
    list.onChange = [&list, focus = std::move(focus)] {
        if (!IsNumberListCustomEntry(list.text())) return;
        list.setItemIndex(-1);
        list.setText(u"");
        if (focus) focus(list);
    };
    list.onExit = [&list, fallback] {
        if (list.text().empty()) list.setText(utf8ToUtf16(std::to_string(fallback)));
    };
}

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/control_walker.h"

#include "config/profile_values.h"
#include "forms/buttons.h"
#include "forms/containers.h"
#include "forms/list_view.h"
#include "forms/scroll_bar.h"
#include "forms/text_controls.h"
#include "platform/decimal_text.h"
#include "platform/utf.h"

namespace tessaro {
namespace {

std::u16string keyOf(const Control& control) { return utf8ToUtf16(control.name()); }

std::u16string sectionOf(std::u16string_view prefix, std::u16string_view suffix) {
    return std::u16string(prefix) + std::u16string(suffix);
}

void writeText(ProfileFile& file, std::u16string_view section, std::u16string_view key,
               std::u16string_view text, char16_t lineBreak) {
    file.setValue(section, key, ProtectProfileText(FoldLineBreaks(text, lineBreak)));
}

std::u16string readText(const ProfileFile& file, std::u16string_view section,
                        std::u16string_view key, std::u16string_view fallback, char16_t lineBreak) {
    const auto raw = file.value(section, key);
    if (!raw) return std::u16string(fallback);
    return UnfoldLineBreaks(ReadProfileText(*raw), lineBreak);
}

// The table's row count, then each row's three cells.
void saveTable(ProfileFile& file, std::u16string_view section, const ListView& list) {
    const std::u16string name = keyOf(list);
    WriteProfileInteger(file, section, name, static_cast<std::int32_t>(list.count()));
    for (std::size_t row = 0; row < list.count(); ++row) {
        const std::u16string stem = name + u"-" + DecimalText(row) + u"-";
        for (std::size_t column = 0; column < 3; ++column) {
            writeText(file, section, stem + char16_t(u'a' + column), list.item(row).cell(column),
                      kTableLineBreak);
        }
    }
}

void loadTable(const ProfileFile& file, std::u16string_view section, ListView& list) {
    const std::u16string name = keyOf(list);
    list.clear();
    const std::int32_t rows = ReadProfileInteger(file, section, name, 0);
    std::vector<ListItem> items;
    for (std::int32_t row = 0; row < rows; ++row) {
        const std::u16string stem = name + u"-" + DecimalText(row) + u"-";
        const auto cell = [&](char16_t column) {
            return readText(file, section, stem + column, u"", kTableLineBreak);
        };
        std::u16string caption = cell(u'a');
        items.push_back(ListItem{std::move(caption), {SharedText(cell(u'b')), SharedText(cell(u'c'))}});
    }
    if (!items.empty()) list.setItems(std::move(items));
}

}  // namespace

std::int32_t ReadProfileInteger(const ProfileFile& file, std::u16string_view section,
                                std::u16string_view key, std::int32_t fallback) {
    const auto raw = file.value(section, key);
    if (!raw) return fallback;
    return ParseProfileInteger(ReadProfileText(*raw)).value_or(fallback);
}

bool ReadProfileBool(const ProfileFile& file, std::u16string_view section, std::u16string_view key,
                     bool fallback) {
    return ReadProfileInteger(file, section, key, fallback ? 1 : 0) != 0;
}

void WriteProfileBool(ProfileFile& file, std::u16string_view section, std::u16string_view key,
                      bool value) {
    file.setValue(section, key, value ? u"1" : u"0");
}

void WriteProfileInteger(ProfileFile& file, std::u16string_view section, std::u16string_view key,
                         std::int32_t value) {
    file.setValue(section, key, DecimalText(value));
}

void SaveFormControls(ProfileFile& file, const Form& form, std::u16string_view prefix,
                      WalkedKinds kinds) {
    const bool main = kinds == WalkedKinds::MainWindow;
    for (const auto& owned : form.controls()) {
        const Control& control = *owned;
        if (!control.stored()) continue;
        const std::u16string key = keyOf(control);
        switch (control.kind()) {
            case ControlKind::Edit:
                writeText(file, sectionOf(prefix, u"ED"), key, static_cast<const Edit&>(control).text(), 0);
                break;
            case ControlKind::ComboBox:
                writeText(file, sectionOf(prefix, u"CB"), key, static_cast<const ComboBox&>(control).text(), 0);
                break;
            case ControlKind::RadioButton:
                WriteProfileBool(file, sectionOf(prefix, u"RB"), key, static_cast<const RadioButton&>(control).checked());
                break;
            case ControlKind::CheckBox:
                WriteProfileBool(file, sectionOf(prefix, u"CH"), key, static_cast<const CheckBox&>(control).checked());
                break;
            case ControlKind::ScrollBar:
                WriteProfileInteger(file, sectionOf(prefix, u"SB"), key,
                                    static_cast<const ScrollBar&>(control).position());
                break;
            case ControlKind::Panel:
                if (main) WriteProfileBool(file, sectionOf(prefix, u"PA"), key, control.visible());
                break;
            case ControlKind::Memo:
                if (main) {
                    writeText(file, sectionOf(prefix, u"ME"), key, static_cast<const Memo&>(control).text(),
                              kMemoLineBreak);
                }
                break;
            case ControlKind::ListView:
                if (main) saveTable(file, sectionOf(prefix, u"LV"), static_cast<const ListView&>(control));
                break;
            default:
                break;
        }
    }
}

void LoadFormControls(const ProfileFile& file, Form& form, std::u16string_view prefix,
                      WalkedKinds kinds) {
    const bool main = kinds == WalkedKinds::MainWindow;
    // Handlers may add controls (menu items) while the walk goes on: walk by index.
    for (std::size_t i = 0; i < form.controls().size(); ++i) {
        Control& control = *form.controls()[i];
        if (!control.stored()) continue;
        const std::u16string key = keyOf(control);
        switch (control.kind()) {
            case ControlKind::Edit: {
                auto& edit = static_cast<Edit&>(control);
                edit.setText(readText(file, sectionOf(prefix, u"ED"), key, edit.text(), 0));
                break;
            }
            case ControlKind::ComboBox: {
                auto& combo = static_cast<ComboBox&>(control);
                combo.setText(readText(file, sectionOf(prefix, u"CB"), key, combo.text(), 0));
                break;
            }
            case ControlKind::RadioButton: {
                auto& radio = static_cast<RadioButton&>(control);
                radio.setChecked(ReadProfileBool(file, sectionOf(prefix, u"RB"), key, radio.checked()));
                break;
            }
            case ControlKind::CheckBox: {
                auto& box = static_cast<CheckBox&>(control);
                box.setChecked(ReadProfileBool(file, sectionOf(prefix, u"CH"), key, box.checked()));
                break;
            }
            case ControlKind::ScrollBar: {
                auto& bar = static_cast<ScrollBar&>(control);
                bar.setPosition(ReadProfileInteger(file, sectionOf(prefix, u"SB"), key, bar.position()));
                break;
            }
            case ControlKind::Panel:
                if (main) {
                    control.setVisible(ReadProfileBool(file, sectionOf(prefix, u"PA"), key, control.visible()));
                }
                break;
            case ControlKind::Memo:
                if (main) {
                    auto& memo = static_cast<Memo&>(control);
                    const auto raw = file.value(sectionOf(prefix, u"ME"), key);
                    if (raw) memo.setText(UnfoldLineBreaks(ReadProfileText(*raw), kMemoLineBreak));
                }
                break;
            case ControlKind::ListView:
                if (main) loadTable(file, sectionOf(prefix, u"LV"), static_cast<ListView&>(control));
                break;
            default:
                break;
        }
    }
}

}  // namespace tessaro

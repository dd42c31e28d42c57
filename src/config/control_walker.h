// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the values of a window's controls to a profile and reading them back, walking
// the controls in their creation order. The section of a control is the window's prefix
// followed by the suffix of its kind (ED, CB, RB, CH, SB; and PA, ME, LV for the main
// window); the key is the control's component name.
#pragma once

#include <string_view>

#include "config/profile_file.h"
#include "forms/form.h"

namespace tessaro {

enum class WalkedKinds {
    Settings,    // edit fields, combo boxes, radio buttons, check boxes, scroll bars
    MainWindow,  // those, and panels, multi-line fields and list views
};

void SaveFormControls(ProfileFile& file, const Form& form, std::u16string_view prefix,
                      WalkedKinds kinds);

// Every value missing from the file, or unreadable, leaves its control as it is. Check
// boxes and radio buttons are set as a click would set them, so their handlers run.
void LoadFormControls(const ProfileFile& file, Form& form, std::u16string_view prefix,
                      WalkedKinds kinds);

// The typed values of a profile, with the control's current value as the default.
std::int32_t ReadProfileInteger(const ProfileFile& file, std::u16string_view section,
                                std::u16string_view key, std::int32_t fallback);
bool ReadProfileBool(const ProfileFile& file, std::u16string_view section,
                     std::u16string_view key, bool fallback);
void WriteProfileBool(ProfileFile& file, std::u16string_view section, std::u16string_view key,
                      bool value);
void WriteProfileInteger(ProfileFile& file, std::u16string_view section, std::u16string_view key,
                         std::int32_t value);

}  // namespace tessaro

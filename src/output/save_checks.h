// SPDX-License-Identifier: GPL-3.0-or-later
// The checks before an automatic save: every empty field of the save action is reported in
// its own information message, and nothing is saved.
#pragma once

#include <string>
#include <vector>

#include "output/file_naming.h"
#include "platform/desktop.h"

namespace tessaro {

// The messages for the empty fields of `kind`, in the order folder, name, format; empty
// when all three are filled.
std::vector<std::u16string> SaveCheckMessages(SaveKind kind, const SaveFields& fields, bool german);

// Shows each message of SaveCheckMessages as an information box; true when none was due.
bool CheckSaveFields(SaveKind kind, const SaveFields& fields, Desktop& desktop, bool german);

}  // namespace tessaro

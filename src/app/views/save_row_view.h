// SPDX-License-Identifier: GPL-3.0-or-later
// The detail row of a save action: folder with its picker, name template and format, and
// below them whatever the action adds (the history tip, the two moments of an image save).
#pragma once

#include <QColor>
#include <QWidget>
#include <vector>

#include "forms/buttons.h"
#include "forms/containers.h"
#include "forms/text_controls.h"

namespace tessaro {

struct SaveRowModels {
    Panel& row;
    Label& folderLabel;
    Edit& folder;
    Button& choose;
    Label& nameLabel;
    ComboBox& name;
    Label& formatLabel;
    ComboBox& format;
};

// `below` are placed under the fields, one per line, each across the whole row.
QWidget* buildSaveRow(const SaveRowModels& models, const std::vector<QWidget*>& below,
                      const QColor& background);

}  // namespace tessaro

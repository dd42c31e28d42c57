// SPDX-License-Identifier: GPL-3.0-or-later
// Keys that edit text belong to the text field that has the focus, even when a menu item
// uses the same key as its shortcut: Ctrl+Del in a field deletes the next word there and
// must not run "Delete History".
#pragma once

#include <QObject>

namespace tessaro {

class EditingKeysFirst final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace tessaro

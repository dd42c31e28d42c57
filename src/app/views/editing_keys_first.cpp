// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/views/editing_keys_first.h"

#include <QAbstractSpinBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace tessaro {
namespace {

bool editsText(const QObject* widget) {
    if (const auto* line = qobject_cast<const QLineEdit*>(widget)) return !line->isReadOnly();
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(widget)) return !plain->isReadOnly();
    if (const auto* rich = qobject_cast<const QTextEdit*>(widget)) return !rich->isReadOnly();
    return qobject_cast<const QAbstractSpinBox*>(widget) != nullptr;
}

bool isEditingKey(const QKeyEvent* key) {
    static constexpr QKeySequence::StandardKey kEditing[] = {
        QKeySequence::DeleteEndOfWord, QKeySequence::DeleteStartOfWord, QKeySequence::DeleteEndOfLine,
        QKeySequence::DeleteCompleteLine, QKeySequence::Delete,         QKeySequence::Backspace,
        QKeySequence::Undo,            QKeySequence::Redo,              QKeySequence::Cut,
        QKeySequence::Copy,            QKeySequence::Paste,             QKeySequence::SelectAll,
    };
    for (QKeySequence::StandardKey standard : kEditing) {
        if (key->matches(standard)) return true;
    }
    return false;
}

}  // namespace

bool EditingKeysFirst::eventFilter(QObject* watched, QEvent* event) {
    // Accepting the override hands the key to the field as a key press instead of to the
    // shortcut.
    if (event->type() == QEvent::ShortcutOverride && editsText(watched) &&
        isEditingKey(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace tessaro

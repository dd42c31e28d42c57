// SPDX-License-Identifier: GPL-3.0-or-later
// Shows a long text in a read-only text box piece by piece: the first piece when the text
// is set, the next one whenever the user scrolls to the end of what is shown. A large copy
// then costs the window no more than its first piece, however long the text is.
#pragma once

#include <QObject>

#include "forms/shared_text.h"

class QPlainTextEdit;

namespace tessaro {

class TextPages final : public QObject {
public:
    // About this many characters are added at a time; a piece ends after a line break
    // where there is one.
    static constexpr std::size_t kPieceCharacters = std::size_t{1} << 17;

    explicit TextPages(QPlainTextEdit* widget);

    void show(SharedText text);
    // Characters of the text shown so far.
    std::size_t shown() const { return m_shown; }

private:
    void showMoreWhenAtTheEnd();
    void appendPiece();

    QPlainTextEdit* m_widget;
    SharedText m_text;
    std::size_t m_shown = 0;
};

}  // namespace tessaro

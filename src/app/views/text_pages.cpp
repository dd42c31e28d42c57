// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/views/text_pages.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>

#include "app/qt_text.h"

namespace tessaro {

TextPages::TextPages(QPlainTextEdit* widget) : QObject(widget), m_widget(widget) {
    // Queued: the scroll bars change while a piece is being inserted.
    for (QScrollBar* bar : {widget->verticalScrollBar(), widget->horizontalScrollBar()}) {
        connect(bar, &QScrollBar::valueChanged, this, &TextPages::showMoreWhenAtTheEnd, Qt::QueuedConnection);
        connect(bar, &QScrollBar::rangeChanged, this, &TextPages::showMoreWhenAtTheEnd, Qt::QueuedConnection);
    }
}

void TextPages::show(SharedText text) {
    m_text = std::move(text);
    m_shown = 0;
    m_widget->clear();
    appendPiece();
}

void TextPages::showMoreWhenAtTheEnd() {
    if (m_shown >= m_text.view().size()) return;
    const auto atEnd = [](const QScrollBar* bar) { return bar->value() >= bar->maximum() - bar->pageStep(); };
    // What follows a piece that ended with a line break starts below it; the rest of a line
    // that was cut goes on to the right of its last line. A box that does not scroll yet
    // counts as being at its end.
    const bool cutInsideLine = m_text.view()[m_shown - 1] != u'\n';
    if (atEnd(m_widget->verticalScrollBar()) && (!cutInsideLine || atEnd(m_widget->horizontalScrollBar()))) {
        appendPiece();
    }
}

void TextPages::appendPiece() {
    const std::u16string_view text = m_text.view();
    const std::size_t start = m_shown;
    if (start >= text.size()) return;
    std::size_t end = std::min(text.size(), start + kPieceCharacters);
    if (end < text.size()) {
        // End after a line break; a single long line is cut between two characters, never
        // inside a CR LF or a surrogate pair.
        if (const std::size_t lineEnd = text.rfind(u'\n', end - 1); lineEnd != std::u16string_view::npos && lineEnd >= start) {
            end = lineEnd + 1;
        } else if (text[end - 1] == u'\r' || (text[end - 1] >= 0xD800 && text[end - 1] <= 0xDBFF)) {
            ++end;
        }
    }
    QString piece = toQString(text.substr(start, end - start));
    piece.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_shown = end;
    QTextCursor cursor(m_widget->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(piece);
}

}  // namespace tessaro

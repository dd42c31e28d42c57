// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/views/bindings.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QTextDocument>

#include "app/qt_text.h"
#include "app/views/subscription_keeper.h"
#include "app/views/text_pages.h"

namespace tessaro {

InputEvents::InputEvents(QWidget* widget, const KeyPressHandler* keyPress, const Handler* exit,
                         const Handler* dblClick)
    : QObject(widget), m_keyPress(keyPress), m_exit(exit), m_dblClick(dblClick) {
    widget->installEventFilter(this);
}

bool InputEvents::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (!m_keyPress || !*m_keyPress || key->text().isEmpty()) break;
            // Focus keys move between fields and Delete edits in place; neither is a typed
            // character there, so the field rules never see them.
            if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab ||
                key->key() == Qt::Key_Delete) {
                break;
            }
            // Control keys (Enter, Backspace, ...) arrive as control characters, as typed
            // characters do on the desktop the field rules were made for.
            for (QChar c : key->text()) {
                char16_t typed = c.unicode();
                (*m_keyPress)(typed);
                if (typed == 0) return true;
            }
            break;
        }
        case QEvent::FocusOut:
            if (m_exit && *m_exit) (*m_exit)();
            break;
        case QEvent::MouseButtonDblClick:
            if (m_dblClick && *m_dblClick) {
                (*m_dblClick)();
                return true;
            }
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

ClickEvents::ClickEvents(QWidget* widget, const Handler* click) : QObject(widget), m_click(click) {
    widget->installEventFilter(this);
}

bool ClickEvents::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && m_click && *m_click) {
        (*m_click)();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void bindCheckBox(QCheckBox* widget, CheckBox& model) {
    const auto sync = [widget, &model] {
        const QSignalBlocker block(widget);
        widget->setText(toQString(model.caption()));
        widget->setChecked(model.checked());
        widget->setVisible(model.visible());
        widget->setEnabled(model.enabled());
    };
    sync();
    keepWhileAlive(*widget, model.changed().subscribe(sync));
    QObject::connect(widget, &QCheckBox::clicked, widget, [&model](bool checked) { model.setChecked(checked); });
}

void bindRadioButton(QRadioButton* widget, RadioButton& model) {
    widget->setAutoExclusive(false);  // the model keeps the group
    const auto sync = [widget, &model] {
        const QSignalBlocker block(widget);
        widget->setText(toQString(model.caption()));
        widget->setChecked(model.checked());
        widget->setVisible(model.visible());
        widget->setEnabled(model.enabled());
    };
    sync();
    keepWhileAlive(*widget, model.changed().subscribe(sync));
    QObject::connect(widget, &QRadioButton::clicked, widget, [&model, sync] {
        model.click();
        sync();  // a click on the checked button changes nothing: show the model's state again
    });
}

void bindButton(QPushButton* widget, Button& model) {
    const auto sync = [widget, &model] {
        widget->setText(toQString(model.caption()));
        widget->setVisible(model.visible());
        widget->setEnabled(model.enabled());
    };
    sync();
    keepWhileAlive(*widget, model.changed().subscribe(sync));
    QObject::connect(widget, &QPushButton::clicked, widget, [&model] { model.click(); });
}

void bindLabel(QLabel* widget, Label& model) {
    const auto sync = [widget, &model] {
        widget->setText(toQString(model.caption()));
        widget->setVisible(model.visible());
        QPalette palette = widget->palette();
        if (const auto color = model.color()) {
            palette.setColor(QPalette::WindowText, QColor(color->r, color->g, color->b));
        } else {
            palette.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::WindowText));
        }
        widget->setPalette(palette);
    };
    sync();
    keepWhileAlive(*widget, model.changed().subscribe(sync));
}

void bindClickableLabel(QLabel* widget, Label& model) {
    bindLabel(widget, model);
    widget->setCursor(Qt::PointingHandCursor);
    new ClickEvents(widget, &model.onClick);
}

void bindLinkLabel(QLabel* widget, Label& model) {
    bindClickableLabel(widget, model);
    QFont font = widget->font();
    font.setUnderline(true);
    widget->setFont(font);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::Link));
    widget->setPalette(palette);
}

void bindEdit(QLineEdit* widget, Edit& model) {
    const auto sync = [widget, &model] {
        widget->setPlaceholderText(toQString(model.placeholder()));
        if (toU16(widget->text()) == model.text()) return;
        const QSignalBlocker block(widget);
        widget->setText(toQString(model.text()));
    };
    sync();
    keepWhileAlive(*widget, model.changed().subscribe(sync));
    QObject::connect(widget, &QLineEdit::textEdited, widget,
                     [&model](const QString& text) { model.setText(toU16(text)); });
    keepWhileAlive(*widget, model.selectAllRequested().subscribe([widget] { widget->selectAll(); }));
    new InputEvents(widget, &model.onKeyPress, &model.onExit, &model.onDblClick);
}

void bindComboBox(QComboBox* widget, ComboBox& model) {
    widget->setEditable(true);
    widget->setInsertPolicy(QComboBox::NoInsert);
    const auto sync = [widget, &model] {
        const QSignalBlocker block(widget);
        QStringList items;
        for (const auto& item : model.items()) items << toQString(item);
        bool same = widget->count() == items.size();
        for (int i = 0; same && i < items.size(); ++i) same = widget->itemText(i) == items[i];
        if (!same) {
            widget->clear();
            widget->addItems(items);
        }
        widget->setMaxVisibleItems(model.dropDownCount());
        widget->setCurrentIndex(model.itemIndex());
        widget->setEditText(toQString(model.text()));
    };
    sync();
    keepWhileAlive(*widget, model.changed().subscribe(sync));
    QObject::connect(widget, &QComboBox::textActivated, widget,
                     [&model](const QString& text) { model.userSetText(toU16(text)); });
    QObject::connect(widget->lineEdit(), &QLineEdit::textEdited, widget,
                     [&model](const QString& text) { model.userSetText(toU16(text)); });
    // The combo box has the focus and hands keys and focus changes to its line edit
    // directly, past any filter there: the rules watch the combo box itself.
    new InputEvents(widget, &model.onKeyPress, &model.onExit, nullptr);
}

void bindMenuItem(QAction* action, MenuItem& model) {
    const auto sync = [action, &model] {
        const QSignalBlocker block(action);
        action->setText(toQString(model.caption()));
        action->setStatusTip(toQString(model.hint()));
        // Only a checked item shows a mark: an unchecked item is a plain command, so it
        // shows no empty box.
        action->setCheckable(model.checked());
        action->setChecked(model.checked());
        action->setVisible(model.visible());
        action->setEnabled(model.enabled());
    };
    if (!model.shortcut().empty()) {
        action->setShortcut(QKeySequence(QString::fromStdString(model.shortcut())));
    }
    sync();
    keepWhileAlive(*action, model.changed().subscribe(sync));
    // The menu the action was added to is its parent.
    if (auto* menu = qobject_cast<QMenu*>(action->parent())) {
        QObject::connect(menu, &QMenu::aboutToShow, action, [&model] { model.menuOpening(); });
    }
    QObject::connect(action, &QAction::triggered, action, [action, &model, sync] {
        model.click();
        sync();  // the handler decides the check mark, not the action's own toggle
    });
}

void bindPanelCaption(QLabel* widget, Panel& model) {
    const auto sync = [widget, &model] { widget->setText(toQString(model.caption())); };
    sync();
    keepWhileAlive(*widget, model.changed().subscribe(sync));
}

void bindMemoView(QPlainTextEdit* widget, Memo& model) {
    widget->setReadOnly(true);
    widget->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* pages = new TextPages(widget);
    const auto sync = [pages, &model] { pages->show(model.sharedText()); };
    sync();
    keepWhileAlive(*widget, model.changed().subscribe(sync));
}

void bindMemo(QPlainTextEdit* widget, Memo& model) {
    widget->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The raw text keeps non-breaking spaces; paragraph and line separators are the breaks
    // the user typed.
    const auto widgetText = [widget] {
        QString text = widget->document()->toRawText();
        for (QChar& c : text) {
            if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) c = u'\n';
        }
        return text;
    };
    const auto sync = [widget, &model, widgetText] {
        QString text = toQString(model.text());
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        if (widgetText() != text) {
            const QSignalBlocker block(widget);
            widget->setPlainText(text);
        }
        QPalette palette = widget->palette();
        const auto color = model.color();
        palette.setColor(QPalette::Text, color ? QColor(color->r, color->g, color->b)
                                               : QApplication::palette().color(QPalette::Text));
        widget->setPalette(palette);
        widget->setVisible(model.visible());
        widget->setEnabled(model.enabled());
    };
    sync();
    keepWhileAlive(*widget, model.changed().subscribe(sync));
    QObject::connect(widget, &QPlainTextEdit::textChanged, widget, [&model, widgetText] {
        QString text = widgetText();
        text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        model.setText(toU16(text));
    });
}

void bindTabSet(QTabBar* widget, TabSet& model) {
    const auto sync = [widget, &model] {
        const QSignalBlocker block(widget);
        while (widget->count() > static_cast<int>(model.tabs().size())) widget->removeTab(widget->count() - 1);
        for (std::size_t i = 0; i < model.tabs().size(); ++i) {
            const int index = static_cast<int>(i);
            if (index < widget->count()) {
                widget->setTabText(index, toQString(model.tabs()[i]));
            } else {
                widget->addTab(toQString(model.tabs()[i]));
            }
        }
        widget->setCurrentIndex(model.tabIndex());
    };
    sync();
    keepWhileAlive(*widget, model.changed().subscribe(sync));
    QObject::connect(widget, &QTabBar::currentChanged, widget, [&model](int index) { model.setTabIndex(index); });
}

void bindPageControl(QStackedWidget* widget, PageControl& model,
                     const std::map<const Panel*, QWidget*>& pages) {
    const auto sync = [widget, &model, pages] {
        const auto it = pages.find(model.activePage());
        if (it != pages.end()) widget->setCurrentWidget(it->second);
    };
    sync();
    keepWhileAlive(*widget, model.changed().subscribe(sync));
}

}  // namespace tessaro

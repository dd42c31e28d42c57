// SPDX-License-Identifier: GPL-3.0-or-later
// Generic two-way bindings between headless controls and Qt widgets: the model's state is
// copied to the widget with the widget's signals blocked, and user input goes to the model.
#pragma once

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTabBar>
#include <map>

#include "forms/buttons.h"
#include "forms/containers.h"
#include "forms/menu_item.h"
#include "forms/text_controls.h"

namespace tessaro {

// Typed characters, leaving and double clicks of a widget, handed to a model's handlers.
class InputEvents final : public QObject {
public:
    InputEvents(QWidget* widget, const KeyPressHandler* keyPress, const Handler* exit,
                const Handler* dblClick);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const KeyPressHandler* m_keyPress;
    const Handler* m_exit;
    const Handler* m_dblClick;
};

// Mouse clicks on a widget, handed to a model's click handler.
class ClickEvents final : public QObject {
public:
    ClickEvents(QWidget* widget, const Handler* click);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const Handler* m_click;
};

void bindCheckBox(QCheckBox* widget, CheckBox& model);
void bindRadioButton(QRadioButton* widget, RadioButton& model);
void bindButton(QPushButton* widget, Button& model);
void bindLabel(QLabel* widget, Label& model);
// A label that reacts to clicks, with a hand cursor.
void bindClickableLabel(QLabel* widget, Label& model);
// A clickable label drawn as a link (to a help page): underlined, in the link colour.
void bindLinkLabel(QLabel* widget, Label& model);
// An edit field: typed characters pass the model's key filter first; leaving the field
// and double clicks reach the model.
void bindEdit(QLineEdit* widget, Edit& model);
// An editable combo box: items and text from the model, typing and picking to the model.
void bindComboBox(QComboBox* widget, ComboBox& model);
void bindMenuItem(QAction* action, MenuItem& model);
void bindPanelCaption(QLabel* widget, Panel& model);
// A read-only text view of a memo. Very long texts are cut for display only, so that the
// window stays responsive; the memo keeps the whole text.
void bindMemoView(QPlainTextEdit* widget, Memo& model);
// An editable memo: line breaks become CR LF in the model, the model's font colour shows.
void bindMemo(QPlainTextEdit* widget, Memo& model);
void bindTabSet(QTabBar* widget, TabSet& model);
void bindPageControl(QStackedWidget* widget, PageControl& model,
                     const std::map<const Panel*, QWidget*>& pages);

}  // namespace tessaro

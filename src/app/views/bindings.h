// Generic two-way bindings between headless controls and Qt widgets: the model's state is
// copied to the widget with the widget's signals blocked, and user input goes to the model.
#pragma once

#include <QAction>
#include <QCheckBox>
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

void bindCheckBox(QCheckBox* widget, CheckBox& model);
void bindMenuItem(QAction* action, MenuItem& model);
void bindPanelCaption(QLabel* widget, Panel& model);
// A read-only text view of a memo. Very long texts are cut for display only, so that the
// window stays responsive; the memo keeps the whole text.
void bindMemoView(QPlainTextEdit* widget, Memo& model);
void bindTabSet(QTabBar* widget, TabSet& model);
void bindPageControl(QStackedWidget* widget, PageControl& model,
                     const std::map<const Panel*, QWidget*>& pages);

}  // namespace tessaro

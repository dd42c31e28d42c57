// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt window of the main window: the history column, the content display and the
// actions area, laid out as the headless window says and forwarding user input to it.
#pragma once

#include <QMainWindow>
#include <QMenu>
#include <QSplitter>
#include <map>

#include "ui/main_window.h"

namespace tessaro {

class MainWindowView final : public QMainWindow {
public:
    explicit MainWindowView(Tprog& model);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildHistoryColumn();
    QWidget* buildContentArea();
    QWidget* buildActionsArea();
    // The box of settings below an action's switch.
    QWidget* buildDetailRow(std::size_t action);
    QWidget* framed(Panel& titleBar, QWidget* body);
    void buildMenus();
    // Adds the actions of menu items the model added since the last call (known files).
    void addNewMenuActions(QMenu* menu, MenuItem& model);
    // Puts a size or place that the model changed (a loaded configuration) on the window.
    void applyModelGeometry();
    // The size asked for, no larger than the screen's usable area.
    QSize withinScreen(QSize wanted) const;
    // Tells the model the window's size and place after the user or the desktop changed them.
    void reportGeometry();
    // Splits the columns and rows by the window's resize rule.
    void applyResizeRule();

    Tprog& m_model;
    QSplitter* m_columns = nullptr;
    QSplitter* m_rows = nullptr;
    bool m_resizePending = false;
    QRect m_syncedGeometry;  // the model's size and place as last put on the window or read
    std::map<const MenuItem*, int> m_shownItems;  // menu -> items with an action
};

}  // namespace tessaro

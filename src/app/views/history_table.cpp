// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/views/history_table.h"

#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>

#include "app/views/bindings.h"
#include "app/views/list_view_model.h"

namespace tessaro {
namespace {

// The popup menu opens where the current row is when a key asks for it.
class MenuKeys final : public QObject {
public:
    MenuKeys(QTableView* table, std::function<void(QPoint)> open) : QObject(table), m_table(table), m_open(std::move(open)) {
        table->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ContextMenu &&
            static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
            openAtCurrentRow();
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
                openAtCurrentRow();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void openAtCurrentRow() {
        const QRect row = m_table->visualRect(m_table->currentIndex());
        m_open(row.isValid() ? row.center() : QPoint(m_table->viewport()->width() / 2, 0));
    }

    QTableView* m_table;
    std::function<void(QPoint)> m_open;
};

// Keeps the newest row in view while the user has not scrolled away from it.
void followNewestRows(QTableView* table) {
    QScrollBar* bar = table->verticalScrollBar();
    auto atNewest = std::make_shared<bool>(true);
    QObject::connect(bar, &QScrollBar::valueChanged, table,
                     [bar, atNewest](int value) { *atNewest = value == bar->maximum(); });
    QObject::connect(bar, &QScrollBar::rangeChanged, table, [bar, atNewest](int, int maximum) {
        if (*atNewest) bar->setValue(maximum);
    });
}

}  // namespace

QTableView* buildHistoryTable(Tprog& model, QWidget* parent) {
    auto* list = new QTableView(parent);
    list->setObjectName(QStringLiteral("zuletzt"));
    bindListView(list, model.zuletzt);
    // The popup menu opens only when the model lets it (with a selected row).
    auto* popup = new QMenu(list);
    popup->setObjectName(QString::fromStdString(model.PopupMenu2.name()));
    for (MenuItem* item : model.PopupMenu2.items()) {
        QAction* action = popup->addAction(QString());
        action->setObjectName(QString::fromStdString(item->name()));
        bindMenuItem(action, *item);
    }
    const auto open = [&model, list, popup](QPoint inViewport) {
        if (model.PopupMenu2Popup()) popup->popup(list->viewport()->mapToGlobal(inViewport));
    };
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(list, &QWidget::customContextMenuRequested, popup, open);
    new MenuKeys(list, open);
    followNewestRows(list);
    return list;
}

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/views/list_view_model.h"

#include <algorithm>
#include <memory>

#include <QHeaderView>
#include <QKeyEvent>
#include <QItemSelectionModel>
#include <QSignalBlocker>
#include <QTextDocument>

#include "app/qt_text.h"
#include "app/views/subscription_keeper.h"

namespace tessaro {
namespace {

constexpr std::size_t kPreviewCharacters = 256;

// The first characters of a cell on one line, as a list row shows it.
QString preview(std::u16string_view text) {
    const bool cut = text.size() > kPreviewCharacters;
    QString shown = toQString(text.substr(0, kPreviewCharacters));
    for (QChar& c : shown) {
        if (c == u'\r' || c == u'\n' || c == u'\t') c = u' ';
    }
    if (cut) shown += QChar(0x2026);
    return shown;
}

// Key presses in a list, handed to the list's key handler as the key codes it knows:
// 46 for Delete, 65 to 90 for the letters, 48 to 57 for the digits. Delete and Ctrl+A
// belong to the handler alone; other keys keep their usual meaning in the view too.
class ListKeys final : public QObject {
public:
    ListKeys(QTableView* view, ListView& list) : QObject(view), m_list(list) { view->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !m_list.onKeyDown) return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        int code = 0;
        if (key->key() == Qt::Key_Delete) code = 46;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) code = 13;
        if ((key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z) ||
            (key->key() >= Qt::Key_0 && key->key() <= Qt::Key_9)) {
            code = key->key();
        }
        if (code == 0) return QObject::eventFilter(watched, event);
        const bool ctrl = key->modifiers().testFlag(Qt::ControlModifier);
        m_list.onKeyDown(code, ctrl);
        return code == 46 || code == 13 || (code == 65 && ctrl);
    }

private:
    ListView& m_list;
};

}  // namespace

ListViewModel::ListViewModel(ListView& list, QObject* parent)
    : QAbstractTableModel(parent), m_list(list), m_rows(static_cast<int>(list.shownCount())) {
    keepWhileAlive(*this, m_list.listChanged().subscribe([this](const ListChange& change) { listChanged(change); }));
}

void ListViewModel::listChanged(const ListChange& change) {
    switch (change.kind) {
        case ListChange::Kind::Inserted:
            beginInsertRows({}, change.first, change.first + change.count - 1);
            m_rows = static_cast<int>(m_list.shownCount());
            endInsertRows();
            break;
        case ListChange::Kind::Removed:
            beginRemoveRows({}, change.first, change.first + change.count - 1);
            m_rows = static_cast<int>(m_list.shownCount());
            endRemoveRows();
            break;
        case ListChange::Kind::Reset:
            beginResetModel();
            m_rows = static_cast<int>(m_list.shownCount());
            endResetModel();
            break;
        case ListChange::Kind::Columns:
            emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
            break;
        case ListChange::Kind::Selection:
        case ListChange::Kind::HiddenRows:
            break;
    }
}

int ListViewModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_rows; }

int ListViewModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_list.columns().size());
}

QVariant ListViewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows) return {};
    const ListItem& item = m_list.item(m_list.shownRow(static_cast<std::size_t>(index.row())));
    const std::u16string_view cell = item.cell(static_cast<std::size_t>(index.column()));
    if (role == Qt::DisplayRole) return preview(cell);
    // Tips render what looks like HTML; a copied HTML source is shown as the text it is.
    if (role == Qt::ToolTipRole && cell.size() > 40) return Qt::convertFromPlainText(preview(cell));
    return {};
}

QVariant ListViewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section < 0 || static_cast<std::size_t>(section) >= m_list.columns().size()) return {};
    return toQString(m_list.columns()[static_cast<std::size_t>(section)].caption);
}

void bindListView(QTableView* view, ListView& list) {
    auto* model = new ListViewModel(list, view);
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(list.multiSelect() ? QAbstractItemView::ExtendedSelection
                                              : QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    view->setTextElideMode(Qt::ElideRight);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
    view->horizontalHeader()->setStretchLastSection(true);
    view->horizontalHeader()->setHighlightSections(false);
    for (std::size_t i = 0; i < list.columns().size(); ++i) {
        view->setColumnWidth(static_cast<int>(i), list.columns()[i].width);
    }
    // Selections go both ways, each as one batch: with many rows, a change costs one pass
    // over the rows, never one per row. The flag keeps an echo from going back. The view's
    // rows are the list's shown rows: shownRow() turns one into the list's row.
    auto mirroring = std::make_shared<bool>(false);
    QObject::connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, view,
                     [view, &list, mirroring] {
                         if (*mirroring) return;
                         std::vector<std::size_t> rows;
                         for (const QItemSelectionRange& range : view->selectionModel()->selection()) {
                             for (int row = range.top(); row <= range.bottom(); ++row) {
                                 // Qt may report rows that a removal has just taken away.
                                 const auto position = static_cast<std::size_t>(row);
                                 if (position < list.shownCount()) rows.push_back(list.shownRow(position));
                             }
                         }
                         *mirroring = true;
                         list.setSelectedRows(rows);
                         *mirroring = false;
                     });
    keepWhileAlive(*view, list.listChanged().subscribe([view, &list, mirroring](const ListChange& change) {
        if (*mirroring) return;
        if (change.kind != ListChange::Kind::Selection && change.kind != ListChange::Kind::Reset) return;
        QAbstractItemModel* model = view->model();
        const int lastColumn = std::max(0, model->columnCount() - 1);
        QItemSelection selection;
        const auto& items = list.items();
        const std::size_t shown = list.shownCount();
        const auto selected = [&](std::size_t position) { return items[list.shownRow(position)].selected; };
        for (std::size_t position = 0; position < shown;) {
            if (!selected(position)) {
                ++position;
                continue;
            }
            const std::size_t first = position;
            while (position < shown && selected(position)) ++position;
            selection.select(model->index(static_cast<int>(first), 0),
                             model->index(static_cast<int>(position - 1), lastColumn));
        }
        *mirroring = true;
        view->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
        *mirroring = false;
    }));
    new ListKeys(view, list);
    view->horizontalHeader()->setSectionsClickable(true);
    view->horizontalHeader()->setSortIndicatorShown(false);
    // The model sorts; the view only reports the click.
    QObject::connect(view->horizontalHeader(), &QHeaderView::sectionClicked, view, [&list](int column) {
        if (list.onColumnClick) list.onColumnClick(column);
    });
    QObject::connect(view, &QTableView::doubleClicked, view, [&list] { fire(list.onDblClick); });
}

}  // namespace tessaro

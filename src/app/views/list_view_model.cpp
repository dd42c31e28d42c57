#include "app/views/list_view_model.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QSignalBlocker>

#include "app/qt_text.h"

namespace tessaro {
namespace {

constexpr std::size_t kPreviewCharacters = 256;

// The first characters of a cell on one line, as a list row shows it.
QString preview(const std::u16string& text) {
    const bool cut = text.size() > kPreviewCharacters;
    QString shown = toQString(std::u16string_view(text).substr(0, kPreviewCharacters));
    for (QChar& c : shown) {
        if (c == u'\r' || c == u'\n' || c == u'\t') c = u' ';
    }
    if (cut) shown += QChar(0x2026);
    return shown;
}

}  // namespace

ListViewModel::ListViewModel(ListView& list, QObject* parent)
    : QAbstractTableModel(parent), m_list(list), m_rows(static_cast<int>(list.count())) {
    m_list.listChanged().subscribe([this](const ListChange& change) { listChanged(change); });
}

void ListViewModel::listChanged(const ListChange& change) {
    switch (change.kind) {
        case ListChange::Kind::Inserted:
            beginInsertRows({}, change.first, change.first + change.count - 1);
            m_rows = static_cast<int>(m_list.count());
            endInsertRows();
            break;
        case ListChange::Kind::Removed:
            beginRemoveRows({}, change.first, change.first + change.count - 1);
            m_rows = static_cast<int>(m_list.count());
            endRemoveRows();
            break;
        case ListChange::Kind::Reset:
            beginResetModel();
            m_rows = static_cast<int>(m_list.count());
            endResetModel();
            break;
        case ListChange::Kind::Columns:
            emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
            break;
        case ListChange::Kind::Selection:
            break;
    }
}

int ListViewModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_rows; }

int ListViewModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_list.columns().size());
}

QVariant ListViewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows) return {};
    const ListItem& item = m_list.item(static_cast<std::size_t>(index.row()));
    const std::u16string& cell = item.cell(static_cast<std::size_t>(index.column()));
    if (role == Qt::DisplayRole) return preview(cell);
    if (role == Qt::ToolTipRole && cell.size() > 40) return preview(cell);
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
    QObject::connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, view,
                     [view, &list] {
                         const QModelIndexList rows = view->selectionModel()->selectedRows();
                         std::vector<bool> selected(list.count(), false);
                         for (const QModelIndex& row : rows) {
                             if (static_cast<std::size_t>(row.row()) < selected.size()) {
                                 selected[static_cast<std::size_t>(row.row())] = true;
                             }
                         }
                         for (std::size_t i = 0; i < selected.size(); ++i) list.setSelected(i, selected[i]);
                     });
    QObject::connect(view, &QTableView::doubleClicked, view, [&list] { fire(list.onDblClick); });
}

}  // namespace tessaro

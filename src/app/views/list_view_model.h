// SPDX-License-Identifier: GPL-3.0-or-later
// A Qt table model over a headless list view: its rows are the list's shown rows (all of
// them unless a filter hides some), updated incrementally, and cells show a one-line
// preview of long texts while the list keeps them whole.
#pragma once

#include <QAbstractTableModel>
#include <QTableView>

#include "forms/list_view.h"

namespace tessaro {

class ListViewModel final : public QAbstractTableModel {
public:
    ListViewModel(ListView& list, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void listChanged(const ListChange& change);

    ListView& m_list;
    int m_rows = 0;
};

// Sets up a report-style table view over the list (whole-row selection, selection
// mirrored into the list, double click forwarded).
void bindListView(QTableView* view, ListView& list);

}  // namespace tessaro

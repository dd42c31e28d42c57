// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt views of the history: selections both ways, the keys and header clicks that
// reach the model, the search field and the rows it hides, the settings dialog, and a
// table of 100,000 rows that stays quick.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTableView>
#include <QToolButton>

#include "app/qt_desktop.h"
#include "app/qt_text.h"
#include "app/views/history_settings_view.h"
#include "app/views/list_view_model.h"
#include "app/views/main_window_view.h"
#include "support/app_fixture.h"

namespace tessaro {
namespace {

void press(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(widget, &event);
}

std::vector<int> selectedRowsOf(QTableView* view) {
    std::vector<int> rows;
    for (const QModelIndex& index : view->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

class HistoryView : public testing::AppFixture {};

TEST_F(HistoryView, KeysSelectionAndHeaderClicksReachTheModel) {
    MainWindowView view(prog());
    auto* table = view.findChild<QTableView*>(QStringLiteral("zuletzt"));
    ASSERT_NE(table, nullptr);
    copyText(u"b");
    copyText(u"a");
    copyText(u"c");
    table->selectionModel()->select(
        table->model()->index(1, 0),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    EXPECT_EQ(prog().zuletzt.selectedRows(), (std::vector<std::size_t>{1}));
    press(table, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(prog().zuletzt.selectedRows().size(), 3u);
    EXPECT_EQ(selectedRowsOf(table), (std::vector<int>{0, 1, 2}))
        << "the model's selection reaches the view";
    prog().zuletzt.setSelectedRows({0});
    EXPECT_EQ(selectedRowsOf(table), (std::vector<int>{0}));
    emit table->horizontalHeader()->sectionClicked(2);
    EXPECT_EQ(table->model()->data(table->model()->index(0, 2)).toString(), QStringLiteral("a"));
    EXPECT_EQ(selectedRowsOf(table), (std::vector<int>{1}))
        << "the selected row b moved with the sort";
    press(table, Qt::Key_Delete);
    EXPECT_EQ(table->model()->rowCount(), 2);
    EXPECT_EQ(app.history().HistoryTexts[0].str(), u"") << "Delete empties the store entry of b";
    auto* popup = view.findChild<QMenu*>(QStringLiteral("PopupMenu2"));
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->actions().size(), 2);
    EXPECT_EQ(popup->actions()[1]->text(), QStringLiteral("Delete from List (DEL-Key)"));
}

void typeInto(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        QKeyEvent event(QEvent::KeyPress, c.toUpper().unicode(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &event);
    }
}

QStringList contentColumn(QTableView* table) {
    QStringList cells;
    for (int row = 0; row < table->model()->rowCount(); ++row) {
        cells << table->model()->data(table->model()->index(row, 2)).toString();
    }
    return cells;
}

TEST_F(HistoryView, TheSearchFieldShowsMatchingRowsAndSelectionsMapToTheirRows) {
    MainWindowView view(prog());
    view.show();
    auto* table = view.findChild<QTableView*>(QStringLiteral("zuletzt"));
    auto* search = view.findChild<QLineEdit*>(QStringLiteral("ed_history_filter"));
    ASSERT_TRUE(table && search);
    EXPECT_TRUE(search->isClearButtonEnabled());
    for (const char16_t* text : {u"alpha", u"beta", u"Alphabet", u"gamma", u"ALPINE"}) copyText(text);
    typeInto(search, QStringLiteral("alp"));
    EXPECT_EQ(prog().ed_history_filter.text(), u"alp");
    EXPECT_EQ(contentColumn(table), (QStringList{"alpha", "Alphabet", "ALPINE"}));

    // View row 1 is list row 2, and back.
    table->selectionModel()->select(table->model()->index(1, 0),
                                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    EXPECT_EQ(prog().zuletzt.selectedRows(), (std::vector<std::size_t>{2}));
    prog().zuletzt.setSelectedRows({4});
    EXPECT_EQ(selectedRowsOf(table), (std::vector<int>{2}));
    emit table->horizontalHeader()->sectionClicked(2);
    EXPECT_EQ(contentColumn(table), (QStringList{"alpha", "Alphabet", "ALPINE"})) << "sorted, still searched";
    EXPECT_EQ(selectedRowsOf(table), (std::vector<int>{2})) << "ALPINE stays selected";
    copyText(u"alpaca");
    copyText(u"delta");
    EXPECT_EQ(contentColumn(table).last(), QStringLiteral("alpaca"));

    press(table, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(prog().zuletzt.selectedRows().size(), 4u) << "Ctrl+A: the rows shown";
    press(table, Qt::Key_Delete);
    EXPECT_EQ(table->model()->rowCount(), 0);
    EXPECT_EQ(prog().zuletzt.count(), 3u) << "the hidden rows stay";

    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
    QApplication::sendEvent(search, &escape);
    EXPECT_TRUE(search->text().isEmpty());
    EXPECT_EQ(contentColumn(table), (QStringList{"beta", "gamma", "delta"}));
    typeInto(search, QStringLiteral("ta"));
    EXPECT_EQ(table->model()->rowCount(), 2);
    auto* clear = search->findChild<QToolButton*>();
    ASSERT_NE(clear, nullptr) << "the clear button";
    clear->click();
    EXPECT_EQ(prog().ed_history_filter.text(), u"");
    EXPECT_EQ(table->model()->rowCount(), 3);
}

TEST_F(HistoryView, CtrlFFocusesTheSearchWhoseHintFollowsTheLanguage) {
    MainWindowView view(prog());
    view.show();
    view.activateWindow();
    QApplication::processEvents();
    auto* search = view.findChild<QLineEdit*>(QStringLiteral("ed_history_filter"));
    auto* table = view.findChild<QTableView*>(QStringLiteral("zuletzt"));
    auto* find = view.findChild<QAction*>(QStringLiteral("ed_history_filter/focus"));
    ASSERT_TRUE(search && table && find);
    EXPECT_EQ(search->placeholderText(), QStringLiteral("Search history (Ctrl+F)"));
    EXPECT_EQ(find->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
    EXPECT_EQ(find->shortcutContext(), Qt::WindowShortcut);
    EXPECT_TRUE(view.actions().contains(find)) << "a shortcut of the whole window";
    prog().ed_history_filter.setText(u"abc");
    table->setFocus();
    find->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(search->hasFocus());
    EXPECT_EQ(search->selectedText(), QStringLiteral("abc")) << "typing replaces the old search";
    prog().einst_spr_deClick();
    EXPECT_EQ(search->placeholderText(), QStringLiteral("Verlauf durchsuchen (Strg+F)"));
    prog().einst_spr_enClick();
    EXPECT_EQ(search->placeholderText(), QStringLiteral("Search history (Ctrl+F)"));
}

TEST_F(HistoryView, MenusHoldTheHistoryItemsWithTheirShortcuts) {
    MainWindowView view(prog());
    auto* save = view.findChild<QAction*>(QStringLiteral("saveverlauf"));
    auto* clear = view.findChild<QAction*>(QStringLiteral("delverlauf"));
    auto* settings = view.findChild<QAction*>(QStringLiteral("einst_verl"));
    ASSERT_TRUE(save && clear && settings);
    EXPECT_EQ(save->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(clear->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Delete));
    copyText(u"x");
    clear->trigger();
    EXPECT_EQ(rows(), 0u);
    settings->trigger();
    EXPECT_TRUE(app.historySettings().visible());
}

TEST_F(HistoryView, DeleteHistoryCanBeUndoneUntilTheNextCapture) {
    MainWindowView view(prog());
    auto* table = view.findChild<QTableView*>(QStringLiteral("zuletzt"));
    auto* clear = view.findChild<QAction*>(QStringLiteral("delverlauf"));
    ASSERT_TRUE(table && clear);
    copyText(u"eins");
    copyText(u"zwei");
    clear->trigger();
    EXPECT_EQ(table->model()->rowCount(), 0);
    EXPECT_NE(prog().lb_status.caption().find(u"Undo"), std::u16string::npos) << "the strip offers the undo";
    press(table, Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(table->model()->rowCount(), 2);
    EXPECT_EQ(table->model()->data(table->model()->index(1, 2)).toString(), QStringLiteral("zwei"));
    EXPECT_EQ(prog().lb_status.caption().find(u"Undo"), std::u16string::npos);

    // Deleted again, the strip's click brings the rows back too; after a capture nothing does.
    clear->trigger();
    prog().lb_status.onClick();
    EXPECT_EQ(rows(), 2u);
    clear->trigger();
    copyText(u"drei");
    press(table, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(rows(), 1u);
    EXPECT_EQ(lastRow().cell(2), u"drei");
}

TEST_F(HistoryView, EnterCopiesBackAndTheMenuKeyOpensThePopup) {
    MainWindowView view(prog());
    view.show();
    auto* table = view.findChild<QTableView*>(QStringLiteral("zuletzt"));
    auto* popup = view.findChild<QMenu*>(QStringLiteral("PopupMenu2"));
    ASSERT_TRUE(table && popup);
    copyText(u"erster");
    copyText(u"zweiter");
    prog().zuletzt.setSelectedRows({0});
    // Current without a selection command: the view's own would read the application's
    // modifiers, which a Ctrl sent by an earlier test leaves held.
    table->selectionModel()->setCurrentIndex(table->model()->index(0, 0), QItemSelectionModel::NoUpdate);
    press(table, Qt::Key_Return);
    EXPECT_EQ(app.clipboard().ReadUnicodeText(), u"erster");
    EXPECT_EQ(rows(), 2u) << "copying back adds no row";

    for (const auto& [key, modifiers] : {std::pair{Qt::Key_Menu, Qt::NoModifier}, std::pair{Qt::Key_F10, Qt::ShiftModifier}}) {
        QContextMenuEvent byKey(QContextMenuEvent::Keyboard, QPoint(), QPoint());
        if (key == Qt::Key_Menu) {
            QApplication::sendEvent(table, &byKey);
        } else {
            press(table, key, modifiers);
        }
        EXPECT_TRUE(popup->isVisible()) << "key " << key;
        popup->hide();
    }
}

TEST_F(HistoryView, NewRowsStayInViewUnlessTheUserScrolledAway) {
    MainWindowView view(prog());
    view.show();
    auto* table = view.findChild<QTableView*>(QStringLiteral("zuletzt"));
    ASSERT_NE(table, nullptr);
    for (int i = 0; i < 80; ++i) copyText(u"Zeile " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)));
    QApplication::processEvents();
    QScrollBar* bar = table->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0) << "enough rows to scroll";
    EXPECT_EQ(bar->value(), bar->maximum()) << "the newest row is in view";
    bar->setValue(0);  // the user looks at old rows
    copyText(u"neu");
    QApplication::processEvents();
    EXPECT_EQ(bar->value(), 0) << "a new row does not pull the user away";
}

TEST_F(HistoryView, SettingsDialogMirrorsTheMainSwitches) {
    HistorySettingsView view(app.historySettings(), nullptr);
    EXPECT_EQ(view.size(), QSize(219, 247));
    EXPECT_EQ(view.windowTitle(), QStringLiteral("History Settings"));
    auto* images = view.findChild<QCheckBox*>(QStringLiteral("cb_history_img"));
    ASSERT_NE(images, nullptr);
    copy({{CF_BITMAP, testing::testBitmap(2, 2)}});
    images->click();
    EXPECT_FALSE(prog().cb_history_img.checked());
    EXPECT_EQ(rows(), 0u);
    prog().cb_history_img.setChecked(true);
    EXPECT_TRUE(images->isChecked());
}

TEST(HistoryViewScale, AHundredThousandRowsSelectAndRemoveInBatches) {
    Form form("f");
    auto& list = form.add<ListView>("zuletzt");
    list.setMultiSelect(true);
    list.setColumns({{u"Time", 63}, {u"Type", 44}, {u"Content", 100}});
    QTableView table;
    bindListView(&table, list);
    table.resize(300, 600);
    table.show();
    constexpr int kRows = 100'000;
    for (int i = 0; i < kRows; ++i) list.append({u"12:00:00", {u"Text", u"row", u"0"}});
    QApplication::processEvents();
    list.selectAll();
    table.selectionModel()->select(table.model()->index(kRows / 2, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    std::vector<std::size_t> everyOther;
    for (std::size_t i = 0; i < kRows; i += 2) everyOther.push_back(i);
    list.setSelectedRows(everyOther);
    list.remove(everyOther);
    QApplication::processEvents();
    EXPECT_EQ(table.model()->rowCount(), kRows / 2);
    EXPECT_TRUE(selectedRowsOf(&table).empty());
}

TEST(HistoryViewScale, TheDesktopsCollationSortsAHundredThousandContents) {
    QtDesktop desktop({});
    Form form("f");
    auto& list = form.add<ListView>("zuletzt");
    for (int i = 0; i < 100'000; ++i) {
        const unsigned mix = static_cast<unsigned>(i) * 2654435761u;
        const QString text =
            (i % 2 ? QStringLiteral("Clipboard %1") : QStringLiteral("clipboard %1 \u00fcber"))
                .arg(mix);
        list.append({u"12:00:00", {u"Text", toU16(text), u"0"}});
    }
    list.append({u"12:00:00", {u"Text", u"ALPHA", u"0"}});
    list.append({u"12:00:00", {u"Text", u"beta", u"0"}});
    list.append({u"12:00:00", {u"Text", u"alpha", u"0"}});
    SortState state;
    SortListByColumn(list, SortedList::History, 2, state, desktop);
    EXPECT_EQ(list.item(0).cell(2), u"ALPHA") << "case ignored: equal rows keep their order";
    EXPECT_EQ(list.item(1).cell(2), u"alpha");
    EXPECT_EQ(list.item(2).cell(2), u"beta");
    for (std::size_t i = 4; i < list.count(); ++i) {
        ASSERT_LE(desktop.compareTextIgnoreCase(list.item(i - 1).cell(2), list.item(i).cell(2)), 0)
            << i;
    }
}

}  // namespace
}  // namespace tessaro

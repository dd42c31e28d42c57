// SPDX-License-Identifier: GPL-3.0-or-later
// The history list on the whole program: store indices through deletes, copying back
// through the pipeline, the switches and their mirrors, and sorting both lists with
// their shared state.
#include <gtest/gtest.h>

#include "support/app_fixture.h"

namespace tessaro {
namespace {

using testing::testBitmap;

class History : public testing::AppFixture {
protected:
    void copyAt(std::u16string_view text, int hour, int minute, int second) {
        desktop.setNow({2026, 12, 9, hour, minute, second, 0});
        copyText(text);
    }
    void copyImageAt(int width, int height, int hour, int minute, int second) {
        desktop.setNow({2026, 12, 9, hour, minute, second, 0});
        copy({{CF_BITMAP, testBitmap(width, height)}});
    }
    void selectOnly(std::size_t row) { prog().zuletzt.setSelectedRows({row}); }
    std::vector<std::u16string> column(std::size_t cell) {
        std::vector<std::u16string> cells;
        for (const ListItem& item : prog().zuletzt.items()) cells.emplace_back(item.cell(cell));
        return cells;
    }
    std::u16string stored(std::size_t index) { return app.history().HistoryTexts.at(index).str(); }
    HistoryList& list() { return prog().historyList(); }
};

TEST_F(History, DeleteKeyEmptiesTheStoreEntryAndIndicesKeepGrowing) {
    copyText(u"a");
    copyText(u"b");
    copyText(u"c");
    EXPECT_EQ(column(3), (std::vector<std::u16string>{u"0", u"1", u"2"}));
    selectOnly(1);
    prog().zuletztKeyDown(HistoryList::kKeyDelete, false);
    EXPECT_EQ(column(2), (std::vector<std::u16string>{u"a", u"c"}));
    EXPECT_EQ(stored(1), u"");
    EXPECT_EQ(stored(0), u"a");
    EXPECT_EQ(stored(2), u"c");
    copyText(u"d");
    EXPECT_EQ(lastRow().cell(3), u"3");
    EXPECT_EQ(app.history().HistoryTexts.size(), 4u) << "the store never shrinks";
}

TEST_F(History, PopupDeleteAndDeleteHistoryKeepTheStore) {
    copyText(u"a");
    copyImageAt(640, 480, 14, 6, 10);
    copyText(u"b");
    EXPECT_FALSE(prog().PopupMenu2Popup()) << "no selection, no menu";
    prog().zuletzt.setSelectedRows({0, 1});
    EXPECT_TRUE(prog().PopupMenu2Popup());
    prog().pop2.click();
    EXPECT_EQ(column(2), (std::vector<std::u16string>{u"b"}));
    EXPECT_EQ(stored(0), u"a");
    prog().delverlauf.click();
    EXPECT_EQ(rows(), 0u);
    EXPECT_EQ(stored(1), u"b");
    copyText(u"c");
    copyImageAt(1, 1, 14, 7, 0);
    EXPECT_EQ(column(3), (std::vector<std::u16string>{u"2", u"1"})) << "both counters kept";
}

TEST_F(History, CtrlASelectsEveryRowAndOtherKeysDoNothing) {
    prog().zuletztKeyDown(HistoryList::kKeyA, true);  // empty list
    prog().zuletztKeyDown(HistoryList::kKeyDelete, false);
    copyText(u"a");
    copyText(u"b");
    prog().zuletztKeyDown(HistoryList::kKeyA, false);
    EXPECT_TRUE(prog().zuletzt.selectedRows().empty());
    prog().zuletztKeyDown(HistoryList::kKeyA, true);
    EXPECT_EQ(prog().zuletzt.selectedRows().size(), 2u);
    prog().zuletztKeyDown(8, false);
    EXPECT_EQ(rows(), 2u);
    prog().zuletztKeyDown(HistoryList::kKeyDelete, false);
    EXPECT_EQ(rows(), 0u);
    EXPECT_EQ(stored(0), u"");
    EXPECT_EQ(stored(1), u"");
}

TEST_F(History, CopyBackRunsThePipelineWithoutANewRowOrLosingRows) {
    copyText(u"first");
    copyText(u"second");
    copyImageAt(4, 3, 14, 6, 0);
    copyText(u"third");
    prog().cb_textadd.setChecked(true);  // an action on the copied-back text
    selectOnly(1);
    desktop.advance(1000);
    prog().zuletztDblClick();
    EXPECT_EQ(rows(), 4u);
    EXPECT_EQ(column(2), (std::vector<std::u16string>{u"first", u"second", u"4 x 3", u"third"}));
    EXPECT_EQ(prog().display_txt.text(), u"second") << "the pipeline showed the copied-back text";
    ASSERT_FALSE(prog().liste.items().empty());
    EXPECT_TRUE(prog().cb_history_txt.checked());
    EXPECT_TRUE(app.historySettings().cb_history_txt.checked());
    EXPECT_FALSE(list().RecopyInProgress());
    EXPECT_EQ(app.clipboard().ReadUnicodeText(), u"second");
    EXPECT_EQ(app.captureState().SuppressCount, 0);
    copyText(u"fourth");
    EXPECT_EQ(lastRow().cell(3), u"3") << "the copy back stored nothing";
}

TEST_F(History, CopyBackOfAnImageRowOnlyShowsTheNotice) {
    copyText(u"kept");
    copyImageAt(2, 2, 14, 6, 0);
    selectOnly(1);
    prog().pop1.click();
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_EQ(desktop.messages()[0].kind, MessageKind::Information);
    EXPECT_EQ(desktop.messages()[0].title, u"Information");
    EXPECT_EQ(
        desktop.messages()[0].text,
        u"At the moment, only texts can be copied to the clipboard again.\r\n"
        u"Old images from the clipboard are not kept because of their high memory consumption.");
    EXPECT_FALSE(list().RecopyInProgress());
    app.startWindow().spr.setCaption(u"de");
    prog().zuletztDblClick();
    EXPECT_EQ(
        desktop.messages()[1].text,
        u"Im Moment können nur Texte erneut zur Zwischenablage hinzugefügt werden.\r\n"
        u"Alter Bilder aus der Zwischenablage werden wegen Ihres hohen Speicherverbrauchs nicht "
        u"gespeichert.");
    EXPECT_EQ(rows(), 2u);
}

TEST_F(History, CopyBackDoesNothingWithoutSelectionOrWhenSwitchedOff) {
    copyText(u"a");
    copyText(u"b");
    desktop.advance(1000);
    prog().zuletztDblClick();
    EXPECT_EQ(app.clipboard().ReadUnicodeText(), u"b");
    prog().cb_history_dblclick.setChecked(false);
    selectOnly(0);
    prog().zuletztDblClick();
    EXPECT_EQ(app.clipboard().ReadUnicodeText(), u"b");
    EXPECT_TRUE(desktop.messages().empty());
}

TEST_F(History, AFailedCopyBackRestoresTheTextSwitch) {
    copyText(u"a");
    selectOnly(0);
    clipboard.setHeldByOtherProgram(true);
    EXPECT_ANY_THROW(prog().zuletztDblClick());
    clipboard.setHeldByOtherProgram(false);
    EXPECT_TRUE(prog().cb_history_txt.checked());
    EXPECT_FALSE(list().RecopyInProgress());
    EXPECT_EQ(rows(), 1u);
}

TEST_F(History, SwitchesRemoveTheirKindAndTheMirrorsFollowBothWays) {
    Teinstverlauf& settings = app.historySettings();
    copyText(u"t1");
    copyImageAt(2, 2, 14, 6, 0);
    copyText(u"t2");
    copyImageAt(3, 3, 14, 6, 1);
    prog().cb_history_img.click();
    EXPECT_EQ(column(2), (std::vector<std::u16string>{u"t1", u"t2"}));
    EXPECT_FALSE(settings.cb_history_img.checked());
    copyImageAt(5, 5, 14, 6, 2);
    EXPECT_EQ(rows(), 2u) << "no image rows while switched off";
    settings.cb_history_img.click();
    EXPECT_TRUE(prog().cb_history_img.checked());
    copyImageAt(6, 6, 14, 6, 3);
    EXPECT_EQ(column(2), (std::vector<std::u16string>{u"t1", u"t2", u"6 x 6"}))
        << "checking again brings no rows back";
    settings.cb_history_txt.click();
    EXPECT_FALSE(prog().cb_history_txt.checked());
    EXPECT_EQ(column(2), (std::vector<std::u16string>{u"6 x 6"}));
    EXPECT_EQ(stored(0), u"t1") << "switching off leaves the store alone";
}

TEST_F(History, GermanImageRowsStayImageRowsAfterSwitchingLanguage) {
    app.startWindow().spr.setCaption(u"de");
    copyImageAt(2, 2, 14, 6, 0);
    copyText(u"Text");  // a text that reads like the kind word
    app.startWindow().spr.setCaption(u"en");
    EXPECT_EQ(column(1), (std::vector<std::u16string>{u"Bild", u"Text"}));
    prog().cb_history_img.setChecked(false);
    EXPECT_EQ(column(2), (std::vector<std::u16string>{u"Text"}));
}

TEST_F(History, SortingFollowsTheClickSequence) {
    copyAt(u"beta", 14, 5, 9);
    copyImageAt(640, 480, 9, 0, 0);
    copyAt(u"Alpha", 23, 59, 59);
    copyAt(u"gamma", 0, 0, 1);
    prog().zuletzt.onColumnClick(0);
    EXPECT_EQ(column(0),
              (std::vector<std::u16string>{u"00:00:01", u"09:00:00", u"14:05:09", u"23:59:59"}));
    prog().zuletzt.onColumnClick(0);
    EXPECT_EQ(column(0),
              (std::vector<std::u16string>{u"23:59:59", u"14:05:09", u"09:00:00", u"00:00:01"}))
        << "second click on the same column: descending";
    EXPECT_EQ(list().sortState().SortDescending, 1);
    prog().zuletzt.onColumnClick(1);
    EXPECT_EQ(column(1), (std::vector<std::u16string>{u"Image", u"Text", u"Text", u"Text"}));
    EXPECT_EQ(column(0)[1], u"23:59:59") << "equal kinds keep their order";
    prog().zuletzt.onColumnClick(2);
    EXPECT_EQ(column(2), (std::vector<std::u16string>{u"640 x 480", u"Alpha", u"beta", u"gamma"}))
        << "content ignores case";
    prog().zuletzt.onColumnClick(0);
    EXPECT_EQ(column(0).front(), u"00:00:01") << "back to time: ascending";
    EXPECT_EQ(list().sortState().SortColumn, 0);
    EXPECT_EQ(list().sortState().LastSortColumn, 0);
    copyAt(u"late", 1, 0, 0);
    EXPECT_EQ(column(2).back(), u"late") << "new rows are appended, the list is not kept sorted";
}

TEST_F(History, TheSortStateIsSharedWithTheDetailsList) {
    copyAt(u"b", 10, 0, 0);
    copyAt(u"a", 9, 0, 0);
    copy({{CF_UNICODETEXT, utf16Block(u"z")}, {CF_TEXT, ansiBlock("z")}});
    ASSERT_EQ(prog().liste.count(), 2u);
    EXPECT_EQ(prog().liste.item(0).caption, u"UNICODETEXT");
    prog().liste.onColumnClick(0);  // "Format": ascending
    EXPECT_EQ(prog().liste.item(0).caption, u"TEXT");
    prog().zuletzt.onColumnClick(0);
    EXPECT_EQ(column(2), (std::vector<std::u16string>{u"b", u"a", u"z"}))
        << "same column index in the other list: descending (10:00:00, 09:00:00, 09:00:00)";
}

TEST_F(History, DetailNumbersSortAsIntegersAndNonNumbersAsZero) {
    ListView& liste = prog().liste;
    liste.clear();
    liste.append({u"TEXT", {u"1", u"x"}});
    liste.append({u"custom", {u"oops", u"y"}});
    liste.append({u"UNICODETEXT", {u"13", u"z"}});
    liste.append({u"negative", {u"-4", u"w"}});
    prog().liste.onColumnClick(1);
    std::vector<std::u16string> numbers;
    for (const ListItem& item : liste.items()) numbers.emplace_back(item.cell(1));
    EXPECT_EQ(numbers, (std::vector<std::u16string>{u"-4", u"oops", u"1", u"13"}));
}

TEST(HistorySorting, TimesThatAreNotNumbersKeepTheirRows) {
    EXPECT_EQ(TimeCaptionNumber(u"14:05:09", u":"), 140509);
    EXPECT_EQ(TimeCaptionNumber(u"2.05.09", u"."), 20509);
    EXPECT_EQ(TimeCaptionNumber(u"2:05:09 PM", u":"), std::nullopt);
    EXPECT_EQ(IntegerCellOrZero(u"99999999999"), 0);
    TestDesktop desktop;
    Form form("f");
    auto& list = form.add<ListView>("zuletzt");
    for (const char16_t* time : {u"2:05:09 PM", u"11:00:00", u"1:00:00 AM", u"09:59:59"}) {
        list.append({time, {u"Text", u"x", u"0"}});
    }
    SortState state;
    SortListByColumn(list, SortedList::History, 0, state, desktop);
    std::vector<std::u16string> times;
    for (const ListItem& item : list.items()) times.push_back(item.caption);
    EXPECT_EQ(times, (std::vector<std::u16string>{u"09:59:59", u"11:00:00", u"1:00:00 AM",
                                                  u"2:05:09 PM"}));
}

}  // namespace
}  // namespace tessaro

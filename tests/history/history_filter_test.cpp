// SPDX-License-Identifier: GPL-3.0-or-later
// The search above the history on the whole program: what it matches, that it changes
// nothing of the history or the configuration, that keystroke after keystroke it shows what
// a fresh search would, and how deleting, selecting, copying back, sorting, new captures,
// "Delete History" with its undo, the switches and saving behave while it hides rows.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "text/case_folding.h"
#include "platform/utf.h"
#include "support/app_fixture.h"

namespace tessaro {
namespace {

class HistorySearch : public testing::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        folder = std::filesystem::temp_directory_path() /
                 ("tessaro-search-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    Edit& field() { return prog().ed_history_filter; }
    ListView& history() { return prog().zuletzt; }
    void search(std::u16string_view text) { field().setText(std::u16string(text)); }
    // The content cells of the rows shown, in order.
    std::vector<std::u16string> shown() {
        std::vector<std::u16string> cells;
        for (std::size_t i = 0; i < history().shownCount(); ++i) {
            cells.emplace_back(history().item(history().shownRow(i)).cell(2));
        }
        return cells;
    }
    // What a search from scratch shows: every row whose folded content holds the folded text.
    std::vector<std::u16string> freshSearch(std::u16string_view text) {
        std::vector<std::u16string> cells;
        for (const ListItem& row : history().items()) {
            if (FoldCase(row.cell(2)).find(FoldCase(text)) != std::u16string::npos) cells.emplace_back(row.cell(2));
        }
        return cells;
    }
    std::vector<std::u16string> allRows() {
        std::vector<std::u16string> rows;
        for (const ListItem& row : history().items()) {
            rows.push_back(std::u16string(row.caption) + u"|" + std::u16string(row.cell(1)) + u"|" +
                           std::u16string(row.cell(2)) + u"|" + std::u16string(row.cell(3)));
        }
        return rows;
    }
    std::u16string stored(std::size_t index) { return app.history().HistoryTexts.at(index).str(); }
    void selectShown(std::vector<std::size_t> positions) {
        std::vector<std::size_t> rows;
        for (std::size_t position : positions) rows.push_back(history().shownRow(position));
        history().setSelectedRows(rows);
    }
    static std::string bytes(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    std::filesystem::path folder;
};

TEST_F(HistorySearch, MatchesTheContentIgnoringCaseAndEscShowsEveryRowAgain) {
    desktop.setNow({2026, 12, 9, 14, 5, 9, 0});
    for (const char16_t* text : {u"Straße 12", u"STRASSE", u"Masse", u"Ärger im Büro"}) copyText(text);
    copy({{CF_BITMAP, testing::testBitmap(640, 480)}});
    search(u"strasse");
    EXPECT_EQ(shown(), (std::vector<std::u16string>{u"Straße 12", u"STRASSE"}));
    search(u"ß");
    EXPECT_EQ(shown(), (std::vector<std::u16string>{u"Straße 12", u"STRASSE", u"Masse"})) << "ß is ss";
    search(u"äRGER");
    EXPECT_EQ(shown(), (std::vector<std::u16string>{u"Ärger im Büro"}));
    search(u"640");
    EXPECT_EQ(shown(), (std::vector<std::u16string>{u"640 x 480"})) << "an image row by its size";
    search(u"14:05");
    EXPECT_TRUE(shown().empty()) << "the time column is not searched";
    search(u"3");
    EXPECT_TRUE(shown().empty()) << "nor the number column (the texts have 0 to 3)";

    char16_t other = u'a';
    field().onKeyPress(other);
    EXPECT_EQ(other, u'a') << "other keys reach the field";
    char16_t escape = HistoryFilter::kKeyEscape;
    field().onKeyPress(escape);
    EXPECT_EQ(escape, 0) << "Esc is not typed into the field";
    EXPECT_EQ(field().text(), u"");
    EXPECT_EQ(shown().size(), 5u);
    EXPECT_FALSE(history().filtered());
}

TEST_F(HistorySearch, LeavesTheHistoryItsStoreAndTheConfigurationAlone) {
    for (const char16_t* text : {u"b one", u"a two", u"c three"}) copyText(text);
    prog().zuletztColumnClick(2);
    const std::vector<std::u16string> before = allRows();
    const SortState sort = prog().historyList().sortState();
    const auto file = folder / "config.tpf";
    app.configuration().KonfigurationSpeichern(file);
    const std::string withoutSearch = bytes(file);

    search(u"two");
    EXPECT_EQ(shown(), (std::vector<std::u16string>{u"a two"}));
    EXPECT_EQ(allRows(), before) << "rows, numbers and order unchanged";
    app.configuration().KonfigurationSpeichern(file);
    EXPECT_EQ(bytes(file), withoutSearch) << "the search is no setting";
    app.configuration().KonfigurationLaden(LoadOrigin::UserCommand, file);
    EXPECT_EQ(field().text(), u"two") << "and loading one leaves it";
    search(u"");
    EXPECT_EQ(allRows(), before);
    EXPECT_EQ(prog().historyList().sortState().SortColumn, sort.SortColumn);
    EXPECT_EQ(prog().historyList().sortState().SortDescending, sort.SortDescending);
    EXPECT_EQ(stored(0), u"b one");
    EXPECT_EQ(app.history().HistoryTexts.size(), 3u);
}

TEST_F(HistorySearch, KeystrokeAfterKeystrokeShowsWhatAFreshSearchWould) {
    const char16_t* texts[] = {u"Straßenbahn", u"STRASSENBAHN fährt", u"die Strasse", u"Bahnhof",
                               u"strand", u"Stra\u1E9EE", u"\uFB01nale", u"nichts", u"STR", u"bahn ß"};
    for (const char16_t* text : texts) copyText(text);
    const std::u16string word = u"straßenbahn";
    std::u16string typed;
    const auto expectFresh = [&](const char* what) {
        ASSERT_EQ(shown(), freshSearch(typed)) << what << ": " << ::testing::PrintToString(typed);
    };
    for (char16_t c : word) {
        typed += c;
        search(typed);
        expectFresh("typing");
        if (typed.size() == 4) {
            copyText(u"Strahl");  // a capture while narrowing
            copyText(u"Zug");
            expectFresh("a capture");
        }
    }
    while (!typed.empty()) {
        typed.pop_back();
        search(typed);
        if (!typed.empty()) expectFresh("deleting");
        if (typed.size() == 6) {
            prog().zuletztColumnClick(2);  // sorting while widening
            expectFresh("sorting");
        }
    }
    EXPECT_EQ(shown().size(), history().count());
    // Edits that neither extend nor shorten the text, and ones at the front.
    for (const char16_t* step : {u"bahn", u"nbahn", u"bahn", u"fi", u"x", u"", u"SS", u"S"}) {
        typed = step;
        search(typed);
        expectFresh("editing");
    }
}

TEST_F(HistorySearch, SelectAllAndDeleteTouchOnlyTheShownRows) {
    for (const char16_t* text : {u"apple", u"banana", u"apricot", u"cherry", u"avocado"}) copyText(text);
    history().setSelectedRows({1});
    search(u"a");
    EXPECT_EQ(shown().size(), 4u);
    search(u"ap");
    EXPECT_TRUE(history().selectedRows().empty()) << "the selected banana is hidden, and no longer selected";
    prog().zuletztKeyDown(HistoryList::kKeyDelete, false);
    EXPECT_EQ(history().count(), 5u) << "Delete with nothing selected deletes nothing";
    history().setSelectedRows({1, 2});
    history().setSelected(3, true);
    EXPECT_EQ(history().selectedRows(), (std::vector<std::size_t>{2})) << "hidden rows cannot be selected";

    prog().zuletztKeyDown(HistoryList::kKeyA, true);
    EXPECT_EQ(history().selectedRows(), (std::vector<std::size_t>{0, 2})) << "Ctrl+A: the shown rows";
    prog().zuletztKeyDown(HistoryList::kKeyDelete, false);
    EXPECT_TRUE(shown().empty());
    search(u"");
    EXPECT_EQ(shown(), (std::vector<std::u16string>{u"banana", u"cherry", u"avocado"}));
    EXPECT_EQ(stored(0), u"") << "the deleted rows' texts are gone from the store";
    EXPECT_EQ(stored(2), u"");
    EXPECT_EQ(stored(1), u"banana") << "the hidden rows' texts are kept";
    EXPECT_EQ(stored(4), u"avocado");
}

TEST_F(HistorySearch, CopyBackAndThePopupMenuActOnTheShownRowSelected) {
    for (const char16_t* text : {u"one", u"two", u"three", u"four"}) copyText(text);
    search(u"t");
    ASSERT_EQ(shown(), (std::vector<std::u16string>{u"two", u"three"}));
    EXPECT_FALSE(prog().PopupMenu2Popup());
    selectShown({1});
    EXPECT_TRUE(prog().PopupMenu2Popup());
    desktop.advance(1000);
    prog().zuletztKeyDown(HistoryList::kKeyEnter, false);
    EXPECT_EQ(app.clipboard().ReadUnicodeText(), u"three");
    EXPECT_EQ(history().count(), 4u) << "copying back adds no row";
    EXPECT_EQ(field().text(), u"t") << "and keeps the search";
    prog().pop2.click();
    EXPECT_EQ(shown(), (std::vector<std::u16string>{u"two"}));
    EXPECT_EQ(history().count(), 3u);
}

TEST_F(HistorySearch, SortingCapturesDeleteHistoryUndoSwitchesAndSavingWithRowsHidden) {
    for (const char16_t* text : {u"pear", u"Apple", u"plum", u"grape"}) copyText(text);
    copy({{CF_BITMAP, testing::testBitmap(2, 3)}});
    search(u"p");
    prog().zuletztColumnClick(2);
    EXPECT_EQ(shown(), (std::vector<std::u16string>{u"Apple", u"grape", u"pear", u"plum"}));
    prog().zuletztColumnClick(2);
    EXPECT_EQ(shown(), (std::vector<std::u16string>{u"plum", u"pear", u"grape", u"Apple"})) << "descending";

    copyText(u"peach");
    copyText(u"fig");
    EXPECT_EQ(shown().back(), u"peach") << "a matching capture appears";
    EXPECT_EQ(history().count(), 7u) << "one that does not is kept, hidden";

    // Saving writes the whole history, hidden rows too.
    desktop.setSaveFileChoice(utf8ToUtf16((folder / "all.txt").string()));
    prog().saveverlaufClick();
    EXPECT_EQ(bytes(folder / "all.txt"), "plum\r\npear\r\ngrape\r\nApple\r\npeach\r\nfig\r\n");

    prog().delverlaufClick();
    EXPECT_EQ(history().count(), 0u) << "Delete History empties the whole list";
    prog().zuletztKeyDown(HistoryList::kKeyZ, true);
    EXPECT_EQ(history().count(), 7u);
    EXPECT_EQ(shown(), (std::vector<std::u16string>{u"plum", u"pear", u"grape", u"Apple", u"peach"}))
        << "the rows come back under the search";

    prog().cb_history_txt.setChecked(false);
    EXPECT_EQ(history().count(), 1u) << "the switch removes hidden text rows too";
    EXPECT_TRUE(shown().empty());
    search(u"");
    EXPECT_EQ(shown(), (std::vector<std::u16string>{u"2 x 3"}));
}

}  // namespace
}  // namespace tessaro

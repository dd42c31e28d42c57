// SPDX-License-Identifier: GPL-3.0-or-later
// Search and replace and the text additions inside real capture runs over the in-memory
// clipboard: the pairs and their flags, the write-backs, the error marks and the table.
#include <gtest/gtest.h>

#include "support/app_fixture.h"
#include "text/regex/regex_error.h"
#include "text/text_actions.h"

namespace tessaro {
namespace {

class SearchReplace : public testing::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        prog().cb_suchenersetzen.setChecked(true);
    }

    // Copies text as another program would and returns what the clipboard then holds.
    std::u16string run(std::u16string_view text) {
        copyText(text);
        return app.clipboard().ReadUnicodeText();
    }
    void pair(std::u16string search, std::u16string replacement, bool regex = false,
              bool templ = false) {
        prog().act_ers_text_ersetzen.setText(std::move(replacement));
        prog().act_ers_text_suchen.setText(std::move(search));
        prog().act_ers_text_suchen_regex.setChecked(regex);
        prog().act_ers_text_ersetzen_regex.setChecked(templ);
    }
    void row(std::u16string search, std::u16string replacement, std::u16string flags) {
        prog().act_ers_text_liste.append(
            {std::move(search), {std::move(replacement), std::move(flags)}});
    }
    void setLanguage(std::u16string code) { app.startWindow().spr.setCaption(std::move(code)); }
    std::u16string message(int code) {
        return RegexErrorMessage(code, app.startWindow().spr.caption() == u"en");
    }

    std::vector<std::vector<std::u16string>> tableRows() {
        std::vector<std::vector<std::u16string>> rows;
        for (const ListItem& item : prog().act_ers_text_liste.items()) {
            rows.push_back({std::u16string(item.cell(0)), std::u16string(item.cell(1)), std::u16string(item.cell(2))});
        }
        return rows;
    }
    std::vector<std::u16string> captions() {
        std::vector<std::u16string> result;
        for (const ListItem& item : prog().act_ers_text_liste.items())
            result.push_back(item.caption);
        return result;
    }
};

TEST(TableRowFlags, WrittenAndReadBack) {
    EXPECT_EQ(TableRowFlags(true, true), u"x");
    EXPECT_EQ(TableRowFlags(true, false), u"x/-");
    EXPECT_EQ(TableRowFlags(false, true), u"-/x");
    EXPECT_EQ(TableRowFlags(false, false), u"-");
    EXPECT_EQ(ParseTableRowFlags(u"x"), (ReplaceFlags{true, true}));
    EXPECT_EQ(ParseTableRowFlags(u"x/-"), (ReplaceFlags{true, false}));
    EXPECT_EQ(ParseTableRowFlags(u"-/x"), (ReplaceFlags{false, false}))
        << "template only with regex";
    EXPECT_EQ(ParseTableRowFlags(u"-"), (ReplaceFlags{false, false}));
    EXPECT_EQ(ParseTableRowFlags(u""), (ReplaceFlags{false, false}));
    EXPECT_EQ(ParseTableRowFlags(u"xx"), (ReplaceFlags{true, true}));
    EXPECT_EQ(ParseTableRowFlags(u"x/x"), (ReplaceFlags{true, false}));
}

TEST_F(SearchReplace, SinglePlainPairFollowsTheCaseBox) {
    pair(u"a", u"b");
    EXPECT_EQ(run(u"Aaa"), u"Abb");
    prog().act_ers_casesensitive.setChecked(false);
    EXPECT_EQ(run(u"Aaa"), u"bbb");
    pair(u"x", u"y");
    EXPECT_EQ(run(u"AxBX"), u"AyBy");
    pair(u"aa", u"b");
    EXPECT_EQ(run(u"aaa"), u"ba");
    // The history keeps what was copied; the own write-backs were not captured.
    ASSERT_EQ(rows(), 4u);
    EXPECT_EQ(lastRow().cell(2), u"aaa");
    EXPECT_EQ(app.captureState().SuppressCount, 0);
}

TEST_F(SearchReplace, AnUnchangedTextIsNotWrittenBackAndTheCopyKeepsAllItOffers) {
    pair(u"same", u"same");
    const int before = clipboard.changeCount();
    EXPECT_EQ(run(u"same text"), u"same text");
    EXPECT_EQ(clipboard.changeCount(), before + 1) << "only the copy itself";
    pair(u"", u"");
    auto rich = testing::textContent(u"both empty");
    rich.push_back({clipboard.registerFormat("text/html"), MemoryBlock{'<', 'b', '>'}});
    rich.push_back({CF_BITMAP, testing::testBitmap(2, 2)});
    copy(rich);
    EXPECT_EQ(clipboard.changeCount(), before + 2);
    EXPECT_EQ(clipboard.content().size(), 4u) << "text, 8-bit text, formatted text and picture stay";
    EXPECT_EQ(rows(), 3u) << "a text row and a picture row for the second copy";
}

TEST_F(SearchReplace, RowsApplyInOrderAfterTheSinglePair) {
    row(u"a", u"b", u"-");
    row(u"b", u"c", u"-");
    EXPECT_EQ(run(u"a"), u"c");
    prog().act_ers_text_liste.clear();
    row(u"b", u"c", u"-");
    row(u"a", u"b", u"-");
    EXPECT_EQ(run(u"a"), u"b");
    pair(u"b", u"z");  // the single pair runs first: ab, az, az, bz
    EXPECT_EQ(run(u"ab"), u"bz");
    // The table applies whether or not it is shown.
    EXPECT_FALSE(prog().cb_se_mehrfach.checked());
}

TEST_F(SearchReplace, TemplateFlagWithoutRegexIsPlain) {
    row(u"a", u"$1", u"-/x");
    EXPECT_EQ(run(u"caat"), u"c$1$1t");
    prog().act_ers_text_liste.clear();
    pair(u"a", u"<$0>", false, true);
    EXPECT_EQ(run(u"caat"), u"c<$0><$0>t");
    pair(u"a+", u"$1", true, false);
    EXPECT_EQ(run(u"caat"), u"c$1t");
    pair(u"a+", u"<$0>", true, true);
    EXPECT_EQ(run(u"caat"), u"c<aa>t");
    // Case-insensitive plain matching does not reach regular expressions.
    prog().act_ers_casesensitive.setChecked(false);
    pair(u"a", u"-", true, false);
    EXPECT_EQ(run(u"Aa"), u"A-");
}

TEST_F(SearchReplace, OpenBracketRules) {
    pair(u"ab[", u"x", true, true);
    EXPECT_EQ(run(u"ab[ ab["), u"ab[ ab[");
    EXPECT_FALSE(prog().act_ers_text_ersetzen_regfehler.visible());
    EXPECT_FALSE(prog().act_ers_text_suchen_regfehler.visible());
    pair(u"[", u"x", true, false);
    EXPECT_EQ(run(u"a[b"), u"a[b");
    pair(u"[", u"x", true, true);
    EXPECT_EQ(run(u"a[b"), u"a[b");
    EXPECT_FALSE(prog().act_ers_text_suchen_regfehler.visible());
    pair(u"ab[", u"x", true, false);
    EXPECT_EQ(run(u"ab[ ab["), u"ab[ ab[");
    EXPECT_TRUE(prog().act_ers_text_suchen_regfehler.visible());
    EXPECT_EQ(prog().act_ers_text_suchen_regfehler.caption(),
              message(regex_code::kUnmatchedBracket));
}

TEST_F(SearchReplace, ErrorsAppearAtTheMemoEditedLastInTheCurrentLanguage) {
    EXPECT_EQ(prog().LastEditedMemo(), nullptr);
    EXPECT_EQ(prog().act_ers_text_suchen_regfehler.caption(), u"RegEx");
    EXPECT_EQ(prog().act_ers_text_suchen_regfehler.color(), RegExErrorMarks::kErrorColor);
    prog().act_ers_text_suchen.setText(u"a)");
    prog().act_ers_text_suchen_regex.setChecked(true);
    prog().act_ers_text_ersetzen.setText(u"x");  // edited last
    EXPECT_EQ(prog().LastEditedMemo(), &prog().act_ers_text_ersetzen);
    EXPECT_EQ(run(u"abc"), u"abc");
    EXPECT_TRUE(prog().act_ers_text_ersetzen_regfehler.visible());
    EXPECT_FALSE(prog().act_ers_text_suchen_regfehler.visible());
    EXPECT_EQ(prog().act_ers_text_ersetzen_regfehler.caption(), u"Unmatched ()");
    EXPECT_EQ(prog().act_ers_text_ersetzen.color(), RegExErrorMarks::kErrorColor);
    EXPECT_EQ(prog().act_ers_text_suchen.color(), std::nullopt);

    // German, at the search memo.
    setLanguage(u"de");
    prog().act_ers_text_suchen.setText(u"(b");
    EXPECT_TRUE(prog().act_ers_text_ersetzen_regfehler.visible())
        << "only its own memo clears a mark";
    EXPECT_EQ(run(u"abc"), u"abc");
    EXPECT_TRUE(prog().act_ers_text_suchen_regfehler.visible());
    EXPECT_EQ(prog().act_ers_text_suchen_regfehler.caption(), message(regex_code::kUnclosedGroup));
    EXPECT_NE(message(regex_code::kUnclosedGroup),
              RegexErrorMessage(regex_code::kUnclosedGroup, true));

    // A later successful run leaves the mark; editing the partner memo "In Front" clears it.
    prog().act_ers_text_ersetzen.setText(u"y");
    prog().act_ers_text_suchen_regex.setChecked(false);
    EXPECT_TRUE(prog().act_ers_text_suchen_regfehler.visible());
    prog().act_textadd_vorne.setText(u">");
    EXPECT_FALSE(prog().act_ers_text_suchen_regfehler.visible());
    EXPECT_EQ(prog().act_ers_text_suchen.color(), std::nullopt);
    EXPECT_EQ(prog().LastEditedMemo(), &prog().act_ers_text_suchen);
    prog().act_textadd_hinten.setText(u"<");
    EXPECT_FALSE(prog().act_ers_text_ersetzen_regfehler.visible());
    EXPECT_EQ(prog().LastEditedMemo(), &prog().act_ers_text_ersetzen);
}

TEST_F(SearchReplace, ARegexErrorKeepsTheTextAndLaterRowsStillRun) {
    prog().act_ers_text_suchen.setText(u"");
    row(u"a)", u"x", u"x/-");
    row(u"b", u"c", u"-");
    row(u"(", u"x", u"x");
    EXPECT_EQ(run(u"abc"), u"acc");
    EXPECT_EQ(prog().act_ers_text_suchen_regfehler.caption(), message(regex_code::kUnclosedGroup))
        << "the last error of the run stays visible";
    EXPECT_EQ(app.captureState().SuppressCount, 0);
}

TEST_F(SearchReplace, BothActionsWriteBackTwiceAndTheHistoryKeepsTheOriginal) {
    pair(u"b", u"x");
    prog().cb_textadd.setChecked(true);
    prog().act_textadd_vorne.setText(u"<");
    prog().act_textadd_hinten.setText(u">");
    const int before = clipboard.changeCount();
    EXPECT_EQ(run(u"abc"), u"<axc>");
    EXPECT_EQ(clipboard.changeCount(), before + 3) << "the copy and two write-backs";
    EXPECT_EQ(app.captureState().SuppressCount, 0);
    ASSERT_EQ(rows(), 1u);
    EXPECT_EQ(lastRow().cell(2), u"abc");
    EXPECT_EQ(app.history().HistoryTexts.back(), u"abc");

    prog().cb_suchenersetzen.setChecked(false);
    prog().act_textadd_vorne.setText(u"line 1\r\n%date% $1 ");
    EXPECT_EQ(run(u"abc"), u"line 1\r\n%date% $1 abc>") << "taken literally, line break kept";
}

TEST_F(SearchReplace, NothingIsWrittenWithoutText) {
    prog().cb_textadd.setChecked(true);
    prog().act_textadd_vorne.setText(u"<");
    pair(u"a", u"b");
    const int before = clipboard.changeCount();
    copy({{CF_BITMAP, testing::testBitmap(4, 3)}});
    EXPECT_EQ(clipboard.changeCount(), before + 1);
    copyText(u"");
    EXPECT_EQ(clipboard.changeCount(), before + 2);
    EXPECT_EQ(app.captureState().SuppressCount, 0);
}

TEST_F(SearchReplace, BadTableCellsAndHugeTexts) {
    // Rows as a configuration file may hold them: empty search, missing cells.
    prog().act_ers_text_liste.append({u"", {}});
    prog().act_ers_text_liste.append({u"b", {}});
    row(u"", u"x", u"-");
    EXPECT_EQ(run(u"abc"), u"ac");
    // An empty expression is reported with the engine's own message.
    prog().act_ers_text_liste.clear();
    prog().act_ers_text_suchen.setText(u"");
    row(u"", u"x", u"x/-");
    EXPECT_EQ(run(u"abc"), u"abc");
    EXPECT_EQ(prog().act_ers_text_suchen_regfehler.caption(), message(regex_code::kNoExpression));

    // A regular expression failing on every row: the text passes through unchanged.
    prog().act_ers_text_liste.clear();
    for (int i = 0; i < 20; ++i) row(u"a{2,1}", u"x", i % 2 ? u"x" : u"x/-");
    EXPECT_EQ(run(u"aaa"), u"aaa");
    EXPECT_TRUE(prog().act_ers_text_suchen_regfehler.visible());

    // 100 MB of UTF-16: a plain pair and a template pair, both over the whole text.
    prog().act_ers_text_liste.clear();
    std::u16string huge(50'000'000, u'a');
    for (std::size_t i = 0; i < huge.size(); i += 1000) huge[i] = u'\u00e4';
    prog().act_ers_text_suchen.setText(u"");  // an edit clears the marks of the rows above
    row(u"\u00c4", u"\u00df\u00df", u"-");
    row(u"\u00df(\u00df)a", u"$1-", u"x");
    prog().act_ers_casesensitive.setChecked(false);
    const std::u16string result = run(huge);
    ASSERT_EQ(result.size(), huge.size()) << "one more for each ä, one less for each match";
    EXPECT_EQ(result.substr(0, 4), u"\u00df-aa");
    EXPECT_EQ(result.substr(49'999'000, 4), u"\u00df-aa");
    EXPECT_FALSE(prog().act_ers_text_suchen_regfehler.visible()) << "no error from the huge run";
    EXPECT_EQ(app.captureState().SuppressCount, 0);
}

TEST_F(SearchReplace, TableRowsAreAddedFromTheFieldsAndCopiedBack) {
    pair(u"", u"ignored");
    prog().act_ers_text_add.click();
    EXPECT_EQ(prog().act_ers_text_liste.count(), 0u) << "an empty search is refused";
    pair(u"s1", u"r1", true, true);
    prog().act_ers_text_add.click();
    EXPECT_EQ(prog().act_ers_text_suchen.text(), u"");
    EXPECT_EQ(prog().act_ers_text_ersetzen.text(), u"");
    pair(u"s2", u"r2", true, false);
    prog().act_ers_text_add.click();
    pair(u"s3", u"r3\r\nline", false, true);
    prog().act_ers_text_add.click();
    pair(u"s4", u"", false, false);
    prog().act_ers_text_add.click();
    EXPECT_EQ(tableRows(), (std::vector<std::vector<std::u16string>>{{u"s1", u"r1", u"x"},
                                                                     {u"s2", u"r2", u"x/-"},
                                                                     {u"s3", u"r3\r\nline", u"-/x"},
                                                                     {u"s4", u"", u"-"}}));
    ListView& list = prog().act_ers_text_liste;
    list.setSelected(2, true);
    EXPECT_EQ(prog().act_ers_text_suchen.text(), u"s3");
    EXPECT_EQ(prog().act_ers_text_ersetzen.text(), u"r3\r\nline");
    EXPECT_FALSE(prog().act_ers_text_suchen_regex.checked());
    EXPECT_TRUE(prog().act_ers_text_ersetzen_regex.checked());
    list.setSelected(0, true);  // the first selected row counts
    EXPECT_EQ(prog().act_ers_text_suchen.text(), u"s1");
    EXPECT_TRUE(prog().act_ers_text_suchen_regex.checked());
    // An unknown flags text leaves the boxes alone.
    list.clearSelection();
    row(u"s5", u"r5", u"?");
    list.setSelected(4, true);
    EXPECT_EQ(prog().act_ers_text_suchen.text(), u"s5");
    EXPECT_TRUE(prog().act_ers_text_suchen_regex.checked());
    EXPECT_TRUE(prog().act_ers_text_ersetzen_regex.checked());

    prog().act_ers_text_delete.click();
    EXPECT_EQ(prog().act_ers_text_suchen.text(), u"");
    EXPECT_EQ(list.count(), 5u);
    list.clearSelection();
    list.setSelected(1, true);
    list.setSelected(3, true);
    prog().act_ers_text_delmark.click();
    EXPECT_EQ(captions(), (std::vector<std::u16string>{u"s1", u"s3", u"s5"}));
    EXPECT_FALSE(prog().act_ers_text_listeKeyDown(kKeyA, false));
    EXPECT_TRUE(prog().act_ers_text_listeKeyDown(kKeyA, true));
    EXPECT_EQ(list.selectedRows().size(), 3u);
    EXPECT_TRUE(prog().act_ers_text_listeKeyDown(kKeyDelete, false));
    EXPECT_EQ(list.count(), 0u);
}

TEST_F(SearchReplace, DraggingRowsKeepsTheirOrderAndLosesNone) {
    const auto setUpRows = [this](std::vector<std::size_t> selected) {
        prog().act_ers_text_liste.clear();
        for (char16_t c = u'1'; c <= u'5'; ++c) row(std::u16string(1, c), u"r", u"-");
        for (std::size_t i : selected) prog().act_ers_text_liste.setSelected(i, true);
    };
    using Order = std::vector<std::u16string>;
    setUpRows({1, 3});
    EXPECT_TRUE(prog().act_ers_text_listeDragOver(true));
    prog().act_ers_text_listeDragDrop(true, 0);
    EXPECT_EQ(captions(), (Order{u"2", u"4", u"1", u"3", u"5"}));
    setUpRows({1, 3});
    prog().act_ers_text_listeDragDrop(true, std::nullopt);
    EXPECT_EQ(captions(), (Order{u"1", u"3", u"5", u"2", u"4"}));
    setUpRows({1, 3});
    prog().act_ers_text_listeDragDrop(false, 0);
    EXPECT_EQ(captions(), (Order{u"1", u"2", u"3", u"4", u"5"})) << "only drags from the table";
    // Onto a dragged row: they land before the next row that stays.
    setUpRows({0, 1, 3});
    prog().act_ers_text_listeDragDrop(true, 1);
    EXPECT_EQ(captions(), (Order{u"1", u"2", u"4", u"3", u"5"}));
    setUpRows({2, 3, 4});
    prog().act_ers_text_listeDragDrop(true, 3);
    EXPECT_EQ(captions(), (Order{u"1", u"2", u"3", u"4", u"5"}));
    setUpRows({4, 0});
    prog().act_ers_text_listeDragDrop(true, 2);
    EXPECT_EQ(captions(), (Order{u"2", u"1", u"5", u"3", u"4"}));
    EXPECT_TRUE(prog().act_ers_text_liste.selectedRows().empty());
}

TEST_F(SearchReplace, TheTableBoxSetsTheHeightOfTheRow) {
    Panel& row = *prog().detailRows[0];
    EXPECT_TRUE(row.visible()) << "checking from code runs the layout routine as a click";
    prog().cb_suchenersetzen.setChecked(false);
    EXPECT_FALSE(row.visible());
    prog().cb_suchenersetzen.click();
    EXPECT_TRUE(row.visible());
    EXPECT_EQ(row.height(), 155);
    EXPECT_EQ(prog().pa_suchenersetzen.height(), 149);
    EXPECT_EQ(prog().ScrollBox1.vertical().max, 6 * 22 + 155 + 5);
    prog().cb_se_mehrfach.click();
    EXPECT_EQ(row.height(), 266);
    EXPECT_EQ(prog().pa_suchenersetzen.height(), 260);
    EXPECT_EQ(prog().ScrollBox1.vertical().max, 6 * 22 + 266 + 5);
    EXPECT_EQ(prog().headerRows[1]->top(), 22 + 266);
    prog().cb_textadd.click();
    EXPECT_FALSE(row.visible());
    EXPECT_TRUE(prog().detailRows[1]->visible());
    EXPECT_EQ(prog().ScrollBox1.vertical().max, 6 * 22 + 129 + 5);
}

TEST_F(SearchReplace, CaptionsInBothLanguages) {
    EXPECT_EQ(prog().act_ers_casesensitive.caption(), u"Case-Sensitive");
    EXPECT_EQ(prog().act_ers_text_liste.columns()[1].caption, u"Replace by:");
    setLanguage(u"de");
    prog().sprache();
    EXPECT_EQ(prog().cb_se_mehrfach.caption(), u"Optionen für mehrfache Ersetzungen anzeigen");
    EXPECT_EQ(prog().act_ers_text_liste.columns()[0].caption, u"Suchen nach:");
    EXPECT_EQ(prog().act_ers_text_liste.columns()[2].caption, u"RegEx");
    EXPECT_EQ(prog().Label3.caption(), u"Hinten:");
    EXPECT_TRUE(prog().act_ers_casesensitive.checked());
}

}  // namespace
}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// The number lists' input rules: digits only with a message in the current language, the
// custom entry in both languages, the fallback for a list left empty.
#include <gtest/gtest.h>

#include "forms/form.h"
#include "platform/test_desktop.h"
#include "ui/number_list_rules.h"

namespace tessaro {
namespace {

struct NumberList : testing::Test {
    Form form{"Tprog"};
    Label& spr = form.add<Label>("spr");
    ComboBox& list = form.add<ComboBox>("act_sizebenutzer_x");
    TestDesktop desktop;
    Control* focused = nullptr;

    void SetUp() override {
        list.setItems(SizeListEntries(true));
        list.setText(u"640");
        BindNumberListRules(list, 640, desktop, spr, [this](Control& c) { focused = &c; });
    }
    char16_t type(char16_t key) {
        list.onKeyPress(key);
        return key;
    }
};

TEST_F(NumberList, OnlyDigitsAndBackspacePassAndRefusalsAreExplainedInTheCurrentLanguage) {
    EXPECT_EQ(type(u'0'), u'0');
    EXPECT_EQ(type(u'9'), u'9');
    EXPECT_EQ(type(8), 8);
    EXPECT_TRUE(desktop.messages().empty());

    spr.setCaption(u"de");
    EXPECT_EQ(type(u'a'), 0);
    spr.setCaption(u"en");
    EXPECT_EQ(type(13), 0);  // Enter counts as a refused character
    EXPECT_EQ(type(u'-'), 0);
    ASSERT_EQ(desktop.messages().size(), 3u);
    EXPECT_EQ(desktop.messages()[0].text, u"In diesem Feld sind nur Zahleneingaben erlaubt.");
    EXPECT_EQ(desktop.messages()[1].text, u"In this box only numerical entries are allowed.");
    EXPECT_EQ(desktop.messages()[1].kind, MessageKind::Information);
}

TEST_F(NumberList, CustomEntryOfEitherLanguageEmptiesTheListAndFocusesIt) {
    for (std::u16string_view custom : {u"Benutzer..", u"Custom.."}) {
        focused = nullptr;
        list.setItemIndex(static_cast<int>(list.items().size()) - 1);
        list.setText(std::u16string(custom));
        list.onChange();
        EXPECT_EQ(list.text(), u"");
        EXPECT_EQ(list.itemIndex(), -1);
        EXPECT_EQ(focused, &list);
    }
    // An ordinary number stays as picked.
    focused = nullptr;
    list.setText(u"1024");
    list.onChange();
    EXPECT_EQ(list.text(), u"1024");
    EXPECT_EQ(focused, nullptr);
}

TEST_F(NumberList, LeavingAnEmptyListWritesTheFallbackAndOnlyThen) {
    list.setText(u"");
    list.onExit();
    EXPECT_EQ(list.text(), u"640");
    list.setText(u"77");
    list.onExit();
    EXPECT_EQ(list.text(), u"77");
}

TEST(NumberListEntries, TranslatingSwitchesOnlyTheCustomEntryAndRoundTrips) {
    Form form{"Tprog"};
    ComboBox& margins = form.add<ComboBox>("act_zuschlinks");
    margins.setItems(MarginListEntries(true));
    TranslateNumberListEntries(margins, false);
    EXPECT_EQ(margins.items(), MarginListEntries(false));
    EXPECT_EQ(margins.items().back(), u"Custom..");
    TranslateNumberListEntries(margins, true);
    EXPECT_EQ(margins.items(), MarginListEntries(true));
    EXPECT_EQ(SizeListEntries(false).size(), 20u);
    EXPECT_EQ(SizeListEntries(false)[17], u"1920");
}

}  // namespace
}  // namespace tessaro

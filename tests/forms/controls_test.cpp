// SPDX-License-Identifier: GPL-3.0-or-later
// The headless controls: the event semantics that loading settings and the windows'
// handlers rely on.
#include <gtest/gtest.h>

#include "forms/buttons.h"
#include "forms/containers.h"
#include "forms/form.h"
#include "forms/list_view.h"
#include "forms/menu_item.h"
#include "forms/scroll_bar.h"
#include "forms/text_controls.h"

namespace tessaro {
namespace {

TEST(CheckBox, ChangingTheStateFromCodeRunsTheClickHandlerOnlyOnAChange) {
    Form form("f");
    auto& box = form.add<CheckBox>("cb");
    int clicks = 0;
    box.onClick = [&] { ++clicks; };
    box.setChecked(true);
    box.setChecked(true);
    EXPECT_EQ(clicks, 1);
    box.click();
    EXPECT_FALSE(box.checked());
    EXPECT_EQ(clicks, 2);
}

TEST(RadioButton, CheckingClearsTheGroupButUncheckingLeavesItEmpty) {
    Form form("f");
    auto& a = form.add<RadioButton>("a", "g", true);
    auto& b = form.add<RadioButton>("b", "g");
    auto& other = form.add<RadioButton>("c", "h", true);
    int aClicks = 0, bClicks = 0;
    a.onClick = [&] { ++aClicks; };
    b.onClick = [&] { ++bClicks; };

    b.setChecked(true);
    EXPECT_FALSE(a.checked());
    EXPECT_TRUE(other.checked()) << "another group is not touched";
    EXPECT_EQ(bClicks, 1);
    EXPECT_EQ(aClicks, 0) << "the button turned off by its sibling gets no click";

    b.setChecked(false);
    EXPECT_FALSE(a.checked());
    EXPECT_FALSE(b.checked());
    EXPECT_EQ(bClicks, 1);
}

TEST(ComboBox, TextFromCodeRunsNoChangeHandlerButTheUsersDoes) {
    Form form("f");
    auto& combo = form.add<ComboBox>("combo");
    int changes = 0;
    combo.onChange = [&] { ++changes; };
    combo.setItems({u"one", u"two"});
    combo.setText(u"two");
    EXPECT_EQ(combo.itemIndex(), 1);
    combo.setItemIndex(0);
    EXPECT_EQ(combo.text(), u"one");
    EXPECT_EQ(changes, 0);
    combo.userSetText(u"typed");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(combo.itemIndex(), -1);
}

TEST(ListView, MultiSelectionAndRemovingRowsInAnyOrder) {
    Form form("f");
    auto& list = form.add<ListView>("list");
    list.setMultiSelect(true);
    for (char16_t c : std::u16string(u"abcde")) list.append({std::u16string(1, c), {u"x"}});
    list.setSelected(1, true);
    list.setSelected(3, true);
    EXPECT_EQ(list.selectedRows(), (std::vector<std::size_t>{1, 3}));
    list.remove({3, 1, 3});
    ASSERT_EQ(list.count(), 3u);
    EXPECT_EQ(list.item(0).caption, u"a");
    EXPECT_EQ(list.item(1).caption, u"c");
    EXPECT_EQ(list.item(2).caption, u"e");
    EXPECT_EQ(list.item(0).cell(1), u"x");
    EXPECT_EQ(list.item(0).cell(5), u"") << "absent sub-items read as empty";
}

TEST(ListView, RemovingManyRunsKeepsTheOtherRowsInOrderAndAnnouncesConsistently) {
    Form form("f");
    auto& list = form.add<ListView>("list");
    list.setMultiSelect(true);
    for (int i = 0; i < 100; ++i) list.append({std::u16string(1, char16_t(u'0' + i % 10)), {}});
    int rowsSeen = 100;  // a view's count, following the announcements
    const Subscription counting = list.listChanged().subscribe([&](const ListChange& change) {
        if (change.kind == ListChange::Kind::Removed) rowsSeen -= change.count;
        if (change.kind == ListChange::Kind::Reset) rowsSeen = static_cast<int>(list.count());
    });
    list.remove({97, 98, 10, 11, 12, 500});  // two runs and one past the end
    EXPECT_EQ(list.count(), 95u);
    EXPECT_EQ(rowsSeen, 95);
    EXPECT_EQ(list.item(10).caption, u"3");
    EXPECT_EQ(list.item(94).caption, u"9");
    std::vector<std::size_t> everyOther;
    for (std::size_t i = 0; i < list.count(); i += 2) everyOther.push_back(i);
    list.setSelected(1, true);
    list.remove(everyOther);
    EXPECT_EQ(list.count(), 47u);
    EXPECT_EQ(rowsSeen, 47);
    EXPECT_EQ(list.item(0).caption, u"1");
    EXPECT_TRUE(list.item(0).selected) << "selection moves with its row";
    EXPECT_EQ(list.selectedRows(), (std::vector<std::size_t>{0}));
}

TEST(ListView, ReorderAndSelectingManyRowsAtOnce) {
    Form form("f");
    auto& list = form.add<ListView>("list");
    list.setMultiSelect(true);
    for (char16_t c : std::u16string(u"abcd")) list.append({std::u16string(1, c), {}});
    int selectionNotes = 0;
    const Subscription counting = list.listChanged().subscribe([&](const ListChange& change) {
        selectionNotes += change.kind == ListChange::Kind::Selection;
    });
    list.setSelectedRows({0, 2, 3});
    EXPECT_EQ(selectionNotes, 1);
    list.setSelectedRows({0, 2, 3});
    EXPECT_EQ(selectionNotes, 1) << "no change, no announcement";
    list.reorder({3, 1, 0, 2});
    EXPECT_EQ(list.item(0).caption, u"d");
    EXPECT_EQ(list.item(3).caption, u"c");
    EXPECT_EQ(list.selectedRows(), (std::vector<std::size_t>{0, 2, 3}));
    list.reorder({0, 0, 1, 2});  // not a permutation
    EXPECT_EQ(list.item(1).caption, u"b");
}

TEST(ListView, SingleSelectionKeepsOneRow) {
    Form form("f");
    auto& list = form.add<ListView>("list");
    list.append({u"a", {}});
    list.append({u"b", {}});
    list.setSelected(0, true);
    list.setSelected(1, true);
    EXPECT_EQ(list.selectedRows(), (std::vector<std::size_t>{1}));
    list.selectAll();
    EXPECT_EQ(list.selectedRows().size(), 1u);
}

TEST(TabSet, NewTabsLeaveNoneSelectedAndTheHandlerSeesTheNewIndexFirst) {
    Form form("f");
    auto& tabs = form.add<TabSet>("tabs");
    std::vector<std::pair<int, int>> seen;  // (new index, index at the time)
    tabs.onChange = [&](int index) { seen.emplace_back(index, tabs.tabIndex()); };
    tabs.setTabs({u"Text", u"Details"});
    EXPECT_EQ(tabs.tabIndex(), -1);
    tabs.setTabIndex(0);
    tabs.setTabIndex(0);
    tabs.setTabIndex(5);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], std::make_pair(0, -1));
}

TEST(Form, KeepsCreationOrderAndFindsByName) {
    Form form("f");
    form.add<Label>("z");
    form.add<MenuItem>("a");
    form.add<CheckBox>("m");
    ASSERT_EQ(form.controls().size(), 3u);
    EXPECT_EQ(form.controls()[0]->name(), "z");
    EXPECT_EQ(form.controls()[2]->name(), "m");
    EXPECT_EQ(form.find("a")->kind(), ControlKind::MenuItem);
    EXPECT_EQ(form.find("nope"), nullptr);
    EXPECT_EQ(form.controlsOf<CheckBox>().size(), 1u);
}

TEST(MenuItem, ACheckMarkFromCodeRunsNothing) {
    Form form("f");
    auto& item = form.add<MenuItem>("item");
    int clicks = 0;
    item.onClick = [&] { ++clicks; };
    item.setChecked(true);
    EXPECT_EQ(clicks, 0);
    item.click();
    EXPECT_EQ(clicks, 1);
}

TEST(ScrollBox, ScrollingStaysWithinTheRange) {
    Form form("f");
    auto& box = form.add<ScrollBox>("box");
    box.setRanges(100, 50);
    box.scrollBy(30, -10);
    EXPECT_EQ(box.horizontal().position, 30);
    EXPECT_EQ(box.vertical().position, 0);
    box.scrollBy(500, 500);
    EXPECT_EQ(box.horizontal().position, 100);
    EXPECT_EQ(box.vertical().position, 50);
    box.setRanges(20, 20);
    EXPECT_EQ(box.horizontal().position, 20) << "a smaller range pulls the position in";
}

}  // namespace
}  // namespace tessaro

namespace tessaro {
namespace {

TEST(ScrollBarControl, PositionIsLimitedAndOnlyARealChangeRunsTheHandler) {
    Form form("Teinstausgabe");
    ScrollBar& bar = form.add<ScrollBar>("ScrollBar1", 1, 100, 90);
    int changes = 0;
    bar.onChange = [&] { ++changes; };
    bar.setPosition(905);
    EXPECT_EQ(bar.position(), 100);
    bar.setPosition(100000000000LL);
    EXPECT_EQ(bar.position(), 100);
    EXPECT_EQ(changes, 1) << "a request limited to the same position changes nothing";
    bar.setPosition(0);
    EXPECT_EQ(bar.position(), 1);
    EXPECT_EQ(changes, 2);
}

}  // namespace
}  // namespace tessaro

namespace tessaro {
namespace {

TEST(Notifier, AnEndedSubscriptionIsNeverCalledWhicheverSideGoesFirst) {
    int calls = 0;
    Subscription outlivesItsControl;
    {
        Form form("f");
        auto& box = form.add<CheckBox>("box");
        Subscription listening = box.changed().subscribe([&] { ++calls; });
        outlivesItsControl = box.changed().subscribe([&] { calls += 100; });
        box.setChecked(true);
        EXPECT_EQ(calls, 101);
        listening.reset();
        box.setChecked(false);
        EXPECT_EQ(calls, 201);
        {
            const Subscription scoped = box.changed().subscribe([&] { calls += 1000; });
        }
        box.setChecked(true);
        EXPECT_EQ(calls, 301) << "a handle that went out of scope ended its subscription";
    }
    outlivesItsControl.reset();  // its notifier is gone: nothing to end, nothing to touch
    EXPECT_EQ(calls, 301);
}

TEST(Notifier, CallbacksMayEndTheirOwnOrAddOthersWhileTheyRun) {
    Notifier<int> notifier;
    std::vector<int> seen;
    Subscription self;
    Subscription added;
    // The callback owns a string; ending its subscription while it runs must not free it.
    self = notifier.subscribe([&, tag = std::string(64, 'x')](int value) {
        self.reset();
        seen.push_back(value + static_cast<int>(tag.size()));
        added = notifier.subscribe([&](int v) { seen.push_back(-v); });
    });
    const Subscription other = notifier.subscribe([&](int value) { seen.push_back(value); });
    notifier.notify(1);
    EXPECT_EQ(seen, (std::vector<int>{65, 1})) << "the new listener hears from the next notification on";
    notifier.notify(2);
    EXPECT_EQ(seen, (std::vector<int>{65, 1, 2, -2}));
}

}  // namespace
}  // namespace tessaro

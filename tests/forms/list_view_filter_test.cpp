// SPDX-License-Identifier: GPL-3.0-or-later
// A list view with a row filter: a view that follows only the announcements ends up with
// exactly the shown rows after every kind of change, and a narrowing or widening filter
// tests only the rows it may change. (Selections under a filter: tests/history.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/form.h"
#include "forms/list_view.h"

namespace tessaro {
namespace {

// The captions a view would show, kept up to date from the announcements alone, as the Qt
// table model does.
class MirrorView {
public:
    explicit MirrorView(ListView& list)
        : m_list(list), m_watch(list.listChanged().subscribe([this](const ListChange& change) { follow(change); })) {
        reload();
    }
    const std::vector<std::u16string>& rows() const { return m_rows; }

private:
    void reload() {
        m_rows.clear();
        for (std::size_t i = 0; i < m_list.shownCount(); ++i) m_rows.push_back(m_list.item(m_list.shownRow(i)).caption);
    }
    void follow(const ListChange& change) {
        const auto first = m_rows.begin() + change.first;
        switch (change.kind) {
            case ListChange::Kind::Inserted:
                for (int i = 0; i < change.count; ++i) {
                    m_rows.insert(first + i, m_list.item(m_list.shownRow(static_cast<std::size_t>(change.first + i))).caption);
                }
                break;
            case ListChange::Kind::Removed: m_rows.erase(first, first + change.count); break;
            case ListChange::Kind::Reset: reload(); break;
            default: break;
        }
    }

    ListView& m_list;
    std::vector<std::u16string> m_rows;
    Subscription m_watch;
};

bool hasDigit(const ListItem& row) { return row.caption.find_first_of(u"0123456789") != std::u16string::npos; }

// The rows of the list that the filter keeps, in list order.
std::vector<std::u16string> expectedRows(const ListView& list) {
    std::vector<std::u16string> rows;
    for (const ListItem& item : list.items()) {
        if (!list.filtered() || hasDigit(item)) rows.push_back(item.caption);
    }
    return rows;
}

class FilteredList : public ::testing::Test {
protected:
    FilteredList() : list(form.add<ListView>("list")) {
        list.setMultiSelect(true);
        for (const char16_t* caption : {u"a1", u"b", u"c2", u"d", u"e", u"f3", u"g", u"h4"}) list.append({caption, {}});
    }

    Form form{"f"};
    ListView& list;
};

TEST_F(FilteredList, AViewFollowingTheAnnouncementsShowsExactlyTheShownRows) {
    MirrorView view(list);
    list.setRowFilter(hasDigit);
    EXPECT_EQ(view.rows(), (std::vector<std::u16string>{u"a1", u"c2", u"f3", u"h4"}));
    EXPECT_EQ(list.count(), 8u) << "hidden rows stay in the list";
    EXPECT_EQ(list.shownRow(2), 5u);

    list.append({u"i5", {}});
    list.append({u"j", {}});
    EXPECT_EQ(view.rows(), expectedRows(list)) << "appended: one shown, one hidden";
    list.remove({1, 2, 3});  // a run of hidden and shown rows
    EXPECT_EQ(view.rows(), expectedRows(list));
    list.remove({1});  // only a hidden row
    EXPECT_EQ(view.rows(), expectedRows(list));
    std::vector<std::size_t> reversed;
    for (std::size_t i = list.count(); i-- > 0;) reversed.push_back(i);
    list.reorder(reversed);
    EXPECT_EQ(view.rows(), expectedRows(list)) << "hidden rows move with their rows";
    EXPECT_EQ(view.rows().front(), u"i5");
    std::vector<std::size_t> many;
    for (std::size_t i = 0; i < list.count(); i += 2) many.push_back(i);
    for (int i = 0; i < 20; ++i) list.append({i % 2 ? u"x" : u"y7", {}});
    for (std::size_t i = 8; i < list.count(); i += 2) many.push_back(i);
    list.remove(many);  // many runs: one pass
    EXPECT_EQ(view.rows(), expectedRows(list));
    list.setItems({{u"k", {}}, {u"l8", {}}});
    EXPECT_EQ(view.rows(), (std::vector<std::u16string>{u"l8"})) << "new rows meet the filter";

    list.clearRowFilter();
    EXPECT_EQ(view.rows(), (std::vector<std::u16string>{u"k", u"l8"}));
    list.append({u"m", {}});
    EXPECT_EQ(view.rows().back(), u"m") << "without a filter every row shows";
}

TEST_F(FilteredList, NarrowingAndWideningTestOnlyTheRowsThatMayChange) {
    std::vector<std::u16string> tested;
    const auto counting = [&](bool (*keep)(const ListItem&)) {
        return [&tested, keep](const ListItem& row) {
            tested.push_back(row.caption);
            return keep(row);
        };
    };
    list.setRowFilter(counting(hasDigit));
    EXPECT_EQ(tested.size(), 8u);
    tested.clear();
    const auto lowDigit = [](const ListItem& row) { return row.caption.find_first_of(u"12") != std::u16string::npos; };
    list.setRowFilter(counting(lowDigit), ListView::FilterScope::ShownRows);
    EXPECT_EQ(tested, (std::vector<std::u16string>{u"a1", u"c2", u"f3", u"h4"}));
    EXPECT_EQ(list.shownCount(), 2u);
    tested.clear();
    list.setRowFilter(counting(hasDigit), ListView::FilterScope::HiddenRows);
    EXPECT_EQ(tested.size(), 6u) << "the rows hidden before";
    EXPECT_EQ(list.shownCount(), 4u);

    int announcements = 0;
    const Subscription watch = list.listChanged().subscribe([&](const ListChange&) { ++announcements; });
    list.setRowFilter(hasDigit, ListView::FilterScope::ShownRows);
    EXPECT_EQ(announcements, 0) << "a filter that changes no row tells no view";
}

}  // namespace
}  // namespace tessaro

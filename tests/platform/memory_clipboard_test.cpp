// SPDX-License-Identifier: GPL-3.0-or-later
// The in-memory clipboard and the viewer chain: the Windows behaviour that the capture
// core relies on.
#include <gtest/gtest.h>

#include "platform/clipboard_error.h"
#include "platform/memory_clipboard.h"
#include "support/recording_viewer.h"

namespace tessaro {
namespace {

using testing::RecordingViewer;

TEST(ViewerChain, JoiningPutsTheWindowAtTheHeadAndAnnouncesTheContent) {
    MemoryClipboard clipboard;
    RecordingViewer first(clipboard.viewers());
    RecordingViewer second(clipboard.viewers());
    first.join();
    EXPECT_EQ(first.next, 0u);
    EXPECT_EQ(first.draws(), 1);
    second.join();
    EXPECT_EQ(second.next, first.handle);
    EXPECT_EQ(second.draws(), 1);
    EXPECT_EQ(first.draws(), 1)
        << "the joining notification arrives before the new viewer knows its successor";

    clipboard.putFromOtherProgram({{CF_TEXT, ansiBlock("x")}});
    EXPECT_EQ(second.draws(), 2);
    EXPECT_EQ(first.draws(), 2);
}

TEST(ViewerChain, LeavingRepairsTheChainAtTheHeadOrThroughForwarding) {
    MemoryClipboard clipboard;
    RecordingViewer a(clipboard.viewers()), b(clipboard.viewers()), c(clipboard.viewers());
    a.join();
    b.join();
    c.join();  // chain: c -> b -> a

    b.leave();  // c hears of it and repairs its link
    EXPECT_EQ(c.next, a.handle);
    ASSERT_FALSE(c.received.empty());
    EXPECT_EQ(c.received.back().kind, ViewerMessage::Kind::ChangeCbChain);
    const auto aMessages = a.received.size();

    c.leave();  // the head leaves: the next window becomes the head and is told
    EXPECT_EQ(clipboard.viewers().head(), a.handle);
    EXPECT_EQ(a.received.size(), aMessages + 1);
    clipboard.putFromOtherProgram({});
    EXPECT_EQ(a.received.back().kind, ViewerMessage::Kind::DrawClipboard);
}

TEST(MemoryClipboard, WritesReplaceTheContentAndAreAnnouncedOncePerClose) {
    MemoryClipboard clipboard;
    RecordingViewer viewer(clipboard.viewers());
    viewer.join();
    const int before = viewer.draws();

    ASSERT_TRUE(clipboard.open());
    clipboard.empty();
    clipboard.setData(CF_TEXT, ansiBlock("a"));
    clipboard.setData(CF_UNICODETEXT, utf16Block(u"a"));
    clipboard.setData(CF_TEXT, ansiBlock("b"));  // same format again: replaced in place
    EXPECT_EQ(viewer.draws(), before) << "nothing is announced while the clipboard is open";
    clipboard.close();
    EXPECT_EQ(viewer.draws(), before + 1);

    ASSERT_EQ(clipboard.content().size(), 2u);
    EXPECT_EQ(clipboard.content()[0].first, CF_TEXT);
    EXPECT_EQ(std::get<MemoryBlock>(clipboard.content()[0].second), ansiBlock("b"));

    ASSERT_TRUE(clipboard.open());
    clipboard.close();
    EXPECT_EQ(viewer.draws(), before + 1) << "a close without a write announces nothing";
}

TEST(MemoryClipboard, EnumeratesInTheOrderFormatsWerePut) {
    MemoryClipboard clipboard;
    clipboard.putFromOtherProgram({{13, MemoryBlock{}}, {1, MemoryBlock{}}, {0xC001, MemoryBlock{}}});
    EXPECT_EQ(clipboard.enumFormats(0), 0) << "enumeration needs an open clipboard";
    ASSERT_TRUE(clipboard.open());
    EXPECT_EQ(clipboard.enumFormats(0), 13);
    EXPECT_EQ(clipboard.enumFormats(13), 1);
    EXPECT_EQ(clipboard.enumFormats(1), 0xC001);
    EXPECT_EQ(clipboard.enumFormats(0xC001), 0);
    clipboard.close();
    EXPECT_EQ(clipboard.formatCount(), 3);
}

TEST(MemoryClipboard, HeldByAnotherProgramOrRefusingData) {
    MemoryClipboard clipboard;
    clipboard.setHeldByOtherProgram(true);
    EXPECT_FALSE(clipboard.open());
    clipboard.setHeldByOtherProgram(false);
    ASSERT_TRUE(clipboard.open());
    clipboard.setRefuseData(true);
    EXPECT_THROW(clipboard.setData(CF_TEXT, ansiBlock("x")), ClipboardError);
    clipboard.close();
    EXPECT_THROW(clipboard.empty(), ClipboardError) << "writing needs an open clipboard";
}

TEST(MemoryClipboard, RegisteredNamesIgnoreCaseAndCountUpFromC000) {
    MemoryClipboard clipboard;
    const FormatId html = clipboard.registerFormat("HTML Format");
    EXPECT_EQ(html, 0xC000);
    EXPECT_EQ(clipboard.registerFormat("html format"), html);
    EXPECT_EQ(clipboard.registerFormat("Rich Text Format"), 0xC001);
    EXPECT_EQ(clipboard.registeredName(html), "HTML Format");
    EXPECT_FALSE(clipboard.registeredName(0xC005).has_value());
}

}  // namespace
}  // namespace tessaro

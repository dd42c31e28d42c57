// SPDX-License-Identifier: GPL-3.0-or-later
// The monitor: the 175 ms debounce on the tick counter with its deferred run, forwarding
// along the viewer chain, chain repair, and the matching of own write-backs with their counts.
#include <gtest/gtest.h>

#include "support/app_fixture.h"
#include "support/recording_viewer.h"

namespace tessaro {
namespace {

using testing::AppFixture;
using testing::RecordingViewer;

class Monitor : public AppFixture {
protected:
    // A change `ms` after the start of the previous run; true when it was captured.
    bool copyAfter(std::uint32_t ms) {
        const auto before = rows();
        desktop.setTick(app.captureState().LastRunTick + ms);
        clipboard.putFromOtherProgram(testing::textContent(u"x"));
        return rows() > before;
    }
};

TEST_F(Monitor, DebounceIsMeasuredFromTheStartOfThePreviousRun) {
    copyText(u"first");
    ASSERT_EQ(rows(), 1u);
    const std::uint32_t start = app.captureState().LastRunTick;
    EXPECT_FALSE(copyAfter(174));
    EXPECT_FALSE(copyAfter(175));
    EXPECT_EQ(rows(), 1u);
    desktop.setTick(start + 175);
    EXPECT_EQ(rows(), 1u);
    desktop.setTick(start + 176);
    EXPECT_EQ(rows(), 2u) << "the skipped change runs as soon as the interval has passed";
    EXPECT_EQ(app.captureState().LastRunTick, start + 176);
}

TEST_F(Monitor, TheLastCopyOfABurstGetsOneDeferredRun) {
    copyText(u"first");
    const std::uint32_t start = app.captureState().LastRunTick;
    copyText(u"second", 50);
    copyText(u"third", 50);
    EXPECT_EQ(rows(), 1u) << "both came within the interval";
    EXPECT_EQ(desktop.pendingTasks(), 1u) << "one deferred run for any number of skipped changes";
    desktop.advance(1000);
    ASSERT_EQ(rows(), 2u);
    EXPECT_EQ(lastRow().cell(2), u"third");
    EXPECT_EQ(app.captureState().LastRunTick, start + 176);
    EXPECT_EQ(desktop.pendingTasks(), 0u);
    copyText(u"fourth", 10);
    EXPECT_EQ(rows(), 3u) << "a copy after a quiet interval runs at once";
}

TEST_F(Monitor, OwnWriteBacksNeedNoDeferredRun) {
    prog().cb_textadd.setChecked(true);
    prog().act_textadd_vorne.setText(u"<");
    copyText(u"text");
    ASSERT_EQ(rows(), 1u);
    EXPECT_EQ(desktop.pendingTasks(), 0u);
    desktop.advance(1000);
    EXPECT_EQ(rows(), 1u) << "the write-back was not captured later either";
    EXPECT_EQ(app.captureState().SuppressCount, 0);
}

TEST_F(Monitor, ADeferredRunAfterTheProgramLeftTheChainDoesNothing) {
    copyText(u"first");
    copyText(u"too soon", 20);
    ASSERT_EQ(desktop.pendingTasks(), 1u);
    app.mainWindow().FormDestroy();
    desktop.advance(1000);
    EXPECT_EQ(rows(), 1u);
}

TEST_F(Monitor, AChangeWhileARunReadsTheClipboardRunsAfterTheReading) {
    // The window answers while a large copy is read; a copy made meanwhile must not start
    // a run inside the reading one.
    bool copied = false;
    const Subscription duringReading = prog().zuletzt.listChanged().subscribe([&](const ListChange&) {
        if (copied) return;
        copied = true;
        desktop.advance(500);
        clipboard.putFromOtherProgram(testing::textContent(u"during"));
        EXPECT_EQ(rows(), 1u) << "no run inside the reading";
    });
    copyText(u"first");
    ASSERT_TRUE(copied);
    EXPECT_EQ(rows(), 1u);
    EXPECT_EQ(app.captureState().Reading, false);
    desktop.advance(1000);
    ASSERT_EQ(rows(), 2u) << "the copy made during the reading had its run afterwards";
    EXPECT_EQ(lastRow().cell(2), u"during");
}

TEST_F(Monitor, TheRunStartTickIsTakenBeforeTheRunNotAfter) {
    // A slow run: the tick moves on while the pipeline works.
    std::uint32_t start = 0;
    const Subscription slowRun = prog().zuletzt.listChanged().subscribe([&](const ListChange&) {
        start = app.captureState().LastRunTick;
        desktop.advance(150);
    });
    copyText(u"slow");
    EXPECT_EQ(desktop.tickCount() - start, 150u);
    EXPECT_TRUE(copyAfter(176)) << "176 ms after the start of the run, though only 26 after its end";
}

TEST_F(Monitor, DebounceSurvivesTheTickCounterWrappingAround) {
    desktop.setTick(0xFFFFFF00u);
    clipboard.putFromOtherProgram(testing::textContent(u"before wrap"));
    ASSERT_EQ(rows(), 1u);
    EXPECT_EQ(app.captureState().LastRunTick, 0xFFFFFF00u);
    desktop.setTick(0xFFFFFF80u);
    clipboard.putFromOtherProgram(testing::textContent(u"too soon"));
    EXPECT_EQ(rows(), 1u);
    desktop.setTick(0x00000050u);  // across the wrap: the deferred run came at 0xFFFFFFB0
    ASSERT_EQ(rows(), 2u);
    EXPECT_EQ(app.captureState().LastRunTick, 0xFFFFFFB0u);
    clipboard.putFromOtherProgram(testing::textContent(u"after wrap"));  // 160 ms after that run
    EXPECT_EQ(rows(), 2u);
    desktop.setTick(0x00000100u);
    ASSERT_EQ(rows(), 3u);
    EXPECT_EQ(lastRow().cell(2), u"after wrap");
    EXPECT_EQ(app.captureState().LastRunTick, 0x00000060u) << "176 ms after the run before it";
}

TEST_F(Monitor, EveryNotificationIsForwardedWhetherCapturedDroppedOrSwitchedOff) {
    // A viewer that joined before the program sits behind it in the chain.
    app.mainWindow().FormDestroy();
    RecordingViewer behind(clipboard.viewers());
    behind.join();
    prog().monitor().join();
    ASSERT_EQ(prog().monitor().NextViewer(), behind.handle);
    const int before = behind.draws();

    copyText(u"a");
    copyText(u"b", 100);
    prog().m_einst_aktiv.click();
    copyText(u"c");
    EXPECT_EQ(behind.draws(), before + 3);
    EXPECT_EQ(rows(), 1u);
    EXPECT_EQ(app.captureState().LastRunTick, desktop.tickCount())
        << "the run start is still taken while capture is off";
}

TEST_F(Monitor, ChainMessagesRepairOrForward) {
    app.mainWindow().FormDestroy();
    RecordingViewer far(clipboard.viewers()), near(clipboard.viewers());
    far.join();
    near.join();
    prog().monitor().join();  // chain: program -> near -> far
    ASSERT_EQ(prog().monitor().NextViewer(), near.handle);

    far.leave();  // reaches the program first, which forwards it to near
    EXPECT_EQ(near.received.back().kind, ViewerMessage::Kind::ChangeCbChain);
    EXPECT_EQ(near.received.back().wParam, far.handle);
    EXPECT_EQ(prog().monitor().NextViewer(), near.handle);

    const auto nearMessages = near.received.size();
    near.leave();  // names the program's next viewer: repaired, not forwarded
    EXPECT_EQ(prog().monitor().NextViewer(), 0u);
    EXPECT_EQ(near.received.size(), nearMessages);
    copyText(u"still captured");
    EXPECT_EQ(rows(), 1u);
}

TEST_F(Monitor, AViewerAheadOfTheProgramPassesChangesOn) {
    RecordingViewer ahead(clipboard.viewers());
    ahead.join();
    ASSERT_EQ(ahead.next, prog().monitor().handle());
    copyText(u"via the chain");
    EXPECT_EQ(rows(), 1u);
    prog().cb_suchenersetzen.setChecked(true);
    copyText(u"written back");
    EXPECT_EQ(rows(), 2u);
    EXPECT_EQ(app.captureState().SuppressCount, 0) << "nested notification matched through the chain";
}

TEST_F(Monitor, LeavingOnDestroyHandsTheChainBack) {
    RecordingViewer ahead(clipboard.viewers());
    ahead.join();
    app.mainWindow().FormDestroy();
    EXPECT_EQ(ahead.next, 0u);
    EXPECT_TRUE(app.history().HistoryTexts.empty());
}

}  // namespace
}  // namespace tessaro

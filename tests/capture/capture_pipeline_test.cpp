// SPDX-License-Identifier: GPL-3.0-or-later
// One pipeline run per clipboard change, on the whole program over an in-memory
// clipboard: the details list, capture, history rows, display, stages and write-backs.
#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "platform/clipboard_error.h"
#include "support/app_fixture.h"

namespace tessaro {
namespace {

using testing::AppFixture;
using testing::testBitmap;
using testing::textContent;

// Action stages that record their calls and change what they are given in a visible way.
struct RecordingStages final : ActionStages {
    std::vector<std::string> calls;
    bool failCut = false;
    bool unwiredCut = false;
    // Runs inside the cut, as a copy made while the cut-out dialog is open would.
    std::function<void()> whileCutting;
    std::function<void()> duringReplace;
    std::u16string searchReplace(std::u16string text) override {
        calls.push_back("replace");
        if (duringReplace) duringReplace();
        return text + u"+r";
    }
    std::u16string addText(std::u16string text) override {
        calls.push_back("add");
        return u"<" + text + u">";
    }
    void saveText(const std::u16string& text) override { calls.push_back("savetext:" + std::string(text.begin(), text.end())); }
    std::shared_ptr<const Bitmap> cutImage(std::shared_ptr<const Bitmap> in) override {
        calls.push_back("cut");
        if (failCut) throw std::runtime_error("cut failed");
        if (unwiredCut) throw StageWiringError("the cut stage was never attached");
        if (whileCutting) std::exchange(whileCutting, nullptr)();
        return std::make_shared<const Bitmap>(Bitmap::blank(in->width - 1, in->height - 1, 24));
    }
    std::shared_ptr<const Bitmap> resizeImage(std::shared_ptr<const Bitmap> in) override {
        calls.push_back("resize");
        return std::make_shared<const Bitmap>(Bitmap::blank(in->width / 2, in->height / 2, 24));
    }
    void applyOutputOptions() override { calls.push_back("options"); }
    void saveImage(const Bitmap& image) override {
        calls.push_back("saveimage:" + std::to_string(image.width) + "x" + std::to_string(image.height));
    }
};

class Pipeline : public AppFixture {};

class PipelineWithStages : public AppFixture {
protected:
    PipelineWithStages() : AppFixture(&stages) {}
    RecordingStages stages;
};

TEST_F(Pipeline, TextCaptureFillsDetailsDisplayTabsAndHistory) {
    copyText(u"Gr\u00fc\u00dfe \u20ac");
    auto& p = prog();
    ASSERT_EQ(p.liste.count(), 2u);
    EXPECT_EQ(p.liste.item(0).caption, u"UNICODETEXT");
    EXPECT_EQ(p.liste.item(0).cell(1), u"13");
    EXPECT_EQ(p.liste.item(0).cell(2), u"Gr\u00fc\u00dfe \u20ac");
    EXPECT_EQ(p.liste.item(1).caption, u"TEXT");
    EXPECT_EQ(p.liste.item(1).cell(2), std::u16string(u"Gr\u00fc\u00dfe \u20ac\0", 8)) << "the whole 8-bit block, its 0 byte too";

    EXPECT_EQ(p.display_txt.text(), u"Gr\u00fc\u00dfe \u20ac");
    EXPECT_EQ(p.pc.activePage(), &p.tab_txt);
    EXPECT_EQ(p.TabSet1.tabs(), (std::vector<std::u16string>{u"Text", u"Details"}));
    EXPECT_EQ(p.TabSet1.tabIndex(), 0);

    ASSERT_EQ(rows(), 1u);
    EXPECT_EQ(lastRow().caption, u"14:05:09");
    EXPECT_EQ(testing::subItemsOf(lastRow()), (std::vector<std::u16string>{u"Text", u"Gr\u00fc\u00dfe \u20ac", u"0"}));
    ASSERT_EQ(app.history().HistoryTexts.size(), 1u);
    EXPECT_EQ(app.history().HistoryTexts[0], u"Gr\u00fc\u00dfe \u20ac");

    copyText(u"Gr\u00fc\u00dfe \u20ac");
    EXPECT_EQ(rows(), 2u) << "the same text twice gives two rows";
    EXPECT_EQ(lastRow().cell(3), u"1");
    EXPECT_EQ(app.history().TextHistoryCount, 2);
}

TEST_F(Pipeline, DetailsListSkipsUnknownAndEmptyFormatsAndReadsFormat49159AsUtf16) {
    for (int i = 0; i < 7; ++i) clipboard.registerFormat("fmt" + std::to_string(i));
    const FormatId wide = clipboard.registerFormat("wide");
    ASSERT_EQ(wide, 49159);
    const FormatId binary = clipboard.registerFormat("fmt0");
    copy({{0xC0FF, ansiBlock("nameless")},
          {CF_BITMAP, testBitmap(4, 3)},
          {wide, utf16Block(u"\u00e4\u20ac")},
          {binary, MemoryBlock{0x00, 0xFF, 0x80}},
          {0x0250, ansiBlock("private")}});
    auto& liste = prog().liste;
    ASSERT_EQ(liste.count(), 3u) << "no row for a nameless format or a bitmap without block";
    EXPECT_EQ(liste.item(0).caption, u"wide");
    EXPECT_EQ(liste.item(0).cell(1), u"49159");
    EXPECT_EQ(liste.item(0).cell(2), u"\u00e4\u20ac");
    EXPECT_EQ(liste.item(1).caption, u"fmt0");
    EXPECT_EQ(liste.item(1).cell(2), std::u16string(u"\0\u00ff\u20ac", 3)) << "binary bytes as Windows-1252";
    EXPECT_EQ(liste.item(2).caption, u"PRIVATE");
}

TEST_F(Pipeline, ImageCaptureShowsThePictureAndAddsAnImageRow) {
    copy({{CF_BITMAP, testBitmap(1024, 768)}});
    auto& p = prog();
    EXPECT_EQ(p.liste.count(), 0u);
    EXPECT_EQ(p.pc.activePage(), &p.tab_img);
    EXPECT_EQ(p.TabSet1.tabs(), (std::vector<std::u16string>{u"Image", u"Details"}));
    ASSERT_EQ(rows(), 1u);
    EXPECT_EQ(testing::subItemsOf(lastRow()), (std::vector<std::u16string>{u"Image", u"1024 x 768", u"0"}));
    ASSERT_TRUE(p.display_img.bitmap());
    EXPECT_EQ(p.display_img.bitmap()->width, 1024);
    EXPECT_EQ(p.ScrollBox2.horizontal().max, 1024);
    EXPECT_EQ(p.ScrollBox2.vertical().max, 768);

    app.startWindow().spr.setCaption(u"de");
    copy({{CF_BITMAP, testBitmap(2, 3)}});
    EXPECT_EQ(p.TabSet1.tabs()[0], u"Bild");
    EXPECT_EQ(testing::subItemsOf(lastRow()), (std::vector<std::u16string>{u"Bild", u"2 x 3", u"1"}));
}

TEST_F(Pipeline, TextAndBitmapTogetherAddBothRowsAndShowTheKindListedLast) {
    auto content = textContent(u"caption");
    content.insert(content.begin(), {CF_BITMAP, testBitmap(5, 5)});
    copy(content);
    ASSERT_EQ(rows(), 2u);
    EXPECT_EQ(prog().zuletzt.item(0).cell(1), u"Image");
    EXPECT_EQ(prog().zuletzt.item(1).cell(1), u"Text");
    EXPECT_EQ(prog().pc.activePage(), &prog().tab_txt);
}

TEST_F(Pipeline, AnEmptyUnicodeTextAddsNothingButStillRebuildsTheDetails) {
    copyText(u"first");
    copy({{CF_UNICODETEXT, utf16Block(u"")}, {CF_TEXT, ansiBlock("abc")}});
    EXPECT_EQ(rows(), 1u);
    EXPECT_EQ(prog().display_txt.text(), u"") << "the text box is cleared by every run";
    ASSERT_EQ(prog().liste.count(), 1u);
    EXPECT_EQ(prog().liste.item(0).caption, u"TEXT");
}

TEST_F(Pipeline, HistorySwitchesDecideWhichRowsAreAdded) {
    prog().cb_history_txt.setChecked(false);
    copyText(u"not kept");
    EXPECT_EQ(rows(), 0u);
    EXPECT_EQ(prog().display_txt.text(), u"not kept");
    EXPECT_EQ(app.history().TextHistoryCount, 0);
    prog().cb_history_img.setChecked(false);
    copy({{CF_BITMAP, testBitmap(2, 2)}});
    EXPECT_EQ(rows(), 0u);
    EXPECT_EQ(app.history().ImageHistoryCount, 0);
}

TEST_F(Pipeline, CaptureSwitchedOffLeavesEverythingAsItWas) {
    copyText(u"before");
    prog().m_einst_aktiv.click();
    EXPECT_FALSE(prog().m_einst_aktiv.checked());
    copy({{CF_BITMAP, testBitmap(2, 2)}});
    EXPECT_EQ(rows(), 1u);
    EXPECT_EQ(prog().display_txt.text(), u"before");
    EXPECT_EQ(prog().liste.count(), 2u);
    prog().m_einst_aktiv.click();
    copyText(u"after");
    EXPECT_EQ(rows(), 2u);
}

TEST_F(PipelineWithStages, ASecretCopyLeavesNoTraceButItsFormatNames) {
    prog().cb_suchenersetzen.setChecked(true);
    prog().cb_savetxt.setChecked(true);
    copyText(u"before");
    stages.calls.clear();
    auto secret = textContent(u"hunter2");
    const FormatId hint = clipboard.registerFormat("x-kde-passwordManagerHint");
    secret.push_back({hint, MemoryBlock{'s', 'e', 'c', 'r', 'e', 't'}});
    copy(secret);
    EXPECT_EQ(rows(), 1u) << "no history row";
    EXPECT_EQ(app.history().HistoryTexts.size(), 1u);
    EXPECT_TRUE(stages.calls.empty()) << "no stage, no save";
    EXPECT_EQ(prog().display_txt.text(), u"");
    ASSERT_EQ(prog().liste.count(), 3u);
    for (const ListItem& row : prog().liste.items()) {
        EXPECT_EQ(row.cell(2), u"(hidden)");
    }
    EXPECT_EQ(prog().liste.item(2).caption, u"x-kde-passwordManagerHint");
    EXPECT_EQ(prog().pc.activePage(), &prog().tab_details);
    TClipBoardEx reader(clipboard);
    EXPECT_EQ(reader.ReadUnicodeText(), u"hunter2") << "the password stays pasteable";

    auto notSecret = textContent(u"plain");
    notSecret.push_back({hint, MemoryBlock{'n', 'o'}});
    copy(notSecret);
    EXPECT_EQ(rows(), 2u) << "any other hint value is an ordinary copy";
}

TEST_F(Pipeline, RaisedSuppressCountSkipsThatManyRuns) {
    app.captureState().SuppressCount = 2;
    copyText(u"a");
    EXPECT_EQ(app.captureState().SuppressCount, 1);
    copyText(u"b");
    EXPECT_EQ(app.captureState().SuppressCount, 0);
    EXPECT_EQ(rows(), 0u);
    copyText(u"c");
    ASSERT_EQ(rows(), 1u);
    EXPECT_EQ(lastRow().cell(2), u"c");
}

TEST_F(Pipeline, AWriteBackIsNotCapturedAndLeavesNoCountBehind) {
    prog().cb_suchenersetzen.setChecked(true);
    prog().act_ers_text_suchen.setText(u"s");
    prog().act_ers_text_ersetzen.setText(u"S");
    const int changes = clipboard.changeCount();
    copyText(u"same");
    EXPECT_EQ(clipboard.changeCount(), changes + 2) << "the copy and the write-back";
    EXPECT_EQ(rows(), 1u);
    EXPECT_EQ(app.captureState().SuppressCount, 0);
    copyText(u"user copy", 200);
    ASSERT_EQ(rows(), 2u) << "a user's copy 200 ms after a write-back is captured";
    EXPECT_EQ(lastRow().cell(2), u"user copy");
}

TEST_F(PipelineWithStages, AfterASlowRunsWriteBackAUserCopyOutsideTheDebounceIsCaptured) {
    // The run takes 200 ms, so its write-back comes after the debounce window. Were that
    // notification taken through the debounce, it would restart the window and the user's
    // copy 100 ms later would be dropped.
    prog().cb_suchenersetzen.setChecked(true);
    stages.duringReplace = [this] { desktop.advance(200); };
    copyText(u"slow");
    stages.duringReplace = nullptr;
    copyText(u"user copy", 100);
    ASSERT_EQ(rows(), 2u) << "300 ms after the slow run started, 100 ms after its write-back";
    EXPECT_EQ(lastRow().cell(2), u"user copy");
    EXPECT_EQ(app.history().HistoryTexts[0], u"slow") << "the write-back itself made no row";
    EXPECT_EQ(app.captureState().SuppressCount, 0);
}

TEST_F(PipelineWithStages, ALateNotificationOfTheOwnWriteBackIsNotCapturedAgain) {
    prog().cb_textadd.setChecked(true);
    copyText(u"a");
    ASSERT_EQ(rows(), 1u);
    TClipBoardEx reader(clipboard);
    ASSERT_EQ(reader.ReadUnicodeText(), u"<a>");
    // The platform announces the same content once more, well after the run.
    desktop.advance(300);
    clipboard.viewers().announceChange();
    EXPECT_EQ(rows(), 1u) << "our own text is no user copy";
    EXPECT_EQ(reader.ReadUnicodeText(), u"<a>") << "the additions are not applied twice";
    copyText(u"b", 300);
    EXPECT_EQ(rows(), 2u) << "a real copy after it is captured";
}

TEST_F(PipelineWithStages, AWriteBackThatDidNotTakeEndsTheRunsWriting) {
    prog().cb_suchenersetzen.setChecked(true);
    prog().cb_textadd.setChecked(true);
    prog().cb_savetxt.setChecked(true);
    clipboard.setLoseWrites(true);
    copyText(u"B the cat");
    TClipBoardEx reader(clipboard);
    EXPECT_EQ(reader.ReadUnicodeText(), u"B the cat") << "the newer owner's content stays";
    EXPECT_EQ(clipboard.changeCount(), 2) << "after the refused replacement nothing more was written";
    EXPECT_EQ(stages.calls, (std::vector<std::string>{"replace", "add", "savetext:<B the cat+r>"}))
        << "the run goes on with its own text for the save";
    EXPECT_EQ(app.captureState().SuppressCount, 0);
    clipboard.setLoseWrites(false);
    copyText(u"next");
    EXPECT_EQ(rows(), 2u);
}

TEST_F(PipelineWithStages, TextStagesEachReadWhatThePreviousOneWroteBack) {
    prog().cb_suchenersetzen.setChecked(true);
    prog().cb_textadd.setChecked(true);
    prog().cb_savetxt.setChecked(true);
    copyText(u"t");
    EXPECT_EQ(stages.calls, (std::vector<std::string>{"replace", "add", "savetext:<t+r>"}));
    EXPECT_EQ(clipboard.formatCount(), 2);
    TClipBoardEx reader(clipboard);
    EXPECT_EQ(reader.ReadUnicodeText(), u"<t+r>");
    EXPECT_EQ(app.history().HistoryTexts[0], u"t") << "history keeps the text as it arrived";
    EXPECT_EQ(app.captureState().SuppressCount, 0);
}

TEST_F(PipelineWithStages, ImageStagesRunInOrderOnTheWorkingBitmap) {
    prog().cb_cutimg.setChecked(true);
    prog().cb_resizeimg.setChecked(true);
    prog().cb_saveimg.setChecked(true);
    prog().save_img_vorher.setChecked(true);
    copy({{CF_BITMAP, testBitmap(101, 61)}});
    EXPECT_EQ(stages.calls, (std::vector<std::string>{"cut", "options", "saveimage:100x60", "resize",
                                                       "options", "saveimage:50x30"}));
    TClipBoardEx reader(clipboard);
    EXPECT_EQ(reader.ReadClipboardBitmap()->width, 50);
    EXPECT_EQ(prog().display_img.bitmap()->width, 101) << "the display keeps the captured picture";
    EXPECT_EQ(rows(), 1u);
    EXPECT_EQ(app.captureState().SuppressCount, 0);
}

TEST_F(PipelineWithStages, ATextWriteBackLeavesNoBitmapForTheImageStages) {
    prog().cb_suchenersetzen.setChecked(true);
    prog().cb_cutimg.setChecked(true);
    auto content = textContent(u"both");
    content.push_back({CF_BITMAP, testBitmap(3, 3)});
    copy(content);
    EXPECT_EQ(rows(), 2u);
    EXPECT_EQ(stages.calls, (std::vector<std::string>{"replace"}));
}

TEST_F(PipelineWithStages, AFailingImageStageWritesNothingAndTheRunGoesOn) {
    stages.failCut = true;
    prog().cb_cutimg.setChecked(true);
    prog().cb_resizeimg.setChecked(true);
    const int changes = clipboard.changeCount();
    copy({{CF_BITMAP, testBitmap(10, 10)}});
    EXPECT_EQ(stages.calls, (std::vector<std::string>{"cut", "resize"}));
    EXPECT_EQ(clipboard.changeCount(), changes + 2) << "only the resize wrote back";
    EXPECT_TRUE(desktop.messages().empty());
}

TEST_F(PipelineWithStages, ACopyMadeWhileTheCutWaitsIsNeverOverwrittenButTheCutIsStillSaved) {
    prog().cb_cutimg.setChecked(true);
    prog().cb_resizeimg.setChecked(true);
    prog().cb_saveimg.setChecked(true);
    prog().save_img_vorher.setChecked(true);
    prog().save_img_nachher.setChecked(true);
    stages.whileCutting = [this] { copyText(u"newer copy"); };
    copy({{CF_BITMAP, testBitmap(101, 61)}});
    TClipBoardEx reader(clipboard);
    EXPECT_EQ(reader.ReadUnicodeText(), u"newer copy") << "no cut or resize was written over it";
    EXPECT_EQ(clipboard.formatCount(), 2);
    EXPECT_EQ(stages.calls, (std::vector<std::string>{"cut", "options", "saveimage:100x60", "resize", "options",
                                                       "saveimage:50x30"}))
        << "the run goes on with its own picture, though the clipboard now holds text";
    ASSERT_EQ(rows(), 2u);
    EXPECT_EQ(lastRow().cell(2), u"newer copy");
    EXPECT_EQ(app.captureState().SuppressCount, 0);
    copyText(u"next");
    EXPECT_EQ(rows(), 3u);
}

TEST_F(PipelineWithStages, AStageThatWasNeverWiredIsReportedNotTakenForAFailedPicture) {
    stages.unwiredCut = true;
    prog().cb_cutimg.setChecked(true);
    copy({{CF_BITMAP, testBitmap(10, 10)}});
    EXPECT_TRUE(desktop.messages().empty());
    EXPECT_EQ(prog().lb_status.caption(), u"Capture failed: the cut stage was never attached");
}

TEST(ProgramStages, StagesNeverAttachedAreNamedAndNoneActsAsAPassThrough) {
    ProgramStages stages;
    try {
        stages.checkComplete();
        ADD_FAILURE() << "an empty wiring passed the check";
    } catch (const StageWiringError& error) {
        EXPECT_STREQ(error.what(), "action stages never attached: text actions, text save, cut, resize, image save");
    }
    EXPECT_THROW(stages.searchReplace(u"x"), StageWiringError);
    EXPECT_THROW(stages.saveText(u"x"), StageWiringError);
    EXPECT_THROW(stages.cutImage(testBitmap(1, 1)), StageWiringError);
    EXPECT_THROW(stages.saveImage(*testBitmap(1, 1)), StageWiringError);
}

TEST_F(Pipeline, AFailedWriteBackGivesItsCountBackSoTheNextCopyIsCaptured) {
    prog().cb_suchenersetzen.setChecked(true);
    prog().act_ers_text_suchen.setText(u"x");
    prog().act_ers_text_ersetzen.setText(u"y");
    clipboard.setRefuseData(true);
    copyText(u"x");
    EXPECT_TRUE(desktop.messages().empty()) << "no box from inside a clipboard notification";
    EXPECT_NE(prog().lb_status.caption(), u"") << "the failure reaches the bottom strip";
    clipboard.setRefuseData(false);
    prog().cb_suchenersetzen.setChecked(false);
    EXPECT_EQ(app.captureState().SuppressCount, 0);
    copyText(u"next");
    EXPECT_EQ(lastRow().cell(2), u"next");
}

TEST_F(Pipeline, AnUnreadablePictureDoesNotKeepTheTextFromItsRun) {
    prog().cb_textadd.setChecked(true);
    prog().act_textadd_vorne.setText(u">");
    copy({{CF_BITMAP, MemoryBlock{1, 2, 3}}, {CF_UNICODETEXT, utf16Block(u"later")}});
    EXPECT_EQ(prog().lb_status.caption(), u"Capture failed: The clipboard holds no bitmap");
    ASSERT_EQ(rows(), 1u) << "the text listed after the picture is captured";
    EXPECT_EQ(lastRow().cell(2), u"later");
    EXPECT_EQ(prog().pc.activePage(), &prog().tab_txt);
    ASSERT_EQ(prog().liste.count(), 2u) << "the details list is filled";
    TClipBoardEx reader(clipboard);
    EXPECT_EQ(reader.ReadUnicodeText(), u">later") << "and the text stages ran";
    copyText(u"recovered");
    EXPECT_EQ(rows(), 2u);
}

TEST_F(Pipeline, FailedCapturesGoToTheStripNeverIntoBoxesAndTheNextGoodRunClearsIt) {
    clipboard.setHeldByOtherProgram(true);
    for (int i = 0; i < 50; ++i) copyText(u"locked");
    EXPECT_TRUE(desktop.messages().empty()) << "a stream of broken copies stacks no boxes";
    EXPECT_EQ(prog().lb_status.caption(), u"Capture failed: Cannot open clipboard");
    EXPECT_TRUE(prog().lb_status.color().has_value());
    EXPECT_EQ(prog().liste.count(), 0u);
    app.startWindow().spr.setCaption(u"de");
    copyText(u"locked");
    EXPECT_EQ(prog().lb_status.caption(), u"Erfassen fehlgeschlagen: Die Zwischenablage lässt sich nicht öffnen")
        << "the platform's words follow the language too";
    clipboard.setHeldByOtherProgram(false);
    copyText(u"free");
    EXPECT_EQ(rows(), 1u);
    EXPECT_EQ(prog().lastFailure(), u"");
    EXPECT_FALSE(prog().lb_status.color().has_value()) << "the strip is back at rest";
}

TEST_F(Pipeline, ALongTransferShowsItsProgressAfterASecondAndClearsItAtTheEnd) {
    const std::u16string resting = prog().lb_status.caption();
    prog().showTransfer(1 << 20, 50 << 20, false);
    EXPECT_EQ(prog().lb_status.caption(), resting) << "a short transfer shows nothing";
    desktop.advance(1200);
    prog().showTransfer(12 << 20, 50 << 20, false);
    EXPECT_EQ(prog().lb_status.caption(), u"Reading the clipboard: 12 of 50 MB");
    prog().showTransfer(30 << 20, 0, false);
    EXPECT_EQ(prog().lb_status.caption(), u"Reading the clipboard: 30 MB") << "an owner may not say the size";
    prog().showTransfer(50 << 20, 50 << 20, true);
    EXPECT_EQ(prog().lb_status.caption(), resting);
}

TEST_F(Pipeline, TabChangesChooseThePageByTheFirstTabsText) {
    auto& p = prog();
    copy({{CF_BITMAP, testBitmap(2, 2)}});
    p.TabSet1.setTabIndex(1);
    EXPECT_EQ(p.pc.activePage(), &p.tab_details);
    p.TabSet1.setTabIndex(0);
    EXPECT_EQ(p.pc.activePage(), &p.tab_img);
    copyText(u"x");
    p.TabSet1.setTabIndex(1);
    p.TabSet1.setTabIndex(0);
    EXPECT_EQ(p.pc.activePage(), &p.tab_txt);
}

TEST_F(Pipeline, DraggingThePictureScrollsByTheCursorsMovement) {
    auto& p = prog();
    copy({{CF_BITMAP, testBitmap(400, 300)}});
    EXPECT_EQ(p.pipeline().CaptureDrag(), (Point{0, 0}));
    p.display_img.onMouseDown(MouseButton::Left, {500, 500});
    p.display_img.onMouseMove(true, {480, 470});
    EXPECT_EQ(p.ScrollBox2.horizontal().position, 20);
    EXPECT_EQ(p.ScrollBox2.vertical().position, 30);
    p.display_img.onMouseMove(false, {400, 400});
    EXPECT_EQ(p.ScrollBox2.horizontal().position, 20) << "no scrolling without the left button";
    p.display_img.onMouseUp(MouseButton::Left, {400, 400});
    EXPECT_EQ(p.pipeline().CaptureDrag(), (Point{-1, -1}));
    p.display_img.onMouseMove(true, {0, 0});
    EXPECT_EQ(p.ScrollBox2.horizontal().position, 20) << "no drag after the button went up";
}

}  // namespace
}  // namespace tessaro

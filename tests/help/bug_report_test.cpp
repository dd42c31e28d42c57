// SPDX-License-Identifier: GPL-3.0-or-later
// The bug report: its text, the mailto link, and the window in the running program: the
// copy that the program must not capture, failures that are said aloud, the last error
// and a language switch.
#include <gtest/gtest.h>

#include <algorithm>

#include "help/bug_report.h"
#include "help/mailto.h"
#include "support/app_fixture.h"

namespace tessaro {
namespace {

bool contains(std::u16string_view text, std::u16string_view part) {
    return text.find(part) != std::u16string_view::npos;
}

TEST(BugReportText, DetailsNameVersionSystemAndLastErrorInTheInterfaceLanguage) {
    EXPECT_EQ(ReportDetails({u"0.1", u"Qt 6.4.2; Debian", u""}, false),
              u"Program: Tessaro 0.1\r\nSystem: Qt 6.4.2; Debian\r\nLast error: none");
    EXPECT_TRUE(contains(ReportDetails({u"0.1", u"Qt", u" \r\n"}, false), u"Last error: none"))
        << "a blank error is no error";
    const std::u16string german =
        ReportDetails({u"0.1", u"Qt", u"Erfassen fehlgeschlagen: X"}, true);
    EXPECT_TRUE(contains(german, u"Programm: Tessaro 0.1\r\n"));
    EXPECT_TRUE(contains(german, u"\r\nLetzter Fehler: Erfassen fehlgeschlagen: X"));
    EXPECT_TRUE(contains(ReportDetails({u"0.1", u"Qt", u""}, true), u"Letzter Fehler: keiner"));
}

TEST(BugReportText, TheDescriptionComesFirstAndABlankOneIsSaidToBeMissing) {
    const std::u16string report =
        ReportText(u"It crashed.\r\nTwice.", u"Program: Tessaro 0.1", false);
    EXPECT_EQ(report.rfind(u"It crashed.\r\nTwice.\r\n", 0), 0u);
    EXPECT_GT(report.find(u"Program: Tessaro 0.1"), report.find(u"Twice."));
    EXPECT_EQ(ReportText(u"  \r\n", u"D", false).rfind(u"(no description)", 0), 0u);
    EXPECT_EQ(ReportText(u"", u"D", true).rfind(u"(keine Beschreibung)", 0), 0u);
}

TEST(Mailto, EncodesEveryReservedCharacterAsUtf8AndLineBreaksAsCrLf) {
    struct Case {
        std::u16string_view subject;
        std::u16string_view body;
        std::string_view url;
    };
    const Case cases[] = {
        {u"Tessaro 0.1: Fehler", u"", "mailto:?subject=Tessaro%200.1%3A%20Fehler&body="},
        {u"", u"Grüße & Fragen?", "mailto:?subject=&body=Gr%C3%BC%C3%9Fe%20%26%20Fragen%3F"},
        // LF, CR LF and a lone CR all become one CR LF.
        {u"", u"a\nb\r\nc\rd", "mailto:?subject=&body=a%0D%0Ab%0D%0Ac%0D%0Ad"},
        {u"", u"\r\n\n", "mailto:?subject=&body=%0D%0A%0D%0A"},
        // "+" would read as a space, "#" would end the link, "=" and "&" would split it.
        {u"a+b", u"x=1&y=2#z/%", "mailto:?subject=a%2Bb&body=x%3D1%26y%3D2%23z%2F%25"},
        {u"", u"-._~AZaz09", "mailto:?subject=&body=-._~AZaz09"},
        {u"", u"€ \U0001F600", "mailto:?subject=&body=%E2%82%AC%20%F0%9F%98%80"},
        {u"", std::u16string_view(u"\xD800x", 2), "mailto:?subject=&body=%EF%BF%BDx"},
    };
    for (const Case& c : cases) EXPECT_EQ(MailtoUrl(c.subject, c.body), c.url);
}

class BugReport : public testing::AppFixture {
protected:
    Tbugreport& report() { return app.helpWindows().bugReport(); }
    std::u16string clipboardText() { return TClipBoardEx(clipboard).ReadUnicodeText(); }
    bool lastMessageSays(std::u16string_view part) {
        return !desktop.messages().empty() &&
               desktop.messages().back().kind == MessageKind::Error &&
               contains(desktop.messages().back().text, part);
    }
};

TEST_F(BugReport, CopyingPutsTheReportOnTheClipboardWithoutAHistoryRowOrAnAction) {
    prog().act_textadd_vorne.setText(u"> ");
    prog().cb_textadd.setChecked(true);
    copyText(u"first");
    ASSERT_EQ(rows(), 1u);
    ASSERT_EQ(clipboardText(), u"> first") << "the action runs on copies";
    report().ed_description.setText(u"Zeile eins\r\nZeile zwei");
    desktop.advance(1000);
    report().bt_copy.click();
    EXPECT_EQ(rows(), 1u) << "the program's own report is no copy of the user's";
    EXPECT_EQ(clipboardText(), report().reportText()) << "and no action changed it";
    EXPECT_EQ(clipboardText().rfind(u"Zeile eins\r\nZeile zwei", 0), 0u);
    EXPECT_EQ(app.captureState().SuppressCount, 0);
    EXPECT_FALSE(report().lb_result.caption().empty());
    EXPECT_TRUE(desktop.messages().empty());
    report().ed_description.setText(u"changed");
    EXPECT_TRUE(report().lb_result.caption().empty()) << "the clipboard holds the older report";
    copyText(u"after");
    ASSERT_EQ(rows(), 2u) << "the next copy is captured as usual";
    EXPECT_EQ(lastRow().cell(2), u"after");
}

TEST_F(BugReport, ACopyThatFailsIsSaidAndSwallowsNoLaterCopy) {
    copyText(u"being read");
    app.captureState().Reading = true;  // as while a large copy still arrives
    report().bt_copy.click();
    EXPECT_TRUE(lastMessageSays(u"still reading a copy"));
    EXPECT_EQ(clipboardText(), u"being read") << "the copy being read is not replaced";
    app.captureState().Reading = false;

    clipboard.setLoseWrites(true);
    report().bt_copy.click();
    EXPECT_TRUE(lastMessageSays(u"could not be put on the clipboard: Another program copied"));
    EXPECT_TRUE(report().lb_result.caption().empty()) << "no success is shown";
    EXPECT_EQ(app.captureState().SuppressCount, 0);
    clipboard.setLoseWrites(false);
    clipboard.setHeldByOtherProgram(true);
    report().bt_copy.click();
    EXPECT_TRUE(lastMessageSays(u"Cannot open clipboard"));
    EXPECT_EQ(app.captureState().SuppressCount, 0);
    clipboard.setHeldByOtherProgram(false);
    copyText(u"next");
    EXPECT_EQ(rows(), 2u);
}

TEST_F(BugReport, MailOpensANewMailWithTheReportOrSaysWhyNot) {
    report().ed_description.setText(u"Absturz beim Einfügen & Speichern?");
    report().bt_mail.click();
    ASSERT_EQ(desktop.openedUrls().size(), 1u);
    const std::string& url = desktop.openedUrls().front();
    EXPECT_EQ(url.rfind("mailto:?subject=Tessaro%20", 0), 0u) << url;
    EXPECT_NE(url.find("&body=Absturz%20beim%20Einf%C3%BCgen%20%26%20Speichern%3F%0D%0A"),
              std::string::npos)
        << url;
    EXPECT_NE(url.find("%0D%0ASystem%3A%20"), std::string::npos) << "the facts go with it";
    EXPECT_TRUE(desktop.messages().empty());

    desktop.setCanOpenDocuments(false);
    report().bt_mail.click();
    EXPECT_TRUE(lastMessageSays(u"No mail client could be opened."));
    EXPECT_TRUE(lastMessageSays(report().bt_copy.caption()))
        << "the message points to the clipboard";

    desktop.setCanOpenDocuments(true);
    desktop.clearMessages();
    report().ed_description.setText(std::u16string(kMaxMailtoLength, u'x'));
    report().bt_mail.click();
    EXPECT_EQ(desktop.openedUrls().size(), 2u) << "a link that would be cut is not handed on";
    EXPECT_TRUE(lastMessageSays(u"too long"));
}

TEST_F(BugReport, FactsAreFreshAtEachShowingAndFollowALanguageSwitch) {
    desktop.setSystemDescription(u"Qt 6.9.9; TestOS 1");
    prog().m_bugreport.click();
    EXPECT_TRUE(report().visible());
    EXPECT_TRUE(contains(report().txt_details.text(), u"System: Qt 6.9.9; TestOS 1"));
    EXPECT_TRUE(contains(report().txt_details.text(), u"Last error: none"));

    clipboard.setHeldByOtherProgram(true);
    copyText(u"locked");
    clipboard.setHeldByOtherProgram(false);
    prog().m_bugreport.click();
    EXPECT_TRUE(contains(report().txt_details.text(),
                         u"Last error: Capture failed: Cannot open clipboard"));

    report().ed_description.setText(u"kept");
    app.startWindow().spr.setCaption(u"de");
    app.sprachealles();
    EXPECT_EQ(report().caption(), u"Fehler oder Verbesserung melden");
    EXPECT_EQ(report().bt_copy.caption(), u"In die Zwischenablage kopieren");
    EXPECT_TRUE(contains(report().txt_details.text(), u"Letzter Fehler: Capture failed"));
    EXPECT_EQ(report().ed_description.text(), u"kept") << "a switch loses nothing typed";
    copyText(u"works");
    prog().Hilfe_bugreport.click();
    EXPECT_TRUE(contains(report().txt_details.text(), u"Letzter Fehler: keiner"))
        << "a run that works clears the error";
}

TEST_F(BugReport, TheIntroductionOfTheCurrentLanguageShowsAndTheOtherOneGoes) {
    HelpWindows& help = app.helpWindows();
    for (Form* window : help.windows()) {
        EXPECT_NE(std::find(app.windows().begin(), app.windows().end(), window),
                  app.windows().end())
            << window->name() << " is one of the program's windows";
    }
    prog().Information_intro.click();
    EXPECT_TRUE(help.introduction(false).visible());
    app.startWindow().spr.setCaption(u"de");
    app.sprachealles();
    EXPECT_EQ(help.introduction(false).caption(), u"Introduction")
        << "each introduction keeps its language";
    prog().Hilfe_intro.click();
    EXPECT_TRUE(help.introduction(true).visible());
    EXPECT_FALSE(help.introduction(false).visible()) << "never two introductions at once";
    help.introduction(true).bt_close.click();
    EXPECT_FALSE(help.introduction(true).visible());
}

}  // namespace
}  // namespace tessaro

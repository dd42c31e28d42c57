// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt windows of the help: the introduction renders every topic with its example as the
// user reads it and jumps to its topics, the bug report mirrors its model and follows a
// language switch, and the output settings carry the link to the encodings page.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBrowser>

#include "app/qt_text.h"
#include "app/views/bug_report_view.h"
#include "app/views/intro_view.h"
#include "app/views/output_settings_view.h"
#include "help/introduction.h"
#include "support/app_fixture.h"

namespace tessaro {
namespace {

class HelpViews : public testing::AppFixture {
protected:
    HelpWindows& help() { return app.helpWindows(); }
    void switchLanguage(bool german) {
        app.startWindow().spr.setCaption(german ? u"de" : u"en");
        app.sprachealles();
    }
};

TEST_F(HelpViews, TheIntroductionShowsEveryTopicAndItsExampleAsWrittenAndJumpsToIt) {
    for (const bool german : {true, false}) {
        IntroView view(help().introduction(german), nullptr);
        view.show();
        QApplication::processEvents();
        auto* page = view.findChild<QTextBrowser*>(QStringLiteral("txt_intro"));
        ASSERT_NE(page, nullptr);
        EXPECT_TRUE(page->isReadOnly());
        const QString shown = page->toPlainText();
        for (const IntroTopic& topic : IntroTopics(german)) {
            EXPECT_TRUE(shown.contains(toQString(topic.title))) << topic.id;
            EXPECT_TRUE(shown.contains(toQString(topic.example)))
                << topic.id << ": the example reads as written";
        }
        EXPECT_EQ(view.windowTitle(),
                  german ? QStringLiteral("Einführung") : QStringLiteral("Introduction"));
        ASSERT_EQ(page->verticalScrollBar()->value(), 0);
        page->setSource(
            QUrl(QStringLiteral("#configurations")));  // as a click on the last link does
        EXPECT_GT(page->verticalScrollBar()->value(), 0) << "the topic list jumps within the page";
    }
}

TEST_F(HelpViews, TheIntroductionsCloseBoxHidesItThroughItsModel) {
    IntroView view(help().introduction(false), nullptr);
    prog().Information_intro.click();
    ASSERT_TRUE(help().introduction(false).visible());
    view.close();
    EXPECT_FALSE(help().introduction(false).visible());
}

TEST_F(HelpViews, TheBugReportMirrorsItsModelAndFollowsALanguageSwitch) {
    BugReportView view(help().bugReport(), nullptr);
    prog().m_bugreport.click();
    view.show();
    QApplication::processEvents();
    auto* description = view.findChild<QPlainTextEdit*>(QStringLiteral("ed_description"));
    auto* details = view.findChild<QPlainTextEdit*>(QStringLiteral("txt_details"));
    auto* copy = view.findChild<QPushButton*>(QStringLiteral("bt_copy"));
    auto* result = view.findChild<QLabel*>(QStringLiteral("lb_result"));
    ASSERT_TRUE(description && details && copy && result);
    EXPECT_FALSE(description->isReadOnly());
    EXPECT_TRUE(details->isReadOnly());
    EXPECT_TRUE(details->toPlainText().contains(QStringLiteral("Last error: none")));

    description->setPlainText(QStringLiteral("Zeile 1\nZeile 2"));
    EXPECT_EQ(help().bugReport().ed_description.text(), u"Zeile 1\r\nZeile 2");
    copy->click();
    EXPECT_EQ(TClipBoardEx(clipboard).ReadUnicodeText(), help().bugReport().reportText());
    EXPECT_FALSE(result->text().isEmpty());
    EXPECT_EQ(rows(), 0u);

    switchLanguage(true);
    EXPECT_EQ(view.windowTitle(), QStringLiteral("Fehler oder Verbesserung melden"));
    EXPECT_EQ(copy->text(), QStringLiteral("In die Zwischenablage kopieren"));
    EXPECT_TRUE(details->toPlainText().contains(QStringLiteral("Letzter Fehler: keiner")));
    EXPECT_EQ(description->toPlainText(), QStringLiteral("Zeile 1\nZeile 2"));
}

TEST_F(HelpViews, TheEncodingLinkFollowsItsCaptionAndOpensThePage) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QFile page(folder.filePath(QStringLiteral("text-encodings-en.html")));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.close();
    desktop.setProgramFolder(folder.path().toStdString() + "/");
    OutputSettingsView view(app.outputSettings(), nullptr);
    view.show();
    QApplication::processEvents();
    auto* link = view.findChild<QLabel*>(QStringLiteral("lb_encodings_link"));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->text(), QStringLiteral("Text encodings explained"));
    const QLabel* caption = nullptr;
    for (const QLabel* label : view.findChildren<QLabel*>()) {
        if (label->text() == toQString(app.outputSettings().Label4.caption())) caption = label;
    }
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->parentWidget(), link->parentWidget())
        << "the link stands in the encoding group";
    EXPECT_GT(link->y(), caption->y()) << "below its caption";
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), link->mapToGlobal(QPointF(2, 2)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(link, &release);
    ASSERT_EQ(desktop.openedDocuments().size(), 1u);
    EXPECT_EQ(desktop.openedDocuments().back().filename(), "text-encodings-en.html");
    EXPECT_TRUE(desktop.messages().empty());
    switchLanguage(true);
    EXPECT_EQ(link->text(), QStringLiteral("Textkodierungen erklärt"));
}

}  // namespace
}  // namespace tessaro

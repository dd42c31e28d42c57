// SPDX-License-Identifier: GPL-3.0-or-later
// Every window and action panel in both languages, on the screen TESSARO_TEST_SCREEN gives
// (WIDTHxHEIGHT, scaled by QT_SCALE_FACTOR as a real screen would be): no window is larger
// than the screen, no control is cut off by its parent, and no caption by its control.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryFile>

#include "app/views/cut_out_view.h"
#include "app/views/history_settings_view.h"
#include "app/views/main_window_view.h"
#include "app/views/output_settings_view.h"
#include "app/views/regex_settings_view.h"
#include "support/app_fixture.h"

// Sizes in failure messages as WIDTHxHEIGHT.
void PrintTo(const QSize& size, std::ostream* out) { *out << size.width() << 'x' << size.height(); }

namespace tessaro {
namespace {

QString describe(const QWidget* widget) {
    QString text = QString::fromLatin1(widget->metaObject()->className());
    if (!widget->objectName().isEmpty()) text += u' ' + widget->objectName();
    if (const auto* label = qobject_cast<const QLabel*>(widget)) text += QStringLiteral(" \"%1\"").arg(label->text());
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        text += QStringLiteral(" \"%1\"").arg(button->text());
    }
    return text;
}

std::string shown(const QRect& r) {
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}

// A caption that its label or button shows only in part: too narrow for its one line, too
// low for its text, or, when it wraps, too narrow for its longest word or too low for its
// lines.
void findCutCaption(const QWidget* widget, QStringList& cuts) {
    const auto* label = qobject_cast<const QLabel*>(widget);
    if (!label && !qobject_cast<const QAbstractButton*>(widget)) return;
    const bool wraps = label ? label->wordWrap() : widget->hasHeightForWidth();
    const int width = wraps ? widget->minimumSizeHint().width() : widget->sizeHint().width();
    const int height = wraps ? widget->heightForWidth(widget->width()) : widget->fontMetrics().height();
    if (widget->width() < width || widget->height() < height) {
        cuts << describe(widget) + QStringLiteral(": %1x%2, its caption needs %3x%4")
                                       .arg(widget->width())
                                       .arg(widget->height())
                                       .arg(width)
                                       .arg(height);
    }
}

// Walks the visible widgets below `parent` and lists each one that its parent cuts off, or
// whose caption is cut. The insides of combo boxes, tables and text fields are theirs; the
// contents of a scroll area may be larger than its viewport where a scroll bar reaches it.
void findCuts(const QWidget* parent, QStringList& cuts) {
    for (const QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow() || !child->isVisibleTo(parent)) continue;
        if (!parent->rect().contains(child->geometry())) {
            cuts << describe(child) + QStringLiteral(" at %1 outside %2 of %3")
                                          .arg(QString::fromStdString(shown(child->geometry())),
                                               QString::fromStdString(shown(parent->rect())), describe(parent));
        }
        findCutCaption(child, cuts);
        if (const auto* area = qobject_cast<const QScrollArea*>(child)) {
            const QWidget* content = area->widget();
            const QSize viewport = area->viewport()->size();
            if (content->width() > viewport.width() && !area->horizontalScrollBar()->isVisibleTo(area)) {
                cuts << describe(content) + QStringLiteral(" wider than its viewport, without a scroll bar");
            }
            if (content->height() > viewport.height() && !area->verticalScrollBar()->isVisibleTo(area)) {
                cuts << describe(content) + QStringLiteral(" higher than its viewport, without a scroll bar");
            }
            findCuts(content, cuts);
        } else if (!qobject_cast<const QComboBox*>(child) && !qobject_cast<const QAbstractScrollArea*>(child)) {
            findCuts(child, cuts);
        }
    }
}

std::string cutsIn(const QWidget& root) {
    QStringList cuts;
    findCuts(&root, cuts);
    return cuts.join(u'\n').toStdString();
}

void settle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

QRect available() { return QGuiApplication::primaryScreen()->availableGeometry(); }

class ScreenFit : public testing::AppFixture, public ::testing::WithParamInterface<const char16_t*> {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        app.startWindow().spr.setCaption(GetParam());
        prog().sprache();
        app.outputSettings().Sprache();
        app.regexSettings().Sprache();
        app.historySettings().Sprache();
        app.cutOutWindow().Sprache();
    }

    // Shows a dialog and checks it against the screen, and its controls against their
    // parents. A screen with room for it gets the design size exactly.
    static void expectFits(QWidget& dialog, QSize design) {
        dialog.show();
        settle();
        EXPECT_TRUE(available().contains(dialog.frameGeometry()))
            << describe(&dialog).toStdString() << " at " << shown(dialog.frameGeometry()) << " on a screen of "
            << shown(available());
        const QSize frame = dialog.frameGeometry().size() - dialog.size();
        if (!design.isEmpty() && available().width() >= design.width() + frame.width() &&
            available().height() >= design.height() + frame.height()) {
            EXPECT_EQ(dialog.size(), design) << describe(&dialog).toStdString();
            // and shows all its controls at once
            for (const QScrollArea* area : dialog.findChildren<QScrollArea*>()) {
                EXPECT_FALSE(area->horizontalScrollBar()->isVisibleTo(&dialog)) << describe(&dialog).toStdString();
                EXPECT_FALSE(area->verticalScrollBar()->isVisibleTo(&dialog)) << describe(&dialog).toStdString();
            }
        }
        EXPECT_EQ(cutsIn(dialog), "") << describe(&dialog).toStdString();
        dialog.hide();
    }
};

TEST_P(ScreenFit, EveryWindowFitsTheScreenAndShowsAllItsControls) {
    // The main window as the program shows it: maximized where the screen is small for it.
    const QSize screen = available().size();
    desktop.setScreen({screen.width(), screen.height()});
    MainWindowView main(prog());
    prog().reveal();
    main.setWindowState(prog().windowState() == WindowState::Maximized ? Qt::WindowMaximized : Qt::WindowNoState);
    main.show();
    settle();
    EXPECT_TRUE(available().contains(main.frameGeometry())) << shown(main.frameGeometry()) << " on " << shown(available());

    OutputSettingsView output(app.outputSettings(), &main);
    expectFits(output, QSize(Teinstausgabe::kDesignWidth, Teinstausgabe::kDesignHeight));
    RegexSettingsView regex(app.regexSettings(), &main);
    expectFits(regex, QSize(Teinstregex::kDesignWidth, Teinstregex::kDesignHeight));
    HistorySettingsView history(app.historySettings(), &main);
    expectFits(history, QSize(Teinstverlauf::kDesignWidth, Teinstverlauf::kDesignHeight));
    app.cutOutWindow().load(*testing::testBitmap(1200, 900));
    CutOutView cutOut(app.cutOutWindow(), nullptr);
    expectFits(cutOut, QSize());
}

TEST_P(ScreenFit, EveryActionPanelShowsAllItsControlsAtTheDesignSize) {
    MainWindowView view(prog());
    view.resize(Tprog::kDesignWidth, Tprog::kDesignHeight);
    view.show();
    settle();
    auto* area = view.findChild<QWidget*>(QStringLiteral("cb_suchenersetzen"))->parentWidget()->parentWidget()->parentWidget();
    ASSERT_NE(qobject_cast<QScrollArea*>(area), nullptr);
    QWidget* rows = static_cast<QScrollArea*>(area)->widget();
    const std::array<CheckBox*, 6> switches = {&prog().cb_suchenersetzen, &prog().cb_textadd,
                                               &prog().cb_savetxt,        &prog().cb_cutimg,
                                               &prog().cb_resizeimg,      &prog().cb_saveimg};
    for (std::size_t i = 0; i < switches.size(); ++i) {
        const Panel& model = *prog().detailRows[i];
        switches[i]->click();
        // The search-and-replace box is checked at its larger height, with the table.
        if (i == 0) prog().cb_se_mehrfach.click();
        settle();
        auto* row = view.findChild<QWidget*>(QString::fromStdString(model.name()));
        ASSERT_NE(row, nullptr);
        ASSERT_TRUE(row->isVisible()) << model.name();
        EXPECT_EQ(row->height(), model.height()) << model.name() << " is as high as its panel";
        EXPECT_LE(rows->width(), static_cast<QScrollArea*>(area)->viewport()->width())
            << model.name() << " makes the actions scroll sideways";
        EXPECT_EQ(cutsIn(*row), "") << model.name();
        if (i == 0) prog().cb_se_mehrfach.click();
        switches[i]->click();
    }
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, ScreenFit, ::testing::Values(u"en", u"de"), [](const auto& info) {
    return std::string(info.param == std::u16string_view(u"de") ? "German" : "English");
});

// A screen smaller than the dialog: the controls scroll, the buttons stay in view.
class SmallScreen : public testing::AppFixture {};

TEST_F(SmallScreen, ADialogScrollsItsControlsAndKeepsItsButtonsInView) {
    RegexSettingsView regex(app.regexSettings(), nullptr);
    regex.show();
    settle();
    const QRect room(available().topLeft() + QPoint(10, 20), QSize(300, 250));
    regex.fitInto(room);
    settle();
    EXPECT_TRUE(room.contains(regex.frameGeometry())) << shown(regex.frameGeometry());
    auto* area = regex.findChild<QScrollArea*>();
    ASSERT_NE(area, nullptr);
    EXPECT_TRUE(area->verticalScrollBar()->isVisible());
    EXPECT_GT(area->verticalScrollBar()->maximum(), 0);
    for (const char* name : {"Button1", "Button2", "Button3"}) {
        auto* button = regex.findChild<QPushButton*>(QLatin1String(name));
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(regex.rect().contains(QRect(button->mapTo(&regex, QPoint()), button->size()))) << name;
    }
    EXPECT_EQ(cutsIn(regex), "");
    // Back on a screen with room, the design size returns.
    regex.fitInto(QRect(0, 0, 2000, 2000));
    EXPECT_EQ(regex.size(), QSize(Teinstregex::kDesignWidth, Teinstregex::kDesignHeight));
}

}  // namespace
}  // namespace tessaro

int main(int argc, char** argv) {
    // One offscreen screen of the size asked for, 800 x 600 unless told otherwise.
    const QByteArray size = qEnvironmentVariableIsEmpty("TESSARO_TEST_SCREEN")
                                ? QByteArray("800x600")
                                : qgetenv("TESSARO_TEST_SCREEN");
    const QList<QByteArray> sides = size.split('x');
    if (sides.size() != 2) return 2;
    QTemporaryFile config;
    if (!config.open()) return 2;
    config.write(QByteArrayLiteral(R"({"screens": [{"name": "test", "x": 0, "y": 0, "width": )") + sides[0] +
                 QByteArrayLiteral(R"(, "height": )") + sides[1] +
                 QByteArrayLiteral(R"(, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})"));
    config.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The cut-out dialog on screen: a drag with the mouse over the picture, sent as real mouse
// events, ends up as the four margins in the model and in the combo boxes below it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

#include "app/views/cut_out_view.h"
#include "platform/utf.h"
#include "support/app_fixture.h"

namespace tessaro {
namespace {

struct Margins {
    std::u16string left, right, top, bottom;
    bool operator==(const Margins&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Margins& m) {
    return out << utf16ToUtf8(m.left) << "," << utf16ToUtf8(m.right) << "," << utf16ToUtf8(m.top) << ","
               << utf16ToUtf8(m.bottom) << " (left,right,top,bottom)";
}

class CutOutViewTest : public testing::AppFixture {
protected:
    Tcutauswahl& dialog() { return app.cutOutWindow(); }

    // Loads a picture and shows the dialog as the cut stage does, and waits until it is laid out.
    void open(int width, int height) {
        dialog().load(*testing::testBitmap(width, height));
        view = std::make_unique<CutOutView>(dialog(), nullptr);
        view->show();
        QApplication::processEvents();
        picture = view->findChild<QWidget*>(QStringLiteral("bild"));
        area = view->findChild<QScrollArea*>(QStringLiteral("ScrollBox2"));
        ASSERT_NE(picture, nullptr);
        ASSERT_NE(area, nullptr);
        ASSERT_EQ(picture->size(), QSize(width, height));
    }

    // A mouse event at a screen position, as the window system delivers it to the picture.
    void send(QEvent::Type type, QPoint screen, Qt::MouseButton button, Qt::MouseButtons held) {
        const QPointF local = picture->mapFromGlobal(QPointF(screen));
        QMouseEvent event(type, local, local, QPointF(screen), button, held, Qt::NoModifier);
        QApplication::sendEvent(picture, &event);
        QApplication::processEvents();
    }
    // The same, aimed at a point of the picture wherever the picture is scrolled to now.
    QPoint onPicture(QPoint at) const { return picture->mapToGlobal(at); }
    QPoint onViewport(QPoint at) const { return area->viewport()->mapToGlobal(at); }

    void press(QPoint screen) { send(QEvent::MouseButtonPress, screen, Qt::LeftButton, Qt::LeftButton); }
    void move(QPoint screen) { send(QEvent::MouseMove, screen, Qt::NoButton, Qt::LeftButton); }
    void release(QPoint screen) { send(QEvent::MouseButtonRelease, screen, Qt::LeftButton, Qt::NoButton); }

    // Press at one point of the picture, move in steps to the other, release there.
    void drag(QPoint from, QPoint to, int steps = 4) {
        press(onPicture(from));
        for (int i = 1; i <= steps; ++i) move(onPicture(from + (to - from) * i / steps));
        release(onPicture(to));
    }

    Margins modelMargins() {
        return {dialog().act_zuschlinks.text(), dialog().act_zuschrechts.text(), dialog().act_zuschoben.text(),
                dialog().act_zuschunten.text()};
    }
    Margins shownMargins() {
        const auto text = [this](const char* name) {
            auto* box = view->findChild<QComboBox*>(QString::fromLatin1(name));
            return box ? toU16(box->currentText()) : u"<missing>";
        };
        return {text("act_zuschlinks"), text("act_zuschrechts"), text("act_zuschoben"), text("act_zuschunten")};
    }
    static std::u16string toU16(const QString& text) { return text.toStdU16String(); }

    std::unique_ptr<CutOutView> view;
    QWidget* picture = nullptr;
    QScrollArea* area = nullptr;
};

TEST_F(CutOutViewTest, ADragSetsTheMarginsAroundTheFrameWhicheverCornerItStartsFrom) {
    open(200, 100);
    // The frame from (10, 30) to (180, 60) keeps 170 x 30 pixels: 10 off the left, 20 off the
    // right, 30 off the top and 40 off the bottom.
    const Margins expected{u"10", u"20", u"30", u"40"};
    drag({10, 30}, {180, 60});
    EXPECT_EQ(modelMargins(), expected);
    EXPECT_EQ(shownMargins(), expected);
    EXPECT_EQ(view->focusWidget(), view->findChild<QPushButton*>(QStringLiteral("Button1")))
        << "after the drag, Return confirms it";

    drag({10, 30}, {120, 90});  // something else in between, so the next check sees a change
    EXPECT_EQ(modelMargins(), (Margins{u"10", u"80", u"30", u"10"}));

    drag({180, 60}, {10, 30});
    EXPECT_EQ(modelMargins(), expected) << "dragged from the bottom right to the top left";
    EXPECT_EQ(shownMargins(), expected);
    drag({10, 60}, {180, 30});
    EXPECT_EQ(modelMargins(), expected) << "dragged from the bottom left to the top right";
}

TEST_F(CutOutViewTest, AClickWithoutDraggingAndADragBeyondThePictureGiveNoNegativeMargins) {
    open(200, 100);
    drag({10, 30}, {180, 60});
    press(onPicture({50, 50}));
    release(onPicture({50, 50}));
    EXPECT_EQ(modelMargins(), (Margins{u"0", u"0", u"0", u"0"})) << "a click keeps the whole picture";
    EXPECT_EQ(shownMargins(), (Margins{u"0", u"0", u"0", u"0"}));

    // Out over the grey around the picture and past its top-left corner: the frame stops at
    // the picture's edges.
    drag({150, 70}, {260, 140});
    EXPECT_EQ(shownMargins(), (Margins{u"150", u"0", u"70", u"0"}));
    drag({50, 40}, {-30, -20});
    EXPECT_EQ(shownMargins(), (Margins{u"0", u"150", u"0", u"60"}));
}

TEST_F(CutOutViewTest, OnAScrolledPictureTheMarginsCountFromThePicturesOwnCorner) {
    open(1600, 1200);
    QScrollBar* h = area->horizontalScrollBar();
    QScrollBar* v = area->verticalScrollBar();
    ASSERT_GT(h->maximum(), 300) << "the picture is larger than the window";
    ASSERT_GT(v->maximum(), 200);
    h->setValue(300);
    v->setValue(200);
    QApplication::processEvents();
    ASSERT_EQ(picture->pos(), QPoint(-300, -200));

    // Aimed at what the user sees: 50, 40 inside the visible part is picture pixel 350, 240.
    // A single move does not scroll yet, so the second point is 550, 340.
    press(onViewport({50, 40}));
    move(onViewport({250, 140}));
    release(onViewport({250, 140}));
    EXPECT_EQ(h->value(), 300);
    EXPECT_EQ(v->value(), 200);
    const Margins expected{u"350", u"1050", u"240", u"860"};
    EXPECT_EQ(modelMargins(), expected);
    EXPECT_EQ(shownMargins(), expected);

    press(onViewport({250, 140}));
    move(onViewport({50, 40}));
    release(onViewport({50, 40}));
    EXPECT_EQ(shownMargins(), expected) << "dragged from the bottom right to the top left";
}

TEST_F(CutOutViewTest, TheViewFollowsALongDragAndTheFrameEndsUnderTheMouse) {
    open(1600, 1200);
    QScrollBar* h = area->horizontalScrollBar();
    QScrollBar* v = area->verticalScrollBar();
    // Towards the far corner: the view scrolls to its end while the button is held.
    press(onPicture({100, 80}));
    for (const QPoint at : {QPoint{300, 250}, QPoint{900, 700}, QPoint{1500, 1150}}) move(onPicture(at));
    EXPECT_EQ(h->value(), h->maximum());
    EXPECT_EQ(v->value(), v->maximum());
    EXPECT_EQ(picture->pos(), QPoint(-h->value(), -v->value())) << "the picture moved with the scroll bars";
    // The last position again, now that the view has scrolled: the frame stays where it is.
    const QPoint end = onPicture({1500, 1150});
    move(end);
    release(end);
    EXPECT_EQ(shownMargins(), (Margins{u"100", u"100", u"80", u"50"}));
}

TEST_F(CutOutViewTest, ThePointerIsHeldOnThePictureOnlyWhileAFrameIsDragged) {
    open(200, 100);
    const QPoint corner = picture->mapToGlobal(QPoint(0, 0));
    press(onPicture({20, 20}));
    move(corner + QPoint(400, -50));
    EXPECT_EQ(QCursor::pos(), corner + QPoint(200, 0)) << "pulled back to the picture's edge";
    release(QCursor::pos());
    EXPECT_EQ(shownMargins(), (Margins{u"20", u"0", u"0", u"80"}));
    // After the button is up the pointer is free again.
    QCursor::setPos(corner + QPoint(20, 20));
    move(corner + QPoint(400, 300));
    EXPECT_EQ(QCursor::pos(), corner + QPoint(20, 20)) << "a move without a drag does not pull the pointer";
}

}  // namespace
}  // namespace tessaro

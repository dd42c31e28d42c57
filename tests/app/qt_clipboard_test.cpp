// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt clipboard layer over the offscreen platform's clipboard: which numbered formats a
// set of MIME types becomes, what reading and writing them gives, and that a failure in a
// run started by a Qt clipboard signal is reported instead of unwinding through Qt.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QMimeData>

#include "app/qt_clipboard.h"
#include "capture/clipboard_ex.h"
#include "platform/clipboard_error.h"
#include "platform/test_desktop.h"
#include "support/recording_viewer.h"
#include "ui/application.h"

namespace tessaro {
namespace {

class QtClipboardTest : public ::testing::Test {
protected:
    QtClipboardTest() : clipboard(QApplication::clipboard()), ex(clipboard) {}
    void TearDown() override { QApplication::clipboard()->clear(); }

    // Another program's copy, as the platform hands it to us.
    static void offer(QMimeData* mime) { QApplication::clipboard()->setMimeData(mime, QClipboard::Clipboard); }

    std::vector<FormatId> formats() {
        std::vector<FormatId> ids;
        for (int i = 0; i < ex.formatCount(); ++i) ids.push_back(ex.formatAt(i));
        return ids;
    }

    QtClipboard clipboard;
    TClipBoardEx ex;
};

TEST_F(QtClipboardTest, MimeTypesBecomeTextBitmapAndRegisteredFormatsOnce) {
    auto* mime = new QMimeData;
    mime->setData(QStringLiteral("text/html"), QByteArray("<b>Gr\xc3\xbc\xc3\x9f" "e</b>"));
    mime->setText(QStringLiteral("Grüße €"));
    mime->setData(QStringLiteral("text/plain;charset=utf-8"), QByteArray("Gr\xc3\xbc\xc3\x9f" "e \xe2\x82\xac"));
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(qRgb(10, 20, 30));
    mime->setImageData(image);
    mime->setData(QStringLiteral("image/x-second"), QByteArray("ignored: one bitmap per copy"));
    mime->setData(QStringLiteral("TARGETS"), QByteArray("protocol"));
    mime->setData(QStringLiteral("SAVE_TARGETS"), QByteArray("protocol"));
    offer(mime);

    const std::vector<FormatId> ids = formats();
    ASSERT_EQ(std::count(ids.begin(), ids.end(), CF_UNICODETEXT), 1) << "both text types give one text";
    EXPECT_EQ(std::count(ids.begin(), ids.end(), CF_TEXT), 1);
    EXPECT_EQ(std::count(ids.begin(), ids.end(), CF_BITMAP), 1) << "only the first image type is listed";
    std::vector<std::string> registered;
    for (FormatId id : ids) {
        if (id < kFirstRegisteredFormat) continue;
        EXPECT_NE(id, 49159u) << "that number is read as UTF-16 by the details list";
        registered.push_back(ex.ClipboardFormatName(id));
    }
    EXPECT_EQ(registered, (std::vector<std::string>{"text/html", "image/x-second"}))
        << "protocol targets are not content; every picture type is listed by its name too";

    EXPECT_EQ(ex.ReadUnicodeText(), u"Grüße €");
    const auto html = std::find_if(ids.begin(), ids.end(), [](FormatId id) { return id >= kFirstRegisteredFormat; });
    EXPECT_EQ(ex.ReadFormatAsText(CF_TEXT, false), std::u16string(u"Gr\u00fc\u00dfe \u20ac\0", 8))
        << "the 8-bit text is Windows-1252 with its terminating zero";
    EXPECT_EQ(ex.ReadFormatAsText(*html, false), u"<b>Grüße</b>") << "text types are UTF-8 on this desktop";
    const auto bitmap = ex.ReadClipboardBitmap();
    EXPECT_EQ(bitmap->width, 3);
    EXPECT_EQ(bitmap->height, 2);
    EXPECT_EQ(bitmap->pixels[0], 30) << "blue first";
}

TEST_F(QtClipboardTest, APictureThatDoesNotDecodeIsNoBitmapAndTheNextTypeIsTried) {
    auto* mime = new QMimeData;
    mime->setData(QStringLiteral("image/png"), QByteArray("not a picture"));
    offer(mime);
    std::vector<FormatId> ids = formats();
    ASSERT_EQ(ids.size(), 2u);
    EXPECT_EQ(ids[0], CF_BITMAP);
    EXPECT_EQ(ex.ClipboardFormatName(ids[1]), "image/png") << "a picture alone still lists its type";
    EXPECT_THROW(ex.ReadClipboardBitmap(), ClipboardError);

    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(qRgb(1, 2, 3));
    QByteArray bmp;
    {
        QBuffer buffer(&bmp);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "BMP");
    }
    auto* two = new QMimeData;
    two->setData(QStringLiteral("image/jpeg"), QByteArray("broken jpeg"));
    two->setData(QStringLiteral("image/bmp"), bmp);
    two->setData(QStringLiteral("image/png"), QByteArray("broken png"));
    offer(two);
    ids = formats();
    EXPECT_EQ(ids[0], CF_BITMAP) << "where the first picture type stands";
    EXPECT_EQ(ex.ReadClipboardBitmap()->width, 2) << "the PNG is tried first, then the lossless BMP";
}

TEST_F(QtClipboardTest, IdsStayTheSameForTheRunAndSkipTheUtf16Number) {
    auto* mime = new QMimeData;
    for (int i = 0; i < 12; ++i) mime->setData(QStringLiteral("application/x-type-%1").arg(i), QByteArray("x"));
    offer(mime);
    const std::vector<FormatId> first = formats();
    ASSERT_EQ(first.size(), 12u);
    EXPECT_EQ(std::count(first.begin(), first.end(), 49159u), 0);
    EXPECT_EQ(ex.ClipboardFormatName(first[7]), "application/x-type-7");

    auto* again = new QMimeData;
    again->setData(QStringLiteral("application/x-type-7"), QByteArray("y"));
    offer(again);
    EXPECT_EQ(formats(), (std::vector<FormatId>{first[7]})) << "a type seen before keeps its number";
}

TEST_F(QtClipboardTest, WritesArePublishedAndAnnouncedOnceByTheOutermostClose) {
    testing::RecordingViewer viewer(clipboard.viewers());
    viewer.join();
    auto* mime = new QMimeData;
    mime->setData(QStringLiteral("text/html"), QByteArray("<i>x</i>"));
    offer(mime);
    const FormatId html = formats().at(0);
    const int drawsBefore = viewer.draws();
    {
        ClipboardOpen open(ex);
        ex.WriteUnicodeText(u"neu ü");
        ClipboardData block = MemoryBlock{'<', 'b', '>'};
        clipboard.setData(html, std::move(block));
        EXPECT_EQ(viewer.draws(), drawsBefore) << "nothing is published while the clipboard is open";
    }
    EXPECT_EQ(viewer.draws(), drawsBefore + 1) << "one announcement, made by the close itself";
    const QMimeData* now = QApplication::clipboard()->mimeData(QClipboard::Clipboard);
    ASSERT_NE(now, nullptr);
    EXPECT_EQ(now->text(), QStringLiteral("neu ü"));
    EXPECT_EQ(now->data(QStringLiteral("text/html")), QByteArray("<b>"));
    EXPECT_THROW(clipboard.setData(CF_TEXT, MemoryBlock{}), ClipboardError) << "writing needs an open clipboard";
    viewer.leave();
}

// Action stages whose text replacement fails, as a broken regular expression or a full
// memory could make it fail.
struct FailingStages final : ActionStages {
    std::u16string searchReplace(std::u16string) override { throw std::runtime_error("replace failed"); }
    std::u16string addText(std::u16string text) override { return text; }
    void saveText(const std::u16string&) override {}
    std::shared_ptr<const Bitmap> cutImage(std::shared_ptr<const Bitmap> b) override { return b; }
    std::shared_ptr<const Bitmap> resizeImage(std::shared_ptr<const Bitmap> b) override { return b; }
    void applyOutputOptions() override {}
    void saveImage(const Bitmap&) override {}
};

TEST_F(QtClipboardTest, AFailureInARunStartedByTheQtSignalReachesTheBottomStrip) {
    TestDesktop desktop;
    FailingStages stages;
    Application app(desktop, clipboard, &stages);
    app.createWindows();
    app.mainWindow().cb_suchenersetzen.setChecked(true);
    desktop.advance(1000);
    ASSERT_NO_THROW(QApplication::clipboard()->setText(QStringLiteral("from another program")));
    EXPECT_TRUE(desktop.messages().empty());
    EXPECT_EQ(app.mainWindow().lb_status.caption(), u"Capture failed: replace failed");
    EXPECT_EQ(app.mainWindow().zuletzt.count(), 1u) << "the capture before the failing stage stands";
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("from another program")) << "nothing written back";
}

}  // namespace
}  // namespace tessaro

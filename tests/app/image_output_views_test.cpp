// SPDX-License-Identifier: GPL-3.0-or-later
// The image-save row of the main window and the image-output group of the output settings:
// what the user sees and what reaches the models.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QScrollBar>

#include "app/views/main_window_view.h"
#include "app/views/output_settings_view.h"
#include "support/app_fixture.h"

namespace tessaro {
namespace {

class ImageOutputViews : public testing::AppFixture {
protected:
    // TESSARO_GRAB_DIR keeps a picture of each window for a look by eye.
    static void grab(QWidget& widget, const char* name) {
        const QByteArray dir = qgetenv("TESSARO_GRAB_DIR");
        if (!dir.isEmpty()) widget.grab().save(QString::fromUtf8(dir) + "/" + name + ".png");
    }
};

TEST_F(ImageOutputViews, TheQualityScrollBarAndBoxMoveTogether) {
    OutputSettingsView view(app.outputSettings(), nullptr);
    view.show();
    QApplication::processEvents();
    auto* bar = view.findChild<QScrollBar*>(QStringLiteral("ScrollBar1"));
    auto* box = view.findChild<QComboBox*>(QStringLiteral("out_quality"));
    ASSERT_NE(bar, nullptr);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(bar->minimum(), 1);
    EXPECT_EQ(bar->maximum(), 100);
    EXPECT_EQ(bar->value(), 90);
    EXPECT_EQ(box->currentText(), QStringLiteral("90"));
    bar->setValue(42);  // as a drag of the bar would
    EXPECT_EQ(app.outputSettings().ScrollBar1.position(), 42);
    EXPECT_EQ(box->currentText(), QStringLiteral("42"));
    app.outputSettings().ScrollBar1.setPosition(75);
    EXPECT_EQ(bar->value(), 75);
    auto* psd = view.findChild<QCheckBox*>(QStringLiteral("psdlayers"));
    ASSERT_NE(psd, nullptr);
    psd->click();
    EXPECT_FALSE(app.outputSettings().psdlayers.checked());
    auto* method = view.findChild<QComboBox*>(QStringLiteral("act_sizemethode"));
    ASSERT_NE(method, nullptr);
    method->setCurrentIndex(1);
    emit method->textActivated(method->currentText());  // as a pick from the list does
    EXPECT_EQ(app.outputSettings().act_sizemethode.text(), u"Bilinear");
    grab(view, "output-settings");
}

TEST_F(ImageOutputViews, CheckingImageSavingOpensItsRowWithTheTwoMoments) {
    MainWindowView view(prog());
    view.resize(900, 700);
    view.show();
    QApplication::processEvents();
    auto* row = view.findChild<QWidget*>(QStringLiteral("pa006b"));
    ASSERT_NE(row, nullptr);
    EXPECT_FALSE(row->isVisible());
    prog().cb_saveimg.setChecked(true);
    QApplication::processEvents();
    EXPECT_TRUE(row->isVisible());
    auto* format = row->findChild<QComboBox*>(QStringLiteral("saveimg_format"));
    ASSERT_NE(format, nullptr);
    EXPECT_EQ(format->count(), 28);
    EXPECT_EQ(format->currentText(), QStringLiteral("*.jpg - JPEG-Image"));
    auto* before = row->findChild<QCheckBox*>(QStringLiteral("save_img_vorher"));
    ASSERT_NE(before, nullptr);
    before->click();
    EXPECT_TRUE(prog().save_img_vorher.checked());
    grab(view, "main-window-image-save");

    prog().cb_cutimg.setChecked(true);
    QApplication::processEvents();
    auto* cut = view.findChild<QWidget*>(QStringLiteral("pa004b"));
    ASSERT_NE(cut, nullptr);
    EXPECT_TRUE(cut->isVisible());
    EXPECT_FALSE(row->isVisible());
    auto* left = cut->findChild<QComboBox*>(QStringLiteral("act_zuschlinks"));
    ASSERT_NE(left, nullptr);
    left->setCurrentIndex(3);
    emit left->textActivated(left->currentText());
    EXPECT_EQ(prog().act_zuschlinks.text(), u"50");
    grab(view, "main-window-cut");

    prog().cb_resizeimg.setChecked(true);
    QApplication::processEvents();
    auto* resize = view.findChild<QWidget*>(QStringLiteral("pa005b"));
    ASSERT_NE(resize, nullptr);
    EXPECT_TRUE(resize->isVisible());
    auto* width = resize->findChild<QComboBox*>(QStringLiteral("act_sizebenutzer_x"));
    ASSERT_NE(width, nullptr);
    EXPECT_EQ(width->currentText(), QStringLiteral("640"));
    grab(view, "main-window-resize");
}

}  // namespace
}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// Saving captured images from the main window: the save fields, the output options of the
// settings window and what reaches the image writer.
#include <gtest/gtest.h>

#include <filesystem>

#include "output/output_quality.h"
#include "platform/utf.h"
#include "support/app_fixture.h"

namespace tessaro {
namespace {

class ImageSave : public testing::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        folder = std::filesystem::temp_directory_path() / "tessaro-image-save";
        std::filesystem::create_directories(folder);
        prog().saveimg_ordner.setText(utf8ToUtf16(folder.string()));
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    void copyImage(int width, int height) { copy({{CF_BITMAP, testing::testBitmap(width, height)}}); }
    std::u16string expected(std::u16string_view name) {
        return utf8ToUtf16((folder / "").string()) + std::u16string(name);
    }

    std::filesystem::path folder;
};

TEST_F(ImageSave, FieldsStartAsDesigned) {
    auto& p = prog();
    EXPECT_EQ(p.saveimg_ordner.text(), utf8ToUtf16(folder.string()));
    EXPECT_EQ(p.saveimg_name.text(), u"Clipboard Image %num%");
    EXPECT_EQ(p.saveimg_name.items().back(), u"Custom..");
    EXPECT_EQ(p.saveimg_format.text(), u"*.jpg - JPEG-Image");
    ASSERT_EQ(p.saveimg_format.items().size(), 28u);
    EXPECT_EQ(p.saveimg_format.items()[27], u"*.tga - Truevision Targa Image");
    EXPECT_EQ(p.saveimg_format.dropDownCount(), 15);
    auto& out = app.outputSettings();
    EXPECT_EQ(out.out_quality.text(), u"90");
    EXPECT_EQ(out.ScrollBar1.position(), 90);
    EXPECT_TRUE(out.progressivaktiv.checked());
    EXPECT_TRUE(out.psdlayers.checked());
    EXPECT_EQ(out.GroupBox1.caption(), u"Image Output");
}

TEST_F(ImageSave, BeforeAndAfterResizingEachWriteTheCapturedPictureAs24BitRgb) {
    auto& p = prog();
    p.cb_saveimg.setChecked(true);
    p.save_img_vorher.setChecked(true);
    p.save_img_nachher.setChecked(true);
    p.saveimg_format.setText(u"*.png - Portable Network Graphics");
    copyImage(4, 3);
    ASSERT_EQ(imageWrites.size(), 2u);
    EXPECT_EQ(imageWrites[0].path, expected(u"Clipboard Image 1.png"));
    const ImageRecord& image = imageWrites[0].image;
    EXPECT_EQ(image.format, PixelFormat::Rgb24);
    EXPECT_EQ(image.width, 4);
    EXPECT_EQ(image.height, 3);
    // The 32-bit capture stores blue, green, red, alpha; the writer gets red, green, blue.
    const auto source = testing::testBitmap(4, 3);
    EXPECT_EQ(image.pixels[0], source->pixels[2]);
    EXPECT_EQ(image.pixels[2], source->pixels[0]);
    EXPECT_EQ(image.pixels[3], source->pixels[6]);
    EXPECT_EQ(imageWrites[1].path, expected(u"Clipboard Image 2.png"));
    EXPECT_EQ(app.fileCounters().ImageFileCounter, 2);
}

TEST_F(ImageSave, FormatTextsOutsideTheListFallBackToBitmap) {
    auto& p = prog();
    p.cb_saveimg.setChecked(true);
    p.save_img_nachher.setChecked(true);
    p.saveimg_name.setText(u"shot");
    p.saveimg_format.setText(u"Bitmap without pattern");
    copyImage(2, 2);
    ASSERT_EQ(imageWrites.size(), 1u);
    EXPECT_EQ(imageWrites[0].path, expected(u"shot.bmp"));
}

TEST_F(ImageSave, EmptyFieldsAreReportedAndNothingIsWritten) {
    auto& p = prog();
    p.cb_saveimg.setChecked(true);
    p.save_img_vorher.setChecked(true);
    p.save_img_nachher.setChecked(false);
    p.saveimg_ordner.setText(u"");
    p.saveimg_format.setText(u"");
    copyImage(2, 2);
    EXPECT_TRUE(imageWrites.empty());
    ASSERT_EQ(desktop.messages().size(), 2u);
    EXPECT_EQ(desktop.messages()[0].text,
              u"The image could not be saved. You do not have specified a folder.");
    EXPECT_EQ(rows(), 1u) << "the capture itself is not affected";
}

TEST_F(ImageSave, TheWriterGetsTheOptionsOfTheOutputSettingsAtTheMomentOfSaving) {
    auto& p = prog();
    auto& out = app.outputSettings();
    p.cb_saveimg.setChecked(true);
    p.save_img_vorher.setChecked(true);
    p.save_img_nachher.setChecked(false);
    out.out_quality.setText(u"20");
    out.out_quality.onChange();
    out.progressivaktiv.setChecked(false);
    out.psdlayers.setChecked(false);
    copyImage(2, 2);
    ASSERT_EQ(imageWrites.size(), 1u);
    const ImageWriteOptions& o = imageWrites[0].options;
    EXPECT_EQ(o.jpegQuality, 20);
    EXPECT_EQ(o.jngQuality, 20);
    EXPECT_EQ(o.mngQuality, 20);
    EXPECT_FALSE(o.jpegProgressive);
    EXPECT_FALSE(o.jngProgressive);
    EXPECT_FALSE(o.mngProgressive);
    EXPECT_FALSE(o.psdLayer);
}

TEST_F(ImageSave, AFailingWriterIsDroppedAndTheRunGoesOn) {
    std::vector<std::u16string> attempts;
    Application failing(desktop, clipboard, nullptr,
                        [&attempts](const std::u16string& path, const ImageRecord&, const ImageWriteOptions&) {
                            attempts.push_back(path);
                            if (attempts.size() == 1) throw std::runtime_error("disk full");
                        });
    failing.createWindows();
    Tprog& window = failing.mainWindow();
    window.saveimg_ordner.setText(utf8ToUtf16(folder.string()));
    window.cb_saveimg.setChecked(true);
    window.save_img_vorher.setChecked(true);
    window.save_img_nachher.setChecked(true);
    window.cb_history_img.setChecked(true);
    copyImage(2, 2);
    EXPECT_TRUE(desktop.messages().empty());
    EXPECT_EQ(attempts, (std::vector<std::u16string>{expected(u"Clipboard Image 1.jpg"), expected(u"Clipboard Image 2.jpg")}))
        << "the save after resizing still ran after the first one failed";
    ASSERT_EQ(window.zuletzt.count(), 1u);
    EXPECT_EQ(window.zuletzt.items().back().subItems.at(0), u"Image");
    EXPECT_EQ(failing.captureState().SuppressCount, 0);
    copyText(u"later");
    EXPECT_EQ(window.zuletzt.count(), 2u) << "the failure left nothing that stops the next capture";
}

TEST_F(ImageSave, TheQualityBoxAndItsScrollBarStayInStep) {
    auto& out = app.outputSettings();
    auto type = [&](char16_t key) {
        out.out_quality.onKeyPress(key);
        if (key == 0) return false;
        std::u16string text = out.out_quality.text();
        if (key == 8) {
            if (!text.empty()) text.pop_back();
        } else {
            text.push_back(key);
        }
        out.out_quality.setText(text);
        out.out_quality.onChange();
        return true;
    };
    EXPECT_TRUE(type(u'5'));  // "905" goes beyond the range
    EXPECT_EQ(out.ScrollBar1.position(), 100);
    EXPECT_EQ(out.out_quality.text(), u"100");
    EXPECT_TRUE(type(u'7'));  // "1007": the bar is already at 100, the box still reads 100
    EXPECT_EQ(out.out_quality.text(), u"100");
    EXPECT_FALSE(type(u'x'));
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(type(8));
    EXPECT_EQ(out.out_quality.text(), u"");
    EXPECT_TRUE(type(u'4')) << "an emptied box takes digits again";
    EXPECT_EQ(out.ScrollBar1.position(), 4);
    out.ScrollBar1.setPosition(-3);
    EXPECT_EQ(out.out_quality.text(), u"1");
    // A number outside 1 .. 100 refuses further keys, backspace too.
    out.out_quality.setText(u"0");
    char16_t key = 8;
    FilterQualityKey(out.out_quality.text(), key);
    EXPECT_EQ(key, 0);
}

TEST_F(ImageSave, TheLanguageSwitchTranslatesTheImageListsAndKeepsTheChoice) {
    auto& p = prog();
    p.saveimg_format.setItemIndex(9);
    p.saveimg_format.setText(p.saveimg_format.items()[9]);
    app.startWindow().spr.setCaption(u"de");
    p.sprache();
    EXPECT_EQ(p.saveimg_format.items()[0], u"*.jpg - JPEG-Bild");
    EXPECT_EQ(p.saveimg_format.items()[16], u"*.jng - JPEG Network Graphics\u00b4");
    EXPECT_EQ(p.saveimg_format.text(), u"*.tif - Tagged Bild File Format")
        << "every Image becomes Bild, as the entries were stored";
    EXPECT_EQ(p.saveimg_format.itemIndex(), 9);
    EXPECT_EQ(p.saveimg_name.text(), u"Bild aus der Zwischenablage %num%");
    EXPECT_EQ(p.saveimg_name.items().back(), u"Benutzerdefiniert..");
    app.startWindow().spr.setCaption(u"en");
    p.sprache();
    EXPECT_EQ(p.saveimg_format.text(), u"*.tif - Tagged Image File Format");
}

TEST_F(ImageSave, TheFieldsRefuseWhatAFileNameCannotHold) {
    auto& p = prog();
    char16_t key = u'a';
    p.saveimg_format.onKeyPress(key);
    EXPECT_EQ(key, 0) << "the format is picked from the list only";
    key = u'?';
    p.saveimg_name.onKeyPress(key);
    EXPECT_EQ(key, 0);
    key = u'/';
    p.saveimg_ordner.onKeyPress(key);
    EXPECT_EQ(key, u'/');
    p.saveimg_name.setText(u"Custom..");
    p.saveimg_name.onChange();
    EXPECT_EQ(p.saveimg_name.text(), u"");
    p.saveimg_name.onExit();
    EXPECT_EQ(p.saveimg_name.text(), u"Clipboard Image %num%");
    desktop.setFolderChoice(u"/srv/shots");
    p.saveimg_ordnerwahl.click();
    EXPECT_EQ(p.saveimg_ordner.text(), u"/srv/shots");
}

}  // namespace
}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// Image saves that the file system refuses, with the real image writer: the save is dropped
// without a message, and the rest of the run (cut, resize, their write-backs, the history
// row, the other save) still happens.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/utf.h"
#include "support/app_fixture.h"

namespace tessaro {
namespace {

namespace fs = std::filesystem;

class ImageSaveFailure : public ::testing::Test {
protected:
    // No writer passed in: the program's own writer, so failures come from the file system.
    ImageSaveFailure() : app(desktop, clipboard) {}

    void SetUp() override {
        app.createWindows();
        desktop.setTick(10'000);
        root = fs::temp_directory_path() / ("tessaro-image-save-failure-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root);
        // Cut 2 pixels off each side of the 20 x 10 copy (16 x 6), then fit it into 8 x 6
        // (8 x 3), saving before and after resizing as PNG.
        Tprog& p = app.mainWindow();
        p.cb_history_img.setChecked(true);
        p.cb_cutimg.setChecked(true);
        p.rb_cutimg_direkt.setChecked(true);
        for (ComboBox* margin : {&p.act_zuschlinks, &p.act_zuschrechts, &p.act_zuschoben, &p.act_zuschunten}) {
            margin->setText(u"2");
        }
        p.cb_resizeimg.setChecked(true);
        p.act_sizebenutzer_x.setText(u"8");
        p.act_sizebenutzer_y.setText(u"6");
        p.cb_saveimg.setChecked(true);
        p.save_img_vorher.setChecked(true);
        p.save_img_nachher.setChecked(true);
        p.saveimg_format.setText(u"*.png - Portable Network Graphics");
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(root / "locked", fs::perms::owner_all, ignored);
        fs::remove_all(root, ignored);
    }

    void saveInto(const fs::path& folder) { app.mainWindow().saveimg_ordner.setText(utf8ToUtf16(folder.string())); }
    void copyImage() {
        desktop.advance(1000);
        clipboard.putFromOtherProgram({{CF_BITMAP, testing::testBitmap(20, 10)}});
    }
    std::shared_ptr<const Bitmap> clipboardBitmap() {
        for (const auto& [format, data] : clipboard.content()) {
            if (format == CF_BITMAP) return std::get<std::shared_ptr<const Bitmap>>(data);
        }
        return nullptr;
    }
    static std::vector<fs::path> filesIn(const fs::path& folder) {
        std::vector<fs::path> found;
        std::error_code error;
        for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
            found.push_back(it->path().filename());
        }
        return found;
    }

    // Everything but the saves went as usual: the cut and resized picture is on the
    // clipboard, the copy has its history row, and nobody was told.
    void expectTheRunWentOn() {
        const auto bitmap = clipboardBitmap();
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(bitmap->width, 8);
        EXPECT_EQ(bitmap->height, 3);
        EXPECT_EQ(bitmap->bitsPerPixel, 24);
        ASSERT_EQ(app.mainWindow().zuletzt.count(), 1u);
        EXPECT_EQ(app.mainWindow().zuletzt.items().back().subItems.at(0), u"Image");
        EXPECT_EQ(app.captureState().SuppressCount, 0) << "both write-backs were recognised as our own";
        EXPECT_TRUE(desktop.messages().empty());
    }

    TestDesktop desktop;
    MemoryClipboard clipboard;
    Application app;
    fs::path root;
};

TEST_F(ImageSaveFailure, AReadOnlyFolderDropsBothSaves) {
    const fs::path locked = root / "locked";
    fs::create_directories(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    // With the right to override permissions (root), the folder does not refuse anything.
    const fs::path probe = locked / "probe";
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) {
        ::close(fd);
        ::unlink(probe.c_str());
        GTEST_SKIP() << "this user may write into a folder without write permission (root); "
                        "the other failure cases here do not depend on permissions";
    }
    saveInto(locked);
    copyImage();
    expectTheRunWentOn();
    EXPECT_TRUE(filesIn(locked).empty());
}

TEST_F(ImageSaveFailure, AFolderThatCannotBeCreatedDropsBothSaves) {
    // A regular file where a folder of the path should be: not even root can create it.
    std::ofstream(root / "plain-file") << "not a folder";
    saveInto(root / "plain-file" / "shots");
    copyImage();
    expectTheRunWentOn();
    EXPECT_TRUE(fs::is_regular_file(root / "plain-file"));
    EXPECT_EQ(filesIn(root).size(), 1u);
}

TEST_F(ImageSaveFailure, AFailedSaveBeforeResizingStillLeavesTheSaveAfterIt) {
    // The first name the save before resizing takes is a folder: opening it for writing
    // fails for every user. The save after resizing takes the next number.
    const fs::path folder = root / "shots";
    fs::create_directories(folder / "Clipboard Image 1.png");
    saveInto(folder);
    copyImage();
    expectTheRunWentOn();
    EXPECT_TRUE(fs::is_directory(folder / "Clipboard Image 1.png")) << "the folder in the way is left alone";
    EXPECT_TRUE(filesIn(folder / "Clipboard Image 1.png").empty());
    const fs::path after = folder / "Clipboard Image 2.png";
    ASSERT_TRUE(fs::is_regular_file(after));
    // The saved picture is the resized one: width and height in the PNG header, big-endian.
    std::ifstream file(after, std::ios::binary);
    std::vector<unsigned char> head(24);
    file.read(reinterpret_cast<char*>(head.data()), std::streamsize(head.size()));
    ASSERT_TRUE(file) << "a PNG signature and header";
    EXPECT_EQ(std::vector<unsigned char>(head.begin() + 1, head.begin() + 4), (std::vector<unsigned char>{'P', 'N', 'G'}));
    const auto be32 = [&](std::size_t at) {
        return (std::uint32_t(head[at]) << 24) | (std::uint32_t(head[at + 1]) << 16) |
               (std::uint32_t(head[at + 2]) << 8) | std::uint32_t(head[at + 3]);
    };
    EXPECT_EQ(be32(16), 8u);
    EXPECT_EQ(be32(20), 3u);
    EXPECT_EQ(filesIn(folder).size(), 2u);
}

// Pictures with no pixels, or stages asked to make one, never reach a writer as an empty
// picture and never stop the run: margins that meet the picture's size cut nothing, a box
// of 0 pixels resizes nothing, and an empty clipboard bitmap is saved nowhere.
class EmptyPictures : public ImageSaveFailure {};

TEST_F(EmptyPictures, NoStageMakesOrSavesAnEmptyPicture) {
    const fs::path folder = root / "shots";
    saveInto(folder);
    Tprog& p = app.mainWindow();
    // TIFF: its strip sizing divides by the row size.
    p.saveimg_format.setText(u"*.tif - Tagged Image File Format");
    for (ComboBox* margin : {&p.act_zuschlinks, &p.act_zuschrechts}) margin->setText(u"10");
    copyImage();  // 20 x 10: the left and right margins take the whole width
    auto bitmap = clipboardBitmap();
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->width, 8) << "not cut, then resized into 8 x 6";
    EXPECT_EQ(bitmap->height, 4);
    EXPECT_EQ(filesIn(folder).size(), 2u) << "saved before and after resizing";

    p.act_sizebenutzer_x.setText(u"0");
    p.act_sizebenutzer_y.setText(u"0");
    copyImage();
    bitmap = clipboardBitmap();
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->width, 20) << "a box of no pixels resizes nothing";
    EXPECT_EQ(filesIn(folder).size(), 4u);

    for (const auto& [width, height] : {std::pair{0, 10}, std::pair{20, 0}, std::pair{0, 0}}) {
        desktop.advance(1000);
        clipboard.putFromOtherProgram({{CF_BITMAP, std::make_shared<Bitmap>(Bitmap::blank(width, height, 32))}});
        EXPECT_EQ(filesIn(folder).size(), 4u) << width << " x " << height;
    }
    EXPECT_EQ(app.mainWindow().zuletzt.count(), 5u);
    EXPECT_EQ(app.captureState().SuppressCount, 0);
    EXPECT_TRUE(desktop.messages().empty());
}

}  // namespace
}  // namespace tessaro

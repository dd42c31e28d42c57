// SPDX-License-Identifier: GPL-3.0-or-later
// The image writers: every extension of the format list written and read back by
// decoders that are not ours (Pillow, ImageMagick), the options reaching the writers, the
// icon layout byte for byte, and failures that leave no file behind.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <tuple>

#include "image/codecs/encoded_image.h"
#include "output/image_file_writer.h"
#include "output/save_field_rules.h"
#include "output/text_file_writer.h"
#include "platform/utf.h"

namespace tessaro {
namespace {

namespace fs = std::filesystem;

// A picture with flat areas (the bottom-left colour appears in a whole block), a gradient
// and a few lone pixels; odd sizes exercise row padding.
ImageRecord testPicture(int width = 67, int height = 45) {
    ImageRecord image = NewImage(width, height, PixelFormat::Rgb24);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = image.row(y) + 3 * x;
            if (x < width / 3) {
                p[0] = 40, p[1] = 90, p[2] = 160;
            } else if (y < height / 2) {
                p[0] = std::uint8_t(x * 3), p[1] = std::uint8_t(y * 5), p[2] = 128;
            } else {
                p[0] = 240, p[1] = 240, p[2] = 230;
            }
        }
    }
    if (width > 40 && height > 3) image.row(3)[3 * 40] = 255;
    return image;
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class ImageFiles : public testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("tessaro-images-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::u16string pathOf(const std::string& name) { return utf8ToUtf16((folder / name).string()); }

    // Runs the judge over the folder; the verdict of each file by its name. Without
    // `sizes`, each file is compared with the test picture; with it, each decodes at the
    // size its name gives.
    std::map<std::string, std::string> judge(bool sizes = false) {
        if (!sizes) {
            const ImageRecord picture = testPicture();
            std::ofstream reference(folder / "reference.ppm", std::ios::binary);
            reference << "P6\n" << picture.width << ' ' << picture.height << "\n255\n";
            reference.write(reinterpret_cast<const char*>(picture.pixels.data()),
                            std::streamsize(picture.pixels.size()));
        }
        const std::string command = "/usr/bin/python3 " TESSARO_SOURCE_DIR "/tests/output/image_judge.py " +
                                    std::string(sizes ? "--sizes '" : "'") + folder.string() + "'";
        std::map<std::string, std::string> verdicts;
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) return verdicts;
        std::array<char, 512> line{};
        while (fgets(line.data(), int(line.size()), pipe)) {
            std::istringstream in(line.data());
            std::string name, rest;
            in >> name;
            std::getline(in, rest);
            verdicts[name] = rest.substr(rest.find_first_not_of(' '));
            if (!verdicts[name].empty() && verdicts[name].back() == '\n') verdicts[name].pop_back();
        }
        pclose(pipe);
        return verdicts;
    }

    fs::path folder;
};

TEST_F(ImageFiles, EveryEntryOfTheFormatListIsWrittenAndReadBackByAnotherDecoder) {
    const ImageRecord picture = testPicture();
    std::vector<std::string> names;
    for (const std::u16string& entry : ImageFormatEntries()) {
        // "*.jpg - JPEG-Bild" -> "pic.jpg"
        const std::string pattern = utf16ToUtf8(entry.substr(0, entry.find(u" - ")));
        names.push_back("pic" + pattern.substr(1));
        SaveImageFile(pathOf(names.back()), picture, ImageWriteOptions{});
    }
    ASSERT_EQ(names.size(), 28u);
    const auto verdicts = judge();
    for (const std::string& name : names) {
        ASSERT_TRUE(verdicts.count(name)) << name << " was not judged";
        EXPECT_EQ(verdicts.at(name), "OK") << name;
    }
}

TEST_F(ImageFiles, EveryWriterTakesEveryPictureSizeOrRefusesItWithoutAFile) {
    const std::pair<int, int> sizes[] = {{0, 0}, {0, 5}, {5, 0}, {1, 1}, {1, 65535}, {65535, 1}};
    std::vector<std::string> written;
    for (const std::u16string& entry : ImageFormatEntries()) {
        const std::string extension = utf16ToUtf8(entry.substr(1, entry.find(u" - ") - 1));
        for (const auto& [width, height] : sizes) {
            ImageRecord picture = NewImage(width, height, PixelFormat::Rgb24);
            for (std::size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = std::uint8_t(i * 31);
            const std::string name = std::to_string(width) + "x" + std::to_string(height) + extension;
            try {
                SaveImageFile(pathOf(name), picture, ImageWriteOptions{});
                written.push_back(name);
                EXPECT_TRUE(width > 0 && height > 0) << name << ": an empty picture was written";
            } catch (const std::exception& error) {
                EXPECT_FALSE(fs::exists(folder / name)) << name;
                EXPECT_NE(std::string(error.what()), "") << name;
                // Besides empty pictures, only the side limits of JPEG (65,500) and PSD
                // (30,000) may refuse a picture.
                static const std::set<std::string> kSideLimited = {".jpg", ".jpeg", ".jfif", ".jpe",
                                                                   ".jif", ".jng", ".psd", ".pdd"};
                const bool limited = kSideLimited.count(extension) > 0;
                EXPECT_TRUE(width == 0 || height == 0 || (limited && std::max(width, height) > 30000))
                    << name << ": " << error.what();
            }
        }
    }
    const auto verdicts = judge(true);
    for (const std::string& name : written) {
        ASSERT_TRUE(verdicts.count(name)) << name << " was not judged";
        EXPECT_EQ(verdicts.at(name), "OK") << name;
    }
    EXPECT_EQ(verdicts.size(), written.size()) << "no file of a refused picture";
}

TEST_F(ImageFiles, OptionsReachTheirWritersAndOnlyThem) {
    const ImageRecord picture = testPicture(160, 120);
    ImageWriteOptions low;
    low.jpegQuality = low.jngQuality = low.mngQuality = 20;
    low.jpegProgressive = low.jngProgressive = low.mngProgressive = false;
    low.psdLayer = false;
    for (const char* ext : {".jpg", ".jng", ".mng", ".jp2", ".psd"}) {
        SaveImageFile(pathOf(std::string("high") + ext), picture, ImageWriteOptions{});
        SaveImageFile(pathOf(std::string("low") + ext), picture, low);
    }
    const auto size = [&](const char* name) { return fs::file_size(folder / name); };
    EXPECT_LT(size("low.jpg"), size("high.jpg"));
    EXPECT_LT(size("low.jng"), size("high.jng"));
    EXPECT_EQ(readAll(folder / "low.mng"), readAll(folder / "high.mng")) << "the one frame is lossless";
    EXPECT_EQ(readAll(folder / "low.jp2"), readAll(folder / "high.jp2")) << "JPEG 2000 keeps its own quality";
    EXPECT_LT(size("low.psd"), size("high.psd")) << "without the layer the picture is stored once";
    // Baseline JPEG: a start-of-frame 0 marker, no progressive one; JNG says so in its header.
    const std::string baseline = readAll(folder / "low.jpg");
    EXPECT_NE(baseline.find("\xFF\xC0"), std::string::npos);
    EXPECT_EQ(baseline.find("\xFF\xC2"), std::string::npos);
    EXPECT_EQ(readAll(folder / "high.jpg").substr(6, 4), "JFIF");
    EXPECT_EQ(readAll(folder / "low.jng")[8 + 8 + 11], 0);
    EXPECT_EQ(readAll(folder / "high.jng")[8 + 8 + 11], 8);
}

TEST_F(ImageFiles, IconLayoutKeysTransparencyOnTheBottomLeftColour) {
    ImageRecord image = NewImage(1024, 768, PixelFormat::Rgb24);
    for (std::size_t i = 0; i < image.pixels.size(); i += 3) image.pixels[i] = 200;  // red background
    image.row(10)[3 * 20 + 1] = 7;  // one green-tinted pixel
    SaveImageFile(pathOf("big.CUR"), image, ImageWriteOptions{});
    const std::string icon = readAll(folder / "big.CUR");
    ASSERT_GE(icon.size(), 62u);
    EXPECT_EQ(icon.substr(0, 6), std::string("\0\0\1\0\1\0", 6)) << "an icon file, also for .cur";
    EXPECT_EQ(icon[6], 0) << "a side of 256 or more";
    EXPECT_EQ(icon[7], 0);
    EXPECT_EQ(icon[8], 32);
    EXPECT_EQ(icon.substr(18, 4), std::string("\x16\0\0\0", 4));
    const std::size_t colour = 1024 * 4 * 768, mask = 1024 / 8 * 768;
    EXPECT_EQ(icon.size(), 22 + 40 + colour + mask);
    const auto maskBit = [&](int x, int y) {
        const std::size_t row = 22 + 40 + colour + std::size_t(767 - y) * 128;
        return (std::uint8_t(icon[row + std::size_t(x / 8)]) >> (7 - x % 8)) & 1;
    };
    EXPECT_EQ(maskBit(0, 767), 1);
    EXPECT_EQ(maskBit(500, 0), 1) << "the uniform background is transparent everywhere";
    EXPECT_EQ(maskBit(20, 10), 0) << "a pixel of another colour stays opaque";
}

TEST_F(ImageFiles, IconSidesOf256OrMoreAreWrittenAsZero) {
    for (const auto& [width, height, w, h] : {std::tuple{300, 200, 0, 200}, std::tuple{255, 256, 255, 0},
                                              std::tuple{1, 511, 1, 0}}) {
        SaveImageFile(pathOf("i.ico"), NewImage(width, height, PixelFormat::Rgb24), ImageWriteOptions{});
        const std::string icon = readAll(folder / "i.ico");
        EXPECT_EQ(std::uint8_t(icon[6]), w) << width << " x " << height;
        EXPECT_EQ(std::uint8_t(icon[7]), h) << width << " x " << height;
    }
}

TEST_F(ImageFiles, UnknownNamesWriteNothingAndFailuresLeaveNoFile) {
    const ImageRecord picture = testPicture();
    SaveImageFile(pathOf("notes.txt"), picture, ImageWriteOptions{});
    SaveImageFile(pathOf("no-extension"), picture, ImageWriteOptions{});
    SaveImageFile(pathOf("dir.png/file"), picture, ImageWriteOptions{});
    EXPECT_TRUE(fs::is_empty(folder));
    SaveImageFile(pathOf("Upper.PnG"), picture, ImageWriteOptions{});
    EXPECT_TRUE(fs::exists(folder / "Upper.PnG")) << "letter case is ignored";
    EXPECT_THROW(SaveImageFile(pathOf("missing/x.png"), picture, ImageWriteOptions{}), FileError);
    // A picture no JPEG can hold fails before any file is created.
    ImageRecord wide = NewImage(70000, 1, PixelFormat::Rgb24);
    EXPECT_THROW(SaveImageFile(pathOf("wide.jpg"), wide, ImageWriteOptions{}), ImageError);
    EXPECT_FALSE(fs::exists(folder / "wide.jpg"));
}

TEST(ImageEncoders, ErrorsOfTheCodecLibrariesComeBackAsImageErrors) {
    // Pictures the libraries themselves refuse: their error paths return to our code,
    // which reports the library's message, again and again without leaking.
    for (int round = 0; round < 3; ++round) {
        const ImageRecord tall = NewImage(0, 5, PixelFormat::Rgb24);
        try {
            EncodeJpeg(tall, 90, round % 2 == 0);
            ADD_FAILURE() << "libjpeg took a picture without columns";
        } catch (const ImageError& error) {
            EXPECT_NE(std::string(error.what()).find("mpty"), std::string::npos) << error.what();
        }
        try {
            EncodePng(tall);
            ADD_FAILURE() << "libpng took a picture without columns";
        } catch (const ImageError& error) {
            EXPECT_EQ(std::string(error.what()), "Invalid IHDR data");
        }
    }
    // And a good picture still encodes afterwards.
    EXPECT_GT(EncodeJpeg(NewImage(4, 4, PixelFormat::Rgb24), 80, false).size(), 100u);
    EXPECT_GT(EncodePng(NewImage(4, 4, PixelFormat::Rgb24)).size(), 50u);
}

TEST(ImageEncoders, HeadersOfTheHandWrittenFormats) {
    const ImageRecord picture = testPicture(5, 3);
    const Bytes bmp = EncodeBmp(picture);
    EXPECT_EQ(bmp.size(), 54u + 16 * 3) << "rows padded to 16 bytes";
    EXPECT_EQ(bmp[0], 'B');
    const Bytes pam = EncodePam(picture);
    const std::string pamText(pam.begin(), pam.begin() + 60);
    EXPECT_EQ(pamText.rfind("P7\nWIDTH 5\nHEIGHT 3\nDEPTH 3\nMAXVAL 255\nTUPLTYPE RGB\nENDHDR\n", 0), 0u);
    const Bytes pfm = EncodePfm(picture);
    EXPECT_EQ(std::string(pfm.begin(), pfm.begin() + 12), "PF\n5 3\n-1.0\n");
    EXPECT_EQ(pfm.size(), 12u + 5 * 3 * 3 * 4);
    const Bytes dds = EncodeDds(picture);
    EXPECT_EQ(std::string(dds.begin(), dds.begin() + 4), "DDS ");
    EXPECT_EQ(dds.size(), 128u + 5 * 3 * 3);
}

}  // namespace
}  // namespace tessaro

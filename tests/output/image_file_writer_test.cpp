// SPDX-License-Identifier: GPL-3.0-or-later
// The image writers: every extension of the format list written and read back by
// decoders that are not ours (Pillow, ImageMagick), the options reaching the writers, the
// icon layout byte for byte, and failures that leave no file behind.
#include "output/image_file_writer.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <tuple>

#include "image/codecs/encoded_image.h"
#include "output/save_field_rules.h"
#include "output/text_file_writer.h"
#include "platform/atomic_file.h"
#include "platform/utf.h"
#include "support/file_size_limit.h"

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

// What an encoder hands to a sink that keeps everything.
std::string encoded(const std::function<void(ByteSink&)>& encode) {
    std::string bytes;
    StringSink sink(bytes);
    encode(sink);
    return bytes;
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class ImageFiles : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("tessaro-images-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
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
        const std::string command = "/usr/bin/python3 " TESSARO_SOURCE_DIR
                                    "/tests/output/image_judge.py " +
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
            for (std::size_t i = 0; i < picture.pixels.size(); ++i)
                picture.pixels[i] = std::uint8_t(i * 31);
            const std::string name =
                std::to_string(width) + "x" + std::to_string(height) + extension;
            try {
                SaveImageFile(pathOf(name), picture, ImageWriteOptions{});
                written.push_back(name);
                EXPECT_TRUE(width > 0 && height > 0) << name << ": an empty picture was written";
            } catch (const std::exception& error) {
                EXPECT_FALSE(fs::exists(folder / name)) << name;
                EXPECT_NE(std::string(error.what()), "") << name;
                // Besides empty pictures, only the side limits of JPEG (65,500) and PSD
                // (30,000) may refuse a picture.
                static const std::set<std::string> kSideLimited = {
                    ".jpg", ".jpeg", ".jfif", ".jpe", ".jif", ".jng", ".psd", ".pdd"};
                const bool limited = kSideLimited.count(extension) > 0;
                EXPECT_TRUE(width == 0 || height == 0 ||
                            (limited && std::max(width, height) > 30000))
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
    EXPECT_EQ(readAll(folder / "low.mng"), readAll(folder / "high.mng"))
        << "the one frame is lossless";
    EXPECT_EQ(readAll(folder / "low.jp2"), readAll(folder / "high.jp2"))
        << "JPEG 2000 keeps its own quality";
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
    for (std::size_t i = 0; i < image.pixels.size(); i += 3)
        image.pixels[i] = 200;      // red background
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
    for (const auto& [width, height, w, h] :
         {std::tuple{300, 200, 0, 200}, std::tuple{255, 256, 255, 0}, std::tuple{1, 511, 1, 0}}) {
        SaveImageFile(pathOf("i.ico"), NewImage(width, height, PixelFormat::Rgb24),
                      ImageWriteOptions{});
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
            encoded([&](ByteSink& sink) { EncodeJpeg(tall, 90, round % 2 == 0, sink); });
            ADD_FAILURE() << "libjpeg took a picture without columns";
        } catch (const ImageError& error) {
            EXPECT_NE(std::string(error.what()).find("mpty"), std::string::npos) << error.what();
        }
        try {
            encoded([&](ByteSink& sink) { EncodePng(tall, sink); });
            ADD_FAILURE() << "libpng took a picture without columns";
        } catch (const ImageError& error) {
            EXPECT_EQ(std::string(error.what()), "Invalid IHDR data");
        }
    }
    // And a good picture still encodes afterwards.
    const ImageRecord small = NewImage(4, 4, PixelFormat::Rgb24);
    EXPECT_GT(encoded([&](ByteSink& sink) { EncodeJpeg(small, 80, false, sink); }).size(), 100u);
    EXPECT_GT(encoded([&](ByteSink& sink) { EncodePng(small, sink); }).size(), 50u);
}

TEST(ImageEncoders, HeadersOfTheHandWrittenFormats) {
    const ImageRecord picture = testPicture(5, 3);
    const std::string bmp = encoded([&](ByteSink& sink) { EncodeBmp(picture, sink); });
    EXPECT_EQ(bmp.size(), 54u + 16 * 3) << "rows padded to 16 bytes";
    EXPECT_EQ(bmp[0], 'B');
    const std::string pam = encoded([&](ByteSink& sink) { EncodePam(picture, sink); });
    EXPECT_EQ(pam.rfind("P7\nWIDTH 5\nHEIGHT 3\nDEPTH 3\nMAXVAL 255\nTUPLTYPE RGB\nENDHDR\n", 0),
              0u);
    const std::string pfm = encoded([&](ByteSink& sink) { EncodePfm(picture, sink); });
    EXPECT_EQ(pfm.substr(0, 12), "PF\n5 3\n-1.0\n");
    EXPECT_EQ(pfm.size(), 12u + 5 * 3 * 3 * 4);
    const std::string dds = encoded([&](ByteSink& sink) { EncodeDds(picture, sink); });
    EXPECT_EQ(dds.substr(0, 4), "DDS ");
    EXPECT_EQ(dds.size(), 128u + 5 * 3 * 3);
}

// The error a test sink raises; no encoder or library raises it on its own.
struct SinkFull : std::runtime_error {
    SinkFull() : std::runtime_error("the test sink is full") {}
};

// Keeps the first `limit` bytes and throws SinkFull on the write that would pass them.
class LimitedSink final : public ByteSink {
public:
    explicit LimitedSink(std::size_t limit) : m_limit(limit) {}
    void write(const char* data, std::size_t size) override {
        if (m_kept.size() + size > m_limit) throw SinkFull();
        m_kept.append(data, size);
    }
    const std::string& kept() const { return m_kept; }

private:
    std::size_t m_limit;
    std::string m_kept;
};

// Every writer of the program, by a file name it takes, with both settings of the options
// that change the output.
std::vector<std::pair<std::u16string, ImageWriteOptions>> everyWriter() {
    ImageWriteOptions low;
    low.jpegQuality = low.jngQuality = 30;
    low.jpegProgressive = low.jngProgressive = false;
    low.psdLayer = false;
    std::vector<std::pair<std::u16string, ImageWriteOptions>> writers;
    for (const char16_t* name :
         {u"a.jpg", u"a.png", u"a.gif", u"a.bmp", u"a.psd", u"a.tif", u"a.mng", u"a.jng", u"a.pgm",
          u"a.ppm", u"a.pam", u"a.pfm", u"a.jp2", u"a.dds", u"a.tga", u"a.ico"}) {
        writers.emplace_back(name, ImageWriteOptions{});
    }
    for (const char16_t* name : {u"b.jpg", u"b.jng", u"b.psd"}) writers.emplace_back(name, low);
    return writers;
}

// Noise compresses badly: every writer's file then spans several of the 64 KiB pieces the
// codec callbacks hand on, so the sink also fails inside libpng, giflib and libjpeg.
ImageRecord noisePicture(int width, int height) {
    ImageRecord image = NewImage(width, height, PixelFormat::Rgb24);
    std::uint32_t state = 12345;
    for (std::uint8_t& sample : image.pixels) {
        state = state * 1103515245u + 12345u;
        sample = std::uint8_t(state >> 24);
    }
    return image;
}

std::string fileBytes(const std::u16string& name, const ImageRecord& image,
                      const ImageWriteOptions& options) {
    std::string bytes;
    StringSink sink(bytes);
    EXPECT_TRUE(EncodeImageFile(name, image, options, sink)) << utf16ToUtf8(name);
    return bytes;
}

TEST(ImageEncoders, AFailingSinkStopsEveryEncoderWithItsOwnErrorAndTheNextEncodeStillWorks) {
    const ImageRecord picture = noisePicture(301, 257);
    for (const auto& [name, options] : everyWriter()) {
        const std::string whole = fileBytes(name, picture, options);
        ASSERT_GT(whole.size(), 1000u) << utf16ToUtf8(name);
        for (const std::size_t limit : {std::size_t{0}, std::size_t{1}, std::size_t{70000},
                                        whole.size() / 2, whole.size() - 1}) {
            if (limit >= whole.size()) continue;
            LimitedSink sink(limit);
            try {
                EncodeImageFile(name, picture, options, sink);
                ADD_FAILURE() << utf16ToUtf8(name) << " with " << limit
                              << " bytes: the sink's error was lost";
            } catch (const SinkFull&) {
                // What was handed on before the error is the start of the file, nothing else.
                EXPECT_EQ(sink.kept(), whole.substr(0, sink.kept().size())) << utf16ToUtf8(name);
            } catch (const std::exception& error) {
                ADD_FAILURE() << utf16ToUtf8(name) << " with " << limit
                              << " bytes: " << error.what();
            }
        }
        // No state of the failed runs stays behind in the libraries.
        EXPECT_EQ(fileBytes(name, picture, options), whole) << utf16ToUtf8(name);
    }
}

// FNV-1a, enough to tell files apart.
std::uint64_t fingerprint(const std::string& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : bytes) hash = (hash ^ std::uint8_t(c)) * 0x100000001b3ULL;
    return hash;
}

TEST(ImageEncoders, TheHandWrittenFormatsKeepTheirExactBytes) {
    // Fingerprints of the files as the writers built them whole in memory, before they wrote
    // to a sink; the formats written by hand depend on no library version.
    const auto picture = [](int width, int height) {
        ImageRecord image = NewImage(width, height, PixelFormat::Rgb24);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                std::uint8_t* p = image.row(y) + 3 * x;
                p[0] = std::uint8_t(x * 7 + y), p[1] = std::uint8_t(y * 13),
                p[2] = std::uint8_t((x ^ y) * 5);
                if (x < width / 3) p[0] = 40, p[1] = 90, p[2] = 160;
            }
        }
        return image;
    };
    const std::pair<int, int> sizes[] = {{1, 1}, {3, 2}, {67, 45}, {301, 97}};
    ImageWriteOptions flat;
    flat.psdLayer = false;
    const std::tuple<std::u16string, ImageWriteOptions, std::array<std::uint64_t, 4>> expected[] = {
        {u"a.bmp",
         {},
         {0x3c43f036bc90a885ULL, 0xa72ba569838292ccULL, 0xf3d59fee7b3b4672ULL,
          0xe9075bcaaf2e3652ULL}},
        {u"a.tga",
         {},
         {0xd6321db2971aa5a5ULL, 0x072f1b3a4734a92aULL, 0x497a5fedb7c20903ULL,
          0x02c8dbe6262793c4ULL}},
        {u"a.dds",
         {},
         {0x8ad64f2e8e2d1f01ULL, 0x41b171f41e88f794ULL, 0xe927636a5a1f6685ULL,
          0xcbc63ecefedb527bULL}},
        {u"a.pgm",
         {},
         {0x0a552139cc06b3f4ULL, 0x8fde67a6f29654b3ULL, 0x7c7e0eb887648bafULL,
          0xc95b608ec1db94fdULL}},
        {u"a.ppm",
         {},
         {0x1fe0f99535501561ULL, 0x0688cb729270eb6aULL, 0x835d2666f35e5f07ULL,
          0xe80db561c92005fdULL}},
        {u"a.pam",
         {},
         {0x432308f2ae194e35ULL, 0xa933f91a3f000ea0ULL, 0x06498402430c9929ULL,
          0xe5f5730583bb4d5bULL}},
        {u"a.pfm",
         {},
         {0x4fca6e0a3be75181ULL, 0x6fc9e3029beb7ab0ULL, 0x010e9c6b67e60c65ULL,
          0xb66562562b52da37ULL}},
        {u"a.psd",
         {},
         {0x0e4063a72a82e474ULL, 0xef7d9219d44ad425ULL, 0x7c39a5f793bb5fefULL,
          0x59bcb85f37aa6c2aULL}},
        {u"a.psd",
         flat,
         {0x13d1bb97a6cab1ffULL, 0x5347f512b3c50b4aULL, 0x92d1fb2114662249ULL,
          0xcb73112d794966d4ULL}},
        {u"a.ico",
         {},
         {0xee4a0a0853c2f0ebULL, 0xd1324fdefcb911a6ULL, 0xd1189f7e0db9158cULL,
          0x721e172a72ced930ULL}},
    };
    for (const auto& [name, options, fingerprints] : expected) {
        for (std::size_t i = 0; i < std::size(sizes); ++i) {
            const auto [width, height] = sizes[i];
            EXPECT_EQ(fingerprint(fileBytes(name, picture(width, height), options)),
                      fingerprints[i])
                << utf16ToUtf8(name) << " " << width << " x " << height;
        }
    }
}

TEST(ImageEncoders, MngAndJngWrapTheirInnerStreamInChunksWithValidCrcs) {
    const ImageRecord picture = noisePicture(301, 257);
    const std::string png = encoded([&](ByteSink& sink) { EncodePng(picture, sink); });
    const std::string jpeg = encoded([&](ByteSink& sink) { EncodeJpeg(picture, 90, true, sink); });
    const auto be32 = [](const std::string& bytes, std::size_t at) {
        return std::uint32_t(std::uint8_t(bytes[at])) << 24 |
               std::uint32_t(std::uint8_t(bytes[at + 1])) << 16 |
               std::uint32_t(std::uint8_t(bytes[at + 2])) << 8 |
               std::uint32_t(std::uint8_t(bytes[at + 3]));
    };
    // The chunk types in order; each chunk's CRC checked against zlib's.
    const auto chunks = [&](const std::string& file, std::vector<std::string>* datas) {
        std::vector<std::string> types;
        for (std::size_t at = 8; at + 12 <= file.size();) {
            const std::uint32_t length = be32(file, at);
            if (at + 12 + length > file.size()) break;
            types.push_back(file.substr(at + 4, 4));
            const std::uint32_t crc = std::uint32_t(
                crc32(0, reinterpret_cast<const Bytef*>(file.data() + at + 4), uInt(4 + length)));
            EXPECT_EQ(be32(file, at + 8 + length), crc) << types.back();
            datas->push_back(file.substr(at + 8, length));
            at += 12 + length;
        }
        return types;
    };
    const std::string mng = encoded([&](ByteSink& sink) { EncodeMng(picture, sink); });
    std::vector<std::string> mngData;
    const std::vector<std::string> mngTypes = chunks(mng, &mngData);
    ASSERT_GE(mngTypes.size(), 4u);
    EXPECT_EQ(mngTypes.front(), "MHDR");
    EXPECT_EQ(mngTypes.back(), "MEND");
    EXPECT_EQ(mng.substr(8 + 12 + 28, mng.size() - (8 + 12 + 28) - 12), png.substr(8))
        << "the PNG's chunks as they are";

    const std::string jng = encoded([&](ByteSink& sink) { EncodeJng(picture, 90, true, sink); });
    std::vector<std::string> jngData;
    EXPECT_EQ(chunks(jng, &jngData), (std::vector<std::string>{"JHDR", "JDAT", "IEND"}));
    ASSERT_EQ(jngData.size(), 3u);
    EXPECT_EQ(jngData[1], jpeg);
}

TEST_F(ImageFiles, SavedFilesHoldExactlyTheEncodersBytes) {
    for (const auto& [width, height] :
         {std::pair{1, 1}, std::pair{5, 3}, std::pair{67, 45}, std::pair{301, 257}}) {
        const ImageRecord picture = noisePicture(width, height);
        for (const auto& [name, options] : everyWriter()) {
            SaveImageFile(pathOf(utf16ToUtf8(name)), picture, options);
            EXPECT_EQ(readAll(folder / utf16ToUtf8(name)), fileBytes(name, picture, options))
                << utf16ToUtf8(name) << " " << width << " x " << height;
        }
    }
}

TEST_F(ImageFiles, AWriteFailingMidwayLeavesTheOldFileByteForByteAndNoOtherFile) {
    const ImageRecord picture = noisePicture(301, 257);
    const std::vector<std::pair<std::u16string, ImageWriteOptions>> writers = everyWriter();
    for (const auto& [name, options] : writers) {
        std::ofstream(folder / utf16ToUtf8(name), std::ios::binary) << "old " << utf16ToUtf8(name);
    }
    // A file-size limit makes the system refuse the writes past 4 KiB, as a full disk would:
    // inside libpng's, giflib's and libjpeg's callbacks as well as in our own code.
    std::vector<std::string> outcomes;
    {
        const testing::FileSizeLimit limit(4096);
        for (const auto& [name, options] : writers) {
            try {
                SaveImageFile(pathOf(utf16ToUtf8(name)), picture, options);
                outcomes.push_back("saved");
            } catch (const FileError& error) {
                outcomes.push_back(error.what());
            } catch (const std::exception& error) {
                outcomes.push_back(std::string("wrong error: ") + error.what());
            }
        }
    }
    for (std::size_t i = 0; i < writers.size(); ++i) {
        const std::string name = utf16ToUtf8(writers[i].first);
        EXPECT_EQ(outcomes[i],
                  "Stream write error \"" + (folder / name).string() + "\". File too large")
            << name;
        EXPECT_EQ(readAll(folder / name), "old " + name) << name;
    }
    EXPECT_EQ(std::size_t(std::distance(fs::directory_iterator(folder), fs::directory_iterator())),
              writers.size())
        << "no temporary file stays behind";
}

TEST_F(ImageFiles, AnEmptyPictureOrAnUnknownNameCreatesNoFile) {
    const ImageRecord empty = NewImage(0, 3, PixelFormat::Rgb24);
    EXPECT_THROW(SaveImageFile(pathOf("empty.png"), empty, ImageWriteOptions{}), ImageError);
    EXPECT_THROW(SaveImageFile(pathOf("empty.txt"), empty, ImageWriteOptions{}), ImageError)
        << "refused before the name is looked at";
    std::string bytes;
    StringSink sink(bytes);
    EXPECT_FALSE(EncodeImageFile(u"notes.txt", testPicture(), ImageWriteOptions{}, sink));
    EXPECT_EQ(bytes, "");
    EXPECT_TRUE(fs::is_empty(folder));
}

}  // namespace
}  // namespace tessaro

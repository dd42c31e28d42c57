// SPDX-License-Identifier: GPL-3.0-or-later
// The text encoders and the file writer, judged byte by byte where the format is fixed and
// by independent decoders (Python's codecs and iconv) for whole texts.
#include "output/text_encoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "oracle.h"
#include "output/text_file_writer.h"
#include "platform/windows_1252.h"

namespace tessaro {
namespace {

using testing_output::decodeWithIconv;
using testing_output::decodeWithPython;
using testing_output::readBytes;
using testing_output::TempDir;
using testing_output::writeBytes;

std::string bytes(std::initializer_list<unsigned> values) {
    std::string out;
    for (unsigned v : values) out.push_back(static_cast<char>(v));
    return out;
}

std::u16string u16(const std::filesystem::path& path) {
    const std::string s = path.string();
    return std::u16string(s.begin(), s.end());
}

std::string encode(std::u16string_view text, std::int32_t encoding) {
    return EncodeText(text, TextEncodeOptions{encoding});
}

// ---- Exact byte sequences -------------------------------------------------------------

TEST(TextEncoderBytes, EmptyTextGivesOnlyTheStartBytes) {
    EXPECT_EQ(encode(u"", kEncodingAnsi), "");
    EXPECT_EQ(encode(u"", kEncodingUtf7NoSignature), "");
    EXPECT_EQ(encode(u"", kEncodingUtf7), "+/v8");
    EXPECT_EQ(encode(u"", kEncodingUtf8), bytes({0xEF, 0xBB, 0xBF}));
    EXPECT_EQ(encode(u"", kEncodingUtf16Le), bytes({0xFF, 0xFE}));
    EXPECT_EQ(encode(u"", kEncodingUtf16Be), bytes({0xFE, 0xFF}));
    EXPECT_EQ(encode(u"", kEncodingUtf32Le), bytes({0xFF, 0xFE, 0x00, 0x00}));
    EXPECT_EQ(encode(u"", kEncodingUtf32Be), bytes({0x00, 0x00, 0xFE, 0xFF}));
}

TEST(TextEncoderBytes, UnknownCodeWritesNothing) {
    EXPECT_EQ(encode(u"text", 12345), "");
    EXPECT_EQ(encode(u"text", 1252), "");
    EXPECT_FALSE(IsKnownTextEncoding(1252));
    EXPECT_TRUE(IsKnownTextEncoding(kEncodingUtf7NoSignature));
}

TEST(TextEncoderBytes, Utf7RunsAndTerminators) {
    struct Case {
        std::u16string text;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {u"A+B", "A+-B"},
        {u"\u00E4", "+AOQ"},
        {u"\u00E4x", "+AOQ-x"},
        {u"\u00E4 x", "+AOQ x"},
        {u"\u00E4-", "+AOQ--"},
        {u"\u00E4.", "+AOQ."},
        {u"\u00E4/", "+AOQ-/"},
        {u"\u00E49", "+AOQ-9"},
        {u"\u00E4+", "+AOQAKw"},  // "+" inside a run is part of the run
        {u"\u00E4+a", "+AOQAKw-a"},
        {u"+", "+-"},
        {u"++", "+-+-"},
        {u"~\\", "+AH4AXA"},
        {u"\u00E4\u00F6\u00FC", "+AOQA9gD8"},
        {u"!\"#$%&*;<=>@[]^_`{|}", "!\"#$%&*;<=>@[]^_`{|}"},
        {u"'(),-./:? \t\r\n", "'(),-./:? \t\r\n"},
        {u"\x01", "+AAE"},
        {u"\x7F", "+AH8"},
        {u"\U0001F600", "+2D3eAA"},
        {u"\u20AC1", "+IKw-1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(encode(c.text, kEncodingUtf7NoSignature), c.expected)
            << "text of " << c.text.size() << " units, expected " << c.expected;
    }
}

TEST(TextEncoderBytes, Utf7SignatureSharesTheStream) {
    EXPECT_EQ(encode(u"", kEncodingUtf7), "+/v8");
    EXPECT_EQ(encode(u"A", kEncodingUtf7), "+/v8-A");
    EXPECT_EQ(encode(u"-", kEncodingUtf7), "+/v8--");
    EXPECT_EQ(encode(u" x", kEncodingUtf7), "+/v8 x");
    EXPECT_EQ(encode(u".", kEncodingUtf7), "+/v8.");
    // A text that starts inside base64 continues the signature's run.
    EXPECT_EQ(encode(u"\u00E4", kEncodingUtf7), "+/v8A5A");
    EXPECT_EQ(encode(u"+", kEncodingUtf7), "+/v8AKw");
}

TEST(TextEncoderBytes, SurrogatePairInEachUnicodeForm) {
    const std::u16string grin = u"\U0001F600";
    EXPECT_EQ(encode(grin, kEncodingUtf32Le), bytes({0xFF, 0xFE, 0, 0, 0x00, 0xF6, 0x01, 0x00}));
    EXPECT_EQ(encode(grin, kEncodingUtf32Be), bytes({0, 0, 0xFE, 0xFF, 0x00, 0x01, 0xF6, 0x00}));
    EXPECT_EQ(encode(grin, kEncodingUtf16Le), bytes({0xFF, 0xFE, 0x3D, 0xD8, 0x00, 0xDE}));
    EXPECT_EQ(encode(grin, kEncodingUtf16Be), bytes({0xFE, 0xFF, 0xD8, 0x3D, 0xDE, 0x00}));
    EXPECT_EQ(encode(grin, kEncodingUtf8), bytes({0xEF, 0xBB, 0xBF, 0xF0, 0x9F, 0x98, 0x80}));
}

TEST(TextEncoderBytes, LoneSurrogates) {
    const std::u16string lowAlone = {u'a', char16_t(0xDC00), u'b'};
    const std::u16string highAlone = {u'a', char16_t(0xD83D), u'b'};
    const std::u16string highAtEnd = {u'a', char16_t(0xD83D)};
    // UTF-32: a lone low surrogate disappears, a lone high one becomes "?".
    EXPECT_EQ(encode(lowAlone, kEncodingUtf32Le),
              bytes({0xFF, 0xFE, 0, 0, 'a', 0, 0, 0, 'b', 0, 0, 0}));
    EXPECT_EQ(encode(highAlone, kEncodingUtf32Le),
              bytes({0xFF, 0xFE, 0, 0, 'a', 0, 0, 0, 0x3F, 0, 0, 0, 'b', 0, 0, 0}));
    EXPECT_EQ(encode(highAtEnd, kEncodingUtf32Be),
              bytes({0, 0, 0xFE, 0xFF, 0, 0, 0, 'a', 0, 0, 0, 0x3F}));
    // UTF-16 writes them as they are.
    EXPECT_EQ(encode(highAtEnd, kEncodingUtf16Le), bytes({0xFF, 0xFE, 'a', 0, 0x3D, 0xD8}));
    // UTF-8 has no form for them; each becomes U+FFFD.
    EXPECT_EQ(encode(lowAlone, kEncodingUtf8),
              bytes({0xEF, 0xBB, 0xBF, 'a', 0xEF, 0xBF, 0xBD, 'b'}));
    EXPECT_EQ(encode(highAtEnd, kEncodingUtf8), bytes({0xEF, 0xBB, 0xBF, 'a', 0xEF, 0xBF, 0xBD}));
}

TEST(TextEncoderBytes, AnsiIsWindows1252WithQuestionMarks) {
    EXPECT_EQ(encode(u"\u00E4\u00DF\u20AC\u201E", kEncodingAnsi), bytes({0xE4, 0xDF, 0x80, 0x84}));
    // A character outside the code page, and a whole surrogate pair, each give one "?".
    EXPECT_EQ(encode(u"x\u4E2D\U0001F600y", kEncodingAnsi), "x??y");
    // Line breaks stay as they are; nothing is added at the end.
    EXPECT_EQ(encode(u"a\r\nb\n", kEncodingAnsi), "a\r\nb\n");
}

TEST(TextEncoderBytes, AnsiAgreesWithTheCodePageForEveryCodeUnit) {
    std::u16string all;
    for (unsigned c = 0; c < 0x10000; ++c) {
        // Each unit between two "x", so that no two surrogates form a pair.
        all += u'x';
        all += static_cast<char16_t>(c);
    }
    EXPECT_EQ(encode(all, kEncodingAnsi), utf16ToAnsi(all));
}

// ---- Whole texts judged by Python and iconv ---------------------------------------------

struct Codec {
    std::int32_t encoding;
    const char* python;
    const char* iconv;
    bool mark;  // whether the decoded text starts with U+FEFF
};

constexpr Codec kCodecs[] = {
    {kEncodingUtf7, "utf-7", "UTF-7", true},
    {kEncodingUtf7NoSignature, "utf-7", "UTF-7", false},
    {kEncodingUtf8, "utf-8", "UTF-8", true},
    {kEncodingUtf16Le, "utf-16-le", "UTF-16LE", true},
    {kEncodingUtf16Be, "utf-16-be", "UTF-16BE", true},
    {kEncodingUtf32Le, "utf-32-le", "UTF-32LE", true},
    {kEncodingUtf32Be, "utf-32-be", "UTF-32BE", true},
};

const std::vector<std::u16string>& sampleTexts() {
    static const std::vector<std::u16string> texts = {
        u"",
        u"Hello, World! 123",
        u"Gr\u00FC\u00DFe aus K\u00F6ln: \u00E4\u00F6\u00FC\u00DF \u00C4\u00D6\u00DC",
        u"Preis: 5 \u20AC (EUR) \u20AC\u20AC",
        u"\u4E2D\u6587\u6587\u672C \u65E5\u672C\u8A9E \uD55C\uAD6D\uC5B4",
        u"Smile \U0001F600 and \U0001F389! \U0001F600\U0001F600",
        u"a+b-c ++ -- +- -+ \u00E4+\u00E4 \u00E4-x \u00E4- x+1 +++---",
        u"line1\r\nline2\nline3\r\tTab\r\n",
        u"\u00E4start",
        u"-start",
        u"Astart",
        u"~\\ back\\slash ~tilde~ [x] {y} |z| `q` ^ _ @ $ % & * ; < = > \"",
        u"\x01\x02 control \x1F\x7F end",
        u"\u00E4\u00F6\u00FC-+/\u4E2D/-9\U0001F600A",
    };
    return texts;
}

TEST(TextEncoderOracles, PythonAndIconvReadBackEveryText) {
    TempDir dir;
    int fileNumber = 0;
    for (const Codec& codec : kCodecs) {
        for (const std::u16string& text : sampleTexts()) {
            const auto file = dir.path() / ("t" + std::to_string(fileNumber++) + ".txt");
            WriteTextFile(text, u16(file), codec.encoding);
            const std::u16string expected = codec.mark ? u"\uFEFF" + text : text;
            const auto byPython = decodeWithPython(file, codec.python);
            ASSERT_TRUE(byPython.has_value()) << codec.python << " refused " << file;
            EXPECT_EQ(*byPython, expected) << codec.python << " on " << file;
            const auto byIconv = decodeWithIconv(file, codec.iconv);
            ASSERT_TRUE(byIconv.has_value()) << codec.iconv << " refused " << file;
            EXPECT_EQ(*byIconv, expected) << codec.iconv << " on " << file;
        }
    }
}

TEST(TextEncoderOracles, LongTextCrossesEveryBufferBorder) {
    // Longer than the 64 KiB output buffer and the 32 Ki pieces of the ANSI converter,
    // with surrogate pairs and base64 runs falling across the borders.
    std::u16string text;
    while (text.size() < 200000) text += u"ab\U0001F600\u00E4\u20AC+x-\u4E2D ";
    TempDir dir;
    for (const Codec& codec : kCodecs) {
        const auto file = dir.path() / (std::string("long-") + codec.python + ".txt");
        WriteTextFile(text, u16(file), codec.encoding);
        const auto decoded = decodeWithPython(file, codec.python);
        ASSERT_TRUE(decoded.has_value()) << codec.python;
        EXPECT_TRUE(*decoded == (codec.mark ? u"\uFEFF" + text : text)) << codec.python;
    }
    const std::string ansi = encode(text, kEncodingAnsi);
    // 11 code units are 10 characters, one byte each.
    ASSERT_EQ(ansi.size() % 10, 0u);
    EXPECT_EQ(ansi.size(), text.size() / 11 * 10);
    EXPECT_EQ(ansi.substr(0, 10), bytes({'a', 'b', '?', 0xE4, 0x80, '+', 'x', '-', '?', ' '}));
}

TEST(TextEncoderOracles, AnsiMatchesPythonsCp1252) {
    TempDir dir;
    int fileNumber = 0;
    for (const std::u16string& text : sampleTexts()) {
        const auto file = dir.path() / ("a" + std::to_string(fileNumber++) + ".txt");
        WriteTextFile(text, u16(file), kEncodingAnsi);
        // Python's own cp1252 encoder with "replace" is the expectation: one "?" for
        // every character the code page lacks, a surrogate pair being one character.
        const auto source = dir.path() / ("a" + std::to_string(fileNumber) + ".src");
        std::string le;
        for (char16_t c : text) {
            le.push_back(static_cast<char>(c & 0xFF));
            le.push_back(static_cast<char>(c >> 8));
        }
        writeBytes(source, le);
        const std::string command =
            "/usr/bin/python3 -c \"import sys; t=open(sys.argv[1],'rb').read().decode('utf-16-le');"
            "sys.exit(0 if open(sys.argv[2],'rb').read()==t.encode('cp1252','replace') else 1)\" " +
            testing_output::shellQuote(source.string()) + " " +
            testing_output::shellQuote(file.string());
        EXPECT_EQ(std::system(command.c_str()), 0) << "text #" << fileNumber - 1;
        const auto byIconv = decodeWithIconv(file, "CP1252");
        EXPECT_TRUE(byIconv.has_value()) << file;
    }
}

// ---- The automatic choice -----------------------------------------------------------------

TEST(TextEncodingChoice, Latin1TextGoesToAnsiOtherTextToUtf8) {
    EXPECT_TRUE(IsLatin1Only(u""));
    EXPECT_TRUE(IsLatin1Only(u"Gr\u00FC\u00DFe \u00FF"));
    EXPECT_FALSE(IsLatin1Only(u"5 \u20AC"));
    EXPECT_FALSE(IsLatin1Only(u"\u0100"));
    EXPECT_EQ(ChooseTextEncoding(true, kEncodingUtf16Le, u"\u00C4rger"), kEncodingAnsi);
    EXPECT_EQ(ChooseTextEncoding(true, kEncodingAnsi, u"5 \u20AC"), kEncodingUtf8);
    EXPECT_EQ(ChooseTextEncoding(true, kEncodingAnsi, u"Zeile\u0085Ende"), kEncodingUtf8)
        << "a Latin-1 control character the code page lacks would be lost";
    EXPECT_EQ(ChooseTextEncoding(false, kEncodingUtf16Le, u"\u00C4rger"), kEncodingUtf16Le);
    EXPECT_EQ(ChooseTextEncoding(false, kEncodingUtf32Be, u"5 \u20AC"), kEncodingUtf32Be);
}

// ---- The file writer -------------------------------------------------------------------

TEST(TextFileWriter, RefusesFourImageExtensionsInAnyCase) {
    TempDir dir;
    for (const char* name : {"a.jpeg", "b.JPG", "c.Bmp", "d.gif", "e.JpEg"}) {
        WriteTextFile(u"x", u16(dir.path() / name), kEncodingUtf8);
        EXPECT_FALSE(std::filesystem::exists(dir.path() / name)) << name;
    }
    // An existing file of a refused name is left as it was.
    writeBytes(dir.path() / "old.jpg", "picture");
    WriteTextFile(u"x", u16(dir.path() / "old.jpg"), kEncodingUtf8);
    EXPECT_EQ(readBytes(dir.path() / "old.jpg"), "picture");
    for (const char* name : {"f.png", "g.jpe", "h.txt", "i.jpgx", "jpg", "k.jpg.txt"}) {
        WriteTextFile(u"x", u16(dir.path() / name), kEncodingAnsi);
        EXPECT_EQ(readBytes(dir.path() / name), "x") << name;
    }
    // A dot in a folder name is no extension.
    std::filesystem::create_directory(dir.path() / "pics.jpg");
    WriteTextFile(u"y", u16(dir.path() / "pics.jpg" / "notes"), kEncodingAnsi);
    EXPECT_EQ(readBytes(dir.path() / "pics.jpg" / "notes"), "y");
    EXPECT_FALSE(IsRefusedTextExtension(u"C:\\a.jpg\\b"));
    EXPECT_FALSE(IsRefusedTextExtension(u"a.jpg:b"));
    EXPECT_TRUE(IsRefusedTextExtension(u"C:\\a.b\\c.GIF"));
}

TEST(TextFileWriter, ReplacesAnExistingFileCompletely) {
    TempDir dir;
    const auto file = dir.path() / "note.txt";
    writeBytes(file, std::string(1000, 'z'));
    WriteTextFile(u"short", u16(file), kEncodingUtf16Be);
    EXPECT_EQ(readBytes(file), bytes({0xFE, 0xFF, 0, 's', 0, 'h', 0, 'o', 0, 'r', 0, 't'}));
    // An unknown code still creates (and so empties) the file.
    WriteTextFile(u"short", u16(file), 4711);
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(readBytes(file), "");
    // The configuration writer's use: an empty text as UTF-16 LE leaves only the mark.
    WriteTextFile(u"", u16(dir.path() / "Auto.tpf"), kEncodingUtf16Le);
    EXPECT_EQ(readBytes(dir.path() / "Auto.tpf"), bytes({0xFF, 0xFE}));
}

TEST(TextFileWriter, ReportsFilesThatCannotBeCreated) {
    TempDir dir;
    const auto file = dir.path() / "missing" / "a.txt";
    try {
        WriteTextFile(u"x", u16(file), kEncodingUtf8);
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot create file \"" + file.string() + "\". No such file or directory");
    }
    // A name with a zero character would be cut short by the system: refused instead.
    std::u16string withZero = u16(dir.path() / "a");
    withZero += u'\0';
    withZero += u"b.txt";
    EXPECT_THROW(WriteTextFile(u"x", withZero, kEncodingUtf8), FileError);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "a"));
}

TEST(TextFileWriter, ReportsAFailedWrite) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    try {
        WriteTextFile(u"text", u"/dev/full", kEncodingUtf8);
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_STREQ(error.what(), "Stream write error \"/dev/full\". No space left on device");
    }
}

}  // namespace
}  // namespace tessaro

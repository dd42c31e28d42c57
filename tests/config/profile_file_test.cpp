// SPDX-License-Identifier: GPL-3.0-or-later
// The profile file: update rules, odd files, encodings, and texts that must come back
// exactly as they were written.
#include <gtest/gtest.h>

#include <random>

#include "config/profile_file.h"
#include "config/profile_values.h"
#include "platform/utf.h"

namespace tessaro {
namespace {

using namespace std::string_literals;

std::string utf16le(std::u16string_view text, bool bom = true) {
    std::string out = bom ? std::string("\xFF\xFE", 2) : std::string();
    for (char16_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

// The file's text without its byte-order mark.
std::u16string textOf(const ProfileFile& file) {
    const std::string bytes = file.serialize();
    EXPECT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE", 2));
    std::u16string text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        text += char16_t(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
    }
    return text;
}

std::u16string valueOf(const ProfileFile& file, std::u16string_view section, std::u16string_view key) {
    const auto value = file.value(section, key);
    return value ? std::u16string(*value) : u"<missing>";
}

TEST(ProfileFile, KeysStayInPlaceNewKeysEndTheirSectionNewSectionsEndTheFile) {
    ProfileFile file = ProfileFile::parse(utf16le(u""));
    file.setValue(u"A", u"one", u"1");
    file.setValue(u"B", u"two", u"2");
    file.setValue(u"A", u"three", u"3");
    file.setValue(u"a", u"ONE", u"uno");  // names compare without case; the first spelling stays
    file.setValue(u"C", u"four", u"4");
    EXPECT_EQ(textOf(file), u"[A]\r\none=uno\r\nthree=3\r\n[B]\r\ntwo=2\r\n[C]\r\nfour=4\r\n");
    EXPECT_EQ(valueOf(file, u"b", u"TWO"), u"2");
    EXPECT_EQ(valueOf(file, u"B", u"one"), u"<missing>");
    EXPECT_EQ(valueOf(file, u"D", u"one"), u"<missing>");
}

TEST(ProfileFile, OddLinesAreKeptAndReadAsTheProfileServiceReadsThem) {
    const std::u16string text =
        u"stray=before any section\r\n"
        u"\r\n"
        u"[S]\r\n"
        u"; a comment\r\n"
        u"no equals sign\r\n"
        u"  spaced   =   value with blanks  \r\n"
        u"dup=first\r\n"
        u"dup=second\r\n"
        u"\r\n"
        u"[T] trailing words\r\n"
        u"t=1\r\n"
        u"[S]\r\n"
        u"only=in second\r\n"
        u"[broken\r\n";
    ProfileFile file = ProfileFile::parse(utf16le(text));
    EXPECT_EQ(valueOf(file, u"S", u"spaced"), u"value with blanks");
    EXPECT_EQ(valueOf(file, u"S", u"dup"), u"first");
    EXPECT_EQ(valueOf(file, u"S", u"no equals sign"), u"<missing>");
    EXPECT_EQ(valueOf(file, u"S", u"only"), u"<missing>") << "the first of two sections is the one read";
    EXPECT_EQ(valueOf(file, u"T", u"t"), u"1");
    EXPECT_EQ(valueOf(file, u"", u"stray"), u"before any section");
    EXPECT_EQ(valueOf(file, u"S", u"stray"), u"<missing>");

    file.setValue(u"S", u"dup", u"new");
    file.setValue(u"S", u"added", u"x");
    file.setValue(u"S", u"no equals sign", u"now one");
    EXPECT_EQ(textOf(file),
              u"stray=before any section\r\n"
              u"\r\n"
              u"[S]\r\n"
              u"; a comment\r\n"
              u"no equals sign=now one\r\n"
              u"spaced=value with blanks\r\n"
              u"dup=new\r\n"
              u"dup=second\r\n"
              u"added=x\r\n"
              u"\r\n"
              u"[T]\r\n"
              u"t=1\r\n"
              u"[S]\r\n"
              u"only=in second\r\n"
              u"[broken\r\n");
}

TEST(ProfileFile, ReadsEveryEncodingAFileComesInAndWritesUtf16) {
    const std::u16string expected = u"Grüße";
    const std::string utf8 = "[S]\nk=Gr\xC3\xBC\xC3\x9F" "e\n";
    const std::vector<std::string> files = {
        utf16le(u"[S]\r\nk=Grüße\r\n"),                        // the format we write
        utf16le(u"[S]\nk=Grüße\n"),                            // LF only
        utf16le(u"[S]\r\nk=Grüße", false),                     // UTF-16 without its mark
        "\xFE\xFF" + std::string("\0[\0S\0]\0\n\0k\0=\0G\0r\0\xFC\0\xDF\0e", 22),  // big-endian
        "\xEF\xBB\xBF" + utf8,                                 // UTF-8 with its mark
        utf8,                                                  // UTF-8 without
        "[S]\r\nk=Gr\xFC\xDF" "e\r\n",                         // Windows-1252
        "[S]\r\nk=Gr\xFC\xDF" "e\x1A",                         // ... ending in a Ctrl-Z
    };
    for (std::size_t i = 0; i < files.size(); ++i) {
        const ProfileFile file = ProfileFile::parse(files[i]);
        EXPECT_EQ(valueOf(file, u"S", u"k"), expected) << "file " << i;
        EXPECT_EQ(ProfileFile::parse(file.serialize()).serialize(), file.serialize()) << "file " << i;
    }
    // An odd last byte of a UTF-16 file, and nothing at all, are no reason to fail.
    EXPECT_EQ(valueOf(ProfileFile::parse(utf16le(u"[S]\r\nk=v\r\n") + "x"), u"S", u"k"), u"v");
    EXPECT_TRUE(ProfileFile::parse("").empty());
}

TEST(ProfileFile, EveryTextComesBackThroughTheFileUnchanged) {
    // Quotes, blanks, line breaks of every kind, the fold and escape characters and a
    // zero, at the ends and inside, in every field kind.
    const std::u16string alphabet = u"ab '\"\t\r\n\x0B\x1F\x10\0=[]; ü€\xD83D\xDE00"s;
    std::mt19937 random(20261210);
    const std::vector<std::u16string> fixed = {
        u"", u" ", u"''", u"'abc'", u"\"abc\"", u"'", u"\"", u" lead", u"trail ", u"\"'x'\"",
        u"a\r\nb", u"a\rb", u"a\nb", u"\r\n", u"\x10", u"x\x0By", u"=", u"[S]", u"a\r\n\r\nb\r", u"a\0b"s, u"\0"s,
    };
    for (char16_t lineBreak : {char16_t(0), kMemoLineBreak, kTableLineBreak}) {
        std::vector<std::u16string> texts = fixed;
        for (int n = 0; n < 300; ++n) {
            std::u16string text(random() % 12, u' ');
            for (char16_t& c : text) c = alphabet[random() % alphabet.size()];
            texts.push_back(text);
        }
        ProfileFile file = ProfileFile::parse("");
        for (std::size_t i = 0; i < texts.size(); ++i) {
            file.setValue(u"S", utf8ToUtf16(std::to_string(i)),
                          ProtectProfileText(FoldLineBreaks(texts[i], lineBreak)));
        }
        const ProfileFile reread = ProfileFile::parse(file.serialize());
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const auto raw = reread.value(u"S", utf8ToUtf16(std::to_string(i)));
            ASSERT_TRUE(raw);
            EXPECT_EQ(UnfoldLineBreaks(ReadProfileText(*raw), lineBreak), texts[i])
                << "text " << i << ", fold " << int(lineBreak);
        }
    }
}

TEST(ProfileFile, AFileThatCannotBeReadIsEmptyForLoadingButStopsASave) {
    EXPECT_TRUE(ProfileFile::readOrEmpty("/nonexistent/folder/Auto.tpf").empty());
    EXPECT_TRUE(ProfileFile::read("/nonexistent/folder/Auto.tpf").empty());
    EXPECT_TRUE(ProfileFile::readOrEmpty("/tmp").empty());
    EXPECT_THROW(ProfileFile::read("/tmp"), std::exception);
}

}  // namespace
}  // namespace tessaro

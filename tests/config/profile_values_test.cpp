// SPDX-License-Identifier: GPL-3.0-or-later
// How texts and numbers are written as profile values and read back.
#include <gtest/gtest.h>

#include "config/path_caption.h"
#include "config/profile_values.h"

namespace tessaro {
namespace {

TEST(ProfileValues, QuotesAndBlanksAreProtectedSoTheReaderGivesTheTextBack) {
    EXPECT_EQ(ProtectProfileText(u"'abc'"), u"''abc''");
    EXPECT_EQ(ProtectProfileText(u"\"abc\""), u"\"\"abc\"\"");
    EXPECT_EQ(ProtectProfileText(u" abc"), u"\" abc\"");
    EXPECT_EQ(ProtectProfileText(u"abc\x0B"), u"\"abc\x0B\"");
    EXPECT_EQ(ProtectProfileText(u"'"), u"'");
    EXPECT_EQ(ProtectProfileText(u"a'b"), u"a'b");
    EXPECT_EQ(ReadProfileText(u"  ''abc''\t"), u"'abc'");
    EXPECT_EQ(ReadProfileText(u"\" abc\""), u" abc");
    EXPECT_EQ(ReadProfileText(u"'x\""), u"'x\"") << "unequal quotes stay";
    EXPECT_EQ(ReadProfileText(std::u16string(20000, u'a')).size(), kProfileValueLimit);
}

TEST(ProfileValues, LineBreaksFoldIntoOneCharacterAndOddTextsAreEscaped) {
    EXPECT_EQ(FoldLineBreaks(u"a\r\nb", kMemoLineBreak), u"a\x0B" u"b");
    EXPECT_EQ(FoldLineBreaks(u"a\r\nb", kTableLineBreak), u"a\x1F" u"b");
    EXPECT_EQ(UnfoldLineBreaks(u"a\x1F" u"b\x1F", kTableLineBreak), u"a\r\nb\r\n");
    // Texts of CR LF breaks only keep the plain form; the others take the escaped form
    // instead of breaking the file's lines.
    EXPECT_EQ(FoldLineBreaks(u"a\nb", kMemoLineBreak), u"\x10" u"a\x10n" u"b");
    EXPECT_EQ(FoldLineBreaks(u"a\r\nb", 0), u"\x10" u"a\x10r\x10n" u"b");
    EXPECT_EQ(UnfoldLineBreaks(u"\x10" u"a\x10n" u"b", kMemoLineBreak), u"a\nb");
}

TEST(ProfileValues, IntegersInDecimalOrHexadecimal) {
    EXPECT_EQ(ParseProfileInteger(u"640"), 640);
    EXPECT_EQ(ParseProfileInteger(u"-12"), -12);
    EXPECT_EQ(ParseProfileInteger(u"0x1F"), 31);
    EXPECT_EQ(ParseProfileInteger(u"0XfF"), 255);
    EXPECT_EQ(ParseProfileInteger(u"0xFFFFFFFF"), -1);
    EXPECT_EQ(ParseProfileInteger(u"2147483647"), 2147483647);
    EXPECT_EQ(ParseProfileInteger(u"-2147483648"), INT32_MIN);
    for (std::u16string_view bad : {u"", u"-", u"2147483648", u"12a", u"0x", u"0x123456789", u"1.5", u" 1"}) {
        EXPECT_FALSE(ParseProfileInteger(bad)) << std::string(bad.begin(), bad.end());
    }
}

int sixPerCharacter(std::u16string_view text) { return 6 * static_cast<int>(text.size()); }

TEST(PathCaption, LeadingFoldersGiveWayUntilTheCaptionFits) {
    // A Windows path, step by step, stopping at the first that fits.
    const std::u16string windows = u"C:\\Users\\me\\configs\\Work.tpf";
    const std::vector<std::u16string> steps = {
        windows, u"C:\\...\\me\\configs\\Work.tpf", u"C:\\...\\configs\\Work.tpf", u"C:\\...\\Work.tpf",
        u"...\\Work.tpf", u"Work.tpf"};
    for (const std::u16string& step : steps) {
        EXPECT_EQ(ShortenPathCaption(windows, sixPerCharacter(step), sixPerCharacter, u'\\'), step);
    }
    EXPECT_EQ(ShortenPathCaption(windows, 0, sixPerCharacter, u'\\'), u"Work.tpf");
    // The same on this system's paths.
    const std::u16string path = u"/home/me/configs/Work.tpf";
    EXPECT_EQ(ShortenPathCaption(path, 1000, sixPerCharacter), path);
    EXPECT_EQ(ShortenPathCaption(path, sixPerCharacter(u"/.../configs/Work.tpf"), sixPerCharacter),
              u"/.../configs/Work.tpf");
    EXPECT_EQ(ShortenPathCaption(path, sixPerCharacter(u"/.../Work.tpf"), sixPerCharacter), u"/.../Work.tpf");
    EXPECT_EQ(ShortenPathCaption(path, 1, sixPerCharacter), u"Work.tpf");
    EXPECT_EQ(ShortenPathCaption(u"Work.tpf", 1, sixPerCharacter), u"Work.tpf");
}

}  // namespace
}  // namespace tessaro

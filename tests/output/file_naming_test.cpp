// SPDX-License-Identifier: GPL-3.0-or-later
// File naming: placeholders and their padding, running numbers that skip existing files
// (also after a restart and with date and time in the name), %firstchars% cleaning, the
// joining of the format fields and the folder rules.
#include "output/file_naming.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "oracle.h"
#include "output/folder_path.h"
#include "platform/test_desktop.h"
#include "platform/utf.h"

namespace tessaro {
namespace {

using testing_output::TempDir;
using testing_output::writeBytes;

constexpr LocalTime kNow{2026, 12, 9, 14, 5, 9, 0};

class FileNamingTest : public ::testing::Test {
protected:
    FileNamingTest() { desktop.setNow(kNow); }

    std::optional<std::u16string> build(std::u16string name, std::u16string format = u".txt",
                                        std::u16string_view text = u"") {
        return BuildTargetFileName(SaveKind::Text,
                                   {dir.folderText(), std::move(name), std::move(format)}, text,
                                   counters, desktop);
    }
    // The full path of a file name inside the test folder.
    std::u16string in(std::u16string_view name) const {
        return dir.folderText() + std::u16string(name);
    }
    void touch(std::u16string_view name) const {
        writeBytes(dir.path() / utf16ToUtf8(name), "old");
    }

    TempDir dir;
    TestDesktop desktop;
    FileCounters counters;
};

TEST(DateAndTime, FixedWidthWithHyphens) {
    EXPECT_EQ(FormatDate({2026, 1, 5, 0, 0, 0, 0}), u"2026-01-05");
    EXPECT_EQ(FormatDate({987, 12, 31, 0, 0, 0, 0}), u"0987-12-31");
    EXPECT_EQ(FormatTime({2026, 1, 5, 7, 3, 9, 500}), u"07-03-09");
    EXPECT_EQ(FormatTime({2026, 1, 5, 23, 59, 0, 0}), u"23-59-00");
    TestDesktop desktop;
    desktop.setNow({2027, 2, 28, 0, 0, 1, 0});
    EXPECT_EQ(GetDate(desktop), u"2027-02-28");
    EXPECT_EQ(GetTime(desktop), u"00-00-01");
}

TEST(JoinTargetPath, TextFormatGetsADotWhenItLacksOne) {
    EXPECT_EQ(JoinTargetPath(SaveKind::Text, u"/o/", u"n", u".txt"), u"/o/n.txt");
    EXPECT_EQ(JoinTargetPath(SaveKind::Text, u"/o/", u"n", u"txt"), u"/o/n.txt");
    EXPECT_EQ(JoinTargetPath(SaveKind::Text, u"/o/", u"n", u"..txt"), u"/o/n..txt");
    EXPECT_EQ(JoinTargetPath(SaveKind::Text, u"/o/", u"n", u"tar.gz"), u"/o/n.tar.gz");
}

TEST(JoinTargetPath, ImageFormatIsThePatternBeforeTheDash) {
    EXPECT_EQ(JoinTargetPath(SaveKind::Image, u"/o/", u"n", u"*.jpg - JPEG-Bild"), u"/o/n.jpg");
    EXPECT_EQ(JoinTargetPath(SaveKind::Image, u"/o/", u"n", u"*.tif - a - b"), u"/o/n.tif");
    EXPECT_EQ(JoinTargetPath(SaveKind::Image, u"/o/", u"n", u"*.png"), u"/o/n.bmp");
    EXPECT_EQ(JoinTargetPath(SaveKind::Image, u"/o/", u"n", u"png - PNG"), u"/o/n.bmp");
    EXPECT_EQ(JoinTargetPath(SaveKind::Image, u"/o/", u"n", u"*.*j*p*2 - x"), u"/o/n.jp2");
}

TEST_F(FileNamingTest, SuccessiveCapturesCountUp) {
    EXPECT_EQ(build(u"%num%"), in(u"1.txt"));
    EXPECT_EQ(build(u"%num%"), in(u"2.txt"));
    EXPECT_EQ(counters.TextFileCounter, 2);
    EXPECT_EQ(counters.ImageFileCounter, 0);
}

TEST_F(FileNamingTest, NumbersArePaddedToTheirWidth) {
    EXPECT_EQ(build(u"%num2%"), in(u"01.txt"));
    EXPECT_EQ(build(u"%num3%"), in(u"002.txt"));
    EXPECT_EQ(build(u"%num4%"), in(u"0003.txt"));
    EXPECT_EQ(build(u"%num5%"), in(u"00004.txt"));
    counters.TextFileCounter = 999;
    EXPECT_EQ(build(u"%num3%"), in(u"1000.txt"));
    counters.TextFileCounter = 123456;
    EXPECT_EQ(build(u"x%num5%x%num5%"), in(u"x123457x123457.txt"));
}

TEST_F(FileNamingTest, EachNumberPlaceholderAdvancesTheSameCounter) {
    EXPECT_EQ(build(u"a %num% b %num2%"), in(u"a 1 b 02.txt"));
    EXPECT_EQ(build(u"%num5%-%num4%-%num3%-%num2%-%num%"), in(u"00007-0006-005-04-3.txt"));
    EXPECT_EQ(counters.TextFileCounter, 7);
    // Placeholders are case-sensitive.
    EXPECT_EQ(build(u"%NUM% %Date%"), in(u"%NUM% %Date%.txt"));
}

TEST_F(FileNamingTest, DateAndTimeAreExpanded) {
    EXPECT_EQ(build(u"%date% %time%"), in(u"2026-12-09 14-05-09.txt"));
    EXPECT_EQ(build(u"%time%%time%"), in(u"14-05-0914-05-09.txt"));
}

TEST_F(FileNamingTest, AfterARestartNumbersContinueAfterExistingFiles) {
    for (auto name : {u"1.txt", u"2.txt", u"3.txt", u"4.txt", u"5.txt"}) touch(name);
    EXPECT_EQ(build(u"%num%"), in(u"6.txt"));
    std::filesystem::remove(dir.path() / "3.txt");
    counters = FileCounters{};  // the program restarts
    EXPECT_EQ(build(u"%num%"), in(u"3.txt"));
    // 3 was not written, and 4 and 5 still exist.
    EXPECT_EQ(build(u"%num%"), in(u"6.txt"));
}

TEST_F(FileNamingTest, NumberBeforeDateNeverHitsAFileSavedEarlierToday) {
    // Saved before a restart today.
    touch(u"1 2026-12-09.txt");
    touch(u"2 2026-12-09.txt");
    touch(u"Clip 2026-12-09 14-05-09 1.log");
    EXPECT_EQ(build(u"%num% %date%"), in(u"3 2026-12-09.txt"));
    counters = FileCounters{};
    EXPECT_EQ(build(u"Clip %date% %time% %num%", u"log"), in(u"Clip 2026-12-09 14-05-09 2.log"));
    // A file of another day does not hold a number back.
    counters = FileCounters{};
    touch(u"1 2026-12-08.txt");
    desktop.setNow({2026, 12, 10, 9, 0, 0, 0});
    EXPECT_EQ(build(u"%num% %date%"), in(u"1 2026-12-10.txt"));
}

TEST_F(FileNamingTest, TheLastNumberLoopSeesTheWholeName) {
    touch(u"1 x 02.txt");
    EXPECT_EQ(build(u"%num% x %num2%"), in(u"1 x 03.txt"));
}

TEST_F(FileNamingTest, NamesWithoutNumbersAreReusedAndOverwritten) {
    touch(u"2026-12-09 14-05-09.txt");
    EXPECT_EQ(build(u"%date% %time%"), in(u"2026-12-09 14-05-09.txt"));
    touch(u"fixed.txt");
    EXPECT_EQ(build(u"fixed"), in(u"fixed.txt"));
    EXPECT_EQ(counters.TextFileCounter, 0);
}

TEST_F(FileNamingTest, ACounterAtItsLimitGivesNoPath) {
    counters.TextFileCounter = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(build(u"%num%"), std::nullopt);
    EXPECT_EQ(build(u"plain"), in(u"plain.txt"));
}

TEST_F(FileNamingTest, FirstCharsNamesTheFileAfterTheText) {
    EXPECT_EQ(build(u"%firstchars%", u".txt", u"  Hello: World?\r\n  and more"),
              in(u"Hello World and more.txt"));
    EXPECT_EQ(build(u"%firstchars% %num%", u".txt", u"\tNote"), in(u"Note 1.txt"));
    // Placeholders that the text brings along are expanded like the template's own.
    EXPECT_EQ(build(u"%firstchars%", u".txt", u"day %date%"), in(u"day 2026-12-09.txt"));
    // Images have no text: the placeholder stays as written.
    EXPECT_EQ(
        BuildTargetFileName(SaveKind::Image, {dir.folderText(), u"%firstchars%", u"*.png - PNG"},
                            u"text", counters, desktop),
        in(u"%firstchars%.png"));
}

TEST(FirstCharsName, CleansTrimsAndShortens) {
    EXPECT_EQ(FirstCharsName(u"  Hello: World?\r\n  and more"), u"Hello World and more");
    EXPECT_EQ(FirstCharsName(std::u16string(u"one\0two", 7)), u"one two") << "a zero is cleaned too";
    EXPECT_EQ(FirstCharsName(u"a?b|c<d>e/f:g\"h*i\\j\rk\nl\tm"), u"a b c d e f g h i j k l m");
    EXPECT_EQ(FirstCharsName(u"\x01\x1F  x  \x02"), u"x");
    EXPECT_EQ(FirstCharsName(u""), u"");
    EXPECT_EQ(FirstCharsName(u" \r\n\t "), u"");
    // Forty characters after trimming, then trimmed again.
    EXPECT_EQ(FirstCharsName(u"   " + std::u16string(39, u'x') + u" y"), std::u16string(39, u'x'));
    EXPECT_EQ(FirstCharsName(std::u16string(45, u'z')), std::u16string(40, u'z'));
    // Control characters other than the line breaks and TAB stay inside the name.
    EXPECT_EQ(FirstCharsName(u"a\x01"
                             u"b"),
              u"a\x01"
              u"b");
}

TEST(FirstCharsName, SpaceRunsUpToTwentyEightCollapse) {
    for (std::size_t run = 1; run <= 28; ++run) {
        EXPECT_EQ(FirstCharsName(u"a" + std::u16string(run, u' ') + u"b"), u"a b") << run;
    }
    // Longer runs shrink by the same four passes but may keep two spaces.
    EXPECT_EQ(FirstCharsName(u"a" + std::u16string(29, u' ') + u"b"), u"a  b");
}

TEST(FirstCharsName, NeverEndsInHalfACharacter) {
    const std::u16string text = std::u16string(39, u'a') + u"\U0001F600 tail";
    EXPECT_EQ(FirstCharsName(text), std::u16string(39, u'a'));
    const std::u16string fits = std::u16string(38, u'a') + u"\U0001F600 tail";
    EXPECT_EQ(FirstCharsName(fits), std::u16string(38, u'a') + u"\U0001F600");
}

// ---- Folders ------------------------------------------------------------------------------

TEST(IsValidFolderPath, LinuxAndDriveLetterRules) {
    struct Case {
        std::u16string_view path;
        bool valid;
    };
    const Case cases[] = {
        {u"", false},
        {u"C", false},
        {u"/", true},
        {u"C:", true},
        {u"c:", true},
        {u"1:", false},
        {u"C\\", false},
        {u"C:\\", true},
        {u"C:/", false},
        {u"C:\\Out", true},
        {u"C:\\Out\\", true},
        {u"C:\\a?b\\c", true},
        {u"C:\\a\\b?", false},
        {u"C:\\a\\\\", false},
        {u"CC:\\x", false},
        {u"\\\\server\\share\\", false},
        {u"out", false},
        {u"out/", false},
        {u"./out/", false},
        {u"~/out/", false},
        {u"/home/u", true},
        {u"/home/u/", true},
        {u"/home/a?b/", false},
        {u"/home/a:b/", false},
        {u"/home/a\\b/", false},
        {u"/a?b/c/", true},
        {u"/a/b|c", false},
        {u"/a/b*/", false},
        {u"/a/\"b\"/", false},
        {u"/a/<b>/", false},
        {u"/a//", false},
        {u"/Ordner mit Leerzeichen/", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsValidFolderPath(c.path), c.valid) << utf16ToUtf8(c.path);
    }
}

TEST(ExpandHomeFolder, TildeMeansTheHomeFolder) {
    EXPECT_EQ(ExpandHomeFolder(u"~", "/home/anna"), u"/home/anna");
    EXPECT_EQ(ExpandHomeFolder(u"~/Texte", "/home/anna/"), u"/home/anna/Texte");
    EXPECT_EQ(ExpandHomeFolder(u"~/", "/"), u"/");
    EXPECT_EQ(ExpandHomeFolder(u"~anna/Texte", "/home/anna"), u"~anna/Texte");
    EXPECT_EQ(ExpandHomeFolder(u"/x/~/y", "/home/anna"), u"/x/~/y");
    EXPECT_EQ(ExpandHomeFolder(u"~/Texte", ""), u"~/Texte");
    EXPECT_EQ(ExpandHomeFolder(u"~/Texte", "relative"), u"~/Texte");
}

// Points $HOME somewhere else for one test and puts it back.
class HomeFolderTest : public FileNamingTest {
protected:
    void SetUp() override {
        if (const char* home = std::getenv("HOME")) m_saved = home;
        ::setenv("HOME", dir.path().c_str(), 1);
    }
    void TearDown() override {
        if (m_saved) {
            ::setenv("HOME", m_saved->c_str(), 1);
        } else {
            ::unsetenv("HOME");
        }
    }

private:
    std::optional<std::string> m_saved;
};

TEST_F(HomeFolderTest, FoldersAreCreatedWithTheirParents) {
    const auto path = BuildTargetFileName(SaveKind::Text, {in(u"a/b/c"), u"%num%", u"txt"}, u"",
                                          counters, desktop);
    EXPECT_EQ(path, in(u"a/b/c/1.txt"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "a" / "b" / "c"));
    EXPECT_EQ(
        BuildTargetFileName(SaveKind::Text, {u"~/Texte", u"n", u"txt"}, u"", counters, desktop),
        in(u"Texte/n.txt"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "Texte"));
    EXPECT_EQ(BuildTargetFileName(SaveKind::Text, {u"~", u"n", u"txt"}, u"", counters, desktop),
              in(u"n.txt"));
}

TEST_F(HomeFolderTest, UnusableFoldersGiveNoPathAndCreateNothing) {
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    for (std::u16string folder :
         {u"out", u"./out", u"C:\\Out", u"c:", u"\\\\server\\share", u"~anna/out"}) {
        EXPECT_EQ(
            BuildTargetFileName(SaveKind::Text, {folder, u"%num%", u"txt"}, u"", counters, desktop),
            std::nullopt)
            << utf16ToUtf8(folder);
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    std::filesystem::current_path(cwd);
    // A folder that cannot be made: under a file, or where creating is not allowed.
    writeBytes(dir.path() / "plain", "x");
    EXPECT_EQ(BuildTargetFileName(SaveKind::Text, {in(u"plain/sub"), u"n", u"txt"}, u"", counters,
                                  desktop),
              std::nullopt);
    EXPECT_EQ(BuildTargetFileName(SaveKind::Text, {u"/proc/tessaro-no", u"n", u"txt"}, u"",
                                  counters, desktop),
              std::nullopt);
    EXPECT_EQ(counters.TextFileCounter, 0);
}

}  // namespace
}  // namespace tessaro

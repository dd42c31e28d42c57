// SPDX-License-Identifier: GPL-3.0-or-later
// Windows-1252 and UTF-8 conversions at the edges of the core.
#include <gtest/gtest.h>

#include <random>

#include "platform/background_utf8_decoder.h"
#include "platform/utf.h"
#include "platform/utf8_decoder.h"
#include "platform/windows_1252.h"

namespace tessaro {
namespace {

TEST(Windows1252, MapsTheHighControlsRangeAndLatin1) {
    EXPECT_EQ(ansiToUtf16("\x80\x9f\xe4\xff"), std::u16string(u"\u20ac\u0178\u00e4\u00ff"));
    EXPECT_EQ(ansiToUtf16(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
    EXPECT_EQ(ansiToUtf16("\x81"), u"\u0081") << "undefined bytes keep their value";
    EXPECT_EQ(utf16ToAnsi(u"Gr\u00fc\u00dfe \u20ac"), "Gr\xfc\xdf" "e \x80");
}

TEST(Windows1252, CharactersOutsideTheCodePageBecomeOneQuestionMarkEach) {
    EXPECT_EQ(utf16ToAnsi(u"\u4e2d\u6587"), "??");
    EXPECT_EQ(utf16ToAnsi(u"a\U0001F600b"), "a?b") << "a surrogate pair is one character";
    EXPECT_EQ(utf16ToAnsi(std::u16string(1, char16_t(0xD800)) + u"x"), "?x");
    EXPECT_EQ(utf16ToAnsi(u"\u0081"), "\x81") << "the five undefined bytes round-trip";
    EXPECT_EQ(utf16ToAnsi(u"\u0085"), "?") << "0x85 is the ellipsis, so U+0085 has no byte";
}

// The word-at-a-time ASCII paths and the round-trip test against the plain definitions,
// on texts mixing ASCII runs of every length with code-page, foreign and surrogate units.
TEST(Windows1252, FastPathsAgreeWithTheCharacterByCharacterDefinition) {
    std::mt19937 random(1252);
    const char16_t specials[] = {u'\u00fc', u'\u20ac', u'\u0081', u'\u0085', u'\u4e2d', 0xD83D, 0xDE00, u'?', 0};
    for (int round = 0; round < 2000; ++round) {
        std::u16string text;
        const int pieces = static_cast<int>(random() % 6);
        for (int p = 0; p < pieces; ++p) {
            text.append(random() % 9, static_cast<char16_t>(u'a' + random() % 26));
            text.push_back(specials[random() % std::size(specials)]);
        }
        text.append(random() % 9, u'z');
        std::string expected;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() &&
                              text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
            expected += utf16ToAnsi(text.substr(i, pair ? 2 : 1));
            if (pair) ++i;
        }
        ASSERT_EQ(utf16ToAnsi(text), expected);
        ASSERT_EQ(survivesAnsi(text), ansiToUtf16(expected) == text);
        // The eight-byte ASCII path of the UTF-8 reader, across every alignment of a run.
        const bool lone = utf16ToUtf8(text).find("\xEF\xBF\xBD") != std::string::npos;
        if (!lone) {
            ASSERT_EQ(utf8ToUtf16(utf16ToUtf8(text)), text);
        }
    }
}

// Pieces split anywhere, inside characters and inside invalid sequences, decode as the
// whole does; so does the same text decoded on the background thread.
TEST(Utf8, TextInPiecesDecodesAsTheWholeDoes) {
    std::mt19937 random(8);
    const std::string parts[] = {"a", "\xc3\xbc", "\xe2\x82\xac", "\xf0\x9f\x98\x80", "\xe2\x82", "\x80", "\xf8",
                                 "\xed\xa0\x80", "\xc0\xaf", std::string(1, '\0'), "xyzxyzxyz"};
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        for (int n = static_cast<int>(random() % 12); n > 0; --n) text += parts[random() % std::size(parts)];
        Utf8Decoder decoder;
        std::u16string parts;  // written by the decoding thread, read after its result
        BackgroundUtf8Decoder background([&parts](std::u16string_view part) { parts += part; });
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t length = std::min<std::size_t>(text.size() - at, random() % 5);
            decoder.feed(std::string_view(text).substr(at, length));
            background.feed(std::string_view(text).substr(at, length));
            at += length;
        }
        const std::u16string whole = utf8ToUtf16(text);
        ASSERT_EQ(decoder.finish(), whole) << round;
        ASSERT_EQ(background.finish().get(), whole) << round;
        ASSERT_EQ(parts, whole) << "every part seen once, in order";
    }
}

// A long text spreads over several growing blocks inside the decoder and comes out whole.
TEST(Utf8, ALongTextInLargePiecesComesOutWhole) {
    std::mt19937 random(16);
    std::string text;
    while (text.size() < 3'000'000) text += (random() % 7 == 0) ? "\xe2\x82\xac" : "Zeile \xc3\xbc\n";
    Utf8Decoder decoder;
    std::u16string parts;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = std::min<std::size_t>(text.size() - at, random() % 400'000);
        parts += decoder.feed(std::string_view(text).substr(at, length));
        at += length;
    }
    const std::u16string whole = decoder.finish();
    EXPECT_EQ(whole, utf8ToUtf16(text));
    EXPECT_EQ(parts, whole);
}

TEST(Utf8, RoundTripsAndReplacesInvalidInput) {
    const std::u16string text = u"A\u00e4\u20ac\U0001F600\u4e2d";
    EXPECT_EQ(utf8ToUtf16(utf16ToUtf8(text)), text);
    EXPECT_EQ(utf8ToUtf16("a\xff" "b"), u"a\uFFFDb");
    EXPECT_EQ(utf8ToUtf16("\xc0\xaf"), u"\uFFFD\uFFFD") << "overlong forms are refused";
    EXPECT_EQ(utf8ToUtf16("\xe2\x82"), u"\uFFFD\uFFFD") << "a cut sequence";
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, char16_t(0xDC00))), "\xef\xbf\xbd");
}

}  // namespace
}  // namespace tessaro

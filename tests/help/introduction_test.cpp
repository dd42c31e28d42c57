// SPDX-License-Identifier: GPL-3.0-or-later
// The introduction: the same topics in both languages, each with an example, the facts a
// translation must not drop, and a page that links every topic and escapes the examples.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "help/introduction.h"
#include "help/program_version.h"
#include "help/strip_hint.h"
#include "platform/utf.h"

namespace tessaro {
namespace {

const IntroTopic* topic(std::string_view id, bool german) {
    for (const IntroTopic& candidate : IntroTopics(german)) {
        if (candidate.id == id) return &candidate;
    }
    return nullptr;
}

bool hasUmlaut(std::u16string_view text) {
    return text.find_first_of(u"äöüßÄÖÜ") != std::u16string_view::npos;
}

TEST(Introduction, BothLanguagesExplainTheSixActionsAndTheRestInOneOrder) {
    const auto german = IntroTopics(true);
    const auto english = IntroTopics(false);
    ASSERT_EQ(german.size(), english.size());
    std::vector<std::string_view> ids;
    for (std::size_t i = 0; i < german.size(); ++i) {
        SCOPED_TRACE(std::string(english[i].id));
        EXPECT_EQ(german[i].id, english[i].id) << "the anchors are shared by both pages";
        for (const IntroTopic* each : {&german[i], &english[i]}) {
            EXPECT_FALSE(each->title.empty());
            EXPECT_GT(each->body.size(), 100u) << "a topic explains, it does not just name";
            EXPECT_FALSE(each->example.empty()) << "every topic has an example";
        }
        EXPECT_NE(german[i].body, english[i].body) << "translated, not copied";
        EXPECT_TRUE(hasUmlaut(std::u16string(german[i].title) + std::u16string(german[i].body)))
            << "German with its umlauts, not transliterated";
        EXPECT_FALSE(hasUmlaut(english[i].body));
        ids.push_back(english[i].id);
    }
    EXPECT_THAT(ids, ::testing::ElementsAre("replace", "add", "savetext", "cut", "resize",
                                            "saveimage", "history", "capture", "configurations"));
}

TEST(Introduction, EachLanguageKeepsTheFactsOfItsTopic) {
    struct Fact {
        std::string_view topic;
        std::u16string_view german;
        std::u16string_view english;
    };
    const Fact facts[] = {
        {"replace", u"„Hr.“", u"“Mr.”"},
        {"replace", u"Als RegEx", u"Use RegEx"},
        {"replace", u"$1", u"$1"},
        {"add", u"„> “", u"“> ”"},
        {"savetext", u"%num3%", u"%num3%"},
        {"savetext", u"notiz-001.txt", u"note-001.txt"},
        {"resize", u"800 × 450", u"800 × 450"},
        {"history", u"Doppelklick", u"Double-click"},
        {"history", u"Strg+S", u"Ctrl+S"},
        {"capture", u"F3", u"F3"},
        {"configurations", u".tpf", u".tpf"},
        {"configurations", u"auto.tpf", u"auto.tpf"},
    };
    for (const Fact& fact : facts) {
        for (const bool german : {true, false}) {
            const IntroTopic* found = topic(fact.topic, german);
            ASSERT_NE(found, nullptr) << fact.topic;
            const std::u16string all = std::u16string(found->title) + u" " +
                                       std::u16string(found->body) + u" " +
                                       std::u16string(found->example);
            const std::u16string_view needle = german ? fact.german : fact.english;
            EXPECT_NE(all.find(needle), std::u16string::npos)
                << fact.topic << (german ? " (de): " : " (en): ") << utf16ToUtf8(needle);
        }
    }
}

TEST(Introduction, ThePageLinksEveryTopicAndEscapesTheExamples) {
    for (const bool german : {true, false}) {
        const std::u16string html = IntroductionHtml(german);
        for (const IntroTopic& each : IntroTopics(german)) {
            const std::u16string id = utf8ToUtf16(each.id);
            const auto link = html.find(u"href=\"#" + id + u"\"");
            const auto anchor = html.find(u"name=\"" + id + u"\"");
            ASSERT_NE(link, std::u16string::npos) << each.id;
            ASSERT_NE(anchor, std::u16string::npos) << each.id;
            EXPECT_LT(link, anchor) << "the list of topics comes first";
        }
        // The front-text example is a ">" that must reach the view as a character.
        const std::u16string_view raw = german ? u"„> “" : u"“> ”";
        const std::u16string_view escaped = german ? u"„&gt; “" : u"“&gt; ”";
        EXPECT_EQ(html.find(raw), std::u16string::npos);
        EXPECT_NE(html.find(escaped), std::u16string::npos);
    }
}

TEST(StripHint, NamesTheBuiltVersionAndInvitesAClickInEitherLanguage) {
    const std::u16string_view version = ProgramVersion();
    ASSERT_FALSE(version.empty());
    EXPECT_TRUE(std::all_of(version.begin(), version.end(),
                            [](char16_t c) { return (c >= u'0' && c <= u'9') || c == u'.'; }))
        << "the project version, not a placeholder: " << utf16ToUtf8(version);
    const std::u16string german = StripHint(true);
    const std::u16string english = StripHint(false);
    for (const std::u16string* hint : {&german, &english}) {
        EXPECT_EQ(hint->rfind(u"Tessaro " + std::u16string(version), 0), 0u) << utf16ToUtf8(*hint);
    }
    EXPECT_NE(german.find(u"Einführung"), std::u16string::npos);
    EXPECT_NE(english.find(u"introduction"), std::u16string::npos);
}

}  // namespace
}  // namespace tessaro

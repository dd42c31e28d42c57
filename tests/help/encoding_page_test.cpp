// SPDX-License-Identifier: GPL-3.0-or-later
// The page about the text encodings: the output settings' link opens the page of the
// interface language beside the program, a missing page is said aloud, and each page
// explains the nine choices under the names the dialog gives them, with their start bytes.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/utf.h"
#include "support/app_fixture.h"

namespace tessaro {
namespace {

const std::filesystem::path kResources =
    std::filesystem::path(TESSARO_SOURCE_DIR) / "src/app/resources/";

std::u16string readPage(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return utf8ToUtf16(bytes.str());
}

class EncodingPage : public testing::AppFixture {
protected:
    Teinstausgabe& output() { return app.outputSettings(); }
    void setLanguage(bool german) {
        app.startWindow().spr.setCaption(german ? u"de" : u"en");
        app.sprachealles();
    }
};

TEST_F(EncodingPage, TheLinkOpensThePageOfTheInterfaceLanguageBesideTheProgram) {
    desktop.setProgramFolder(kResources);
    output().lb_encodings_link.onClick();
    setLanguage(true);
    output().lb_encodings_link.onClick();
    ASSERT_EQ(desktop.openedDocuments().size(), 2u);
    EXPECT_EQ(desktop.openedDocuments()[0], kResources / "text-encodings-en.html");
    EXPECT_EQ(desktop.openedDocuments()[1], kResources / "text-encodings-de.html");
    for (const auto& page : desktop.openedDocuments())
        EXPECT_TRUE(std::filesystem::is_regular_file(page)) << page;
    EXPECT_TRUE(desktop.messages().empty());
    EXPECT_FALSE(output().lb_encodings_link.stored()) << "a link is no setting";
}

TEST_F(EncodingPage, AMissingPageOrBrowserIsSaidWithThePath) {
    desktop.setProgramFolder(std::filesystem::path(TESSARO_SOURCE_DIR) / "no-such-folder/");
    output().lb_encodings_link.onClick();
    EXPECT_TRUE(desktop.openedDocuments().empty());
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_NE(desktop.messages()[0].text.find(u"no-such-folder/text-encodings-en.html"),
              std::u16string::npos);

    desktop.setProgramFolder(kResources);
    desktop.setCanOpenDocuments(false);
    output().lb_encodings_link.onClick();
    ASSERT_EQ(desktop.messages().size(), 2u) << "no browser is no silence either";
}

TEST_F(EncodingPage, EachPageExplainsTheNineChoicesByTheirCaptionsWithTheirStartBytes) {
    for (const bool german : {true, false}) {
        setLanguage(german);
        const std::u16string page =
            readPage(kResources / (german ? "text-encodings-de.html" : "text-encodings-en.html"));
        SCOPED_TRACE(german ? "de" : "en");
        for (RadioButton* choice : output().controlsOf<RadioButton>()) {
            EXPECT_NE(page.find(choice->caption()), std::u16string::npos)
                << utf16ToUtf8(choice->caption());
        }
        for (std::u16string_view bytes : {u"EF BB BF", u"<code>FF FE</code>", u"<code>FE FF</code>",
                                          u"FF FE 00 00", u"00 00 FE FF", u"+/v8", u"Windows-1252",
                                          u"U+00FF"}) {
            EXPECT_NE(page.find(bytes), std::u16string::npos) << utf16ToUtf8(bytes);
        }
        EXPECT_NE(page.find(german ? u"href=\"text-encodings-en.html\""
                                   : u"href=\"text-encodings-de.html\""),
                  std::u16string::npos)
            << "each page leads to the other language";
    }
}

}  // namespace
}  // namespace tessaro

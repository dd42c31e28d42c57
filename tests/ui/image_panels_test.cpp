// SPDX-License-Identifier: GPL-3.0-or-later
// The settings of the two image actions: the main window's cut and resize panels and the
// resizing group of the output settings, as designed and in both languages.
#include <gtest/gtest.h>

#include "support/app_fixture.h"

namespace tessaro {
namespace {

class ImagePanels : public testing::AppFixture {
protected:
    void setLanguage(std::u16string code) {
        app.startWindow().spr.setCaption(std::move(code));
        prog().sprache();
        app.outputSettings().Sprache();
    }
};

TEST_F(ImagePanels, StartAsDesigned) {
    auto& p = prog();
    EXPECT_TRUE(p.rb_cutimg_auswahl.checked());
    EXPECT_FALSE(p.rb_cutimg_direkt.checked());
    for (ComboBox* margin : {&p.act_zuschlinks, &p.act_zuschrechts, &p.act_zuschoben, &p.act_zuschunten}) {
        EXPECT_EQ(margin->text(), u"0");
        EXPECT_EQ(margin->items().size(), 10u);
        EXPECT_EQ(margin->items().back(), u"Custom..");
        EXPECT_EQ(margin->dropDownCount(), 12);
    }
    EXPECT_EQ(p.act_sizebenutzer_x.text(), u"640");
    EXPECT_EQ(p.act_sizebenutzer_y.text(), u"480");
    EXPECT_EQ(p.act_sizebenutzer_y.dropDownCount(), 15);
    EXPECT_TRUE(p.act_resizeimg_prop.checked());
    EXPECT_EQ(p.Label15.caption(), u"Left");
    EXPECT_EQ(p.Label1.caption(), u"Maximum Size:");
    auto& out = app.outputSettings();
    EXPECT_TRUE(out.act_sizehochquerformat.checked());
    EXPECT_TRUE(out.act_sizekleiner.checked());
    EXPECT_TRUE(out.act_sizebigger.checked());
    EXPECT_EQ(out.act_sizemethode.text(), u"Bicubic");
    EXPECT_EQ(out.act_sizemethode.items(),
              (std::vector<std::u16string>{u"Bicubic", u"Bilinear", u"Nearest"}));
    EXPECT_EQ(out.GroupBox3.caption(), u"Image Resizing");
}

TEST_F(ImagePanels, TheCutWaysExcludeEachOther) {
    auto& p = prog();
    p.rb_cutimg_direkt.click();
    EXPECT_FALSE(p.rb_cutimg_auswahl.checked());
    p.rb_cutimg_auswahl.click();
    EXPECT_FALSE(p.rb_cutimg_direkt.checked());
}

TEST_F(ImagePanels, NumberListsFollowTheirRulesOnTheWindow) {
    auto& p = prog();
    p.act_sizebenutzer_x.setText(u"Custom..");
    p.act_sizebenutzer_x.onChange();
    EXPECT_EQ(p.act_sizebenutzer_x.text(), u"");
    p.act_sizebenutzer_x.onExit();
    EXPECT_EQ(p.act_sizebenutzer_x.text(), u"640");
    p.act_zuschoben.setText(u"");
    p.act_zuschoben.onExit();
    EXPECT_EQ(p.act_zuschoben.text(), u"0");
    char16_t key = u'x';
    p.act_zuschunten.onKeyPress(key);
    EXPECT_EQ(key, 0);
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_EQ(desktop.messages()[0].text, u"In this box only numerical entries are allowed.");
}

TEST_F(ImagePanels, LanguageSwitchTranslatesEntriesAndKeepsChosenValues) {
    auto& p = prog();
    auto& out = app.outputSettings();
    p.act_sizebenutzer_x.setText(u"1920");
    out.act_sizemethode.setText(u"Nearest");
    setLanguage(u"de");
    EXPECT_EQ(p.act_zuschlinks.items().back(), u"Benutzer..");
    EXPECT_EQ(p.act_sizebenutzer_y.items().back(), u"Benutzer..");
    EXPECT_EQ(p.act_sizebenutzer_x.text(), u"1920");
    EXPECT_EQ(p.Label17.caption(), u"Oben");
    EXPECT_EQ(p.Label12.caption(), u"H\u00f6he:");
    EXPECT_EQ(out.act_sizemethode.text(), u"N\u00e4chster Nachbar");
    EXPECT_EQ(out.act_sizemethode.items()[0], u"Bikubisch");
    EXPECT_EQ(out.act_sizemethode.items()[1], u"Bilinear");
    EXPECT_EQ(out.Label2.caption(), u"Skaliermethode:");
    setLanguage(u"en");
    EXPECT_EQ(p.act_zuschlinks.items().back(), u"Custom..");
    EXPECT_EQ(out.act_sizemethode.text(), u"Nearest");
    // A method typed by hand keeps what it does not recognise.
    EXPECT_EQ(TranslateResizeMethod(u"Bicubic smooth", true), u"Bikubisch smooth");
}

}  // namespace
}  // namespace tessaro

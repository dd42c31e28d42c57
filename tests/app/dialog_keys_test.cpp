// SPDX-License-Identifier: GPL-3.0-or-later
// Enter in the settings dialogs presses their OK, wherever the focus is: it keeps and applies
// what the user typed and never presses a button that puts the defaults back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "app/views/history_settings_view.h"
#include "app/views/output_settings_view.h"
#include "app/views/regex_settings_view.h"
#include "support/app_fixture.h"

namespace tessaro {
namespace {

class DialogKeys : public testing::AppFixture {
protected:
    // Opens the dialog through its menu item and presses Enter on the named control of it.
    static void enterOn(QWidget& view, MenuItem& opener, const char* control) {
        opener.click();
        view.show();
        QApplication::processEvents();
        auto* widget = view.findChild<QWidget*>(QLatin1String(control));
        ASSERT_NE(widget, nullptr) << control;
        widget->setFocus();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QApplication::sendEvent(widget, &press);
    }
};

TEST_F(DialogKeys, EnterInTheRegexSettingsAppliesWhatWasTypedInsteadOfRestoringTheDefaults) {
    Teinstregex& model = app.regexSettings();
    RegexSettingsView view(model, nullptr);
    for (const char* focus : {"zk_space", "Button3", "Button2", "Button1"}) {
        model.zk_space.setText(u"$20");
        model.cb_multiline_m.setChecked(true);
        enterOn(view, prog().einst_regex, focus);
        EXPECT_FALSE(model.visible()) << "Enter on " << focus << " closes the dialog as OK does";
        EXPECT_EQ(model.zk_space.text(), u"$20") << "Enter on " << focus << " keeps what was typed";
        EXPECT_TRUE(model.cb_multiline_m.checked()) << focus;
        EXPECT_EQ(model.options().SpaceSet, u" ") << "Enter on " << focus << " applies the field";
        model.Button3.click();  // the defaults back for the next round
        EXPECT_EQ(model.options().SpaceSet, u" ") << "restoring the fields waits for OK or Assume";
    }
}

TEST_F(DialogKeys, EnterInTheOtherSettingsDialogsIsTheirOk) {
    OutputSettingsView output(app.outputSettings(), nullptr);
    enterOn(output, prog().einst_akt, "rb_utf8");
    EXPECT_FALSE(app.outputSettings().visible());
    HistorySettingsView history(app.historySettings(), nullptr);
    enterOn(history, prog().einst_verl, "cb_save_img");
    EXPECT_FALSE(app.historySettings().visible());
    for (QPushButton* button : output.findChildren<QPushButton*>() + history.findChildren<QPushButton*>()) {
        EXPECT_EQ(button->isDefault(), button->objectName() == QStringLiteral("OK") ||
                                           button->objectName() == QStringLiteral("Button1"))
            << button->objectName().toStdString();
    }
}

}  // namespace
}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt views over the headless windows: models reach the widgets, user input reaches
// the models, and long texts stay cheap to show.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QKeyEvent>
#include <QTextCursor>
#include <QLabel>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableView>
#include <QTextDocument>

#include "app/qt_bitmap.h"
#include "app/qt_text.h"
#include "app/views/bindings.h"
#include "app/views/list_view_model.h"
#include "app/views/main_window_view.h"
#include "output/oracle.h"
#include "support/app_fixture.h"

namespace tessaro {
namespace {

TEST(ListViewModel, FollowsTheListAndShowsOneLinePreviews) {
    Form form("f");
    auto& list = form.add<ListView>("list");
    list.setColumns({{u"A", 10}, {u"B", 10}});
    ListViewModel model(list, nullptr);
    std::u16string longText = u"line one\r\nline two\t";
    longText += std::u16string(1000, u'z');
    list.append({u"first", {longText}});
    list.append({u"second", {u"short"}});
    ASSERT_EQ(model.rowCount(), 2);
    const QString shown = model.data(model.index(0, 1), Qt::DisplayRole).toString();
    EXPECT_TRUE(shown.startsWith(u"line one  line two "));
    EXPECT_EQ(shown.size(), 257) << "256 characters and an ellipsis";
    EXPECT_EQ(shown.back(), QChar(0x2026));
    EXPECT_EQ(model.data(model.index(1, 1), Qt::DisplayRole).toString(), QStringLiteral("short"));
    list.append({u"html", {u"<b>fett</b> &amp; <i>schr\u00e4g</i> und noch mehr Text dahinter"}});
    QTextDocument tip;
    tip.setHtml(model.data(model.index(2, 1), Qt::ToolTipRole).toString());
    EXPECT_EQ(tip.toPlainText(), QStringLiteral("<b>fett</b> &amp; <i>schräg</i> und noch mehr Text dahinter"))
        << "a tip shows HTML source as text, not rendered";
    list.remove({2});
    list.setColumnCaption(1, u"Wert");
    EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Wert"));
    list.remove({0});
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole).toString(), QStringLiteral("second"));
    list.clear();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST(Bindings, CheckBoxesGoBothWays) {
    Form form("f");
    auto& box = form.add<CheckBox>("cb");
    int clicks = 0;
    box.onClick = [&] { ++clicks; };
    QCheckBox widget;
    bindCheckBox(&widget, box);
    box.setCaption(u"Gr\u00fc\u00dfe");
    box.setChecked(true);
    EXPECT_TRUE(widget.isChecked());
    EXPECT_EQ(widget.text(), QStringLiteral("Grüße"));
    EXPECT_EQ(clicks, 1);
    widget.click();
    EXPECT_FALSE(box.checked());
    EXPECT_EQ(clicks, 2);
}

TEST(Bindings, FieldRulesSeeTypedCharactersButNotFocusOrDeleteKeys) {
    Form form("f");
    auto& list = form.add<ComboBox>("list");
    std::u16string seen;
    list.onKeyPress = [&](char16_t& key) {
        seen.push_back(key);
        if (key < u'0' || key > u'9') key = 0;
    };
    // Keys go where the desktop sends them: to the combo box, which has the focus and
    // passes them on to its line edit.
    QComboBox widget;
    bindComboBox(&widget, list);
    for (int key : {int(Qt::Key_Tab), int(Qt::Key_Backtab), int(Qt::Key_Delete)}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier,
                        key == Qt::Key_Delete ? QStringLiteral("\x7f") : QStringLiteral("\t"));
        QApplication::sendEvent(&widget, &press);
    }
    EXPECT_EQ(seen, u"");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(&widget, &enter);
    for (const auto& [key, text] : {std::pair{Qt::Key_6, "6"}, std::pair{Qt::Key_X, "x"}, std::pair{Qt::Key_4, "4"}}) {
        QKeyEvent typed(QEvent::KeyPress, key, Qt::NoModifier, QString::fromLatin1(text));
        QApplication::sendEvent(&widget, &typed);
    }
    EXPECT_EQ(seen, u"\r6x4");
    EXPECT_EQ(widget.lineEdit()->text(), QStringLiteral("64")) << "the refused letter never reaches the field";
    EXPECT_EQ(list.text(), u"64");
}

TEST(Bindings, MenuItemsLetTheHandlerDecideTheCheckMark) {
    Form form("f");
    auto& item = form.add<MenuItem>("item");
    item.setChecked(true);
    item.onClick = [&] { item.setChecked(!item.checked()); };
    QAction action;
    bindMenuItem(&action, item);
    EXPECT_TRUE(action.isChecked());
    action.trigger();
    EXPECT_FALSE(item.checked());
    EXPECT_FALSE(action.isChecked());
    action.trigger();
    EXPECT_TRUE(item.checked());
    EXPECT_TRUE(action.isChecked());
}

// Scrolls the box to its end (down, or right) until nothing more comes; the text shown then.
QString scrolledThrough(QPlainTextEdit& view, QScrollBar* bar) {
    for (qsizetype before = -1; before != view.toPlainText().size();) {
        before = view.toPlainText().size();
        bar->setValue(bar->maximum());
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    return view.toPlainText();
}

TEST(Bindings, MemoViewShowsALargeTextPieceByPieceAsTheUserScrolls) {
    Form form("f");
    auto& memo = form.add<Memo>("memo");
    QPlainTextEdit view;
    view.resize(300, 200);
    view.show();
    bindMemoView(&view, memo);
    memo.setText(u"a\r\nb");
    EXPECT_EQ(view.toPlainText(), QStringLiteral("a\nb"));

    std::u16string lines;
    for (int i = 0; lines.size() < 3'000'000; ++i) lines += u"Zeile " + toU16(QString::number(i)) + u" \u00fc\r\n";
    memo.setText(lines);
    QCoreApplication::processEvents();
    EXPECT_LT(view.toPlainText().size(), 300'000) << "no more than a piece or two at first";
    EXPECT_TRUE(view.toPlainText().endsWith(u'\n')) << "a piece ends after a line break";
    QString whole = toQString(lines);
    whole.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    EXPECT_EQ(scrolledThrough(view, view.verticalScrollBar()), whole);
    EXPECT_EQ(memo.text().size(), lines.size()) << "the memo keeps the whole text";

    // One line without breaks goes on to the right, never split inside a CR LF or a pair.
    std::u16string line(400'000, u'q');
    line[131'071] = u'\r';
    line[131'072] = u'\n';
    line[262'143] = 0xD83D;
    line[262'144] = 0xDE00;
    memo.setText(line);
    QCoreApplication::processEvents();
    EXPECT_LT(view.toPlainText().size(), 300'000);
    QString expected = toQString(line);
    expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    EXPECT_EQ(scrolledThrough(view, view.horizontalScrollBar()), expected);
}

TEST(Bindings, EditableMemoKeepsCrLfInTheModelAndShowsItsColour) {
    Form form("f");
    auto& memo = form.add<Memo>("memo");
    int changes = 0;
    memo.onChange = [&] { ++changes; };
    QPlainTextEdit widget;
    bindMemo(&widget, memo);
    memo.setText(u"one\r\ntwo\u00a0three");
    EXPECT_EQ(widget.toPlainText().section(QChar(u'\n'), 0, 0), QStringLiteral("one"));
    EXPECT_EQ(changes, 1) << "the model's own change is not echoed back";
    widget.setPlainText(QStringLiteral("a\nb\u00a0c\n"));
    EXPECT_EQ(memo.text(), u"a\r\nb\u00a0c\r\n") << "non-breaking space kept";
    QTextCursor cursor = widget.textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringLiteral("x"));
    EXPECT_EQ(memo.text(), u"a\r\nb\u00a0c\r\nx");
    memo.setColor(Rgb{127, 28, 23});
    EXPECT_EQ(widget.palette().color(QPalette::Text), QColor(127, 28, 23));
    memo.setColor(std::nullopt);
    EXPECT_EQ(widget.palette().color(QPalette::Text), QApplication::palette().color(QPalette::Text));
}

TEST(QtBitmap, RoundTripKeepsChannelOrderAndOrientation) {
    auto bitmap = std::make_shared<Bitmap>(Bitmap::blank(3, 2, 24));
    bitmap->pixels = {0, 0, 255, /**/ 0, 255, 0, /**/ 255, 0, 0,  // red, green, blue (BGR bytes)
                      1, 2, 3, /**/ 4, 5, 6, /**/ 7, 8, 9};
    const QImage image = toQImage(bitmap);
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(2, 0), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(2, 1), qRgb(9, 8, 7));
    const Bitmap back = toBitmap(image);
    EXPECT_EQ(back.bitsPerPixel, 32);
    EXPECT_EQ(back.pixels[0], 0);
    EXPECT_EQ(back.pixels[2], 255);
    EXPECT_EQ(back.pixels[4 * 5 + 0], 7) << "last pixel, blue byte first";
    EXPECT_EQ(back.pixels[4 * 5 + 3], 255);
}

// Pictures as other programs offer them: decoded straight into the bitmap where they are
// 32 bits, through a copy otherwise; both give what Qt's own decoding gives.
TEST(QtBitmap, DecodedPicturesEqualQtsOwnDecodingWhateverTheirFormat) {
    QImage opaque(37, 5, QImage::Format_RGB32);
    QImage translucent(3, 4, QImage::Format_ARGB32);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 37; ++x) opaque.setPixel(x, y, qRgb(x * 7, y * 50, 3));
    }
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 3; ++x) translucent.setPixel(x, y, qRgba(x * 80, y * 60, 9, 40 + x * y * 10));
    }
    QImage indexed = opaque.convertToFormat(QImage::Format_Indexed8);
    const auto encoded = [](const QImage& image, const char* format) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, format);
        return bytes;
    };
    for (const QByteArray& file : {encoded(opaque, "PNG"), encoded(translucent, "PNG"), encoded(indexed, "PNG"),
                                   encoded(opaque, "BMP"), encoded(opaque, "JPEG")}) {
        const std::optional<Bitmap> decoded = decodeBitmap(std::string_view(file.constData(), file.size()));
        ASSERT_TRUE(decoded);
        const Bitmap expected = toBitmap(QImage::fromData(file));
        EXPECT_EQ(decoded->width, expected.width);
        EXPECT_EQ(decoded->height, expected.height);
        EXPECT_EQ(decoded->pixels, expected.pixels);
    }
    EXPECT_FALSE(decodeBitmap("not a picture"));
    const QByteArray png = encoded(opaque, "PNG");
    EXPECT_FALSE(decodeBitmap(std::string_view(png.constData(), 60))) << "a file cut short";
}

class MainWindow : public testing::AppFixture {};

TEST_F(MainWindow, ViewMirrorsCaptureAndFollowsTheResizeRule) {
    MainWindowView view(prog());
    view.resize(900, 700);
    view.show();
    QApplication::processEvents();
    QApplication::processEvents();
    copyText(u"shown");
    auto* tabs = view.findChild<QTabBar*>(QStringLiteral("TabSet1"));
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Text"));
    auto* history = view.findChild<QTableView*>(QStringLiteral("zuletzt"));
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(history->model()->rowCount(), 1);
    EXPECT_EQ(history->model()->data(history->model()->index(0, 2)).toString(), QStringLiteral("shown"));

    tabs->setCurrentIndex(1);
    EXPECT_EQ(prog().pc.activePage(), &prog().tab_details);
    auto* details = view.findChild<QTableView*>(QStringLiteral("liste"));
    EXPECT_TRUE(details->isVisible());

    const auto splitters = view.findChildren<QSplitter*>();
    ASSERT_EQ(splitters.size(), 2);
    const QList<int> columns = splitters[0]->sizes();
    EXPECT_NEAR(columns[0], (columns[0] + columns[1]) / 3, 1) << "history column a third of the width";
    EXPECT_EQ(prog().Panel2.width(), columns[0]);
}

TEST_F(MainWindow, AClosedViewIsNeverCalledAndANewOneTakesOver) {
    // Without ending the first view's subscriptions, the capture below would write into
    // freed widgets (the sanitizer build reports it; the plain build may crash).
    auto first = std::make_unique<MainWindowView>(prog());
    first->show();
    QApplication::processEvents();
    first.reset();
    copyText(u"after the first view");
    prog().cb_suchenersetzen.setChecked(true);

    MainWindowView second(prog());
    copyText(u"seen by the second");
    auto* display = second.findChild<QPlainTextEdit*>(QStringLiteral("display_txt"));
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(display->toPlainText(), QStringLiteral("seen by the second"));
    auto* box = second.findChild<QCheckBox*>(QStringLiteral("cb_suchenersetzen"));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isChecked());
    prog().cb_suchenersetzen.setChecked(false);
    EXPECT_FALSE(box->isChecked());
}

TEST_F(MainWindow, SearchReplaceBoxFollowsItsHeightRuleAndTableKeys) {
    MainWindowView view(prog());
    view.resize(900, 700);
    view.show();
    QApplication::processEvents();
    prog().cb_suchenersetzen.click();
    QApplication::processEvents();
    auto* row = view.findChild<QWidget*>(QStringLiteral("pa001b"));
    ASSERT_NE(row, nullptr);
    EXPECT_TRUE(row->isVisible());
    EXPECT_EQ(row->height(), 155);
    auto* table = view.findChild<QTableView*>(QStringLiteral("act_ers_text_liste"));
    ASSERT_NE(table, nullptr);
    prog().cb_se_mehrfach.click();
    QApplication::processEvents();
    EXPECT_EQ(row->height(), 266);
    EXPECT_TRUE(table->isVisible());
    EXPECT_EQ(table->geometry().bottom() + 1, search_replace_layout::kTable.top + search_replace_layout::kTable.height);

    // Typing in the memo goes to the model; adding makes a row.
    auto* search = view.findChild<QPlainTextEdit*>(QStringLiteral("act_ers_text_suchen"));
    ASSERT_NE(search, nullptr);
    search->setPlainText(QStringLiteral("a\nb"));
    EXPECT_EQ(prog().act_ers_text_suchen.text(), u"a\r\nb");
    EXPECT_EQ(prog().LastEditedMemo(), &prog().act_ers_text_suchen);
    prog().act_ers_text_add.click();
    prog().act_ers_text_suchen.setText(u"c");
    prog().act_ers_text_add.click();
    ASSERT_EQ(table->model()->rowCount(), 2);
    EXPECT_EQ(table->model()->data(table->model()->index(0, 0)).toString(), QStringLiteral("a  b")) << "one line";

    // Ctrl+A selects in the model and, once events run, in the view; Delete removes.
    QKeyEvent ctrlA(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, QStringLiteral("a"));
    QApplication::sendEvent(table, &ctrlA);
    QApplication::processEvents();
    EXPECT_EQ(prog().act_ers_text_liste.selectedRows().size(), 2u);
    EXPECT_EQ(table->selectionModel()->selectedRows().size(), 2);
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(table, &del);
    EXPECT_EQ(prog().act_ers_text_liste.count(), 0u);
    EXPECT_EQ(table->model()->rowCount(), 0);

    // An error mark shows in the view, beside the memo edited last.
    prog().act_ers_text_suchen.setText(u"a)");
    prog().RegExFehlerInMemoMarkieren(u"Unmatched ()");
    QApplication::processEvents();
    auto* mark = view.findChild<QLabel*>(QStringLiteral("act_ers_text_suchen_regfehler"));
    ASSERT_NE(mark, nullptr);
    EXPECT_TRUE(mark->isVisible());
    EXPECT_EQ(mark->text(), QStringLiteral("Unmatched ()"));
    EXPECT_TRUE(mark->font().bold());
}

TEST_F(MainWindow, MenusShowTheCaptionsAndF3) {
    MainWindowView view(prog());
    const auto menus = view.menuBar()->actions();
    ASSERT_EQ(menus.size(), 5);
    EXPECT_EQ(menus[1]->text(), QStringLiteral("Settings"));
    // Of the two help menus only the one of the language shows; the language items switch.
    EXPECT_FALSE(menus[3]->isVisible());
    EXPECT_TRUE(menus[4]->isVisible());
    auto* german = view.findChild<QAction*>(QStringLiteral("einst_spr_de"));
    ASSERT_NE(german, nullptr);
    german->trigger();
    EXPECT_EQ(menus[1]->text(), QStringLiteral("Einstellungen"));
    EXPECT_TRUE(menus[3]->isVisible());
    EXPECT_FALSE(menus[4]->isVisible());
    EXPECT_TRUE(german->isChecked());
    EXPECT_EQ(app.outputSettings().caption(), u"Einstellungen") << "hidden windows follow";
    view.findChild<QAction*>(QStringLiteral("einst_spr_en"))->trigger();
    EXPECT_EQ(menus[1]->text(), QStringLiteral("Settings"));
    EXPECT_FALSE(german->isChecked());
    QAction* active = view.findChild<QAction*>(QStringLiteral("m_einst_aktiv"));
    ASSERT_NE(active, nullptr);
    EXPECT_EQ(active->shortcut(), QKeySequence(Qt::Key_F3));
    active->trigger();
    EXPECT_FALSE(prog().m_einst_aktiv.checked());
}

TEST_F(MainWindow, StartAtLoginShowsWhetherItsFileIsThereWhenTheSettingsMenuOpens) {
    testing_output::TempDir config;
    desktop.setUserConfigFolder(config.path());
    MainWindowView view(prog());
    auto* settings = view.findChild<QMenu*>(QStringLiteral("einst"));
    auto* item = view.findChild<QAction*>(QStringLiteral("einst_autostart"));
    ASSERT_TRUE(settings && item);
    ASSERT_GE(settings->actions().size(), 3);
    EXPECT_EQ(settings->actions()[2], item);
    EXPECT_EQ(item->text(), QStringLiteral("Start at Login"));
    EXPECT_FALSE(item->isChecked());

    const auto file = config.path() / "autostart" / "tessaro.desktop";
    std::filesystem::create_directories(file.parent_path());
    testing_output::writeBytes(file, "[Desktop Entry]\nType=Application\nName=Tessaro\nExec=tessaro\n");
    emit settings->aboutToShow();
    EXPECT_TRUE(item->isChecked()) << "a file put there by someone else shows when the menu opens";
    item->trigger();
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_FALSE(item->isChecked());
    item->trigger();
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_TRUE(item->isChecked());
}

TEST_F(MainWindow, TheConfigurationMenuGrowsAndALoadedSizeReachesTheWindow) {
    MainWindowView view(prog());
    view.show();
    QApplication::processEvents();
    auto* menu = view.findChild<QMenu*>(QStringLiteral("m_konfig"));
    ASSERT_NE(menu, nullptr);
    const qsizetype before = menu->actions().size();
    prog().configurationMenu().KonfigurationAddMenu(u"/tmp/configs/Work.tpf");
    ASSERT_EQ(menu->actions().size(), before + 1);
    EXPECT_EQ(menu->actions().back()->objectName(), QStringLiteral("m_konfig_8"));
    EXPECT_EQ(menu->actions().back()->statusTip(), QStringLiteral("/tmp/configs/Work.tpf"));
    auto* all = view.findChild<QAction*>(QStringLiteral("m_konfig_autosave_alles"));
    ASSERT_NE(all, nullptr);
    all->trigger();
    EXPECT_TRUE(prog().m_konfig_autosave_alles.checked());
    EXPECT_FALSE(prog().m_konfig_autosave_nie.checked());
    EXPECT_TRUE(all->isChecked());

    prog().setClientSize(800, 500);
    QApplication::processEvents();
    EXPECT_EQ(view.size(), QSize(800, 500));
    view.resize(900, 520);
    QApplication::processEvents();
    EXPECT_EQ(prog().clientWidth(), 900);
    EXPECT_EQ(prog().clientHeight(), 520);
}

}  // namespace
}  // namespace tessaro

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

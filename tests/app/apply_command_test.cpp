// SPDX-License-Identifier: GPL-3.0-or-later
// `tessaro apply` over real files: configurations saved by the program itself, texts and
// pictures read and written on disk, the results judged by Qt's own decoders, and the
// exit statuses and messages of everything that can go wrong.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

#include "app/apply_command.h"
#include "app/qt_text.h"
#include "platform/memory_clipboard.h"
#include "platform/test_desktop.h"
#include "platform/utf.h"
#include "ui/application.h"

namespace tessaro {
namespace {

class ApplyCommand : public ::testing::Test {
protected:
    QString path(const QString& name) const { return m_folder.filePath(name); }

    // A configuration saved by the program after `settings` changed its windows.
    QString configuration(const std::function<void(Application&)>& settings) {
        TestDesktop desktop;
        MemoryClipboard clipboard;
        Application program(desktop, clipboard);
        program.createWindows();
        settings(program);
        const QString file = path(QStringLiteral("settings.tpf"));
        program.configuration().KonfigurationSpeichern(QFile::encodeName(file).toStdString());
        return file;
    }

    static void write(const QString& file, const QByteArray& bytes) {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    static QByteArray read(const QString& file) {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

    // Runs apply and keeps what it said on standard error.
    int apply(const QString& config, const QString& input, const QString& output) {
        char* buffer = nullptr;
        std::size_t size = 0;
        std::FILE* err = open_memstream(&buffer, &size);
        const int status = RunApply({config, input, output}, err);
        std::fclose(err);
        errors = QString::fromLocal8Bit(buffer, static_cast<qsizetype>(size));
        std::free(buffer);
        return status;
    }

    QTemporaryDir m_folder;
    QString errors;
};

TEST_F(ApplyCommand, TextRunsSearchAndReplaceAdditionsAndSavingAsTheWindowWould) {
    const QString saved = path(QStringLiteral("saved"));
    ASSERT_TRUE(QDir().mkpath(saved));
    const QString config = configuration([&](Application& program) {
        Tprog& w = program.mainWindow();
        w.cb_suchenersetzen.setChecked(true);
        w.act_ers_text_suchen.setText(u"(\\w+)@(\\w+)");
        w.act_ers_text_ersetzen.setText(u"$2 at $1");
        w.act_ers_text_suchen_regex.setChecked(true);
        w.act_ers_text_ersetzen_regex.setChecked(true);
        w.act_ers_text_liste.append({u"ß", {u"ss", u"-"}});
        w.cb_textadd.setChecked(true);
        w.act_textadd_vorne.setText(u"> ");
        w.act_textadd_hinten.setText(u" <");
        w.cb_savetxt.setChecked(true);
        w.savetxt_ordner.setText(toU16(saved));
        w.savetxt_name.setText(u"copy");
        // Saved while capturing was off: apply still runs the actions.
        w.m_einst_aktiv.setChecked(false);
    });
    write(path(QStringLiteral("in.txt")), QStringLiteral("Grüße: anna@example\r\nzweite Zeile").toUtf8());

    ASSERT_EQ(apply(config, path(QStringLiteral("in.txt")), path(QStringLiteral("out.txt"))), 0) << errors.toStdString();
    const QByteArray expected = QStringLiteral("> Grüsse: example at anna\r\nzweite Zeile <").toUtf8();
    EXPECT_EQ(read(path(QStringLiteral("out.txt"))), expected);
    const QStringList files = QDir(saved).entryList(QDir::Files);
    ASSERT_EQ(files.size(), 1) << files.join(u',').toStdString();
    // The save action writes the text as the configuration's encoding says; the default
    // holds it in full.
    EXPECT_TRUE(read(saved + u'/' + files.first()).contains("example at anna"));
    EXPECT_TRUE(errors.isEmpty()) << errors.toStdString();
}

TEST_F(ApplyCommand, TextWithoutActionsComesOutAsItWentIn) {
    const QString config = configuration([](Application&) {});
    static constexpr char kText[] = "line\x00with a zero\nand \xe2\x82\xac";
    const QByteArray text(kText, sizeof kText - 1);
    write(path(QStringLiteral("in.txt")), text);
    ASSERT_EQ(apply(config, path(QStringLiteral("in.txt")), path(QStringLiteral("out.txt"))), 0);
    EXPECT_EQ(read(path(QStringLiteral("out.txt"))), text);
}

TEST_F(ApplyCommand, FailuresAreToldAndLeaveNoOutput) {
    const QString input = path(QStringLiteral("in.txt"));
    write(input, "some text");
    const QString out = path(QStringLiteral("out.txt"));

    EXPECT_EQ(apply(path(QStringLiteral("missing.tpf")), input, out), 2);
    EXPECT_TRUE(errors.contains(QStringLiteral("cannot read the configuration"))) << errors.toStdString();

    const QString config = configuration([](Application& program) {
        Tprog& w = program.mainWindow();
        w.cb_suchenersetzen.setChecked(true);
        w.act_ers_text_suchen.setText(u"(unclosed");
        w.act_ers_text_suchen_regex.setChecked(true);
    });
    EXPECT_EQ(apply(config, path(QStringLiteral("no-such-input")), out), 2);
    EXPECT_TRUE(errors.contains(QStringLiteral("cannot read"))) << errors.toStdString();

    write(path(QStringLiteral("latin1.txt")), "Gr\xfc\xdf" "e");
    EXPECT_EQ(apply(config, path(QStringLiteral("latin1.txt")), out), 2);
    EXPECT_TRUE(errors.contains(QStringLiteral("neither UTF-8 text nor a picture"))) << errors.toStdString();

    // A regular expression that does not compile fails the run instead of passing the
    // text through unchanged as if it had been applied.
    EXPECT_EQ(apply(config, input, out), 1);
    EXPECT_TRUE(errors.contains(QStringLiteral("regular expression"))) << errors.toStdString();
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(ApplyCommand, PictureIsCutAndResizedThenWrittenAsPngOrByExtension) {
    const QString config = configuration([](Application& program) {
        Tprog& w = program.mainWindow();
        w.cb_cutimg.setChecked(true);
        w.rb_cutimg_direkt.setChecked(true);
        w.act_zuschlinks.setText(u"10");
        w.act_zuschrechts.setText(u"0");
        w.act_zuschoben.setText(u"6");
        w.act_zuschunten.setText(u"0");
        w.cb_resizeimg.setChecked(true);
        w.act_resizeimg_prop.setChecked(true);
        w.act_sizebenutzer_x.setText(u"45");
        w.act_sizebenutzer_y.setText(u"1000");
        // Without turning the box for a picture wider than high.
        program.outputSettings().act_sizehochquerformat.setChecked(false);
    });
    // Left of x = 10 and above y = 6 red, the rest blue: after the cut, all blue.
    QImage source(100, 60, QImage::Format_ARGB32);
    source.fill(Qt::blue);
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 100; ++x) {
            if (x < 10 || y < 6) source.setPixel(x, y, qRgb(255, 0, 0));
        }
    }
    ASSERT_TRUE(source.save(path(QStringLiteral("in.png"))));

    ASSERT_EQ(apply(config, path(QStringLiteral("in.png")), path(QStringLiteral("out.png"))), 0) << errors.toStdString();
    const QImage png(path(QStringLiteral("out.png")));
    ASSERT_EQ(png.size(), QSize(45, 27));  // 90 x 54 scaled to a width of 45
    EXPECT_EQ(png.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(png.pixel(44, 26), qRgb(0, 0, 255));

    ASSERT_EQ(apply(config, path(QStringLiteral("in.png")), path(QStringLiteral("out.bmp"))), 0) << errors.toStdString();
    EXPECT_EQ(QImage(path(QStringLiteral("out.bmp"))).size(), QSize(45, 27));

    EXPECT_EQ(apply(config, path(QStringLiteral("in.png")), path(QStringLiteral("out.unknown"))), 2);
    EXPECT_TRUE(errors.contains(QStringLiteral("no picture format"))) << errors.toStdString();
}

TEST_F(ApplyCommand, FrameDrawnByMouseNeedsTheWindow) {
    const QString config = configuration([](Application& program) {
        program.mainWindow().cb_cutimg.setChecked(true);
        program.mainWindow().rb_cutimg_auswahl.setChecked(true);
    });
    QImage source(20, 20, QImage::Format_RGB32);
    source.fill(Qt::green);
    ASSERT_TRUE(source.save(path(QStringLiteral("in.png"))));
    EXPECT_EQ(apply(config, path(QStringLiteral("in.png")), path(QStringLiteral("out.png"))), 1);
    EXPECT_TRUE(errors.contains(QStringLiteral("needs the window"))) << errors.toStdString();
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("out.png"))));
}

}  // namespace
}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// One program per display: the lock and the socket (also after a crash), and the requests
// of a later start carried out by the running program.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <thread>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/instance_channel.h"
#include "app/instance_requests.h"
#include "app/qt_text.h"
#include "support/app_fixture.h"

namespace tessaro {
namespace {

// A display and a runtime folder of the test's own.
class InstanceChannel : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
        qputenv("DISPLAY", QByteArray(":instance-test-") + QByteArray::number(::getpid()));
        QString error;
        const std::optional<QString> path = InstanceSocketPath(&error);
        ASSERT_TRUE(path) << error.toStdString();
        socket = *path;
    }

    // Sends from another thread while this one runs the event loop the server needs.
    InstanceReply send(const QByteArray& request) {
        InstanceReply reply;
        std::atomic<bool> done = false;
        std::thread client([&] {
            reply = SendToRunningInstance(socket, request);
            done = true;
        });
        while (!done) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        client.join();
        return reply;
    }

    QTemporaryDir m_runtime;
    QString socket;
};

TEST_F(InstanceChannel, OneProgramHoldsTheDisplayAndAnswersLaterStarts) {
    EXPECT_TRUE(socket.startsWith(m_runtime.path() + QStringLiteral("/tessaro-instance-test-")));
    auto first = InstanceServer::claim(socket);
    ASSERT_TRUE(first);
    EXPECT_FALSE(InstanceServer::claim(socket)) << "a second program does not get the display";
    QString error;
    ASSERT_TRUE(first->listen(&error)) << error.toStdString();
    first->answer = [](const QByteArray& request) { return "echo " + request; };

    const InstanceReply reply = send(R"({"show":true})");
    EXPECT_EQ(reply.outcome, InstanceReply::Outcome::Answered);
    EXPECT_EQ(reply.answer, QByteArray(R"(echo {"show":true})"));

    first.reset();
    EXPECT_EQ(send("{}").outcome, InstanceReply::Outcome::NotRunning);
    EXPECT_TRUE(InstanceServer::claim(socket)) << "the display is free again";
}

TEST_F(InstanceChannel, CrashedProgramLeavesNothingInTheWay) {
    // A program that died holding the lock, and its socket file left behind.
    const pid_t child = ::fork();
    if (child == 0) {
        QLockFile lock(socket + QStringLiteral(".lock"));
        ::_exit(lock.tryLock(0) ? 0 : 1);  // no unlocking: as if killed
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    ASSERT_TRUE(QFile::exists(socket + QStringLiteral(".lock")));
    QFile stale(socket);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();

    EXPECT_EQ(send("{}").outcome, InstanceReply::Outcome::NotRunning);
    auto server = InstanceServer::claim(socket);
    ASSERT_TRUE(server);
    QString error;
    ASSERT_TRUE(server->listen(&error)) << error.toStdString();
    server->answer = [](const QByteArray&) { return QByteArray("{}"); };
    EXPECT_EQ(send("{}").outcome, InstanceReply::Outcome::Answered);
}

TEST_F(InstanceChannel, SocketStaysOutOfFoldersOthersCanReach) {
    QTemporaryDir shared;
    ASSERT_EQ(::chmod(QFile::encodeName(shared.path()).constData(), 0755), 0);
    qputenv("XDG_RUNTIME_DIR", shared.path().toLocal8Bit());
    QString error;
    const std::optional<QString> path = InstanceSocketPath(&error);
    ASSERT_TRUE(path) << error.toStdString();
    EXPECT_FALSE(path->startsWith(shared.path()));
    struct stat folder {};
    ASSERT_EQ(::stat(QFile::encodeName(path->section(u'/', 0, -2)).constData(), &folder), 0);
    EXPECT_EQ(folder.st_mode & 077, 0u);
}

class InstanceRequests : public testing::AppFixture {
protected:
    QJsonObject answer(const QJsonObject& request) {
        return QJsonDocument::fromJson(
                   AnswerInstanceRequest(app, QJsonDocument(request).toJson(QJsonDocument::Compact)))
            .object();
    }
};

TEST_F(InstanceRequests, HistoryListsTheNewestTextsWholeWhateverTheSortOrder) {
    const std::u16string longText(1000, u'x');
    copyText(u"first");
    copy({{CF_BITMAP, testing::testBitmap(4, 4)}});
    copyText(longText);
    copyText(u"Ärger");
    prog().zuletztColumnClick(2);  // sorted by content

    const QJsonArray rows = answer({{QStringLiteral("history"), 2}}).value(QStringLiteral("history")).toArray();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].toObject().value(QStringLiteral("text")).toString(), QStringLiteral("Ärger"));
    EXPECT_EQ(rows[0].toObject().value(QStringLiteral("number")).toInt(), 2);
    EXPECT_EQ(rows[1].toObject().value(QStringLiteral("text")).toString(), toQString(longText));
    EXPECT_EQ(answer({{QStringLiteral("history"), 50}}).value(QStringLiteral("history")).toArray().size(), 3);
}

TEST_F(InstanceRequests, CopyBackToggleAndShow) {
    copyText(u"one");
    copyText(u"two");
    const std::size_t rowsBefore = rows();
    EXPECT_TRUE(answer({{QStringLiteral("copy"), 0}}).value(QStringLiteral("ok")).toBool());
    EXPECT_EQ(app.clipboard().ReadUnicodeText(), u"one");
    EXPECT_EQ(rows(), rowsBefore) << "copying back adds no row";
    const QJsonObject missing = answer({{QStringLiteral("copy"), 7}});
    EXPECT_FALSE(missing.value(QStringLiteral("ok")).toBool());
    EXPECT_TRUE(missing.value(QStringLiteral("error")).toString().contains(u'7'));

    EXPECT_FALSE(answer({{QStringLiteral("toggleCapture"), true}}).value(QStringLiteral("capturing")).toBool());
    copyText(u"not captured");
    EXPECT_EQ(rows(), rowsBefore);
    EXPECT_TRUE(answer({{QStringLiteral("toggleCapture"), true}}).value(QStringLiteral("capturing")).toBool());

    // Behind the notification-area icon, the window comes back out.
    app.showStartWindow();
    prog().reveal();
    desktop.setTrayAvailable(true);
    ASSERT_TRUE(prog().TaskBarAddIcon());
    ASSERT_FALSE(prog().visible());
    answer({{QStringLiteral("show"), true}});
    EXPECT_TRUE(prog().visible());
    EXPECT_FALSE(desktop.trayIconPresent());
}

TEST_F(InstanceRequests, ConfigurationFilesOfALaterStartAreLoaded) {
    QTemporaryDir folder;
    prog().act_textadd_vorne.setText(u"from the file");
    app.configuration().KonfigurationSpeichern(QFile::encodeName(folder.filePath(QStringLiteral("named.tpf"))).toStdString());
    prog().act_textadd_vorne.setText(u"");

    StartRequest later;
    later.arguments = {QStringLiteral("named.tpf"), QStringLiteral("notes.txt")};
    const QJsonObject request = QJsonDocument::fromJson(InstanceRequestOf(later, QDir(folder.path()))).object();
    EXPECT_TRUE(request.value(QStringLiteral("show")).toBool());
    EXPECT_TRUE(answer(request).value(QStringLiteral("ok")).toBool());
    EXPECT_EQ(prog().act_textadd_vorne.text(), u"from the file");
    EXPECT_TRUE(desktop.messages().empty());
}

TEST(InstanceAnswer, LaterStartPrintsTheAnswerOrTheRefusal) {
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    StartRequest start;
    start.mode = StartRequest::Mode::Remote;
    start.history = 1;
    start.toggleCapture = true;
    EXPECT_EQ(ReportInstanceAnswer(start, R"({"ok":true,"capturing":false,"history":[{"number":3,"text":"a"}]})", out,
                                   out),
              0);
    EXPECT_EQ(ReportInstanceAnswer(start, R"({"ok":false,"error":"no such row"})", out, out), 1);
    EXPECT_EQ(ReportInstanceAnswer(start, "not json", out, out), 1);
    std::fclose(out);
    const QString printed = QString::fromUtf8(text, static_cast<qsizetype>(size));
    std::free(text);
    EXPECT_TRUE(printed.startsWith(QStringLiteral("capture off\n[")));
    EXPECT_TRUE(printed.contains(QStringLiteral("\"number\": 3")));
    EXPECT_TRUE(printed.contains(QStringLiteral("tessaro: no such row\n")));
    EXPECT_TRUE(printed.contains(QStringLiteral("tessaro: no valid answer\n")));
}

}  // namespace
}  // namespace tessaro

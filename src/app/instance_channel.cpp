// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/instance_channel.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace tessaro {
namespace {

constexpr qsizetype kLongestRequest = 1 << 20;
constexpr int kIdleConnectionMs = 10'000;
constexpr qint64 kStartingProgramMs = 5'000;
constexpr qint64 kAnswerMs = 30'000;

QString lockPath(const QString& socketPath) { return socketPath + QStringLiteral(".lock"); }

// A folder is private when it is ours, a real folder (no link), and closed to others.
bool isPrivateFolder(const QString& folder) {
    struct stat status {};
    if (::lstat(QFile::encodeName(folder).constData(), &status) != 0) return false;
    return S_ISDIR(status.st_mode) && status.st_uid == ::getuid() && (status.st_mode & 077) == 0;
}

// The display's name as part of a file name: ":0" gives "0", "wayland-1" stays.
QString displayKey() {
    QString display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty()) display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty()) display = QStringLiteral("none");
    QString key;
    for (QChar c : display) {
        key += (c.isLetterOrNumber() || c == u'.' || c == u'-') && c.unicode() < 0x80 ? c : QChar(u'_');
    }
    while (key.startsWith(u'_')) key.remove(0, 1);
    return key.isEmpty() ? QStringLiteral("none") : key;
}

bool lockIsFree(const QString& socketPath) {
    QLockFile lock(lockPath(socketPath));
    if (!lock.tryLock(0)) return false;
    lock.unlock();
    return true;
}

}  // namespace

std::optional<QString> InstanceSocketPath(QString* error) {
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QDir::isAbsolutePath(folder) || !isPrivateFolder(folder)) {
        folder = QDir::tempPath() + QStringLiteral("/tessaro-") + QString::number(::getuid());
        ::mkdir(QFile::encodeName(folder).constData(), 0700);
        if (!isPrivateFolder(folder)) {
            *error = QStringLiteral("%1 is not a folder that only this user can reach").arg(folder);
            return std::nullopt;
        }
    }
    const QString path = folder + QStringLiteral("/tessaro-") + displayKey() + QStringLiteral(".socket");
    if (QFile::encodeName(path).size() >= static_cast<qsizetype>(sizeof(sockaddr_un::sun_path))) {
        *error = QStringLiteral("the socket path %1 is too long").arg(path);
        return std::nullopt;
    }
    return path;
}

std::unique_ptr<InstanceServer> InstanceServer::claim(const QString& socketPath) {
    auto lock = std::make_unique<QLockFile>(lockPath(socketPath));
    if (!lock->tryLock(0)) return nullptr;
    return std::unique_ptr<InstanceServer>(new InstanceServer(socketPath, std::move(lock)));
}

InstanceServer::InstanceServer(QString socketPath, std::unique_ptr<QLockFile> lock)
    : m_socketPath(std::move(socketPath)), m_lock(std::move(lock)) {
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &InstanceServer::accept);
}

InstanceServer::~InstanceServer() { m_server.close(); }

bool InstanceServer::listen(QString* error) {
    // Whoever made a socket here before has died: the lock was free.
    QLocalServer::removeServer(m_socketPath);
    if (m_server.listen(m_socketPath)) return true;
    *error = m_server.errorString();
    return false;
}

void InstanceServer::accept() {
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // A client that never finishes its line does not keep the socket for ever.
        QTimer::singleShot(kIdleConnectionMs, socket, [socket] { socket->abort(); });
        connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
            if (socket->property("answered").toBool()) return;
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kLongestRequest) socket->abort();
                return;
            }
            QByteArray request = socket->readLine(kLongestRequest);
            if (request.endsWith('\n')) request.chop(1);
            socket->setProperty("answered", true);
            // The answer may run a capture (a row copied back), during which the client
            // could go away: the socket is only used again if it still exists.
            QPointer<QLocalSocket> guard(socket);
            const QByteArray reply = answer ? answer(request) : QByteArray("{}");
            if (!guard) return;
            socket->write(reply + '\n');
            socket->disconnectFromServer();
        });
    }
}

InstanceReply SendToRunningInstance(const QString& socketPath, const QByteArray& request) {
    QElapsedTimer waited;
    waited.start();
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(socketPath);
        if (socket.waitForConnected(1000)) break;
        if (lockIsFree(socketPath)) return {InstanceReply::Outcome::NotRunning, {}};
        if (waited.elapsed() > kStartingProgramMs) return {InstanceReply::Outcome::NoAnswer, {}};
        QThread::msleep(100);
    }
    socket.write(request + '\n');
    socket.waitForBytesWritten(1000);
    QByteArray answer;
    while (!answer.endsWith('\n') && waited.elapsed() < kStartingProgramMs + kAnswerMs) {
        if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(1000) &&
            socket.state() != QLocalSocket::ConnectedState) {
            answer += socket.readAll();
            break;
        }
        answer += socket.readAll();
    }
    if (!answer.endsWith('\n')) return {InstanceReply::Outcome::NoAnswer, {}};
    answer.chop(1);
    return {InstanceReply::Outcome::Answered, answer};
}

}  // namespace tessaro

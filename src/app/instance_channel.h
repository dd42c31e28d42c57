// SPDX-License-Identifier: GPL-3.0-or-later
// One Tessaro per display: the first start holds a lock file and listens on a local
// socket beside it; a later start on the same display sends its request there and ends.
// Two programs that both write back to the clipboard would answer each other's writes.
//
// The lock, not the socket, says whether a program runs: a lock whose process has died is
// taken over, and the socket a crashed program left behind is removed before listening.
// A request and its answer are one line of JSON each.
#pragma once

#include <QByteArray>
#include <QLockFile>
#include <QLocalServer>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace tessaro {

// The socket of this user's program on this display ($DISPLAY, or $WAYLAND_DISPLAY) in
// $XDG_RUNTIME_DIR, or in a private folder of the temporary folder where that is unset.
// Nothing, with `error` set, when no folder only this user can reach is at hand.
std::optional<QString> InstanceSocketPath(QString* error);

class InstanceServer final : public QObject {
public:
    // Takes the lock beside `socketPath`; nothing when another program holds it.
    static std::unique_ptr<InstanceServer> claim(const QString& socketPath);
    ~InstanceServer() override;

    // Starts listening; false, with `error` set, when the socket cannot be made.
    bool listen(QString* error);

    // Answers one request line (without its line end) with one line.
    std::function<QByteArray(const QByteArray& request)> answer;

private:
    InstanceServer(QString socketPath, std::unique_ptr<QLockFile> lock);
    void accept();

    QString m_socketPath;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer m_server;
};

// What became of a request sent to the running program.
struct InstanceReply {
    enum class Outcome { Answered, NotRunning, NoAnswer };
    Outcome outcome = Outcome::NotRunning;
    QByteArray answer;  // the answer line, when answered
};

// Sends `request` to the program holding the lock beside `socketPath` and waits for its
// answer. A program that is starting has the lock before it listens: it gets a few seconds.
InstanceReply SendToRunningInstance(const QString& socketPath, const QByteArray& request);

}  // namespace tessaro

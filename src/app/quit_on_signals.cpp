// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/quit_on_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <array>

namespace tessaro {
namespace {

// A signal handler may only write to a pipe; the event loop reads the other end.
int g_pipe[2] = {-1, -1};
constexpr std::array<int, 3> kSignals = {SIGTERM, SIGINT, SIGHUP};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
}

}  // namespace

QuitOnSignals::QuitOnSignals(QObject* parent) : QObject(parent) {
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;  // the signals keep their default then
    auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [] {
        char bytes[16];
        while (::read(g_pipe[0], bytes, sizeof bytes) > 0) {
        }
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : kSignals) sigaction(number, &action, nullptr);
}

QuitOnSignals::~QuitOnSignals() {
    if (g_pipe[0] < 0) return;
    for (int number : kSignals) signal(number, SIG_DFL);
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// What a later start of the program asks of the running one, and how the answer reaches
// the user: the request a start makes, the running program's answer to it, and the later
// start's output and exit status.
#pragma once

#include <QByteArray>
#include <QDir>
#include <cstdio>

#include "app/command_line.h"
#include "ui/application.h"

namespace tessaro {

// The request of a start: its commands, and its configuration files with absolute paths.
QByteArray InstanceRequestOf(const StartRequest& start, const QDir& workingDirectory);

// Carries out a request in the running program. Order: configurations, capture switch,
// copying back, bringing the window up, then the history is read.
QByteArray AnswerInstanceRequest(Application& program, const QByteArray& request);

// Prints what the answer says for the start (the history as JSON, the capture state) on
// `out`, a refusal on `err`; returns the exit status.
int ReportInstanceAnswer(const StartRequest& start, const QByteArray& answer, std::FILE* out, std::FILE* err);

}  // namespace tessaro

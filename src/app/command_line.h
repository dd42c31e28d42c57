// SPDX-License-Identifier: GPL-3.0-or-later
// What one start of the program asks for: run the window (or bring up the one already
// running), send a command to the running program, run the pipeline of a configuration
// without a display, or print help or the version.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace tessaro {

// `tessaro apply`: a configuration's pipeline over one text or image file.
struct ApplyRequest {
    QString configuration;
    QString input = QStringLiteral("-");   // "-" is standard input
    QString output = QStringLiteral("-");  // "-" is standard output
};

struct StartRequest {
    enum class Mode {
        Run,      // start the window, or bring up the running one
        Remote,   // commands for the running program only
        Apply,
        Help,
        ApplyHelp,
        Version,
        Invalid,  // `error` says why
    };
    Mode mode = Mode::Run;
    QString error;
    // Where scripts and tests read what the window shows; not for users.
    QString stateFile;
    // Positional arguments, handed to the program, which loads those ending in ".tpf".
    QStringList arguments;
    // Commands for the running program.
    bool show = false;
    bool toggleCapture = false;
    std::optional<int> history;  // the last N text rows
    std::optional<int> copy;     // the text row of this number back to the clipboard
    ApplyRequest apply;
};

// The number of text rows `--history` prints when no number follows it.
inline constexpr int kDefaultHistoryRows = 10;

// Reads the arguments after the program name. Qt's own options (-display, -platform, ...)
// are left for Qt and skipped here.
StartRequest ParseCommandLine(const QStringList& arguments);

// The text of --help and of `apply --help`.
QString UsageText();
QString ApplyUsageText();

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// Tessaro: watches the clipboard and runs the actions the user switched on.
// Usage: see UsageText() in command_line.cpp; `tessaro --help`.
#include <QApplication>
#include <QClipboard>
#include <QIcon>
#include <QImageReader>
#include <QDir>
#include <QMessageBox>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>

#include "app/apply_command.h"
#include "app/command_line.h"
#include "app/instance_channel.h"
#include "app/instance_requests.h"
#include "app/qt_clipboard.h"
#include "app/quit_on_signals.h"
#include "app/x11/selection_reader.h"
#include "app/qt_desktop.h"
#include "app/state_file.h"
#include "app/views/bug_report_view.h"
#include "app/views/editing_keys_first.h"
#include "app/views/history_settings_view.h"
#include "app/views/intro_view.h"
#include "app/views/cut_out_view.h"
#include "app/views/main_window_view.h"
#include "app/views/output_settings_view.h"
#include "app/views/regex_settings_view.h"
#include "app/views/start_window_view.h"
#include "help/program_version.h"
#include "platform/allocator_tuning.h"
#include "platform/utf.h"
#include "ui/application.h"

namespace {

// No exception may cross into Qt's event loop: every handler ends in the general error
// report instead.
class GuardedApplication final : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            QMessageBox::critical(nullptr, QStringLiteral("Tessaro - Orvendal"), QString::fromUtf8(error.what()));
        }
        return false;
    }
};

// Sends the request of this start to the program already running on the display.
int sendToRunningProgram(const tessaro::StartRequest& request) {
    QString error;
    const std::optional<QString> socket = tessaro::InstanceSocketPath(&error);
    if (!socket) {
        std::fprintf(stderr, "tessaro: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    const tessaro::InstanceReply reply =
        tessaro::SendToRunningInstance(*socket, tessaro::InstanceRequestOf(request, QDir::current()));
    switch (reply.outcome) {
        case tessaro::InstanceReply::Outcome::Answered:
            return tessaro::ReportInstanceAnswer(request, reply.answer, stdout, stderr);
        case tessaro::InstanceReply::Outcome::NotRunning:
            std::fprintf(stderr, "tessaro: Tessaro does not run on this display\n");
            return 1;
        case tessaro::InstanceReply::Outcome::NoAnswer: break;
    }
    std::fprintf(stderr, "tessaro: the Tessaro running on this display does not answer\n");
    return 1;
}

// The one program of this display. When another one runs, it takes the request of this
// start and `handedOver` is set to this start's exit status. Without a private folder for
// the socket the program still runs, and says that it cannot keep a second one away.
std::unique_ptr<tessaro::InstanceServer> claimDisplay(const tessaro::StartRequest& request,
                                                      std::optional<int>* handedOver) {
    QString error;
    const std::optional<QString> socket = tessaro::InstanceSocketPath(&error);
    if (!socket) {
        std::fprintf(stderr, "tessaro: cannot make sure that Tessaro runs only once: %s\n",
                     error.toLocal8Bit().constData());
        return nullptr;
    }
    // The program holding the lock may end meanwhile: then the lock is tried again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (auto server = tessaro::InstanceServer::claim(*socket)) return server;
        const tessaro::InstanceReply reply =
            tessaro::SendToRunningInstance(*socket, tessaro::InstanceRequestOf(request, QDir::current()));
        if (reply.outcome == tessaro::InstanceReply::Outcome::Answered) {
            *handedOver = tessaro::ReportInstanceAnswer(request, reply.answer, stdout, stderr);
            return nullptr;
        }
        if (reply.outcome == tessaro::InstanceReply::Outcome::NoAnswer) break;
    }
    std::fprintf(stderr, "tessaro: Tessaro already runs on this display but does not answer\n");
    *handedOver = 1;
    return nullptr;
}

int printText(const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    tessaro::keepLargeBlocksForReuse();
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const tessaro::StartRequest request = tessaro::ParseCommandLine(arguments);
    switch (request.mode) {
        case tessaro::StartRequest::Mode::Invalid:
            std::fprintf(stderr, "tessaro: %s\nTry 'tessaro --help'.\n", request.error.toLocal8Bit().constData());
            return 2;
        case tessaro::StartRequest::Mode::Help: return printText(tessaro::UsageText());
        case tessaro::StartRequest::Mode::ApplyHelp: return printText(tessaro::ApplyUsageText());
        case tessaro::StartRequest::Mode::Version:
            return printText(QStringLiteral("%1\n").arg(QString::fromStdString(
                tessaro::utf16ToUtf8(tessaro::ProgramNameAndVersion()))));
        case tessaro::StartRequest::Mode::Apply: {
            QCoreApplication app(argc, argv);
            return tessaro::RunApply(request.apply, stderr);
        }
        case tessaro::StartRequest::Mode::Remote: {
            QCoreApplication app(argc, argv);
            return sendToRunningProgram(request);
        }
        case tessaro::StartRequest::Mode::Run: break;
    }

    GuardedApplication app(argc, argv);
    std::optional<int> handedOver;
    std::unique_ptr<tessaro::InstanceServer> server = claimDisplay(request, &handedOver);
    if (handedOver) return *handedOver;
    tessaro::QuitOnSignals quitOnSignals(&app);
    tessaro::EditingKeysFirst editingKeysFirst;
    app.installEventFilter(&editingKeysFirst);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tessaro.png")));
    // Docks and task switchers match the windows to the installed menu entry by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("tessaro"));
    QApplication::setQuitOnLastWindowClosed(false);
    // Screenshots of large monitors exceed Qt's default decoding limit of 256 MB.
    QImageReader::setAllocationLimit(2048);

    tessaro::QtDesktop desktop(request.arguments);
    // Other programs' copies are read on a connection of our own where the desktop is X11.
    std::unique_ptr<tessaro::X11SelectionReader> reader;
    if (QGuiApplication::platformName() == QStringLiteral("xcb")) {
        reader = std::make_unique<tessaro::X11SelectionReader>();
        if (!reader->valid()) reader.reset();
    }
    tessaro::QtClipboard clipboard(QGuiApplication::clipboard(), std::move(reader));
    tessaro::Application program(desktop, clipboard);
    program.createWindows();
    clipboard.onTransfer = [&program](std::size_t bytes, std::size_t total, bool finished) {
        program.mainWindow().showTransfer(bytes, total, finished);
    };

    tessaro::StartWindowView startView(program.startWindow());
    tessaro::MainWindowView mainView(program.mainWindow());
    desktop.registerWindow(program.startWindow(), &startView);
    desktop.registerWindow(program.mainWindow(), &mainView);
    tessaro::OutputSettingsView outputView(program.outputSettings(), &mainView);
    desktop.registerWindow(program.outputSettings(), &outputView);
    tessaro::RegexSettingsView regexView(program.regexSettings(), &mainView);
    desktop.registerWindow(program.regexSettings(), &regexView);
    tessaro::HistorySettingsView historyView(program.historySettings(), &mainView);
    desktop.registerWindow(program.historySettings(), &historyView);
    // A window of its own, not a child of the main view: its controls share names with
    // the main window's margin lists.
    tessaro::CutOutView cutOutView(program.cutOutWindow(), nullptr);
    desktop.registerWindow(program.cutOutWindow(), &cutOutView);
    tessaro::HelpWindows& help = program.helpWindows();
    tessaro::IntroView introGermanView(help.introduction(true), &mainView);
    desktop.registerWindow(help.introduction(true), &introGermanView);
    tessaro::IntroView introEnglishView(help.introduction(false), &mainView);
    desktop.registerWindow(help.introduction(false), &introEnglishView);
    tessaro::BugReportView bugReportView(help.bugReport(), &mainView);
    desktop.registerWindow(help.bugReport(), &bugReportView);

    std::unique_ptr<tessaro::StateFile> state;
    if (!request.stateFile.isEmpty()) {
        state = std::make_unique<tessaro::StateFile>(request.stateFile, program.mainWindow(),
                                                     program.captureState(), &mainView, &app);
        state->setSettingsWindows({&program.mainWindow(), &program.regexSettings(),
                                   &program.outputSettings(), &program.historySettings()});
        for (tessaro::Form* window : program.windows()) state->watch(*window);
        program.mainWindow().monitor().afterNotification = [&state] { state->clipboardHandled(); };
        state->write();
    }
    if (server) {
        server->answer = [&program](const QByteArray& line) { return tessaro::AnswerInstanceRequest(program, line); };
        QString error;
        if (!server->listen(&error)) {
            std::fprintf(stderr, "tessaro: later starts cannot reach this one: %s\n", error.toLocal8Bit().constData());
        }
    }
    program.showStartWindow();
    const int result = QApplication::exec();
    program.mainWindow().monitor().afterNotification = nullptr;
    return result;
}

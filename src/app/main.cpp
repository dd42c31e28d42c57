// SPDX-License-Identifier: GPL-3.0-or-later
// Tessaro: watches the clipboard and runs the actions the user switched on.
// Usage: tessaro [--state-file PATH] [configuration.tpf ...]
#include <QApplication>
#include <QClipboard>
#include <QIcon>
#include <QImageReader>
#include <QMessageBox>
#include <cstdio>
#include <exception>

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
#include "platform/allocator_tuning.h"
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

struct Options {
    QString stateFile;
    QStringList arguments;  // handed to the program (configuration files)
};

Options parseOptions(const QStringList& all) {
    Options options;
    for (qsizetype i = 1; i < all.size(); ++i) {
        if (all[i] == QStringLiteral("--state-file") && i + 1 < all.size()) {
            options.stateFile = all[++i];
        } else if (all[i].startsWith(QStringLiteral("--state-file="))) {
            options.stateFile = all[i].mid(13);
        } else {
            options.arguments << all[i];
        }
    }
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    tessaro::keepLargeBlocksForReuse();
    GuardedApplication app(argc, argv);
    tessaro::QuitOnSignals quitOnSignals(&app);
    tessaro::EditingKeysFirst editingKeysFirst;
    app.installEventFilter(&editingKeysFirst);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tessaro.png")));
    QApplication::setQuitOnLastWindowClosed(false);
    // Screenshots of large monitors exceed Qt's default decoding limit of 256 MB.
    QImageReader::setAllocationLimit(2048);
    const Options options = parseOptions(QApplication::arguments());

    tessaro::QtDesktop desktop(options.arguments);
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
    if (!options.stateFile.isEmpty()) {
        state = std::make_unique<tessaro::StateFile>(options.stateFile, program.mainWindow(),
                                                     program.captureState(), &mainView, &app);
        state->setSettingsWindows({&program.mainWindow(), &program.regexSettings(),
                                   &program.outputSettings(), &program.historySettings()});
        for (tessaro::Form* window : program.windows()) state->watch(*window);
        program.mainWindow().monitor().afterNotification = [&state] { state->clipboardHandled(); };
        state->write();
    }
    program.showStartWindow();
    const int result = QApplication::exec();
    program.mainWindow().monitor().afterNotification = nullptr;
    return result;
}

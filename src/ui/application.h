// SPDX-License-Identifier: GPL-3.0-or-later
// The program as a whole: its windows, created once in a fixed order and living until the
// end, the clipboard object and the counters shared by the subsystems.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "capture/action_stages.h"
#include "capture/capture_state.h"
#include "capture/clipboard_ex.h"
#include "capture/start_window.h"
#include "config/configuration.h"
#include "config/configuration_menu.h"
#include "help/help_windows.h"
#include "history/history_settings_window.h"
#include "history/history_store.h"
#include "image/cut_out_window.h"
#include "output/output_settings_window.h"
#include "text/regex_settings_window.h"
#include "ui/main_window.h"
#include "ui/program_stages.h"

namespace tessaro {

class Application {
public:
    // `stages` replaces the action stages (for tests); nullptr keeps the program's own.
    // `imageWriter` writes the image files; tests may record the saves instead.
    Application(Desktop& desktop, ClipboardBackend& backend, ActionStages* stages = nullptr,
                ImageFileWriter imageWriter = SaveImageFile);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Creates the windows in their order; the main window joins the viewer chain.
    void createWindows();
    // Shows the start window, which reveals the main window in time.
    void showStartWindow();
    // Applies the interface language to every window, shown or not.
    void sprachealles();

    Tstart& startWindow() { return *m_start; }
    Tprog& mainWindow() { return *m_prog; }
    CaptureState& captureState() { return m_captureState; }
    HistoryStore& history() { return m_history; }
    TClipBoardEx& clipboard() { return m_clipboard; }
    FileCounters& fileCounters() { return m_fileCounters; }
    Teinstausgabe& outputSettings() { return *m_einstausgabe; }
    Teinstregex& regexSettings() { return *m_einstregex; }
    Teinstverlauf& historySettings() { return *m_einstverlauf; }
    Tcutauswahl& cutOutWindow() { return *m_cutauswahl; }
    Configuration& configuration() { return *m_configuration; }
    HelpWindows& helpWindows() { return *m_help; }
    // Every window, in creation order.
    const std::vector<Form*>& windows() const { return m_windows; }

    // Told of every regular-expression error of a capture; the window shows it at the memo
    // edited last, if any, which a run without a window has not got.
    std::function<void(const std::u16string& message)> regexErrorShown;

private:
    // Saving, loading and resetting settings, and the configuration menu.
    void attachConfiguration(Tprog& prog, Teinstregex& regex, Teinstausgabe& output,
                             Teinstverlauf& verlauf, Tstart& start);
    // Opens a help page installed with the program (see DataFolderCandidates), or says why
    // it could not.
    void openHelpPage(std::u16string_view page);

    template <typename T>
    T& keep(std::unique_ptr<T>& slot, std::unique_ptr<T> window) {
        slot = std::move(window);
        m_windows.push_back(slot.get());
        return *slot;
    }

    Desktop& m_desktop;
    TClipBoardEx m_clipboard;
    CaptureState m_captureState;
    HistoryStore m_history;
    FileCounters m_fileCounters;
    ProgramStages m_ownStages;
    ActionStages& m_stages;
    ClipboardBackend& m_backend;
    ImageFileWriter m_imageWriter;
    std::vector<Form*> m_windows;
    std::unique_ptr<Tstart> m_start;
    std::unique_ptr<Tprog> m_prog;
    std::unique_ptr<HelpWindows> m_help;
    std::unique_ptr<Teinstausgabe> m_einstausgabe;
    std::unique_ptr<Teinstregex> m_einstregex;
    std::unique_ptr<Tcutauswahl> m_cutauswahl;
    std::unique_ptr<Teinstverlauf> m_einstverlauf;
    std::unique_ptr<Configuration> m_configuration;
    std::unique_ptr<ConfigurationMenu> m_configurationMenu;
};

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/application.h"

#include "forms/language_code.h"
#include "help/strip_hint.h"
#include "language/failure_text.h"
#include "platform/file_error.h"
#include "platform/program_layout.h"
#include "platform/utf.h"

namespace tessaro {

Application::Application(Desktop& desktop, ClipboardBackend& backend, ActionStages* stages,
                         ImageFileWriter imageWriter)
    : m_desktop(desktop),
      m_clipboard(backend),
      m_stages(stages ? *stages : m_ownStages),
      m_backend(backend),
      m_imageWriter(std::move(imageWriter)) {}

Application::~Application() {
    if (m_prog) m_prog->FormDestroy();
}

void Application::createWindows() {
    m_desktop.setApplicationTitle(u"Tessaro - Orvendal");
    Tstart& start = keep(m_start, std::make_unique<Tstart>(m_desktop));
    start.FormCreate();
    Tprog& prog = keep(m_prog, std::make_unique<Tprog>(m_desktop, m_backend, m_clipboard,
                                                        m_captureState, m_history, m_fileCounters,
                                                        start, m_stages));
    start.showMainWindow = [&prog] { prog.reveal(); };
    prog.stripHint = [](bool german) { return StripHint(german); };
    prog.FormCreate();
    m_help = std::make_unique<HelpWindows>(start.spr, m_desktop, m_clipboard, m_captureState,
                                           [&prog] { return prog.lastFailure(); });
    for (Form* window : m_help->windows()) m_windows.push_back(window);
    prog.showIntroduction = [this] { m_help->showIntroduction(); };
    prog.showBugReport = [this] { m_help->showBugReport(); };
    Teinstausgabe& output = keep(m_einstausgabe, std::make_unique<Teinstausgabe>(start.spr));
    output.Sprache();
    output.OK.onClick = [this, &output] { m_desktop.windowCommand(output, WindowCommand::Hide); };
    output.openLink = [this](std::u16string_view page) { openHelpPage(page); };
    prog.showOutputSettings = [this, &output] { m_desktop.windowCommand(output, WindowCommand::Show); };
    m_ownStages.attachTextSave(std::make_unique<TextSaveStage>(prog.savetxt_ordner, prog.savetxt_name,
                                                               prog.savetxt_format, output, m_desktop,
                                                               start.spr, m_fileCounters));
    m_ownStages.attachImageSave(std::make_unique<ImageSaveStage>(
        prog.saveimg_ordner, prog.saveimg_name, prog.saveimg_format, output, m_desktop, start.spr,
        m_fileCounters, m_imageWriter));
    m_ownStages.attachResize(std::make_unique<ResizeStage>(ResizeControls{
        prog.act_sizebenutzer_x, prog.act_sizebenutzer_y, prog.act_resizeimg_prop,
        output.act_sizehochquerformat, output.act_sizekleiner, output.act_sizebigger,
        output.act_sizemethode}));
    Teinstregex& regex = keep(m_einstregex, std::make_unique<Teinstregex>(start.spr));
    regex.Sprache();
    regex.closeWindow = [this, &regex] { m_desktop.windowCommand(regex, WindowCommand::Hide); };
    regex.openLink = [this](std::u16string_view page) { openHelpPage(page); };
    prog.showRegexSettings = [this, &regex] { m_desktop.windowCommand(regex, WindowCommand::Show); };
    m_ownStages.attachTextActions(std::make_unique<TextActions>(
        prog.textActionControls(), regex.options(), [&start] { return start.spr.caption(); },
        [this, &prog](const std::u16string& message) {
            prog.RegExFehlerInMemoMarkieren(message);
            if (regexErrorShown) regexErrorShown(message);
        }));
    Tcutauswahl& cutauswahl = keep(m_cutauswahl, std::make_unique<Tcutauswahl>(start.spr));
    cutauswahl.Sprache();
    m_ownStages.attachCut(std::make_unique<CutStage>(
        CutControls{prog.rb_cutimg_auswahl, prog.rb_cutimg_direkt, prog.act_zuschlinks,
                    prog.act_zuschrechts, prog.act_zuschoben, prog.act_zuschunten},
        cutauswahl, m_desktop));
    Teinstverlauf& verlauf = keep(m_einstverlauf, std::make_unique<Teinstverlauf>(start.spr));
    verlauf.Sprache();
    verlauf.bindMainSwitches(prog.cb_history_txt, prog.cb_history_img);
    prog.historyList().attachMirrors(verlauf.cb_history_txt, verlauf.cb_history_img);
    verlauf.Button1.onClick = [this, &verlauf] { m_desktop.windowCommand(verlauf, WindowCommand::Hide); };
    prog.showHistorySettings = [this, &verlauf] { m_desktop.windowCommand(verlauf, WindowCommand::Show); };
    attachConfiguration(prog, regex, output, verlauf, start);
    prog.sprachealles = [this] { sprachealles(); };
    m_ownStages.checkComplete();
    prog.saveHistory = [this, &prog, &verlauf, &output, &start] {
        const bool german = IsGerman(start.spr);
        try {
            SaveTextHistory(prog.zuletzt, verlauf.saveOptions(), german, output, m_desktop);
        } catch (const FileError& error) {
            m_desktop.showMessage(MessageKind::Error, u"Tessaro - Orvendal",
                                  FileFailureText(u"Der Verlauf konnte nicht gespeichert werden.", error, german));
        }
    };
}

void Application::attachConfiguration(Tprog& prog, Teinstregex& regex, Teinstausgabe& output,
                                      Teinstverlauf& verlauf, Tstart& start) {
    m_configuration = std::make_unique<Configuration>(
        ConfigurationWindows{prog, regex, output, verlauf},
        ConfigurationSwitches{prog.m_konfig_autosave_nie, prog.m_konfig_autosave_alles,
                              prog.MinimizetoTaskbar, prog.m_einst_aktiv},
        m_desktop, [&prog, &regex] {
            prog.cb_suchenersetzenClick(nullptr);
            // The loaded character sets take effect at once, as if the dialog were
            // confirmed; sets that do not convert leave the ones in use, and the dialog
            // shows the error when it is confirmed.
            try {
                regex.Button2Click();
            } catch (const std::exception&) {
            }
        });
    m_configurationMenu = std::make_unique<ConfigurationMenu>(
        prog,
        ConfigurationMenuItems{prog.m_konfig, prog.m_konfig_save, prog.m_konfig_save_start,
                               prog.m_konfig_load, prog.m_konfig_autosave_alles,
                               prog.m_konfig_autosave_nie, prog.m_konfig_standard,
                               prog.m_konfig_start},
        *m_configuration, m_desktop, start.spr);
    prog.attachConfigurationMenu(*m_configurationMenu);
    m_configurationMenu->prepare();
}

void Application::openHelpPage(std::u16string_view page) {
    const bool german = IsGerman(m_start->spr);
    const std::u16string lead = german ? u"Die Hilfeseite konnte nicht geöffnet werden: "
                                       : u"The help page could not be opened: ";
    // The first folder that holds the page decides: beside the program in the build tree
    // and a portable folder, in <prefix>/share/tessaro/ for an installed program.
    std::u16string searched;  // every place looked at, for the message when none holds it
    for (const std::filesystem::path& folder : DataFolderCandidates(m_desktop.programFolder())) {
        const std::filesystem::path path = folder / utf16ToUtf8(page);
        if (m_desktop.fileExists(path)) {
            if (m_desktop.openDocument(path)) return;
            m_desktop.showMessage(MessageKind::Information, u"Information", lead + utf8ToUtf16(path.string()));
            return;
        }
        if (!searched.empty()) searched += german ? u" oder " : u" or ";
        searched += utf8ToUtf16(path.string());
    }
    m_desktop.showMessage(MessageKind::Information, u"Information", lead + searched);
}

void Application::sprachealles() {
    m_prog->sprache();
    m_start->sprache();
    m_einstausgabe->Sprache();
    m_einstregex->Sprache();
    m_einstverlauf->Sprache();
    m_cutauswahl->Sprache();
    // The help windows follow, whichever they are.
    for (Form* window : m_windows) {
        auto* other = dynamic_cast<LanguageWindow*>(window);
        if (other && other != m_einstausgabe.get() && other != m_einstregex.get() &&
            other != m_einstverlauf.get() && other != m_cutauswahl.get()) {
            other->Sprache();
        }
    }
}

void Application::showStartWindow() { m_desktop.windowCommand(*m_start, WindowCommand::Show); }

}  // namespace tessaro

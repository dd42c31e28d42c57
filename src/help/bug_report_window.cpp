// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/bug_report_window.h"

#include <array>

#include "help/bug_report.h"
#include "help/mailto.h"
#include "help/program_version.h"
#include "help/uncaptured_copy.h"
#include "language/interface_texts.h"
#include "platform/clipboard_error.h"
#include "platform/utf.h"

namespace tessaro {
namespace {

constexpr std::array kBugReportCaptions = {
    CaptionText{
        "lb_intro",
        u"Beschreiben Sie, was geschehen ist und was Sie erwartet hätten, oder was Sie sich "
        u"wünschen. Die Angaben darunter gehen mit dem Bericht mit; Sie sehen ihn ganz in "
        u"Ihrem Mailprogramm, bevor Sie ihn abschicken.",
        u"Describe what happened and what you expected instead, or what you would like to "
        u"see. The facts below go with the report; you see all of it in your mail program "
        u"before you send it."},
    CaptionText{"lb_details", u"Angaben zu Programm und System:", u"Program and system facts:"},
    CaptionText{"bt_mail", u"Im Mailprogramm öffnen", u"Open in Mail Client"},
    CaptionText{"bt_copy", u"In die Zwischenablage kopieren", u"Copy to Clipboard"},
    CaptionText{"bt_close", u"Schließen", u"Close"},
};

}  // namespace

Tbugreport::Tbugreport(const Label& spr, Desktop& desktop, TClipBoardEx& clipboard,
                       CaptureState& state, std::function<std::u16string()> lastError)
    : LanguageWindow("Tbugreport", spr, u"Fehler oder Verbesserung melden",
                     u"Report Bug or Improvement"),
      lb_intro(add<Label>("lb_intro")),
      ed_description(add<Memo>("ed_description")),
      lb_details(add<Label>("lb_details")),
      txt_details(add<Memo>("txt_details")),
      lb_result(add<Label>("lb_result")),
      bt_mail(add<Button>("bt_mail")),
      bt_copy(add<Button>("bt_copy")),
      bt_close(add<Button>("bt_close")),
      m_desktop(desktop),
      m_clipboard(clipboard),
      m_state(state),
      m_lastError(std::move(lastError)) {
    setClientSize(kDesignWidth, kDesignHeight);
    bt_mail.onClick = [this] { bt_mailClick(); };
    bt_copy.onClick = [this] { bt_copyClick(); };
    // What the clipboard holds is no longer the report being edited.
    ed_description.onChange = [this] { lb_result.setCaption({}); };
    Sprache();
}

void Tbugreport::refresh() {
    const std::u16string lastError = m_lastError ? m_lastError() : std::u16string();
    const std::u16string system = m_desktop.systemDescription();
    txt_details.setText(ReportDetails({ProgramVersion(), system, lastError}, german()));
}

std::u16string Tbugreport::reportText() const {
    return ReportText(ed_description.text(), txt_details.text(), german());
}

void Tbugreport::bt_mailClick() {
    const std::string url = MailtoUrl(ReportSubject(german()), reportText());
    if (url.size() > kMaxMailtoLength) {
        mailFailed(german() ? u"Der Bericht ist zu lang, um ihn an das Mailprogramm zu übergeben."
                            : u"The report is too long to hand to the mail client.");
    } else if (!m_desktop.openUrl(url)) {
        mailFailed(german() ? u"Es ließ sich kein Mailprogramm öffnen."
                            : u"No mail client could be opened.");
    }
}

void Tbugreport::mailFailed(std::u16string_view reason) {
    std::u16string text(reason);
    text += german() ? u"\r\n\r\nKlicken Sie auf „" : u"\r\n\r\nClick “";
    text += bt_copy.caption();
    text += german() ? u"“ und fügen Sie den Bericht in eine neue E-Mail ein."
                     : u"” and paste the report into a new e-mail.";
    m_desktop.showMessage(MessageKind::Error, caption(), text);
}

void Tbugreport::bt_copyClick() {
    lb_result.setCaption({});
    const std::u16string problem = copyReport();
    if (problem.empty()) {
        lb_result.setCaption(german() ? u"Der Bericht liegt in der Zwischenablage."
                                      : u"The report is on the clipboard.");
        return;
    }
    m_desktop.showMessage(MessageKind::Error, caption(),
                          (german() ? u"Der Bericht konnte nicht in die Zwischenablage gelegt "
                                      u"werden: "
                                    : u"The report could not be put on the clipboard: ") +
                              problem);
}

std::u16string Tbugreport::copyReport() {
    if (m_state.Reading) {
        // A write now would replace the copy that a run is still reading, piece by piece.
        return german() ? u"Tessaro liest gerade eine Kopie ein; bitte versuchen Sie es gleich "
                          u"noch einmal."
                        : u"Tessaro is still reading a copy; please try again in a moment.";
    }
    try {
        if (CopyWithoutCapture(m_clipboard, m_state, reportText())) return {};
        return german() ? u"Ein anderes Programm hat im selben Augenblick kopiert; bitte "
                          u"versuchen Sie es noch einmal."
                        : u"Another program copied at the same moment; please try again.";
    } catch (const ClipboardError& error) {
        return utf8ToUtf16(error.what());
    }
}

void Tbugreport::Sprache() {
    LanguageWindow::Sprache();
    applyCaptions(*this, kBugReportCaptions, german());
    lb_result.setCaption({});
    refresh();
}

}  // namespace tessaro

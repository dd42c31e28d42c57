// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/bug_report.h"

#include <algorithm>

#include "help/program_version.h"

namespace tessaro {
namespace {

bool blank(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) {
        return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
    });
}

}  // namespace

std::u16string ReportDetails(const ReportFacts& facts, bool german) {
    std::u16string details = german ? u"Programm: Tessaro " : u"Program: Tessaro ";
    details += facts.version;
    details += u"\r\nSystem: ";
    details += facts.system;
    details += german ? u"\r\nLetzter Fehler: " : u"\r\nLast error: ";
    if (blank(facts.lastError)) {
        details += german ? u"keiner" : u"none";
    } else {
        details += facts.lastError;
    }
    return details;
}

std::u16string ReportText(std::u16string_view description, std::u16string_view details,
                          bool german) {
    std::u16string text;
    if (blank(description)) {
        text = german ? u"(keine Beschreibung)" : u"(no description)";
    } else {
        text = description;
    }
    text += u"\r\n\r\n-- \r\n";
    text += details;
    return text;
}

std::u16string ReportSubject(bool german) {
    return ProgramNameAndVersion() + (german ? u": Fehlerbericht oder Verbesserungsvorschlag"
                                             : u": bug report or suggestion");
}

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// The text of a bug report: what the user describes, and the facts a developer needs to
// follow it (program version, system, the last error the program showed).
#pragma once

#include <string>
#include <string_view>

namespace tessaro {

struct ReportFacts {
    std::u16string_view version;    // the program version, e.g. "0.1"
    std::u16string_view system;     // toolkit, operating system, kernel and display session
    std::u16string_view lastError;  // empty (or blank) when the program showed none
};

// The facts, one a line (lines end in CR LF, the last one without), in the interface
// language; a missing last error reads "keiner" or "none".
std::u16string ReportDetails(const ReportFacts& facts, bool german);

// The whole report: the user's description (a note saying there is none when it is
// blank), a separating line, then the details.
std::u16string ReportText(std::u16string_view description, std::u16string_view details,
                          bool german);

// The subject of a report mail, naming the program and its version.
std::u16string ReportSubject(bool german);

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// The two message tables of the regular-expression engine. The texts are shown to users
// and quoted in their reports, so they are kept exactly, misspellings included.
#include "text/regex/regex_error.h"

namespace tessaro {

namespace {

struct Message {
    int code;
    const char16_t* english;
    const char16_t* german;
};

constexpr Message kMessages[] = {
    {0, u"No Errors", u"Keine Fehler"},
    {100, u"Null Argument", u"Null Argument"},
    {101, u"RegExp Too Big", u"RegExp zu lang"},
    {102, u"Too Many ()", u"Zu viele ()"},
    {103, u"Unmatched ()", u"Fehlende Klammer ()"},
    {104, u"Unmatched ()", u"Fehlende Klammer ()"},
    {105, u"Junk On End", u"Fehlerhaftes Ende"},
    {106, u"*+ Operand Could Be Empty", u"*+ Operant kann leer sein"},
    {107, u"Nested *?+", u"Verschachteltes *?+"},
    {108, u"Bad Hex Digit", u"Falsche HEX Zahl"},
    {109, u"Invalid [] Range", u"Invalide Menge []"},
    {110, u"Trailing \\", u"Abschlie\u00dfendes \\"},
    {111, u"No Hex Code After \\x", u"Kein HEX Code nach \\x"},
    {112, u"Hex Code After \\x Too Big", u"HEX Code nach \\x zu gro\u00df"},
    {113, u"Unmatched []", u"Fehlende Klammer []"},
    {114, u"Internal Urp", u"Internal Urp"},
    {115, u"?+*{ Follows Nothing", u"?+*{ folgt nichts"},
    {116, u"Trailing \\", u"Abschlie\u00dfendes \\"},
    {119, u"RarseAtom Internal Disaster", u"RarseAtom Internal Disaster"},
    {122, u"Braces Argument Too Big", u"Quantor {} zu gro\u00df"},
    {124, u"Brace Min Param Greater then Max", u"Min-Quantor gr\u00f6\u00dfer als Max-Quantor"},
    {125, u"Unclosed (?#Comment)", u"Ungeschlossener (?#Kommentar)"},
    {127, u"Urecognized Modifier", u"Unbekannter Modifikator"},
    {128, u"LinePairedSeparator must countain two different chars or no chars at all",
     u"LinePairedSeparator muss zwei verschiedene oder kein Char enthalten"},
    {1016, u"Search Too Complex: Step Limit Exceeded",
     u"Suche zu aufw\u00e4ndig: Schrittgrenze \u00fcberschritten"},
    {1017, u"Search Too Complex: Backtrack Memory Limit Exceeded",
     u"Suche zu aufw\u00e4ndig: Speichergrenze \u00fcberschritten"},
};

}  // namespace

std::u16string RegexErrorMessage(int code, bool english) {
    for (const Message& message : kMessages) {
        if (message.code == code) return english ? message.english : message.german;
    }
    return english ? u"Unknown Error" : u"Unbekannter Fehler";
}

}  // namespace tessaro

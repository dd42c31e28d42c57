// SPDX-License-Identifier: GPL-3.0-or-later
// Texts of the save checks. The German format message has no final full stop: the
// message text is fixed as it stands.
#include "output/save_checks.h"

namespace tessaro {
namespace {

struct CheckTexts {
    std::u16string_view german;
    std::u16string_view english;
};

// Folder, name, format; text kind first, then image kind.
constexpr CheckTexts kTextChecks[3] = {
    {u"Der Text konnte nicht gespeichert werden. Sie haben kein Ordner zum Speichern gewählt.",
     u"The text could not be saved. You do not have specified a folder."},
    {u"Der Text konnte nicht gespeichert werden. Sie haben keinen Dateinamen angegeben.",
     u"The text could not be saved. You do not have specified a file name."},
    {u"Der Text konnte nicht gespeichert werden. Sie haben kein Dateiformat angegeben",
     u"The text could not be saved. You do not have specified a file format."},
};
constexpr CheckTexts kImageChecks[3] = {
    {u"Das Bild konnte nicht gespeichert werden. Sie haben kein Ordner zum Speichern gewählt.",
     u"The image could not be saved. You do not have specified a folder."},
    {u"Das Bild konnte nicht gespeichert werden. Sie haben keinen Dateinamen angegeben.",
     u"The image could not be saved. You do not have specified a file name."},
    {u"Das Bild konnte nicht gespeichert werden. Sie haben kein Dateiformat angegeben",
     u"The image could not be saved. You do not have specified a file format."},
};

}  // namespace

std::vector<std::u16string> SaveCheckMessages(SaveKind kind, const SaveFields& fields,
                                              bool german) {
    const CheckTexts* texts = kind == SaveKind::Text ? kTextChecks : kImageChecks;
    const bool empty[3] = {fields.folder.empty(), fields.name.empty(), fields.format.empty()};
    std::vector<std::u16string> messages;
    for (int i = 0; i < 3; ++i) {
        if (empty[i]) messages.emplace_back(german ? texts[i].german : texts[i].english);
    }
    return messages;
}

bool CheckSaveFields(SaveKind kind, const SaveFields& fields, Desktop& desktop, bool german) {
    const std::vector<std::u16string> messages = SaveCheckMessages(kind, fields, german);
    for (const std::u16string& message : messages) {
        desktop.showMessage(MessageKind::Information, u"Information", message);
    }
    return messages.empty();
}

}  // namespace tessaro

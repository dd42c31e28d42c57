// SPDX-License-Identifier: GPL-3.0-or-later
// How the targets an X11 clipboard owner offers (or the MIME types of Qt's own clipboard
// data) become numbered formats: one text for all the names a text goes by, one bitmap
// from the best picture type that can be decoded, and every other target a registered
// format of its own. Each target is read at most once per copy.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/clipboard_backend.h"

namespace tessaro {

struct PlannedFormat {
    enum class Kind { Text, Bitmap, Registered };
    Kind kind = Kind::Registered;
    // The targets whose bytes give this format, best first: one for a registered format;
    // the text's names by preference; the decodable picture types by preference.
    std::vector<std::string> sources;
    // For texts and registered formats: how the bytes are text.
    TargetText text = TargetText::None;
};

// Orders the formats as the owner listed its targets: the text where its first name stands,
// the bitmap where its first picture type stands. `decodable` holds the MIME types the
// picture decoder reads; other picture types stay registered formats only. Every picture
// type is also listed as a registered format, so that a copy of a picture alone shows its
// formats in the details list.
std::vector<PlannedFormat> PlanFormats(const std::vector<std::string>& targets,
                                       const std::set<std::string>& decodable);

// The convention of a target's name: charset parameters first, then text/* as UTF-8.
TargetText TextConventionOf(const std::string& target);

}  // namespace tessaro

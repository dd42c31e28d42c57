// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/clipboard_targets.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace tessaro {
namespace {

// Targets of the selection protocol itself, not content.
bool isProtocolTarget(std::string_view target) {
    static constexpr std::array<std::string_view, 8> kTargets = {
        "TARGETS", "MULTIPLE", "TIMESTAMP", "SAVE_TARGETS", "DELETE", "INSERT_SELECTION",
        "INSERT_PROPERTY", "CLIPBOARD_MANAGER"};
    return std::find(kTargets.begin(), kTargets.end(), target) != kTargets.end();
}

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// The names a plain text goes by, best first; -1 for other targets.
int textRank(const std::string& target) {
    if (target == "UTF8_STRING") return 0;
    const std::string name = lowered(target);
    if (name == "text/plain;charset=utf-8") return 1;
    if (name == "text/plain") return 2;
    if (name.rfind("text/plain;", 0) == 0) return 3;
    if (target == "STRING") return 4;
    if (target == "TEXT") return 5;
    if (target == "COMPOUND_TEXT") return 6;
    return -1;
}

// Picture types by how faithfully they hold a copied picture: lossless ones before lossy.
int imageRank(const std::string& type) {
    if (type == "image/png") return 0;
    static constexpr std::array<std::string_view, 8> kLossless = {
        "image/bmp", "image/x-bmp", "image/tiff", "image/x-portable-pixmap",
        "image/x-portable-anymap", "image/gif", "image/x-xpixmap", "image/x-xbitmap"};
    if (std::find(kLossless.begin(), kLossless.end(), type) != kLossless.end()) return 1;
    if (type == "application/x-qt-image") return 3;  // Qt's own picture, within this program
    return 2;
}

bool isImageType(const std::string& type) {
    return type.rfind("image/", 0) == 0 || type == "application/x-qt-image";
}

}  // namespace

TargetText TextConventionOf(const std::string& target) {
    const std::string name = lowered(target);
    const std::size_t charset = name.find("charset=");
    if (charset != std::string::npos) {
        std::string value = name.substr(charset + 8);
        value = value.substr(0, value.find(';'));
        value.erase(std::remove(value.begin(), value.end(), '"'), value.end());
        if (value == "utf-8" || value == "utf8") return TargetText::Utf8;
        if (value == "iso-8859-1" || value == "latin1" || value == "us-ascii") return TargetText::Latin1;
        if (value.rfind("utf-16", 0) == 0) return TargetText::Utf16;
        return TargetText::Utf8;
    }
    if (target == "UTF8_STRING") return TargetText::Utf8;
    if (target == "STRING" || target == "TEXT" || target == "COMPOUND_TEXT") return TargetText::Latin1;
    // On X11 text types without a charset are UTF-8 by convention.
    if (name.rfind("text/", 0) == 0) return TargetText::Utf8;
    return TargetText::None;
}

std::vector<PlannedFormat> PlanFormats(const std::vector<std::string>& targets,
                                       const std::set<std::string>& decodable) {
    std::vector<PlannedFormat> plan;
    std::vector<std::string> texts;
    std::vector<std::string> pictures;
    std::size_t textAt = 0;
    std::size_t bitmapAt = 0;
    std::set<std::string> seen;
    for (const std::string& target : targets) {
        if (target.empty() || isProtocolTarget(target) || !seen.insert(target).second) continue;
        if (textRank(target) >= 0) {
            if (texts.empty()) textAt = plan.size();
            texts.push_back(target);
            continue;
        }
        if (isImageType(target) && (decodable.count(target) > 0 || target == "application/x-qt-image")) {
            if (pictures.empty()) bitmapAt = plan.size();
            pictures.push_back(target);
        }
        // Qt's own picture object has no bytes to show.
        if (target != "application/x-qt-image") {
            plan.push_back({PlannedFormat::Kind::Registered, {target}, TextConventionOf(target)});
        }
    }
    std::stable_sort(texts.begin(), texts.end(),
                     [](const std::string& a, const std::string& b) { return textRank(a) < textRank(b); });
    std::stable_sort(pictures.begin(), pictures.end(),
                     [](const std::string& a, const std::string& b) { return imageRank(a) < imageRank(b); });
    // Inserted from the back, so that the text's place counts the bitmap only when the
    // bitmap stands before it.
    const auto insertAt = [&plan](std::size_t at, PlannedFormat format) {
        plan.insert(plan.begin() + static_cast<std::ptrdiff_t>(at), std::move(format));
    };
    const bool bitmapFirst = !pictures.empty() && (texts.empty() || bitmapAt < textAt);
    if (bitmapFirst) {
        if (!texts.empty()) insertAt(textAt, {PlannedFormat::Kind::Text, texts, TextConventionOf(texts[0])});
        insertAt(bitmapAt, {PlannedFormat::Kind::Bitmap, pictures, TargetText::None});
    } else {
        if (!pictures.empty()) insertAt(bitmapAt, {PlannedFormat::Kind::Bitmap, pictures, TargetText::None});
        if (!texts.empty()) insertAt(textAt, {PlannedFormat::Kind::Text, texts, TextConventionOf(texts[0])});
    }
    return plan;
}

}  // namespace tessaro

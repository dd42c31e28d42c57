// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/memory_clipboard.h"

#include <algorithm>

#include "platform/clipboard_error.h"

namespace tessaro {
namespace {

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; };
               return lower(x) == lower(y);
           });
}

}  // namespace

bool MemoryClipboard::open() {
    if (m_heldByOther) return false;
    if (!m_open) {
        m_open = true;
        m_changedWhileOpen = false;
    }
    return true;
}

void MemoryClipboard::close() {
    if (!m_open) return;
    m_open = false;
    if (m_changedWhileOpen) {
        m_changedWhileOpen = false;
        if (m_loseWrites) m_content = std::move(m_beforeWrite);
        m_beforeWrite.clear();
        m_holdsOwnWrite = !m_loseWrites;
        ++m_changeCount;
        m_chain.announceChange();
    }
}

void MemoryClipboard::empty() {
    if (!m_open) throw ClipboardError("Clipboard is not open", u"Die Zwischenablage ist nicht geöffnet");
    if (m_loseWrites && !m_changedWhileOpen) m_beforeWrite = m_content;
    m_content.clear();
    m_changedWhileOpen = true;
}

void MemoryClipboard::setData(FormatId format, ClipboardData data) {
    if (!m_open) throw ClipboardError("Clipboard is not open", u"Die Zwischenablage ist nicht geöffnet");
    if (m_refuseData) throw ClipboardError("Cannot set clipboard data", u"Die Daten lassen sich nicht in die Zwischenablage legen");
    m_changedWhileOpen = true;
    const auto it = std::find_if(m_content.begin(), m_content.end(),
                                 [format](const auto& entry) { return entry.first == format; });
    if (it != m_content.end()) {
        it->second = std::move(data);
    } else {
        m_content.emplace_back(format, std::move(data));
    }
}

int MemoryClipboard::formatCount() { return static_cast<int>(m_content.size()); }

FormatId MemoryClipboard::enumFormats(FormatId previous) {
    if (!m_open) return 0;
    if (previous == 0) return m_content.empty() ? 0 : m_content.front().first;
    for (std::size_t i = 0; i + 1 < m_content.size(); ++i) {
        if (m_content[i].first == previous) return m_content[i + 1].first;
    }
    return 0;
}

const ClipboardData* MemoryClipboard::data(FormatId format) {
    if (!m_open) return nullptr;
    for (const auto& [id, data] : m_content) {
        if (id == format) return &data;
    }
    return nullptr;
}

std::optional<std::string> MemoryClipboard::registeredName(FormatId format) {
    const auto it = m_names.find(format);
    if (it == m_names.end()) return std::nullopt;
    return it->second;
}

FormatId MemoryClipboard::registerFormat(std::string_view name) {
    for (const auto& [id, known] : m_names) {
        if (sameNameIgnoringCase(known, name)) return id;
    }
    const FormatId id = static_cast<FormatId>(kFirstRegisteredFormat + m_names.size());
    m_names.emplace(id, std::string(name));
    return id;
}

void MemoryClipboard::putFromOtherProgram(Content content) {
    m_content = std::move(content);
    m_holdsOwnWrite = false;
    ++m_changeCount;
    m_chain.announceChange();
}

}  // namespace tessaro

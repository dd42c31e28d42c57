// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/bottom_strip.h"

#include "forms/language_code.h"

namespace tessaro {

BottomStrip::BottomStrip(Label& label, const Label& spr, std::function<std::u16string(bool)> hint)
    : m_label(label), m_spr(spr), m_hint(std::move(hint)) {}

void BottomStrip::setTransfer(std::u16string note) {
    m_transfer = std::move(note);
    show();
}

void BottomStrip::setFailure(std::u16string message) {
    m_failure = std::move(message);
    show();
}

void BottomStrip::setUndoOffered(bool offered) {
    m_undo = offered;
    show();
}

void BottomStrip::setCaptureOff(bool off) {
    m_captureOff = off;
    show();
}

BottomStrip::Offer BottomStrip::offer() const {
    if (!m_transfer.empty()) return Offer::Nothing;
    if (m_undo) return Offer::UndoDelete;
    // Switched off, no capture comes to clear an old failure: the state that lasts wins.
    if (m_captureOff) return Offer::SwitchCaptureOn;
    if (!m_failure.empty()) return Offer::Nothing;
    return Offer::Introduction;
}

void BottomStrip::show() {
    const bool german = IsGerman(m_spr);
    m_label.setColor(std::nullopt);
    if (!m_transfer.empty()) {
        m_label.setCaption(m_transfer);
        return;
    }
    const Offer now = offer();
    if (now == Offer::Nothing) {
        m_label.setColor(Rgb{0xC0, 0, 0});
        m_label.setCaption(m_failure);
        return;
    }
    switch (now) {
        case Offer::UndoDelete:
            m_label.setCaption(german ? u"Der Verlauf wurde gelöscht. Rückgängig machen (Strg+Z)"
                                      : u"The history was deleted. Undo (Ctrl+Z)");
            return;
        case Offer::SwitchCaptureOn:
            m_label.setColor(Rgb{0xC0, 0x60, 0});
            m_label.setCaption(german ? u"Die Clipboard-Erfassung ist ausgeschaltet. Einschalten (F3)"
                                      : u"Clipboard-Exploring is switched off. Switch it on (F3)");
            return;
        case Offer::Introduction:
            m_label.setCaption(m_hint(german));
            return;
        case Offer::Nothing:
            return;
    }
}

}  // namespace tessaro

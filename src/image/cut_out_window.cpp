// SPDX-License-Identifier: GPL-3.0-or-later
// The cut-out dialog's behaviour: the inverted frame on a copy of the picture, the drag
// that sets it, the margins it gives, and margins typed that move it.
#include "image/cut_out_window.h"

#include <algorithm>
#include <array>
#include <string>

#include "image/image_record.h"
#include "platform/decimal_text.h"
#include "language/interface_texts.h"

namespace tessaro {
namespace {

constexpr std::array kCutOutCaptions = {
    CaptionText{"Label15", u"Links", u"Left"},     CaptionText{"Label16", u"Rechts", u"Right"},
    CaptionText{"Label17", u"Oben", u"Above"},     CaptionText{"Label18", u"Unten", u"Below"},
    CaptionText{"Abbrechen", u"Abbrechen", u"Cancel"},
};


}  // namespace

Tcutauswahl::Tcutauswahl(const Label& spr)
    : LanguageWindow("Tcutauswahl", spr, u"W\u00e4hlen Sie einen Auschnitt des Bildes mit Ihrer Maus",
                     u"Choose the Cutout with your Mouse"),
      ScrollBox2(add<ScrollBox>("ScrollBox2")),
      bild(add<Picture>("bild")),
      Label15(add<Label>("Label15")),
      act_zuschlinks(add<ComboBox>("act_zuschlinks")),
      Label16(add<Label>("Label16")),
      act_zuschrechts(add<ComboBox>("act_zuschrechts")),
      Label17(add<Label>("Label17")),
      act_zuschoben(add<ComboBox>("act_zuschoben")),
      Label18(add<Label>("Label18")),
      act_zuschunten(add<ComboBox>("act_zuschunten")),
      Abbrechen(add<Button>("Abbrechen")),
      Button1(add<Button>("Button1")) {
    for (ComboBox* margin : margins()) {
        margin->setItems({u"0", u"10", u"25", u"50", u"75", u"100", u"250", u"500", u"1000"});
        margin->setText(u"0");
        margin->onChange = [this] { act_zuschlinksChange(); };
    }
    Button1.setCaption(u"OK");
    Abbrechen.onClick = [this] { AbbrechenClick(); };
    Button1.onClick = [this] { Button1Click(); };
}

void Tcutauswahl::Sprache() {
    LanguageWindow::Sprache();
    applyCaptions(*this, kCutOutCaptions, german());
}

void Tcutauswahl::load(const Bitmap& picture) {
    m_canvas = std::make_shared<Bitmap>(picture);
    bild.setBitmap(m_canvas);
    ScrollBox2.setRanges(picture.width, picture.height);
    DrawSelectionRect();
}

void Tcutauswahl::DrawSelectionRect() {
    if (!m_canvas) return;
    const std::int64_t left = std::min(SelectionRect.Left, SelectionRect.Right);
    const std::int64_t right = std::max(SelectionRect.Left, SelectionRect.Right) - std::int64_t{1};
    const std::int64_t top = std::min(SelectionRect.Top, SelectionRect.Bottom);
    const std::int64_t bottom = std::max(SelectionRect.Top, SelectionRect.Bottom) - std::int64_t{1};
    if (right < left || bottom < top) return;  // an empty frame draws nothing
    Bitmap& canvas = *m_canvas;
    const int bytes = canvas.bitsPerPixel / 8;
    const auto invert = [&](std::int64_t x, std::int64_t y) {
        if (x < 0 || y < 0 || x >= canvas.width || y >= canvas.height) return;
        std::uint8_t* p = canvas.pixels.data() + std::size_t(y) * canvas.rowBytes() + std::size_t(x) * bytes;
        p[0] ^= 0xFF;
        p[1] ^= 0xFF;
        p[2] ^= 0xFF;
    };
    // Each outline pixel exactly once, so that drawing twice restores the picture.
    const std::int64_t x0 = std::max<std::int64_t>(left, -1), x1 = std::min<std::int64_t>(right, canvas.width);
    for (std::int64_t x = x0; x <= x1; ++x) {
        if (x < left || x > right) continue;
        invert(x, top);
        if (bottom != top) invert(x, bottom);
    }
    const std::int64_t y0 = std::max<std::int64_t>(top + 1, 0), y1 = std::min<std::int64_t>(bottom - 1, canvas.height);
    for (std::int64_t y = y0; y <= y1; ++y) {
        invert(left, y);
        if (right != left) invert(right, y);
    }
    bild.setBitmap(m_canvas);
}

void Tcutauswahl::bildMouseDown(MouseButton button, Point at) {
    FollowScroll = false;
    if (button != MouseButton::Left || Selecting) return;
    DrawSelectionRect();
    SelectionRect = {at.x, at.y, at.x, at.y};
    DrawSelectionRect();
    Selecting = true;
}

void Tcutauswahl::bildMouseMove(Point at) {
    if (Selecting) {
        // Whatever holds the pointer, the frame stays on the picture.
        at.x = std::clamp(at.x, 0, pictureWidth());
        at.y = std::clamp(at.y, 0, pictureHeight());
        DrawSelectionRect();
        SelectionRect.Right = at.x;
        SelectionRect.Bottom = at.y;
        DrawSelectionRect();
        if (FollowScroll) {
            const int vRange = ScrollBox2.vertical().max, hRange = ScrollBox2.horizontal().max;
            const int v = at.y > vRange - m_viewportHeight / 3.0 ? vRange : at.y - m_viewportHeight + 100;
            const int h = at.x > hRange - m_viewportWidth / 3.0 ? hRange : at.x - m_viewportWidth + 100;
            ScrollBox2.userScrolledTo(h, v);
            ScrollBox2.scrollBy(0, 0);  // tells the view
        }
        setCaption(DecimalText(at.x) + u":" + DecimalText(at.y) + u" " + DecimalText(ScrollBox2.horizontal().position) +
                   u":" + DecimalText(ScrollBox2.vertical().position) + u" 0:" +
                   DecimalText(ScrollBox2.vertical().max));
    }
    FollowScroll = true;
}

void Tcutauswahl::bildMouseUp() {
    if (Selecting) {
        if (SelectionRect.Right < SelectionRect.Left) std::swap(SelectionRect.Left, SelectionRect.Right);
        if (SelectionRect.Bottom < SelectionRect.Top) std::swap(SelectionRect.Top, SelectionRect.Bottom);
        Selecting = false;
        if (SelectionRect.Left == SelectionRect.Right || SelectionRect.Top == SelectionRect.Bottom) {
            setMargins(0, 0, 0, 0);
        } else {
            setMargins(SelectionRect.Left, std::int64_t{pictureWidth()} - SelectionRect.Right, SelectionRect.Top,
                       std::int64_t{pictureHeight()} - SelectionRect.Bottom);
        }
    }
    requestFocus(Button1);
}

void Tcutauswahl::setMargins(std::int64_t left, std::int64_t right, std::int64_t top, std::int64_t bottom) {
    const std::array<std::int64_t, 4> values = {left, right, top, bottom};
    for (std::size_t i = 0; i < 4; ++i) margins()[i]->setText(DecimalText(std::max<std::int64_t>(values[i], 0)));
}

void Tcutauswahl::act_zuschlinksChange() {
    for (ComboBox* margin : margins()) {
        if (!IsIntegerText(margin->text())) return;
    }
    DrawSelectionRect();
    SelectionRect.Left = IntegerOf(act_zuschlinks.text(), 0);
    SelectionRect.Top = IntegerOf(act_zuschoben.text(), 0);
    SelectionRect.Right = std::int32_t(std::int64_t{pictureWidth()} - IntegerOf(act_zuschrechts.text(), 0));
    SelectionRect.Bottom = std::int32_t(std::int64_t{pictureHeight()} - IntegerOf(act_zuschunten.text(), 0));
    DrawSelectionRect();
}

void Tcutauswahl::AbbrechenClick() {
    setMargins(0, 0, 0, 0);
    if (closeModal) closeModal();
}

void Tcutauswahl::Button1Click() {
    if (closeModal) closeModal();
}

}  // namespace tessaro

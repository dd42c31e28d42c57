// SPDX-License-Identifier: GPL-3.0-or-later
// The cut-out dialog: the user drags the part of a new image to keep. It is created once
// and reused; the frame and the four margins carry over from one image to the next.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "forms/buttons.h"
#include "forms/containers.h"
#include "forms/picture.h"
#include "forms/text_controls.h"
#include "platform/bitmap.h"
#include "language/language_window.h"

namespace tessaro {

struct SelectionRectangle {
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const SelectionRectangle&) const = default;
};

class Tcutauswahl final : public LanguageWindow {
public:
    static constexpr int kMinWidth = 650;
    static constexpr int kMinHeight = 300;

    explicit Tcutauswahl(const Label& spr);

    ScrollBox& ScrollBox2;
    Picture& bild;
    Label& Label15;
    ComboBox& act_zuschlinks;
    Label& Label16;
    ComboBox& act_zuschrechts;
    Label& Label17;
    ComboBox& act_zuschoben;
    Label& Label18;
    ComboBox& act_zuschunten;
    Button& Abbrechen;
    Button& Button1;

    SelectionRectangle SelectionRect;
    bool Selecting = false;
    bool FollowScroll = false;

    // Puts a copy of the picture in place, sets the scroll ranges and draws the frame left
    // from the previous use; the caller then shows the dialog modally.
    void load(const Bitmap& picture);

    // Draws or, drawn a second time, erases the frame: its outline inverted on the copy.
    void DrawSelectionRect();
    // Mouse input in picture pixels.
    void bildMouseDown(MouseButton button, Point at);
    void bildMouseMove(Point at);
    void bildMouseUp();
    void act_zuschlinksChange();
    void AbbrechenClick();
    void Button1Click();
    void Sprache() override;

    // The visible part of the scroll box, as the view reports it; the frame follows the
    // mouse with it while dragging.
    void setViewportSize(int width, int height) {
        m_viewportWidth = width;
        m_viewportHeight = height;
    }

    // Ends the modal showing; the desktop binds it while the dialog is shown.
    std::function<void()> closeModal;

private:
    std::array<ComboBox*, 4> margins() {
        return {&act_zuschlinks, &act_zuschrechts, &act_zuschoben, &act_zuschunten};
    }
    void setMargins(std::int64_t left, std::int64_t right, std::int64_t top, std::int64_t bottom);
    // The size of the loaded picture; 0 before the first.
    int pictureWidth() const { return m_canvas ? m_canvas->width : 0; }
    int pictureHeight() const { return m_canvas ? m_canvas->height : 0; }

    std::shared_ptr<Bitmap> m_canvas;
    int m_viewportWidth = 0;
    int m_viewportHeight = 0;
};

}  // namespace tessaro

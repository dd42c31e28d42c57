// SPDX-License-Identifier: GPL-3.0-or-later
// A settings dialog of a fixed design size that never comes out larger than the screen:
// where the screen is too small, its groups of controls scroll while its buttons stay in
// view.
#pragma once

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "forms/buttons.h"
#include "forms/containers.h"

namespace tessaro {

// Shrinks a window that may be resized to fit `available` (the screen area windows may
// cover, frames included) and moves it inside.
void keepWithin(QWidget& window, const QRect& available);

class FittedDialog : public QDialog {
public:
    // A modeless dialog that stays on top, in the program's font, `designSize` large.
    FittedDialog(QWidget* parent, QSize designSize);

    // Takes the design size, or less where `available` (the screen area windows may cover,
    // their frames included) is smaller, and moves the window inside that area.
    void fitInto(const QRect& available);

protected:
    // Adds a group box captioned as `model` says below the groups so far and returns its
    // column of controls, `spacing` pixels apart: as close as the design height needs.
    QVBoxLayout* addGroup(Panel& model, int spacing);
    // Adds a button to the row below the groups. Enter presses the one added as
    // `pressedByEnter` wherever the focus is; no other button reacts to Enter.
    QPushButton* addButton(Button& model, bool pressedByEnter);
    // Every showing fits the window into its screen again: the screen may have changed.
    void showEvent(QShowEvent* event) override;

private:
    QSize m_designSize;
    QScrollArea* m_scroll;
    QVBoxLayout* m_groups;
    QHBoxLayout* m_buttons;
};

}  // namespace tessaro

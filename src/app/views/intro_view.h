// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt window of an introduction: the page in a read-only rich-text view, whose list of
// topics jumps within the page, and a Close button. Does not block the main window.
#pragma once

#include "app/views/help_window_view.h"
#include "help/intro_window.h"

namespace tessaro {

class IntroView final : public HelpWindowView {
public:
    IntroView(Tintro& model, QWidget* parent);
};

}  // namespace tessaro

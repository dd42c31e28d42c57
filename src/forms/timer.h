// SPDX-License-Identifier: GPL-3.0-or-later
// A timer control: the view's clock calls elapse() once per interval while it is enabled.
#pragma once

#include <string>

#include "forms/control.h"

namespace tessaro {

class Timer : public Control {
public:
    Timer(Form& owner, std::string name, int intervalMs)
        : Control(owner, std::move(name), ControlKind::Timer), m_interval(intervalMs) {}

    int interval() const { return m_interval; }
    bool timerEnabled() const { return enabled(); }
    // One elapsed interval; the view's clock calls it while the timer is enabled.
    void elapse() {
        if (enabled()) fire(onTimer);
    }

    Handler onTimer;

private:
    int m_interval;
};

}  // namespace tessaro

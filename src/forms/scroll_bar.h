// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-alone scroll bar: a position kept within its minimum and maximum.
#pragma once

#include "forms/control.h"

namespace tessaro {

class ScrollBar : public Control {
public:
    ScrollBar(Form& owner, std::string name, int min, int max, int position)
        : Control(owner, std::move(name), ControlKind::ScrollBar),
          m_min(min),
          m_max(max),
          m_position(position) {}

    int min() const { return m_min; }
    int max() const { return m_max; }
    int position() const { return m_position; }
    // Sets the position, limited to min .. max; the change handler runs when the limited
    // position differs from the old one, from code as from the user.
    void setPosition(long long position);

    Handler onChange;

private:
    int m_min;
    int m_max;
    int m_position;
};

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// A picture control: shows a bitmap at natural size and reports mouse input.
#pragma once

#include <memory>

#include "forms/control.h"
#include "platform/bitmap.h"

namespace tessaro {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

enum class MouseButton { Left, Right, Middle };

class Picture : public Control {
public:
    Picture(Form& owner, std::string name) : Control(owner, std::move(name), ControlKind::Picture) {}

    const std::shared_ptr<const Bitmap>& bitmap() const { return m_bitmap; }
    void setBitmap(std::shared_ptr<const Bitmap> bitmap);

    Handler onClick;
    // Screen positions of the cursor; move events say whether the left button is held.
    std::function<void(MouseButton, Point screen)> onMouseDown;
    std::function<void(bool leftHeld, Point screen)> onMouseMove;
    std::function<void(MouseButton, Point screen)> onMouseUp;

private:
    std::shared_ptr<const Bitmap> m_bitmap;
};

}  // namespace tessaro

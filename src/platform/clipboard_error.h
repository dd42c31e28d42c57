// SPDX-License-Identifier: GPL-3.0-or-later
// The error raised by clipboard operations; its text is shown to the user as it stands.
#pragma once

#include <stdexcept>

namespace tessaro {

class ClipboardError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace tessaro

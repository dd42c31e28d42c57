// SPDX-License-Identifier: GPL-3.0-or-later
// The error raised by clipboard operations. It is shown to the user, so it carries its
// text in both interface languages; what() is the English one, for logs.
#pragma once

#include <stdexcept>
#include <string>

namespace tessaro {

class ClipboardError : public std::runtime_error {
public:
    ClipboardError(const std::string& english, std::u16string german)
        : std::runtime_error(english), m_german(std::move(german)) {}

    // The text in the interface language of the moment.
    std::u16string text(bool german) const;

private:
    std::u16string m_german;
};

}  // namespace tessaro

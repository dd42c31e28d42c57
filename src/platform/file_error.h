// SPDX-License-Identifier: GPL-3.0-or-later
// The error of a file that cannot be created or written; its text, which always names the
// full path, is shown to the user as it stands.
#pragma once

#include <stdexcept>
#include <string>

namespace tessaro {

class FileError : public std::runtime_error {
public:
    explicit FileError(const std::string& message, int error = 0)
        : std::runtime_error(message), m_error(error) {}
    // The system's error number behind the failure, 0 when there is none.
    int error() const { return m_error; }

private:
    int m_error;
};

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// Makes the system refuse writes past a size for as long as it lives, as a full disk would:
// the write fails with EFBIG instead of the process being stopped by SIGXFSZ.
#pragma once

#include <sys/resource.h>

#include <csignal>
#include <stdexcept>

namespace tessaro::testing {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        if (::getrlimit(RLIMIT_FSIZE, &m_old) != 0) throw std::runtime_error("getrlimit failed");
        m_previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = m_old;
        small.rlim_cur = bytes;
        if (::setrlimit(RLIMIT_FSIZE, &small) != 0) {
            std::signal(SIGXFSZ, m_previous);
            throw std::runtime_error("setrlimit failed");
        }
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_previous);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_previous)(int) = nullptr;
};

}  // namespace tessaro::testing

// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace tessaro {
namespace {

std::atomic<unsigned long long> g_commits{0};

// A path as a message shows it: a zero, which would end the message there, is written as \0.
std::string shown(const std::string& path) {
    std::string text;
    for (char c : path) text += c == '\0' ? std::string("\\0") : std::string(1, c);
    return text;
}

std::string createError(const std::string& target, int error) {
    return "Cannot create file \"" + shown(target) + "\". " + std::strerror(error);
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string baseOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a write replaces: a symbolic link is followed, so that the link stays and the
// file it points to gets the new content.
std::string resolvedTarget(const std::string& target) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return target;
    char* real = ::realpath(target.c_str(), nullptr);
    if (!real) return target;
    std::string resolved(real);
    std::free(real);
    return resolved;
}

// A name that no other writer in the folder uses at the same time; O_EXCL settles the rest.
std::string temporaryName(const std::string& target, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    std::string base = baseOf(target);
    // Keep the temporary name within the file system's limit on name length.
    if (base.size() > 200) base.resize(200);
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    const unsigned long long mix = static_cast<unsigned long long>(now) * 2654435761ULL ^
                                   (static_cast<unsigned long long>(::getpid()) << 20) ^
                                   (counter.fetch_add(1) * 40503ULL) ^ attempt;
    static constexpr char kDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string suffix;
    for (unsigned long long rest = mix; suffix.size() < 8; rest /= 36) suffix += kDigits[rest % 36];
    return folderOf(target) + "/." + base + "." + suffix + ".tmp";
}

}  // namespace

AtomicFile::AtomicFile(std::string target) : m_target(std::move(target)) {
    // The system would cut the name at a zero and write another file.
    if (m_target.find('\0') != std::string::npos) throw FileError(createError(m_target, EINVAL), EINVAL);
    const std::string real = resolvedTarget(m_target);
    struct stat info {};
    const bool exists = ::stat(real.c_str(), &info) == 0;
    if (exists) {
        if (S_ISDIR(info.st_mode)) throw FileError(createError(m_target, EISDIR), EISDIR);
        if (!S_ISREG(info.st_mode)) {
            // A device or pipe cannot be replaced by renaming: it is written where it is.
            m_fd = ::open(real.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
            const int error = errno;
            if (m_fd < 0) throw FileError(createError(m_target, error), error);
            return;
        }
    }
    for (unsigned attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        m_temporary = temporaryName(real, attempt);
        m_fd = ::open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && errno != EEXIST) {
            const int error = errno;
            m_temporary.clear();
            throw FileError(createError(m_target, error), error);
        }
    }
    if (m_fd < 0) {
        m_temporary.clear();
        throw FileError(createError(m_target, EEXIST), EEXIST);
    }
    // The new file keeps the old one's permissions and, where allowed, its owner.
    if (exists) {
        (void)::fchmod(m_fd, info.st_mode & 07777);
        // Only a privileged writer may hand the file to another owner; the mode holds anyway.
        (void)!::fchown(m_fd, info.st_uid, info.st_gid);
    }
    m_real = real;
}

AtomicFile::~AtomicFile() {
    if (m_fd >= 0) ::close(m_fd);
    if (!m_committed && !m_temporary.empty()) ::unlink(m_temporary.c_str());
}

void AtomicFile::fail(int error) {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    if (!m_temporary.empty()) ::unlink(m_temporary.c_str());
    m_temporary.clear();
    throw FileError("Stream write error \"" + shown(m_target) + "\". " + std::strerror(error), error);
}

void AtomicFile::write(const char* data, std::size_t size) {
    if (m_fd < 0) fail(EBADF);
    while (size > 0) {
        const ssize_t written = ::write(m_fd, data, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) fail(written < 0 ? errno : ENOSPC);
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

void AtomicFile::commit() {
    if (m_fd < 0 || m_committed) fail(EBADF);
    if (m_temporary.empty()) {
        // Written in place: a failing close can still report a delayed write error.
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0 && errno != EINTR) fail(errno);
        m_committed = true;
        g_commits.fetch_add(1);
        return;
    }
    if (::fsync(m_fd) != 0 && errno != EINVAL) fail(errno);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && errno != EINTR) fail(errno);
    if (::rename(m_temporary.c_str(), m_real.c_str()) != 0) fail(errno);
    m_committed = true;
    // The rename itself reaches the disk with the folder's entry.
    const int folder = ::open(folderOf(m_real).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        (void)::fsync(folder);
        ::close(folder);
    }
    g_commits.fetch_add(1);
}

unsigned long long AtomicFile::commits() { return g_commits.load(); }

void WriteFileAtomically(const std::string& target, std::string_view bytes) {
    AtomicFile file(target);
    file.write(bytes.data(), bytes.size());
    file.commit();
}

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// The one way the program writes a file: the bytes go to a temporary file in the target's
// folder, which is flushed to disk and then renamed over the target. A crash, a kill or a
// full disk therefore leaves either the complete old file or the complete new one, never
// a truncated mix; on failure the temporary file is removed and the old file stays.
#pragma once

#include <string>
#include <string_view>

#include "platform/byte_sink.h"
#include "platform/file_error.h"

namespace tessaro {

class AtomicFile {
public:
    // Creates the temporary file beside `target` (a path in UTF-8). Throws FileError
    // "Cannot create file "<target>". <reason>" when that is impossible.
    explicit AtomicFile(std::string target);
    // Removes the temporary file unless commit() has replaced the target with it.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Throws FileError "Stream write error "<target>". <reason>" when the bytes cannot be
    // stored; the target is untouched then.
    void write(const char* data, std::size_t size);
    // Flushes the bytes to disk and puts them in the target's place, keeping the old file's
    // permissions. Throws FileError as write() does.
    void commit();

    const std::string& target() const { return m_target; }
    // The number of files committed by this process so far, for benchmarks and tests that
    // count rewrites.
    static unsigned long long commits();

private:
    [[noreturn]] void fail(int error);

    std::string m_target;
    std::string m_real;       // the file replaced: the target, or where its link points
    std::string m_temporary;  // empty when writing in place (a device such as /dev/null)
    int m_fd = -1;
    bool m_committed = false;
};

// A sink on an AtomicFile: the encoders write through it into the temporary file, and the
// caller commits the file once the encoder has returned normally.
class AtomicFileSink final : public ByteSink {
public:
    explicit AtomicFileSink(AtomicFile& file) : m_file(file) {}
    void write(const char* data, std::size_t size) override { m_file.write(data, size); }

private:
    AtomicFile& m_file;
};

// Writes `bytes` as the whole content of `target` through an AtomicFile.
void WriteFileAtomically(const std::string& target, std::string_view bytes);

}  // namespace tessaro

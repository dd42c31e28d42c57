// SPDX-License-Identifier: GPL-3.0-or-later
// The destination of the file encoders: bytes handed on in order, in pieces the encoder
// chooses, so that a file can be written while it is being encoded instead of being built
// whole in memory first.
#pragma once

#include <cstddef>
#include <string>

namespace tessaro {

// Receives encoded bytes in order.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Takes `size` bytes; throws when they cannot be stored.
    virtual void write(const char* data, std::size_t size) = 0;
};

// A sink that appends to a string.
class StringSink final : public ByteSink {
public:
    explicit StringSink(std::string& out) : m_out(out) {}
    void write(const char* data, std::size_t size) override { m_out.append(data, size); }

private:
    std::string& m_out;
};

}  // namespace tessaro

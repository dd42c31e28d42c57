// SPDX-License-Identifier: GPL-3.0-or-later
// libvips, the peer the image benchmarks measure against in the same run: one thread, no
// operation cache, working on the very pixels our code gets.
#pragma once

#include <vips/vips.h>

#include <cstddef>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "image/image_record.h"

namespace tessaro::bench {

inline void startVips() {
    static const bool started = [] {
        if (VIPS_INIT("tessaro-bench") != 0) throw std::runtime_error("libvips does not start");
        vips_concurrency_set(1);
        vips_cache_set_max(0);
        return true;
    }();
    (void)started;
}

// A libvips image over the record's pixels (no copy), released at the end of the scope.
class VipsPicture {
public:
    explicit VipsPicture(const ImageRecord& image) {
        startVips();
        m_image = vips_image_new_from_memory(image.pixels.data(), image.pixels.size(), image.width,
                                             image.height, 3, VIPS_FORMAT_UCHAR);
        if (!m_image) fail("wrapping the picture");
    }
    ~VipsPicture() { g_object_unref(m_image); }
    VipsPicture(const VipsPicture&) = delete;
    VipsPicture& operator=(const VipsPicture&) = delete;

    VipsImage* get() const { return m_image; }

    [[noreturn]] static void fail(const char* what) {
        const std::string message = std::string("libvips failed ") + what + ": " + vips_error_buffer();
        vips_error_clear();
        throw std::runtime_error(message);
    }

private:
    VipsImage* m_image = nullptr;
};

// The bytes a libvips saver produced; their size is all the benchmarks keep.
inline std::size_t takeBuffer(void* buffer, std::size_t size) {
    g_free(buffer);
    return size;
}

}  // namespace tessaro::bench

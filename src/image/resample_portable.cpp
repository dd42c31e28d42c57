// SPDX-License-Identifier: GPL-3.0-or-later
// The resampling passes in plain C++: the fallback where AVX2 is missing, and the reference
// the vector passes are tested against.
#include <algorithm>

#include "image/resample_passes.h"

namespace tessaro {
namespace {

void vertical(const std::uint8_t* const* rows, const std::int16_t* weights, int count,
              std::int16_t* line, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        std::int32_t sum = 1 << (kLineShift - 1);
        for (int k = 0; k < count; ++k) sum += rows[k][i] * weights[k];
        // Arithmetic shift: the negative lobes of the cubic kernel stay negative.
        line[i] = std::int16_t(std::clamp<std::int32_t>(sum >> kLineShift, INT16_MIN, INT16_MAX));
    }
}

void horizontal(const std::int16_t* line, const TapTable& columns, std::uint8_t* out) {
    const std::size_t count = std::size_t(columns.count);
    for (std::size_t x = 0; x < columns.first.size(); ++x) {
        const std::int16_t* p = line + 3 * std::size_t(columns.first[x]);
        const std::int16_t* w = columns.weight.data() + x * count;
        // 32 bits suffice: 16-bit samples times weights whose magnitudes sum below 2^15.
        std::int32_t sum[3] = {1 << (kFinalShift - 1), 1 << (kFinalShift - 1), 1 << (kFinalShift - 1)};
        for (std::size_t k = 0; k < count; ++k) {
            for (int c = 0; c < 3; ++c) sum[c] += p[3 * k + std::size_t(c)] * w[k];
        }
        for (int c = 0; c < 3; ++c) out[3 * x + std::size_t(c)] = std::uint8_t(std::clamp(sum[c] >> kFinalShift, 0, 255));
    }
}

}  // namespace

ResamplePasses PortablePasses() { return {vertical, horizontal}; }

}  // namespace tessaro

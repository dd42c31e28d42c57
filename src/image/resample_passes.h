// SPDX-License-Identifier: GPL-3.0-or-later
// The two passes of filtered resampling and the tap tables they run on. Every output row is
// gathered vertically from the source rows it needs into a 16-bit line (6 bits below the
// 8-bit sample), then horizontally into bytes. The passes come in a portable form and, where
// the processor has it, an AVX2 form; both compute exactly the same integers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "image/resample.h"

namespace tessaro {

inline constexpr int kWeightBits = 14;
inline constexpr int kLineShift = kWeightBits - 6;
inline constexpr int kFinalShift = kWeightBits + 6;

// For every output position: the first source index and `count` weights of the source
// indexes that follow it, summing to 1 << kWeightBits. Taps beyond the border have been
// folded into the border pixel; unused taps at the end have weight 0.
struct TapTable {
    int count = 0;
    std::vector<int> first;
    std::vector<std::int16_t> weight;  // count per output position
};

// `multiple` pads the tap count for the pass that reads taps in groups.
TapTable MakeTapTable(int source, int target, ResizeMethod method, int multiple);

struct ResamplePasses {
    // line[i] = (rounding + sum over k of rows[k][i] * weights[k]) >> kLineShift, limited to
    // 16 bits, for i < n. `count` is even.
    void (*vertical)(const std::uint8_t* const* rows, const std::int16_t* weights, int count,
                     std::int16_t* line, std::size_t n);
    // out[3x + c] = (rounding + sum over k of line[3(first + k) + c] * weight) >> kFinalShift,
    // limited to a byte, for every output x of `columns`. `count` is a multiple of 4, and the
    // line holds count + 4 readable pixels beyond the source width.
    void (*horizontal)(const std::int16_t* line, const TapTable& columns, std::uint8_t* out);
};

ResamplePasses PortablePasses();
// The AVX2 passes when this processor has AVX2.
std::optional<ResamplePasses> Avx2Passes();

// Resampling with the bilinear or bicubic kernel through the given passes.
ImageRecord ResampleFiltered(const ImageRecord& src, int width, int height, ResizeMethod method,
                             const ResamplePasses& passes);

}  // namespace tessaro

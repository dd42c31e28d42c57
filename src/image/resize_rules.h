// SPDX-License-Identifier: GPL-3.0-or-later
// The rules that decide whether a captured image is resized and to which size.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tessaro {

struct ResizeRules {
    std::int64_t maxWidth = 640;   // X
    std::int64_t maxHeight = 480;  // Y
    bool larger = true;            // act on images larger than the box
    bool smaller = true;           // act on images smaller than the box
    bool turn = true;              // portrait and landscape alike
    bool proportional = true;
};

struct TargetSize {
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool operator==(const TargetSize&) const = default;
};

// The new size of a width x height image, or nothing when the rules leave it alone. A side
// of 0 or less is returned as it is: resampling refuses it.
std::optional<TargetSize> ResizeTarget(std::int64_t width, std::int64_t height, ResizeRules rules);

// The method a method text chooses by its first three characters (0 nearest, 1 bilinear,
// 2 bicubic); `previous` when it names none.
std::int32_t ResizeFilterOf(std::u16string_view text, std::int32_t previous);

}  // namespace tessaro

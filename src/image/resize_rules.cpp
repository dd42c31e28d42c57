// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/resize_rules.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tessaro {
namespace {

bool shouldResize(std::int64_t w, std::int64_t h, const ResizeRules& r) {
    const std::int64_t x = r.maxWidth, y = r.maxHeight;
    if (r.larger && r.smaller) return true;
    if (!r.larger && !r.smaller) return false;
    if (r.larger) {
        const bool fits = (x > w && y > h) || (r.turn && y > w && x > h);
        return !fits;
    }
    const bool covers = (x < w && y < h) || (r.turn && y < w && x < h);
    return !covers;
}

// Rounds to the nearest integer, halves to the even neighbour.
std::int64_t roundHalfEven(long double value) {
    const long double down = std::floor(value);
    const long double rest = value - down;
    auto result = static_cast<std::int64_t>(down);
    if (rest > 0.5L || (rest == 0.5L && (result % 2 != 0))) ++result;
    return result;
}

}  // namespace

std::optional<TargetSize> ResizeTarget(std::int64_t w, std::int64_t h, ResizeRules r) {
    if (!shouldResize(w, h, r)) return std::nullopt;
    const bool imageLandscape = w > h;
    const bool boxLandscape = r.maxHeight < r.maxWidth;
    const bool turned = r.turn && imageLandscape != boxLandscape;
    if (!r.proportional) {
        return turned ? TargetSize{r.maxHeight, r.maxWidth} : TargetSize{r.maxWidth, r.maxHeight};
    }
    if (turned) std::swap(r.maxWidth, r.maxHeight);
    if (w <= 0 || h <= 0) return TargetSize{w, h};
    const long double f = std::min(static_cast<long double>(r.maxWidth) / w,
                                   static_cast<long double>(r.maxHeight) / h);
    return TargetSize{std::min(roundHalfEven(w * f), r.maxWidth),
                      std::min(roundHalfEven(h * f), r.maxHeight)};
}

std::int32_t ResizeFilterOf(std::u16string_view text, std::int32_t previous) {
    const std::u16string_view start = text.substr(0, 3);
    if (start == u"Bic" || start == u"Bik") return 2;
    if (start == u"Bil") return 1;
    if (start == u"N\u00e4c" || start == u"Nea") return 0;
    return previous;
}

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/codecs/palette_dither.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace tessaro {
namespace {

// The exact nearest palette colour (squared RGB distance). The palette is sorted by green,
// and the search walks outward from the target's green until the green distance alone
// exceeds the best match; a small cache catches the colours that recur, as they do in
// interface areas and text.
class NearestColour {
public:
    explicit NearestColour(std::span<const PaletteColour> palette) {
        for (std::size_t i = 0; i < palette.size(); ++i) {
            m_sorted.push_back({palette[i].r, palette[i].g, palette[i].b, std::uint8_t(i)});
        }
        std::sort(m_sorted.begin(), m_sorted.end(), [](const Entry& a, const Entry& b) { return a.g < b.g; });
        std::size_t at = 0;
        for (int g = 0; g < 256; ++g) {
            while (at < m_sorted.size() && m_sorted[at].g < g) ++at;
            m_firstAtLeast[std::size_t(g)] = int(at);
        }
    }

    std::uint8_t operator()(int r, int g, int b) {
        const std::uint32_t key = std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | std::uint32_t(b);
        const std::size_t slot = (key * 2654435761u) >> (32 - kCacheBits);
        if (m_cacheKey[slot] != key) {
            m_cacheKey[slot] = key;
            m_cacheIndex[slot] = search(r, g, b);
        }
        return m_cacheIndex[slot];
    }

    // The nearest colour to the centre of the target's cell of 4 x 4 x 4 levels: close
    // enough where errors are diffused anyway, and a noisy photo then needs a few thousand
    // searches instead of one per pixel.
    std::uint8_t approximate(int r, int g, int b) {
        const std::size_t cell = std::size_t(r >> 2) << 12 | std::size_t(g >> 2) << 6 | std::size_t(b >> 2);
        std::int16_t& known = m_cells[cell];
        if (known < 0) known = search((r & ~3) + 2, (g & ~3) + 2, (b & ~3) + 2);
        return std::uint8_t(known);
    }

private:
    struct Entry {
        std::uint8_t r, g, b, index;
    };
    static constexpr int kCacheBits = 14;
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFF;

    std::uint8_t search(int r, int g, int b) const {
        int best = 1 << 30;
        std::uint8_t index = 0;
        const auto consider = [&](const Entry& e) {
            const int dr = e.r - r, dg = e.g - g, db = e.b - b;
            const int d = dr * dr + dg * dg + db * db;
            if (d < best) {
                best = d;
                index = e.index;
            }
        };
        const int n = int(m_sorted.size());
        int up = m_firstAtLeast[std::size_t(g)], down = up - 1;
        while (up < n || down >= 0) {
            if (up < n) {
                const int dg = m_sorted[std::size_t(up)].g - g;
                if (dg * dg >= best) up = n;
                else consider(m_sorted[std::size_t(up++)]);
            }
            if (down >= 0) {
                const int dg = g - m_sorted[std::size_t(down)].g;
                if (dg * dg >= best) down = -1;
                else consider(m_sorted[std::size_t(down--)]);
            }
        }
        return index;
    }

    std::vector<Entry> m_sorted;
    std::vector<std::int16_t> m_cells = std::vector<std::int16_t>(std::size_t{1} << 18, -1);
    std::array<int, 256> m_firstAtLeast{};
    // On the heap: together with the cells too large for the stack.
    std::vector<std::uint32_t> m_cacheKey = std::vector<std::uint32_t>(std::size_t{1} << kCacheBits, kEmpty);
    std::vector<std::uint8_t> m_cacheIndex = std::vector<std::uint8_t>(std::size_t{1} << kCacheBits, 0);
};

// How much error a pixel takes and passes on, in sixteenths: all of it where the picture is
// smooth, none across a sharp edge, so strokes are not fringed with dither noise.
int diffusionShare(const ImageRecord& image, int x, int y) {
    const std::uint8_t* p = image.row(y) + 3 * x;
    int edge = 0;
    const auto compare = [&](const std::uint8_t* q) {
        for (int c = 0; c < 3; ++c) edge = std::max(edge, std::abs(int(p[c]) - int(q[c])));
    };
    if (x > 0) compare(p - 3);
    if (x + 1 < image.width) compare(p + 3);
    if (y > 0) compare(image.row(y - 1) + 3 * x);
    if (y + 1 < image.height) compare(image.row(y + 1) + 3 * x);
    constexpr int kSmooth = 24, kSharp = 72;
    if (edge <= kSmooth) return 16;
    if (edge >= kSharp) return 0;
    return 16 * (kSharp - edge) / (kSharp - kSmooth);
}

}  // namespace

std::vector<std::uint8_t> DitherToPalette(const ImageRecord& image, std::span<const PaletteColour> palette) {
    if (palette.empty() || palette.size() > 256) throw ImageError("a palette holds 1 to 256 colours");
    NearestColour nearest(palette);
    const std::size_t width = std::size_t(image.width);
    std::vector<std::uint8_t> indices(width * std::size_t(image.height));
    // Floyd-Steinberg: the error of this row and the next, one pixel of margin each side.
    std::vector<int> current(3 * (width + 2), 0), next(3 * (width + 2), 0);
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* in = image.row(y);
        std::uint8_t* out = indices.data() + std::size_t(y) * width;
        std::fill(next.begin(), next.end(), 0);
        for (std::size_t x = 0; x < width; ++x) {
            int* error = current.data() + 3 * (x + 1);
            const std::uint8_t* p = in + 3 * x;
            if (error[0] == 0 && error[1] == 0 && error[2] == 0) {
                // A colour of the palette itself with no error arriving: nothing to diffuse.
                const std::uint8_t index = nearest(p[0], p[1], p[2]);
                const PaletteColour& exact = palette[index];
                if (exact.r == p[0] && exact.g == p[1] && exact.b == p[2]) {
                    out[x] = index;
                    continue;
                }
            }
            const int share = diffusionShare(image, int(x), y);
            const auto take = [share](int value, int arriving) {
                return std::clamp(value + arriving * share / (256 * 16), 0, 255);
            };
            const int r = take(p[0], error[0]), g = take(p[1], error[1]), b = take(p[2], error[2]);
            if (share == 0) {
                out[x] = nearest(r, g, b);
                continue;
            }
            const std::uint8_t index = nearest.approximate(r, g, b);
            out[x] = index;
            const PaletteColour& chosen = palette[index];
            int* below = next.data() + 3 * (x + 1);
            // Errors are kept in 256ths of a level; 7, 3, 5 and 1 sixteenths go on.
            const auto pass = [&](int c, int residual) {
                const int e = residual * share;
                error[3 + c] += 7 * e;
                below[c - 3] += 3 * e;
                below[c] += 5 * e;
                below[c + 3] += e;
            };
            pass(0, r - chosen.r);
            pass(1, g - chosen.g);
            pass(2, b - chosen.b);
        }
        std::swap(current, next);
    }
    return indices;
}

}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// The partition works on the elementary intervals between range bounds: each set adds a
// random 128-bit key to the signature of every interval it covers, and intervals with equal
// signatures form one class. The cost is the number of intervals the sets cover, not the
// number of units, and no set is compared against another.
#include "text/regex/unit_classes.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

namespace tessaro {

namespace {

struct Signature {
    std::uint64_t a = 0, b = 0;
    bool operator==(const Signature&) const = default;
};

struct SignatureHash {
    std::size_t operator()(const Signature& s) const {
        return static_cast<std::size_t>(s.a ^ (s.b * 0x9E3779B97F4A7C15ull));
    }
};

// splitmix64: well-spread keys from a counter, the same on every run.
std::uint64_t mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

}  // namespace

UnitClasses::UnitClasses(const std::vector<const CharSet*>& sets) {
    std::vector<std::uint32_t> bounds{0, 0x10000};
    for (const CharSet* set : sets) {
        for (const auto& [first, last] : set->ranges()) {
            bounds.push_back(first);
            bounds.push_back(std::uint32_t(last) + 1);
        }
    }
    std::sort(bounds.begin(), bounds.end());
    bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());
    // Interval k is [bounds[k], bounds[k + 1]).
    const std::size_t intervals = bounds.size() - 1;
    std::vector<Signature> signature(intervals);
    std::uint64_t counter = 0;
    for (const CharSet* set : sets) {
        const std::uint64_t ka = mix(++counter);
        const std::uint64_t kb = mix(++counter);
        for (const auto& [first, last] : set->ranges()) {
            auto k = static_cast<std::size_t>(
                std::lower_bound(bounds.begin(), bounds.end(), std::uint32_t(first)) -
                bounds.begin());
            for (; k < intervals && bounds[k] <= last; ++k) {
                signature[k].a += ka;
                signature[k].b += kb;
            }
        }
    }
    std::unordered_map<Signature, std::uint16_t, SignatureHash> ids;
    m_map.assign(0x10000, 0);
    for (std::size_t k = 0; k < intervals; ++k) {
        const auto [it, inserted] = ids.emplace(signature[k], static_cast<std::uint16_t>(m_count));
        if (inserted) {
            m_representative.push_back(static_cast<char16_t>(bounds[k]));
            ++m_count;
        }
        std::fill(m_map.begin() + bounds[k], m_map.begin() + bounds[k + 1], it->second);
    }
}

ClassBits::ClassBits(const UnitClasses& classes, const CharSet& set) {
    m_words.assign((static_cast<std::size_t>(classes.count()) + 63) / 64, 0);
    for (int c = 0; c < classes.count(); ++c) {
        if (set.contains(classes.representative(c)))
            m_words[static_cast<std::size_t>(c) >> 6] |= 1ull << (c & 63);
    }
}

}  // namespace tessaro

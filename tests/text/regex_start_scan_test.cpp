// SPDX-License-Identifier: GPL-3.0-or-later
// The vector scans for match starts against plain loops written here, on long random texts
// with letters of both cases, umlauts, units beyond U+00FF and the saturation value U+00FF.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "text/regex/start_scan.h"

namespace tessaro {
namespace {

const char16_t kAlphabet[] = u"abcSsherlockHERLOCK \r\n\u00e4\u00c4\u00ff\u0100\u2028\u4e00x1";

std::u16string randomText(std::mt19937& random, std::size_t length) {
    std::u16string text;
    for (std::size_t k = 0; k < length; ++k)
        text.push_back(kAlphabet[random() % (std::size(kAlphabet) - 1)]);
    return text;
}

char16_t lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; }

std::size_t naiveLiterals(const std::u16string& text, std::size_t from,
                          const std::vector<std::u16string>& literals, bool fold) {
    for (std::size_t at = from; at < text.size(); ++at) {
        for (const std::u16string& literal : literals) {
            if (literal.size() > text.size() - at) continue;
            bool same = true;
            for (std::size_t k = 0; k < literal.size() && same; ++k)
                same = (fold ? lower(text[at + k]) : text[at + k]) == literal[k];
            if (same) return at;
        }
    }
    return text.size();
}

TEST(RegexStartScan, LiteralScanFindsWhatAPlainLoopFinds) {
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        const bool fold = round % 2 == 1;
        std::vector<std::u16string> literals;
        const int count = 1 + static_cast<int>(random() % LiteralScan::kMaxLiterals);
        for (int k = 0; k < count; ++k) {
            std::u16string literal = randomText(random, 1 + random() % (k == 0 ? 20 : 4));
            if (fold) {
                for (char16_t& c : literal) c = lower(c);
            }
            literals.push_back(literal);
        }
        // Plant some occurrences, in changed case when folding.
        std::u16string text = randomText(random, 40 + random() % 400);
        for (int k = 0; k < 3; ++k) {
            std::u16string planted = literals[random() % literals.size()];
            if (fold) {
                for (char16_t& c : planted)
                    if (c >= u'a' && c <= u'z' && random() % 2) c = char16_t(c - 32);
            }
            text.insert(random() % text.size(), planted);
        }
        const LiteralScan scan(literals, fold);
        for (std::size_t from = 0; from <= text.size(); from += 1 + random() % 7) {
            ASSERT_EQ(scan.find(text.data(), text.size(), from),
                      naiveLiterals(text, from, literals, fold))
                << "round " << round << " from " << from;
        }
    }
}

TEST(RegexStartScan, ByteSetScanNamesEveryMemberAndOnlyCandidates) {
    std::mt19937 random(11);
    for (int round = 0; round < 300; ++round) {
        std::uint64_t bits[4] = {};
        for (int k = 0; k < 1 + round % 40; ++k) {
            const unsigned b = random() % 256;
            bits[b >> 6] |= 1ull << (b & 63);
        }
        const bool high = round % 3 == 0;
        auto member = [&](char16_t c) {
            return c >= 256 ? high : ((bits[c >> 6] >> (c & 63)) & 1u) != 0;
        };
        std::u16string text = randomText(random, 1 + random() % 300);
        for (char16_t& c : text) {
            if (random() % 4 == 0) c = static_cast<char16_t>(random() % 256);
        }
        const ByteSetScan scan(bits, high);
        for (std::size_t from = 0; from <= text.size(); from += 1 + random() % 5) {
            std::size_t expected = from;
            while (expected < text.size() && !member(text[expected])) ++expected;
            // Units from U+00FF on share one table entry: a candidate that is no member is
            // one of them, when U+00FF or the units beyond U+00FF can be members.
            const std::size_t found = scan.find(text.data(), text.size(), from);
            ASSERT_LE(found, expected) << "round " << round << " from " << from;
            for (std::size_t k = from; k < found; ++k) ASSERT_FALSE(member(text[k]));
            if (found < expected) {
                ASSERT_GE(text[found], 255);
                ASSERT_TRUE(high || member(0xFF));
            }
        }
    }
}

}  // namespace
}  // namespace tessaro

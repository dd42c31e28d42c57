// SPDX-License-Identifier: GPL-3.0-or-later
// The simple one-to-one upper-case mapping of UTF-16 code units that the case-ignoring
// replacement uses: a generated list of pairs and a lookup over all 65536 code units.
#pragma once

#include <span>

namespace tessaro {

struct UpperCasePair {
    char16_t from;
    char16_t to;
};

// Every code unit whose upper case is one other code unit, sorted by `from`.
std::span<const UpperCasePair> UpperCasePairs();

// The upper case of one code unit; code units without a one-to-one mapping map to themselves.
char16_t UpperCaseUnit(char16_t unit);

}  // namespace tessaro

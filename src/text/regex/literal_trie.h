// SPDX-License-Identifier: GPL-3.0-or-later
// The alternatives of a group that are all plain literals, as one trie: one walk along the
// text finds every alternative that matches at a position, however many there are, where
// trying them one after the other would cost a comparison per alternative.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessaro {

class LiteralTrie {
public:
    // fold: literals are given in lower case and match ASCII letters of either case.
    explicit LiteralTrie(bool fold) : m_fold(fold) {}

    // Adds the alternative with the given priority (its index: lower is tried first).
    void add(std::u16string_view literal, int priority);
    // Builds the lookup form; call once after the last add().
    void finish();

    // The alternative of lowest priority above after that matches text[pos, n): its
    // priority, with its length in length; -1 when none is left. Adds the characters
    // read to steps.
    int next(const char16_t* text, std::int32_t pos, std::int32_t n, int after,
             std::int32_t& length, std::uint64_t& steps) const;

    bool fold() const { return m_fold; }
    bool acceptsEmpty() const { return !m_nodes.empty() && m_nodes[0].priority >= 0; }
    // The first characters of the non-empty alternatives (in lower case when folding).
    std::u16string_view firstChars() const;
    // The literals in priority order when there are at most kKeptLiterals, otherwise none.
    static constexpr std::size_t kKeptLiterals = 8;
    const std::vector<std::u16string>& literals() const { return m_kept; }

private:
    struct Node {
        std::uint32_t firstEdge = 0;
        std::uint32_t edgeCount = 0;
        int priority = -1;  // the best alternative ending here, or -1
    };

    std::int32_t child(const Node& node, char16_t c) const;

    bool m_fold;
    std::vector<std::u16string> m_pending;  // the literals until finish()
    std::vector<int> m_pendingPriority;
    std::vector<std::u16string> m_kept;
    std::vector<Node> m_nodes;
    std::vector<char16_t> m_edgeChars;  // per node sorted, for a binary search
    std::vector<std::int32_t> m_edgeTargets;
};

}  // namespace tessaro

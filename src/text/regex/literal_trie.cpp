// SPDX-License-Identifier: GPL-3.0-or-later
// The trie is built from the sorted literals, so that every node's edges are one sorted
// block and the build needs no map per node: a node stands for the run of sorted literals
// sharing its prefix, and its children split that run by the next character.
#include "text/regex/literal_trie.h"

#include <algorithm>
#include <numeric>

namespace tessaro {

void LiteralTrie::add(std::u16string_view literal, int priority) {
    m_pending.emplace_back(literal);
    m_pendingPriority.push_back(priority);
}

void LiteralTrie::finish() {
    if (m_pending.size() <= kKeptLiterals) {
        std::vector<std::uint32_t> byPriority(m_pending.size());
        std::iota(byPriority.begin(), byPriority.end(), 0u);
        std::sort(byPriority.begin(), byPriority.end(), [this](std::uint32_t a, std::uint32_t b) {
            return m_pendingPriority[a] < m_pendingPriority[b];
        });
        for (std::uint32_t k : byPriority) m_kept.push_back(m_pending[k]);
    }
    std::vector<std::uint32_t> order(m_pending.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [this](std::uint32_t a, std::uint32_t b) {
        return m_pending[a] < m_pending[b];
    });
    struct Work {
        std::int32_t node;
        std::size_t from, to;  // the sorted literals below this node
        std::size_t depth;
    };
    m_nodes.assign(1, Node{});
    std::vector<Work> work{{0, 0, order.size(), 0}};
    while (!work.empty()) {
        const Work w = work.back();
        work.pop_back();
        std::size_t i = w.from;
        // Literals that end here sort first; the best priority among them stands.
        for (; i < w.to && m_pending[order[i]].size() == w.depth; ++i) {
            int& best = m_nodes[w.node].priority;
            const int priority = m_pendingPriority[order[i]];
            if (best < 0 || priority < best) best = priority;
        }
        m_nodes[w.node].firstEdge = static_cast<std::uint32_t>(m_edgeChars.size());
        while (i < w.to) {
            const char16_t c = m_pending[order[i]][w.depth];
            std::size_t j = i;
            while (j < w.to && m_pending[order[j]][w.depth] == c) ++j;
            const auto childIndex = static_cast<std::int32_t>(m_nodes.size());
            m_nodes.push_back(Node{});
            m_edgeChars.push_back(c);
            m_edgeTargets.push_back(childIndex);
            ++m_nodes[w.node].edgeCount;
            work.push_back({childIndex, i, j, w.depth + 1});
            i = j;
        }
    }
    m_pending.clear();
    m_pending.shrink_to_fit();
    m_pendingPriority.clear();
    m_pendingPriority.shrink_to_fit();
}

std::int32_t LiteralTrie::child(const Node& node, char16_t c) const {
    const char16_t* first = m_edgeChars.data() + node.firstEdge;
    const char16_t* last = first + node.edgeCount;
    const char16_t* at = std::lower_bound(first, last, c);
    if (at == last || *at != c) return -1;
    return m_edgeTargets[static_cast<std::size_t>(at - m_edgeChars.data())];
}

int LiteralTrie::next(const char16_t* text, std::int32_t pos, std::int32_t n, int after,
                      std::int32_t& length, std::uint64_t& steps) const {
    int best = -1;
    std::int32_t node = 0;
    std::int32_t i = pos;
    for (;;) {
        const int priority = m_nodes[node].priority;
        if (priority > after && (best < 0 || priority < best)) {
            best = priority;
            length = i - pos;
        }
        if (i >= n) break;
        char16_t c = text[i];
        if (m_fold && c >= u'A' && c <= u'Z') c = char16_t(c + 32);
        node = child(m_nodes[node], c);
        ++steps;
        if (node < 0) break;
        ++i;
    }
    return best;
}

std::u16string_view LiteralTrie::firstChars() const {
    if (m_nodes.empty()) return {};
    return {m_edgeChars.data() + m_nodes[0].firstEdge, m_nodes[0].edgeCount};
}

}  // namespace tessaro

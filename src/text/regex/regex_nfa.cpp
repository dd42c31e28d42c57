// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the Thompson automaton from the syntax tree. Pieces are built back to front: each
// piece is made with its continuation already known, so no jump states are needed and the
// priority of every split is fixed when it is made. Groups and quantifier bodies are
// resumable frames on one explicit stack, so deep nesting cannot overflow the machine stack.
#include "text/regex/regex_nfa.h"

#include <algorithm>
#include <map>
#include <utility>

namespace tessaro {

namespace lb = look_bits;

bool LookHolds(LookKind kind, std::uint8_t before, std::uint8_t after) {
    switch (kind) {
        case LookKind::InputStart:
            return before & lb::Edge;
        case LookKind::InputEnd:
            return after & lb::Edge;
        case LookKind::LineStart:
            // No line starts between the two units of the pair.
            if (before & lb::Edge) return true;
            return (before & lb::Separator) &&
                   !((before & lb::PairFirst) && (after & lb::PairSecond));
        case LookKind::LineEnd:
            if (after & lb::Edge) return true;
            return (after & lb::Separator) &&
                   !((after & lb::PairSecond) && (before & lb::PairFirst));
        case LookKind::WordBoundary:
            return bool(before & lb::Word) != bool(after & lb::Word);
        case LookKind::NotWordBoundary:
            return bool(before & lb::Word) == bool(after & lb::Word);
    }
    return false;
}

std::uint8_t LookNeedsBefore(LookKind kind) {
    switch (kind) {
        case LookKind::InputStart:
            return lb::Edge;
        case LookKind::InputEnd:
            return 0;
        case LookKind::LineStart:
            return lb::Edge | lb::Separator | lb::PairFirst;
        case LookKind::LineEnd:
            return lb::PairFirst;
        case LookKind::WordBoundary:
        case LookKind::NotWordBoundary:
            return lb::Word;
    }
    return 0xFF;
}

std::uint8_t LookNeedsAfter(LookKind kind) {
    switch (kind) {
        case LookKind::InputStart:
            return 0;
        case LookKind::InputEnd:
            return lb::Edge;
        case LookKind::LineStart:
            return lb::PairSecond;
        case LookKind::LineEnd:
            return lb::Edge | lb::Separator | lb::PairSecond;
        case LookKind::WordBoundary:
        case LookKind::NotWordBoundary:
            return lb::Word;
    }
    return 0xFF;
}

namespace {

constexpr std::uint8_t kAllLooks = (1u << kLookKinds) - 1;

// The number of states the piece at node needs, saturated at cap: sizes of repetitions
// multiply, so an unchecked product could overflow long before the build would fail.
class SizeEstimate {
public:
    SizeEstimate(const SyntaxTree& tree, std::int64_t cap) : m_tree(tree), m_cap(cap) {}

    std::int64_t of(int root) {
        m_atom.assign(m_tree.nodes.size(), -1);
        // Post-order over groups with an explicit stack: a group's size is known once all
        // its pieces are.
        std::vector<std::pair<int, bool>> stack{{root, false}};
        while (!stack.empty()) {
            auto [node, expanded] = stack.back();
            stack.pop_back();
            const SyntaxNode& n = m_tree.nodes[static_cast<std::size_t>(node)];
            if (n.kind != AtomKind::Group) {
                m_atom[static_cast<std::size_t>(node)] = n.kind == AtomKind::Empty ? 0 : 1;
                continue;
            }
            if (!expanded) {
                stack.push_back({node, true});
                for (const auto& alternative : n.alternatives)
                    for (int piece : alternative) stack.push_back({piece, false});
                continue;
            }
            std::int64_t total =
                n.alternatives.empty() ? 0 : static_cast<std::int64_t>(n.alternatives.size()) - 1;
            for (const auto& alternative : n.alternatives)
                for (int piece : alternative) total = clamp(total + pieceSize(piece));
            m_atom[static_cast<std::size_t>(node)] = total;
        }
        return pieceSize(root);
    }

private:
    std::int64_t clamp(std::int64_t v) const { return std::min(v, m_cap); }
    std::int64_t pieceSize(int node) const {
        const SyntaxNode& n = m_tree.nodes[static_cast<std::size_t>(node)];
        const std::int64_t atom = m_atom[static_cast<std::size_t>(node)];
        if (!n.quantified) return atom;
        // Both factors are at most the cap and below 2^31, so the products fit.
        if (n.max == kRegexInfinite) return clamp(std::max<std::int64_t>(n.min, 1) * atom + 1);
        return clamp(std::int64_t(n.max) * atom + (std::int64_t(n.max) - n.min));
    }

    const SyntaxTree& m_tree;
    std::int64_t m_cap;
    std::vector<std::int64_t> m_atom;
};

class Builder {
public:
    Builder(const SyntaxTree& tree, const NfaBuildOptions& options, Nfa& nfa)
        : m_tree(tree), m_options(options), m_nfa(nfa) {}

    bool build();

private:
    struct Frame {
        bool group = false;
        int node = -1;
        std::int32_t next = -1;
        int phase = 0;
        std::int32_t cur = -1;
        std::int32_t split = -1;
        std::int64_t left = 0;
        // Group: the alternative in progress, counted from the last, and the pieces of it
        // already built.
        std::size_t alt = 0;
        std::size_t done = 0;
        std::vector<std::int32_t> entries;
    };

    std::int32_t add(NfaState state) {
        m_nfa.states.push_back(state);
        return static_cast<std::int32_t>(m_nfa.states.size() - 1);
    }
    std::int32_t addSplit() {
        NfaState s;
        s.kind = NfaState::Kind::Split;
        return add(s);
    }
    void patchSplit(std::int32_t split, std::int32_t body, std::int32_t exit, bool greedy) {
        NfaState& s = m_nfa.states[static_cast<std::size_t>(split)];
        s.out = greedy ? body : exit;
        s.out2 = greedy ? exit : body;
    }
    int setIndex(CharSet set);
    int setOf(const SyntaxNode& node);
    // The entry of the atom of node followed by cont; -1 when a group frame was pushed whose
    // result arrives later.
    std::int32_t atom(int node, std::int32_t cont);

    const SyntaxTree& m_tree;
    const NfaBuildOptions& m_options;
    Nfa& m_nfa;
    std::vector<Frame> m_stack;
    std::map<std::vector<std::pair<char16_t, char16_t>>, int> m_setIndex;
    int m_anySet = -1;
    int m_anyNoBreakSet = -1;
};

int Builder::setIndex(CharSet set) {
    set.finish();
    const auto [it, inserted] =
        m_setIndex.emplace(set.ranges(), static_cast<int>(m_nfa.sets.size()));
    if (inserted) m_nfa.sets.push_back(std::move(set));
    return it->second;
}

int Builder::setOf(const SyntaxNode& node) {
    switch (node.kind) {
        case AtomKind::Char: {
            CharSet set;
            set.add(node.ch);
            // A folded character is stored lower case and matches its ASCII capital too.
            if (node.fold && node.ch >= u'a' && node.ch <= u'z') set.add(char16_t(node.ch - 32));
            return setIndex(std::move(set));
        }
        case AtomKind::Any:
            if (node.dotAll) {
                if (m_anySet < 0) {
                    CharSet set;
                    set.addRange(0, 0xFFFF);
                    m_anySet = setIndex(std::move(set));
                }
                return m_anySet;
            }
            if (m_anyNoBreakSet < 0) {
                CharSet set = *m_options.lineSeparators;
                set.invert();
                m_anyNoBreakSet = setIndex(std::move(set));
            }
            return m_anyNoBreakSet;
        case AtomKind::Set:
            return setIndex(m_tree.sets[static_cast<std::size_t>(node.set)]);
        default:
            return -1;
    }
}

std::int32_t Builder::atom(int node, std::int32_t cont) {
    const SyntaxNode& n = m_tree.nodes[static_cast<std::size_t>(node)];
    NfaState s;
    s.out = cont;
    switch (n.kind) {
        case AtomKind::Empty:
            return cont;
        case AtomKind::Char:
        case AtomKind::Any:
        case AtomKind::Set:
            s.kind = NfaState::Kind::Consume;
            s.set = setOf(n);
            return add(s);
        case AtomKind::LineStart:
            s.look = n.multiLine ? LookKind::LineStart : LookKind::InputStart;
            break;
        case AtomKind::LineEnd:
            s.look = n.multiLine ? LookKind::LineEnd : LookKind::InputEnd;
            break;
        case AtomKind::InputStart:
            s.look = LookKind::InputStart;
            break;
        case AtomKind::InputEnd:
            s.look = LookKind::InputEnd;
            break;
        case AtomKind::WordBoundary:
            s.look = LookKind::WordBoundary;
            break;
        case AtomKind::NotWordBoundary:
            s.look = LookKind::NotWordBoundary;
            break;
        case AtomKind::Group: {
            Frame f;
            f.group = true;
            f.node = node;
            f.next = cont;
            f.entries.assign(n.alternatives.size(), cont);
            m_stack.push_back(std::move(f));
            return -1;
        }
        case AtomKind::Backref:
            return cont;  // refused before the build starts
    }
    s.kind = NfaState::Kind::Look;
    m_nfa.looks |= std::uint8_t(1u << unsigned(s.look));
    return add(s);
}

// Piece phases: how far a quantified piece has got.
enum PiecePhase : int {
    kPieceStart,
    kPieceSingleDone,  // unquantified: the atom's entry arrived
    kPieceLoopDone,    // "*" or "+": the loop body's entry arrived
    kPieceOptional,    // building the nested optional copies of "{n,m}"
    kPieceOptionalDone,
    kPieceMandatory,  // building the required copies
    kPieceMandatoryDone,
};

bool Builder::build() {
    NfaState match;
    match.kind = NfaState::Kind::Match;
    const std::int32_t matchState = add(match);

    std::int32_t ret = -1;
    const std::int32_t rootEntry = atom(m_tree.root, matchState);
    if (rootEntry >= 0) ret = rootEntry;
    const std::size_t limit = static_cast<std::size_t>(m_options.maxStates);

    while (!m_stack.empty()) {
        if (m_nfa.states.size() > limit) return false;
        const std::size_t top = m_stack.size() - 1;
        Frame& f = m_stack[top];
        const SyntaxNode& n = m_tree.nodes[static_cast<std::size_t>(f.node)];
        if (f.group) {
            // A group: each alternative is built piece by piece from its continuation
            // backwards (forwards for the reversed automaton), then the alternatives are
            // joined by a chain of splits in their order.
            if (f.phase == 1) {
                f.cur = ret;
                ++f.done;
            }
            bool pushed = false;
            while (f.alt < n.alternatives.size()) {
                const std::size_t a = n.alternatives.size() - 1 - f.alt;
                const auto& pieces = n.alternatives[a];
                if (f.done == 0 && f.phase == 0) f.cur = f.next;
                if (f.done < pieces.size()) {
                    const int piece =
                        m_options.reverse ? pieces[f.done] : pieces[pieces.size() - 1 - f.done];
                    const std::int32_t cont = f.cur;
                    f.phase = 1;
                    Frame p;
                    p.node = piece;
                    p.next = cont;
                    m_stack.push_back(std::move(p));
                    pushed = true;
                    break;
                }
                f.entries[a] = f.cur;
                ++f.alt;
                f.done = 0;
                f.phase = 0;
            }
            if (pushed) continue;
            std::int32_t entry = f.entries.empty() ? f.next : f.entries.back();
            for (std::size_t a = f.entries.size(); a-- > 1;) {
                const std::int32_t s = addSplit();
                m_nfa.states[static_cast<std::size_t>(s)].out = f.entries[a - 1];
                m_nfa.states[static_cast<std::size_t>(s)].out2 = entry;
                entry = s;
            }
            ret = entry;
            m_stack.pop_back();
            continue;
        }

        // A piece. "x*" is a split before x looping back to it; "x+" is x followed by
        // that split; "x{n,m}" is n copies of x and then m-n nested optional copies, so a
        // greedy piece prefers more copies and a lazy one fewer, as the backtracker does.
        const bool infinite = n.max == kRegexInfinite;
        std::int32_t request = -1;  // continuation of the next atom copy to build
        int resume = 0;
        switch (f.phase) {
            case kPieceStart:
                if (!n.quantified) {
                    request = f.next;
                    resume = kPieceSingleDone;
                } else if (infinite) {
                    f.split = addSplit();
                    request = f.split;
                    resume = kPieceLoopDone;
                } else {
                    f.cur = f.next;
                    f.left = std::int64_t(n.max) - n.min;
                    f.phase = kPieceOptional;
                    continue;
                }
                break;
            case kPieceSingleDone:
                m_stack.pop_back();
                continue;  // ret already holds the entry
            case kPieceLoopDone:
                patchSplit(f.split, ret, f.next, n.greedy);
                f.cur = n.min == 0 ? f.split : ret;
                f.left = n.min == 0 ? 0 : std::int64_t(n.min) - 1;
                f.phase = kPieceMandatory;
                continue;
            case kPieceOptional:
                if (f.left == 0) {
                    f.left = n.min;
                    f.phase = kPieceMandatory;
                    continue;
                }
                f.split = addSplit();
                request = f.cur;
                resume = kPieceOptionalDone;
                break;
            case kPieceOptionalDone:
                patchSplit(f.split, ret, f.next, n.greedy);
                f.cur = f.split;
                --f.left;
                f.phase = kPieceOptional;
                continue;
            case kPieceMandatory:
                if (f.left == 0) {
                    ret = f.cur;
                    m_stack.pop_back();
                    continue;
                }
                request = f.cur;
                resume = kPieceMandatoryDone;
                break;
            case kPieceMandatoryDone:
                f.cur = ret;
                --f.left;
                f.phase = kPieceMandatory;
                continue;
            default:
                return false;
        }
        f.phase = resume;
        const int node = f.node;
        // atom() may push a group frame, which moves the stack; f is not used after it.
        const std::int32_t entry = atom(node, request);
        if (entry >= 0) ret = entry;
    }
    if (m_nfa.states.size() > limit) return false;
    m_nfa.start = ret;
    return true;
}

// The assertion kinds each state reaches without consuming, by a depth-first walk over the
// epsilon edges. Loop bodies always consume, so these edges form no cycle; should one appear
// anyway, its states get every kind, which only keeps more look-behind than needed.
void computeReachableLooks(Nfa& nfa) {
    const std::size_t count = nfa.states.size();
    nfa.reachableLooks.assign(count, 0);
    std::vector<std::uint8_t> color(count, 0);  // 0 new, 1 on the path, 2 done
    std::vector<std::pair<std::int32_t, bool>> stack;
    for (std::size_t root = 0; root < count; ++root) {
        if (color[root]) continue;
        stack.push_back({static_cast<std::int32_t>(root), false});
        while (!stack.empty()) {
            const auto [s, expanded] = stack.back();
            stack.pop_back();
            const std::size_t i = static_cast<std::size_t>(s);
            const NfaState& st = nfa.states[i];
            if (expanded) {
                std::uint8_t mask = 0;
                if (st.kind == NfaState::Kind::Look) {
                    mask = std::uint8_t((1u << unsigned(st.look)) |
                                        nfa.reachableLooks[static_cast<std::size_t>(st.out)]);
                } else if (st.kind == NfaState::Kind::Split) {
                    mask = nfa.reachableLooks[static_cast<std::size_t>(st.out)] |
                           nfa.reachableLooks[static_cast<std::size_t>(st.out2)];
                }
                nfa.reachableLooks[i] |= mask;
                color[i] = 2;
                continue;
            }
            if (color[i] == 2) continue;
            if (color[i] == 1) {
                nfa.reachableLooks[i] = kAllLooks;  // a cycle: see above
                continue;
            }
            color[i] = 1;
            stack.push_back({s, true});
            if (st.kind == NfaState::Kind::Look || st.kind == NfaState::Kind::Split) {
                for (std::int32_t next : {st.out, st.out2}) {
                    if (next < 0) continue;
                    const std::size_t j = static_cast<std::size_t>(next);
                    if (color[j] == 1)
                        nfa.reachableLooks[i] = kAllLooks;
                    else if (color[j] == 0)
                        stack.push_back({next, false});
                }
            }
        }
    }
}

// Whether no path from the start consumes or matches without passing an input-start
// assertion first.
bool anchoredAtInputStart(const Nfa& nfa) {
    std::vector<bool> seen(nfa.states.size(), false);
    std::vector<std::int32_t> stack{nfa.start};
    while (!stack.empty()) {
        const std::int32_t s = stack.back();
        stack.pop_back();
        if (s < 0 || seen[static_cast<std::size_t>(s)]) continue;
        seen[static_cast<std::size_t>(s)] = true;
        const NfaState& st = nfa.states[static_cast<std::size_t>(s)];
        switch (st.kind) {
            case NfaState::Kind::Consume:
            case NfaState::Kind::Match:
                return false;
            case NfaState::Kind::Look:
                if (st.look != LookKind::InputStart) stack.push_back(st.out);
                break;
            case NfaState::Kind::Split:
                stack.push_back(st.out);
                stack.push_back(st.out2);
                break;
        }
    }
    return true;
}

}  // namespace

std::unique_ptr<Nfa> BuildNfa(const SyntaxTree& tree, const NfaBuildOptions& options) {
    if (tree.hasBackref || tree.root < 0 || options.maxStates < 1) return nullptr;
    for (const SyntaxNode& node : tree.nodes) {
        if (node.kind == AtomKind::Backref) return nullptr;
        if (node.kind == AtomKind::Any && !node.dotAll && !options.lineSeparators) return nullptr;
    }
    const std::int64_t cap = std::int64_t(options.maxStates) + 1;
    // One more for the match state.
    if (SizeEstimate(tree, cap).of(tree.root) + 1 > options.maxStates) return nullptr;

    auto nfa = std::make_unique<Nfa>();
    nfa->reversed = options.reverse;
    Builder builder(tree, options, *nfa);
    if (!builder.build()) return nullptr;
    computeReachableLooks(*nfa);
    nfa->anchoredAtInputStart = anchoredAtInputStart(*nfa);
    return nfa;
}

}  // namespace tessaro

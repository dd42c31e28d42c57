// SPDX-License-Identifier: GPL-3.0-or-later
// Translates the syntax tree into the matcher's instruction list, walking groups with an
// explicit stack, and derives the start-position facts (first characters, anchor, required
// character) that let the search skip positions that cannot begin a match.
#include <algorithm>

#include "text/regex/regex_program.h"

namespace tessaro {

namespace {

// At most this many counted repetitions may be active inside each other.
constexpr int kMaxCountedDepth = 10;
// From this many plain-literal alternatives on, a group walks a trie instead of trying
// them one by one.
constexpr std::size_t kTrieAlternatives = 4;
static_assert(LiteralTrie::kKeptLiterals <= LiteralScan::kMaxLiterals);
constexpr std::int32_t kNotMemoizable = -2;

char16_t asciiUpper(char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; }

bool subsetOf(const CharSet& a, const CharSet& b) {
    for (const auto& [first, last] : a.ranges()) {
        for (std::uint32_t c = first; c <= last; ++c) {
            if (!b.contains(static_cast<char16_t>(c))) return false;
        }
    }
    return true;
}

bool disjointFrom(const CharSet& a, const CharSet& b) {
    for (const auto& [first, last] : a.ranges()) {
        for (std::uint32_t c = first; c <= last; ++c) {
            if (b.contains(static_cast<char16_t>(c))) return false;
        }
    }
    return true;
}

// The set as a table for vector lookups, when all its members are below U+00FF.
std::unique_ptr<ByteSetScan> lowSetScan(const CharSet& set) {
    std::uint64_t bits[4] = {};
    for (const auto& [first, last] : set.ranges()) {
        if (last >= 0xFF) return nullptr;
        for (std::uint32_t c = first; c <= last; ++c) bits[c >> 6] |= 1ull << (c & 63);
    }
    return std::make_unique<ByteSetScan>(bits, false);
}

enum class LoopKind { None, Optional, Star, Plus, Counted };

LoopKind loopKind(const SyntaxNode& node) {
    if (!node.quantified || (node.min == 1 && node.max == 1)) return LoopKind::None;
    if (node.min == 0 && node.max == 1) return LoopKind::Optional;
    if (node.min == 0 && node.max == kRegexInfinite) return LoopKind::Star;
    if (node.min == 1 && node.max == kRegexInfinite) return LoopKind::Plus;
    return LoopKind::Counted;
}

class Compiler {
public:
    Compiler(const SyntaxTree& tree, const CharSet* wordSet) : m_tree(tree), m_wordSet(wordSet) {
        m_program.sets = tree.sets;
        m_program.hasBackref = tree.hasBackref;
        m_program.registerCount = kRegexMaxGroups;  // register k-1: open position of group k
    }

    RegexProgram run();

private:
    struct Frame {
        int node = -1;
        std::size_t alt = 0;
        std::size_t piece = 0;
        std::vector<int> endJumps;
        int pendingSplit = -1;
        LoopKind loop = LoopKind::None;
        int loopPc = -1;  // Optional/Star: the split; Plus: body start; Counted: CountTest
        int counter = -1;
        int iterReg = -1;
        bool staticCounted = false;
        int countMax = 0;       // Counted: the upper bound this pass uses
        bool thenStar = false;  // "{n,}" runs as "{n}" and then a "*" of the same group
    };

    int emit(Inst inst) {
        if (m_runtimeCounted > 0) inst.memo = kNotMemoizable;
        m_program.code.push_back(inst);
        return static_cast<int>(m_program.code.size() - 1);
    }
    int here() const { return static_cast<int>(m_program.code.size()); }
    int newRegister() { return m_program.registerCount++; }

    void beginGroup(int node, bool asStar = false);
    // Returns the group to emit once more as a "*" loop, or -1.
    int endGroup(Frame& frame);
    bool smallSubtree(int node) const;
    // Emits the piece at frame's position; returns how many pieces it used.
    std::size_t emitPiece(const std::vector<int>& pieces, std::size_t index);
    bool singleWidthGroup(const SyntaxNode& group, CharSet& merged) const;
    // Emits a trie for a group whose alternatives are all plain literals; false otherwise.
    bool emitTrie(const SyntaxNode& group);
    // Opens the alternatives of a group: a trie, or the split before the first one.
    void beginAlternatives(Frame& frame, const SyntaxNode& group);
    void emitDepthCheck(const SyntaxNode& node);
    void analyse();
    void firstFrom(int start, std::uint64_t* bits, bool& all, bool& nullable,
                   std::size_t limit = 0) const;
    void analyseFirst();
    void analysePossessive();
    void analyseAnchor();
    void analyseRequired();
    // The literals or the character set a scan can look for to find where matches begin.
    void analyseStart();
    // Whether the program is one run of a class between assertions.
    void analyseClassRun();
    // Whether the program begins with a run of a class captured for back-references.
    void analyseCapturedRun();

    const SyntaxTree& m_tree;
    const CharSet* m_wordSet;
    RegexProgram m_program;
    std::vector<Frame> m_frames;
    int m_staticCounted = 0;
    int m_runtimeCounted = 0;
};

RegexProgram Compiler::run() {
    Frame root;
    root.node = m_tree.root;
    beginAlternatives(root, m_tree.nodes[m_tree.root]);
    m_frames.push_back(std::move(root));

    while (!m_frames.empty()) {
        Frame& frame = m_frames.back();
        const SyntaxNode& group = m_tree.nodes[frame.node];
        const auto& pieces = group.alternatives[frame.alt];
        if (frame.piece < pieces.size()) {
            const int nodeIndex = pieces[frame.piece];
            const SyntaxNode& node = m_tree.nodes[nodeIndex];
            CharSet merged;
            if (node.kind == AtomKind::Group && !singleWidthGroup(node, merged)) {
                ++frame.piece;
                beginGroup(nodeIndex);  // invalidates frame
                continue;
            }
            frame.piece += emitPiece(pieces, frame.piece);
            continue;
        }
        if (frame.alt + 1 < group.alternatives.size()) {
            Inst jump{.op = Op::Jmp};
            frame.endJumps.push_back(emit(jump));
            m_program.code[frame.pendingSplit].y = here();
            ++frame.alt;
            frame.piece = 0;
            if (frame.alt + 1 < group.alternatives.size()) {
                Inst split{.op = Op::Split};
                split.x = here() + 1;
                frame.pendingSplit = emit(split);
            }
            continue;
        }
        const int again = endGroup(frame);
        m_frames.pop_back();
        if (again >= 0) beginGroup(again, true);
    }
    emit(Inst{.op = Op::Match});
    analyse();
    return std::move(m_program);
}

void Compiler::emitDepthCheck(const SyntaxNode& node) {
    (void)node;
    if (m_staticCounted > kMaxCountedDepth) emit(Inst{.op = Op::DepthFail});
}

// Whether a group is small enough to be emitted twice.
bool Compiler::smallSubtree(int node) const {
    constexpr std::size_t kLimit = 512;
    std::size_t count = 0;
    std::vector<int> work{node};
    while (!work.empty()) {
        const SyntaxNode& current = m_tree.nodes[work.back()];
        work.pop_back();
        if (++count > kLimit) return false;
        for (const auto& alternative : current.alternatives) {
            work.insert(work.end(), alternative.begin(), alternative.end());
        }
    }
    return m_program.code.size() < 100'000;
}

void Compiler::beginGroup(int nodeIndex, bool asStar) {
    const SyntaxNode& node = m_tree.nodes[nodeIndex];
    Frame frame;
    frame.node = nodeIndex;
    frame.loop = asStar ? LoopKind::Star : loopKind(node);
    frame.countMax = node.max;
    if (frame.loop == LoopKind::Counted && node.max == kRegexInfinite && smallSubtree(nodeIndex)) {
        // The counter of "{n,}" would keep every state of its body out of the memo; as
        // "{n}" followed by "*" only the n mandatory repetitions are counted.
        frame.countMax = node.min;
        frame.thenStar = true;
    }
    frame.staticCounted = node.countedLoop();
    if (frame.staticCounted) {
        ++m_staticCounted;
        emitDepthCheck(node);
    }
    const bool looping = frame.loop == LoopKind::Star || frame.loop == LoopKind::Plus ||
                         frame.loop == LoopKind::Counted;
    switch (frame.loop) {
        case LoopKind::None:
            break;
        case LoopKind::Optional:
        case LoopKind::Star: {
            Inst split{.op = Op::Split};
            if (node.greedy)
                split.x = here() + 1;
            else
                split.y = here() + 1;
            frame.loopPc = emit(split);
            break;
        }
        case LoopKind::Plus:
            frame.loopPc = here();
            break;
        case LoopKind::Counted: {
            frame.counter = newRegister();
            Inst init{.op = Op::CountInit};
            init.x = frame.counter;
            emit(init);
            Inst test{.op = Op::CountTest};
            test.x = frame.counter;
            test.min = node.min;
            test.max = frame.countMax;
            test.greedy = node.greedy;
            frame.loopPc = emit(test);
            // The counter decides what follows each iteration: states in the body depend
            // on more than the position, so they are never memoized.
            ++m_runtimeCounted;
            break;
        }
    }
    // Only a back-reference to an empty capture can make a loop body match nothing.
    if (looping && m_tree.hasBackref) {
        frame.iterReg = newRegister();
        Inst mark{.op = Op::IterMark};
        mark.x = frame.iterReg;
        emit(mark);
    }
    Inst open{.op = Op::Open};
    open.slot = static_cast<std::uint16_t>(node.number);
    emit(open);
    beginAlternatives(frame, node);
    m_frames.push_back(std::move(frame));
}

void Compiler::beginAlternatives(Frame& frame, const SyntaxNode& group) {
    if (emitTrie(group)) {
        // The trie stands for every alternative: the frame continues at the group's end.
        frame.alt = group.alternatives.size() - 1;
        frame.piece = group.alternatives.back().size();
        return;
    }
    if (group.alternatives.size() > 1) {
        Inst split{.op = Op::Split};
        split.x = here() + 1;
        frame.pendingSplit = emit(split);
    }
}

bool Compiler::emitTrie(const SyntaxNode& group) {
    if (group.alternatives.size() < kTrieAlternatives) return false;
    int fold = -1;  // unknown until the first character
    for (const auto& alternative : group.alternatives) {
        for (int index : alternative) {
            const SyntaxNode& piece = m_tree.nodes[index];
            if (piece.kind == AtomKind::Empty) continue;
            const bool single = !piece.quantified || (piece.min == 1 && piece.max == 1);
            if (piece.kind != AtomKind::Char || !single) return false;
            if (fold >= 0 && fold != int(piece.fold)) return false;
            fold = piece.fold;
        }
    }
    LiteralTrie trie(fold == 1);
    std::u16string literal;
    for (std::size_t k = 0; k < group.alternatives.size(); ++k) {
        literal.clear();
        for (int index : group.alternatives[k]) {
            const SyntaxNode& piece = m_tree.nodes[index];
            if (piece.kind == AtomKind::Char) literal.push_back(piece.ch);
        }
        trie.add(literal, static_cast<int>(k));
    }
    trie.finish();
    m_program.tries.push_back(std::move(trie));
    Inst inst{.op = Op::Trie};
    inst.x = static_cast<std::int32_t>(m_program.tries.size() - 1);
    emit(inst);
    return true;
}

int Compiler::endGroup(Frame& frame) {
    if (frame.node == m_tree.root) {
        for (int jump : frame.endJumps) m_program.code[jump].x = here();
        return -1;
    }
    const SyntaxNode& node = m_tree.nodes[frame.node];
    for (int jump : frame.endJumps) m_program.code[jump].x = here();
    Inst close{.op = Op::Close};
    close.slot = static_cast<std::uint16_t>(node.number);
    emit(close);
    int iterCheck = -1;
    if (frame.iterReg >= 0 && frame.loop != LoopKind::Counted) {
        Inst check{.op = Op::IterCheck};
        check.x = frame.iterReg;
        iterCheck = emit(check);
    }
    switch (frame.loop) {
        case LoopKind::None:
            break;
        case LoopKind::Optional:
            if (node.greedy)
                m_program.code[frame.loopPc].y = here();
            else
                m_program.code[frame.loopPc].x = here();
            break;
        case LoopKind::Star: {
            Inst jump{.op = Op::Jmp};
            jump.x = frame.loopPc;
            emit(jump);
            if (node.greedy)
                m_program.code[frame.loopPc].y = here();
            else
                m_program.code[frame.loopPc].x = here();
            break;
        }
        case LoopKind::Plus: {
            Inst split{.op = Op::Split};
            if (node.greedy) {
                split.x = frame.loopPc;
                split.y = here() + 1;
            } else {
                split.x = here() + 1;
                split.y = frame.loopPc;
            }
            emit(split);
            break;
        }
        case LoopKind::Counted: {
            --m_runtimeCounted;
            Inst next{.op = Op::CountNext};
            next.x = frame.counter;
            next.y = frame.loopPc;
            next.z = frame.iterReg;
            next.min = node.min;
            emit(next);
            m_program.code[frame.loopPc].y = here();
            break;
        }
    }
    if (iterCheck >= 0) m_program.code[iterCheck].y = here();
    if (frame.staticCounted) --m_staticCounted;
    return frame.thenStar ? frame.node : -1;
}

bool Compiler::singleWidthGroup(const SyntaxNode& group, CharSet& merged) const {
    for (const auto& alternative : group.alternatives) {
        int width = 0;
        for (int index : alternative) {
            const SyntaxNode& piece = m_tree.nodes[index];
            if (piece.kind == AtomKind::Empty && (!piece.quantified || piece.min == 0)) continue;
            if (piece.quantified || ++width > 1) return false;
            switch (piece.kind) {
                case AtomKind::Char:
                    merged.add(piece.ch);
                    if (piece.fold) merged.add(asciiUpper(piece.ch));
                    break;
                case AtomKind::Set:
                    merged.addSet(m_tree.sets[piece.set]);
                    break;
                case AtomKind::Any:
                    if (!piece.dotAll) return false;
                    merged.addRange(0, 0xFFFF);
                    break;
                default:
                    return false;
            }
        }
        if (width != 1) return false;
    }
    return true;
}

std::size_t Compiler::emitPiece(const std::vector<int>& pieces, std::size_t index) {
    const SyntaxNode& node = m_tree.nodes[pieces[index]];
    const bool counted = node.countedLoop();
    if (counted) ++m_staticCounted;
    struct Leave {
        int& depth;
        bool active;
        ~Leave() {
            if (active) --depth;
        }
    } leave{m_staticCounted, counted};
    if (counted) emitDepthCheck(node);

    const bool single = !node.quantified || (node.min == 1 && node.max == 1);
    Inst inst;
    switch (node.kind) {
        case AtomKind::Empty:
            return 1;
        case AtomKind::LineStart:
        case AtomKind::LineEnd:
        case AtomKind::InputStart:
        case AtomKind::InputEnd:
        case AtomKind::WordBoundary:
        case AtomKind::NotWordBoundary:
            // "?" is the only quantifier an assertion may carry; either way the match goes
            // on at the same position, so the assertion decides nothing.
            if (!single) return 1;
            switch (node.kind) {
                case AtomKind::LineStart:
                    inst.op = node.multiLine ? Op::LineStartM : Op::LineStart;
                    break;
                case AtomKind::LineEnd:
                    inst.op = node.multiLine ? Op::LineEndM : Op::InputEnd;
                    break;
                case AtomKind::InputStart:
                    inst.op = Op::LineStart;
                    break;
                case AtomKind::InputEnd:
                    inst.op = Op::InputEnd;
                    break;
                case AtomKind::WordBoundary:
                    inst.op = Op::WordBoundary;
                    break;
                default:
                    inst.op = Op::NotWordBoundary;
                    break;
            }
            emit(inst);
            return 1;
        case AtomKind::Backref:
            inst.slot = static_cast<std::uint16_t>(node.number);
            inst.atom = node.fold;
            if (single) {
                inst.op = Op::Backref;
            } else {
                inst.op = Op::RepeatBackref;
                inst.min = node.min;
                inst.max = node.max;
                inst.greedy = node.greedy;
            }
            emit(inst);
            return 1;
        case AtomKind::Char:
            if (single) {
                // A run of plain characters becomes one string comparison.
                std::size_t end = index + 1;
                while (end < pieces.size()) {
                    const SyntaxNode& next = m_tree.nodes[pieces[end]];
                    if (next.kind != AtomKind::Char || next.fold != node.fold ||
                        (next.quantified && !(next.min == 1 && next.max == 1)) ||
                        next.countedLoop())
                        break;
                    ++end;
                }
                if (end - index >= 2) {
                    std::u16string text;
                    for (std::size_t k = index; k < end; ++k)
                        text.push_back(m_tree.nodes[pieces[k]].ch);
                    m_program.strings.push_back(std::move(text));
                    inst.op = Op::Str;
                    inst.x = static_cast<int>(m_program.strings.size() - 1);
                    inst.atom = node.fold;
                    emit(inst);
                    return end - index;
                }
                inst.op = node.fold ? Op::CharFold : Op::Char;
                inst.ch = node.ch;
                emit(inst);
                return 1;
            }
            inst.atom =
                static_cast<std::uint8_t>(node.fold ? RepeatAtom::CharFold : RepeatAtom::Char);
            inst.ch = node.ch;
            break;
        case AtomKind::Any:
            if (single) {
                inst.op = node.dotAll ? Op::Any : Op::AnyNoBreak;
                emit(inst);
                return 1;
            }
            inst.atom =
                static_cast<std::uint8_t>(node.dotAll ? RepeatAtom::Any : RepeatAtom::AnyNoBreak);
            break;
        case AtomKind::Set:
            if (single) {
                inst.op = Op::Set;
                inst.x = node.set;
                emit(inst);
                return 1;
            }
            inst.atom = static_cast<std::uint8_t>(RepeatAtom::Set);
            inst.x = node.set;
            break;
        case AtomKind::Group: {
            // A group of one-character alternatives repeats like a class; its capture is the
            // last character taken.
            CharSet merged;
            singleWidthGroup(node, merged);
            merged.finish();
            m_program.sets.push_back(std::move(merged));
            inst.atom = static_cast<std::uint8_t>(RepeatAtom::Set);
            inst.x = static_cast<int>(m_program.sets.size() - 1);
            inst.slot = static_cast<std::uint16_t>(node.number);
            inst.op = Op::Repeat;
            inst.min = node.quantified ? node.min : 1;
            inst.max = node.quantified ? node.max : 1;
            inst.greedy = node.greedy;
            emit(inst);
            return 1;
        }
    }
    inst.op = Op::Repeat;
    inst.min = node.min;
    inst.max = node.max;
    inst.greedy = node.greedy;
    emit(inst);
    return 1;
}

void Compiler::analyse() {
    RegexProgram& p = m_program;
    for (Inst& inst : p.code) {
        p.hasGroups = p.hasGroups || inst.op == Op::Close || (inst.op == Op::Repeat && inst.slot);
        if (inst.op == Op::Repeat) inst.run = p.runCount++;
        const bool eligible = !p.hasBackref && inst.memo != kNotMemoizable;
        inst.memo = -1;
        if (!eligible) continue;
        if (inst.op == Op::Split || inst.op == Op::Trie) {
            inst.memo = p.memoRows++;
        } else if (inst.op == Op::Repeat) {
            inst.memo = p.memoRows;  // the entry row, and the continuation row after it
            p.memoRows += 2;
        }
    }
    analyseFirst();
    analysePossessive();
    p.linear = std::all_of(p.code.begin(), p.code.end(), [](const Inst& inst) {
        switch (inst.op) {
            case Op::Split:
            case Op::Jmp:
            case Op::Trie:
            case Op::Backref:
            case Op::RepeatBackref:
            case Op::IterMark:
            case Op::IterCheck:
            case Op::CountInit:
            case Op::CountTest:
            case Op::CountNext:
            case Op::DepthFail:
                return false;
            case Op::Repeat:
                return inst.possessive || inst.min == inst.max;
            default:
                return true;
        }
    });
    analyseClassRun();
    analyseCapturedRun();
    for (const CharSet& set : p.sets) p.setScans.push_back(lowSetScan(set));
    analyseAnchor();
    analyseRequired();
    analyseStart();
}

// The characters that can begin a match from pc on, into bits; all is set when any
// character can, nullable when the end of the program is reachable without one.
void Compiler::firstFrom(int start, std::uint64_t* bits, bool& all, bool& nullable,
                         std::size_t limit) const {
    const RegexProgram& p = m_program;
    all = false;
    nullable = false;
    auto addChar = [&](char16_t c) { bits[c >> 6] |= 1ull << (c & 63); };
    auto addSet = [&](const CharSet& set) {
        for (const auto& [first, last] : set.ranges()) {
            std::uint32_t c = first;
            for (; c <= last && (c & 63); ++c) addChar(static_cast<char16_t>(c));
            for (; c + 63 <= last; c += 64) bits[c >> 6] = ~0ull;
            for (; c <= last; ++c) addChar(static_cast<char16_t>(c));
        }
    };
    // With a limit, the walk gives up (answering "any character") after that many
    // instructions, so that questions asked per instruction stay cheap on long expressions.
    std::vector<char> seenAll;
    std::vector<int> seenFew;
    if (limit == 0) seenAll.assign(p.code.size(), 0);
    auto firstVisit = [&](int pc) {
        if (limit == 0) {
            if (seenAll[pc]) return false;
            seenAll[pc] = 1;
            return true;
        }
        if (std::find(seenFew.begin(), seenFew.end(), pc) != seenFew.end()) return false;
        seenFew.push_back(pc);
        if (seenFew.size() > limit) all = true;
        return true;
    };
    std::vector<int> work{start};
    while (!work.empty() && !all) {
        const int pc = work.back();
        work.pop_back();
        if (!firstVisit(pc) || all) continue;
        const Inst& inst = p.code[pc];
        switch (inst.op) {
            case Op::Char:
                addChar(inst.ch);
                break;
            case Op::CharFold:
                addChar(inst.ch);
                addChar(asciiUpper(inst.ch));
                break;
            case Op::Str: {
                const char16_t c = p.strings[inst.x][0];
                addChar(c);
                if (inst.atom) addChar(asciiUpper(c));
                break;
            }
            case Op::Trie: {
                const LiteralTrie& trie = p.tries[inst.x];
                for (char16_t c : trie.firstChars()) {
                    addChar(c);
                    if (trie.fold()) addChar(asciiUpper(c));
                }
                if (trie.acceptsEmpty()) work.push_back(pc + 1);
                break;
            }
            case Op::Any:
            case Op::AnyNoBreak:
            case Op::Backref:
            case Op::RepeatBackref:
                all = true;
                break;
            case Op::Set:
                addSet(p.sets[inst.x]);
                break;
            case Op::Repeat:
                switch (static_cast<RepeatAtom>(inst.atom)) {
                    case RepeatAtom::Char:
                        addChar(inst.ch);
                        break;
                    case RepeatAtom::CharFold:
                        addChar(inst.ch);
                        addChar(asciiUpper(inst.ch));
                        break;
                    case RepeatAtom::Set:
                        addSet(p.sets[inst.x]);
                        break;
                    default:
                        all = true;
                        break;
                }
                if (inst.min == 0) work.push_back(pc + 1);
                break;
            case Op::Split:
                work.push_back(inst.x);
                work.push_back(inst.y);
                break;
            case Op::Jmp:
                work.push_back(inst.x);
                break;
            case Op::CountTest:
                work.push_back(pc + 1);
                work.push_back(inst.y);
                break;
            case Op::CountNext:
                work.push_back(inst.y);
                break;
            case Op::IterCheck:
                work.push_back(pc + 1);
                work.push_back(inst.y);
                break;
            case Op::Match:
                nullable = true;
                all = true;
                break;
            default:
                work.push_back(pc + 1);
                break;
        }
    }
}

void Compiler::analyseFirst() {
    RegexProgram& p = m_program;
    p.firstChars = std::make_unique<std::uint64_t[]>(1024);
    std::uint64_t* bits = p.firstChars.get();
    bool all = false;
    bool nullable = false;
    firstFrom(0, bits, all, nullable);
    p.canBeEmpty = nullable;
    // A path that fails with error 1014 (counted loops nested beyond the loop stack) must
    // be tried at every start position, so that the error is reported wherever such a
    // match could begin.
    bool depthFail = false;
    for (const Inst& inst : p.code) depthFail = depthFail || inst.op == Op::DepthFail;
    if (all || depthFail) {
        p.firstCount = 65536;
        return;
    }
    int count = 0;
    for (int w = 0; w < 1024; ++w) count += __builtin_popcountll(bits[w]);
    p.firstCount = count;
    int found = 0;
    for (std::uint32_t c = 0; c < 65536 && found < 2 && count <= 2; ++c) {
        if (p.firstContains(static_cast<char16_t>(c))) {
            (found == 0 ? p.firstA : p.firstB) = static_cast<char16_t>(c);
            ++found;
        }
    }
}

void Compiler::analysePossessive() {
    RegexProgram& p = m_program;
    std::vector<std::uint64_t> bits(1024);
    for (std::size_t pc = 0; pc < p.code.size(); ++pc) {
        Inst& inst = p.code[pc];
        if (inst.op != Op::Repeat || !inst.greedy || inst.max == inst.min) continue;
        std::size_t next = pc + 1;
        while (p.code[next].op == Op::Close) ++next;
        // Nothing can fail after the longest run, so no shorter one is ever tried.
        if (p.code[next].op == Op::Match) {
            inst.possessive = true;
            continue;
        }
        CharSet repeated;
        switch (static_cast<RepeatAtom>(inst.atom)) {
            case RepeatAtom::Char:
                repeated.add(inst.ch);
                break;
            case RepeatAtom::CharFold:
                repeated.add(inst.ch);
                repeated.add(asciiUpper(inst.ch));
                break;
            case RepeatAtom::Set:
                repeated = p.sets[inst.x];
                break;
            default:
                continue;
        }
        repeated.finish();
        // A word boundary after a run of word characters (or of others) cannot lie inside
        // the run, so giving characters back cannot find one.
        if (p.code[next].op == Op::WordBoundary && inst.min >= 1 && m_wordSet &&
            (subsetOf(repeated, *m_wordSet) || disjointFrom(repeated, *m_wordSet))) {
            inst.possessive = true;
            continue;
        }
        std::fill(bits.begin(), bits.end(), 0);
        bool all = false;
        bool nullable = false;
        firstFrom(static_cast<int>(pc) + 1, bits.data(), all, nullable, 16);
        if (all || nullable) continue;
        bool disjoint = true;
        for (const auto& [first, last] : repeated.ranges()) {
            std::uint32_t c = first;
            for (; c <= last && (c & 63) && disjoint; ++c)
                disjoint = !((bits[c >> 6] >> (c & 63)) & 1u);
            for (; c + 63 <= last && disjoint; c += 64) disjoint = bits[c >> 6] == 0;
            for (; c <= last && disjoint; ++c) disjoint = !((bits[c >> 6] >> (c & 63)) & 1u);
            if (!disjoint) break;
        }
        inst.possessive = disjoint;
    }
}

void Compiler::analyseAnchor() {
    RegexProgram& p = m_program;
    // Whether every path from the start meets the given start assertion before anything else.
    auto everyPathBegins = [&p](bool lineStarts) {
        std::vector<char> seen(p.code.size(), 0);
        std::vector<int> work{0};
        while (!work.empty()) {
            const int pc = work.back();
            work.pop_back();
            if (seen[pc]) continue;
            seen[pc] = 1;
            const Inst& inst = p.code[pc];
            switch (inst.op) {
                case Op::LineStart:
                case Op::DepthFail:
                    break;
                case Op::LineStartM:
                    if (!lineStarts) return false;
                    break;
                case Op::Split:
                    work.push_back(inst.x);
                    work.push_back(inst.y);
                    break;
                case Op::Jmp:
                    work.push_back(inst.x);
                    break;
                case Op::Open:
                case Op::Close:
                case Op::IterMark:
                case Op::CountInit:
                    work.push_back(pc + 1);
                    break;
                default:
                    return false;
            }
        }
        return true;
    };
    p.anchoredStart = everyPathBegins(false);
    p.lineAnchored = !p.anchoredStart && everyPathBegins(true);
}

void Compiler::analyseRequired() {
    RegexProgram& p = m_program;
    const SyntaxNode& root = m_tree.nodes[m_tree.root];
    if (root.alternatives.size() != 1) return;
    for (const Inst& inst : p.code) {
        if (inst.op == Op::DepthFail) return;  // its error must be met where it was met before
    }
    for (int index : root.alternatives[0]) {
        const SyntaxNode& node = m_tree.nodes[index];
        const bool plainChar = node.kind == AtomKind::Char && !node.fold;
        if (plainChar && (!node.quantified || node.min >= 1)) {
            p.hasRequired = true;
            p.required = node.ch;
        }
    }
}

void Compiler::analyseClassRun() {
    RegexProgram& p = m_program;
    if (!p.linear) return;
    auto assertion = [](Op op) {
        return op == Op::WordBoundary || op == Op::NotWordBoundary || op == Op::LineStart ||
               op == Op::LineStartM || op == Op::InputEnd || op == Op::LineEndM;
    };
    std::size_t repeat = p.code.size();
    for (std::size_t pc = 0; pc + 1 < p.code.size(); ++pc) {
        const Inst& inst = p.code[pc];
        if (assertion(inst.op)) continue;
        if (inst.op != Op::Repeat || repeat < p.code.size()) return;
        repeat = pc;
    }
    if (repeat == p.code.size()) return;
    const Inst& inst = p.code[repeat];
    // The longest run from any start inside it ends where it ends: only a possessive run
    // without a bound and without a capture behaves so.
    if (!inst.possessive || inst.max != kRegexInfinite || inst.min < 1 || inst.slot) return;
    auto run = std::make_unique<RegexProgram::ClassRun>();
    run->repeat = repeat;
    switch (static_cast<RepeatAtom>(inst.atom)) {
        case RepeatAtom::Char:
            run->members.add(inst.ch);
            break;
        case RepeatAtom::CharFold:
            run->members.add(inst.ch);
            run->members.add(asciiUpper(inst.ch));
            break;
        case RepeatAtom::Set:
            run->members = p.sets[inst.x];
            break;
        default:
            return;
    }
    run->members.finish();
    run->scan = lowSetScan(run->members);
    p.classRun = std::move(run);
}

void Compiler::analyseCapturedRun() {
    RegexProgram& p = m_program;
    if (!p.hasBackref || p.code.size() < 4) return;
    const Inst& open = p.code[0];
    const Inst& repeat = p.code[1];
    const Inst& close = p.code[2];
    if (open.op != Op::Open || close.op != Op::Close || open.slot != close.slot) return;
    const bool run = repeat.op == Op::Repeat && repeat.greedy && repeat.possessive &&
                     repeat.min >= 1 && repeat.max == kRegexInfinite && !repeat.slot &&
                     repeat.atom != std::uint8_t(RepeatAtom::Any) &&
                     repeat.atom != std::uint8_t(RepeatAtom::AnyNoBreak);
    if (!run) return;
    for (const Inst& inst : p.code) {
        // A repeated back-reference compares more than its first character at once.
        if (inst.op == Op::RepeatBackref && inst.slot == open.slot) return;
        if (inst.op == Op::Backref && inst.slot == open.slot && inst.atom)
            p.capturedRunFold = true;
    }
    p.capturedRunGroup = open.slot;
}

void Compiler::analyseStart() {
    RegexProgram& p = m_program;
    for (const Inst& inst : p.code) {
        if (inst.op == Op::DepthFail) return;  // every start position must meet its error
    }
    // One literal, with modifier groups at most around it: the match is what the scan finds.
    const SyntaxNode& root = m_tree.nodes[m_tree.root];
    if (root.alternatives.size() == 1) {
        std::u16string text;
        int fold = -1;
        bool literal = true;
        for (int index : root.alternatives[0]) {
            const SyntaxNode& node = m_tree.nodes[index];
            if (node.kind == AtomKind::Empty) continue;
            const bool single = !node.quantified || (node.min == 1 && node.max == 1);
            if (node.kind != AtomKind::Char || !single || (fold >= 0 && fold != int(node.fold))) {
                literal = false;
                break;
            }
            fold = node.fold;
            text.push_back(node.ch);
        }
        if (literal && !text.empty()) {
            p.literalOnly = true;
            p.startLiterals = std::make_unique<LiteralScan>(std::vector{text}, fold == 1);
            return;
        }
    }
    // Every match begins with the string or the trie that the program begins with.
    std::size_t pc = 0;
    while (p.code[pc].op == Op::Open) ++pc;
    const Inst& first = p.code[pc];
    if (first.op == Op::Str) {
        p.startLiterals =
            std::make_unique<LiteralScan>(std::vector{p.strings[first.x]}, first.atom != 0);
        return;
    }
    if (first.op == Op::Trie) {
        const LiteralTrie& trie = p.tries[first.x];
        // Only a small trie keeps its literals for a scan.
        if (!trie.acceptsEmpty() && !trie.literals().empty()) {
            p.startLiterals = std::make_unique<LiteralScan>(trie.literals(), trie.fold());
            return;
        }
    }
    // Otherwise the first characters, when there are more than a scan for one or two takes.
    if (!p.canBeEmpty && p.firstCount > 2 && p.firstCount < 65536) {
        bool high = false;
        for (std::size_t w = 4; w < 1024 && !high; ++w) high = p.firstChars[w] != 0;
        p.startSet = std::make_unique<ByteSetScan>(p.firstChars.get(), high);
    }
}

}  // namespace

RegexProgram CompileRegex(const SyntaxTree& tree, const CharSet* wordSet) {
    Compiler compiler(tree, wordSet);
    return compiler.run();
}

}  // namespace tessaro

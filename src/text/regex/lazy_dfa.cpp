// SPDX-License-Identifier: GPL-3.0-or-later
// The lazy DFA. A DFA state is an ordered list of automaton states reached by consuming the
// previous unit (the threads, before their epsilon closure), whether the unanchored start
// loop is still running, what the assertions need to know of that previous unit, and
// whether a match ended just before it. Assertions depend on the units on both sides of a
// position, so the closure is taken when a transition is made, when the next unit (or the
// edge of the text) is known.
//
// Leftmost-first priority follows the backtracker: the closure visits threads in priority
// order, and a thread that reaches the match cuts every thread after it, the start loop
// included. The last match seen before the state dies is the one the backtracker reports.
// The reverse direction needs no priorities: it keeps every thread, with sorted lists so that
// equal sets share one state, and the smallest start seen is the match start.
//
// Transitions live in one flat array: per state a row of one entry per class, and one more
// holding the state's flags (whether a match ended before the unit that led into it). An
// entry is the target's row offset; tags above it mark the idle start state (where the
// accelerator may jump), dead ends and transitions not built yet, the only entries that
// make the inner loop leave. The match flag sits in the row rather than in the entry so
// that the entry can index the next load unchanged: the loop's dependency chain is then
// one load per unit, and recording a match is a conditional move beside it.
#include "text/regex/lazy_dfa.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "text/regex/regex_nfa.h"
#include "text/regex/unit_classes.h"

namespace tessaro {

namespace {

// Transition entries. Below kSlow an entry is the target's row offset and the inner loop
// follows it directly; the others make it leave for the slow path.
constexpr std::uint32_t kOffsetMask = (1u << 28) - 1;
constexpr std::uint32_t kStartTag = 1u << 28;          // with an offset: the idle start state
constexpr std::uint32_t kDead = 1u << 29;              // nothing can match any more
constexpr std::uint32_t kDeadAfterMatch = kDead | 1u;  // a match ended before the unit, then dead
constexpr std::uint32_t kUnknown = 1u << 30;           // not built yet
constexpr std::uint32_t kGiveUp = 0xFFFFFFFFu;         // only returned, never stored
constexpr std::uint32_t kSlow = kStartTag;

bool isDead(std::uint32_t entry) { return (entry & ~1u) == kDead; }

constexpr int kEdge = -1;  // the "class" of the outside of the text
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// Where an inner loop stopped: the position, the state there and the last match end.
struct Scan {
    std::size_t p;
    std::uint32_t cur;
    std::size_t last;
};

// The inner loops. They take and return plain values so that everything they touch can stay
// in registers, whatever the slow path around them does with its variables.
[[gnu::noinline]] Scan scanForward(const std::uint32_t* table, const std::uint16_t* map,
                                   const char16_t* t, std::size_t n, std::uint32_t flags, Scan s) {
    std::size_t p = s.p;
    std::uint32_t cur = s.cur;
    std::size_t last = s.last;
    while (p < n) {
        const std::uint32_t* column = table + map[t[p]];
        // Keeps the column pointer apart, so that the state is the only operand of the load
        // on the loop's dependency chain (the compiler would otherwise add the two first).
        asm("" : "+r"(column));
        const std::uint32_t nx = column[cur];
        if (nx >= kSlow) break;
        cur = nx;
        if (table[cur + flags]) last = p;
        ++p;
    }
    return {p, cur, last};
}

[[gnu::noinline]] Scan scanBackward(const std::uint32_t* table, const std::uint16_t* map,
                                    const char16_t* t, std::size_t from, std::uint32_t flags,
                                    Scan s) {
    std::size_t p = s.p;
    std::uint32_t cur = s.cur;
    std::size_t last = s.last;
    while (p > from) {
        const std::uint32_t* column = table + map[t[p - 1]];
        // Keeps the column pointer apart, so that the state is the only operand of the load
        // on the loop's dependency chain (the compiler would otherwise add the two first).
        asm("" : "+r"(column));
        const std::uint32_t nx = column[cur];
        if (nx >= kSlow) break;
        cur = nx;
        if (table[cur + flags]) last = p;
        --p;
    }
    return {p, cur, last};
}

}  // namespace

class LazyDfaDirection {
public:
    LazyDfaDirection(const Nfa& nfa, const UnitClasses& classes,
                     const std::vector<std::uint8_t>& classLook, bool forward,
                     const LazyDfaOptions& options);

    DfaOutcome findEnd(const char16_t* t, std::size_t n, std::size_t from, std::size_t& end,
                       DfaWork& work);
    DfaOutcome findStart(const char16_t* t, std::size_t n, std::size_t from, std::size_t end,
                         std::size_t& start, DfaWork& work);

    void setAccelerator(DfaAccelerator accelerator, const void* context) {
        if ((accelerator != nullptr) != (m_accelerator != nullptr)) clear();
        m_accelerator = accelerator;
        m_acceleratorContext = context;
    }

private:
    struct State {
        std::uint32_t key = 0;  // offset of the key in m_keys: header, then the threads
        std::uint32_t threads = 0;
        std::int8_t edgeMatch = -1;  // whether the text's end (start) matches here; -1 unknown
    };
    // The key header: look-behind bits, start loop running, match before the last unit.
    static std::uint32_t header(std::uint8_t look, bool start, bool match) {
        return std::uint32_t(look) | (start ? 1u << 8 : 0u) | (match ? 1u << 9 : 0u);
    }

    std::uint8_t lookAt(const char16_t* t, std::size_t n, std::size_t pos) const;
    struct Acceleration {
        bool on = false;
        std::size_t calls = 0;
        std::size_t skipped = 0;
    };
    bool accelerate(const char16_t* t, std::size_t n, std::size_t& p, std::uint32_t& cur,
                    Acceleration& a);
    DfaOutcome done(DfaOutcome outcome, std::uint64_t units) {
        m_work->units += units;
        m_unitsBefore += units;
        m_callUnits = 0;
        return outcome;
    }
    std::uint32_t startState(std::uint8_t look);
    std::uint32_t next(std::uint32_t id, int cls);
    bool edgeMatches(std::uint32_t id);
    bool closure(std::uint32_t index, int cls);
    std::uint32_t intern(const std::vector<std::int32_t>& key);
    std::uint32_t idOf(std::uint32_t index) const;
    std::uint8_t needed(std::uint8_t looks) const { return m_need[looks & 63]; }
    void clear();
    std::size_t stateBytes(std::size_t threads) const {
        // The row, the key, the record and its share of the lookup table.
        return m_stride * 4 + (threads + 1) * 4 + sizeof(State) + 16;
    }
    std::uint64_t unitsNow() const { return m_unitsBefore + m_callUnits; }

    const Nfa& m_nfa;
    const UnitClasses& m_classes;
    const std::vector<std::uint8_t>& m_classLook;
    std::vector<ClassBits> m_setBits;
    const bool m_forward;
    const LazyDfaOptions m_options;
    const std::uint32_t m_flagColumn;  // the class count: the flags follow the transitions
    const std::size_t m_stride;
    std::uint8_t m_need[64] = {};

    std::vector<std::uint32_t> m_table;
    std::vector<State> m_states;
    std::vector<std::int32_t> m_keys;
    std::vector<std::int32_t> m_slots;  // open addressing: state index or -1
    std::size_t m_bytes = 0;
    std::uint32_t m_startIds[32];

    DfaAccelerator m_accelerator = nullptr;
    const void* m_acceleratorContext = nullptr;

    // Work and the give-up rule.
    DfaWork* m_work = nullptr;
    std::uint64_t m_unitsBefore = 0;  // all units of earlier calls
    std::uint64_t m_callUnits = 0;    // units of this call up to the current slow path
    std::uint64_t m_unitsAtClear = 0;
    std::uint64_t m_statesSinceClear = 0;
    std::uint64_t m_clears = 0;

    // Scratch of the closure.
    std::vector<std::uint32_t> m_mark;
    std::uint32_t m_generation = 0;
    std::vector<std::int32_t> m_stack;
    std::vector<std::int32_t> m_consumers;
    std::vector<std::int32_t> m_key;
    std::vector<std::int32_t> m_current;
    bool m_matched = false;
};

LazyDfaDirection::LazyDfaDirection(const Nfa& nfa, const UnitClasses& classes,
                                   const std::vector<std::uint8_t>& classLook, bool forward,
                                   const LazyDfaOptions& options)
    : m_nfa(nfa),
      m_classes(classes),
      m_classLook(classLook),
      m_forward(forward),
      m_options(options),
      m_flagColumn(static_cast<std::uint32_t>(classes.count())),
      m_stride(static_cast<std::size_t>(classes.count()) + 1) {
    m_setBits.reserve(nfa.sets.size());
    for (const CharSet& set : nfa.sets) m_setBits.emplace_back(classes, set);
    for (unsigned looks = 0; looks < 64; ++looks) {
        std::uint8_t need = 0;
        for (int k = 0; k < kLookKinds; ++k) {
            if (!(looks & (1u << k))) continue;
            const auto kind = static_cast<LookKind>(k);
            need |= forward ? LookNeedsBefore(kind) : LookNeedsAfter(kind);
        }
        m_need[looks] = need;
    }
    m_mark.assign(nfa.states.size(), 0);
    clear();
}

void LazyDfaDirection::clear() {
    m_table.clear();
    m_states.clear();
    m_keys.clear();
    m_slots.assign(64, -1);
    m_bytes = m_slots.size() * 4;
    std::fill(std::begin(m_startIds), std::end(m_startIds), kUnknown);
    m_unitsAtClear = unitsNow();
    m_statesSinceClear = 0;
}

std::uint8_t LazyDfaDirection::lookAt(const char16_t* t, std::size_t n, std::size_t pos) const {
    if (m_forward) return pos == 0 ? look_bits::Edge : m_classLook[m_classes.classOf(t[pos - 1])];
    return pos >= n ? look_bits::Edge : m_classLook[m_classes.classOf(t[pos])];
}

std::uint32_t LazyDfaDirection::idOf(std::uint32_t index) const {
    const State& s = m_states[index];
    const std::uint32_t h = static_cast<std::uint32_t>(m_keys[s.key]);
    std::uint32_t id = static_cast<std::uint32_t>(index * m_stride);
    if (m_forward && m_accelerator && s.threads == 0 && (h & (1u << 8)) && !(h & (1u << 9)))
        id |= kStartTag;
    return id;
}

std::uint32_t LazyDfaDirection::intern(const std::vector<std::int32_t>& key) {
    std::uint64_t hash = 0x243F6A8885A308D3ull;
    for (std::int32_t v : key) hash = (hash ^ static_cast<std::uint32_t>(v)) * 0x100000001B3ull;
    hash ^= hash >> 29;
    const std::size_t mask = m_slots.size() - 1;
    std::size_t slot = static_cast<std::size_t>(hash) & mask;
    for (; m_slots[slot] >= 0; slot = (slot + 1) & mask) {
        const State& s = m_states[static_cast<std::size_t>(m_slots[slot])];
        if (s.threads + 1 == key.size() &&
            std::equal(key.begin(), key.end(), m_keys.begin() + s.key))
            return idOf(static_cast<std::uint32_t>(m_slots[slot]));
    }

    const std::size_t bytes = stateBytes(key.size() - 1);
    if (m_bytes + bytes > m_options.cacheBytes ||
        m_table.size() + m_stride > static_cast<std::size_t>(kOffsetMask)) {
        // Emptying the cache again and again while the scan hardly moves means the states
        // are not being reused: the backtracker will do better.
        const std::uint64_t progress = unitsNow() - m_unitsAtClear;
        if (m_clears >= m_options.clearsBeforeGiveUp &&
            progress < std::uint64_t(m_options.minUnitsPerState) * m_statesSinceClear)
            return kGiveUp;
        if (bytes + m_slots.size() * 4 > m_options.cacheBytes) return kGiveUp;
        clear();
        ++m_clears;
        ++m_work->cacheClears;
        return intern(key);
    }

    const auto index = static_cast<std::uint32_t>(m_states.size());
    State state;
    state.key = static_cast<std::uint32_t>(m_keys.size());
    state.threads = static_cast<std::uint32_t>(key.size() - 1);
    // Grown by hand up to the cap, so that a vector's doubling cannot hold twice the cap.
    const std::size_t capEntries = m_options.cacheBytes / 4;
    if (m_keys.size() + key.size() > m_keys.capacity())
        m_keys.reserve(std::min(capEntries, 2 * (m_keys.size() + key.size()) + 256));
    if (m_table.size() + m_stride > m_table.capacity())
        m_table.reserve(std::min(capEntries, 2 * (m_table.size() + m_stride) + 1024));
    m_keys.insert(m_keys.end(), key.begin(), key.end());
    m_states.push_back(state);
    m_table.resize(m_table.size() + m_stride, kUnknown);
    m_table.back() = (static_cast<std::uint32_t>(key[0]) >> 9) & 1u;
    m_bytes += bytes;
    ++m_statesSinceClear;
    ++m_work->statesBuilt;
    m_slots[slot] = static_cast<std::int32_t>(index);
    if (m_states.size() * 2 > m_slots.size()) {
        // Grow the lookup table; its share is already counted per state.
        std::vector<std::int32_t> slots(m_slots.size() * 2, -1);
        const std::size_t grown = slots.size() - 1;
        for (std::size_t i = 0; i < m_states.size(); ++i) {
            const State& s = m_states[i];
            std::uint64_t h = 0x243F6A8885A308D3ull;
            for (std::size_t k = 0; k <= s.threads; ++k)
                h = (h ^ static_cast<std::uint32_t>(m_keys[s.key + k])) * 0x100000001B3ull;
            h ^= h >> 29;
            std::size_t at = static_cast<std::size_t>(h) & grown;
            while (slots[at] >= 0) at = (at + 1) & grown;
            slots[at] = static_cast<std::int32_t>(i);
        }
        m_slots = std::move(slots);
    }
    return idOf(index);
}

std::uint32_t LazyDfaDirection::startState(std::uint8_t look) {
    const std::uint8_t reach = m_nfa.reachableLooks[static_cast<std::size_t>(m_nfa.start)];
    look &= needed(reach);
    std::uint32_t& cached = m_startIds[look & 31];
    if (cached != kUnknown) return cached;
    m_key.clear();
    if (m_forward) {
        // Nothing in progress; the start loop adds the expression's start at each position.
        m_key.push_back(static_cast<std::int32_t>(header(look, true, false)));
    } else {
        m_key.push_back(static_cast<std::int32_t>(header(look, false, false)));
        m_key.push_back(m_nfa.start);
    }
    const std::uint32_t id = intern(m_key);
    // intern may have emptied the cache, which resets the cached starts; set this one after.
    if (id != kGiveUp) m_startIds[look & 31] = id;
    return id;
}

// The closure of the state at index before a unit of class cls (kEdge: the text's edge):
// fills m_consumers with the consuming states in priority order and m_matched with whether
// a match state was reached.
bool LazyDfaDirection::closure(std::uint32_t index, int cls) {
    const State& s = m_states[index];
    const std::uint32_t h = static_cast<std::uint32_t>(m_keys[s.key]);
    const auto look = static_cast<std::uint8_t>(h & 0xFF);
    const bool start = h & (1u << 8);
    const std::uint8_t other =
        cls == kEdge ? look_bits::Edge : m_classLook[static_cast<std::size_t>(cls)];
    const std::uint8_t before = m_forward ? look : other;
    const std::uint8_t after = m_forward ? other : look;
    m_current.assign(m_keys.begin() + s.key + 1, m_keys.begin() + s.key + 1 + s.threads);
    if (start) m_current.push_back(m_nfa.start);

    if (++m_generation == 0) {
        std::fill(m_mark.begin(), m_mark.end(), 0);
        m_generation = 1;
    }
    m_consumers.clear();
    m_matched = false;
    std::uint64_t steps = 0;
    const NfaState* states = m_nfa.states.data();
    for (std::int32_t root : m_current) {
        m_stack.push_back(root);
        while (!m_stack.empty()) {
            const std::int32_t x = m_stack.back();
            m_stack.pop_back();
            ++steps;
            if (m_mark[static_cast<std::size_t>(x)] == m_generation) continue;
            m_mark[static_cast<std::size_t>(x)] = m_generation;
            const NfaState& st = states[x];
            switch (st.kind) {
                case NfaState::Kind::Consume:
                    m_consumers.push_back(x);
                    break;
                case NfaState::Kind::Match:
                    m_matched = true;
                    if (m_forward) {
                        // Everything not yet visited has lower priority than this match.
                        m_stack.clear();
                        m_work->nfaSteps += steps;
                        return start;
                    }
                    break;
                case NfaState::Kind::Split:
                    m_stack.push_back(st.out2);
                    m_stack.push_back(st.out);
                    break;
                case NfaState::Kind::Look:
                    if (LookHolds(st.look, before, after)) m_stack.push_back(st.out);
                    break;
            }
        }
    }
    m_work->nfaSteps += steps;
    return start;
}

bool LazyDfaDirection::edgeMatches(std::uint32_t id) {
    const std::uint32_t index = (id & kOffsetMask) / static_cast<std::uint32_t>(m_stride);
    State& s = m_states[index];
    if (s.edgeMatch < 0) {
        closure(index, kEdge);
        m_states[index].edgeMatch = m_matched ? 1 : 0;
    }
    return m_states[index].edgeMatch == 1;
}

std::uint32_t LazyDfaDirection::next(std::uint32_t id, int cls) {
    const std::uint32_t index = (id & kOffsetMask) / static_cast<std::uint32_t>(m_stride);
    const bool start = closure(index, cls);
    const bool matched = m_matched;

    // Step every consuming thread over the unit, keeping the first arrival at each state.
    m_key.clear();
    m_key.push_back(0);
    if (++m_generation == 0) {
        std::fill(m_mark.begin(), m_mark.end(), 0);
        m_generation = 1;
    }
    std::uint8_t reach = 0;
    const NfaState* states = m_nfa.states.data();
    for (std::int32_t x : m_consumers) {
        const NfaState& st = states[x];
        if (!m_setBits[static_cast<std::size_t>(st.set)].has(cls)) continue;
        const std::int32_t target = st.out;
        if (m_mark[static_cast<std::size_t>(target)] == m_generation) continue;
        m_mark[static_cast<std::size_t>(target)] = m_generation;
        m_key.push_back(target);
        reach |= m_nfa.reachableLooks[static_cast<std::size_t>(target)];
    }
    if (!m_forward) std::sort(m_key.begin() + 1, m_key.end());
    // A match cuts the start loop along with every other lower-priority thread.
    const bool nextStart = start && !(m_forward && matched);
    if (nextStart) reach |= m_nfa.reachableLooks[static_cast<std::size_t>(m_nfa.start)];
    if (m_key.size() == 1 && !nextStart) {
        // No thread left: the search ends here, after recording the match if there was one.
        const std::uint32_t end = matched ? kDeadAfterMatch : kDead;
        m_table[(id & kOffsetMask) + static_cast<std::uint32_t>(cls)] = end;
        return end;
    }
    const std::uint8_t look = m_classLook[static_cast<std::size_t>(cls)] & needed(reach);
    m_key[0] = static_cast<std::int32_t>(header(look, nextStart, matched));

    const std::uint64_t clears = m_clears;
    const std::uint32_t target = intern(m_key);
    // After an emptied cache the source row is gone; the transition is simply not kept.
    if (target != kGiveUp && clears == m_clears)
        m_table[(id & kOffsetMask) + static_cast<std::uint32_t>(cls)] = target;
    return target;
}

bool LazyDfaDirection::accelerate(const char16_t* t, std::size_t n, std::size_t& p,
                                  std::uint32_t& cur, Acceleration& a) {
    if (!a.on || p >= n) return true;
    std::size_t q = m_accelerator(m_acceleratorContext, t, n, p);
    if (q > n) q = n;
    ++a.calls;
    if (q > p) {
        a.skipped += q - p;
        m_work->skipped += q - p;
        m_unitsBefore += q - p;
        p = q;
        const std::uint32_t id = startState(lookAt(t, n, p));
        if (id == kGiveUp) return false;
        cur = id & kOffsetMask;
    }
    // A scan that seldom skips far costs more than it saves.
    if (a.calls >= 32 && a.skipped < 8 * a.calls) a.on = false;
    return true;
}

DfaOutcome LazyDfaDirection::findEnd(const char16_t* t, std::size_t n, std::size_t from,
                                     std::size_t& end, DfaWork& work) {
    m_work = &work;
    m_callUnits = 0;
    const std::uint16_t* map = m_classes.map();
    const std::uint32_t flags = m_flagColumn;
    std::size_t p = from;
    std::size_t last = kNone;
    std::uint64_t units = 0;  // transitions taken before p last jumped
    Acceleration acceleration;
    acceleration.on = m_accelerator != nullptr;

    std::uint32_t id = startState(lookAt(t, n, p));
    if (id == kGiveUp) return done(DfaOutcome::GaveUp, units);
    std::uint32_t cur = id & kOffsetMask;
    if ((id & kStartTag) && !accelerate(t, n, p, cur, acceleration))
        return done(DfaOutcome::GaveUp, units);
    std::size_t base = p;  // units are counted from here
    const std::uint32_t* table = m_table.data();
    for (;;) {
        const Scan scan = scanForward(table, map, t, n, flags, {p, cur, last});
        p = scan.p;
        cur = scan.cur;
        last = scan.last;
        if (p >= n) break;
        const int cls = map[t[p]];
        std::uint32_t nx = table[cur + static_cast<std::uint32_t>(cls)];
        if (nx == kUnknown) {
            m_callUnits = units + (p - base);
            nx = next(cur, cls);
            if (nx == kGiveUp) return done(DfaOutcome::GaveUp, units + (p - base));
            table = m_table.data();
        }
        if (isDead(nx)) {
            if (nx == kDeadAfterMatch) last = p;
            if (last != kNone) end = last;
            return done(last == kNone ? DfaOutcome::NotFound : DfaOutcome::Found,
                        units + (p - base) + 1);
        }
        cur = nx & kOffsetMask;
        if (table[cur + flags]) last = p;
        ++p;
        if (nx & kStartTag) {
            units += p - base;
            if (!accelerate(t, n, p, cur, acceleration)) return done(DfaOutcome::GaveUp, units);
            base = p;
            table = m_table.data();
        }
    }
    units += p - base + 1;
    if (edgeMatches(cur)) last = n;
    if (last == kNone) return done(DfaOutcome::NotFound, units);
    end = last;
    return done(DfaOutcome::Found, units);
}

DfaOutcome LazyDfaDirection::findStart(const char16_t* t, std::size_t n, std::size_t from,
                                       std::size_t end, std::size_t& start, DfaWork& work) {
    m_work = &work;
    m_callUnits = 0;
    const std::uint16_t* map = m_classes.map();
    const std::uint32_t flags = m_flagColumn;
    std::size_t p = end;
    std::size_t last = kNone;

    const std::uint32_t id = startState(lookAt(t, n, p));
    if (id == kGiveUp) return done(DfaOutcome::GaveUp, 0);
    std::uint32_t cur = id & kOffsetMask;
    const std::uint32_t* table = m_table.data();
    bool stopped = false;
    for (;;) {
        const Scan scan = scanBackward(table, map, t, from, flags, {p, cur, last});
        p = scan.p;
        cur = scan.cur;
        last = scan.last;
        if (p == 0) break;  // the text's start: judged below
        // Either a slow entry, or p == from: the unit before from is read only to judge the
        // assertions at from, and whether a match starts there.
        const int cls = map[t[p - 1]];
        std::uint32_t nx = table[cur + static_cast<std::uint32_t>(cls)];
        if (nx == kUnknown) {
            m_callUnits = end - p;
            nx = next(cur, cls);
            if (nx == kGiveUp) return done(DfaOutcome::GaveUp, end - p);
            table = m_table.data();
        }
        if (isDead(nx)) {
            if (nx == kDeadAfterMatch) last = p;
            stopped = true;
            break;
        }
        const std::uint32_t target = nx & kOffsetMask;
        if (table[target + flags]) last = p;
        if (p == from) {
            stopped = true;
            break;
        }
        cur = target;
        --p;
    }
    if (!stopped && edgeMatches(cur)) last = 0;
    const std::uint64_t units = end - p + 1;
    if (last == kNone) return done(DfaOutcome::NotFound, units);
    start = last;
    return done(DfaOutcome::Found, units);
}

// ---------------------------------------------------------------------------------------

RegexDfa::RegexDfa() = default;
RegexDfa::~RegexDfa() = default;

bool RegexDfa::contextEligible(const MatchContext& context) {
    if (!context.hasPair) return true;
    return context.pairFirst != context.pairSecond &&
           context.lineSeparators.contains(context.pairFirst) &&
           context.lineSeparators.contains(context.pairSecond);
}

std::unique_ptr<RegexDfa> RegexDfa::create(const SyntaxTree& tree, const MatchContext& context,
                                           const LazyDfaOptions& options) {
    if (!contextEligible(context)) return nullptr;
    CharSet words = context.wordSet;
    words.finish();
    CharSet separators = context.lineSeparators;
    separators.finish();

    NfaBuildOptions build;
    build.maxStates = options.maxNfaStates;
    build.lineSeparators = &separators;
    auto forward = BuildNfa(tree, build);
    if (!forward) return nullptr;
    build.reverse = true;
    auto reverse = BuildNfa(tree, build);
    if (!reverse) return nullptr;

    CharSet pairFirst, pairSecond;
    std::vector<const CharSet*> sets{&words, &separators};
    if (context.hasPair) {
        pairFirst.add(context.pairFirst);
        pairFirst.finish();
        pairSecond.add(context.pairSecond);
        pairSecond.finish();
        sets.push_back(&pairFirst);
        sets.push_back(&pairSecond);
    }
    for (const CharSet& set : forward->sets) sets.push_back(&set);
    for (const CharSet& set : reverse->sets) sets.push_back(&set);
    auto classes = std::make_unique<UnitClasses>(sets);
    if (classes->count() > options.maxClasses) return nullptr;

    std::unique_ptr<RegexDfa> dfa(new RegexDfa());
    dfa->m_classLook.resize(static_cast<std::size_t>(classes->count()));
    for (int c = 0; c < classes->count(); ++c) {
        const char16_t unit = classes->representative(c);
        std::uint8_t bits = 0;
        if (words.contains(unit)) bits |= look_bits::Word;
        if (separators.contains(unit)) bits |= look_bits::Separator;
        if (context.hasPair && unit == context.pairFirst) bits |= look_bits::PairFirst;
        if (context.hasPair && unit == context.pairSecond) bits |= look_bits::PairSecond;
        dfa->m_classLook[static_cast<std::size_t>(c)] = bits;
    }
    dfa->m_forward =
        std::make_unique<LazyDfaDirection>(*forward, *classes, dfa->m_classLook, true, options);
    dfa->m_reverse =
        std::make_unique<LazyDfaDirection>(*reverse, *classes, dfa->m_classLook, false, options);
    dfa->m_classes = std::move(classes);
    dfa->m_forwardNfa = std::move(forward);
    dfa->m_reverseNfa = std::move(reverse);
    return dfa;
}

DfaOutcome RegexDfa::findEnd(std::u16string_view text, std::size_t from, std::size_t& end) {
    m_work = {};
    if (from > text.size()) return DfaOutcome::NotFound;
    if (m_forwardNfa->anchoredAtInputStart && from > 0) return DfaOutcome::NotFound;
    return m_forward->findEnd(text.data(), text.size(), from, end, m_work);
}

DfaOutcome RegexDfa::findStart(std::u16string_view text, std::size_t from, std::size_t end,
                               std::size_t& start) {
    m_work = {};
    if (from > end || end > text.size()) return DfaOutcome::NotFound;
    return m_reverse->findStart(text.data(), text.size(), from, end, start, m_work);
}

void RegexDfa::setAccelerator(DfaAccelerator accelerator, const void* context) {
    m_forward->setAccelerator(accelerator, context);
}

int RegexDfa::classCount() const { return m_classes->count(); }

std::size_t RegexDfa::nfaStates() const { return m_forwardNfa->states.size(); }

}  // namespace tessaro

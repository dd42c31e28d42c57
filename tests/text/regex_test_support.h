// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers for the engine tests: an engine with chosen options and a switchable language,
// and the list of all matches as replace-all walks them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "text/regex_engine.h"

namespace tessaro::test {

// A small deterministic generator for the random tests, the same on every platform.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint32_t next() {
        m_state = m_state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::uint32_t>(m_state >> 33);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }
    bool chance(int percent) { return below(100) < percent; }

private:
    std::uint64_t m_state;
};

struct Hit {
    int start;
    int length;
    bool operator==(const Hit&) const = default;
};

class EngineFixture {
public:
    explicit EngineFixture(RegexOptions options = {}) : m_options(std::move(options)) {}

    TRegexEngine& engine(std::u16string_view expression) {
        m_engine = std::make_unique<TRegexEngine>(m_options, state, [this] { return language; });
        m_engine->setExpression(expression);
        return *m_engine;
    }

    // Every match of expression in text, 1-based, following MatchFirst and MatchNext.
    std::vector<Hit> all(std::u16string_view expression, std::u16string_view text) {
        TRegexEngine& e = engine(expression);
        std::vector<Hit> hits;
        for (bool ok = e.MatchFirst(text); ok; ok = e.MatchNext()) {
            hits.push_back({e.MatchStart(0), e.MatchLength(0)});
        }
        return hits;
    }

    // The first match as text, or "<none>".
    std::u16string first(std::u16string_view expression, std::u16string_view text) {
        TRegexEngine& e = engine(expression);
        if (!e.MatchFirst(text)) return u"<none>";
        return std::u16string(text.substr(e.MatchStart(0) - 1, e.MatchLength(0)));
    }

    // The code a compile of expression reports, 0 if none.
    int compileError(std::u16string_view expression) {
        state = {};
        TRegexEngine& e = engine(expression);
        e.MatchFirst(u"");
        return e.lastErrorCode();
    }

    RegexOptions m_options;
    RegExErrorState state;
    std::u16string language = u"de";
    std::unique_ptr<TRegexEngine> m_engine;
};

}  // namespace tessaro::test

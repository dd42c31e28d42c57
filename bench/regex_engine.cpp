// SPDX-License-Identifier: GPL-3.0-or-later
// Benchmark of the regular-expression engine against PCRE2-16 (interpreter, no JIT, no UTF)
// and std::regex, counting all matches of a pattern as a replace-all walks them.
// Prints million characters per second and the speed ratio to PCRE2-16 per pattern.
#include <benchmark/benchmark.h>

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "text/regex_engine.h"

namespace {

using namespace tessaro;

// A deterministic English-like text: words, capitals, numbers at line starts, repeated
// words and the name the literal patterns look for.
std::u16string makeEnglish(std::size_t size) {
    static const char* const words[] = {
        "the",      "of",       "and",    "to",     "in",     "a",      "is",       "that",
        "for",      "it",       "as",     "was",    "with",   "be",     "by",       "on",
        "not",      "he",       "I",      "this",   "are",    "or",     "his",      "from",
        "at",       "which",    "but",    "have",   "an",     "had",    "they",     "you",
        "were",     "their",    "one",    "all",    "we",     "can",    "her",      "has",
        "there",    "been",     "if",     "more",   "when",   "will",   "would",    "who",
        "so",       "no",       "Holmes", "Watson", "street", "London", "evening",  "window",
        "remarked", "singular", "food",   "barrel", "bazaar", "quux",   "Sherlock", "sherlock",
        "SHERLOCK"};
    constexpr int wordCount = sizeof(words) / sizeof(words[0]);
    std::uint64_t state = 42;
    auto next = [&state](std::uint32_t bound) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::uint32_t>(state >> 33) % bound;
    };
    std::u16string text;
    text.reserve(size + 64);
    int column = 0;
    while (text.size() < size) {
        if (column == 0 && next(4) == 0) {
            text += u"  ";
            for (std::uint32_t d = 1 + next(4); d > 0; --d) text.push_back(u'0' + next(10));
            text += u". ";
        }
        // Rare words stay rare: the name about once in 700 words.
        int index = static_cast<int>(next(wordCount - 3));
        if (next(700) == 0) index = wordCount - 3 + static_cast<int>(next(3));
        const char* word = words[index];
        for (const char* c = word; *c; ++c) text.push_back(static_cast<char16_t>(*c));
        if (next(50) == 0) {  // a doubled word
            text.push_back(u' ');
            for (const char* c = word; *c; ++c) text.push_back(static_cast<char16_t>(*c));
        }
        const std::uint32_t punctuation = next(20);
        if (punctuation == 0)
            text += u".";
        else if (punctuation == 1)
            text += u",";
        column += 1;
        if (column > 12 + static_cast<int>(next(6))) {
            text += u"\n";
            column = 0;
        } else {
            text += u" ";
        }
    }
    text.resize(size);
    return text;
}

const std::u16string& english() {
    static const std::u16string text = makeEnglish(10'000'000);
    return text;
}

const std::u16string& abab() {
    static const std::u16string text = [] {
        std::u16string t;
        for (int k = 0; k < 20'000; ++k) t += u"ab";
        return t;
    }();
    return text;
}

struct Pattern {
    const char* name;
    const char16_t* expression;
    bool pathological;
    std::regex::flag_type stdFlags;
    const char* stdExpression;
};

const Pattern kPatterns[] = {
    {"Sherlock", u"Sherlock", false, std::regex::ECMAScript, "Sherlock"},
    {"(?i)sherlock", u"(?i)sherlock", false, std::regex::ECMAScript | std::regex::icase,
     "sherlock"},
    {"[a-z]+", u"[a-z]+", false, std::regex::ECMAScript, "[a-z]+"},
    {"\\b\\w+\\b", u"\\b\\w+\\b", false, std::regex::ECMAScript, "\\b\\w+\\b"},
    {"(foo|bar|baz|quux)", u"(foo|bar|baz|quux)", false, std::regex::ECMAScript,
     "(foo|bar|baz|quux)"},
    {"(?m)^\\s*\\d+", u"(?m)^\\s*\\d+", false, std::regex::ECMAScript | std::regex::multiline,
     "^\\s*\\d+"},
    {"(\\w+)\\s+\\1", u"(\\w+)\\s+\\1", false, std::regex::ECMAScript, "(\\w+)\\s+\\1"},
    {"(a|b)*c", u"(a|b)*c", true, std::regex::ECMAScript, "(a|b)*c"},
    {"(a|b)*[cd]", u"(a|b)*[cd]", true, std::regex::ECMAScript, "(a|b)*[cd]"},
};

const std::u16string& textFor(const Pattern& pattern) {
    return pattern.pathological ? abab() : english();
}

std::map<std::string, long> g_counts;

void BM_Ours(benchmark::State& state, const Pattern* pattern) {
    const std::u16string& text = textFor(*pattern);
    // The engine keeps the text it searches; sharing it, as the memo controls do, spares
    // the copy of 20 MB per run.
    const auto shared = std::make_shared<const std::u16string>(text);
    RegexOptions options;
    RegExErrorState error;
    long count = 0;
    for (auto _ : state) {
        TRegexEngine engine(options, error, {});
        engine.setExpression(pattern->expression);
        count = 0;
        for (bool ok = engine.MatchFirst(shared); ok; ok = engine.MatchNext()) ++count;
        benchmark::DoNotOptimize(count);
    }
    if (!error.noError) state.SkipWithError("engine error");
    g_counts[std::string("ours ") + pattern->name] = count;
    state.counters["matches"] = static_cast<double>(count);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

void BM_Pcre2(benchmark::State& state, const Pattern* pattern) {
    const std::u16string& text = textFor(*pattern);
    const std::u16string expression = pattern->expression;
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(expression.data()),
                                     expression.size(), 0, &errorCode, &errorOffset, nullptr);
    if (!code) {
        state.SkipWithError("compile failed");
        return;
    }
    pcre2_match_data* data = pcre2_match_data_create_from_pattern(code, nullptr);
    long count = 0;
    int failure = 0;
    for (auto _ : state) {
        count = 0;
        std::size_t start = 0;
        while (start <= text.size()) {
            const int rc = pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(),
                                       start, 0, data, nullptr);
            if (rc < 0) {
                if (rc != PCRE2_ERROR_NOMATCH) failure = rc;
                break;
            }
            const PCRE2_SIZE* vector = pcre2_get_ovector_pointer(data);
            ++count;
            start = vector[1] + (vector[1] == vector[0] ? 1 : 0);
        }
        benchmark::DoNotOptimize(count);
    }
    pcre2_match_data_free(data);
    pcre2_code_free(code);
    if (failure) state.SetLabel("PCRE2 error " + std::to_string(failure) + " (gave up)");
    g_counts[std::string("pcre2 ") + pattern->name] = failure ? -1 : count;
    state.counters["matches"] = static_cast<double>(count);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

void BM_StdRegex(benchmark::State& state, const Pattern* pattern) {
    const std::u16string& wide = textFor(*pattern);
    std::string text(wide.begin(), wide.end());  // the text is ASCII
    const std::regex re(pattern->stdExpression, pattern->stdFlags);
    long count = 0;
    for (auto _ : state) {
        count = std::distance(std::sregex_iterator(text.begin(), text.end(), re),
                              std::sregex_iterator());
        benchmark::DoNotOptimize(count);
    }
    g_counts[std::string("std ") + pattern->name] = count;
    state.counters["matches"] = static_cast<double>(count);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

// Collects the timings to print the comparison table after the run.
class TableReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            // With repetitions the median stands for the pattern; otherwise the one run.
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Aggregate && !median) continue;
            std::string name = run.run_name.function_name;
            const double seconds =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            if (median || m_medians.count(name) == 0) m_seconds[name] = seconds;
            if (median) m_medians.insert(name);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    double seconds(const std::string& name) const {
        const auto it = m_seconds.find(name);
        return it == m_seconds.end() ? 0 : it->second;
    }

private:
    std::map<std::string, double> m_seconds;
    std::set<std::string> m_medians;
};

}  // namespace

int main(int argc, char** argv) {
    english();
    abab();
    for (const Pattern& pattern : kPatterns) {
        benchmark::RegisterBenchmark((std::string("ours/") + pattern.name).c_str(), BM_Ours,
                                     &pattern)
            ->Unit(benchmark::kMillisecond);
        auto* pcre = benchmark::RegisterBenchmark((std::string("pcre2/") + pattern.name).c_str(),
                                                  BM_Pcre2, &pattern);
        pcre->Unit(benchmark::kMillisecond);
        // PCRE2 needs half a minute for (a|b)*[cd]: once is enough.
        if (pattern.pathological) pcre->Repetitions(1);
        // std::regex recurses once per repetition: on the 40,000-character pathological
        // inputs it overflows the stack, so it runs only on the English text.
        if (!pattern.pathological) {
            benchmark::RegisterBenchmark((std::string("std/") + pattern.name).c_str(), BM_StdRegex,
                                         &pattern)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1);
        }
    }
    benchmark::Initialize(&argc, argv);
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\n%-20s %11s %11s %11s %10s %10s %8s %9s\n", "pattern", "ours Mch/s",
                "PCRE2 Mch/s", "std Mch/s", "ours ms", "PCRE2 ms", "ratio", "matches");
    for (const Pattern& pattern : kPatterns) {
        const double chars = static_cast<double>(textFor(pattern).size()) / 1e6;
        const double ours = reporter.seconds(std::string("ours/") + pattern.name);
        const double pcre = reporter.seconds(std::string("pcre2/") + pattern.name);
        const double std = reporter.seconds(std::string("std/") + pattern.name);
        if (ours <= 0 && pcre <= 0) continue;  // filtered out of this run
        auto rate = [&](double seconds) { return seconds > 0 ? chars / seconds : 0.0; };
        const long ourCount = g_counts[std::string("ours ") + pattern.name];
        const long pcreCount = g_counts[std::string("pcre2 ") + pattern.name];
        char stdRate[32] = "skipped";
        if (std > 0) std::snprintf(stdRate, sizeof stdRate, "%.1f", rate(std));
        std::printf("%-20s %11.1f %11.1f %11s %10.3f %10.3f %7.2fx %9ld%s\n", pattern.name,
                    rate(ours), rate(pcre), stdRate, ours * 1e3, pcre * 1e3,
                    ours > 0 ? pcre / ours : 0.0, ourCount,
                    pcreCount < 0           ? "  (PCRE2 gave up: match limit)"
                    : pcreCount != ourCount ? "  (COUNTS DIFFER)"
                                            : "");
    }
    benchmark::Shutdown();
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Replace-all on a 10 MiB text (5 Mi UTF-16 code units): a plain pair, exact and ignoring
// case, and a table of ten pairs (plain and regular expressions mixed), each paired per
// iteration with one memcpy of the same text. Buffers are allocated once; the first
// iteration is a warm-up. Prints the ratio to the memcpy at the end; the goal for the plain
// replace-all is at most 3.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "text/regex_options.h"
#include "text/text_actions.h"
#include "text/wide_replace.h"

namespace {

using namespace tessaro;

constexpr std::size_t kUnits = 5 * 1024 * 1024;

const std::u16string& proseText() {
    static const std::u16string text = [] {
        const std::u16string piece =
            u"Gr\u00FC\u00DFe aus K\u00F6ln! Der Preis betr\u00E4gt 5 \u20AC \u2013 "
            u"inklusive Mehrwertsteuer (19 %). Fragen? Schreiben Sie an info@example.org.\r\n"
            u"Ein + und ein - und ein ~ oder \\ im Text, dazu \U0001F600 aus k\u00F6ln.\r\n";
        std::u16string built;
        built.reserve(kUnits + piece.size());
        while (built.size() < kUnits) built += piece;
        built.resize(kUnits);
        return built;
    }();
    return text;
}

struct Row {
    std::u16string search;
    std::u16string replacement;
    ReplaceFlags flags;
};

const std::vector<Row> kTable = {
    {u"K\u00F6ln", u"Cologne", {}},
    {u"Mehrwertsteuer", u"MwSt.", {}},
    {u"\\d+ %", u"n %", {true, false}},
    {u"\r\n", u"\n", {}},
    {u"(\\w+)@example\\.org", u"<$1 at example>", {true, true}},
    {u"Preis", u"Betrag", {}},
    {u"Fragen\\?", u"Noch Fragen?", {true, false}},
    {u"\u20AC", u"EUR", {}},
    {u"\\bund\\b", u"&", {true, true}},
    {u"\U0001F600", u":-)", {}},
};

double seconds(std::chrono::steady_clock::time_point from,
               std::chrono::steady_clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// Runs `work` after a memcpy of the text in each iteration; reports work's time and the
// ratio of the two totals. The first round is a warm-up and is not counted.
template <typename Work>
void paired(benchmark::State& state, Work work) {
    const std::u16string& text = proseText();
    std::u16string copy(text.size(), u'\0');
    const auto memcpyOnce = [&] {
        std::memcpy(copy.data(), text.data(), text.size() * sizeof(char16_t));
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    };
    memcpyOnce();
    work();
    double copyTotal = 0;
    double workTotal = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        memcpyOnce();
        const auto t1 = std::chrono::steady_clock::now();
        work();
        const auto t2 = std::chrono::steady_clock::now();
        copyTotal += seconds(t0, t1);
        workTotal += seconds(t1, t2);
        state.SetIterationTime(seconds(t1, t2));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size() * sizeof(char16_t)));
    state.counters["memcpy_ms"] = 1000.0 * copyTotal / static_cast<double>(state.iterations());
    state.counters["ratio"] = workTotal / copyTotal;
}

void BM_PlainPair(benchmark::State& state) {
    std::u16string out;
    out.reserve(kUnits * 2);
    paired(state, [&] {
        if (!WideReplaceAllInto(proseText(), u"K\u00F6ln", u"Cologne", out)) std::abort();
        benchmark::DoNotOptimize(out.data());
    });
}

void BM_PlainPairShorter(benchmark::State& state) {
    std::u16string out;
    out.reserve(kUnits * 2);
    paired(state, [&] {
        if (!WideReplaceAllInto(proseText(), u"Mehrwertsteuer", u"MwSt.", out)) std::abort();
        benchmark::DoNotOptimize(out.data());
    });
}

void BM_PlainPairIgnoreCase(benchmark::State& state) {
    std::u16string out;
    out.reserve(kUnits * 2);
    paired(state, [&] {
        if (!WideReplaceAllIgnoreCaseInto(proseText(), u"K\u00D6LN", u"Cologne", out)) std::abort();
        benchmark::DoNotOptimize(out.data());
    });
}

void BM_TableOfTen(benchmark::State& state) {
    RegexOptions options;
    RegExErrorState errors;
    bool failed = false;
    const RegexReplaceContext context{options, errors, [] { return std::u16string(u"en"); },
                                      [&failed](const std::u16string&) { failed = true; }};
    std::u16string text;
    std::u16string scratch;
    text.reserve(kUnits * 2);
    scratch.reserve(kUnits * 2);
    paired(state, [&] {
        text.assign(proseText());
        for (const Row& row : kTable) {
            ApplyReplacePair(text, row.search, row.replacement, row.flags, true, context, scratch);
        }
        benchmark::DoNotOptimize(text.data());
    });
    if (failed) state.SkipWithError("a regular-expression row failed");
}

}  // namespace

BENCHMARK(BM_PlainPair)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainPairShorter)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainPairIgnoreCase)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TableOfTen)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

BENCHMARK_MAIN();

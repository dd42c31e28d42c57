// SPDX-License-Identifier: GPL-3.0-or-later
// One pipeline run (details list, display model, history row) for large texts and a 4K
// bitmap on the in-memory clipboard, with the time of one memcpy of the same bytes
// measured in the same run; "memcpy_ratio" is the run time in memcpy-equivalents.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "platform/allocator_tuning.h"
#include "platform/memory_clipboard.h"
#include "platform/test_desktop.h"
#include "platform/windows_1252.h"
#include "ui/application.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace tessaro;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The fastest of a few copies of `bytes` bytes between buffers allocated once: the
// physical floor for touching them once.
double memcpySeconds(std::size_t bytes) {
    static std::vector<char> from, to;
    if (from.size() < bytes) {
        from.assign(bytes, 'x');
        to.assign(bytes, 'y');
    }
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        const auto start = Clock::now();
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
        best = std::min(best, secondsSince(start));
    }
    return best;
}

std::u16string englishLikeText(std::size_t characters) {
    static const std::u16string words[] = {u"the ", u"clipboard ", u"Tessaro ", u"über ", u"copies ",
                                           u"text\r\n", u"and ", u"images ", u"5 \u20ac ", u"quickly "};
    std::u16string text;
    text.reserve(characters + 16);
    for (std::size_t i = 0; text.size() < characters; ++i) text += words[(i * 7 + i / 3) % 10];
    text.resize(characters);
    return text;
}

void runCapture(benchmark::State& state, const MemoryClipboard::Content& content, std::size_t referenceBytes) {
    TestDesktop desktop;
    MemoryClipboard clipboard;
    Application app(desktop, clipboard);
    app.createWindows();
    // One untimed run first: the first touch of fresh memory is not what repeated
    // captures cost.
    desktop.advance(1000);
    clipboard.putFromOtherProgram(content);
    double reference = 0;
    double totalRun = 0;
    double totalReference = 0;
    for (auto _ : state) {
        desktop.advance(1000);
        MemoryClipboard::Content copy = content;
        // The change is announced from putFromOtherProgram(): the whole run is timed there.
        const auto start = Clock::now();
        clipboard.putFromOtherProgram(std::move(copy));
        const double seconds = secondsSince(start);
        state.SetIterationTime(seconds);
        reference = memcpySeconds(referenceBytes);
        totalRun += seconds;
        totalReference += reference;
        // Keep memory flat between runs.
        app.mainWindow().zuletzt.clear();
        app.history().HistoryTexts.clear();
        app.history().TextHistoryCount = 0;
    }
    state.counters["memcpy_ms"] = totalReference * 1000 / static_cast<double>(state.iterations());
    state.counters["memcpy_ratio"] = totalRun / totalReference;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * referenceBytes));
}

void TextCapture(benchmark::State& state) {
    const auto characters = static_cast<std::size_t>(state.range(0));
    const std::u16string text = englishLikeText(characters);
    const MemoryClipboard::Content content = {{CF_UNICODETEXT, utf16Block(text)},
                                              {CF_TEXT, ansiBlock(utf16ToAnsi(text))}};
    runCapture(state, content, text.size() * 2);
}

void BitmapCapture(benchmark::State& state) {
    auto bitmap = std::make_shared<Bitmap>(Bitmap::blank(3840, 2160, 32));
    for (std::size_t i = 0; i < bitmap->pixels.size(); ++i) bitmap->pixels[i] = static_cast<std::uint8_t>(i);
    const MemoryClipboard::Content content = {{CF_BITMAP, std::shared_ptr<const Bitmap>(bitmap)}};
    runCapture(state, content, bitmap->pixels.size());
}

}  // namespace

BENCHMARK(TextCapture)->Arg(1'000'000)->Arg(10'000'000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BitmapCapture)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

int main(int argc, char** argv) {
    // The program's own allocator settings, so that the figures are the program's.
    tessaro::keepLargeBlocksForReuse();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

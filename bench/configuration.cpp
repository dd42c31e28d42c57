// SPDX-License-Identifier: GPL-3.0-or-later
// Saving and loading the whole configuration with a 1,000-row replacement table. Each
// iteration also writes the same bytes through the bare file helper (temporary file, flush,
// rename), so that the ratio shows what walking the windows and the profile rules cost on
// top of the disk; "rewrites" counts the file rewrites of one save (the goal is one).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/atomic_file.h"
#include "platform/memory_clipboard.h"
#include "platform/test_desktop.h"
#include "ui/application.h"

namespace {

using namespace tessaro;

std::filesystem::path benchFolder() {
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "tessaro-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        return std::filesystem::path(pattern);
    }();
    return folder;
}

struct Program {
    TestDesktop desktop;
    MemoryClipboard clipboard;
    Application app{desktop, clipboard};

    Program() {
        desktop.setProgramFolder(benchFolder() / "");
        app.createWindows();
        ListView& table = app.mainWindow().act_ers_text_liste;
        for (int row = 0; row < 1000; ++row) {
            table.append({u"search text number " + std::u16string(1, char16_t(u'A' + row % 26)),
                          {SharedText(u"replacement\r\nwith a second line"), SharedText(row % 2 ? u"1" : u"")}});
        }
    }
};

double seconds(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

std::string contentOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void BM_SaveConfiguration(benchmark::State& state) {
    Program program;
    const auto path = benchFolder() / "Auto.tpf";
    program.app.configuration().KonfigurationSpeichern(path);
    const std::string bytes = contentOf(path);
    double saveTotal = 0, rawTotal = 0;
    unsigned long long rewrites = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        WriteFileAtomically((benchFolder() / "raw.tpf").string(), bytes);
        const auto t1 = std::chrono::steady_clock::now();
        const unsigned long long before = AtomicFile::commits();
        program.app.configuration().KonfigurationSpeichern(path);
        rewrites += AtomicFile::commits() - before;
        const auto t2 = std::chrono::steady_clock::now();
        rawTotal += seconds(t0, t1);
        saveTotal += seconds(t1, t2);
        state.SetIterationTime(seconds(t1, t2));
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["file_KiB"] = static_cast<double>(bytes.size()) / 1024.0;
    state.counters["rewrites"] = static_cast<double>(rewrites) / n;
    state.counters["raw_ms"] = 1000.0 * rawTotal / n;
    state.counters["to_raw"] = saveTotal / rawTotal;
}

void BM_LoadConfiguration(benchmark::State& state) {
    Program program;
    const auto path = benchFolder() / "Load.tpf";
    program.app.configuration().KonfigurationSpeichern(path);
    const std::string bytes = contentOf(path);
    double loadTotal = 0, rawTotal = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(contentOf(path));
        const auto t1 = std::chrono::steady_clock::now();
        program.app.configuration().KonfigurationLaden(LoadOrigin::UserCommand, path);
        const auto t2 = std::chrono::steady_clock::now();
        rawTotal += seconds(t0, t1);
        loadTotal += seconds(t1, t2);
        state.SetIterationTime(seconds(t1, t2));
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["rows"] = static_cast<double>(program.app.mainWindow().act_ers_text_liste.count());
    state.counters["read_ms"] = 1000.0 * rawTotal / n;
    state.counters["to_read"] = loadTotal / rawTotal;
}

BENCHMARK(BM_SaveConfiguration)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadConfiguration)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

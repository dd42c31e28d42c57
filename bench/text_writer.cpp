// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a 10 MiB text (5 Mi UTF-16 code units) to a file in each of the eight encodings,
// against writing the text's raw bytes in the same iterations. Prints the ratio to the raw
// write at the end; the goal is every encoding within 4x.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "output/text_encoder.h"
#include "output/text_file_writer.h"

namespace {

using namespace tessaro;

constexpr std::size_t kUnits = 5 * 1024 * 1024;  // 10 MiB of UTF-16

std::u16string repeatTo(std::u16string_view piece) {
    std::u16string text;
    text.reserve(kUnits + piece.size());
    while (text.size() < kUnits) text += piece;
    text.resize(kUnits);
    if (text.back() >= 0xD800 && text.back() <= 0xDBFF) text.back() = u'.';
    return text;
}

// German prose with the odd euro sign, dash and emoji: the common case.
const std::u16string& proseText() {
    static const std::u16string text = repeatTo(
        u"Gr\u00FC\u00DFe aus K\u00F6ln! Der Preis betr\u00E4gt 5 \u20AC \u2013 "
        u"inklusive Mehrwertsteuer (19 %). Fragen? Schreiben Sie an info@example.org.\r\n"
        u"Ein + und ein - und ein ~ oder \\ im Text, dazu \U0001F600.\r\n");
    return text;
}

// Mostly CJK with emoji: every character outside ASCII, long base64 runs in UTF-7.
const std::u16string& cjkText() {
    static const std::u16string text = repeatTo(
        u"\u4E2D\u6587\u6587\u672C\u3001\u65E5\u672C\u8A9E\u306E\u6587\u7AE0\u3002"
        u"\uD55C\uAD6D\uC5B4 \U0001F389\U0001F600 2026\u5E74\r\n");
    return text;
}

std::filesystem::path benchFolder() {
    static const std::filesystem::path folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tessaro-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        return std::filesystem::path(pattern);
    }();
    return folder;
}

std::u16string fileName(const char* name) {
    const std::string path = (benchFolder() / name).string();
    return std::u16string(path.begin(), path.end());
}

void rawWrite(const std::u16string& text, const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) std::abort();
    const char* data = reinterpret_cast<const char*>(text.data());
    std::size_t size = text.size() * sizeof(char16_t);
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written <= 0) std::abort();
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    ::close(fd);
}

double seconds(std::chrono::steady_clock::time_point from,
               std::chrono::steady_clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// Each iteration writes the raw bytes and then the encoded file, so that both see the same
// load on a shared machine; the time reported is the encoded write's, and the counters give
// the raw write's time and the ratio of the two over the whole run.
void BM_WriteTextFile(benchmark::State& state, const std::u16string& (*text)(),
                      std::int32_t encoding) {
    const std::filesystem::path rawPath = benchFolder() / "raw.bin";
    const std::u16string name = fileName("encoded.txt");
    double rawTotal = 0;
    double encodedTotal = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        rawWrite(text(), rawPath);
        const auto t1 = std::chrono::steady_clock::now();
        WriteTextFile(text(), name, encoding);
        const auto t2 = std::chrono::steady_clock::now();
        rawTotal += seconds(t0, t1);
        encodedTotal += seconds(t1, t2);
        state.SetIterationTime(seconds(t1, t2));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(kUnits * 2));
    state.counters["raw_ms"] = 1000.0 * rawTotal / static_cast<double>(state.iterations());
    state.counters["ratio"] = encodedTotal / rawTotal;
    state.counters["out_MiB"] =
        static_cast<double>(std::filesystem::file_size(benchFolder() / "encoded.txt")) /
        (1024.0 * 1024.0);
}

const std::vector<std::pair<const char*, std::int32_t>> kEncodings = {
    {"ansi", kEncodingAnsi},
    {"utf7", kEncodingUtf7},
    {"utf7_ansi", kEncodingUtf7NoSignature},
    {"utf8", kEncodingUtf8},
    {"utf16le", kEncodingUtf16Le},
    {"utf16be", kEncodingUtf16Be},
    {"utf32le", kEncodingUtf32Le},
    {"utf32be", kEncodingUtf32Be},
};

void registerAll() {
    const std::pair<const char*, const std::u16string& (*)()> texts[] = {{"prose", proseText},
                                                                         {"cjk", cjkText}};
    for (const auto& [textName, text] : texts) {
        for (const auto& [encodingName, code] : kEncodings) {
            benchmark::RegisterBenchmark((std::string(encodingName) + "/" + textName).c_str(),
                                         BM_WriteTextFile, text, code)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
        }
    }
}

// Prints the ratio of each run at the end, one line per encoding and text.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations == 0) continue;
            const auto ms =
                1000.0 * run.real_accumulated_time / static_cast<double>(run.iterations);
            std::string name = run.benchmark_name();
            name = name.substr(0, name.find("/manual_time"));
            m_lines.push_back(
                {name, ms, run.counters.at("raw_ms").value, run.counters.at("ratio").value});
        }
    }

    void printRatios() const {
        std::printf(
            "\nencoded write against the raw write of the same text, paired per iteration"
            " (goal: ratio at most 4.0)\n");
        for (const Line& line : m_lines) {
            std::printf("  %-16s %7.2f ms  raw %6.2f ms  x%.2f\n", line.name.c_str(), line.ms,
                        line.rawMs, line.ratio);
        }
    }

private:
    struct Line {
        std::string name;
        double ms;
        double rawMs;
        double ratio;
    };
    std::vector<Line> m_lines;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    registerAll();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    std::error_code error;
    std::filesystem::remove_all(benchFolder(), error);
    return 0;
}

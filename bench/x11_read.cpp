// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a 50 MB text from the X11 clipboard: X11SelectionReader::read against `xclip -o`
// of the same text served by `xclip -i`, under a private Xvfb, in interleaved rounds. Prints
// both medians, their ratio (goal: the reader at most 2x xclip), and the peak memory a read
// adds to this process as a multiple of the text size (goal: well under 4x).
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/x11/selection_reader.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
using tessaro::X11SelectionReader;

constexpr std::size_t kTextBytes = 50u * 1000u * 1000u;
constexpr int kRounds = 7;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string englishLikeText(std::size_t size) {
    static const char* const words[] = {"the ", "clipboard ", "Tessaro ", "über ", "copies ",
                                        "text\n", "and ", "images ", "5 € ", "quickly "};
    std::string text;
    text.reserve(size + 16);
    for (std::size_t i = 0; text.size() < size; ++i) text += words[(i * 7 + i / 3) % 10];
    text.resize(size);
    return text;
}

pid_t spawn(const std::vector<std::string>& argv, const std::string& input = {}) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (!input.empty()) ::dup2(::open(input.c_str(), O_RDONLY), 0);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        std::vector<char*> args;
        for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    return pid;
}

void stop(pid_t pid) {
    if (pid <= 0) return;
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
}

bool exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

// Xvfb on the first free display number from 300; DISPLAY names it.
pid_t startXvfb() {
    for (int number = 300; number < 400; ++number) {
        const std::string suffix = std::to_string(number);
        if (exists("/tmp/.X11-unix/X" + suffix) || exists("/tmp/.X" + suffix + "-lock")) continue;
        const pid_t pid = spawn({"Xvfb", ":" + suffix, "-screen", "0", "640x480x24", "-nolisten", "tcp", "-noreset"});
        for (int i = 0; i < 500 && !exists("/tmp/.X11-unix/X" + suffix); ++i) std::this_thread::sleep_for(10ms);
        std::this_thread::sleep_for(300ms);
        if (::waitpid(pid, nullptr, WNOHANG) == 0) {
            ::setenv("DISPLAY", (":" + suffix).c_str(), 1);
            return pid;
        }
    }
    return -1;
}

// A "VmRSS:" or "VmHWM:" line of /proc/self/status, in bytes.
std::size_t statusBytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) {
            std::istringstream value(line.substr(field.size()));
            std::size_t kilobytes = 0;
            value >> kilobytes;
            return kilobytes * 1024;
        }
    }
    return 0;
}

// Lets VmHWM start again from the current resident size (Linux 4.0 and later).
bool resetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    const pid_t xvfb = startXvfb();
    if (xvfb <= 0) {
        std::fprintf(stderr, "no Xvfb\n");
        return 1;
    }
    const std::string path = "/tmp/tessaro_bench_x11_read_" + std::to_string(::getpid());
    std::string text = englishLikeText(kTextBytes);
    std::ofstream(path, std::ios::binary) << text;

    X11SelectionReader reader;
    const pid_t server = spawn({"xclip", "-selection", "clipboard", "-i", "-quiet"}, path);
    int status = 0;
    for (int i = 0; i < 1000 && reader.owner() == 0; ++i) std::this_thread::sleep_for(10ms);
    // One untimed read that is also checked: the first touch of fresh memory is not what a
    // read costs afterwards.
    const bool same = reader.read("UTF8_STRING", Clock::now() + 120s).data == text;
    text = std::string();
    if (!reader.valid() || !same) {
        std::fprintf(stderr, "the reader did not read the text xclip serves\n");
        status = 1;
    }

    std::vector<double> xclipSeconds, readerSeconds;
    double worstPeak = 0;
    bool peakPerRound = true;
    for (int round = 0; round < kRounds && status == 0; ++round) {
        auto start = Clock::now();
        int exitCode = 0;
        ::waitpid(spawn({"xclip", "-selection", "clipboard", "-o"}), &exitCode, 0);
        xclipSeconds.push_back(secondsSince(start));
        if (exitCode != 0) status = 1;

        peakPerRound = resetPeak() && peakPerRound;
        const std::size_t before = statusBytes("VmRSS:");
        start = Clock::now();
        auto result = reader.read("UTF8_STRING", Clock::now() + 120s);
        readerSeconds.push_back(secondsSince(start));
        const std::size_t peak = statusBytes("VmHWM:");
        if (result.status != X11SelectionReader::Status::Ok || result.data.size() != kTextBytes) status = 1;
        result = {};
        worstPeak = std::max(worstPeak, double(peak > before ? peak - before : 0) / double(kTextBytes));
    }
    stop(server);
    stop(xvfb);
    ::unlink(path.c_str());
    if (status != 0) {
        std::fprintf(stderr, "a read failed\n");
        return status;
    }

    const double xclip = median(xclipSeconds);
    const double ours = median(readerSeconds);
    std::printf("text: %zu bytes, %d interleaved rounds\n", kTextBytes, kRounds);
    std::printf("xclip -o median:              %8.1f ms\n", xclip * 1000);
    std::printf("X11SelectionReader median:    %8.1f ms\n", ours * 1000);
    std::printf("ratio reader/xclip:           %8.2f   (goal: at most 2)\n", ours / xclip);
    std::printf("peak memory added by a read:  %8.2f x the text size (goal: well under 4)%s\n", worstPeak,
                peakPerRound ? "" : " [first round only: VmHWM could not be reset]");
    return 0;
}

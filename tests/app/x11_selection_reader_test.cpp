// SPDX-License-Identifier: GPL-3.0-or-later
// The X11 selection reader against real owners on a private Xvfb display: xclip, and the
// well-behaved or hostile owners of tests/e2e/x11_owner.py.
#include "app/x11/selection_reader.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace tessaro {
namespace {

using Reader = X11SelectionReader;
using Status = Reader::Status;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

Reader::Deadline after(std::chrono::milliseconds wait) { return Clock::now() + wait; }

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The bytes x11_owner.py --size serves: ten-byte numbered lines.
std::string numberedLines(std::size_t size) {
    std::string text;
    text.reserve(size + 10);
    char line[16];
    for (std::size_t i = 0; text.size() < size; ++i) {
        std::snprintf(line, sizeof line, "%09zu\n", i);
        text += line;
    }
    text.resize(size);
    return text;
}

// A program started for a test and stopped (SIGTERM) when it goes out of scope.
class Child {
public:
    Child() = default;
    Child(const std::vector<std::string>& argv, const std::string& input = {}, bool readOutput = false,
          bool quiet = false) {
        int pipeFds[2] = {-1, -1};
        if (readOutput && ::pipe(pipeFds) != 0) return;
        m_pid = ::fork();
        if (m_pid == 0) {
            if (!input.empty()) {
                const int in = ::open(input.c_str(), O_RDONLY);
                ::dup2(in, 0);
            }
            const int out = readOutput ? pipeFds[1] : ::open("/dev/null", O_WRONLY);
            ::dup2(out, 1);
            if (quiet) ::dup2(::open("/dev/null", O_WRONLY), 2);
            std::vector<char*> args;
            for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
            args.push_back(nullptr);
            ::execvp(args[0], args.data());
            ::_exit(127);
        }
        if (readOutput) {
            ::close(pipeFds[1]);
            m_output = pipeFds[0];
        }
    }
    Child(Child&& other) noexcept { *this = std::move(other); }
    Child& operator=(Child&& other) noexcept {
        std::swap(m_pid, other.m_pid);
        std::swap(m_output, other.m_output);
        return *this;
    }
    ~Child() { stop(); }

    pid_t pid() const { return m_pid; }

    // Whether the program printed `line` within `timeout`.
    bool waitForLine(const std::string& line, std::chrono::milliseconds timeout) {
        const auto deadline = Clock::now() + timeout;
        std::string seen;
        while (Clock::now() < deadline) {
            pollfd descriptor{m_output, POLLIN, 0};
            if (::poll(&descriptor, 1, 50) <= 0) continue;
            char c = 0;
            if (::read(m_output, &c, 1) != 1) return false;
            if (c != '\n') {
                seen += c;
            } else if (seen == line) {
                return true;
            } else {
                seen.clear();
            }
        }
        return false;
    }

    void stop() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
        }
        if (m_output >= 0) ::close(m_output);
        m_pid = -1;
        m_output = -1;
    }

private:
    pid_t m_pid = -1;
    int m_output = -1;
};

bool exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

// Polls `condition` every few milliseconds until it holds or `timeout` passes.
template <typename Condition>
bool eventually(Condition condition, std::chrono::milliseconds timeout = 10s) {
    const auto deadline = Clock::now() + timeout;
    while (!condition()) {
        if (Clock::now() > deadline) return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

class X11SelectionReaderTest : public ::testing::Test {
protected:
    // One private display for all cases, on the first free number from 300.
    static void SetUpTestSuite() {
        for (int number = 300; number < 400; ++number) {
            const std::string name = ":" + std::to_string(number);
            if (exists("/tmp/.X11-unix/X" + std::to_string(number)) || exists("/tmp/.X" + std::to_string(number) + "-lock"))
                continue;
            // -noreset: the server would otherwise restart, refusing connections for a moment,
            // each time a case closes its last connection.
            s_xvfb = new Child({"Xvfb", name, "-screen", "0", "640x480x24", "-nolisten", "tcp", "-noreset"},
                               {}, false, true);
            const pid_t pid = s_xvfb->pid();
            auto exited = [pid] { return ::waitpid(pid, nullptr, WNOHANG) == pid; };
            bool gone = false;
            eventually([&] { return (gone = exited()) || exists("/tmp/.X11-unix/X" + std::to_string(number)); });
            // A server started at the same time elsewhere may win the number: this one exits.
            std::this_thread::sleep_for(300ms);
            if (!gone && !exited()) {
                ::setenv("DISPLAY", name.c_str(), 1);
                return;
            }
            delete s_xvfb;
            s_xvfb = nullptr;
        }
    }
    static void TearDownTestSuite() {
        delete s_xvfb;
        s_xvfb = nullptr;
    }

    void SetUp() override {
        ASSERT_NE(s_xvfb, nullptr) << "no Xvfb";
        ASSERT_TRUE(m_reader.valid());
        // Every case starts without an owner: the previous case's owners have been stopped.
        ASSERT_TRUE(eventually([&] { return m_reader.owner() == 0; }));
    }

    // x11_owner.py with `arguments`, once it owns the clipboard.
    Child& owner(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"/usr/bin/python3", TESSARO_SOURCE_DIR "/tests/e2e/x11_owner.py"});
        m_children.emplace_back(arguments, std::string(), true);
        EXPECT_TRUE(m_children.back().waitForLine("owner", 10s)) << "x11_owner.py did not take the clipboard";
        return m_children.back();
    }

    // xclip serving `text`, once it owns the clipboard.
    Child& xclip(const std::string& text) {
        const std::string path = ::testing::TempDir() + "x11_reader_xclip_input";
        std::ofstream(path, std::ios::binary) << text;
        const Reader::WindowId before = m_reader.owner();
        m_children.emplace_back(std::vector<std::string>{"xclip", "-selection", "clipboard", "-i", "-quiet"}, path, false, true);
        EXPECT_TRUE(eventually([&] { return m_reader.owner() != 0 && m_reader.owner() != before; }))
            << "xclip did not take the clipboard";
        return m_children.back();
    }

    // Dispatches owner events until `condition` holds (or 10 s pass).
    template <typename Condition>
    bool dispatchUntil(Condition condition) {
        const auto deadline = Clock::now() + 10s;
        while (!condition()) {
            if (Clock::now() > deadline) return false;
            pollfd descriptor{m_reader.fileDescriptor(), POLLIN, 0};
            ::poll(&descriptor, 1, 50);
            m_reader.dispatchPending();
        }
        return true;
    }

    // Records the pump's calls: the longest gap between two, and whether it was ever
    // re-entered or could start a nested read.
    struct PumpWatch {
        Clock::time_point last = Clock::now();
        double longestGap = 0;
        int calls = 0;
        int depth = 0;
        bool reentered = false;
        void start() { last = Clock::now(); }
        void call() {
            reentered = reentered || depth > 0;
            ++depth;
            ++calls;
            longestGap = std::max(longestGap, secondsSince(last));
            last = Clock::now();
            --depth;
        }
    };

    // The gap since the last pump call counts as well: a read that stops pumping before it
    // returns blocks just the same.
    static double longestGapUntilNow(const PumpWatch& watch) {
        return std::max(watch.longestGap, secondsSince(watch.last));
    }

    inline static Child* s_xvfb = nullptr;
    Reader m_reader;
    std::vector<Child> m_children;
};

TEST_F(X11SelectionReaderTest, NobodyOwningGivesNoOwnerAndNoTargets) {
    EXPECT_EQ(m_reader.read("UTF8_STRING", after(2s)).status, Status::NoOwner);
    const auto targets = m_reader.targets(after(2s));
    ASSERT_TRUE(targets.has_value());
    EXPECT_TRUE(targets->empty());
    EXPECT_FALSE(m_reader.ownedBy(0));
}

TEST_F(X11SelectionReaderTest, TextAndTargetsFromXclip) {
    const std::string text = "Grüße aus X11 \u2713\nzweite Zeile";
    xclip(text);
    const auto targets = m_reader.targets(after(5s));
    ASSERT_TRUE(targets.has_value());
    EXPECT_NE(std::find(targets->begin(), targets->end(), "UTF8_STRING"), targets->end());
    EXPECT_NE(std::find(targets->begin(), targets->end(), "TARGETS"), targets->end());

    const auto result = m_reader.read("UTF8_STRING", after(5s));
    ASSERT_EQ(result.status, Status::Ok);
    EXPECT_EQ(result.data, text);
    EXPECT_EQ(result.type, "UTF8_STRING");

    EXPECT_TRUE(m_reader.ownedBy(m_reader.owner()));
    EXPECT_FALSE(m_reader.ownedBy(m_reader.window()));
}

TEST_F(X11SelectionReaderTest, LargeTextsFromXclipWholeAndIncremental) {
    // xclip puts up to about 1 MB into one property (read here in pieces) and sends more
    // through INCR in chunks of that size.
    for (std::size_t size : {900u * 1000u, 5u * 1000u * 1000u}) {
        SCOPED_TRACE(size);
        const std::string text = numberedLines(size);
        Child& server = xclip(text);
        std::size_t last = 0;
        bool monotonic = true;
        const auto result = m_reader.read("UTF8_STRING", after(30s), [&](std::size_t bytes, std::size_t) {
            monotonic = monotonic && bytes > last;
            last = bytes;
        });
        ASSERT_EQ(result.status, Status::Ok);
        EXPECT_TRUE(result.data == text) << "got " << result.data.size() << " bytes";
        EXPECT_TRUE(monotonic);
        EXPECT_EQ(last, size);
        server.stop();
        ASSERT_TRUE(eventually([&] { return m_reader.owner() == 0; }));
    }
}

TEST_F(X11SelectionReaderTest, TwentyMegabytesThroughIncrWithProgress) {
    const std::size_t size = 20u * 1000u * 1000u;
    owner({"--size", std::to_string(size)});
    std::vector<std::pair<std::size_t, std::size_t>> reports;
    const auto result = m_reader.read("UTF8_STRING", after(120s),
                                      [&](std::size_t bytes, std::size_t total) { reports.emplace_back(bytes, total); });
    ASSERT_EQ(result.status, Status::Ok);
    EXPECT_TRUE(result.data == numberedLines(size)) << "got " << result.data.size() << " bytes";
    ASSERT_GT(reports.size(), 10u);
    for (std::size_t i = 1; i < reports.size(); ++i) EXPECT_GT(reports[i].first, reports[i - 1].first);
    EXPECT_EQ(reports.back().first, size);
    for (const auto& report : reports) EXPECT_EQ(report.second, size);
}

TEST_F(X11SelectionReaderTest, PiecesHandedOverAsTheyArriveMakeTheWholeText) {
    const std::size_t size = 5u * 1000u * 1000u;
    owner({"--size", std::to_string(size), "--chunk", "65536"});
    std::string pieces;
    std::size_t count = 0;
    const X11SelectionReader::Consumer consume = [&](std::string_view piece) {
        pieces.append(piece);
        ++count;
    };
    const auto result = m_reader.readInto("UTF8_STRING", after(60s), consume);
    ASSERT_EQ(result.status, Status::Ok);
    EXPECT_TRUE(result.data.empty()) << "the bytes went to the consumer only";
    EXPECT_TRUE(pieces == numberedLines(size)) << "got " << pieces.size() << " bytes";
    EXPECT_GT(count, 50u) << "piece by piece, not at the end";
    // The reader is itself again afterwards.
    EXPECT_EQ(m_reader.read("UTF8_STRING", after(60s)).data.size(), size);
}

TEST_F(X11SelectionReaderTest, LimitStopsLargeTransfersAndTheReaderRecovers) {
    owner({"--size", std::to_string(20u * 1000u * 1000u)});
    const auto start = Clock::now();
    const auto refused = m_reader.read("UTF8_STRING", after(60s), {}, 1000u * 1000u);
    EXPECT_EQ(refused.status, Status::TooLarge);
    EXPECT_TRUE(refused.data.empty());
    EXPECT_LT(secondsSince(start), 10.0);
    // A limit met only by the INCR chunks, not by the announced size, stops it too.
    EXPECT_EQ(m_reader.read("text/plain;charset=utf-8", after(60s), {}, 20u * 1000u * 1000u - 1).status,
              Status::TooLarge);
    m_children.clear();
    ASSERT_TRUE(eventually([&] { return m_reader.owner() == 0; }));

    const std::string text = numberedLines(500u * 1000u);
    xclip(text);
    EXPECT_EQ(m_reader.read("UTF8_STRING", after(10s), {}, 100u * 1000u).status, Status::TooLarge);
    const auto whole = m_reader.read("UTF8_STRING", after(10s), {}, text.size());
    ASSERT_EQ(whole.status, Status::Ok);
    EXPECT_TRUE(whole.data == text);
}

TEST_F(X11SelectionReaderTest, LateAnswerKeepsThePumpRunning) {
    owner({"--text", "spät, aber da", "--answer-after", "2"});
    PumpWatch pump;
    Status nested = Status::Ok;
    m_reader.setPump([&] {
        pump.call();
        // A read started from inside the pump must not run inside the running one.
        if (pump.calls == 5) nested = m_reader.read("UTF8_STRING", after(1s)).status;
    });
    pump.start();
    const auto start = Clock::now();
    const auto result = m_reader.read("UTF8_STRING", after(20s));
    const double gap = longestGapUntilNow(pump);
    ASSERT_EQ(result.status, Status::Ok);
    EXPECT_EQ(result.data, "spät, aber da");
    EXPECT_GE(secondsSince(start), 1.9);
    EXPECT_LT(gap, 0.1);
    EXPECT_FALSE(pump.reentered);
    EXPECT_EQ(nested, Status::Busy);
}

TEST_F(X11SelectionReaderTest, OwnerThatNeverAnswersTimesOutAtTheDeadline) {
    owner({"--text", "nie", "--never-answer"});
    PumpWatch pump;
    m_reader.setPump([&] { pump.call(); });
    pump.start();
    const auto start = Clock::now();
    const auto result = m_reader.read("UTF8_STRING", after(1500ms));
    const double elapsed = secondsSince(start);
    EXPECT_EQ(result.status, Status::TimedOut);
    EXPECT_GE(elapsed, 1.5);
    EXPECT_LT(elapsed, 3.0);
    EXPECT_LT(longestGapUntilNow(pump), 0.1);
    EXPECT_GT(pump.calls, 10);

    EXPECT_FALSE(m_reader.targets(after(300ms)).has_value());
}

TEST_F(X11SelectionReaderTest, OwnerExitingMidTransferIsSeenAtOnce) {
    owner({"--size", "2000000", "--exit-mid-transfer"});
    const auto start = Clock::now();
    std::size_t received = 0;
    const auto result = m_reader.read("UTF8_STRING", after(30s), [&](std::size_t bytes, std::size_t) { received = bytes; });
    EXPECT_EQ(result.status, Status::OwnerGone);
    EXPECT_TRUE(result.data.empty());
    EXPECT_GT(received, 0u);  // it did get the first chunk before the owner left
    EXPECT_LT(secondsSince(start), 10.0);
}

TEST_F(X11SelectionReaderTest, SelectionChangingHandsMidTransferIsSeenAtOnce) {
    std::vector<Reader::OwnerEvent> events;
    m_reader.watchOwner([&](const Reader::OwnerEvent& event) { events.push_back(event); });
    owner({"--size", "2000000", "--change-during-transfer"});
    const auto start = Clock::now();
    const auto result = m_reader.read("UTF8_STRING", after(30s));
    EXPECT_EQ(result.status, Status::OwnerGone);
    EXPECT_LT(secondsSince(start), 10.0);
    EXPECT_TRUE(events.empty()) << "owner events delivered from inside the read";

    // The first owner's arrival and the hand-over are delivered afterwards, in order.
    const Reader::WindowId second = m_reader.owner();
    ASSERT_TRUE(dispatchUntil([&] { return !events.empty() && events.back().owner == second; }));
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].change, Reader::OwnerChange::NewOwner);
    EXPECT_NE(events[0].owner, second);
    EXPECT_EQ(events[1].change, Reader::OwnerChange::NewOwner);
}

TEST_F(X11SelectionReaderTest, OwnerEventsForNewOwnersAndOwnersLeaving) {
    std::vector<Reader::OwnerEvent> events;
    m_reader.watchOwner([&](const Reader::OwnerEvent& event) { events.push_back(event); });
    auto isGone = [](const Reader::OwnerEvent& event) {
        return event.change == Reader::OwnerChange::OwnerWindowDestroyed ||
               event.change == Reader::OwnerChange::OwnerClientClosed;
    };

    Child& first = owner({"--text", "eins"});
    const Reader::WindowId firstWindow = m_reader.owner();
    ASSERT_TRUE(dispatchUntil([&] { return !events.empty(); }));
    EXPECT_EQ(events[0].change, Reader::OwnerChange::NewOwner);
    EXPECT_EQ(events[0].owner, firstWindow);
    EXPECT_NE(events[0].timestamp, 0u);

    first.stop();
    ASSERT_TRUE(dispatchUntil([&] { return events.size() >= 2; }));
    EXPECT_TRUE(isGone(events[1]));

    // Events that come while a read waits are kept, not delivered from inside it, and not lost.
    events.clear();
    int deliveredInRead = 0;
    m_reader.setPump([&] { deliveredInRead += static_cast<int>(events.size()); m_reader.dispatchPending(); });
    owner({"--text", "zwei", "--never-answer", "--exit-after", "1"});
    const Reader::WindowId secondWindow = m_reader.owner();
    const auto start = Clock::now();
    EXPECT_EQ(m_reader.read("UTF8_STRING", after(20s)).status, Status::OwnerGone);
    EXPECT_LT(secondsSince(start), 10.0);
    EXPECT_EQ(deliveredInRead, 0);
    EXPECT_TRUE(events.empty());
    m_reader.setPump({});
    ASSERT_TRUE(dispatchUntil([&] { return events.size() >= 2; }));
    EXPECT_EQ(events[0].change, Reader::OwnerChange::NewOwner);
    EXPECT_EQ(events[0].owner, secondWindow);
    EXPECT_TRUE(isGone(events[1]));
}

TEST_F(X11SelectionReaderTest, ExtraTargetsAreListedAndServed) {
    owner({"--text", "haupt", "--targets", "text/html,application/x-test,image/png"});
    const auto targets = m_reader.targets(after(5s));
    ASSERT_TRUE(targets.has_value());
    for (const char* name : {"TARGETS", "UTF8_STRING", "text/plain;charset=utf-8", "text/html", "application/x-test",
                             "image/png"})
        EXPECT_NE(std::find(targets->begin(), targets->end(), name), targets->end()) << name;
    const auto result = m_reader.read("application/x-test", after(5s));
    ASSERT_EQ(result.status, Status::Ok);
    EXPECT_EQ(result.data, "content of application/x-test");
    EXPECT_EQ(result.type, "application/x-test");
    EXPECT_EQ(m_reader.read("text/plain;charset=utf-8", after(5s)).data, "haupt");

    // A target the owner does not have is refused, and the reader goes on working.
    EXPECT_EQ(m_reader.read("image/jpeg", after(5s)).status, Status::Refused);
    EXPECT_EQ(m_reader.read("UTF8_STRING", after(5s)).data, "haupt");
}

}  // namespace
}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// What each start of the program asks for, read from its arguments.
#include <gtest/gtest.h>

#include "app/command_line.h"

namespace tessaro {
namespace {

using Mode = StartRequest::Mode;

StartRequest parse(std::initializer_list<const char*> arguments) {
    QStringList list;
    for (const char* argument : arguments) list << QString::fromUtf8(argument);
    return ParseCommandLine(list);
}

TEST(CommandLine, RunKeepsConfigurationFilesAndLeavesQtsOptionsToQt) {
    const StartRequest run = parse({"-platform", "offscreen", "a.tpf", "--state-file", "/tmp/s.json", "-reverse",
                                    "-display", ":3", "b.TPF"});
    EXPECT_EQ(run.mode, Mode::Run);
    EXPECT_EQ(run.arguments, (QStringList{QStringLiteral("a.tpf"), QStringLiteral("b.TPF")}));
    EXPECT_EQ(run.stateFile, QStringLiteral("/tmp/s.json"));
    EXPECT_FALSE(run.show);

    EXPECT_EQ(parse({}).mode, Mode::Run);
    EXPECT_TRUE(parse({"--show"}).show);
    EXPECT_EQ(parse({"--show"}).mode, Mode::Run);  // starts the program when none runs
    EXPECT_EQ(parse({"--", "--looks-like-an-option.tpf"}).arguments,
              QStringList{QStringLiteral("--looks-like-an-option.tpf")});
}

TEST(CommandLine, CommandsForTheRunningProgram) {
    EXPECT_EQ(parse({"--history"}).history, kDefaultHistoryRows);
    EXPECT_EQ(parse({"--history", "3"}).history, 3);
    EXPECT_EQ(parse({"--history=7"}).history, 7);
    EXPECT_EQ(parse({"--history"}).mode, Mode::Remote);
    const StartRequest copy = parse({"--copy", "0", "--show"});
    EXPECT_EQ(copy.mode, Mode::Remote);
    EXPECT_EQ(copy.copy, 0);
    EXPECT_TRUE(copy.show);
    EXPECT_TRUE(parse({"--toggle-capture"}).toggleCapture);
    EXPECT_EQ(parse({"--toggle-capture"}).mode, Mode::Remote);
}

TEST(CommandLine, MistakesAreRefusedWithAReason) {
    for (auto arguments : {std::initializer_list<const char*>{"--bogus"}, {"-x"}, {"--history", "0"},
                           {"--history=-2"}, {"--copy"}, {"--copy", "two"}, {"--copy", "-1"},
                           {"--history", "x.tpf"}, {"--copy", "1", "x.tpf"}}) {
        const StartRequest request = parse(arguments);
        EXPECT_EQ(request.mode, Mode::Invalid) << *arguments.begin();
        EXPECT_FALSE(request.error.isEmpty());
    }
    EXPECT_EQ(parse({"--help"}).mode, Mode::Help);
    EXPECT_EQ(parse({"-h"}).mode, Mode::Help);
    EXPECT_EQ(parse({"--version", "--history"}).mode, Mode::Version);
}

TEST(CommandLine, Apply) {
    const StartRequest standard = parse({"apply", "--config", "c.tpf"});
    EXPECT_EQ(standard.mode, Mode::Apply);
    EXPECT_EQ(standard.apply.configuration, QStringLiteral("c.tpf"));
    EXPECT_EQ(standard.apply.input, QStringLiteral("-"));
    EXPECT_EQ(standard.apply.output, QStringLiteral("-"));
    const StartRequest files = parse({"apply", "--in", "a.png", "--config=c.tpf", "--out", "b.jpg"});
    EXPECT_EQ(files.apply.input, QStringLiteral("a.png"));
    EXPECT_EQ(files.apply.output, QStringLiteral("b.jpg"));
    EXPECT_EQ(parse({"apply", "--help"}).mode, Mode::ApplyHelp);
    for (auto arguments : {std::initializer_list<const char*>{"apply"}, {"apply", "--in", "x"},
                           {"apply", "--config", "c.tpf", "extra"}, {"apply", "--config", "a", "--config", "b"},
                           {"apply", "--config", "c.tpf", "--out", ""}, {"apply", "--config", "c.tpf", "--show"}}) {
        EXPECT_EQ(parse(arguments).mode, Mode::Invalid);
    }
}

}  // namespace
}  // namespace tessaro

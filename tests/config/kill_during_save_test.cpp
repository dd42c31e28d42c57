// SPDX-License-Identifier: GPL-3.0-or-later
// A program killed while it saves never leaves a half-written file: the start
// configuration and a text file under a fixed name are always the complete old or the
// complete new version, however often the kill lands in the middle of a save.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <random>

#include "output/oracle.h"
#include "output/text_encoder.h"
#include "output/text_file_writer.h"
#include "platform/utf.h"
#include "support/app_fixture.h"

namespace tessaro {
namespace {

using testing_output::readBytes;
using testing_output::TempDir;

// Two configurations with the same keys and different values, so that saving either
// over the other gives exactly its own bytes.
void fillTable(Application& app, char16_t letter) {
    ListView& table = app.mainWindow().act_ers_text_liste;
    table.clear();
    for (int row = 0; row < 1000; ++row) {
        table.append({std::u16string(20, letter), {SharedText(std::u16string(30, letter)), SharedText(u"")}});
    }
}

TEST(KillDuringSave, TheStartConfigurationAndATextFileAreAlwaysWhole) {
    constexpr int kRounds = 200;
    TempDir dir;
    TestDesktop desktop;
    desktop.setProgramFolder(dir.path() / "");
    MemoryClipboard clipboard;
    Application app(desktop, clipboard);
    app.createWindows();
    const auto config = dir.path() / "Auto.tpf";
    const auto text = dir.path() / "fixed.txt";
    std::string versions[2];
    for (int v = 0; v < 2; ++v) {
        fillTable(app, v ? u'b' : u'a');
        app.configuration().KonfigurationSpeichern(dir.path() / "reference.tpf");
        versions[v] = readBytes(dir.path() / "reference.tpf");
    }
    const std::u16string texts[2] = {std::u16string(300000, u'x'), std::u16string(200000, u'y')};
    std::string textVersions[2];
    for (int v = 0; v < 2; ++v) {
        WriteTextFile(texts[v], utf8ToUtf16(text.string()), kEncodingUtf8);
        textVersions[v] = readBytes(text);
    }
    app.configuration().KonfigurationSpeichern(config);

    std::mt19937 random(7);
    int completeSaves = 0;
    for (int round = 0; round < kRounds; ++round) {
        // The child reports each finished pair of saves, so that the kill lands after a
        // chosen number of them and then anywhere in the next, however loaded the machine.
        int progress[2];
        ASSERT_EQ(::pipe(progress), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(progress[0]);
            for (int v = 0;; v ^= 1) {
                fillTable(app, v ? u'b' : u'a');
                app.configuration().KonfigurationSpeichern(config);
                WriteTextFile(texts[v], utf8ToUtf16(text.string()), kEncodingUtf8);
                if (::write(progress[1], "+", 1) != 1) ::_exit(1);
            }
        }
        ::close(progress[1]);
        char done = 0;
        for (unsigned pairs = random() % 3; pairs > 0; --pairs) ASSERT_EQ(::read(progress[0], &done, 1), 1);
        ::usleep(random() % 12000);
        ::kill(child, SIGKILL);
        ::close(progress[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));
        const std::string saved = readBytes(config);
        ASSERT_TRUE(saved == versions[0] || saved == versions[1])
            << "round " << round << ": " << saved.size() << " bytes";
        const std::string written = readBytes(text);
        ASSERT_TRUE(written == textVersions[0] || written == textVersions[1])
            << "round " << round << ": " << written.size() << " bytes";
        completeSaves += saved == versions[0];
        // A kill in the middle leaves at most the hidden temporary files; remove them.
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            if (entry.path().filename().string().front() == '.') std::filesystem::remove(entry.path());
        }
    }
    // The kills landed at many moments, not always before the first save.
    EXPECT_GT(completeSaves, 0);
}

}  // namespace
}  // namespace tessaro

// SPDX-License-Identifier: GPL-3.0-or-later
// Many changes in a row, mixed texts and small pictures, with every text action on: the
// memory the program holds grows with its history rows and nothing else. The number of
// changes is TESSARO_SOAK_CHANGES (the test suite runs a reduced number; 10000 is the full
// size).
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/utf.h"
#include "support/app_fixture.h"

namespace tessaro {
namespace {

std::size_t residentBytes() {
    std::ifstream statm("/proc/self/statm");
    std::size_t size = 0;
    std::size_t resident = 0;
    statm >> size >> resident;
    return resident * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

int changesToMake() {
    const char* value = std::getenv("TESSARO_SOAK_CHANGES");
    return value ? std::max(1000, std::atoi(value)) : 2000;
}

class Soak : public testing::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        folder = std::filesystem::temp_directory_path() / ("tessaro-soak-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::filesystem::path folder;
};

TEST_F(Soak, MemoryGrowsWithTheHistoryRowsOnly) {
    auto& p = prog();
    p.cb_suchenersetzen.setChecked(true);
    p.act_ers_text_suchen.setText(u"Kopie");
    p.act_ers_text_ersetzen.setText(u"copy");
    p.act_ers_text_liste.append({u"(\\d+)", {u"#$1", u"r"}});
    p.cb_textadd.setChecked(true);
    p.act_textadd_vorne.setText(u"<");
    p.act_textadd_hinten.setText(u">");
    p.cb_savetxt.setChecked(true);
    p.savetxt_ordner.setText(utf8ToUtf16(folder.string()));
    p.savetxt_name.setText(u"clip");  // one file, written again and again

    const int changes = changesToMake();
    const int warmUp = changes / 10;
    std::size_t rowsAtStart = 0;
    std::size_t memoryAtStart = 0;
    for (int i = 0; i < changes; ++i) {
        if (i == warmUp) {
            rowsAtStart = rows();
            memoryAtStart = residentBytes();
        }
        if (i % 10 == 9) {
            copy({{CF_BITMAP, testing::testBitmap(128 + i % 7, 96)}}, 200);
        } else {
            copyText(u"Kopie Nummer " + utf8ToUtf16(std::to_string(i)) + u" mit Umlauten \u00e4\u00f6\u00fc und etwas Text",
                     i % 3 == 0 ? 40 : 200);
        }
    }
    ASSERT_TRUE(desktop.messages().empty());
    EXPECT_EQ(prog().lastFailure(), u"") << "no capture failed";
    const std::size_t rowsAdded = rows() - rowsAtStart;
    EXPECT_GT(rowsAdded, std::size_t(changes) / 2) << "most changes were captured";
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizer keeps freed memory in quarantine, so resident memory says nothing here;
    // its leak check at exit stands in.
    static_cast<void>(memoryAtStart);
#else
    const std::size_t grown = residentBytes() > memoryAtStart ? residentBytes() - memoryAtStart : 0;
    // A row holds a short text once (history, list cells and display share it) and a few
    // small strings, about 500 bytes; a picture kept per image change (48 KiB every tenth
    // change) would add over 5 KiB a row.
    EXPECT_LE(grown, rowsAdded * 1024 + (std::size_t{1} << 20)) << grown << " bytes for " << rowsAdded << " rows";
#endif
    EXPECT_EQ(app.captureState().SuppressCount, 0);
}

}  // namespace
}  // namespace tessaro

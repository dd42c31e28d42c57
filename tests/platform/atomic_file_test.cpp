// SPDX-License-Identifier: GPL-3.0-or-later
// The one file-writing helper: a file is replaced whole or not at all.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "output/oracle.h"
#include "platform/atomic_file.h"
#include "support/file_size_limit.h"

namespace tessaro {
namespace {

using testing_output::readBytes;
using testing_output::TempDir;

std::size_t entriesIn(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

std::string errorOf(const std::function<void()>& write) {
    try {
        write();
    } catch (const FileError& error) {
        return error.what();
    }
    return "no error";
}

TEST(AtomicFile, ReplacesTheWholeFileKeepingItsPermissionsAndLinks) {
    TempDir dir;
    const auto target = dir.path() / "notes.txt";
    WriteFileAtomically(target.string(), "first version, rather long");
    ::chmod(target.c_str(), 0640);
    WriteFileAtomically(target.string(), "second");
    EXPECT_EQ(readBytes(target), "second");
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(entriesIn(dir.path()), 1u) << "no temporary file is left";

    const auto link = dir.path() / "link.txt";
    std::filesystem::create_symlink(target, link);
    WriteFileAtomically(link.string(), "through the link");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readBytes(target), "through the link");

    // A device is written where it is, not replaced by a file.
    WriteFileAtomically("/dev/null", "discarded");
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
}

TEST(AtomicFile, AFailedWriteLeavesTheOldFileAndNamesThePath) {
    TempDir dir;
    const auto target = dir.path() / "kept.txt";
    WriteFileAtomically(target.string(), "the old content");
    // A file-size limit makes the system refuse the write, as a full disk would.
    const std::string error = [&] {
        const testing::FileSizeLimit limit(4096);
        return errorOf([&] { WriteFileAtomically(target.string(), std::string(100000, 'x')); });
    }();
    EXPECT_EQ(error, "Stream write error \"" + target.string() + "\". File too large");
    EXPECT_EQ(readBytes(target), "the old content");
    EXPECT_EQ(entriesIn(dir.path()), 1u);

    const auto missing = dir.path() / "no" / "such.txt";
    EXPECT_EQ(errorOf([&] { WriteFileAtomically(missing.string(), "x"); }),
              "Cannot create file \"" + missing.string() + "\". No such file or directory");
    EXPECT_EQ(errorOf([&] { WriteFileAtomically(dir.path().string(), "x"); }),
              "Cannot create file \"" + dir.path().string() + "\". Is a directory");
    EXPECT_EQ(errorOf([&] { WriteFileAtomically(dir.path().string() + std::string("/a\0b", 4), "x"); }),
              "Cannot create file \"" + dir.path().string() + "/a\\0b\". Invalid argument")
        << "the message shows the whole path";
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

}  // namespace
}  // namespace tessaro

// The atomic save and the checked read: a failed save keeps the old file,
// and a read refuses what is not a sane regular file before reading it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "kb/file_io.h"
#include "support/fixtures.h"

namespace torv::kb {
namespace {

namespace fs = std::filesystem;
using Fault = ReadResult::Fault;
using Step = InjectedSaveFault::Step;

std::size_t entriesIn(const fs::path& dir) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

TEST(SaveFileAtomically, CreatesAndReplacesWithoutLeavingTemporaryFiles) {
    test::TempDir dir;
    const fs::path file = dir.path() / "REP.RPT";
    ASSERT_TRUE(saveFileAtomically(file, "first").ok);
    EXPECT_EQ(test::readFile(file), "first");
    const auto r = saveFileAtomically(file, "second, longer");
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_EQ(test::readFile(file), "second, longer");
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

class FailedSave : public ::testing::TestWithParam<Step> {};

TEST_P(FailedSave, KeepsTheOldFileAndNamesTheReason) {
    test::TempDir dir;
    const fs::path file = dir.write("REP.RPT", "the old report");
    {
        InjectedSaveFault full(GetParam(), ENOSPC);
        const auto r = saveFileAtomically(file, "the new report");
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error, "cannot write " + file.string() + ": No space left on device");
    }
    EXPECT_EQ(test::readFile(file), "the old report");
    EXPECT_EQ(entriesIn(dir.path()), 1u);  // no temporary file left behind
}

INSTANTIATE_TEST_SUITE_P(EachStep, FailedSave, ::testing::Values(Step::Create, Step::Write, Step::Sync, Step::Rename));

TEST(SaveFileAtomically, RefusesWhatCannotBeReplaced) {
    test::TempDir dir;
    const fs::path sub = dir.mkdir("SUB");
    EXPECT_EQ(saveFileAtomically(sub, "x").error, sub.string() + " is a directory");
    const fs::path missing = dir.path() / "NO" / "REP.RPT";
    EXPECT_EQ(saveFileAtomically(missing, "x").error,
              "cannot write " + missing.string() + ": No such file or directory");
    EXPECT_TRUE(fs::is_directory(sub));
}

TEST(SaveFileAtomically, KeepsTheLinkAndTheModeOfTheOldFile) {
    test::TempDir dir;
    const fs::path real = dir.write("real.txt", "old");
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    const fs::path link = dir.path() / "link.txt";
    fs::create_symlink(real, link);
    ASSERT_TRUE(saveFileAtomically(link, "new").ok);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::readFile(real), "new");
    struct stat st {};
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(ReadRegularFile, ReadsARegularFileWithinTheLimit) {
    test::TempDir dir;
    const fs::path file = dir.write("a.hlp", std::string("text\0with nul", 13));
    const auto r = readRegularFile(file, 13);
    EXPECT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.bytes, std::string("text\0with nul", 13));
}

TEST(ReadRegularFile, RefusesBeforeReading) {
    test::TempDir dir;
    const fs::path big = dir.write("big.hlp", std::string(100, 'x'));
    const fs::path sub = dir.mkdir("sub");
    const fs::path fifo = dir.path() / "fifo.abs";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path zero = dir.path() / "zero.abs";
    fs::create_symlink("/dev/zero", zero);
    const fs::path loop = dir.path() / "loop.AEB";
    fs::create_symlink(loop, loop);
    const fs::path missing = dir.path() / "missing.AEB";

    struct Case { fs::path file; Fault fault; std::string error; };
    for (const auto& c : {
             Case{big, Fault::TooLarge, big.string() + " is too large (100 bytes; the limit is 99)"},
             Case{sub, Fault::Directory, sub.string() + " is a directory"},
             Case{fifo, Fault::NotRegular, fifo.string() + " is not a regular file"},
             Case{zero, Fault::NotRegular, zero.string() + " is not a regular file"},
             Case{"/dev/zero", Fault::NotRegular, "/dev/zero is not a regular file"},
             Case{loop, Fault::Unreadable, "cannot open " + loop.string() + ": Too many levels of symbolic links"},
             Case{missing, Fault::Missing, "cannot open " + missing.string() + ": No such file or directory"},
         }) {
        const auto r = readRegularFile(c.file, 99);
        EXPECT_EQ(r.fault, c.fault) << c.file;
        EXPECT_EQ(r.error, c.error);
        EXPECT_TRUE(r.bytes.empty());
    }
}

TEST(ReadRegularFile, SaysPermissionDenied) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads any file";
    test::TempDir dir;
    const fs::path file = dir.write("secret.AEB", "x");
    ASSERT_EQ(::chmod(file.c_str(), 0), 0);
    EXPECT_EQ(readRegularFile(file, 99).error, "cannot open " + file.string() + ": Permission denied");
}

}  // namespace
}  // namespace torv::kb

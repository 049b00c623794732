#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/file_access.h"

namespace trovik {
namespace {

namespace fs = std::filesystem;

class FileAccessTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::path(::testing::TempDir()) / ("trovik-files-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        fs::permissions(dir_, fs::perms::owner_all);
        fs::remove_all(dir_);
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    static std::string Contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void Write(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    std::size_t EntryCount() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }

    fs::path dir_;
    SystemFileAccess files_;
};

TEST_F(FileAccessTest, ReplacesALongerFileWholeAndKeepsItsMode) {
    const std::string out = Path("OUTPUT.HEX");
    Write(out, std::string(9000, 'x'));
    ::chmod(out.c_str(), 0640);
    EXPECT_FALSE(files_.ReplaceFile(out, "new content"));
    EXPECT_EQ(Contents(out), "new content");
    EXPECT_EQ(fs::status(out).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(EntryCount(), 1u);  // no temporary file left behind
    EXPECT_FALSE(files_.ReplaceFile(Path("fresh.hex"), "x"));
    EXPECT_EQ(Contents(Path("fresh.hex")), "x");
}

TEST_F(FileAccessTest, NeverReplacesAReadOnlyFile) {
    const std::string out = Path("OUTPUT.HEX");
    Write(out, "old");
    ::chmod(out.c_str(), 0444);
    const auto failure = files_.ReplaceFile(out, "new");
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->find("read-only"), std::string::npos) << *failure;
    EXPECT_EQ(Contents(out), "old");
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(FileAccessTest, MissingFolderIsReported) {
    const auto failure = files_.ReplaceFile(Path("no/such/OUTPUT.HEX"), "new");
    ASSERT_TRUE(failure);
    EXPECT_EQ(*failure, "cannot create a file in the folder " + Path("no/such") + ": No such file or directory");
}

// A full disk, as far as this process can tell: a file size limit makes the
// write fail part-way. Run in a child so the limit stays there.
TEST_F(FileAccessTest, FailedWriteLeavesTheEarlierFileAlone) {
    const std::string out = Path("OUTPUT.HEX");
    Write(out, "earlier");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100, 100};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const auto failure = SystemFileAccess().ReplaceFile(out, std::string(5801, 'n'));
        ::_exit(failure && *failure == "File too large" ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(Contents(out), "earlier");
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(FileAccessTest, ReadsAtMostWhatIsAskedAndSaysWhyNot) {
    Write(Path("t"), "0123456789");
    auto read = files_.ReadFile(Path("t"), 4);
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.bytes, "0123");
    read = files_.ReadFile(Path("missing"), 4);
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.reason, "No such file or directory");
    read = files_.ReadFile(dir_.string(), 4);
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.reason, "it is a folder, not a file");
}

}  // namespace
}  // namespace trovik

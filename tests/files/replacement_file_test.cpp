// The replacement file: a target gets all of its new bytes or keeps its old ones, no temporary
// file is left behind, and devices, folders and links are treated as the header says.
#include "files/replacement_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class ReplacementFileTest : public testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::path(testing::TempDir()) / ("replacement-" + std::to_string(getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string path(const char* name) const { return (folder_ / name).string(); }

    static std::string read(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }
    static void put(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    // Names in the folder, so a test sees any temporary file left over.
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(folder_))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }

    fs::path folder_;
};

TEST_F(ReplacementFileTest, TargetChangesOnlyAtCommitAndKeepsItsPermissions) {
    const std::string target = path("model.obj");
    put(target, "old");
    chmod(target.c_str(), 0640);
    {
        ReplacementFile file;
        ASSERT_TRUE(file.open(target.c_str()));
        EXPECT_TRUE(file.write("new text"));
        EXPECT_EQ(read(target), "old");
        // Not committed: dropped at the end of the scope.
    }
    EXPECT_EQ(read(target), "old");
    EXPECT_EQ(names(), std::vector<std::string>{"model.obj"});

    ReplacementFile file;
    ASSERT_TRUE(file.open(target.c_str()));
    file.write(std::string(100000, 'x'));  // more than one block
    file.write("end");
    EXPECT_TRUE(file.commit());
    EXPECT_EQ(file.error(), 0);
    EXPECT_EQ(read(target), std::string(100000, 'x') + "end");
    struct stat status {};
    ASSERT_EQ(stat(target.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    EXPECT_EQ(names(), std::vector<std::string>{"model.obj"});
}

// The disk filling part-way, as a file-size limit makes it: the old file stays whole.
TEST_F(ReplacementFileTest, FailedWriteLeavesTheOldFileAndNoTemporary) {
    const std::string target = path("picture.ppm");
    put(target, "old picture");
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limited = saved;
    limited.rlim_cur = 4096;
    const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const int error = replaceFile(target.c_str(), std::vector<std::uint8_t>(200000, 7));
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(error, EFBIG);
    EXPECT_EQ(read(target), "old picture");
    EXPECT_EQ(names(), std::vector<std::string>{"picture.ppm"});
}

TEST_F(ReplacementFileTest, DevicesAreWrittenInPlaceWithTheirErrorsReported) {
    const std::vector<std::uint8_t> bytes(10, 1);
    EXPECT_EQ(replaceFile("/dev/full", bytes), ENOSPC);
    EXPECT_EQ(replaceFile("/dev/null", bytes), 0);
}

TEST_F(ReplacementFileTest, FoldersAndMissingFoldersAreRefused) {
    const std::vector<std::uint8_t> bytes(3, 1);
    EXPECT_EQ(replaceFile(folder_.string().c_str(), bytes), EISDIR);
    EXPECT_EQ(replaceFile(path("absent/out.bmp").c_str(), bytes), ENOENT);
    EXPECT_TRUE(names().empty());
}

TEST_F(ReplacementFileTest, ALinkStaysALinkAndItsFileIsReplaced) {
    fs::create_directories(folder_ / "real");
    const std::string real = path("real/model.mtl");
    put(real, "old");
    fs::create_symlink("real/model.mtl", folder_ / "link.mtl");
    const std::string text = "newmtl a\n";
    EXPECT_EQ(replaceFile(path("link.mtl").c_str(),
                          {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}),
              0);
    EXPECT_TRUE(fs::is_symlink(folder_ / "link.mtl"));
    EXPECT_EQ(read(real), text);
    EXPECT_EQ(names(), (std::vector<std::string>{"link.mtl", "real"}));
}

}  // namespace

// Files the user keeps are replaced whole or not at all.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "base/FileLock.h"
#include "base/FileWrite.h"
#include "profile/ProfileFile.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>

#include <csignal>
#endif

namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class FileWriteTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("file-write-test-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    // Names in dir other than the given ones: what a write left behind.
    std::vector<std::string> Others(std::initializer_list<std::string> known) const {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(dir)) {
            const std::string name = e.path().filename().string();
            if (std::find(known.begin(), known.end(), name) == known.end()) out.push_back(name);
        }
        return out;
    }
    fs::path dir;
};

TEST_F(FileWriteTest, ReplacesWholeOrLeavesTheOldFile) {
    const fs::path file = dir / "p.json";
    std::ofstream(file) << "old";
    // A link where a fixed temporary name would be is never followed.
    const fs::path victim = dir / "victim";
    std::ofstream(victim) << "victim";
#ifndef _WIN32
    fs::create_symlink(victim, dir / "p.json.tmp");
#endif
    EXPECT_EQ(tk::WriteFileWhole(file.string(), "new"), "");
    EXPECT_EQ(Contents(file), "new");
    EXPECT_EQ(Contents(victim), "victim");

    // A folder that does not exist: said so, nothing made.
    const std::string why = tk::WriteFileWhole((dir / "none" / "p.json").string(), "x");
    EXPECT_EQ(why.rfind("cannot write " + (dir / "none" / "p.json").string() + ": ", 0), 0u) << why;
#ifndef _WIN32
    // The disk refuses the bytes (a file size limit of 0) as a profile is
    // saved over an old one: the old one stays.
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit none{0, 0};
        ::setrlimit(RLIMIT_FSIZE, &none);
        ::_exit(profile::WriteTextFile(file.string(), "lost") ? 1 : 0);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(Contents(file), "new");
#endif
    EXPECT_EQ(Others({"p.json", "victim", "p.json.tmp"}), std::vector<std::string>{});
}

// One run at a time holds a file's lock; the next gets it once it is free.
TEST_F(FileWriteTest, OneHolderOfALockAtATime) {
    const std::string state = (dir / "state.json").string();
    auto first = std::make_unique<tk::FileLock>();
    ASSERT_EQ(first->Lock(state, false), "");
    tk::FileLock second;
    EXPECT_EQ(second.Lock(state, false), state + " is in use by another run of the tool");
    first.reset();
    EXPECT_EQ(second.Lock(state, false), "");
}

}  // namespace

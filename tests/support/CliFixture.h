#pragma once
// What the command-line tests share: a folder of their own for the files a
// command reads and writes, virtual readers on a virtual clock, and the
// outcome of a command.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "base/FilePath.h"
#include "profile/Profile.h"
#include "sim/VirtualClock.h"
#include "sim/VirtualHidPort.h"

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

struct Outcome {
    int status;
    std::string out, err;
};

class CliFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        // One folder per test, also when test programs run side by side.
        static int n = 0;
        dir = std::filesystem::temp_directory_path() /
              ("cli-test-" + std::to_string(::getpid()) + "-" + std::to_string(++n));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string Path(const std::string& name) const { return (dir / name).string(); }
    std::string WriteProfile(const std::string& name, const profile::Profile& p) {
        std::ofstream(Path(name), std::ios::binary) << profile::ProfileToJson(p);
        return Path(name);
    }
    // Opened as the tool opens a name it is given (on Windows, Path's UTF-8).
    static std::string Read(const std::string& path) {
        std::ifstream in(tk::PathFromUtf8(path), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    sim::VirtualClock clock;
    sim::VirtualHidPort port{clock};
    std::filesystem::path dir;
};

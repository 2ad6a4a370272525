// Saves that fail or are cut off part-way: afterwards the target holds the
// old file or the complete new one, never a mixture or a truncated file.
#include "project_file.h"
#include "radio_data.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vkt {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes Contents(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// A record whose every byte depends on `version`, so that any mixture of
// two versions is told apart from both.
std::unique_ptr<RadioData> Record(std::uint8_t version)
{
    auto d = std::make_unique<RadioData>();
    auto *p = reinterpret_cast<std::uint8_t *>(d.get());
    for (std::size_t i = 0; i < kRadioDataSize; ++i)
        p[i] = static_cast<std::uint8_t>(i * 31 + version * 101 + (i >> 8));
    return d;
}

Bytes BytesOf(const RadioData &d)
{
    const auto *p = reinterpret_cast<const std::uint8_t *>(&d);
    return Bytes(p, p + kRadioDataSize);
}

class FileFaultTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() /
              ("vkt-file-faults-" + std::to_string(::getpid()) + "-" + info->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        target = dir / "radio.Dvf";
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    // Names in the folder other than the target.
    std::vector<std::string> others() const
    {
        std::vector<std::string> names;
        for (const auto &e : fs::directory_iterator(dir))
            if (e.path() != target)
                names.push_back(e.path().filename().string());
        return names;
    }

    fs::path dir, target;
};

TEST_F(FileFaultTest, ReplacingAFolderFailsAndLeavesItAsItWas)
{
    fs::create_directory(target);
    std::ofstream(target / "inside") << "kept";
    const FileWriteResult r = SaveProjectFile(target.string(), *Record(1));
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.empty());
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(Contents(target / "inside"), (Bytes{'k', 'e', 'p', 't'}));
    EXPECT_TRUE(others().empty()) << "the temporary file is removed";
}

// The system refuses the write after `limit` bytes (a full disk, a quota),
// in a child process so that the limit binds nothing else.
TEST_F(FileFaultTest, WriteRefusedPartWayKeepsTheOldFile)
{
    const auto before = Record(1);
    ASSERT_TRUE(SaveProjectFile(target.string(), *before).ok);
    const auto after = Record(2);
    for (rlim_t limit : {rlim_t{0}, rlim_t{1}, rlim_t{4096}, rlim_t{kRadioDataSize - 1}}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_IGN); // a refused write, not a killed process
            const rlimit r{limit, limit};
            ::setrlimit(RLIMIT_FSIZE, &r);
            ::_exit(SaveProjectFile(target.string(), *after).ok ? 1 : 0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the save reports the failure, limit " << limit;
        EXPECT_EQ(Contents(target), BytesOf(*before)) << "limit " << limit;
        EXPECT_TRUE(others().empty()) << "limit " << limit;
    }
}

// A process killed at a random moment while it saves over and over: the
// file is always one whole version. What a kill leaves behind is only a
// temporary file named after the target.
TEST_F(FileFaultTest, KilledWhileSavingLeavesTheOldOrTheNewFile)
{
    const auto a = Record(1), b = Record(2);
    ASSERT_TRUE(SaveProjectFile(target.string(), *a).ok);
    const Bytes bytesA = BytesOf(*a), bytesB = BytesOf(*b);
    std::mt19937 gen(2026);
    for (int round = 0; round < 30; ++round) {
        int pipeFds[2];
        ASSERT_EQ(::pipe(pipeFds), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(pipeFds[0]);
            for (unsigned i = 0;; ++i) {
                if (!SaveProjectFile(target.string(), i % 2 ? *a : *b).ok)
                    ::_exit(1);
                if (i == 0)
                    (void)!::write(pipeFds[1], "s", 1); // the first save is done
            }
        }
        ::close(pipeFds[1]);
        char started = 0;
        ASSERT_EQ(::read(pipeFds[0], &started, 1), 1) << "the child could not save";
        ::close(pipeFds[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 8000)(gen)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child stopped saving by itself";

        const Bytes now = Contents(target);
        ASSERT_TRUE(now == bytesA || now == bytesB) << "round " << round << ": " << now.size() << " bytes of neither version";
        for (const std::string &name : others()) {
            EXPECT_EQ(name.rfind(target.filename().string() + ".tmp-", 0), 0u) << name;
            fs::remove(dir / name);
        }
    }
}

} // namespace
} // namespace vkt

// vkt410-cli against its own simulated radio, as separate processes on a
// real pseudo-terminal: sim, write, read, ports and their exit codes.
#include "program_state.h"
#include "project_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace vkt {
namespace {

const std::string kCli = VKT_CLI_PATH;

struct Result {
    int code;
    std::string output;
};

Result Sh(const std::string &command)
{
    Result r{-1, {}};
    FILE *p = popen((command + " 2>&1").c_str(), "r");
    if (!p)
        return r;
    char buf[512];
    while (std::fgets(buf, sizeof buf, p))
        r.output += buf;
    const int status = pclose(p);
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

// A simulated radio in a child process, published at a symbolic link.
class SimProcess {
public:
    SimProcess(const fs::path &link, std::vector<std::string> extra)
    {
        std::vector<std::string> args = {kCli, "sim", "--link", link.string()};
        args.insert(args.end(), extra.begin(), extra.end());
        pid_ = fork();
        if (pid_ == 0) {
            std::vector<char *> argv;
            for (auto &a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            std::freopen("/dev/null", "w", stdout);
            execv(argv[0], argv.data());
            _exit(127);
        }
        for (int i = 0; i < 200 && !fs::is_symlink(link); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // Stops it with SIGTERM; returns its exit code.
    int stop()
    {
        if (pid_ <= 0)
            return -1;
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    ~SimProcess() { stop(); }

private:
    pid_t pid_ = -1;
};

class CliRadioTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("vkt-cli-radio-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir);
        link = dir / "radio";
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string at(const char *name) const { return (dir / name).string(); }

    fs::path dir, link;
};

TEST_F(CliRadioTest, WriteAndReadBackThroughTheSimulatedRadio)
{
    auto state = std::make_unique<ProgramState>();
    SetDefaultAll(*state);
    MakeNewChannel(state->data, 5, 433500000, state->limits);
    std::memcpy(state->data.channels[5].name, "SIM", 3);
    ASSERT_TRUE(SaveProjectFile(at("in.Dvf"), state->data).ok);

    SimProcess sim(link, {"--save", at("memory.bin")});
    ASSERT_TRUE(fs::is_symlink(link));

    const Result w = Sh(kCli + " write --device " + link.string() + " " + at("in.Dvf"));
    EXPECT_EQ(w.code, 0) << w.output;
    EXPECT_NE(w.output.find("SUCCESS"), std::string::npos);

    const Result r = Sh(kCli + " read --device " + link.string() + " -o " + at("out.Dvf") + " --image-out " +
                        at("out.bin"));
    EXPECT_EQ(r.code, 0) << r.output;
    auto back = std::make_unique<RadioData>();
    ASSERT_TRUE(LoadProjectFile(at("out.Dvf"), *back).opened);
    EXPECT_TRUE(IsChannelInUse(*back, 5));
    EXPECT_EQ(back->channels[5].rxFreq.get(), 433500000u);
    EXPECT_EQ(std::memcmp(back->channels[5].name, "SIM", 3), 0);
    EXPECT_EQ(fs::file_size(at("out.bin")), 0x4520u);

    // The port list shows the link among the numbered ports.
    const Result ports = Sh(kCli + " ports --device " + link.string());
    EXPECT_EQ(ports.code, 0);
    EXPECT_NE(ports.output.find(link.string()), std::string::npos) << ports.output;

    // The automatic search finds it too when it is named in the environment.
    const Result autoRead = Sh("VKT410_EXTRA_PORTS=" + link.string() + " " + kCli + " read --auto -o " +
                               at("auto.Dvf"));
    EXPECT_EQ(autoRead.code, 0) << autoRead.output;

    EXPECT_EQ(sim.stop(), 0);
    EXPECT_EQ(fs::file_size(at("memory.bin")), 0x10000u);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link))) << "the link goes with the simulated radio";
}

TEST_F(CliRadioTest, FailuresHaveTheirExitCodesAndLeaveNoProject)
{
    {
        SimProcess sim(link, {"--password", "2468"});
        const Result r = Sh(kCli + " read --device " + link.string() + " -o " + at("p.Dvf"));
        EXPECT_EQ(r.code, 2) << r.output;
        EXPECT_NE(r.output.find("Password Error"), std::string::npos);
        const Result ok = Sh(kCli + " read --device " + link.string() + " --password 2468 -o " + at("p.Dvf"));
        EXPECT_EQ(ok.code, 0) << ok.output;
        fs::remove(at("p.Dvf"));
    }
    {
        SimProcess sim(link, {"--silent"});
        const Result r = Sh(kCli + " read --device " + link.string() + " -o " + at("p.Dvf"));
        EXPECT_EQ(r.code, 1) << r.output;
        EXPECT_NE(r.output.find("Communication False"), std::string::npos);
    }
    EXPECT_FALSE(fs::exists(at("p.Dvf"))) << "a failed read writes no project";

    const std::vector<std::string> badArguments = {
        "read -o x.Dvf",                              // no port given
        "read --port 3 --auto -o x.Dvf",              // two given
        "read --port 31 -o x.Dvf",                    // out of range
        "read --port 1 --password 1234567890123 -o x.Dvf",
        "write --port 1",                             // no project
        "sim --reply-delay soon",
    };
    for (const auto &args : badArguments)
        EXPECT_EQ(Sh(kCli + " " + args).code, 64) << args;
    EXPECT_EQ(Sh(kCli + " write --port 1 " + at("missing.Dvf")).code, 66);
}

} // namespace
} // namespace vkt

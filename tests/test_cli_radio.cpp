// vkt410-cli against its own simulated radio, as separate processes on a
// real pseudo-terminal: sim, write, read, ports and their exit codes.
#include "codeplug.h"
#include "program_state.h"
#include "project_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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
        // The configuration file a read stores its band limits in stays here.
        setenv("VKT410_CONFIG_DIR", dir.c_str(), 1);
    }
    void TearDown() override
    {
        unsetenv("VKT410_CONFIG_DIR");
        fs::remove_all(dir);
    }
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
        EXPECT_TRUE(fs::exists(at("_config.ini"))) << "a read stores the radio's limits where the window finds them";
        fs::remove(at("p.Dvf"));
        fs::remove(at("_config.ini"));
    }
    {
        SimProcess sim(link, {"--silent"});
        const Result r = Sh(kCli + " read --device " + link.string() + " -o " + at("p.Dvf"));
        EXPECT_EQ(r.code, 1) << r.output;
        EXPECT_NE(r.output.find("Communication False"), std::string::npos);
        const Result a = Sh(kCli + " adjust-read --device " + link.string() + " -o " + at("p.Dvfa"));
        EXPECT_EQ(a.code, 1) << a.output;
    }
    EXPECT_FALSE(fs::exists(at("p.Dvf"))) << "a failed read writes no project";
    EXPECT_FALSE(fs::exists(at("p.Dvfa"))) << "a failed read writes no adjustment file";
    EXPECT_FALSE(fs::exists(at("_config.ini"))) << "a failed read stores no band limits";

    const std::vector<std::string> badArguments = {
        "read -o x.Dvf",                              // no port given
        "read --port 3 --auto -o x.Dvf",              // two given
        "read --port 31 -o x.Dvf",                    // out of range
        "read --port 1 --password 1234567890123 -o x.Dvf",
        "write --port 1",                             // no project
        "sim --reply-delay soon",
        "set-password --port 1",                      // no new password
        "set-password --port 1 --new 1234567890123",  // too long
        "set-password --port 1 --new 中文",           // no password can hold it
        "read --port 1 --password Ā -o x.Dvf",        // U+0100
        "adjust-read --port 1",                       // no -o
        "adjust-write-all --port 1 a.Dvfa",           // no project
        "status",                                     // no port
        "status --port 1 --password 1",               // status takes no password
    };
    for (const auto &args : badArguments)
        EXPECT_EQ(Sh(kCli + " " + args).code, 64) << args;
    // A simulated radio that took it would run until stopped.
    EXPECT_EQ(Sh("timeout 10 " + kCli + " sim --password 中文").code, 64);
    EXPECT_EQ(Sh(kCli + " write --port 1 " + at("missing.Dvf")).code, 66);
    EXPECT_EQ(Sh(kCli + " adjust-write --port 1 " + at("missing.Dvfa")).code, 66);
}

// The limits a read takes from one radio go into the configuration file and
// from there into the next radio written.
TEST_F(CliRadioTest, BandLimitsGoFromOneRadioThroughTheConfigurationFileToTheNext)
{
    // A radio programmed with other limits than the defaults.
    auto state = std::make_unique<ProgramState>();
    SetDefaultAll(*state);
    BandLimits other;
    other.uhfTxMin = 410000000;
    other.uhfTxMax = 450000000;
    other.uhfRxMin = 405000000;
    other.uhfRxMax = 460000000;
    other.vhfTxMin = 140000000;
    other.vhfTxMax = 160000000;
    other.vhfRxMin = 137000000;
    other.vhfRxMax = 170000000;
    RecomputeMaxOffsets(other);
    std::uint8_t n = 1;
    GetDataForWrite(state->data, other, state->image, {2026, 3, 4, 5, 6}, [&n] { return n++; });
    {
        std::ofstream f(at("other.bin"), std::ios::binary);
        f.write(reinterpret_cast<const char *>(state->image.bytes.data()), kConfigImageSize);
    }
    const std::string config = at("vkt.ini");
    {
        SimProcess sim(link, {"--image", at("other.bin")});
        const Result r = Sh(kCli + " read --device " + link.string() + " --config " + config + " -o " + at("a.Dvf"));
        ASSERT_EQ(r.code, 0) << r.output;
        EXPECT_EQ(sim.stop(), 0);
    }
    const Result shown = Sh(kCli + " limits --config " + config);
    const std::vector<std::string> stored = {"U_Tx_min = 410.00000", "U_Tx_max = 450.00000", "U_Rx_min = 405.00000",
                                             "U_Rx_max = 460.00000", "V_Tx_min = 140.00000", "V_Tx_max = 160.00000",
                                             "V_Rx_min = 137.00000", "V_Rx_max = 170.00000"};
    for (const std::string &line : stored)
        EXPECT_NE(shown.output.find(line), std::string::npos) << line << "\n" << shown.output;
    // The file made by the read holds every key, not only the limits.
    std::ifstream file(config);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    for (const char *key : {"[config]", "[control]", "[Band]", "AutoSeachPort"})
        EXPECT_NE(text.find(key), std::string::npos) << key;

    struct Case {
        const char *name;
        std::string configOption;
        std::string printed;              // a line write prints
        std::vector<std::string> decoded; // lines decode prints for the written radio
    };
    const Case cases[] = {
        {"the limits of the configuration file", " --config " + config, "U_Tx_min = 410.00000",
         {"UHF transmit 410.00000 - 450.00000", "UHF receive  405.00000 - 460.00000",
          "VHF transmit 140.00000 - 160.00000", "VHF receive  137.00000 - 170.00000"}},
        {"the defaults without one", " --config " + at("none.ini"), "U_Tx_min = 400.00000",
         {"UHF transmit 400.00000 - 470.00000", "VHF receive  136.00000 - 174.00000"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(at("blank.bin"));
        SimProcess sim(link, {"--save", at("blank.bin")});
        const Result w = Sh(kCli + " write --device " + link.string() + c.configOption + " " + at("a.Dvf"));
        EXPECT_EQ(w.code, 0) << w.output;
        EXPECT_NE(w.output.find(c.printed), std::string::npos) << "write prints the limits it sends\n" << w.output;
        ASSERT_EQ(sim.stop(), 0);
        const Result d = Sh(kCli + " decode " + at("blank.bin") + " -o " + at("d.Dvf"));
        ASSERT_EQ(d.code, 0) << d.output;
        for (const std::string &line : c.decoded)
            EXPECT_NE(d.output.find(line), std::string::npos) << line << "\n" << d.output;
    }
    EXPECT_FALSE(fs::exists(at("none.ini"))) << "a write never creates the configuration file";
}

TEST_F(CliRadioTest, AdjustmentVerbsAndStatus)
{
    std::string adjustment(411, '\0');
    for (std::size_t i = 0; i < adjustment.size(); ++i)
        adjustment[i] = char(i * 7 + 3);
    {
        std::ofstream f(at("cal.Dvfa"), std::ios::binary);
        f.write(adjustment.data(), std::streamsize(adjustment.size()));
    }
    auto state = std::make_unique<ProgramState>();
    SetDefaultAll(*state);
    MakeNewChannel(state->data, 7, 145250000, state->limits);
    ASSERT_TRUE(SaveProjectFile(at("in.Dvf"), state->data).ok);

    SimProcess sim(link, {"--password", "cal"});
    const std::string port = " --device " + link.string() + " --password cal ";
    const Result w = Sh(kCli + " adjust-write" + port + at("cal.Dvfa"));
    EXPECT_EQ(w.code, 0) << w.output;
    const Result r = Sh(kCli + " adjust-read" + port + "-o " + at("back.Dvfa"));
    EXPECT_EQ(r.code, 0) << r.output;
    std::ifstream f(at("back.Dvfa"), std::ios::binary);
    const std::string back((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    ASSERT_EQ(back.size(), 411u);
    EXPECT_EQ(back.substr(0, 409), adjustment.substr(0, 409)) << "the 409 bytes the radio keeps come back";

    const Result all = Sh(kCli + " adjust-write-all" + port + at("cal.Dvfa") + " " + at("in.Dvf"));
    EXPECT_EQ(all.code, 0) << all.output;
    EXPECT_NE(all.output.find("U_Tx_min = 400.00000"), std::string::npos) << all.output;
    const Result readBack = Sh(kCli + " read" + port + "-o " + at("out.Dvf"));
    ASSERT_EQ(readBack.code, 0) << readBack.output;
    auto data = std::make_unique<RadioData>();
    ASSERT_TRUE(LoadProjectFile(at("out.Dvf"), *data).opened);
    EXPECT_TRUE(IsChannelInUse(*data, 7));
    EXPECT_EQ(Sh(kCli + " adjust-read --device " + link.string() + " -o " + at("no.Dvfa")).code, 2);
    EXPECT_FALSE(fs::exists(at("no.Dvfa")));

    // The status request needs no password.
    const Result status = Sh(kCli + " status --device " + link.string());
    EXPECT_EQ(status.code, 0) << status.output;
    EXPECT_NE(status.output.find("battery 120"), std::string::npos) << status.output;
    EXPECT_NE(status.output.find("VOX 7"), std::string::npos) << status.output;
}

// A new password, set on its own or with a full write, is the one the radio
// asks for from then on.
TEST_F(CliRadioTest, NewPasswordIsTheOneTheRadioAsksForAfterwards)
{
    auto state = std::make_unique<ProgramState>();
    SetDefaultAll(*state);
    std::memcpy(state->data.radioPassword, "fourth", 6);
    state->data.writeNewPassword = 1;
    ASSERT_TRUE(SaveProjectFile(at("flag.Dvf"), state->data).ok);

    SimProcess sim(link, {"--password", "old"});
    const std::string port = " --device " + link.string();
    struct Step {
        std::string args;
        int code;
    };
    const Step steps[] = {
        {"set-password" + port + " --password old --new n3w", 0},
        {"read" + port + " --password old -o " + at("x.Dvf"), 2},
        {"read" + port + " --password n3w -o " + at("x.Dvf"), 0},
        {"write" + port + " --password n3w " + at("flag.Dvf"), 0},
        {"read" + port + " --password n3w -o " + at("x.Dvf"), 2},
        {"read" + port + " --password fourth -o " + at("x.Dvf"), 0},
        {"set-password" + port + " --password wrong --new zzz", 2},
        {"read" + port + " --password fourth -o " + at("x.Dvf"), 0},
        // Twelve characters, each one byte in the radio (24 bytes of UTF-8).
        {"set-password" + port + " --password fourth --new ÿéÿéÿéÿéÿéÿé", 0},
        {"read" + port + " --password ÿéÿéÿéÿéÿéÿé -o " + at("x.Dvf"), 0},
    };
    for (const Step &s : steps) {
        const Result r = Sh(kCli + " " + s.args);
        EXPECT_EQ(r.code, s.code) << s.args << "\n" << r.output;
        if (s.code == 2) {
            EXPECT_NE(r.output.find("Password Error"), std::string::npos) << r.output;
        }
    }
    sim.stop();

    // The simulated radio takes its --password as the programmer sends it.
    SimProcess latin(link, {"--password", "Größe"});
    const Result r = Sh(kCli + " read" + port + " --password Größe -o " + at("x.Dvf"));
    EXPECT_EQ(r.code, 0) << r.output;
}

// A read fetches the block of the firmware version text, as the window
// shows it from a real radio.
TEST_F(CliRadioTest, AReadBringsTheRadiosFirmwareVersion)
{
    {
        SimProcess sim(link, {});
        const Result r = Sh(kCli + " read --device " + link.string() + " -o " + at("fw.Dvf"));
        ASSERT_EQ(r.code, 0) << r.output;
    }
    const Result info = Sh(kCli + " info " + at("fw.Dvf"));
    EXPECT_NE(info.output.find("radio firmware VKT410-V2.07"), std::string::npos) << info.output;
}

} // namespace
} // namespace vkt

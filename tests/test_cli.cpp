// vkt410-cli verbs, run in-process on files in a scratch folder.
#include "cli.h"
#include "codeplug.h"
#include "program_state.h"
#include "project_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace vkt::cli {
namespace {

class CliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("vkt-cli-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    int run(std::vector<std::string> args)
    {
        out.str("");
        err.str("");
        return vkt::cli::Run(args, out, err);
    }
    std::string path(const std::string &name) const { return (dir / name).string(); }
    std::vector<std::uint8_t> bytes(const std::string &name) const
    {
        std::ifstream f(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(f), {}};
    }
    void writeBytes(const std::string &name, const void *p, std::size_t n) const
    {
        std::ofstream f(path(name), std::ios::binary);
        f.write(static_cast<const char *>(p), static_cast<std::streamsize>(n));
    }

    fs::path dir;
    std::ostringstream out, err;
};

TEST_F(CliTest, BadArgumentsGiveOneLineAndExit64)
{
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"new"},
        {"new", "extra", "-o", "x.Dvf"},
        {"image", "a.Dvf"},
        {"image", "a.Dvf", "-o", "b.bin", "--clock", "2026-13-01T00:00"},
        {"image", "a.Dvf", "-o", "b.bin", "--clock", "yesterday"},
        {"image", "a.Dvf", "-o", "b.bin", "--seed", "-3"},
        {"decode", "a.bin", "-o"},
        {"info"},
        {"info", "a.Dvf", "--verbose"},
        {"new", "-o", "a", "-o", "b"},
    };
    for (const auto &args : cases) {
        EXPECT_EQ(run(args), kExitUsage) << ::testing::PrintToString(args);
        EXPECT_FALSE(err.str().empty());
    }
}

TEST_F(CliTest, HelpForEveryVerb)
{
    for (std::string verb : {"new", "image", "decode", "info"}) {
        EXPECT_EQ(run({verb, "--help"}), kExitOk);
        EXPECT_NE(out.str().find("usage: vkt410-cli " + verb), std::string::npos) << verb;
    }
    EXPECT_EQ(run({"--help"}), kExitOk);
}

TEST_F(CliTest, FileErrorsGive66And73)
{
    EXPECT_EQ(run({"info", path("missing.Dvf")}), kExitNoInput);
    EXPECT_EQ(run({"decode", path("missing.bin"), "-o", path("p.Dvf")}), kExitNoInput);
    EXPECT_EQ(run({"new", "-o", path("no/such/folder/p.Dvf")}), kExitCantCreate);
    EXPECT_NE(err.str().find("cannot write"), std::string::npos);
}

TEST_F(CliTest, NewThenInfo)
{
    ASSERT_EQ(run({"new", "-o", path("new.Dvf")}), kExitOk);
    EXPECT_EQ(bytes("new.Dvf").size(), kRadioDataSize);
    ASSERT_EQ(run({"info", path("new.Dvf")}), kExitOk) << err.str();
    EXPECT_NE(out.str().find("Channels in use: 0 of 240"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("400.00000"), std::string::npos);
    EXPECT_NE(out.str().find("136.00000"), std::string::npos);
    EXPECT_NE(out.str().find("Kelmora"), std::string::npos);
    EXPECT_TRUE(err.str().empty());
}

TEST_F(CliTest, InfoOfAShortFileWarnsWithItsSize)
{
    const std::vector<std::uint8_t> hundred(100, 0);
    writeBytes("short.Dvf", hundred.data(), hundred.size());
    EXPECT_EQ(run({"info", path("short.Dvf")}), kExitOk);
    EXPECT_NE(err.str().find("100 bytes"), std::string::npos) << err.str();
}

TEST_F(CliTest, ImageIsRepeatableAndDecodesBack)
{
    auto state = std::make_unique<ProgramState>();
    SetDefaultAll(*state);
    RadioData &d = state->data;
    MakeNewChannel(d, 1, 145125000, state->limits);
    d.channels[1].decodeType = kToneCtcss;
    d.channels[1].decodeCode = 670;
    std::memcpy(d.channels[1].name, "\xC4\xE3\xBA\xC3", 4); // GBK text
    MakeNewChannel(d, 240, 440000000, state->limits);
    d.fmMemories[0] = 87500000;
    ASSERT_TRUE(SaveProjectFile(path("p.Dvf"), d).ok);

    const std::vector<std::string> image = {"image", path("p.Dvf"), "-o", path("a.bin"),
                                            "--clock", "2026-12-09T08:30", "--seed", "7"};
    ASSERT_EQ(run(image), kExitOk) << err.str();
    auto first = bytes("a.bin");
    ASSERT_EQ(first.size(), 0x4520u);
    ASSERT_EQ(run(image), kExitOk);
    EXPECT_EQ(bytes("a.bin"), first);
    EXPECT_EQ(first[0x1520], 0x07);
    EXPECT_EQ(first[0x1521], 0xEA);
    EXPECT_EQ(first[0x1524], 8);
    EXPECT_EQ(first[0x1525], 30);

    ASSERT_EQ(run({"decode", path("a.bin"), "-o", path("back.Dvf")}), kExitOk) << err.str();
    EXPECT_NE(out.str().find("2026-12-09 08:30"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("136.00000 - 174.00000"), std::string::npos);
    auto back = std::make_unique<RadioData>();
    ASSERT_TRUE(LoadProjectFile(path("back.Dvf"), *back).opened);
    EXPECT_TRUE(IsChannelInUse(*back, 1));
    EXPECT_TRUE(IsChannelInUse(*back, 240));
    EXPECT_EQ(back->channels[1].decodeCode.get(), 670);
    EXPECT_EQ(back->fmMemories[0].get(), 87500000u);

    ASSERT_EQ(run({"info", path("back.Dvf")}), kExitOk);
    EXPECT_NE(out.str().find("145.12500"), std::string::npos);
    EXPECT_NE(out.str().find("67.0"), std::string::npos);
    EXPECT_NE(out.str().find("\xE4\xBD\xA0\xE5\xA5\xBD"), std::string::npos) << "GBK name shown as UTF-8";
}

TEST_F(CliTest, DecodeOfAShortImageWarnsAndKeepsTheBase)
{
    auto base = std::make_unique<RadioData>();
    auto state = std::make_unique<ProgramState>();
    SetDefaultAll(*state);
    *base = state->data;
    base->cw = 1; // not carried by the image: must come from the base
    ASSERT_TRUE(SaveProjectFile(path("base.Dvf"), *base).ok);
    const std::vector<std::uint8_t> small(0x100, 0);
    writeBytes("small.bin", small.data(), small.size());

    ASSERT_EQ(run({"decode", path("small.bin"), "-o", path("out.Dvf"), "--base", path("base.Dvf")}), kExitOk);
    EXPECT_NE(err.str().find("warning"), std::string::npos);
    auto out = std::make_unique<RadioData>();
    ASSERT_TRUE(LoadProjectFile(path("out.Dvf"), *out).opened);
    EXPECT_EQ(out->cw, 1);
    EXPECT_EQ(out->squelchLevel, 0); // taken from the zero-padded image
}

} // namespace
} // namespace vkt::cli

namespace vkt::cli {
namespace {

TEST_F(CliTest, ChannelListsOutAndIn)
{
    ASSERT_EQ(run({"new", "-o", path("a.Dvf")}), 0);
    {
        std::ofstream f(path("club.csv"), std::ios::binary);
        f << "\xEF\xBB\xBFLocation,Name,Frequency,Duplex,Offset,Tone,rToneFreq,Mode,Power\r\n"
             "1,RPT,145.600000,-,0.600000,Tone,88.5,FM,5.0W\r\n"
             "2,AIR,118.100000,,0.000000,,88.5,AM,5.0W\r\n"
             "3,\"GB3,X\",439.975000,-,9.000000,,88.5,NFM,1W\r\n";
    }
    // The default band limits (a configuration file that is not there).
    const std::string config = path("none.ini");
    ASSERT_EQ(run({"import-csv", path("club.csv"), path("a.Dvf"), "-o", path("b.Dvf"), "--config", config}), 0)
        << err.str();
    EXPECT_EQ(out.str(), "Channels imported: 2. Rows skipped: 1.\n"
                         "Line 3, channel 2: skipped: the receive frequency 118.100000 MHz is outside the band "
                         "limits\n"
                         "wrote " + path("b.Dvf") + "\n");
    ASSERT_EQ(run({"export-csv", path("b.Dvf"), "-o", path("b.csv")}), 0) << err.str();
    EXPECT_EQ(out.str(), "wrote " + path("b.csv") + " (2 channels)\n");
    const std::vector<std::uint8_t> csv = bytes("b.csv");
    const std::string text(csv.begin(), csv.end());
    EXPECT_NE(text.find("\r\n1,RPT,145.600000,-,0.600000,Tone,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,5.0W,"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\r\n3,\"GB3,X\",439.975000,-,9.000000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,"),
              std::string::npos)
        << text;

    // Back into a project whose channels it replaces: the same record.
    ASSERT_EQ(run({"import-csv", path("b.csv"), path("a.Dvf"), "-o", path("c.Dvf"), "--replace", "--config", config}),
              0);
    EXPECT_EQ(bytes("c.Dvf"), bytes("b.Dvf"));

    // Not a channel list, or no file: nothing is written.
    ASSERT_EQ(run({"import-csv", path("a.Dvf"), path("a.Dvf"), "-o", path("d.Dvf")}), 65);
    EXPECT_NE(err.str().find("is not a channel list"), std::string::npos) << err.str();
    EXPECT_EQ(run({"import-csv", path("none.csv"), path("a.Dvf"), "-o", path("d.Dvf")}), 66);
    EXPECT_FALSE(fs::exists(path("d.Dvf")));
    EXPECT_EQ(run({"import-csv", path("b.csv"), path("a.Dvf"), "-o", path("d.Dvf"), "--language", "7"}), 64);
}

} // namespace
} // namespace vkt::cli

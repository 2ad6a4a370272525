// vkt410-cli get and set, run in-process on files in a scratch folder: the
// controls and grid cells by name, the band limits of the configuration
// file in use, and the failures that write nothing.
#include "cli.h"
#include "field_texts.h"
#include "fields.h"
#include "gbk_text.h"
#include "program_state.h"
#include "project_file.h"

#include <QtGlobal>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace vkt::cli {
namespace {

struct Assigned {
    std::string name;
    std::string typed;
    std::string shown; // what get prints afterwards
};

class CliFieldsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("vkt-cli-fields-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir);
        // The configuration file as the window finds it: nothing there yet.
        configDir = dir / "config";
        qputenv("VKT410_CONFIG_DIR", QByteArray::fromStdString(configDir.string()));
        ASSERT_EQ(run({"new", "-o", path("in.Dvf")}), kExitOk) << err.str();
    }
    void TearDown() override
    {
        qunsetenv("VKT410_CONFIG_DIR");
        fs::remove_all(dir);
    }

    int run(std::vector<std::string> args)
    {
        out.str("");
        err.str("");
        return vkt::cli::Run(args, out, err);
    }
    std::string path(const std::string &name) const { return (dir / name).string(); }

    // Runs `get` and returns its lines.
    std::vector<std::string> getLines(std::vector<std::string> args)
    {
        args.insert(args.begin(), "get");
        EXPECT_EQ(run(args), kExitOk) << err.str();
        std::vector<std::string> lines;
        std::istringstream in(out.str());
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
    // What get prints for one name of a project.
    std::string shown(const std::string &file, const std::string &name, std::vector<std::string> more = {})
    {
        std::vector<std::string> args = {path(file), name};
        args.insert(args.end(), more.begin(), more.end());
        const std::vector<std::string> lines = getLines(args);
        const std::string lead = name + " = ";
        if (lines.size() != 1 || lines[0].rfind(lead, 0) != 0) {
            ADD_FAILURE() << name << ": " << out.str();
            return {};
        }
        return lines[0].substr(lead.size());
    }
    RadioData record(const std::string &file) const
    {
        auto state = std::make_unique<ProgramState>();
        SetDefaultAll(*state);
        EXPECT_TRUE(LoadProjectFile(path(file), state->data).opened);
        return state->data;
    }
    int set(const std::string &in, const std::string &outFile, const std::vector<std::string> &assignments,
            std::vector<std::string> more = {})
    {
        std::vector<std::string> args = {"set", path(in), "-o", path(outFile)};
        args.insert(args.end(), assignments.begin(), assignments.end());
        args.insert(args.end(), more.begin(), more.end());
        return run(args);
    }

    fs::path dir, configDir;
    std::ostringstream out, err;
};

TEST_F(CliFieldsTest, SetThenGetRoundTripsEveryRuleKind)
{
    // In order: the channel's receive frequency creates it before its other
    // cells are typed; a number follows its signalling system.
    std::vector<Assigned> cases = {
        {"cbSQL", "7", "7"},                         // Index
        {"cbMEM", "17", "17"},                       // IndexPlus
        {"cbTOT", "#3", "90"},                       // Times
        {"cbVOX_DELAY", "2s", "2s"},                 // Lookup
        {"cbStep", "12.5K", "12.5K"},                // Step
        {"cbFr_SignalSys_A", "DTMF", "DTMF"},        // SignalSystem
        {"cbFr_SignalNo_A", "12", "12"},             // SignalNumber
        {"cBeep", "0", "0"},                         // Flag
        {"cMenuOnOff", "1", "1"},                    // NonZero
        {"cDeviceLock", "0", "0"},                   // Inverted
        {"rWelcome_eng", "1", "1"},                  // RadioValue
        {"eFr_Freq_A", "446.00625", "446.00625"},    // Frequency
        {"eFr_Freq_B", "19a0", "174.00000"},         // key filter, then the band limit
        {"eFr_Offset_A", "80", "38.00000"},          // Offset
        {"cbFr_SubaudioDe_A", "D023N", "D023N"},     // Tone
        {"ePasswordEdit", "246813", "246813"},       // Password
        {"eLogo", "HELLO", "HELLO"},                 // ByteText
        {"StringGrid1[17][1]", "145.6123", "145.60625"},
        {"StringGrid1[17][2]", "1..9.0", "136.00000"}, // 1.90: points dropped as typed
        {"StringGrid1[17][3]", "d023n", "D023N"},
        {"StringGrid1[17][4]", "67.1", "67.1"},
        {"StringGrid1[17][5]", "Low", "Low"},
        {"StringGrid1[17][6]", "#0", "Narrow"},
        {"StringGrid1[17][7]", "DEL", "DEL"},
        {"StringGrid1[17][8]", "CAT", "CAT"},
        {"StringGrid1[17][9]", "5-TONE", "5-TONE"},
        {"StringGrid1[17][10]", "16", "16"},
        {"StringGrid1[17][11]", "A(B C)D", "ABCD"},    // blank and brackets dropped
        {"StringGrid1[18][1]", "150", "150.00000"},    // a new channel's defaults:
        {"StringGrid1[18][2]", "", "0"},
        {"sgAutoOffset[9][1]", "145.6", "145.60000"}, // the grids of the options page's dialogs
        {"sgOpenMsgDefine[2][2]", "Large", "Large"},
    };
    if (GbkAvailable()) { // a name is cut at 6 bytes, never inside a character
        cases.push_back({"StringGrid1[19][1]", "433", "433.00000"});
        cases.push_back({"StringGrid1[19][11]", "AB中文字", "AB中文"});
    }
    std::vector<std::string> assignments, names;
    for (const Assigned &c : cases) {
        assignments.push_back(c.name + "=" + c.typed);
        names.push_back(c.name);
    }
    ASSERT_EQ(set("in.Dvf", "out.Dvf", assignments), kExitOk) << err.str();

    names.insert(names.begin(), path("out.Dvf"));
    const std::vector<std::string> lines = getLines(names);
    ASSERT_EQ(lines.size(), cases.size()) << out.str();
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(lines[i], cases[i].name + " = " + cases[i].shown) << "typed " << cases[i].typed;

    // The other button of the group, the new channel's defaults, the
    // stored values behind the texts.
    EXPECT_EQ(shown("out.Dvf", "rLogo_off"), "0");
    const std::vector<std::string> row18 = getLines({path("out.Dvf"), "StringGrid1[18][3]", "StringGrid1[18][5]",
                                                     "StringGrid1[18][6]", "StringGrid1[18][7]",
                                                     "StringGrid1[18][8]", "StringGrid1[18][9]",
                                                     "StringGrid1[18][10]"});
    EXPECT_EQ(row18, (std::vector<std::string>{"StringGrid1[18][3] = Off", "StringGrid1[18][5] = High",
                                               "StringGrid1[18][6] = Wide", "StringGrid1[18][7] = ADD",
                                               "StringGrid1[18][8] = OFF", "StringGrid1[18][9] = OFF",
                                               "StringGrid1[18][10] = "}));
    const RadioData d = record("out.Dvf");
    EXPECT_EQ(d.channels[17].rxFreq.get(), 145606250u);
    EXPECT_EQ(d.channels[17].txFreq.get(), 136000000u);
    EXPECT_EQ(d.channels[17].decodeType, 2);
    EXPECT_EQ(d.channels[17].encodeCode.get(), 671);
    EXPECT_EQ(d.channels[18].txFreq.get(), 0u);
    EXPECT_EQ(d.vfoA.rxFreq.get(), 446006250u);
    EXPECT_EQ(d.txTimeout.get(), 90);
    EXPECT_EQ(d.keyBeep, 0);
    EXPECT_EQ(d.deviceLock, 1);
    EXPECT_EQ(d.offsetA.get(), 38000000u);

    // A new system resets the number to the first entry.
    ASSERT_EQ(set("out.Dvf", "out2.Dvf", {"cbFr_SignalSys_A=2-TONE", "StringGrid1[17][9]=DTMF"}), kExitOk)
        << err.str();
    EXPECT_EQ(shown("out2.Dvf", "cbFr_SignalNo_A"), "1");
    EXPECT_EQ(shown("out2.Dvf", "StringGrid1[17][10]"), "1");
}

TEST_F(CliFieldsTest, TextsACellDoesNotTakeChangeNothing)
{
    ASSERT_EQ(set("in.Dvf", "a.Dvf", {"StringGrid1[5][1]=145", "StringGrid1[5][3]=88.5"}), kExitOk) << err.str();
    const RadioData before = record("a.Dvf");
    // A tone the parser rejects, lists left without a choice: nothing changes.
    ASSERT_EQ(set("a.Dvf", "b.Dvf",
                  {"StringGrid1[5][3]=D999X", "StringGrid1[5][5]=", "StringGrid1[5][9]=", "cbSQL="}),
              kExitOk)
        << err.str();
    const RadioData after = record("b.Dvf");
    EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
    EXPECT_EQ(shown("b.Dvf", "StringGrid1[5][3]"), "88.5");

    // Loaded values that no list entry shows: power code 3 shows "Mid",
    // busy code 3 and system 6 show nothing, and leaving them keeps them.
    RadioData d = before;
    SetPowerOf(d.channels[5], 3);
    SetBusyLockOf(d.channels[5], 3);
    SetSignalSystemOf(d.channels[5], 6);
    std::ofstream(path("odd.Dvf"), std::ios::binary).write(reinterpret_cast<const char *>(&d), sizeof d);
    EXPECT_EQ(getLines({path("odd.Dvf"), "StringGrid1[5][5]", "StringGrid1[5][8]", "StringGrid1[5][9]"}),
              (std::vector<std::string>{"StringGrid1[5][5] = Mid", "StringGrid1[5][8] = ",
                                        "StringGrid1[5][9] = "}));
    ASSERT_EQ(set("odd.Dvf", "odd2.Dvf", {"StringGrid1[5][5]=", "StringGrid1[5][8]=", "StringGrid1[5][9]="}),
              kExitOk)
        << err.str();
    const RadioData kept = record("odd2.Dvf");
    EXPECT_EQ(std::memcmp(&d, &kept, sizeof d), 0);

    // Clearing the receive frequency deletes the channel; its cells are empty.
    ASSERT_EQ(set("a.Dvf", "c.Dvf", {"StringGrid1[5][1]="}), kExitOk) << err.str();
    EXPECT_EQ(shown("c.Dvf", "StringGrid1[5][3]"), "");
    EXPECT_FALSE(IsChannelInUse(record("c.Dvf"), 5));
}

TEST_F(CliFieldsTest, FailuresWriteNothingAndExit64)
{
    const std::vector<std::vector<std::string>> cases = {
        {"cbNoSuchControl=1"},                            // unknown name
        {"StringGrid9[1][1]=145"},
        {"cbSQL=eleven"},                                 // a value the list does not have
        {"cbSQL=#10"},
        {"StringGrid1[17][1]=145", "StringGrid1[17][5]=Huge"}, // a good one first: still nothing written
        {"StringGrid1[17][1]=145", "StringGrid1[17][10]=1"},   // no signalling system, no number
        {"StringGrid1[241][1]=145"},                      // a cell outside the grid
        {"StringGrid1[0][1]=145"},
        {"StringGrid1[1][12]=145"},
        {"sgAutoOffset[99][1]=145.6"},
        {"sgOpenMsgDefine[9][2]=Large"},
        {"StringGrid1[1]=145"},                           // malformed names
        {"StringGrid1=145"},
        {"StringGrid1[x][1]=145"},
        {"cbSQL"},
        {"=5"},
        {"StringGrid1[17][1]=145."},                      // not a frequency
        {"eFr_Freq_A=145."},
        {"StringGrid1[5][3]=Off"},                        // a channel not in use
    };
    for (const auto &assignments : cases) {
        EXPECT_EQ(set("in.Dvf", "out.Dvf", assignments), kExitUsage) << ::testing::PrintToString(assignments);
        EXPECT_FALSE(fs::exists(path("out.Dvf"))) << ::testing::PrintToString(assignments);
        const std::string e = err.str();
        EXPECT_TRUE(!e.empty() && e.find('\n') == e.size() - 1) << e;
    }
    // get: an unknown name, a bad language.
    EXPECT_EQ(run({"get", path("in.Dvf"), "cbNoSuchControl"}), kExitUsage);
    EXPECT_EQ(run({"get", path("in.Dvf"), "--language", "3"}), kExitUsage);
    EXPECT_EQ(run({"set", path("in.Dvf"), "cbSQL=1"}), kExitUsage); // no -o
    EXPECT_EQ(run({"set", path("missing.Dvf"), "-o", path("out.Dvf"), "cbSQL=1"}), kExitNoInput);
    EXPECT_FALSE(fs::exists(path("out.Dvf")));
}

TEST_F(CliFieldsTest, GetWithoutNamesPrintsEveryControlThenEveryCellInPageOrder)
{
    ASSERT_EQ(set("in.Dvf", "a.Dvf", {"StringGrid1[240][1]=440", "StringGrid1[240][11]=X"}), kExitOk);
    const std::vector<std::string> lines = getLines({path("a.Dvf")});
    std::vector<std::string> names;
    for (const Field &f : AllFields())
        names.emplace_back(f.name);
    for (const GridCells &g : AllGrids())
        for (int r = 1; r < g.rows; ++r)
            for (int c = 1; c < g.columns; ++c)
                names.push_back(std::string(g.name) + "[" + std::to_string(r) + "][" + std::to_string(c) + "]");
    ASSERT_EQ(lines.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        ASSERT_EQ(lines[i].substr(0, lines[i].find(" = ")), names[i]) << i;
    ASSERT_GE(AllGrids().size(), 3u);
    EXPECT_EQ(AllGrids()[0].name, "StringGrid1");
    EXPECT_EQ(AllGrids()[0].rows, 241);
    EXPECT_EQ(AllGrids()[0].columns, 12);
    EXPECT_NE(out.str().find("\nStringGrid1[240][1] = 440.00000\n"), std::string::npos);
    EXPECT_NE(out.str().find("\nStringGrid1[240][11] = X\n"), std::string::npos);
    EXPECT_NE(out.str().find("\nStringGrid1[239][1] = \n"), std::string::npos);
    // A grid's name alone: all its cells.
    EXPECT_EQ(getLines({path("a.Dvf"), "StringGrid1"}).size(), 240u * 11u);
}

TEST_F(CliFieldsTest, LanguagesShowTheirItemTexts)
{
    ASSERT_EQ(set("in.Dvf", "a.Dvf", {"StringGrid1[3][1]=145", "cbSCAN=Time"}), kExitOk) << err.str();
    EXPECT_EQ(shown("a.Dvf", "StringGrid1[3][5]", {"--language", "1"}), "高");
    EXPECT_EQ(shown("a.Dvf", "StringGrid1[3][6]", {"--language", "2"}), "寬帶");
    EXPECT_EQ(shown("a.Dvf", "cbSCAN", {"--language", "1"}), "时间");
    // The language lasts for one command only.
    EXPECT_EQ(shown("a.Dvf", "StringGrid1[3][5]"), "High");
}

TEST_F(CliFieldsTest, BandLimitsComeFromTheConfigurationFileInUse)
{
    const std::string ini = "[Band]\nV_Rx min=140000000\nV_Tx max=150000000\n";
    const fs::path named = dir / "named.ini";
    std::ofstream(named) << ini;

    // Named by --config.
    ASSERT_EQ(set("in.Dvf", "a.Dvf", {"eFr_Freq_A=", "StringGrid1[2][1]=100", "StringGrid1[2][2]=170"},
                  {"--config", named.string()}),
              kExitOk)
        << err.str();
    EXPECT_EQ(shown("a.Dvf", "eFr_Freq_A"), "140.00000");
    EXPECT_EQ(shown("a.Dvf", "StringGrid1[2][1]"), "140.00000");
    EXPECT_EQ(shown("a.Dvf", "StringGrid1[2][2]"), "150.00000");

    // Found through VKT410_CONFIG_DIR, as the window finds it.
    ASSERT_EQ(set("in.Dvf", "b.Dvf", {"eFr_Freq_A="}), kExitOk) << err.str();
    EXPECT_EQ(shown("b.Dvf", "eFr_Freq_A"), "136.00000"); // no file there: the default limits
    fs::create_directories(configDir);
    std::ofstream(configDir / "_config.ini") << ini;
    ASSERT_EQ(set("in.Dvf", "c.Dvf", {"eFr_Freq_A="}), kExitOk) << err.str();
    EXPECT_EQ(shown("c.Dvf", "eFr_Freq_A"), "140.00000");

    // Neither verb creates or changes a configuration file, or its folder.
    std::ifstream f(configDir / "_config.ini");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(f), {}), ini);
    const fs::path missing = dir / "nowhere" / "_config.ini";
    qputenv("VKT410_CONFIG_DIR", QByteArray::fromStdString(missing.parent_path().string()));
    EXPECT_EQ(set("in.Dvf", "d.Dvf", {"cbSQL=3"}), kExitOk);
    EXPECT_EQ(run({"get", path("d.Dvf"), "cbSQL"}), kExitOk);
    EXPECT_EQ(run({"get", path("d.Dvf"), "cbSQL", "--config", (dir / "none.ini").string()}), kExitOk);
    EXPECT_FALSE(fs::exists(missing.parent_path()));
    EXPECT_FALSE(fs::exists(dir / "none.ini"));
}

TEST_F(CliFieldsTest, AFileOfAnotherSizeIsReadAsOpenReadsItWithAWarning)
{
    std::ofstream(path("short.Dvf"), std::ios::binary) << std::string(100, '\0');
    const std::string sql = shown("in.Dvf", "cbSQL");
    EXPECT_EQ(shown("short.Dvf", "cbSQL"), sql);
    EXPECT_NE(err.str().find("100 bytes"), std::string::npos) << err.str();
    EXPECT_EQ(set("short.Dvf", "out.Dvf", {"cbSQL=2"}), kExitOk);
    const std::string e = err.str();
    EXPECT_NE(e.find("100 bytes"), std::string::npos) << e;
    EXPECT_EQ(e.find('\n'), e.size() - 1) << e;
    EXPECT_EQ(fs::file_size(path("out.Dvf")), sizeof(RadioData));
}

TEST_F(CliFieldsTest, HelpListsTheNames)
{
    for (std::string verb : {"get", "set"}) {
        ASSERT_EQ(run({verb, "--help"}), kExitOk);
        const std::string help = out.str();
        EXPECT_NE(help.find("usage: vkt410-cli " + verb), std::string::npos);
        for (const char *name : {"cbTOT", "cBeep", "rWelcome_eng", "eFr_Freq_A", "StringGrid1", "sgAutoOffset",
                                 "sgOpenMsgDefine", "rows 1 to 240, columns 1 to 11"})
            EXPECT_NE(help.find(name), std::string::npos) << verb << " " << name;
    }
    ASSERT_EQ(run({"--help"}), kExitOk);
    EXPECT_NE(out.str().find("  get "), std::string::npos);
    EXPECT_NE(out.str().find("  set "), std::string::npos);
}

} // namespace
} // namespace vkt::cli

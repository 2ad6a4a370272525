#include "app_config.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <ostream>
#include <random>

namespace fs = std::filesystem;

namespace vkt {

// Failures show the values as the file would hold them.
void PrintTo(const AppConfig &c, std::ostream *os)
{
    IniFile ini;
    c.writeTo(ini, false);
    *os << "\n" << ini.text();
}

namespace {

#ifdef _WIN32
const std::string kEol = "\r\n";
#else
const std::string kEol = "\n";
#endif

class AppConfigFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("vkt_app_config_" + std::to_string(std::random_device{}()));
        fs::create_directories(dir_);
        path_ = (dir_ / kConfigFileName).string();
    }
    void TearDown() override { fs::remove_all(dir_); }

    void write(const std::string &text) const
    {
        std::ofstream(path_, std::ios::binary | std::ios::trunc) << text;
    }
    std::string read() const
    {
        std::ifstream in(path_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    AppConfig load()
    {
        AppConfig c;
        c.Port = -99; // load must replace everything
        bool created = true;
        std::string error;
        EXPECT_TRUE(c.load(path_, created, error)) << error;
        EXPECT_FALSE(created);
        return c;
    }
    void save(const AppConfig &c)
    {
        std::string error;
        ASSERT_TRUE(c.save(path_, error)) << error;
    }

    fs::path dir_;
    std::string path_;
};

AppConfig Read(const std::string &text)
{
    IniFile ini;
    ini.parse(text);
    AppConfig c;
    c.readFrom(ini);
    return c;
}

TEST_F(AppConfigFiles, FirstLoadCreatesEveryKeyWithItsDefault)
{
    AppConfig c;
    c.Language = 2;
    bool created = false;
    std::string error;
    ASSERT_TRUE(c.load(path_, created, error)) << error;
    EXPECT_TRUE(created);

    EXPECT_EQ(c.Port, 1);
    EXPECT_EQ(c.Language, 0);
    EXPECT_TRUE(c.AutoSeachPort);
    EXPECT_EQ(c.ComInitMode, 0);
    for (int h : c.channelRowHeights)
        EXPECT_EQ(h, 20);
    for (int h : c.addressRowHeights)
        EXPECT_EQ(h, 20);
    EXPECT_EQ(c.channelColWidths, (std::array<int, 12>{35, 100, 100, 80, 80, 70, 80, 80, 90, 100, 80, 80}));
    EXPECT_EQ(c.addressColWidths, (std::array<int, 3>{30, 70, 130}));
    EXPECT_EQ(c.limits, BandLimits{});
    EXPECT_EQ(c.limits.uhfMaxOffset, 70000000u);

    std::string expected = "[config]" + kEol + "Port=1" + kEol + "Language=0" + kEol + "AutoSeachPort=1" + kEol +
                           "ComInitMode=0" + kEol + "[control]" + kEol;
    auto sizes = [&](const std::string &prefix, int count, std::function<int(int)> value) {
        for (int i = 0; i < count; ++i)
            expected += prefix + std::to_string(i) + "=" + std::to_string(value(i)) + kEol;
    };
    const int chCols[] = {35, 100, 100, 80, 80, 70, 80, 80, 90, 100, 80, 80};
    const int abCols[] = {30, 70, 130};
    sizes("ChSG_Row", 241, [](int) { return 20; });
    sizes("ChSG_Col", 12, [&](int i) { return chCols[i]; });
    sizes("DtmfAbSG_Row", 31, [](int) { return 20; });
    sizes("DtmfAbSG_Col", 3, [&](int i) { return abCols[i]; });
    expected += "[Band]" + kEol + "U_Tx min=400000000" + kEol + "U_Tx max=470000000" + kEol +
                "U_Rx min=400000000" + kEol + "U_Rx max=470000000" + kEol + "V_Tx min=136000000" + kEol +
                "V_Tx max=174000000" + kEol + "V_Rx min=136000000" + kEol + "V_Rx max=174000000" + kEol;
    for (const char *lang : {"chs", "cht", "eng"})
        expected += std::string("[") + lang + "]" + kEol + "AppName= " + kEol + "Company= " + kEol;
    EXPECT_EQ(read(), expected);

    // The next start reads the file it created.
    EXPECT_EQ(load(), AppConfig{});
}

TEST_F(AppConfigFiles, StoredValuesAreReadAndWrittenBack)
{
    struct Case {
        const char *file;
        std::function<void(AppConfig &)> expect; // applied to the defaults
        const char *savedLine;                   // a line the saved file must hold
    } cases[] = {
        {"[config]\nComInitMode=5\n", [](AppConfig &c) { c.ComInitMode = 5; }, "ComInitMode=5"},
        {"[config]\nLanguage=7\n", [](AppConfig &c) { c.Language = 7; }, "Language=7"},
        {"[config]\nPort=0\n", [](AppConfig &c) { c.Port = 0; }, "Port=0"},
        {"[config]\nAutoSeachPort=0\n", [](AppConfig &c) { c.AutoSeachPort = false; }, "AutoSeachPort=0"},
        {"[control]\nChSG_Col0=50\nChSG_Col11=7\n",
         [](AppConfig &c) {
             c.channelColWidths[0] = 50;
             c.channelColWidths[11] = 7;
         },
         "ChSG_Col5=70"},
        {"[control]\nChSG_Row240=33\nDtmfAbSG_Row30=0\nDtmfAbSG_Col2=10000\n",
         [](AppConfig &c) {
             c.channelRowHeights[240] = 33;
             c.addressRowHeights[30] = 0;
             c.addressColWidths[2] = 10000;
         },
         "DtmfAbSG_Col2=10000"},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.file);
        write(k.file);
        AppConfig expected;
        k.expect(expected);
        AppConfig c = load();
        EXPECT_EQ(c, expected);
        save(c);
        EXPECT_NE(read().find(std::string("\n") + k.savedLine + "\n"), std::string::npos) << read();
        EXPECT_EQ(load(), expected);
    }
}

TEST_F(AppConfigFiles, SaveKeepsTheFilesOwnLines)
{
    const std::string original = "\xEF\xBB\xBF; settings\r\n"
                                 "[Config]\r\n"
                                 "port = 3 \r\n"
                                 "Theme=dark\r\n"
                                 "\r\n"
                                 "# notes\r\n"
                                 "[extra]\r\n"
                                 "x=1\r\n"
                                 "garbage line\r\n"
                                 "[BAND]\r\n"
                                 "U_Tx min=410000000\r\n";
    write(original);
    AppConfig c = load();
    EXPECT_EQ(c.Port, 3);
    EXPECT_EQ(c.limits.uhfTxMin, 410000000u);

    // Saving what was read changes no line; the missing keys go after the
    // last key of their section, missing sections to the end.
    save(c);
    const std::string saved = read();
    const std::string head = "\xEF\xBB\xBF; settings\r\n[Config]\r\nport = 3 \r\nTheme=dark\r\nLanguage=0\r\n"
                             "AutoSeachPort=1\r\nComInitMode=0\r\n\r\n# notes\r\n[extra]\r\nx=1\r\ngarbage line\r\n"
                             "[BAND]\r\nU_Tx min=410000000\r\nU_Tx max=470000000\r\n";
    EXPECT_EQ(saved.substr(0, head.size()), head);
    EXPECT_NE(saved.find("V_Rx max=174000000\r\n[control]\r\nChSG_Row0=20\r\n"), std::string::npos);
    EXPECT_TRUE(saved.ends_with("DtmfAbSG_Col2=130\r\n"));
    EXPECT_EQ(saved.find("AppName"), std::string::npos);
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), std::count(saved.begin(), saved.end(), '\r'));

    // A changed value rewrites its own line only; a second save changes nothing.
    c.Port = 4;
    save(c);
    std::string changed = saved;
    changed.replace(changed.find("port = 3 "), 9, "port=4");
    EXPECT_EQ(read(), changed);
    save(c);
    EXPECT_EQ(read(), changed);
}

TEST(AppConfigRead, DamagedOrOddFilesGiveDefaultsForWhatIsUnusable)
{
    using namespace std::string_literals;
    struct Case {
        const char *name;
        std::string text;
        std::function<void(AppConfig &)> expect; // applied to the defaults
    } cases[] = {
        {"empty file", "", [](AppConfig &) {}},
        {"only line ends", "\n\r\n\r\r", [](AppConfig &) {}},
        {"keys outside their section", "Port=5\n[control]\nPort=6\n[Band]\nLanguage=2\n", [](AppConfig &) {}},
        {"garbage lines", "garbage\n[config\nPort=5\n==\n=3\n[config]\n\x01\xff\nLanguage=2\n]\n[\n",
         [](AppConfig &c) { c.Language = 2; }},
        {"duplicate key: first counts", "[config]\nPort=3\nPort=9\n", [](AppConfig &c) { c.Port = 3; }},
        {"duplicate section: first key counts", "[config]\nPort=3\n[Band]\n[config]\nPort=9\nLanguage=2\n",
         [](AppConfig &c) {
             c.Port = 3;
             c.Language = 2;
         }},
        {"damaged first key, then a good one", "[config]\nPort=x\nPort=4\n", [](AppConfig &) {}},
        {"CRLF", "[config]\r\nPort=3\r\nLanguage=2\r\n", [](AppConfig &c) {
             c.Port = 3;
             c.Language = 2;
         }},
        {"CR only, no final line end", "[config]\rPort=3\rLanguage=2", [](AppConfig &c) {
             c.Port = 3;
             c.Language = 2;
         }},
        {"BOM", "\xEF\xBB\xBF[config]\nPort=3\n", [](AppConfig &c) { c.Port = 3; }},
        {"NUL bytes", "[config]\nPort=3\0\nLanguage=2\n[con\0trol]\nChSG_Row0=5\n[Band]\nU_Tx\0min=1\n"s,
         [](AppConfig &c) { c.Language = 2; }},
        {"names without regard to case", "[CONFIG]\nport=4\nAUTOSEACHPORT=0\n[band]\nu_tx MIN=410000000\n",
         [](AppConfig &c) {
             c.Port = 4;
             c.AutoSeachPort = false;
             c.limits.uhfTxMin = 410000000;
             c.limits.uhfMaxOffset = 60000000;
         }},
        {"blanks around names and values", " [ config ] \n\tPort =  12 \t\n[Band]\n  V_Tx max  = 180000000 \n"
                                           "V_Rx  min=1\nV_Rxmax=1\n",
         [](AppConfig &c) {
             c.Port = 12;
             c.limits.vhfTxMax = 180000000;
             c.limits.vhfMaxOffset = 44000000;
         }},
        {"numbers and no numbers",
         "[config]\nPort=+7\nLanguage=3x\nComInitMode=-2\n[control]\nChSG_Row0=0x10\nChSG_Row1=\nChSG_Row2=+\n"
         "ChSG_Row3=+-1\nChSG_Row4=1 2\nChSG_Row5=1.5\nChSG_Row6=--1\nChSG_Row7=0009\n",
         [](AppConfig &c) {
             c.Port = 7;
             c.ComInitMode = -2;
             c.channelRowHeights[7] = 9;
         }},
        {"huge and out-of-range values",
         "[config]\nPort=99999999999999999999999999\nLanguage=2147483648\nComInitMode=-2147483649\n"
         "[control]\nChSG_Row0=10001\nChSG_Row1=-1\nChSG_Col0=9223372036854775807\n"
         "[Band]\nU_Tx min=4294967296\nU_Tx max=4294967295\nV_Tx min=-1\nV_Rx max=0\n",
         [](AppConfig &c) {
             c.limits.uhfTxMax = 4294967295u;
             c.limits.vhfRxMax = 0;
             c.limits.uhfMaxOffset = 99987500;
         }},
        {"boolean spellings", "[config]\nAutoSeachPort= FALSE \n", [](AppConfig &c) { c.AutoSeachPort = false; }},
        {"no boolean", "[config]\nAutoSeachPort=2\n", [](AppConfig &) {}},
        {"no boolean either", "[config]\nAutoSeachPort=no\n", [](AppConfig &) {}},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        AppConfig expected;
        k.expect(expected);
        EXPECT_EQ(Read(k.text), expected);
    }
}

TEST(AppConfigRead, TextComesBackAsItWasUntilAValueChanges)
{
    using namespace std::string_literals;
    const std::string texts[] = {
        "",
        "[config]\nPort=3",
        "\xEF\xBB\xBF[config]\r\nPort = 3 \r\n\r\n; c\r\n",
        "a\rb\r\r[x]\r",
        "x\0y\n[\0]\n=\n"s,
    };
    for (const std::string &t : texts) {
        SCOPED_TRACE(t);
        IniFile ini;
        ini.parse(t);
        EXPECT_EQ(ini.text(), t);
        ini.set("config", "Port", "3"); // the value it has or a new key
        ini.set("config", "Language", "1");
        const std::string out = ini.text();
        const std::string eol = t.find("\r\n") != std::string::npos ? "\r\n"
                                : t.find('\r') != std::string::npos ? "\r"
                                : t.find('\n') != std::string::npos ? "\n"
                                                                    : kEol;
        EXPECT_NE(out.find("Language=1" + eol), std::string::npos) << out;
        EXPECT_TRUE(out.ends_with(eol)) << out;
        std::string bare = out; // every line end the file's own
        for (std::size_t at; (at = bare.find(eol)) != std::string::npos;)
            bare.erase(at, eol.size());
        EXPECT_EQ(bare.find_first_of("\r\n"), std::string::npos) << out;
        EXPECT_EQ(out.starts_with("\xEF\xBB\xBF"), t.starts_with("\xEF\xBB\xBF"));
        IniFile again;
        again.parse(out);
        EXPECT_EQ(again.get("CONFIG", "port", "-"), "3");
        EXPECT_EQ(again.getInt("config", "language", -1), 1);
    }

    // Mixed line ends all become the first one.
    IniFile ini;
    ini.parse("a\r\nb\nc\rd");
    EXPECT_EQ(ini.text(), "a\r\nb\r\nc\r\nd");
}

TEST_F(AppConfigFiles, BandLimitsRoundTrip)
{
    write("");
    AppConfig c = load();
    c.limits = {350000000, 480000000, 0, 4294967295u, 100000000, 99999999, 1, 2};
    c.Language = -3;
    save(c);
    AppConfig back = load();
    EXPECT_EQ(back.limits.uhfTxMin, 350000000u);
    EXPECT_EQ(back.limits.uhfRxMax, 4294967295u);
    EXPECT_EQ(back.limits.vhfRxMax, 2u);
    EXPECT_EQ(back.limits.uhfMaxOffset, 99987500u); // 130 MHz is more than an offset can be
    EXPECT_EQ(back.limits.vhfMaxOffset, 99987500u); // maximum below minimum: the difference wraps
    RecomputeMaxOffsets(c.limits);
    EXPECT_EQ(back, c);
}

TEST_F(AppConfigFiles, UnusualFilesOnDisk)
{
    // Only the first MiB is read.
    std::string big = "[config]\nPort=3\n";
    while (big.size() <= kConfigReadLimit)
        big += "; " + std::string(1000, 'x') + "\n";
    write(big + "Language=2\n");
    AppConfig c = load();
    EXPECT_EQ(c.Port, 3);
    EXPECT_EQ(c.Language, 0);

    // A folder in the file's place: defaults, and saving reports an error.
    fs::remove(path_);
    fs::create_directory(path_);
    c = load();
    EXPECT_EQ(c, AppConfig{});
    std::string error;
    EXPECT_FALSE(c.save(path_, error));
    EXPECT_FALSE(error.empty());

    // A file that cannot be created is reported.
    bool created = true;
    EXPECT_FALSE(c.load((dir_ / "no such folder" / kConfigFileName).string(), created, error));
    EXPECT_FALSE(created);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(c, AppConfig{});
}

TEST_F(AppConfigFiles, DefaultPath)
{
    const fs::path chosen = dir_ / "sub folder";
    qputenv("VKT410_CONFIG_DIR", QByteArray::fromStdString(chosen.string()));
    EXPECT_EQ(fs::path(AppConfig::DefaultPath()), chosen / kConfigFileName);
    EXPECT_TRUE(fs::is_directory(chosen));
    qunsetenv("VKT410_CONFIG_DIR");

    // Beside the executable when that folder can be written, leaving no trace of the test.
    int argc = 1;
    char name[] = "vkt_app_config_tests";
    char *argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    const QString appDir = QCoreApplication::applicationDirPath();
    const auto before = QDir(appDir).entryList(QDir::AllEntries | QDir::Hidden);
    EXPECT_EQ(AppConfig::DefaultPath(), QDir(appDir).filePath(kConfigFileName).toStdString());
    EXPECT_EQ(QDir(appDir).entryList(QDir::AllEntries | QDir::Hidden), before);
}

} // namespace
} // namespace vkt

// Channel lists as CSV: rows into stored channel bytes, the rows that are
// skipped and the departures reported, export and import back, and the
// delimited-text reader under it.
#include "channel_csv.h"
#include "channel_csv_texts.h"
#include "codecs.h"
#include "localisation.h"
#include "program_state.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace vkt {
namespace {

// ---- delimited text --------------------------------------------------------

TEST(ChannelCsv, DelimitedTextSplitsQuotesAndLineEnds)
{
    const std::string text = "\xEF\xBB\xBF"
                             "a,\"b,c\",\"say \"\"hi\"\"\"\r\n"
                             "\n"
                             "x,\"two\nlines\",\r"
                             "last";
    const auto records = SplitDelimited(text, ',');
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].line, 1);
    EXPECT_EQ(records[0].fields, (std::vector<std::string>{"a", "b,c", "say \"hi\""}));
    EXPECT_EQ(records[1].line, 3);
    EXPECT_EQ(records[1].fields, (std::vector<std::string>{"x", "two\nlines", ""}));
    EXPECT_EQ(records[2].line, 5);
    EXPECT_EQ(records[2].fields, (std::vector<std::string>{"last"}));

    const std::vector<std::string> fields{"plain", "with,comma", "quote\"", " edge", "tab\there", ""};
    const auto back = SplitDelimited(JoinDelimited(fields, ','), ',');
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].fields, fields);
    EXPECT_EQ(JoinDelimited({"a", "b c"}, '\t'), "a\tb c");
    // An unclosed quote runs to the end without reading past it.
    EXPECT_EQ(SplitDelimited("\"open,end", ',').at(0).fields, (std::vector<std::string>{"open,end"}));
}

// ---- rows into channel bytes -------------------------------------------------

struct Fixture {
    std::unique_ptr<ProgramState> s = std::make_unique<ProgramState>();
    Fixture() { SetDefaultAll(*s); }
    const ChannelEntry &channel(int ch) const { return s->data.channels[ch]; }
};

// A full row of the written columns, the given ones changed.
std::string Row(const std::map<std::string, std::string> &changed)
{
    std::map<std::string, std::string> v = {
        {"Location", "1"},        {"Frequency", "146.520000"}, {"Offset", "0.000000"}, {"rToneFreq", "88.5"},
        {"cToneFreq", "88.5"},    {"DtcsCode", "023"},         {"DtcsPolarity", "NN"}, {"RxDtcsCode", "023"},
        {"CrossMode", "Tone->Tone"}, {"Mode", "FM"},           {"TStep", "5.00"},      {"Power", "5.0W"},
    };
    for (const auto &[k, value] : changed)
        v[k] = value;
    std::vector<std::string> fields;
    for (const std::string &c : ChannelCsvColumns())
        fields.push_back(v[c]);
    return JoinDelimited(fields, ',');
}

std::string Header() { return JoinDelimited(ChannelCsvColumns(), ','); }

std::string ToneOf(std::uint16_t code, std::uint8_t type) { return ToneText({code, type}); }

TEST(ChannelCsv, RowsBecomeChannelBytes)
{
    struct Case {
        const char *what;
        std::map<std::string, std::string> row;
        std::uint32_t rx, tx;
        const char *txTone, *rxTone;
        bool wide = true, scanAdd = true;
        unsigned power = kPowerHigh;
    };
    const Case cases[] = {
        {"simplex", {}, 146520000, 146520000, "Off", "Off"},
        {"plus", {{"Duplex", "+"}, {"Offset", "0.600000"}}, 146520000, 147120000, "Off", "Off"},
        {"minus", {{"Duplex", "-"}, {"Offset", "0.600000"}}, 146520000, 145920000, "Off", "Off"},
        {"split across bands", {{"Duplex", "split"}, {"Offset", "446.006250"}}, 146520000, 446006250, "Off", "Off"},
        {"transmit off", {{"Duplex", "off"}}, 146520000, 0, "Off", "Off"},
        {"Tone", {{"Tone", "Tone"}, {"rToneFreq", "100.0"}}, 146520000, 146520000, "100.0", "Off"},
        {"TSQL", {{"Tone", "TSQL"}, {"cToneFreq", "123.0"}}, 146520000, 146520000, "123.0", "123.0"},
        {"DTCS normal", {{"Tone", "DTCS"}, {"DtcsCode", "754"}}, 146520000, 146520000, "D754N", "D754N"},
        {"DTCS RN", {{"Tone", "DTCS"}, {"DtcsCode", "23"}, {"DtcsPolarity", "RN"}}, 146520000, 146520000, "D023I",
         "D023N"},
        {"DTCS NR", {{"Tone", "DTCS"}, {"DtcsCode", "023"}, {"DtcsPolarity", "NR"}}, 146520000, 146520000, "D023N",
         "D023I"},
        {"Tone->Tone", {{"Tone", "Cross"}, {"rToneFreq", "67.0"}, {"cToneFreq", "254.1"}}, 146520000, 146520000,
         "67.0", "254.1"},
        {"Tone->DTCS",
         {{"Tone", "Cross"}, {"CrossMode", "Tone->DTCS"}, {"rToneFreq", "77.0"}, {"RxDtcsCode", "131"},
          {"DtcsPolarity", "NR"}},
         146520000, 146520000, "77.0", "D131I"},
        {"DTCS->Tone",
         {{"Tone", "Cross"}, {"CrossMode", "DTCS->Tone"}, {"DtcsCode", "131"}, {"cToneFreq", "77.0"},
          {"DtcsPolarity", "RN"}},
         146520000, 146520000, "D131I", "77.0"},
        {"->Tone", {{"Tone", "Cross"}, {"CrossMode", "->Tone"}, {"cToneFreq", "94.8"}}, 146520000, 146520000, "Off",
         "94.8"},
        {"->DTCS", {{"Tone", "Cross"}, {"CrossMode", "->DTCS"}, {"RxDtcsCode", "065"}}, 146520000, 146520000, "Off",
         "D065N"},
        {"DTCS->", {{"Tone", "Cross"}, {"CrossMode", "DTCS->"}, {"DtcsCode", "065"}}, 146520000, 146520000, "D065N",
         "Off"},
        {"DTCS->DTCS",
         {{"Tone", "Cross"}, {"CrossMode", "DTCS->DTCS"}, {"DtcsCode", "065"}, {"RxDtcsCode", "777"},
          {"DtcsPolarity", "RR"}},
         146520000, 146520000, "D065I", "D777I"},
        {"narrow, scan DEL, low", {{"Mode", "NFM"}, {"Skip", "S"}, {"Power", "1.0W"}}, 146520000, 146520000, "Off",
         "Off", false, false, kPowerLow},
        {"Mid by watts", {{"Power", "2.5W"}}, 146520000, 146520000, "Off", "Off", true, true, kPowerMid},
        {"Mid by word", {{"Power", "mid"}}, 146520000, 146520000, "Off", "Off", true, true, kPowerMid},
        {"UHF", {{"Frequency", "439.987500"}, {"Duplex", "-"}, {"Offset", "5.000000"}}, 439987500, 434987500, "Off",
         "Off"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        const auto r = ImportChannelsCsv(f.s->data, f.s->limits, Header() + "\n" + Row(c.row), CsvImportMode::Merge,
                                         GbkNames());
        ASSERT_EQ(r.problem, CsvFileProblem::None);
        EXPECT_EQ(r.imported, 1);
        EXPECT_TRUE(r.notes.empty()) << CsvReportLines(r).join('\n').toStdString();
        ASSERT_TRUE(IsChannelInUse(f.s->data, 1));
        const ChannelEntry &e = f.channel(1);
        EXPECT_EQ(std::uint32_t(e.rxFreq), c.rx);
        EXPECT_EQ(std::uint32_t(e.txFreq), c.tx);
        EXPECT_EQ(ToneOf(e.encodeCode, e.encodeType), c.txTone);
        EXPECT_EQ(ToneOf(e.decodeCode, e.decodeType), c.rxTone);
        EXPECT_EQ(WideOf(e), c.wide);
        EXPECT_EQ(ScanAddOf(e), c.scanAdd);
        EXPECT_EQ(PowerOf(e), c.power);
    }
}

TEST(ChannelCsv, RowsTheRadioCannotHoldAreSkippedAndSaid)
{
    struct Case {
        const char *what;
        std::string row;
        CsvNoteKind kind;
    };
    const Case cases[] = {
        {"location 0", Row({{"Location", "0"}}), CsvNoteKind::BadLocation},
        {"location 241", Row({{"Location", "241"}}), CsvNoteKind::BadLocation},
        {"location text", Row({{"Location", "one"}}), CsvNoteKind::BadLocation},
        {"receive outside the limits", Row({{"Frequency", "50.000000"}}), CsvNoteKind::RxOutOfBand},
        {"between the bands", Row({{"Frequency", "200.000000"}}), CsvNoteKind::RxOutOfBand},
        {"AM", Row({{"Mode", "AM"}}), CsvNoteKind::NoSuchMode},
        {"WFM", Row({{"Mode", "WFM"}}), CsvNoteKind::NoSuchMode},
        {"DV", Row({{"Mode", "DV"}}), CsvNoteKind::NoSuchMode},
        {"unreadable frequency", Row({{"Frequency", "146,52"}}), CsvNoteKind::BadNumber},
        {"empty frequency", Row({{"Frequency", ""}}), CsvNoteKind::BadNumber},
        {"unreadable offset", Row({{"Duplex", "+"}, {"Offset", "0.6MHz"}}), CsvNoteKind::BadNumber},
        {"unknown duplex", Row({{"Duplex", "x"}}), CsvNoteKind::BadDuplex},
        {"unknown tone mode", Row({{"Tone", "Tone->"}}), CsvNoteKind::BadTone},
        {"tone below the range", Row({{"Tone", "Tone"}, {"rToneFreq", "20.0"}}), CsvNoteKind::BadTone},
        {"tone in hundredths", Row({{"Tone", "TSQL"}, {"cToneFreq", "88.55"}}), CsvNoteKind::BadTone},
        {"DCS code not octal", Row({{"Tone", "DTCS"}, {"DtcsCode", "089"}}), CsvNoteKind::BadTone},
        {"unknown cross mode", Row({{"Tone", "Cross"}, {"CrossMode", "Tone->NONE"}}), CsvNoteKind::BadTone},
        {"bad polarity", Row({{"Tone", "DTCS"}, {"DtcsPolarity", "NX"}}), CsvNoteKind::BadTone},
        {"unreadable power", Row({{"Power", "lots"}}), CsvNoteKind::BadChoice},
        {"unknown skip", Row({{"Skip", "X"}}), CsvNoteKind::BadChoice},
        {"unknown busy lock", Row({{"BusyLock", "ON"}}), CsvNoteKind::BadChoice},
        {"short row", "1,Name,146.520000", CsvNoteKind::ShortRow},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        f.s->data.channels[1].name[0] = 'Q'; // unused channel's leftover bytes
        const RadioData before = f.s->data;
        const auto r =
            ImportChannelsCsv(f.s->data, f.s->limits, Header() + "\n" + c.row, CsvImportMode::Merge, GbkNames());
        EXPECT_EQ(r.imported, 0);
        EXPECT_EQ(r.skipped, 1);
        ASSERT_EQ(r.notes.size(), 1u);
        EXPECT_EQ(r.notes[0].kind, c.kind);
        EXPECT_TRUE(SkipsRow(r.notes[0].kind));
        EXPECT_EQ(r.notes[0].line, 2);
        EXPECT_EQ(std::memcmp(&before, &f.s->data, sizeof before), 0);
    }
}

TEST(ChannelCsv, DeparturesAreAppliedAsTheChannelTableDoesAndSaid)
{
    struct Case {
        const char *what;
        std::map<std::string, std::string> row;
        CsvNoteKind kind;
        std::uint32_t rx, tx;
        const char *name; // UTF-8 as stored (GBK decoded)
    };
    const Case cases[] = {
        {"receive off the raster", {{"Frequency", "146.521000"}}, CsvNoteKind::RxOnRaster, 146518750, 146518750, ""},
        {"transmit past the band",
         {{"Duplex", "+"}, {"Offset", "30.000000"}},
         CsvNoteKind::TxLimited,
         146520000,
         174000000,
         ""},
        {"transmit off the raster",
         {{"Duplex", "split"}, {"Offset", "146.001000"}},
         CsvNoteKind::TxOnRaster,
         146520000,
         146000000,
         ""},
        {"long name", {{"Name", "REPEATER1"}}, CsvNoteKind::NameCut, 146520000, 146520000, "REPEAT"},
        {"refused characters", {{"Name", "A B!(C)"}}, CsvNoteKind::NameLeftOut, 146520000, 146520000, "ABC"},
        {"Chinese name cut", {{"Name", "中继台一"}}, CsvNoteKind::NameCut, 146520000, 146520000, "中继台"},
        {"power between levels", {{"Power", "4W"}}, CsvNoteKind::PowerNearest, 146520000, 146520000, ""},
        {"priority scan", {{"Skip", "P"}}, CsvNoteKind::PriorityScan, 146520000, 146520000, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        const auto r = ImportChannelsCsv(f.s->data, f.s->limits, Header() + "\n" + Row(c.row), CsvImportMode::Merge,
                                         GbkNames());
        EXPECT_EQ(r.imported, 1);
        ASSERT_EQ(r.notes.size(), 1u);
        EXPECT_EQ(r.notes[0].kind, c.kind);
        EXPECT_EQ(r.notes[0].channel, 1);
        EXPECT_FALSE(SkipsRow(c.kind));
        const ChannelEntry &e = f.channel(1);
        EXPECT_EQ(std::uint32_t(e.rxFreq), c.rx);
        EXPECT_EQ(std::uint32_t(e.txFreq), c.tx);
        EXPECT_EQ(GbkNames().decode(e.name, FieldTextLength(e.name, 6)), c.name);
    }
    // A Chinese name that fits is stored as GBK; so is one the file holds
    // in GBK, as spreadsheets in Chinese save it.
    const std::uint8_t gbk[6] = {0xD6, 0xD0, 0xBC, 0xCC, 'A', 0};
    for (const std::string &name : {std::string("中继A"), std::string(reinterpret_cast<const char *>(gbk), 5)}) {
        Fixture f;
        const auto r = ImportChannelsCsv(f.s->data, f.s->limits, Header() + "\n" + Row({{"Name", name}}),
                                         CsvImportMode::Merge, GbkNames());
        EXPECT_TRUE(r.notes.empty());
        EXPECT_EQ(std::memcmp(f.channel(1).name, gbk, 6), 0);
    }
    // A GBK name that is cut is reported readable.
    Fixture f;
    const std::string cut = "\xD6\xD0\xBC\xCC\xCC\xA8\xD2\xBB"; // 中继台一 in GBK
    const auto r = ImportChannelsCsv(f.s->data, f.s->limits, Header() + "\n" + Row({{"Name", cut}}),
                                     CsvImportMode::Merge, GbkNames());
    ASSERT_EQ(r.notes.size(), 1u);
    EXPECT_EQ(r.notes[0].a, "中继台一");
    EXPECT_EQ(r.notes[0].b, "中继台");
}

TEST(ChannelCsv, FileShapes)
{
    // Byte-order mark, columns in another order, an unknown column, a
    // comment line, a quoted name with a comma, missing columns defaulted.
    {
        Fixture f;
        const std::string text = "\xEF\xBB\xBF"
                                 "Frequency,Extra,Name,Location\r\n"
                                 "# exported for the club\r\n"
                                 "145.500000,x,\"A,B\",7\r\n";
        const auto r = ImportChannelsCsv(f.s->data, f.s->limits, text, CsvImportMode::Merge, GbkNames());
        ASSERT_EQ(r.problem, CsvFileProblem::None);
        EXPECT_EQ(r.imported, 1);
        EXPECT_TRUE(r.notes.empty());
        const ChannelEntry &e = f.channel(7);
        EXPECT_EQ(std::uint32_t(e.rxFreq), 145500000u);
        EXPECT_EQ(std::uint32_t(e.txFreq), 145500000u);
        EXPECT_EQ(std::memcmp(e.name, "A,B\0\0\0", 6), 0);
        EXPECT_EQ(e.flags1, kNewChannelFlags1);
    }
    // The older 17 columns: no RxDtcsCode, CrossMode or Power. A Cross row
    // is Tone->Tone, one DCS code serves both directions, and the power is
    // High, as a new channel has it.
    {
        Fixture f;
        const std::string text =
            "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode,TStep,Skip,"
            "Comment,URCALL,RPT1CALL,RPT2CALL\n"
            "3,RPT,147.000000,+,0.600000,Tone,103.5,88.5,023,NN,NFM,5.00,,,,,\n"
            "4,DCS,446.000000,,0.000000,DTCS,88.5,88.5,155,NR,FM,12.50,S,,,,\n"
            "8,CROSS,145.300000,-,0.600000,Cross,123.0,88.5,023,NN,FM,5.00,,,,,,\n";
        const auto r = ImportChannelsCsv(f.s->data, f.s->limits, text, CsvImportMode::Merge, GbkNames());
        EXPECT_EQ(r.imported, 3);
        EXPECT_TRUE(r.notes.empty()) << CsvReportLines(r).join('\n').toStdString();
        EXPECT_EQ(std::uint32_t(f.channel(3).txFreq), 147600000u);
        EXPECT_EQ(ToneOf(f.channel(3).encodeCode, f.channel(3).encodeType), "103.5");
        EXPECT_FALSE(WideOf(f.channel(3)));
        EXPECT_EQ(PowerOf(f.channel(3)), unsigned(kPowerHigh));
        EXPECT_EQ(ToneOf(f.channel(4).decodeCode, f.channel(4).decodeType), "D155I");
        EXPECT_FALSE(ScanAddOf(f.channel(4)));
        const ChannelEntry &cross = f.channel(8);
        EXPECT_EQ(std::uint32_t(cross.rxFreq), 145300000u);
        EXPECT_EQ(std::uint32_t(cross.txFreq), 144700000u);
        EXPECT_EQ(ToneOf(cross.encodeCode, cross.encodeType), "123.0");
        EXPECT_EQ(ToneOf(cross.decodeCode, cross.decodeType), "88.5");
        EXPECT_EQ(PowerOf(cross), unsigned(kPowerHigh));
        EXPECT_EQ(std::memcmp(cross.name, "CROSS\0", 6), 0);
    }
    // Cross rows of a file without CrossMode or RxDtcsCode, and rows whose
    // CrossMode or RxDtcsCode cell is empty: an empty cell takes the
    // column's default as a missing column does (Tone->Tone; the row's
    // DtcsCode for receive).
    {
        const std::string older = "Location,Frequency,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity\n";
        const struct {
            const char *what;
            std::string text;
            const char *txTone, *rxTone;
        } cases[] = {
            {"no CrossMode column", older + "1,146.520000,Cross,67.0,254.1,023,NN\n", "67.0", "254.1"},
            {"no CrossMode column, lower case", older + "1,146.520000,cross,100.0,77.0,023,NN\n", "100.0", "77.0"},
            {"empty CrossMode cell", Header() + "\n" + Row({{"Tone", "Cross"}, {"CrossMode", ""},
                                                           {"rToneFreq", "67.0"}, {"cToneFreq", "254.1"}}),
             "67.0", "254.1"},
            {"blank CrossMode cell", Header() + "\n" + Row({{"Tone", "Cross"}, {"CrossMode", "  "},
                                                           {"rToneFreq", "67.0"}, {"cToneFreq", "254.1"}}),
             "67.0", "254.1"},
            {"no RxDtcsCode column, Tone->DTCS",
             "Location,Frequency,Tone,rToneFreq,DtcsCode,DtcsPolarity,CrossMode\n"
             "1,146.520000,Cross,77.0,131,NR,Tone->DTCS\n",
             "77.0", "D131I"},
            {"no RxDtcsCode column, DTCS->DTCS",
             "Location,Frequency,Tone,DtcsCode,DtcsPolarity,CrossMode\n1,146.520000,Cross,065,RN,DTCS->DTCS\n",
             "D065I", "D065N"},
            {"empty RxDtcsCode cell, ->DTCS",
             Header() + "\n" + Row({{"Tone", "Cross"}, {"CrossMode", "->DTCS"}, {"DtcsCode", "754"},
                                    {"RxDtcsCode", ""}}),
             "Off", "D754N"},
        };
        for (const auto &c : cases) {
            SCOPED_TRACE(c.what);
            Fixture f;
            const auto r = ImportChannelsCsv(f.s->data, f.s->limits, c.text, CsvImportMode::Merge, GbkNames());
            ASSERT_EQ(r.problem, CsvFileProblem::None);
            EXPECT_EQ(r.imported, 1);
            EXPECT_TRUE(r.notes.empty()) << CsvReportLines(r).join('\n').toStdString();
            const ChannelEntry &e = f.channel(1);
            EXPECT_EQ(ToneOf(e.encodeCode, e.encodeType), c.txTone);
            EXPECT_EQ(ToneOf(e.decodeCode, e.decodeType), c.rxTone);
        }
    }
    // Not a channel list at all: nothing changes.
    const struct {
        std::string text;
        CsvFileProblem problem;
    } bad[] = {
        {"", CsvFileProblem::Empty},
        {"\xEF\xBB\xBF\r\n# only a comment\r\n", CsvFileProblem::Empty},
        {"Name,Number\nAlice,1\n", CsvFileProblem::NotChannels},
        {std::string("\0\x01\xFF,\"", 5), CsvFileProblem::NotChannels},
        {std::string(kMaxChannelCsvBytes + 1, ','), CsvFileProblem::TooLarge},
    };
    for (const auto &b : bad) {
        Fixture f;
        const RadioData before = f.s->data;
        const auto r = ImportChannelsCsv(f.s->data, f.s->limits, b.text, CsvImportMode::Replace, GbkNames());
        EXPECT_EQ(r.problem, b.problem);
        EXPECT_FALSE(CsvProblemText(r, "x.csv").isEmpty());
        EXPECT_EQ(std::memcmp(&before, &f.s->data, sizeof before), 0);
    }
}

TEST(ChannelCsv, MergeKeepsOtherChannelsReplaceDeletesThem)
{
    const std::string text = Header() + "\n" + Row({{"Location", "2"}}) + "\n" +
                             Row({{"Location", "2"}, {"Frequency", "145.000000"}}) + "\n";
    for (const CsvImportMode mode : {CsvImportMode::Merge, CsvImportMode::Replace}) {
        Fixture f;
        MakeNewChannel(f.s->data, 1, 440000000, f.s->limits);
        MakeNewChannel(f.s->data, 2, 441000000, f.s->limits);
        SetBusyLockOf(f.s->data.channels[2], kBusyCat);
        const auto r = ImportChannelsCsv(f.s->data, f.s->limits, text, mode, GbkNames());
        EXPECT_EQ(IsChannelInUse(f.s->data, 1), mode == CsvImportMode::Merge);
        // The later row for a channel wins, and says so.
        EXPECT_EQ(std::uint32_t(f.channel(2).rxFreq), 145000000u);
        EXPECT_EQ(BusyLockOf(f.channel(2)), unsigned(kBusyOff));
        ASSERT_EQ(r.notes.size(), 1u);
        EXPECT_EQ(r.notes[0].kind, CsvNoteKind::Repeated);
        EXPECT_EQ(r.notes[0].a, "2");
    }
    // A list of which no row can be taken replaces nothing: the channels
    // stay rather than all being deleted.
    Fixture f;
    MakeNewChannel(f.s->data, 1, 440000000, f.s->limits);
    const RadioData before = f.s->data;
    const auto r = ImportChannelsCsv(f.s->data, f.s->limits, Header() + "\n" + Row({{"Mode", "AM"}}) + "\n",
                                     CsvImportMode::Replace, GbkNames());
    EXPECT_EQ(r.skipped, 1);
    EXPECT_EQ(std::memcmp(&before, &f.s->data, sizeof before), 0);
}

// ---- export and back ---------------------------------------------------------

// Every byte of a channel the columns carry: all but the spare bytes.
void ExpectSameChannel(const ChannelEntry &a, const ChannelEntry &b, int ch)
{
    SCOPED_TRACE(ch);
    EXPECT_EQ(std::uint32_t(a.rxFreq), std::uint32_t(b.rxFreq));
    EXPECT_EQ(std::uint32_t(a.txFreq), std::uint32_t(b.txFreq));
    EXPECT_EQ(std::uint16_t(a.decodeCode), std::uint16_t(b.decodeCode));
    EXPECT_EQ(a.decodeType, b.decodeType);
    EXPECT_EQ(std::uint16_t(a.encodeCode), std::uint16_t(b.encodeCode));
    EXPECT_EQ(a.encodeType, b.encodeType);
    EXPECT_EQ(a.flags0, b.flags0);
    EXPECT_EQ(a.flags1, b.flags1);
    EXPECT_EQ(a.flags2, b.flags2);
    EXPECT_EQ(a.flags3, b.flags3);
    EXPECT_EQ(std::memcmp(a.name, b.name, sizeof a.name), 0);
}

TEST(ChannelCsv, ExportThenImportGivesBackEveryChannel)
{
    Fixture f;
    RadioData &d = f.s->data;
    const BandLimits &l = f.s->limits;
    const Tone off{0, kToneOff};
    const Tone tones[] = {off,
                          {885, kToneCtcss},
                          {1230, kToneCtcss},
                          {0x2800 + 023, kToneDcsN},
                          {0x2800 + 023, kToneDcsI},
                          {0x2800 + 0754, kToneDcsN},
                          {0x2800 + 0777, kToneDcsI}};
    const char *const names[] = {"", "RPT", "中继A", "A,B", "\"Q\"x", "ÄÖ"};
    int ch = 1;
    for (const Tone &tx : tones)
        for (const Tone &rx : tones) {
            const std::uint32_t freq = (ch % 2 ? 144000000u : 430000000u) + unsigned(ch) * 12500u;
            MakeNewChannel(d, ch, freq, l);
            ChannelEntry &e = d.channels[ch];
            e.encodeCode = tx.code;
            e.encodeType = tx.type;
            e.decodeCode = rx.code;
            e.decodeType = rx.type;
            const int k = ch % 5;
            e.txFreq = k == 0 ? 0u : k == 1 ? freq : k == 2 ? freq + 600000u : k == 3 ? freq - 5000000u : 446006250u;
            SetWideOf(e, ch % 3 != 0);
            SetScanAddOf(e, ch % 4 != 0);
            SetPowerOf(e, unsigned(ch % 3)); // low, high, mid
            SetBusyLockOf(e, unsigned(ch % 3));
            SetSignalSystemOf(e, unsigned(ch % 4));
            if (SignalSystemOf(e) != kSignalOff)
                SetSignalIndexOf(e, unsigned(ch % 16));
            SetScramblingOf(e, unsigned(ch % 6));
            const NameBytes n = GbkNames().encode(names[ch % std::size(names)]);
            std::copy(n.bytes.begin(), n.bytes.end(), e.name);
            ++ch;
        }
    MakeNewChannel(d, 240, 470000000, l);
    ASSERT_GT(ch, 40);

    const std::string csv = ExportChannelsCsv(d, GbkNames());
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
              "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,"
              "CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE,BusyLock,SignalSystem,"
              "SignalNumber,Scrambling");
    // The simplest tone mode that says what a channel holds.
    EXPECT_NE(csv.find("\r\n2,中继A,430.025000,+,0.600000,Cross,88.5,88.5,023,NN,023,->Tone,FM,5.00,,2.5W,,,,,,"
                       "CAT,2-TONE,3,2\r\n"),
              std::string::npos)
        << csv.substr(0, 600);
    EXPECT_NE(csv.find("\r\n8,中继A,430.100000,-,5.000000,Tone,88.5,88.5,023,NN,023,Tone->Tone,"), std::string::npos);
    EXPECT_NE(csv.find("\r\n9,\"A,B\",144.112500,split,446.006250,TSQL,88.5,88.5,"), std::string::npos);
    EXPECT_NE(csv.find(",DTCS,88.5,88.5,023,RN,023,Tone->Tone,"), std::string::npos);

    Fixture g;
    const auto r = ImportChannelsCsv(g.s->data, g.s->limits, csv, CsvImportMode::Replace, GbkNames());
    EXPECT_EQ(r.skipped, 0);
    EXPECT_TRUE(r.notes.empty()) << CsvReportLines(r).join('\n').toStdString();
    for (int c = 1; c <= kChannelCount; ++c) {
        ASSERT_EQ(IsChannelInUse(g.s->data, c), IsChannelInUse(d, c)) << c;
        if (IsChannelInUse(d, c))
            ExpectSameChannel(g.s->data.channels[c], d.channels[c], c);
    }
}

// Whatever an import stored comes back through an export and a second
// import unchanged and without a word (lists found by fuzzing among them).
TEST(ChannelCsv, ImportedListsSurviveExportAndImport)
{
    const std::string lists[] = {
        "Location,Name,Frequency\n3,RPT\xFF\xFF\xFF,148.000000\n",  // 0xFF is no GBK byte
        "Location,Name,Frequency\n4,\xD6\xD0\xFF,148.000000\n",     // GBK up to a stray byte
        "Location,Name,Frequency\n5,\xAA\xA1x,148.000000\n",         // GBK's user-defined area
    };
    for (const std::string &list : lists) {
        SCOPED_TRACE(list);
        Fixture f, g;
        ImportChannelsCsv(f.s->data, f.s->limits, list, CsvImportMode::Merge, GbkNames());
        const auto back = ImportChannelsCsv(g.s->data, g.s->limits, ExportChannelsCsv(f.s->data, GbkNames()),
                                            CsvImportMode::Replace, GbkNames());
        EXPECT_EQ(back.imported, 1);
        EXPECT_TRUE(back.notes.empty()) << CsvReportLines(back).join('\n').toStdString();
        for (int ch = 1; ch <= kChannelCount; ++ch)
            if (IsChannelInUse(f.s->data, ch))
                ExpectSameChannel(g.s->data.channels[ch], f.s->data.channels[ch], ch);
    }
}

TEST(ChannelCsv, ReportInTheActiveLanguage)
{
    CsvNote note;
    note.line = 12;
    note.channel = 5;
    note.kind = CsvNoteKind::NoSuchMode;
    note.a = "AM";
    TAppLang::instance().follow(LangId(0));
    EXPECT_EQ(CsvNoteText(note).toStdString(), "Line 12, channel 5: skipped: the radio has no mode \"AM\"");
    TAppLang::instance().follow(LangId(1));
    EXPECT_EQ(CsvNoteText(note).toStdString(), "第 12 行，信道 5：已跳过：对讲机没有 \"AM\" 模式");
    // A text from the file is shown as it stands, markers and all.
    note.kind = CsvNoteKind::NameCut;
    note.a = "%1%2";
    note.b = "%1";
    TAppLang::instance().follow(LangId(0));
    EXPECT_EQ(CsvNoteText(note).toStdString(), "Line 12, channel 5: name \"%1%2\" cut to 6 bytes: \"%1\"");
}

} // namespace
} // namespace vkt

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

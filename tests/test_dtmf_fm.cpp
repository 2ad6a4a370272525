// The DTMF and FM pages' rules without widgets: what typing or choosing a
// text in each control or grid cell stores and then shows, as the pages
// and `vkt410-cli set` run them.
#include "dtmf_edit.h"
#include "field_texts.h"
#include "fields.h"
#include "fm_edit.h"
#include "gbk_text.h"
#include "localisation.h"
#include "program_state.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <cstring>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace vkt {
namespace {

using Bytes = std::vector<std::uint8_t>;

ProgramState NewState()
{
    ProgramState s;
    SetDefaultAll(s);
    return s;
}

const std::uint8_t *RecordBytes(const RadioData &d) { return reinterpret_cast<const std::uint8_t *>(&d); }

Bytes FieldBytes(const Field &f, const RadioData &d)
{
    return Bytes(RecordBytes(d) + f.offset, RecordBytes(d) + f.offset + f.width);
}

void SetFieldBytes(const Field &f, RadioData &d, const Bytes &bytes)
{
    ASSERT_EQ(bytes.size(), f.width) << f.name;
    std::memcpy(reinterpret_cast<std::uint8_t *>(&d) + f.offset, bytes.data(), bytes.size());
}

// The 16 code bytes of a DTMF code, then its length byte.
Bytes Code(std::initializer_list<std::uint8_t> codes)
{
    Bytes b(codes);
    b.resize(kDtmfCodeMaxLength, 0);
    b.push_back(std::uint8_t(codes.size()));
    return b;
}

Bytes Le32(std::uint32_t v) { return {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)}; }

// Whether the two records differ only in the bytes of `f`.
::testing::AssertionResult OnlyFieldChanged(const Field &f, const RadioData &before, const RadioData &after)
{
    for (std::size_t i = 0; i < sizeof(RadioData); ++i)
        if ((i < f.offset || i >= f.offset + f.width) && RecordBytes(before)[i] != RecordBytes(after)[i])
            return ::testing::AssertionFailure() << "byte " << i << " changed";
    return ::testing::AssertionSuccess();
}

class DtmfFmRules : public ::testing::Test {
protected:
    void SetUp() override { TAppLang::instance().fSetLangType(TAppLang::English); }
    void TearDown() override { TAppLang::instance().fSetLangType(TAppLang::English); }
};

// ---- controls of the table of fields -----------------------------------------

struct FieldCase {
    const char *control;
    Bytes before;      // the field's bytes before; empty: as in new data
    const char *text;  // typed or chosen and left; nullptr: the page is loaded
    bool ok;
    const char *shown; // what the control shows afterwards
    Bytes after;       // the field's bytes afterwards
};

// New data: group code 0, digit duration 100, pre-time 500, ID options 3,
// state 0, FM at 76 MHz between 76 and 108 MHz, step 1 ("0.1M").
const FieldCase kFieldCases[] = {
    // Code edits: a-d typed as A-D, other keys dropped, 16 symbols at most.
    {"eDizzy", {}, "12ab*#", true, "12AB*#", Code({1, 2, 10, 11, 14, 15})},
    {"eKill", {}, "1234567890ABCD*#9", true, "1234567890ABCD*#",
     Code({1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 10, 11, 12, 13, 14, 15})},
    {"eActivation", {}, "1x2 e-3é", true, "123", Code({1, 2, 3})},
    {"eANI", Code({9, 8, 7}), "", true, "", Code({})},
    // A stored length above 16 shows 16 symbols; bytes that are no symbol are skipped.
    {"eANI", [] { Bytes b = Code({1, 2, 3, 4, 5, 6, 7, 8, 9, 1, 2, 3, 4, 5, 6, 7}); b.back() = 20; return b; }(), nullptr,
     true, "1234567891234567", {}},
    {"eDizzy", [] { Bytes b = Code({1, 0x20, 3}); return b; }(), nullptr, true, "13", {}},
    // Group code: an unknown value shows "OFF" and loading stores 0.
    {"cbGroupCode", {7}, nullptr, true, "OFF", {0}},
    {"cbGroupCode", {15}, nullptr, true, "#", {15}},
    {"cbGroupCode", {}, "C", true, "C", {12}},
    {"cbGroupCode", {14}, "OFF", true, "OFF", {0}},
    {"cbGroupCode", {}, "E", false, "OFF", {0}},
    // Working state.
    {"cbDizzyState", {}, "Kill", true, "Kill", {2}},
    {"cbDizzyState", {2}, "Activation", true, "Activation", {0}},
    {"cbDizzyState", {1}, nullptr, true, "Stun", {1}},
    // Timings: value = position x step + first; a value between two items is kept.
    {"cbD_DigitSpeed", {}, "200", true, "200", {200}},
    {"cbD_PauseDuration", {}, "#0", true, "50", {50}},
    {"cbD_DigitSpeed", {55}, "", true, "", {55}},
    {"cbD_Pretime", {}, "1000", true, "1000", {0xE8, 0x03}},
    {"cbD_Pretime", {}, "1100", false, "500", {0xF4, 0x01}},
    {"cbD_FirstDelay", {}, "0", true, "0", {0, 0}},
    {"cbD_Mi_Jing_Delay", {}, "400", true, "400", {0x90, 0x01}},
    {"cbAutoReset", {}, "255", true, "255", {255}},
    {"cbDtmf_CleanCodeTime", {}, "OFF", true, "OFF", {0}},
    {"cbD_EncodeMode", {}, "Address Book", true, "Address Book", {1}},
    // ID options: each check box owns one bit.
    {"cSendANI", {0x03}, "0", true, "0", {0x02}},
    {"cSendANI", {0xFE}, "1", true, "1", {0xFF}},
    {"cD_Subtone_match", {0x03}, "0", true, "0", {0x01}},
    {"cD_SideTone", {}, "0", true, "0", {0}},
    // Never shown, carried as they are.
    {"cD_Control", {1}, nullptr, true, "1", {1}},
    {"cbD_WhenEncode", {3}, nullptr, true, "Both Begin and End", {3}},
    {"cbD_WhenEncode", {}, "End", true, "End", {2}},
    // FM current frequency: fitted into 76-108 MHz and onto 50 kHz; six characters.
    {"eRadio_Freq", {}, "88.07", true, "88.05", Le32(88050000)},
    {"eRadio_Freq", {}, "120", true, "108.00", Le32(108000000)},
    {"eRadio_Freq", {}, "", true, "76.00", Le32(76000000)},
    {"eRadio_Freq", {}, "88.1234", true, "88.10", Le32(88100000)},   // the seventh character is dropped
    {"eRadio_Freq", {}, "9x0..5", true, "90.50", Le32(90500000)},    // key filter, one point
    {"eRadio_Freq", Le32(90000000), "88.", false, "90.00", Le32(90000000)},
    {"cbRadio_Step", {}, "1M", true, "1M", Le32(3)},
    {"cbRadio_Step", Le32(9), "", true, "", Le32(9)},
    {"cbRadio_min", Le32(90500000), nullptr, true, "", {}}, // not a whole MHz: no item
};

TEST_F(DtmfFmRules, ControlsStoreTheBytesAndShowTheText)
{
    for (const FieldCase &c : kFieldCases) {
        SCOPED_TRACE(std::string(c.control) + " <- " + (c.text ? "\"" + std::string(c.text) + "\"" : "load"));
        const Field *f = FindField(c.control);
        ASSERT_NE(f, nullptr);
        ProgramState s = NewState();
        if (!c.before.empty())
            SetFieldBytes(*f, s.data, c.before);
        const RadioData before = s.data;
        if (c.text) {
            const AssignResult r = AssignText(*f, s, QString::fromUtf8(c.text));
            EXPECT_EQ(r.ok, c.ok) << r.error.toStdString();
        } else {
            RefreshStores(s.data);
        }
        EXPECT_EQ(ShownText(*f, s), QString::fromUtf8(c.shown));
        if (!c.after.empty()) {
            EXPECT_EQ(FieldBytes(*f, s.data), c.after);
        }
        EXPECT_TRUE(OnlyFieldChanged(*f, before, s.data));
    }
}

TEST_F(DtmfFmRules, TheCodeEditsFilterAndCorrectAsTheyAreTyped)
{
    const Field &stun = *FindField("eDizzy");
    for (unsigned key : {unsigned('a'), unsigned('D'), unsigned('*'), unsigned('#'), 8u, 200u})
        EXPECT_TRUE(FieldKeyPasses(stun, key)) << key;
    for (unsigned key : {unsigned('e'), unsigned('E'), unsigned(' '), unsigned('+'), 0x4E00u})
        EXPECT_FALSE(FieldKeyPasses(stun, key)) << key;
    EXPECT_EQ(CorrectFieldText(stun, "12a"), "12A");
    EXPECT_EQ(CorrectFieldText(stun, "1234567890ABCD*#5"), "1234567890ABCD*#"); // the 17th goes
    EXPECT_EQ(CorrectFieldText(*FindField("eRadio_Freq"), "88.1234"), "88.123");
    EXPECT_EQ(CorrectFieldText(*FindField("eRadio_Freq"), "."), "");
}

TEST_F(DtmfFmRules, LoadingStoresOnlyTheUnknownGroupCode)
{
    ProgramState s = NewState();
    RadioData before = s.data;
    RefreshStores(s.data);
    EXPECT_EQ(std::memcmp(&before, &s.data, sizeof before), 0) << "new data is left as it is";
    for (std::uint8_t code : {1, 7, 9, 16, 255}) {
        s.data.dtmfGroupCode = code;
        before = s.data;
        RefreshStores(s.data);
        EXPECT_EQ(s.data.dtmfGroupCode, 0) << int(code);
        EXPECT_TRUE(OnlyFieldChanged(*FindField("cbGroupCode"), before, s.data));
    }
}

// ---- FM bounds ---------------------------------------------------------------

struct BoundCase {
    const char *control;
    const char *chosen;
    std::uint32_t lower, upper, current; // before, Hz
    std::vector<std::uint32_t> memories; // memories 1.. before
    std::uint32_t lowerAfter, upperAfter, currentAfter;
    std::vector<std::uint32_t> memoriesAfter;
};

const BoundCase kBoundCases[] = {
    // A higher lower bound lifts the current frequency and the memories below it.
    {"cbRadio_min", "90MHz", 76000000, 108000000, 76000000, {88500000, 0, 95000000},
     90000000, 108000000, 90000000, {90000000, 0, 95000000}},
    // An upper bound below the lower one takes the lower one along.
    {"cbRadio_max", "80MHz", 90000000, 108000000, 95000000, {90000000, 100000000},
     80000000, 80000000, 80000000, {80000000, 80000000}},
    {"cbRadio_min", "100MHz", 76000000, 90000000, 88000000, {0, 89950000},
     100000000, 100000000, 100000000, {0, 100000000}},
    // Within the bounds nothing moves; memories off the raster are put on it.
    {"cbRadio_max", "#32", 76000000, 90000000, 88000000, {88000000, 87520000},
     76000000, 108000000, 88000000, {88000000, 87500000}},
};

TEST_F(DtmfFmRules, ABoundFitsEveryFmFrequency)
{
    for (const BoundCase &c : kBoundCases) {
        SCOPED_TRACE(std::string(c.control) + " <- " + c.chosen);
        ProgramState s = NewState();
        s.data.fmMin = c.lower;
        s.data.fmMax = c.upper;
        s.data.fmFrequency = c.current;
        for (std::size_t i = 0; i < c.memories.size(); ++i)
            s.data.fmMemories[i] = c.memories[i];
        ASSERT_TRUE(AssignText(*FindField(c.control), s, c.chosen).ok);
        EXPECT_EQ(s.data.fmMin.get(), c.lowerAfter);
        EXPECT_EQ(s.data.fmMax.get(), c.upperAfter);
        EXPECT_EQ(s.data.fmFrequency.get(), c.currentAfter);
        for (std::size_t i = 0; i < c.memoriesAfter.size(); ++i)
            EXPECT_EQ(s.data.fmMemories[i].get(), c.memoriesAfter[i]) << "memory " << i + 1;
        for (std::size_t i = c.memoriesAfter.size(); i < std::size(s.data.fmMemories); ++i)
            EXPECT_EQ(s.data.fmMemories[i].get(), 0u) << "memory " << i + 1 << " stays empty";
        EXPECT_EQ(ShownText(*FindField("cbRadio_min"), s), QString::number(c.lowerAfter / 1000000) + "MHz");
        EXPECT_EQ(ShownText(*FindField("cbRadio_max"), s), QString::number(c.upperAfter / 1000000) + "MHz");
    }
}

// ---- grid cells ----------------------------------------------------------------

struct FmCellCase {
    const char *text;
    bool ok;
    const char *shown;
    std::uint32_t stored;
};

TEST_F(DtmfFmRules, FmMemoryCells)
{
    EXPECT_EQ(kFmMemoryGridCells.name, "sgFmMemory");
    EXPECT_EQ(kFmMemoryGridCells.rows, 21);
    EXPECT_EQ(kFmMemoryGridCells.columns, 2);
    const FmCellCase cases[] = {
        {"88.07", true, "88.05", 88050000},   {"120", true, "108.00", 108000000},
        {"", true, "", 0},                    {"88.1234", true, "88.10", 88100000},
        {"75", true, "76.00", 76000000},      {"9a0", true, "90.00", 90000000},
        {"88.", false, "98.50", 98500000},    {"0", true, "", 0},
    };
    for (const FmCellCase &c : cases) {
        SCOPED_TRACE(c.text);
        ProgramState s = NewState();
        s.data.fmMemories[6] = 98500000; // memory 7
        const AssignResult r = kFmMemoryGridCells.assign(s, 7, 1, QString::fromUtf8(c.text));
        EXPECT_EQ(r.ok, c.ok) << r.error.toStdString();
        EXPECT_EQ(s.data.fmMemories[6].get(), c.stored);
        EXPECT_EQ(kFmMemoryGridCells.shown(s, 7, 1), QString::fromUtf8(c.shown));
    }
    ProgramState s = NewState();
    for (auto [row, column] : {std::pair{0, 1}, {21, 1}, {1, 0}, {1, 2}})
        EXPECT_FALSE(kFmMemoryGridCells.assign(s, row, column, "90").ok) << row << "," << column;
}

// One address-book row, step by step, as the name and code editors leave it.
struct AddressStep {
    int column;
    const char *text;
    bool ok;
    const char *name, *code; // the row's two cells afterwards
    bool inUse;
};

TEST_F(DtmfFmRules, AddressBookEntriesAreMadeAndRemovedThroughTheirCells)
{
    EXPECT_EQ(kAddressBookGridCells.name, "sgD_AddrBook");
    EXPECT_EQ(kAddressBookGridCells.rows, 31);
    EXPECT_EQ(kAddressBookGridCells.columns, 3);
    const AddressStep steps[] = {
        {2, "123", false, "", "", false},           // no name: no code editor
        {1, "Bob", true, "Bob", "", true},          // a new entry, its code empty
        {2, "", true, "", "", false},               // left empty: the entry goes again
        {1, "Alice77", true, "Alice7", "", true},   // six bytes
        {2, "12ab*#x", true, "Alice7", "12AB*#", true},
        {1, "Al(i){}", true, "Ali", "12AB*#", true}, // key filter; the code stays
        {2, "1234567890ABCD*#12", true, "Ali", "1234567890ABCD*#", true},
        {1, "", true, "", "", false},               // clearing the name removes the entry
    };
    ProgramState s = NewState();
    for (const AddressStep &st : steps) {
        SCOPED_TRACE(std::to_string(st.column) + " <- " + st.text);
        const AssignResult r = kAddressBookGridCells.assign(s, 3, st.column, QString::fromUtf8(st.text));
        EXPECT_EQ(r.ok, st.ok) << r.error.toStdString();
        EXPECT_EQ(kAddressBookGridCells.shown(s, 3, 1), QString::fromUtf8(st.name));
        EXPECT_EQ(kAddressBookGridCells.shown(s, 3, 2), QString::fromUtf8(st.code));
        EXPECT_EQ(IsAddressBookInUse(s.data, 3), st.inUse);
    }
    // The removed entry keeps its bytes; only its in-use bit is clear.
    const AddressBookEntry &e = s.data.addrBook[3];
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(e.name), 3), "Ali");
    EXPECT_EQ(e.digitCount, 16);
    EXPECT_EQ(e.digits[15], 15);
    EXPECT_EQ(e.digits[16], 0);
    for (int other = 0; other <= kAddressBookCount; ++other) {
        if (other != 3) {
            EXPECT_FALSE(IsAddressBookInUse(s.data, other)) << other;
        }
    }
}

TEST_F(DtmfFmRules, AddressBookRows)
{
    ProgramState s = NewState();
    // A name makes the entry with its code cleared, whatever the bytes held.
    std::memset(s.data.addrBook[5].digits, 9, sizeof s.data.addrBook[5].digits);
    s.data.addrBook[5].digitCount = 17;
    const Bytes name = {'Z', 'e', 'd'};
    EXPECT_EQ(StoreAddressName(s.data, 5, name), AddressStore::Created);
    EXPECT_EQ(s.data.addrBook[5].digitCount, 0);
    EXPECT_EQ(Bytes(std::begin(s.data.addrBook[5].digits), std::end(s.data.addrBook[5].digits)), Bytes(17, 0));
    EXPECT_EQ(StoreAddressName(s.data, 5, name), AddressStore::Stored);
    // A row not in use shows nothing, whatever its bytes; numbers outside 1..30 change nothing.
    EXPECT_EQ(AddressBookCellText(s.data, 5, 1), "Zed");
    ClearAddressBookInUse(s.data, 5);
    EXPECT_EQ(AddressBookCellText(s.data, 5, 1), "");
    EXPECT_EQ(AddressBookCellText(s.data, 5, 0), "5");
    const RadioData before = s.data;
    EXPECT_EQ(StoreAddressName(s.data, 0, name), AddressStore::NoEntry);
    EXPECT_EQ(StoreAddressCode(s.data, 31, "1"), AddressStore::NoEntry);
    EXPECT_EQ(std::memcmp(&before, &s.data, sizeof before), 0);
    EXPECT_FALSE(kAddressBookGridCells.assign(s, 31, 1, "X").ok);
    EXPECT_FALSE(kAddressBookGridCells.assign(s, 1, 3, "X").ok);
    // Chinese names: whole characters within six GBK bytes.
    if (GbkAvailable()) {
        ASSERT_TRUE(kAddressBookGridCells.assign(s, 9, 1, QStringLiteral("张三丰四")).ok);
        EXPECT_EQ(kAddressBookGridCells.shown(s, 9, 1), QStringLiteral("张三丰"));
        ASSERT_TRUE(kAddressBookGridCells.assign(s, 9, 1, QStringLiteral("A张三丰")).ok);
        EXPECT_EQ(kAddressBookGridCells.shown(s, 9, 1), QStringLiteral("A张三"));
    }
}

// ---- languages -------------------------------------------------------------------

TEST_F(DtmfFmRules, ALanguageChangesTheWordsNotTheValues)
{
    struct Case {
        const char *control;
        const char *english, *simplified; // shown item or text
        const char *labelEnglish, *labelSimplified;
    };
    const Case cases[] = {
        {"cbDizzyState", "Kill", "遥毙", "State", "工作状态"},
        {"cbGroupCode", "OFF", "关闭", "Group Code", "组码"},
        {"cbD_EncodeMode", "Address Book", "通讯薄", "Encode Mode", "编码方式"},
        {"cbAutoReset", "30", "30", "Auto reset time(s)", "自动复位时间(秒)"},
        {"cbDtmf_CleanCodeTime", "5", "5", "Clean Code Period(S)", "清除解码时间(秒)"},
        {"cbD_Pretime", "1000", "1000", "Pretime(ms)", "预载波时间(毫秒)"},
        {"eDizzy", "12AB*#", "12AB*#", "Stun", "遥晕"},
        {"cSendANI", "0", "0", "Send ID", "发送自身ID"},
        {"cbRadio_min", "90MHz", "90MHz", "FM Bound", "收音机频段"},
        {"cbRadio_Step", "0.5M", "0.5M", "Step", "步进"},
        {"eRadio_Freq", "95.50", "95.50", "FM Frequency(MHz)", "收音机频率(MHz)"},
    };
    ProgramState s = NewState();
    for (const char *set : {"cbDizzyState=Kill", "cbD_EncodeMode=Address Book", "cbD_Pretime=1000", "eDizzy=12ab*#",
                            "cSendANI=0", "cbRadio_min=90MHz", "cbRadio_Step=0.5M", "eRadio_Freq=95.5"}) {
        const QString a = QString::fromUtf8(set);
        const qsizetype eq = a.indexOf(u'=');
        ASSERT_TRUE(AssignText(*FindField(a.left(eq).toStdString()), s, a.mid(eq + 1)).ok) << set;
    }
    s.data.dtmfGroupCode = 7;
    ASSERT_TRUE(kAddressBookGridCells.assign(s, 2, 1, "Ann").ok);
    ASSERT_TRUE(kAddressBookGridCells.assign(s, 2, 2, "*9").ok);
    ASSERT_TRUE(kFmMemoryGridCells.assign(s, 4, 1, "101.7").ok);
    const RadioData stored = s.data;
    for (const auto lang : {TAppLang::Simplified, TAppLang::English, TAppLang::Traditional, TAppLang::English}) {
        TAppLang::instance().fSetLangType(lang);
        SCOPED_TRACE(int(lang));
        for (const Case &c : cases) {
            SCOPED_TRACE(c.control);
            const Field &f = *FindField(c.control);
            if (lang == TAppLang::Traditional) {
                EXPECT_FALSE(ShownText(f, s).isEmpty());
                continue;
            }
            const bool en = lang == TAppLang::English;
            EXPECT_EQ(ShownText(f, s), QString::fromUtf8(en ? c.english : c.simplified));
            EXPECT_EQ(FieldLabelText(f), QString::fromUtf8(en ? c.labelEnglish : c.labelSimplified));
        }
        EXPECT_EQ(kAddressBookGridCells.shown(s, 2, 1), "Ann");
        EXPECT_EQ(kAddressBookGridCells.shown(s, 2, 2), "*9");
        EXPECT_EQ(kFmMemoryGridCells.shown(s, 4, 1), "101.70");
    }
    EXPECT_EQ(std::memcmp(&stored, &s.data, sizeof stored), 0) << "showing stores nothing";
}

} // namespace
} // namespace vkt

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}

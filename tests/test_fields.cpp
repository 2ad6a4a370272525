// The table of fields: every row's value-index rule, what its control shows
// and what typing or choosing a text in it stores.
#include "channel_edit.h"
#include "field_texts.h"
#include "fields.h"
#include "gbk_text.h"
#include "localisation.h"
#include "program_state.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSet>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

namespace vkt {
namespace {

ProgramState NewState()
{
    ProgramState s;
    SetDefaultAll(s);
    return s;
}

// The whole field, every bit of it.
Field Whole(const Field &f)
{
    Field w = f;
    w.shift = 0;
    w.mask = 0;
    return w;
}

// Bits of the record a row owns: its bit field, or all of its bytes.
std::vector<std::uint8_t> OwnedBits(const Field &f)
{
    std::vector<std::uint8_t> owned(sizeof(RadioData), 0);
    const std::uint32_t bits = f.mask != 0 ? f.mask << f.shift : 0xFFFFFFFFu;
    for (std::size_t i = 0; i < f.width; ++i)
        owned[f.offset + i] = i < 4 ? std::uint8_t(bits >> (8 * i)) : 0xFF;
    return owned;
}

bool IsAscii(std::string_view text)
{
    return std::none_of(text.begin(), text.end(), [](char c) { return (c & 0x80) != 0; });
}

// Bits besides its own that a row's rule changes: the number below a
// signalling system.
std::uint32_t AlsoChanged(const Field &f)
{
    return f.rule == FieldRule::SignalSystem ? (1u << f.shift) - 1 : 0;
}

const std::uint8_t *Bytes(const RadioData &d) { return reinterpret_cast<const std::uint8_t *>(&d); }

// Whether `after` differs from `before` only in the bits the row owns.
::testing::AssertionResult OnlyOwnBitsChanged(const Field &f, const RadioData &before,
                                              const RadioData &after)
{
    std::vector<std::uint8_t> owned = OwnedBits(f);
    owned[f.offset] |= std::uint8_t(AlsoChanged(f));
    for (std::size_t i = 0; i < sizeof(RadioData); ++i)
        if ((Bytes(before)[i] ^ Bytes(after)[i]) & ~owned[i])
            return ::testing::AssertionFailure() << "byte " << i << " changed";
    return ::testing::AssertionSuccess();
}

// A value the field can hold that no item shows; nothing when every value has one.
std::optional<std::uint32_t> ValueWithoutItem(const Field &f)
{
    const std::uint32_t largest = f.mask != 0 ? f.mask : f.width >= 4 ? 0xFFFFFFFFu : (1u << (8 * f.width)) - 1;
    for (std::uint32_t v = 0; v <= std::min<std::uint32_t>(largest, 100000); ++v)
        if (IndexForValue(f, v) < 0)
            return v;
    return std::nullopt;
}

// A record where every spare bit is set to a pattern, so that a row that
// writes past its bits is caught; a signalling-number row gets the DTMF
// system above it, the longest list.
RadioData PatternRecord(const Field &f)
{
    RadioData d;
    std::memset(&d, 0x5A, sizeof d);
    if (f.rule == FieldRule::SignalNumber)
        reinterpret_cast<std::uint8_t *>(&d)[f.offset] = std::uint8_t((kSignalDtmf << 5) | 0x1A);
    return d;
}

void CheckList(const Field &f)
{
    RadioData d = PatternRecord(f);
    const int count = ItemCount(f, d);
    ASSERT_GT(count, 0);
    const QStringList items = FieldItemTexts(f, d);
    EXPECT_EQ(items.size(), count);
    EXPECT_EQ(QSet<QString>(items.begin(), items.end()).size(), count) << "two items read the same";
    EXPECT_FALSE(items.contains(QString())) << "an item without a text";
    if (f.rule == FieldRule::Lookup || f.rule == FieldRule::Step) {
        EXPECT_EQ(f.lookup.size(), std::size_t(count));
    }

    for (int i = 0; i < count; ++i) {
        const RadioData before = d;
        StoreIndex(f, d, i);
        EXPECT_EQ(LoadIndex(f, d), i) << "position " << i;
        EXPECT_EQ(IndexForValue(f, ValueForIndex(f, i, 0)), i) << "position " << i;
        EXPECT_TRUE(OnlyOwnBitsChanged(f, before, d)) << "position " << i;
    }

    // A value without an item shows no selection; leaving the list keeps
    // it (the step lists store their last step instead).
    const std::optional<std::uint32_t> lost = ValueWithoutItem(f);
    if (!lost)
        return;
    WriteFieldValue(f, d, *lost);
    EXPECT_EQ(LoadIndex(f, d), -1);
    const std::uint32_t left = f.rule == FieldRule::Step ? f.lookup.back() : *lost;
    for (int index : {-1, count}) {
        RadioData kept = d;
        StoreIndex(f, kept, index);
        EXPECT_EQ(ReadFieldValue(f, kept), left) << "left at " << index;
        EXPECT_TRUE(OnlyOwnBitsChanged(f, d, kept)) << "left at " << index;
    }
}

void CheckBox(const Field &f)
{
    RadioData d = PatternRecord(f);
    for (bool ticked : {true, false, true}) {
        const RadioData before = d;
        StoreChecked(f, d, ticked);
        EXPECT_EQ(LoadChecked(f, d), ticked);
        EXPECT_TRUE(OnlyOwnBitsChanged(f, before, d));
    }
}

void CheckRadio(const Field &f)
{
    RadioData d = PatternRecord(f);
    StoreChecked(f, d, true);
    EXPECT_TRUE(LoadChecked(f, d));
    for (const Field &g : AllFields())
        if (g.kind == FieldKind::Radio && g.offset == f.offset && g.name != f.name) {
            EXPECT_FALSE(LoadChecked(g, d)) << g.name << " selected as well";
        }
    const RadioData selected = d;
    StoreChecked(f, d, false); // a button left without being selected stores nothing
    EXPECT_EQ(std::memcmp(&selected, &d, sizeof d), 0);
}

// Leaving an edit as it shows the stored value keeps that value (a tone
// box left at "Off" stores the off a user chooses, code 0xFFFF).
void CheckEdit(const Field &f)
{
    ProgramState s = NewState();
    const RadioData before = s.data;
    const QString shown = ShownText(f, s);
    EXPECT_TRUE(AssignText(f, s, shown).ok);
    EXPECT_EQ(ShownText(f, s), shown);
    EXPECT_TRUE(OnlyOwnBitsChanged(f, before, s.data));
    if (f.rule != FieldRule::Tone) {
        EXPECT_EQ(std::memcmp(&before, &s.data, sizeof before), 0);
    }
}

TEST(FieldTable, EveryRowKeepsItsRuleAndTheBitsItDoesNotOwn)
{
    ASSERT_FALSE(AllFields().empty());
    for (const Field &f : AllFields()) {
        SCOPED_TRACE(std::string(f.name));
        EXPECT_EQ(FindField(f.name), &f);
        if (f.label >= 0) {
            EXPECT_FALSE(FieldLabelText(f).isEmpty()) << "label text " << f.label << " is empty";
        }
        switch (f.kind) {
        case FieldKind::List: CheckList(f); break;
        case FieldKind::Check: CheckBox(f); break;
        case FieldKind::Radio: CheckRadio(f); break;
        case FieldKind::Edit: CheckEdit(f); break;
        }
    }
    EXPECT_EQ(FindField("cbNoSuchControl"), nullptr);
}

// ---- typing and choosing through the functions the page and the CLI call ----

struct AssignCase {
    const char *control;
    std::optional<std::uint32_t> before; // the whole field before; nothing: new data
    const char *shownBefore;             // nullptr: not looked at
    const char *text;
    bool ok;
    const char *shown;                   // afterwards
    std::optional<std::uint32_t> after;  // the whole field afterwards
};

// New data has VFO A at 400 MHz, B at 136 MHz, tones off, flags 1 0xB0,
// steps 12.5K, VOX delay 1000 ms, TOT 60 s, display type 2, password "531642".
const AssignCase kAssignCases[] = {
    // VFO frequency, default limits (VHF 136-174, UHF 400-470 MHz).
    {"eFr_Freq_A", {}, "400.00000", "446.00625", true, "446.00625", 446006250},
    {"eFr_Freq_A", {}, nullptr, "190", true, "174.00000", 174000000},
    {"eFr_Freq_A", {}, nullptr, "", true, "136.00000", 136000000},
    {"eFr_Freq_A", {}, nullptr, "145.", false, "400.00000", 400000000},
    {"eFr_Freq_A", {}, nullptr, "14a5.5x", true, "145.50000", 145500000},      // key filter
    {"eFr_Freq_A", {}, nullptr, "446..5.5", true, "446.55000", 446550000},     // one point kept
    {"eFr_Freq_A", {}, nullptr, "145.1234567", true, "145.11875", 145118750}, // 9 characters, raster
    {"eFr_Freq_B", {}, "136.00000", "300", true, "400.00000", 400000000},
    // VFO offset: the spans are 70 MHz (UHF) and 38 MHz (VHF).
    {"eFr_Offset_A", {}, "0", "5", true, "5.00000", 5000000},
    {"eFr_Offset_A", {}, nullptr, "50", true, "50.00000", 50000000},
    {"eFr_Offset_A", {}, nullptr, "80", true, "38.00000", 38000000},
    {"eFr_Offset_A", 600000, "0.60000", "", true, "0", 0},
    {"eFr_Offset_B", {}, nullptr, "12.3456789", true, "12.34375", 12343750}, // 8 characters
    {"eFr_Offset_B", 600000, nullptr, "5.", false, "0.60000", 600000},
    // Tones: no letter-case conversion here; the type byte follows the code.
    {"cbFr_SubaudioDe_A", {}, "Off", "67", true, "67.0", 670 | kToneCtcss << 16},
    {"cbFr_SubaudioEn_A", {}, nullptr, "D023I", true, "D023I", 0x2813 | kToneDcsI << 16},
    {"cbFr_SubaudioDe_B", 670 | kToneCtcss << 16, "67.0", "d023n", false, "67.0", 670 | kToneCtcss << 16},
    {"cbFr_SubaudioEn_B", 670 | kToneCtcss << 16, nullptr, "", true, "Off", 0xFFFF},
    // Lists whose value has no item keep it; the step lists store 100K.
    {"cbVOX_DELAY", 750, "", "", true, "", 750},
    {"cbVOX_DELAY", {}, "1s", "0.5s", true, "0.5s", 500},
    {"cbVOX_DELAY", {}, nullptr, "#6", true, "5s", 5000},
    {"cbVOX_DELAY", {}, nullptr, "0.7s", false, "1s", 1000},
    {"cbVOX_DELAY", {}, nullptr, "#7", false, "1s", 1000},
    {"cbStep", 7000, "", "", true, "100K", 100000},
    {"cbStep_B", 7000, "", "6.25K", true, "6.25K", 6250},
    {"cbTOT", 45, "30", "", true, "30", 30},
    {"cbTOT", 900, "", "", true, "", 900},
    {"cbTOT", {}, "60", "OFF", true, "OFF", 0},
    {"cbMEM", {}, "1", "240", true, "240", 240},
    {"cbMEM", 0, "", "", true, "", 0},
    {"cbBackLight", {}, "Auto", "On", true, "On", 255},
    {"cbAPO", {}, "OFF", "2h", true, "2h", 120},
    {"cbAlarmCode", 455, "", "", true, "", 455},
    {"cbAlarmBeep", {}, "Ring  1", "Ring  3", true, "Ring  3", 3},
    {"cbSaving", {}, "1:3", "1:4", true, "1:4", 4},
    {"cbScrFreq", {}, "Scr 4", "Scr 1", true, "Scr 1", 7373},
    // VFO flags: power codes out of list order, other bits kept.
    {"cbFr_Power_A", {}, "High", "Mid", true, "Mid", 0xD0},
    {"cbFr_Power_A", 0xFF, "", "", true, "", 0xFF},
    {"cbFr_OffsetDir_A", 0xFC, "OFF", "-", true, "-", 0xFE},
    {"cbScrFreq_B", 0x03, "OFF", "Scr 5", true, "Scr 5", 0x17},
    // Signalling: the same system keeps its number, another one clears it.
    {"cbFr_SignalSys_A", 0x2B, "DTMF", "DTMF", true, "DTMF", 0x2B},
    {"cbFr_SignalSys_A", 0x2B, nullptr, "2-TONE", true, "2-TONE", 0x40},
    {"cbFr_SignalSys_A", 0xE5, "", "", true, "", 0xE5},
    {"cbFr_SignalNo_A", 0x2B, "12", "30", true, "30", 0x3D},
    {"cbFr_SignalNo_A", 0x4B, "12", "17", false, "12", 0x4B},
    {"cbFr_SignalNo_A", 0x54, "", "", true, "", 0x54},
    {"cbFr_SignalNo_B", 0x00, "", "1", false, "", 0x00},
    // Check boxes, bit 0 only where the field carries other bits.
    {"cLanguageLock", 0xF0, "0", "0", true, "0", 0xF0},
    {"cLanguageLock", 0xF0, nullptr, "1", true, "1", 0xF1},
    {"cLanguageLock", 0xF1, "1", "0", true, "0", 0xF0},
    {"cbRxAlarm", 0xF0, "OFF", "On", true, "On", 0xF1},
    {"cbRxAlarm", 0xF1, "On", "OFF", true, "OFF", 0xF0},
    {"cMenuOnOff", 7, "1", "0", true, "0", 0},
    {"cDeviceLock", 0, "1", "0", true, "0", 1},
    {"cBeep", {}, "1", "yes", false, "1", 1},
    {"cBeep", 2, "0", "1", true, "1", 1}, // ticked only for 1
    // The power-on display buttons.
    {"rWelcome_define", {}, "0", "1", true, "1", 3},
    {"rLogo_off", 9, "1", "1", true, "1", 0},
    {"rWelcome_eng", 9, "0", "1", true, "1", 2},
    {"rWelcome_chs", {}, "0", "0", false, "0", 2},
    // Power-on password: six digits, else the default.
    {"ePasswordEdit", {}, "531642", "654321", true, "654321", {}},
    {"ePasswordEdit", {}, nullptr, "12345", true, "531642", {}},
    {"ePasswordEdit", {}, nullptr, "12a34b56", true, "123456", {}},
    {"ePasswordEdit", {}, nullptr, "1234567", true, "123456", {}},
    // The hidden logo text: 8 characters, 8 bytes, cleared first.
    {"eLogo", {}, "Kelmora", "ABCDEFGHIJ", true, "ABCDEFGH", {}},
    {"eLogo", {}, nullptr, "Hi", true, "Hi", {}},
    {"eLogo", {}, nullptr, "欢迎使用对讲机", true, "欢迎使用", {}}, // two bytes a character
};

TEST(FieldTexts, TypingAndChoosingStoreWhatTheControlThenShows)
{
    TAppLang::instance().fSetLangType(TAppLang::English);
    for (const AssignCase &c : kAssignCases) {
        SCOPED_TRACE(std::string(c.control) + " <- \"" + c.text + "\"");
        if (!IsAscii(c.text) && !GbkAvailable())
            continue;
        const Field *f = FindField(c.control);
        ASSERT_NE(f, nullptr);
        ProgramState s = NewState();
        if (c.before)
            WriteFieldValue(Whole(*f), s.data, *c.before);
        if (c.shownBefore) {
            EXPECT_EQ(ShownText(*f, s), QString::fromUtf8(c.shownBefore));
        }
        const RadioData before = s.data;
        const AssignResult r = AssignText(*f, s, QString::fromUtf8(c.text));
        EXPECT_EQ(r.ok, c.ok) << r.error.toStdString();
        EXPECT_EQ(r.error.isEmpty(), c.ok);
        EXPECT_FALSE(r.error.contains(u'\n'));
        if (!c.ok) {
            EXPECT_TRUE(r.error.startsWith(QString::fromUtf8(c.control))) << r.error.toStdString();
        }
        EXPECT_EQ(ShownText(*f, s), QString::fromUtf8(c.shown));
        if (c.after) {
            EXPECT_EQ(ReadFieldValue(Whole(*f), s.data), *c.after);
        }
        EXPECT_TRUE(OnlyOwnBitsChanged(*f, before, s.data));
    }
}

// Every grid describes its columns once: a text editor has its typing
// rule, and the table covers the grid (the last entry repeating for the
// numbered decode columns and the five-tone standards).
TEST(GridColumns, EveryGridDescribesItsColumns)
{
    for (const GridCells &g : AllGrids()) {
        SCOPED_TRACE(std::string(g.name));
        ASSERT_FALSE(g.columnTable.empty());
        EXPECT_LE(int(g.columnTable.size()), g.columns);
        EXPECT_EQ(Column(g, 0).editor, CellEditor::None) << "the number column";
        for (int c = 1; c < g.columns; ++c) {
            const GridColumn &col = Column(g, c);
            EXPECT_NE(col.editor, CellEditor::None) << "column " << c;
            EXPECT_EQ(col.rule != nullptr, col.editor == CellEditor::Text || col.editor == CellEditor::Tone)
                << "column " << c;
        }
    }
    EXPECT_EQ(Column(kChannelGridCells, kColName).rule, &kNameRule);
    EXPECT_EQ(kChannelGridCells.gesture, EditorGesture::Press);
    EXPECT_EQ(kTwoToneSystemGridCells.gesture, EditorGesture::DoubleClick);
    EXPECT_EQ(kFiveToneEncodeGridCells.gesture, EditorGesture::DoubleClick);
}

// Typing key by key (what `set` does) and correcting a whole changed text
// (what an editor does after a key or a paste) leave the same text for
// texts typed one key at a time; a key a rule does not take enters nothing.
TEST(GridColumns, TypingRulesTakeFilterAndCorrectKeys)
{
    const struct {
        const TextRule *rule;
        const char *typed;
        const char *kept;
    } kCases[] = {
        {&kChannelFrequencyRule, "1x45..5", "145.5"},
        {&kChannelFrequencyRule, "145.1234567", "145.12345"},
        {&kToneTextRule, "d023n", "D023N"},
        {&kNameRule, "A B(C)", "ABC"},
        {&kNameRule, "中文字ABC", "中文字"},
        {&kDtmfCodeRule, "12ab*#x", "12AB*#"},
        {&kFiveToneCodeRule, "12a345678", "12A34567"},
        {&kPeriodRule, "9a99x9", "999"},
        {&kTwoToneTimeRule, "1.2.5", "1.25"},
        {&kFmFrequencyRule, "100.12345", "100.12"},
    };
    for (const auto &c : kCases) {
        SCOPED_TRACE(c.typed);
        const QString typed = QString::fromUtf8(c.typed);
        EXPECT_EQ(TypedText(typed, *c.rule), QString::fromUtf8(c.kept));
        // Key by key through the editor's correction gives the same.
        QString field;
        for (QChar ch : typed)
            field = CorrectedText(field + ch, *c.rule);
        EXPECT_EQ(field, QString::fromUtf8(c.kept));
    }
}

TEST(FieldTexts, SignallingNumberListFollowsTheSystem)
{
    struct Case {
        std::uint8_t flags2;
        int items;
    };
    const Field *number = FindField("cbFr_SignalNo_B");
    ASSERT_NE(number, nullptr);
    for (const Case c : {Case{0x00, 0}, Case{0x20, 30}, Case{0x40, 16}, Case{0x60, 16}, Case{0x80, 0},
                         Case{0xE0, 0}}) {
        SCOPED_TRACE(int(c.flags2));
        RadioData d{};
        d.vfoB.flags2 = c.flags2;
        const QStringList items = FieldItemTexts(*number, d);
        EXPECT_EQ(ItemCount(*number, d), c.items);
        ASSERT_EQ(items.size(), c.items);
        if (c.items > 0) {
            EXPECT_EQ(items.first(), "1");
            EXPECT_EQ(items.last(), QString::number(c.items));
        }
    }

    // DTMF number 12, then 2-TONE: the number starts again at "1" of 16.
    ProgramState s = NewState();
    const Field *system = FindField("cbFr_SignalSys_A");
    const Field *numberA = FindField("cbFr_SignalNo_A");
    ASSERT_TRUE(system && numberA);
    ASSERT_TRUE(AssignText(*system, s, "DTMF").ok);
    ASSERT_TRUE(AssignText(*numberA, s, "12").ok);
    EXPECT_EQ(FieldItemTexts(*numberA, s.data).size(), 30);
    ASSERT_TRUE(AssignText(*system, s, "2-TONE").ok);
    EXPECT_EQ(ShownText(*numberA, s), "1");
    EXPECT_EQ(FieldItemTexts(*numberA, s.data).size(), 16);
    ASSERT_TRUE(AssignText(*system, s, "OFF").ok);
    EXPECT_TRUE(FieldItemTexts(*numberA, s.data).isEmpty());
    EXPECT_EQ(ShownText(*numberA, s), "");
}

TEST(FieldTexts, LanguageChangesTheWordsNotTheValue)
{
    struct Case {
        const char *control;
        std::uint8_t lang;
        const char *shown;
        const char *label;
    };
    const Case cases[] = {
        {"cbFr_Power_A", TAppLang::English, "High", "TX Power"},
        {"cbFr_Power_A", TAppLang::Simplified, "高", "发射功率"},
        {"cbVOX_DELAY", TAppLang::Simplified, "1秒", "声控延时"},
        {"cbAlarmBeep", TAppLang::Simplified, "铃声 1", "报警铃声"},
        {"cbVOX_DELAY", TAppLang::English, "1s", "VOX Delay"},
    };
    ProgramState s = NewState();
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.control) + " in language " + std::to_string(c.lang));
        TAppLang::instance().fSetLangType(c.lang);
        const Field *f = FindField(c.control);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(ShownText(*f, s), QString::fromUtf8(c.shown));
        EXPECT_EQ(FieldLabelText(*f), QString::fromUtf8(c.label));
    }
    // Whatever the window shows, a set takes the English item.
    TAppLang::instance().fSetLangType(TAppLang::Simplified);
    const Field *power = FindField("cbFr_Power_A");
    EXPECT_TRUE(AssignText(*power, s, "Low").ok);
    EXPECT_EQ(ShownText(*power, s), "低");
    EXPECT_FALSE(AssignText(*power, s, "高").ok);
    TAppLang::instance().fSetLangType(TAppLang::English);
}

} // namespace
} // namespace vkt

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}

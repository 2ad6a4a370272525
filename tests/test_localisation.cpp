// The text tables, the language state and the GBK texts of the radio data.
#include "gbk_text.h"
#include "localisation.h"
#include "table_parser.h"

#include <gtest/gtest.h>

#include <QStringDecoder>

#include <QSet>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace vkt {
namespace {

constexpr std::uint8_t kEn = TAppLang::English;
constexpr std::uint8_t kChs = TAppLang::Simplified;
constexpr std::uint8_t kCht = TAppLang::Traditional;

constexpr TextTable kAllTables[] = {TextTable::Main, TextTable::Exchange, TextTable::Port,
                                    TextTable::Warn};

// The last text of the main table; the numbers after it are free.
constexpr int kLastMainText = 410;

// Numbers of the main table that no window uses.
bool UnusedMainNumber(int n)
{
    return n == 224 || n == 225 || (n >= 228 && n <= 236) || n > kLastMainText;
}

// ---- table contents --------------------------------------------------

TEST(TextTables, Sizes)
{
    EXPECT_EQ(TextCount(TextTable::Main), 450);
    EXPECT_EQ(TextCount(TextTable::Exchange), 7);
    EXPECT_EQ(TextCount(TextTable::Port), 3);
    EXPECT_EQ(TextCount(TextTable::Warn), 1);
}

// The English main-table texts as the windows must show them, spelling
// (and trailing blanks) included.
TEST(TextTables, EnglishMainTexts)
{
    const struct {
        int number;
        const char *text;
    } kEnglish[] = {
    {0, "Brelmoran VKT410"}, {1, "&File"}, {2, "&New"}, {3, "&Open"}, {4, "&Save"}, {5, "&Exit"},
    {6, "&Edit"}, {7, "&Read from radio"}, {8, "&Write to radio"}, {9, "&Communication Port"},
    {10, "&Language"}, {11, "Chinese(&Simplified)"}, {12, "Chinese(&Traditional)"},
    {13, "&English"}, {14, "&Help"}, {15, "NO."}, {16, "RX Freq."}, {17, "TX Freq."},
    {18, "QT/DQT Dec"}, {19, "QT/DQT Enc"}, {20, "TX Power"}, {21, "Bandwidth"}, {22, "SCN"},
    {23, "Busy Inhibit"}, {24, "Name"}, {25, "Channel information"}, {26, "High"}, {27, "Low"},
    {28, "Wide"}, {29, "Narrow"}, {30, "ADD"}, {31, "DEL"}, {32, "OFF"}, {33, "CAT"}, {34, "DQT"},
    {35, "Optional Features"}, {36, "Frequency Mode Information"}, {37, "Frequency"},
    {38, "QT/DQT Decode"}, {39, "QT/DQT Encode"}, {40, "TX Power"}, {41, "Bandwidth"},
    {42, "Offset Dir"}, {43, "Offset Freq"}, {44, "SQL"}, {45, "Squelch Mode"}, {46, "VOX Gain"},
    {47, "VOX Delay"}, {48, "TOT(s)"}, {49, "TOA(s)"}, {50, "DoubleWatch"}, {51, "Step"},
    {52, "Priority Channel"}, {53, "1750Hz Hold"}, {54, "Scan Resume"}, {55, "Priority Scan"},
    {56, "Mode"}, {57, "Mode - B"}, {58, "Lamp Timer"}, {59, "Lamp Control"}, {60, "Key Lock"},
    {61, "Call Beep"}, {62, "Roger Beep"}, {63, "APO"}, {64, "CW"}, {65, "FMR"}, {66, "Clcok"},
    {67, "Whisper"}, {68, "Key Beep"}, {69, "Compandor"}, {70, "Batt.Saver"}, {71, "Auto Offset"},
    {72, "Password"}, {73, "Scrambling"}, {74, "Busy Inhibit"}, {75, "OFF"}, {76, "Carrier"},
    {77, "DTMF"}, {78, "CTC/DCS"}, {79, "DTMF and CTC/DCS"}, {80, "DTMF or CTC/DCS"}, {81, "30s"},
    {82, "60s"}, {83, "90s"}, {84, "120s"}, {85, "150s"}, {86, "180s"}, {87, "210s"}, {88, "240s"},
    {89, "0.3s"}, {90, "0.5s"}, {91, "1s"}, {92, "2s"}, {93, "3s"}, {94, "1S"}, {95, "2S"},
    {96, "3S"}, {97, "4S"}, {98, "5S"}, {99, "6S"}, {100, "7S"}, {101, "8S"}, {102, "9S"},
    {103, "10S"}, {104, "Auto"}, {105, "On"}, {106, "Off"}, {107, "1s"}, {108, "2s"}, {109, "3s"},
    {110, "4s"}, {111, "5s"}, {112, "Carrier"}, {113, "Time"}, {114, "Seek"}, {115, "Channel"},
    {116, "Memory"}, {117, "Frequency"}, {118, "Manu"}, {119, "Auto"}, {120, "10m"}, {121, "30m"},
    {122, "1h"}, {123, "2h"}, {124, "Scr 1"}, {125, "Scr 2"}, {126, "Scr 3"}, {127, "Scr 4"},
    {128, "Scr 5"}, {129, "Address Book Edit"}, {130, "Group Edit"}, {131, "Memory Edit"},
    {132, "DTMF Control"}, {133, "Encode Mode"}, {134, "Side Tone"}, {135, "Digit Duration(ms)"},
    {136, "Pause Duration(ms)"}, {137, "First Delay(ms)"}, {138, "Pretime(ms)"}, {139, "ID"},
    {140, "* # Delay(ms)"}, {141, "Group"}, {142, "Manu"}, {143, "Memory"}, {144, "Address Book"},
    {145, "Group Call"}, {146, "All Call"}, {147, "NO."}, {148, "Name"}, {149, "Digit"},
    {150, "Open"}, {151, "Save"}, {152, "Expand Frequency"}, {153, "Ok"}, {154, "Cannel"},
    {155, "Clear all data ?"}, {156, "Stun"}, {157, "Kill"}, {158, "Activation"}, {159, "Limited"},
    {160, "State"}, {161, "About"}, {162, "Radio Programming Software"}, {163, "Version: V1.0.0"},
    {166, "&About..."}, {167, "&Adjustment"}, {168, "LOGO"}, {169, "Batch Set"},
    {170, "Start Channel"}, {171, "End Channel"}, {172, "Name display"}, {173, "Step(MHz)"},
    {174, "Firmware Version"}, {175, "Last Program Data"}, {176, "Do you want to save data ?"},
    {177, "Yes"}, {178, "No"}, {179, "Serial Number"}, {180, "&Password"}, {181, "Password"},
    {182, "New Password"}, {183, "Input Password"}, {184, "New Password Sure"}, {185, "Write"},
    {186, "Password not match"}, {187, "Read from radio"}, {188, "Write to radio"}, {189, "New"},
    {190, "Open"}, {191, "Save"}, {192, "Mid"}, {193, "s"}, {194, "Idle Color"}, {195, "Tx Color"},
    {196, "Rx Color"}, {197, "Red"}, {198, "Green"}, {199, "Blue"}, {200, "Yellow"},
    {201, "Purple"}, {202, "Cyan"}, {203, "White"}, {204, "Alarm Ring"}, {205, "Ring "},
    {206, "Auto Connect"}, {207, "Auto Connect Pos"}, {208, "Master"}, {209, "Slave"},
    {210, "Master Tx Period(S)"}, {211, "Slave Timeout(S)"}, {212, "Slave Alarm Period(S)"},
    {213, "Chinese"}, {214, "English"}, {215, "Language"}, {216, "Nonstandard value"},
    {217, "Display Scrambling Option"}, {218, "Band Set"}, {219, "End Frequency"}, {220, "FM"},
    {221, "Frequency"}, {222, "FM Frequency(MHz)"}, {223, "FM Bound"},
    {226, "Set radio new password"}, {227, "Write data to radio with new password"},
    {237, "Group Code"}, {238, "Auto reset time(s)"}, {239, "Send ID"}, {240, "Begin"},
    {241, "End"}, {242, "Both Begin and End"}, {243, "2Tone"}, {244, "5Tone"}, {245, "Menu"},
    {246, "Set AutoOffset"}, {247, "From"}, {248, "To"}, {249, "Add"}, {250, "Delete"},
    {251, "Total"}, {252, "Option"}, {253, "System"}, {254, "Encode"}, {255, "Decode"},
    {256, "Encode Tag"}, {257, "ANI Decode"}, {258, "PTT Call"}, {259, "Pause Tone"},
    {260, "Auto Reset (s)"}, {261, "ANI Lock (s)"}, {262, "Lead In (ms)"}, {263, "Lead Out (ms)"},
    {264, "Tone Speed"}, {265, "Group Tone"}, {266, "Gap Tone"}, {267, "Pause Tone"},
    {268, "Pause Time (s)"}, {269, "Call Tone"}, {270, "Call Beep"}, {271, "Repeat"},
    {272, "times"}, {273, "Call"}, {274, "ANI"}, {275, "Reverse"}, {276, "All "}, {277, "Rx "},
    {278, "Tx "}, {279, "Seq."}, {280, "PTT SW "}, {281, "Duty "}, {282, "Subaudio "},
    {283, "De- "}, {284, "ANI "}, {285, "Auto Reset "}, {286, "Call "}, {287, "Id "},
    {288, "Press"}, {289, "Release"}, {290, "Both"}, {291, "Code"}, {292, "Type"},
    {293, "General"}, {294, "Emergency On"}, {295, "Emergency Off"}, {296, "Stun"},
    {297, "UnStun"}, {298, "Kill"}, {299, "Transpond"}, {300, "Type"}, {301, "Rep"},
    {302, "1st Tone Extend"}, {303, "2nd Tone Extend"}, {304, "Repeat Tone"},
    {305, "Last Gap Tone"}, {306, "Last Gap Time (ms)"}, {307, "Transpond Delay (ms)"},
    {308, "Clear To Transpond (s)"}, {309, "Ack Retry"}, {310, "Ack Decoding Time (s)"},
    {311, "1st Extend Time (ms)"}, {312, "2nd Extend Time (ms)"}, {313, "Decode Time (ms)"},
    {314, "Auto Tx Time (s)"}, {315, "2nd Last Gap Time (ms)"}, {316, "Mute"}, {317, "Alarm"},
    {318, "Enable"}, {319, "Diable"}, {320, "Nolimit"}, {321, "Signaling System"},
    {322, "Signaling No."}, {323, "Mode"}, {324, "Auto Reset Time"}, {325, "Tone A"},
    {326, "Tone A Time"}, {327, "Tone B"}, {328, "Tone B Time"}, {329, "Group Time"},
    {330, "Subaudio"}, {331, "Tone Prd(ms)"}, {332, "Gap Prd(ms)"}, {333, "Factory Reset"},
    {334, "Default"}, {335, "Language Lock"}, {336, "Alarm Mode"}, {337, "Alarm Code"},
    {338, "Local Alarm"}, {339, "Code Alarm"}, {340, "Local and Code"},
    {341, "Clean Code Period(S)"}, {342, "Rx Alarm"}, {343, "On"}, {344, "English Only"},
    {345, "Line"}, {346, "Font"}, {347, "Alignment"}, {348, "Content"}, {349, "WELCOME(Chinese)"},
    {350, "WELCOME(English)"}, {351, "Define"}, {352, "Left"}, {353, "Center"}, {354, "Right"},
    {355, "Large"}, {356, "Medium"}, {357, "Small"}, {358, "Deutsch"}, {359, "French"},
    };
    for (const auto &e : kEnglish)
        EXPECT_EQ(TextIn(TextTable::Main, e.number, kEn), QString::fromUtf8(e.text)) << e.number;
}

TEST(TextTables, ChineseReferenceRows)
{
    const struct {
        TextTable table;
        int number;
        const char *en, *chs, *cht;
    } kRows[] = {
        {TextTable::Main, 0, "Brelmoran VKT410", "Brelmoran VKT410", "Brelmoran VKT410"},
        {TextTable::Main, 1, "&File", "文件(&F)", "文件(&F)"},
        {TextTable::Main, 9, "&Communication Port", "通讯端口(&C)", "通訊端口(&C)"},
        {TextTable::Main, 10, "&Language", "语言(&L)", "語言(&Language)"},
        {TextTable::Main, 11, "Chinese(&Simplified)", "中文(简体)(&S)", "中文(簡體)(&S)"},
        {TextTable::Main, 12, "Chinese(&Traditional)", "中文(繁体)(&T)", "中文(繁體)(&T)"},
        {TextTable::Main, 13, "&English", "英文(&E)", "英文(&E)"},
        {TextTable::Main, 25, "Channel information", "信道编辑", "信道編輯"},
        {TextTable::Main, 36, "Frequency Mode Information", "频率模式信息", "頻率模式信息"},
        {TextTable::Main, 75, "OFF", "关闭", "關閉"},
        {TextTable::Main, 162, "Radio Programming Software", "对讲机写频软件", "對講機寫頻軟件"},
        {TextTable::Main, 176, "Do you want to save data ?", "关闭应用程序前保存数据 ？",
         "關閉應用程序前保存數據?"},
        {TextTable::Main, 193, "s", "秒", "秒"},
        {TextTable::Main, 205, "Ring ", "铃声", "鈴聲"},
        {TextTable::Main, 216, "Nonstandard value", "非标准值", "非標準值"},
        {TextTable::Main, 344, "English Only", "仅限输入英文字符", "僅限輸入英文字符"},
        {TextTable::Main, 349, "WELCOME(Chinese)", "欢迎使用(中文)", "歡迎使用(中文)"},
        {TextTable::Main, 350, "WELCOME(English)", "WELCOME(英文)", "WELCOME(英文)"},
        {TextTable::Exchange, 0, "Start", "开始", "開始"},
        {TextTable::Exchange, 1, "Cancel", "取消", "取消"},
        {TextTable::Exchange, 2, "Communication False", "无法连接", "無法連接"},
        {TextTable::Exchange, 3, "SUCCESS", "成功", "成功"},
        {TextTable::Exchange, 4, "Password Error", "密码验证错误!", "密碼驗證錯誤!"},
        {TextTable::Exchange, 5, "band difference，continue?", "频段不同，是否继续?",
         "頻段不同，是否繼續?"},
        {TextTable::Exchange, 6, "Continue", "继续", "繼續"},
        {TextTable::Port, 0, "OK", "确认", "確認"},
        {TextTable::Port, 1, "Cancel", "取消", "取消"},
        {TextTable::Port, 2, "Auto seach COM port", "自动查找通讯口", "自動查找通訊口"},
        {TextTable::Warn, 0, "OK", "确认", "确认"},
    };
    for (const auto &r : kRows) {
        SCOPED_TRACE(testing::Message() << "table " << int(r.table) << " text " << r.number);
        EXPECT_EQ(TextIn(r.table, r.number, kEn), QString::fromUtf8(r.en));
        EXPECT_EQ(TextIn(r.table, r.number, kChs), QString::fromUtf8(r.chs));
        EXPECT_EQ(TextIn(r.table, r.number, kCht), QString::fromUtf8(r.cht));
    }
}

TEST(TextTables, UsedNumbersHaveTextsInAllLanguages)
{
    for (TextTable table : kAllTables) {
        for (int n = 0; n < TextCount(table); ++n) {
            const bool unused = table == TextTable::Main && UnusedMainNumber(n);
            for (std::uint8_t lang : {kEn, kChs, kCht}) {
                EXPECT_EQ(TextIn(table, n, lang).isEmpty(), unused)
                    << "table " << int(table) << " text " << n << " language " << int(lang);
            }
        }
    }
}

// Every character pair in which the two Chinese columns differ tells a
// simplified form from its traditional one; no Traditional text may still
// hold such a simplified form, and no Simplified text a traditional one.
// This catches a row left unconverted. (The message box's Traditional "确认"
// is kept as it has always been.)
TEST(TextTables, ChineseColumnsUseTheirOwnCharacterForms)
{
    QSet<QChar> simplifiedOnly, traditionalOnly;
    for (TextTable table : kAllTables) {
        for (int n = 0; n < TextCount(table); ++n) {
            const QString s = TextIn(table, n, kChs), t = TextIn(table, n, kCht);
            if (s.size() != t.size())
                continue;
            for (qsizetype i = 0; i < s.size(); ++i) {
                if (s[i] != t[i]) {
                    simplifiedOnly.insert(s[i]);
                    traditionalOnly.insert(t[i]);
                }
            }
        }
    }
    ASSERT_TRUE(simplifiedOnly.contains(u'讯') && traditionalOnly.contains(u'訊'));
    for (TextTable table : {TextTable::Main, TextTable::Exchange, TextTable::Port}) {
        for (int n = 0; n < TextCount(table); ++n) {
            const QString s = TextIn(table, n, kChs), t = TextIn(table, n, kCht);
            for (QChar c : t)
                EXPECT_FALSE(simplifiedOnly.contains(c)) << "Traditional " << int(table) << "/" << n
                                                         << ": " << t.toStdString();
            for (QChar c : s)
                EXPECT_FALSE(traditionalOnly.contains(c)) << "Simplified " << int(table) << "/" << n
                                                          << ": " << s.toStdString();
        }
    }
}

TEST(TextTables, MenuTextsKeepTheirAccelerator)
{
    std::vector<int> menus;
    for (int n = 1; n <= 14; ++n)
        menus.push_back(n);
    menus.insert(menus.end(), {166, 167, 180});
    for (int n : menus) {
        const QString en = TextIn(TextTable::Main, n, kEn);
        const qsizetype amp = en.indexOf(u'&');
        ASSERT_TRUE(amp >= 0 && amp + 1 < en.size()) << n;
        const QString accel = en.mid(amp, 2);
        EXPECT_TRUE(TextIn(TextTable::Main, n, kChs).contains(accel)) << n;
        EXPECT_TRUE(TextIn(TextTable::Main, n, kCht).contains(accel)) << n;
    }
}

// ---- language state --------------------------------------------------

TEST(AppLang, AutomaticDetectionFromSystemLanguage)
{
    const struct {
        std::uint16_t langId;
        std::uint8_t type;
    } kCases[] = {
        {0x0804, kChs}, // Chinese, PRC
        {0x1004, kChs}, // Chinese, Singapore
        {0x0404, kCht}, // Chinese, Taiwan
        {0x0C04, kCht}, // Chinese, Hong Kong
        {0x1404, kCht}, // Chinese, Macau
        {0x0004, kCht}, // Chinese without a sub-language
        {0x0409, kEn},
        {0x0407, kEn},
        {0x0104, kEn}, // primary language 0x104: only the low 10 bits count
    };
    for (const auto &c : kCases) {
        TAppLang lang;
        lang.setSystemLangId(c.langId);
        lang.fSetDetectType(TAppLang::Automatic);
        EXPECT_EQ(lang.langType(), c.type) << std::hex << c.langId;
        EXPECT_EQ(lang.detectType(), TAppLang::Automatic);
    }
}

TEST(AppLang, FollowsLangId)
{
    const struct {
        std::uint16_t system;
        LangId id;
        std::uint8_t type, detect;
    } kCases[] = {
        {0x0804, 0, kEn, TAppLang::Manual},
        {0x0409, 1, kChs, TAppLang::Manual},
        {0x0409, 2, kCht, TAppLang::Manual},
        {0x0804, 7, kChs, TAppLang::Automatic},
        {0x0404, 7, kCht, TAppLang::Automatic},
        {0x0409, 7, kEn, TAppLang::Automatic},
        {0x0804, -1, kChs, TAppLang::Automatic},
    };
    for (const auto &c : kCases) {
        TAppLang lang;
        lang.setSystemLangId(c.system);
        lang.follow(c.id);
        EXPECT_EQ(lang.langType(), c.type) << c.id << " on " << std::hex << c.system;
        EXPECT_EQ(lang.detectType(), c.detect) << c.id;
    }
}

TEST(AppLang, ManualDetectionKeepsTheChosenType)
{
    TAppLang lang;
    lang.setSystemLangId(0x0804);
    lang.fSetLangType(kCht);
    lang.fSetDetectType(TAppLang::Manual);
    EXPECT_EQ(lang.langType(), kCht);
    lang.fSetDetectType(TAppLang::Automatic);
    EXPECT_EQ(lang.langType(), kChs);
}

TEST(AppLang, LangIdForLocaleName)
{
    const struct {
        const char *name;
        std::uint16_t langId;
    } kCases[] = {
        {"zh_CN", 0x0804}, {"zh_SG", 0x1004},       {"zh_TW", 0x0404}, {"zh_HK", 0x0C04},
        {"zh_MO", 0x1404}, {"zh_TW.UTF-8", 0x0404}, {"en_US", 0x0409}, {"de_DE", 0x0407},
        {"fr_FR", 0x040C}, {"C", 0x0409},           {"", 0x0409},
    };
    for (const auto &c : kCases)
        EXPECT_EQ(TAppLang::LangIdForLocale(QString::fromLatin1(c.name)), c.langId) << c.name;
}

TEST(AppLang, TextFollowsTheActiveType)
{
    TAppLang &lang = TAppLang::instance();
    const std::uint8_t savedType = lang.langType(), savedDetect = lang.detectType();
    const struct {
        std::uint8_t type;
        const char *file;
    } kCases[] = {
        {kEn, "&File"}, {kChs, "文件(&F)"}, {kCht, "文件(&F)"}, {0, "&File"}, {9, "&File"},
    };
    for (const auto &c : kCases) {
        lang.fSetLangType(c.type);
        EXPECT_EQ(MainText(1), QString::fromUtf8(c.file)) << int(c.type);
    }
    lang.fSetLangType(kCht);
    EXPECT_EQ(Text(TextTable::Port, 0), QString::fromUtf8("確認"));
    EXPECT_EQ(Text(TextTable::Warn, 0), QString::fromUtf8("确认"));
    EXPECT_TRUE(MainText(450).isEmpty());
    EXPECT_TRUE(MainText(-1).isEmpty());
    EXPECT_TRUE(Text(TextTable::Warn, 1).isEmpty());
    lang.fSetLangType(savedType);
    lang.fSetDetectType(savedDetect);
}

// ---- GBK texts -------------------------------------------------------

std::vector<std::uint8_t> Bytes(std::initializer_list<int> list)
{
    std::vector<std::uint8_t> v;
    for (int b : list)
        v.push_back(static_cast<std::uint8_t>(b));
    return v;
}

class GbkText : public testing::Test {
protected:
    void SetUp() override
    {
        if (!GbkAvailable())
            GTEST_SKIP() << "Qt has no GBK codec here";
    }
};

TEST_F(GbkText, EncodeKeepsWholeCharactersThatFit)
{
    const struct {
        const char *text;
        std::size_t maxBytes;
        std::vector<std::uint8_t> bytes;
    } kCases[] = {
        {"你好", 16, Bytes({0xC4, 0xE3, 0xBA, 0xC3})},
        {"ab你好c", 6, Bytes({'a', 'b', 0xC4, 0xE3, 0xBA, 0xC3})},
        {"ab你好c", 5, Bytes({'a', 'b', 0xC4, 0xE3})},
        {"你", 1, Bytes({})},
        {"a😀b", 16, Bytes({'a', 'b'})},         // emoji: not in GBK, skipped
        {"😀你", 2, Bytes({0xC4, 0xE3})},        // a skipped character takes no room
        {"a\tb\nc\x7F", 16, Bytes({'a', 'b', 'c'})}, // control characters
    };
    for (const auto &c : kCases)
        EXPECT_EQ(EncodeGbk(QString::fromUtf8(c.text), c.maxBytes), c.bytes)
            << c.text << " in " << c.maxBytes;
    // A lone surrogate half is dropped, not encoded as a substitute.
    EXPECT_EQ(EncodeGbk(QString(QChar(0xD83D)) + u'a', 4), Bytes({'a'}));
    // The converter's character for the byte 0xFF is no GBK character: a
    // name never shows it, so it is never stored.
    const QString ff = QStringDecoder("GBK", QStringConverter::Flag::Stateless).decode(QByteArray("\xFF"));
    EXPECT_EQ(EncodeGbk(QStringLiteral("a") + ff + u'b', 8), Bytes({'a', 'b'}));
}

TEST_F(GbkText, StoreZeroPadsAndRoundTrips)
{
    std::uint8_t field[8];
    std::fill(std::begin(field), std::end(field), 0xEE);
    StoreGbkField(QString::fromUtf8("ab你好c"), field, 5);
    EXPECT_EQ(std::vector<std::uint8_t>(field, field + 6), Bytes({'a', 'b', 0xC4, 0xE3, 0, 0xEE}));

    StoreGbkField(QString::fromUtf8("你好"), field, sizeof field);
    EXPECT_EQ(std::vector<std::uint8_t>(field, field + 8),
              Bytes({0xC4, 0xE3, 0xBA, 0xC3, 0, 0, 0, 0}));
    EXPECT_EQ(DecodeGbkField(field, sizeof field), QString::fromUtf8("你好"));
}

TEST_F(GbkText, DecodeFields)
{
    const QChar bad = QChar::ReplacementCharacter;
    const struct {
        std::vector<std::uint8_t> field;
        QString text;
    } kCases[] = {
        // No zero byte: the whole field; otherwise up to the first zero.
        {Bytes({'a', 'b', 0xC4, 0xE3, 0xBA, 0xC3}), QString::fromUtf8("ab你好")},
        {Bytes({'a', 0, 'b'}), QStringLiteral("a")},
        {Bytes({0, 'a'}), QString()},
        // A lead byte without its second byte, before the zero or at the end.
        {Bytes({'a', 0xC4, 0}), QStringLiteral("a") + bad},
        {Bytes({'a', 0xC4}), QStringLiteral("a") + bad},
        // Bytes that are no GBK character become replacement characters
        // without taking their neighbours along.
        {Bytes({'a', 0xFF, 'b'}), QStringLiteral("a") + bad + u'b'},
        {Bytes({0x81, 0xFF, 'c'}), QString(bad) + bad + u'c'},
        {Bytes({0x81, 0x7F, 'c'}), QString(bad) + QChar(0x7F) + u'c'},
    };
    for (const auto &c : kCases) {
        EXPECT_EQ(DecodeGbkField(c.field.data(), c.field.size()), c.text)
            << c.text.toStdString();
    }
}
// ---- table files -----------------------------------------------------

TEST(TableParser, Escapes)
{
    const auto r =
        tables::ParseTable("# comment\n\n0\tA\\sB\\s\t\\sx\\ty\\nz\t\\\\\r\n2\t\t\t\n", 3);
    ASSERT_TRUE(r.ok) << r.errorLine << ": " << r.error;
    ASSERT_EQ(r.texts.size(), 3u);
    EXPECT_EQ(r.texts[0], (tables::Texts{"A B ", " x\ty\nz", "\\"}));
    EXPECT_EQ(r.texts[1], (tables::Texts{"", "", ""})); // left out
    EXPECT_EQ(r.texts[2], (tables::Texts{"", "", ""}));
}

TEST(TableParser, RejectsMalformedTables)
{
    const struct {
        const char *content;
        int line;
        const char *message;
    } kCases[] = {
        {"0\ta\tb\n", 1, "found 3"},
        {"0\ta\tb\tc\td\n", 1, "found 5"},
        {"0\ta\tb\tc\n0\ta\tb\tc\n", 2, "number 0 appears twice (first on line 1)"},
        {"0\ta\tb\tc\n2\ta\tb\tc\n2\ta\tb\tc\n", 3, "appears twice"},
        {"1\ta\tb\tc\n0\ta\tb\tc\n", 2, "number 0 is out of order"},
        {"#\n3\ta\tb\tc\n", 2, "number 3 is past the end"},
        {"x\ta\tb\tc\n", 1, "not a text number"},
        {" 1\ta\tb\tc\n", 1, "not a text number"},
        {"0\ta\\q\tb\tc\n", 1, "unknown escape \\q"},
        {"0\ta\tb\\\tc\n", 1, "lone backslash"},
        {"0\tRing \tb\tc\n", 1, "English column: a blank at the start or end"},
        {"0\ta\tb\t c\n", 1, "Traditional column"},
        {"0\ta\t\xC4\xE3\tc\n", 1, "not valid UTF-8"},
    };
    for (const auto &c : kCases) {
        const auto r = tables::ParseTable(c.content, 3);
        EXPECT_FALSE(r.ok) << c.content;
        EXPECT_EQ(r.errorLine, c.line) << c.content;
        EXPECT_NE(r.error.find(c.message), std::string::npos) << c.content << " -> " << r.error;
    }
}

// The generator turns a faulty table into a failed build step.
TEST(TableGenerator, FailsOnAFaultyTable)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("vkt_gen_test_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path table = dir / "bad.tsv", output = dir / "out.cpp", log = dir / "log.txt";
    std::ofstream(table) << "# header\n0\tOK\t确认\n";

    const std::string command = std::string("\"") + VKT_GEN_STRING_TABLES + "\" \"" +
                                output.string() + "\" Warn 1 \"" + table.string() + "\" > \"" +
                                log.string() + "\" 2>&1";
    const int status = std::system(command.c_str());
    std::ifstream in(log);
    const std::string message((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    fs::remove_all(dir);

    EXPECT_NE(status, 0);
    EXPECT_NE(message.find("bad.tsv:2: error: expected 4 tab-separated columns"), std::string::npos)
        << message;
    EXPECT_FALSE(fs::exists(output));
}

} // namespace
} // namespace vkt

// The five-tone page driven with real key presses and mouse clicks on the
// offscreen platform and checked against the stored bytes.
#include "app_session.h"
#include "five_tone.h"
#include "five_tone_page.h"
#include "localisation.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include "project_arrange.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>

namespace vkt {
namespace {

class FiveTonePageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TAppLang::instance().fSetLangType(TAppLang::English);
        session = std::make_unique<AppSession>();
        { Arrangement arranged(session->project); SetDefaultAll(arranged.state()); }
        page = std::make_unique<FiveTonePage>(*session, nullptr);
        refresh();
        page->resize(1000, 700);
        page->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(page.get()));
        QApplication::setActiveWindow(page.get());
    }
    void TearDown() override
    {
        page.reset();
        session.reset();
        TAppLang::instance().fSetLangType(TAppLang::English);
    }

    // What the main window's refresh does with a page.
    void refresh()
    {
        page->retranslate();
        page->load();
    }
    void showTab(QWidget *tab) { page->PageControl_5T->setCurrentWidget(tab); }
    void click(Grid *grid, int row, int column)
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(row, column).center());
    }
    // A double-click as the window system sends it: press, release, the
    // second press as a double-click, release.
    void doubleClick(Grid *grid, int row, int column)
    {
        const QPoint at = grid->viewport()->mapTo(page.get(), grid->cellRect(row, column).center());
        QTest::mouseDClick(page->windowHandle(), Qt::LeftButton, {}, at);
    }
    // Opens a cell's editor as the user does: a single press only makes
    // the cell current, a double-click opens the editor.
    void openCell(Grid *grid, int row, int column)
    {
        click(grid, row, column);
        EXPECT_EQ(grid->activeEditor(), nullptr) << "a single press opens no editor";
        doubleClick(grid, row, column);
    }
    // Keys to whatever has the focus, one after another (the first may open
    // an editor that takes the rest).
    void type(const char *keys)
    {
        for (const char *k = keys; *k; ++k)
            QTest::keyClick(QApplication::focusWidget(), *k);
    }
    void press(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }
    const RadioData &data() { return session->state().data; }

    std::unique_ptr<AppSession> session;
    std::unique_ptr<FiveTonePage> page;
};

std::array<std::uint8_t, 4> Bytes(const std::uint8_t (&code)[4]) { return {code[0], code[1], code[2], code[3]}; }

TEST_F(FiveTonePageTest, CodeEditorsTakeHexKeysAndStoreOnLeaving)
{
    // The nine keys into the encode editor: the ninth is removed at once.
    showTab(page->tsEncode_5T);
    Grid *encode = page->sgEncode_5T;
    openCell(encode, 1, 1);
    ASSERT_EQ(encode->activeEditor(), page->eEncodeCode);
    type("12a345678");
    EXPECT_EQ(page->eEncodeCode->text(), QStringLiteral("12A34567"));
    press(Qt::Key_Return);
    EXPECT_EQ(encode->activeEditor(), nullptr);
    EXPECT_EQ(data().fiveToneEncode[0].length, 8);
    EXPECT_EQ(Bytes(data().fiveToneEncode[0].code), (std::array<std::uint8_t, 4>{0x21, 0x3A, 0x54, 0x76}));
    EXPECT_EQ(encode->cellText(1, 1), QStringLiteral("12A34567"));

    // A digit typed on a decode cell opens its editor as the first digit;
    // the other keys do not get in; leaving by a click elsewhere stores.
    showTab(page->tsDecode_5T);
    Grid *decode = page->sgDecode_5T;
    decode->setFocus();
    decode->setCurrentGridCell(3, 1);
    type("1g2-3");
    ASSERT_EQ(decode->activeEditor(), page->eDecodeCode);
    EXPECT_EQ(page->eDecodeCode->text(), QStringLiteral("123"));
    openCell(decode, 5, 1);
    EXPECT_EQ(data().fiveToneDecode[2].length, 3);
    EXPECT_EQ(Bytes(data().fiveToneDecode[2].code), (std::array<std::uint8_t, 4>{0x21, 0xF3, 0xFF, 0xFF}));
    EXPECT_EQ(decode->cellText(3, 1), QStringLiteral("123"));
}

TEST_F(FiveTonePageTest, SystemGridAnswersKeysAndClicks)
{
    // Decode entry 4 gets a code on its own sub-page.
    showTab(page->tsDecode_5T);
    openCell(page->sgDecode_5T, 4, 1);
    type("77");
    press(Qt::Key_Return);
    ASSERT_EQ(data().fiveToneDecode[3].length, 2);

    showTab(page->tsSystem_5T);
    Grid *grid = page->sgSystem_5T;
    // Double-clicks on "Seq." cycle the sending order, one step each; a
    // single click only selects the cell.
    click(grid, 2, k5tColSequence);
    EXPECT_EQ(grid->cellText(2, k5tColSequence), QStringLiteral("Call"));
    for (const char *shown : {"ID-CALL", "CALL-ID", "Call"}) {
        doubleClick(grid, 2, k5tColSequence);
        EXPECT_EQ(grid->cellText(2, k5tColSequence), QLatin1String(shown));
    }
    EXPECT_EQ(data().fiveToneSystems[1].sequence, 0x01);
    // Arrow keys move, Enter toggles; a letter does nothing there.
    press(Qt::Key_Right);
    type("x");
    EXPECT_EQ(grid->cellText(2, k5tColAutoReset), QStringLiteral("On"));
    press(Qt::Key_Return);
    EXPECT_EQ(grid->cellText(2, k5tColAutoReset), QStringLiteral("Off"));
    EXPECT_EQ(data().fiveToneSystems[1].options, 0x18);

    // Decode column 4 answers; column 5 (no code) does not.
    const int fourth = k5tColFirstDecode + 3;
    for (int system : {1, 2, 9})
        doubleClick(grid, system, fourth);
    doubleClick(grid, 1, fourth + 1);
    EXPECT_EQ(grid->cellText(9, fourth), QStringLiteral("On"));
    EXPECT_EQ(grid->cellText(1, fourth + 1), QString());
    EXPECT_EQ(data().fiveToneSystems[8].decodeEntries, 0x0008);
    EXPECT_EQ(data().fiveToneSystems[0].decodeEntries, 0x0008);

    // The name editor drops the barred characters; Enter stores.
    openCell(grid, 1, k5tColName);
    ASSERT_EQ(grid->activeEditor(), page->e5T_Name);
    type("AB(C)D!EFG");
    EXPECT_EQ(page->e5T_Name->text(), QStringLiteral("ABCDEF"));
    press(Qt::Key_Return);
    EXPECT_EQ(std::memcmp(data().fiveToneSystems[0].name, "ABCDEF", 6), 0);

    // The call list holds the encode entries with a code.
    {
        Arrangement arranged(session->project);
        std::memcpy(arranged.data().fiveToneEncode[5].code, "\x21\xFF\xFF\xFF", 4);
        arranged.data().fiveToneEncode[5].length = 2;
    }
    openCell(grid, 1, k5tColCall);
    ASSERT_EQ(grid->activeEditor(), page->cbSystemCall_5T);
    EXPECT_EQ(page->cbSystemCall_5T->count(), 2);
    press(Qt::Key_Down);
    press(Qt::Key_Return);
    EXPECT_EQ(data().fiveToneSystems[0].callCode, 5);
    EXPECT_EQ(grid->cellText(1, k5tColCall), QStringLiteral("Enc- 6"));

    // Emptying decode entry 4 takes its "On" out of every system at once.
    showTab(page->tsDecode_5T);
    openCell(page->sgDecode_5T, 4, 1);
    press(Qt::Key_Backspace);
    press(Qt::Key_Return);
    for (int system = 1; system <= kFiveToneSystems; ++system) {
        EXPECT_EQ(grid->cellText(system, fourth), QString()) << system;
        EXPECT_EQ(data().fiveToneSystems[system - 1].decodeEntries, 0) << system;
    }
}

TEST_F(FiveTonePageTest, PeriodRowsKeepTheGapRule)
{
    Grid *grid = page->sg5Tone_List;
    openCell(grid, 5, 2); // a tone, not editable
    EXPECT_EQ(grid->activeEditor(), nullptr);
    struct Step {
        int row;
        const char *keys;
        const char *tone, *gap; // standard 1 afterwards
    };
    const Step steps[] = {
        {17, "2000", "200", "255"}, // three digits at most
        {17, "70", "70", "105"},
        {17, "20", "20", "45"},
        {18, "44", "20", "45"},
        {18, "90", "20", "90"},
        {18, "45", "20", "45"},
        {17, "19", "20", "45"},
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(s.keys);
        openCell(grid, s.row, 1);
        ASSERT_EQ(grid->activeEditor(), page->_5T_List_Time);
        page->_5T_List_Time->selectAll();
        type(s.keys);
        press(Qt::Key_Return);
        EXPECT_EQ(grid->cellText(kTonePeriodRow, 1), QLatin1String(s.tone));
        EXPECT_EQ(grid->cellText(kGapPeriodRow, 1), QLatin1String(s.gap));
    }
    EXPECT_EQ(data().tonePeriods[0].tone, 20);
    EXPECT_EQ(data().tonePeriods[0].gap, 45);
    EXPECT_EQ(data().tonePeriods[1].tone, 70); // the other standards stay
}

TEST_F(FiveTonePageTest, ExtendedToneBoxGreysOutItsTimeList)
{
    QCheckBox *box = page->cExtended_1st;
    QComboBox *time = page->cbExtended_1st_time;
    ASSERT_TRUE(box && time);
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(time->currentText(), QStringLiteral("100"));

    // 500 ms chosen with keys and left.
    time->setFocus();
    for (int i = 0; i < 4; ++i)
        press(Qt::Key_Down);
    press(Qt::Key_Tab);
    EXPECT_EQ(data().firstToneExtension, 5);
    // Leaving the ticked box keeps the time.
    box->setFocus();
    press(Qt::Key_Tab);
    EXPECT_EQ(data().firstToneExtension, 5);

    // Unticking stores 0 and greys the list out with its first item.
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(data().firstToneExtension, 0);
    EXPECT_FALSE(time->isEnabled());
    press(Qt::Key_Tab);
    EXPECT_EQ(data().firstToneExtension, 0);
    refresh();
    EXPECT_FALSE(time->isEnabled());
    EXPECT_EQ(time->currentText(), QStringLiteral("100"));
    // Ticking again stores the list's item + 1.
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_EQ(data().firstToneExtension, 1);
    EXPECT_TRUE(time->isEnabled());
    EXPECT_EQ(data().secondToneExtension, 1); // the second box is not touched
}

TEST_F(FiveTonePageTest, LanguageChangeShowsTheSameStoredValues)
{
    {
        Arrangement arranged(session->project);
        RadioData &d = arranged.data();
        d.fiveToneSystems[0].standard = 4;
        d.fiveToneDecode[1].length = 1;
        d.fiveToneDecode[1].decodeType = 1;
        d.clearToTranspond = 16;
        d.groupTone = 11;
        d.secondToneExtension = 0;
    }
    refresh();
    const RadioData &d = data();
    const RadioData stored = d;
    auto *clearList = qobject_cast<QComboBox *>(page->control("cbClear_trans_delay_time"));
    auto *groupTone = qobject_cast<QComboBox *>(page->control("cbGroupTone"));
    ASSERT_TRUE(clearList && groupTone && page->cExtended_1st && page->cExtended_2nd);
    auto shows = [&](const char *sys, const char *decodeType, const char *heading, const char *tab,
                        const char *clear) {
        EXPECT_EQ(page->sgSystem_5T->cellText(1, k5tColType), QStringLiteral("CCIR1"));
        EXPECT_EQ(page->sgSystem_5T->cellText(1, k5tColAutoReset), QStringLiteral("On"));
        EXPECT_EQ(page->sgSystem_5T->cellText(0, k5tColSequence), QString::fromUtf8(sys));
        EXPECT_EQ(page->sgDecode_5T->cellText(2, kDecodeTypeColumn), QString::fromUtf8(decodeType));
        EXPECT_EQ(page->sg5Tone_List->cellText(kTonePeriodRow, 0), QString::fromUtf8(heading));
        EXPECT_EQ(page->PageControl_5T->tabText(0), QString::fromUtf8(tab));
        EXPECT_EQ(clearList->currentText(), QString::fromUtf8(clear));
        EXPECT_EQ(groupTone->currentText(), QStringLiteral("B"));
        EXPECT_FALSE(page->cExtended_2nd->isChecked());
        EXPECT_FALSE(page->cbExtended_2nd_time->isEnabled());
    };
    shows("Seq.", "Emergency On", "Tone Prd(ms)", "Option", "Nolimit");
    TAppLang::instance().fSetLangType(TAppLang::Simplified);
    refresh();
    shows("发送", "紧急报警开启", "音频长度(毫秒)", "选项", "无限制");
    EXPECT_EQ(page->cExtended_1st->text(), QStringLiteral("首拓展音频"));
    TAppLang::instance().fSetLangType(TAppLang::English);
    refresh();
    shows("Seq.", "Emergency On", "Tone Prd(ms)", "Option", "Nolimit");
    EXPECT_EQ(std::memcmp(&stored, &d, sizeof d), 0);
}

} // namespace
} // namespace vkt

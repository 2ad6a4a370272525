// The two-tone page on the offscreen platform, driven with real key presses
// and mouse clicks (a double-click through the window, as a user's arrives:
// press, release, press with double-click, release) and checked against the
// stored bytes.
#include "app_session.h"
#include "field_texts.h"
#include "localisation.h"
#include "two_tone_page.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include "project_arrange.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace vkt {
namespace {

class TwoTonePageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TAppLang::instance().fSetLangType(TAppLang::English);
        session = std::make_unique<AppSession>();
        { Arrangement arranged(session->project); SetDefaultAll(arranged.state()); }
        page = std::make_unique<TwoTonePage>(*session, nullptr);
        page->resize(1000, 620);
        page->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(page.get()));
        QApplication::setActiveWindow(page.get());
        refresh();
    }
    void TearDown() override
    {
        page.reset();
        TAppLang::instance().fSetLangType(TAppLang::English);
    }

    void refresh()
    {
        page->retranslate();
        page->load();
    }
    void showSub(QWidget *sub)
    {
        page->PageControl_2T->setCurrentWidget(sub);
        QApplication::processEvents();
    }
    static void click(Grid *grid, int row, int column)
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(row, column).center());
    }
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
    static void key(int k) { QTest::keyClick(QApplication::focusWidget(), Qt::Key(k)); }

    const RadioData &d() { return session->state().data; }
    const TwoToneSystem &system(int n) { return d().twoToneSystems[n - 1]; }
    // Every body cell of the page's three grids, row by row.
    QStringList allCells() const
    {
        QStringList cells;
        for (const Grid *g : {page->sgSystem_2T, page->sgDecode_2T, page->sgEncode_2T})
            for (int r = 1; r < g->gridRows(); ++r)
                for (int c = 1; c < g->gridColumns(); ++c)
                    cells << g->cellText(r, c);
        return cells;
    }

    std::unique_ptr<AppSession> session;
    std::unique_ptr<TwoTonePage> page;
};

TEST_F(TwoTonePageTest, SystemGridWithKeysAndMouse)
{
    {
        Arrangement arranged(session->project);
        arranged.data().twoToneEncode[4] = 0x21; // encode entry 5
        arranged.data().twoToneDecode[1] = 0xF3; // decode entry 2; entry 7 stays empty
    }
    refresh();
    showSub(page->tsSystem_2T);
    Grid *grid = page->sgSystem_2T;

    // A click opens the time editor over the cell; the key filter drops the
    // letter, Enter commits and gives the grid the focus back.
    openCell(grid, 2, k2tColToneATime);
    ASSERT_EQ(grid->activeEditor(), page->eToneATime);
    EXPECT_EQ(page->eToneATime->text(), "0.4");
    EXPECT_EQ(page->eToneATime->geometry().topLeft(), grid->cellRect(2, k2tColToneATime).topLeft() + QPoint(1, 0));
    QTest::keyClicks(page->eToneATime, "0.45x");
    EXPECT_EQ(page->eToneATime->text(), "0.45");
    key(Qt::Key_Return);
    EXPECT_EQ(grid->activeEditor(), nullptr);
    EXPECT_EQ(QApplication::focusWidget(), grid);
    EXPECT_EQ(system(2).toneATime, 4);
    EXPECT_EQ(grid->cellText(2, k2tColToneATime), "0.4");

    // An arrow moves on; a digit opens the next editor and is its first
    // character; a click on a cell without editor leaves it.
    key(Qt::Key_Right);
    key(Qt::Key_3);
    ASSERT_EQ(grid->activeEditor(), page->eToneBTime);
    EXPECT_EQ(page->eToneBTime->text(), "3");
    click(grid, 5, k2tColFirstDecode);
    EXPECT_EQ(grid->activeEditor(), nullptr);
    EXPECT_EQ(system(2).toneBTime, 30);
    EXPECT_EQ(grid->cellText(2, k2tColToneBTime), "3");

    // A double-click flips a toggle once; a single click selects only;
    // Enter flips too.
    doubleClick(grid, 2, k2tColAutoReset);
    EXPECT_EQ(system(2).options, 0x1C & ~kSystemAutoReset);
    EXPECT_EQ(grid->cellText(2, k2tColAutoReset), "Off");
    click(grid, 2, k2tColSubaudio);
    EXPECT_EQ(system(2).options & kSystemSubaudio, kSystemSubaudio);
    EXPECT_EQ(grid->activeEditor(), nullptr);
    key(Qt::Key_Return);
    EXPECT_EQ(system(2).options, 0x08);
    EXPECT_EQ(grid->cellText(2, k2tColSubaudio), "Off");

    // The seventh decode column does not react while decode entry 7 is
    // empty; the second does.
    doubleClick(grid, 2, k2tColFirstDecode + 6);
    EXPECT_EQ(system(2).decodeEntries.get(), 0u);
    EXPECT_EQ(grid->cellText(2, k2tColFirstDecode + 6), "");
    doubleClick(grid, 2, k2tColFirstDecode + 1);
    EXPECT_EQ(system(2).decodeEntries.get(), 0x2u);
    EXPECT_EQ(grid->cellText(2, k2tColFirstDecode + 1), "On");

    // The call list holds the encode entries in use.
    openCell(grid, 2, k2tColCall);
    ASSERT_EQ(grid->activeEditor(), page->cbSystemCall_2T);
    ASSERT_EQ(page->cbSystemCall_2T->count(), 2);
    EXPECT_EQ(page->cbSystemCall_2T->currentText(), "Off");
    key(Qt::Key_Down);
    key(Qt::Key_Return);
    EXPECT_EQ(system(2).call, 4);
    EXPECT_EQ(grid->cellText(2, k2tColCall), "Enc- 5");

    // The name editor drops blank and brackets; clicking another cell
    // commits it and opens that cell's editor.
    openCell(grid, 2, k2tColName);
    ASSERT_EQ(grid->activeEditor(), page->e2T_Name);
    QTest::keyClicks(page->e2T_Name, "AB C(D)EFG");
    EXPECT_EQ(page->e2T_Name->text(), "ABCDEF");
    openCell(grid, 3, k2tColType);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(system(2).name), 6), "ABCDEF");
    EXPECT_EQ(grid->cellText(2, k2tColName), "ABCDEF");
    ASSERT_EQ(grid->activeEditor(), page->cbSystemTable);
    EXPECT_EQ(page->cbSystemTable->currentText(), "Motorola-1");
    key(Qt::Key_End);
    key(Qt::Key_Return);
    EXPECT_EQ(system(3).presetTable, 15);
    EXPECT_EQ(grid->cellText(3, k2tColType), "REACH-E");
}

TEST_F(TwoTonePageTest, EmptiedEntriesLeaveTheSystems)
{
    {
        Arrangement arranged(session->project);
        arranged.data().twoToneEncode[4] = 0x21; // encode entry 5, called by system 2
        arranged.data().twoToneSystems[2 - 1].call = 4;
        arranged.data().twoToneDecode[2] = 0x05; // decode entry 3, decoded by systems 1 and 16
        arranged.data().twoToneSystems[1 - 1].decodeEntries = 0x0004;
        arranged.data().twoToneSystems[16 - 1].decodeEntries = 0x0006;
    }
    refresh();
    EXPECT_EQ(page->sgSystem_2T->cellText(2, k2tColCall), "Enc- 5");
    EXPECT_EQ(page->sgSystem_2T->cellText(16, k2tColFirstDecode + 2), "On");

    showSub(page->tsEncode_2T);
    Grid *enc = page->sgEncode_2T;
    openCell(enc, 5, kToneColumnA);
    ASSERT_EQ(enc->activeEditor(), page->cbEncodeToneA);
    EXPECT_EQ(page->cbEncodeToneA->currentText(), "1");
    key(Qt::Key_Home); // "Off"
    key(Qt::Key_Return);
    EXPECT_EQ(d().twoToneEncode[4], kEmptyCode);
    EXPECT_EQ(system(2).call, kNoCall);
    EXPECT_EQ(page->sgSystem_2T->cellText(2, k2tColCall), "Off");
    EXPECT_EQ(enc->cellText(5, kToneColumnB), "---");
    openCell(enc, 5, kToneColumnB); // no tone A: tone B does not open
    EXPECT_EQ(enc->activeEditor(), nullptr);

    showSub(page->tsDecode_2T);
    Grid *dec = page->sgDecode_2T;
    openCell(dec, 3, kToneColumnA);
    ASSERT_EQ(dec->activeEditor(), page->cbDecodeToneA);
    key(Qt::Key_Home);
    key(Qt::Key_Return);
    EXPECT_EQ(d().twoToneDecode[2], kEmptyCode);
    EXPECT_EQ(system(1).decodeEntries.get(), 0u);
    EXPECT_EQ(system(16).decodeEntries.get(), 0x2u);
    for (int s = 1; s <= kTwoToneSystems; ++s)
        EXPECT_EQ(page->sgSystem_2T->cellText(s, k2tColFirstDecode + 2), "") << s;

    // A new tone A keeps the entry's tone B.
    openCell(dec, 3, kToneColumnA);
    key(Qt::Key_End); // "9"
    key(Qt::Key_Return);
    EXPECT_EQ(d().twoToneDecode[2], 0xF9);
    openCell(dec, 3, kToneColumnB);
    ASSERT_EQ(dec->activeEditor(), page->cbDecodeToneB);
    EXPECT_EQ(page->cbDecodeToneB->currentText(), "Off");
    key(Qt::Key_Down);
    key(Qt::Key_Return);
    EXPECT_EQ(d().twoToneDecode[2], 0x09);
    EXPECT_EQ(dec->cellText(3, kToneColumnB), "0");
}

TEST_F(TwoTonePageTest, OpeningSettlesAndALanguageSwitchShowsTheSameValues)
{
    {
        Arrangement arranged(session->project);
        arranged.data().twoToneSystems[4 - 1].call = 8;            // encode entry 9, which is empty
        arranged.data().twoToneEncode[2] = 0x3F;   // no tone A, a stray tone B
        arranged.data().twoToneEncode[6] = 0x42;   // entry 7
        arranged.data().call1_2T = 6;              // the hidden call 1 names entry 7
        arranged.data().twoToneSystems[1 - 1].toneATime = 25;
        arranged.data().twoToneSystems[1 - 1].presetTable = 11;
        arranged.data().leadIn2T = 2999;
        const std::uint8_t name[] = {0xB6, 0xD4, 0xBD, 0xB2}; // "对讲" in GBK
        std::memcpy(arranged.data().twoToneSystems[0].name, name, sizeof name);
    }
    refresh();
    EXPECT_EQ(page->sgSystem_2T->cellText(4, k2tColCall), "Off");
    EXPECT_EQ(system(4).call, 8) << "showing the page writes nothing";
    // Opening (or reading) such a record stores what the page shows, in
    // the same step.
    session->project.replace(session->state(), "Open");
    refresh();
    EXPECT_EQ(system(4).call, kNoCall);
    EXPECT_EQ(d().twoToneEncode[2], kEmptyCode);
    EXPECT_EQ(page->sgSystem_2T->cellText(4, k2tColCall), "Off");
    EXPECT_EQ(page->cbCall_1->count(), 2);
    EXPECT_EQ(page->cbCall_1->currentText(), "Enc- 7");
    EXPECT_EQ(page->cbCall_2->currentText(), "Off");
    EXPECT_FALSE(page->gbCallTone_2T->isVisible());

    const QStringList cells = allCells();
    EXPECT_EQ(page->sgSystem_2T->cellText(1, k2tColName), QStringLiteral("对讲"));
    EXPECT_EQ(page->sgSystem_2T->cellText(1, k2tColToneATime), "2.5");
    EXPECT_EQ(page->sgSystem_2T->cellText(0, k2tColFirstDecode), "De- 1");
    EXPECT_EQ(page->PageControl_2T->tabText(1), "System");
    const RadioData before = d();

    TAppLang::instance().fSetLangType(TAppLang::Simplified);
    refresh();
    EXPECT_EQ(allCells(), cells);
    EXPECT_EQ(std::memcmp(&before, &d(), sizeof before), 0);
    EXPECT_EQ(page->caption(), QStringLiteral("2音"));
    EXPECT_EQ(page->PageControl_2T->tabText(1), QStringLiteral("系统"));
    EXPECT_EQ(page->PageControl_2T->tabText(3), QStringLiteral("编码"));
    EXPECT_EQ(page->sgSystem_2T->cellText(0, k2tColName), QStringLiteral("别名"));
    EXPECT_EQ(page->sgSystem_2T->cellText(0, k2tColFirstDecode + 15), QStringLiteral("解码16"));
    EXPECT_EQ(page->sgDecode_2T->cellText(0, kToneColumnA), QStringLiteral("A音"));
    EXPECT_EQ(page->cbCall_1->currentText(), "Enc- 7");
    // The lead delays are rows of the table of fields.
    ASSERT_NE(page->eLeadIn_2T, nullptr);
    EXPECT_EQ(page->eLeadIn_2T->text(), "2999");
    const auto *label = page->findChild<QLabel *>("sLeadIn_2T");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("导入 (毫秒)"));
}

TEST_F(TwoTonePageTest, ReferenceTableAndLeadDelays)
{
    Grid *table = page->sg2Tone_List;
    EXPECT_EQ(table->gridRows(), 11);
    EXPECT_EQ(table->gridColumns(), 17);
    EXPECT_EQ(table->cellText(0, 1), "Moto-1");
    EXPECT_EQ(table->cellText(0, 16), "REACH-E");
    EXPECT_EQ(table->cellText(1, 0), "0");
    EXPECT_EQ(table->cellText(1, 3), "1092.4");
    EXPECT_EQ(table->cellText(10, 16), "609.0");
    EXPECT_FALSE(table->item(0, 0)->data(Qt::BackgroundRole).isValid()); // no row colours
    click(table, 1, 1);
    EXPECT_EQ(table->activeEditor(), nullptr);

    ASSERT_NE(page->eLeadIn_2T, nullptr);
    ASSERT_NE(page->eLeadOut_2T, nullptr);
    const struct {
        QLineEdit *edit;
        const char *typed, *whileTyping, *shown;
        int stored;
    } cases[] = {{page->eLeadIn_2T, "50", "50", "100", 100},
                 {page->eLeadIn_2T, "40005", "4000", "3000", 3000},
                 {page->eLeadOut_2T, "2999", "2999", "2999", 2999},
                 {page->eLeadOut_2T, "", "", "100", 100}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        QTest::mouseClick(c.edit, Qt::LeftButton);
        c.edit->selectAll();
        QTest::keyClick(c.edit, Qt::Key_Delete);
        QTest::keyClicks(c.edit, c.typed);
        EXPECT_EQ(c.edit->text(), c.whileTyping);
        QTest::keyClick(c.edit, Qt::Key_Tab);
        EXPECT_EQ(c.edit->text(), c.shown);
        EXPECT_EQ(c.edit == page->eLeadIn_2T ? d().leadIn2T : d().leadOut2T, c.stored);
    }
}

} // namespace
} // namespace vkt

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}

// The channel table driven with real mouse clicks and key presses on the
// offscreen platform, checked against the stored bytes.
#include "channel_edit.h"
#include "channel_page.h"
#include "main_window.h"
#include "pages.h"
#include "message_answer.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QHeaderView>
#include <QMessageBox>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>

#include "project_arrange.h"
#include "window_fixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <random>

namespace fs = std::filesystem;

namespace vkt {
namespace {

class ChannelPageTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        page = window->channelPage;
        grid = page->StringGrid1;
    }

    QPoint cellCentre(int row, int column) { return grid->cellRect(row, column).center(); }
    void click(int row, int column) { QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(row, column)); }
    QString cell(int row, int column) { return grid->cellText(row, column); }
    const ChannelEntry &entry(int ch) { return session->state().data.channels[ch]; }

    ChannelPage *page = nullptr;
    Grid *grid = nullptr;
};

TEST_F(ChannelPageTest, ClickAnEmptyRowAndTypeAFrequency)
{
    click(5, kColTx);
    EXPECT_EQ(page->activeEditor(), nullptr) << "no transmit editor in an empty row";
    click(5, kColRx);
    ASSERT_EQ(page->activeEditor(), page->Edit_ChFreq);
    EXPECT_TRUE(page->Edit_ChFreq->hasFocus());
    QTest::keyClicks(page->Edit_ChFreq, "146.5x2"); // the letter is dropped
    EXPECT_EQ(page->Edit_ChFreq->text(), "146.52");
    QTest::keyClick(page->Edit_ChFreq, Qt::Key_Return);

    EXPECT_EQ(page->activeEditor(), nullptr);
    EXPECT_TRUE(IsChannelInUse(session->state().data, 5));
    EXPECT_EQ(entry(5).rxFreq.get(), 146520000u);
    EXPECT_EQ(entry(5).txFreq.get(), 146520000u);
    EXPECT_EQ(entry(5).flags1, 0xB0);
    EXPECT_EQ(cell(5, kColRx), "146.52000");
    EXPECT_EQ(cell(5, kColDecode), "Off");
    EXPECT_EQ(cell(5, kColPower), "High");
    EXPECT_EQ(cell(5, kColSignalSystem), "OFF");
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_EQ(grid->currentGridRow(), 5);
    EXPECT_EQ(grid->currentGridColumn(), kColRx) << "Enter ends the edit where it was";

    // Tab stores the editor and moves to the next cell.
    click(5, kColName);
    QTest::keyClicks(page->Edit_ChName, "TAB");
    QTest::keyClick(page->Edit_ChName, Qt::Key_Tab);
    EXPECT_EQ(page->activeEditor(), nullptr);
    EXPECT_EQ(cell(5, kColName), "TAB");
    EXPECT_EQ(grid->currentGridRow(), 6) << "the cell after the last of row 5";
    EXPECT_EQ(grid->currentGridColumn(), 1);
}

TEST_F(ChannelPageTest, ADigitTypedOnTheGridStartsAFrequency)
{
    grid->setFocus();
    grid->setCurrentGridCell(3, kColRx);
    QTest::keyClicks(grid, "4");
    ASSERT_EQ(page->activeEditor(), page->Edit_ChFreq);
    EXPECT_EQ(page->Edit_ChFreq->text(), "4") << "the digit starts the text";
    QTest::keyClicks(page->Edit_ChFreq, "33.51234567");
    EXPECT_EQ(page->Edit_ChFreq->text(), "433.51234") << "nine characters at most";
    // Leaving the editor by clicking another cell stores it.
    click(3, kColName);
    EXPECT_EQ(entry(3).rxFreq.get(), 433506250u) << "433.51234 MHz on the channel raster";
    EXPECT_EQ(page->activeEditor(), page->Edit_ChName);
}

TEST_F(ChannelPageTest, TonesListsAndNames)
{
    { Arrangement arranged(session->project); MakeNewChannel(arranged.data(), 2, 145000000, arranged.state().limits); }
    page->StringGridUpdataRow(2);

    click(2, kColDecode);
    ASSERT_EQ(page->activeEditor(), page->ComboBox1);
    QLineEdit *tone = page->ComboBox1->lineEdit();
    tone->selectAll();
    QTest::keyClicks(tone, "d023n");
    QTest::keyClick(tone, Qt::Key_Return);
    EXPECT_EQ((Tone{entry(2).decodeCode, entry(2).decodeType}), (Tone{0x2813, kToneDcsN}));
    EXPECT_EQ(cell(2, kColDecode), "D023N");
    EXPECT_FALSE(page->sTiShi_0->isVisible());

    click(2, kColEncode);
    page->ComboBox1->lineEdit()->selectAll();
    QTest::keyClicks(page->ComboBox1->lineEdit(), "67.1");
    QTest::keyClick(page->ComboBox1->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(entry(2).encodeCode.get(), 671);
    EXPECT_TRUE(page->sTiShi_0->isVisible()) << "Nonstandard value";
    QTest::mouseClick(page->sTiShi_0, Qt::LeftButton);
    EXPECT_FALSE(page->sTiShi_0->isVisible());

    // Power: choose "Mid" with the keyboard in the list laid over the cell.
    click(2, kColPower);
    ASSERT_EQ(page->activeEditor(), page->cbChInfor_Pow);
    EXPECT_EQ(page->cbChInfor_Pow->currentIndex(), 2) << "High";
    QTest::keyClick(page->cbChInfor_Pow, Qt::Key_Up);
    QTest::keyClick(page->cbChInfor_Pow, Qt::Key_Return);
    EXPECT_EQ(PowerOf(entry(2)), kPowerMid);
    EXPECT_EQ(cell(2, kColPower), "Mid");

    // Signalling: DTMF, number 12, then 5-TONE resets the number.
    // A choice is what the user makes: an item chosen with a key.
    click(2, kColSignalSystem);
    page->cbChInforSignalSys->setCurrentIndex(kSignalDtmf - 1);
    QTest::keyClick(page->cbChInforSignalSys, Qt::Key_Down);
    QTest::keyClick(page->cbChInforSignalSys, Qt::Key_Return);
    click(2, kColSignalNumber);
    ASSERT_EQ(page->activeEditor(), page->cbChInforSignalNo);
    EXPECT_EQ(page->cbChInforSignalNo->count(), 30);
    page->cbChInforSignalNo->setCurrentIndex(10);
    QTest::keyClick(page->cbChInforSignalNo, Qt::Key_Down);
    QTest::keyClick(page->cbChInforSignalNo, Qt::Key_Return);
    EXPECT_EQ(cell(2, kColSignalNumber), "12");
    click(2, kColSignalSystem);
    QTest::keyClick(page->cbChInforSignalSys, Qt::Key_End); // 5-TONE, the last item
    QTest::keyClick(page->cbChInforSignalSys, Qt::Key_Return);
    EXPECT_EQ(SignalIndexOf(entry(2)), 0u);
    EXPECT_EQ(cell(2, kColSignalNumber), "1");
    click(2, kColSignalNumber);
    EXPECT_EQ(page->cbChInforSignalNo->count(), 16);
    QTest::keyClick(page->cbChInforSignalNo, Qt::Key_Return);

    // The name: blanks and brackets are dropped; at most 6 bytes of GBK.
    click(2, kColName);
    QTest::keyClicks(page->Edit_ChName, "A B(C)");
    EXPECT_EQ(page->Edit_ChName->text(), "ABC");
    page->Edit_ChName->clear();
    // Characters past ASCII arrive as key events that carry only their text.
    for (QChar c : QStringLiteral("中文名字"))
        QTest::sendKeyEvent(QTest::Click, page->Edit_ChName, Qt::Key_unknown, QString(c), Qt::NoModifier);
    EXPECT_EQ(page->Edit_ChName->text(), QStringLiteral("中文名")) << "a fourth character would not fit";
    QTest::keyClick(page->Edit_ChName, Qt::Key_Return);
    EXPECT_EQ(std::memcmp(entry(2).name, "\xD6\xD0\xCE\xC4\xC3\xFB", 6), 0);
    EXPECT_EQ(cell(2, kColName), QStringLiteral("中文名"));
}

TEST_F(ChannelPageTest, AnyMouseButtonOpensTheEditor)
{
    { Arrangement arranged(session->project); MakeNewChannel(arranged.data(), 4, 145000000, arranged.state().limits); }
    page->StringGridUpdataRow(4);
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        SCOPED_TRACE(int(button));
        QTest::mouseClick(grid->viewport(), button, {}, cellCentre(4, kColName));
        EXPECT_EQ(page->activeEditor(), page->Edit_ChName);
        QTest::mouseClick(grid->viewport(), button, {}, cellCentre(6, kColRx));
        EXPECT_EQ(page->activeEditor(), page->Edit_ChFreq) << "an empty row's receive frequency";
        QTest::keyClick(page->Edit_ChFreq, Qt::Key_Escape);
        EXPECT_FALSE(IsChannelInUse(session->state().data, 6));
    }
}

// A typed tone is taken as typed: the list never completes it to one of
// its entries.
TEST_F(ChannelPageTest, TypedTonesAreNotCompleted)
{
    {
        Arrangement arranged(session->project);
        MakeNewChannel(arranged.data(), 2, 145000000, arranged.state().limits);
        arranged.data().channels[2].encodeCode = 1000;
        arranged.data().channels[2].encodeType = kToneCtcss;
    }
    page->StringGridUpdataRow(2);
    struct Case {
        const char *keys;
        std::uint16_t code;
        const char *shown;
    };
    const Case cases[] = {
        {"88", 880, "88.0"},     // not "88.5"
        {"7", 880, "88.0"},      // rejected: the tone stays
        {"D0", 880, "88.0"},     // not "D023N"
        {"d754i", 0x29EC, "D754I"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.keys);
        click(2, kColEncode);
        ASSERT_EQ(page->activeEditor(), page->ComboBox1);
        QLineEdit *tone = page->ComboBox1->lineEdit();
        tone->selectAll();
        QTest::keyClicks(tone, c.keys);
        QTest::keyClick(tone, Qt::Key_Return);
        EXPECT_EQ(entry(2).encodeCode.get(), c.code);
        EXPECT_EQ(cell(2, kColEncode), c.shown);
    }
}


TEST_F(ChannelPageTest, AFrequencyThatCannotBeReadIsReportedAndKept)
{
    { Arrangement arranged(session->project); MakeNewChannel(arranged.data(), 7, 145000000, arranged.state().limits); }
    page->StringGridUpdataRow(7);
    struct Case {
        int column;
        int language;
        const char *keys;
        const char *words; // part of the message in that language
    };
    const Case cases[] = {
        {kColRx, 0, "145.", "cannot be read as a frequency"},
        {kColTx, 1, "146.", "不是有效的频率"},
        {kColTx, 2, "1.", "不是有效的頻率"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.keys);
        window->setLanguage(c.language);
        MessageAnswer answer;
        click(7, c.column);
        QTest::keyClicks(page->Edit_ChFreq, c.keys);
        QTest::keyClick(page->Edit_ChFreq, Qt::Key_Return);
        ASSERT_TRUE(answer.waitForOne());
        EXPECT_TRUE(answer.texts.front().contains(QStringLiteral("\"%1\"").arg(c.keys)))
            << answer.texts.front().toStdString();
        EXPECT_TRUE(answer.texts.front().contains(QString::fromUtf8(c.words)));
        EXPECT_EQ(entry(7).rxFreq.get(), 145000000u);
        EXPECT_EQ(entry(7).txFreq.get(), 145000000u);
        EXPECT_EQ(cell(7, c.column), "145.00000");
    }
    window->setLanguage(0);
}

TEST_F(ChannelPageTest, HoverHintMarksANonstandardTone)
{
    { Arrangement arranged(session->project); MakeNewChannel(arranged.data(), 3, 145000000, arranged.state().limits); }
    {
        Arrangement arranged(session->project);
        arranged.data().channels[3].decodeCode = 671; // 67.1 Hz
        arranged.data().channels[3].decodeType = kToneCtcss;
    }
    page->StringGridUpdataRow(3);
    auto hover = [&](int row, int column) {
        const QPointF at = cellCentre(row, column);
        QMouseEvent move(QEvent::MouseMove, at, grid->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(grid->viewport(), &move);
    };
    hover(3, kColDecode);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "Nonstandard value");
    hover(3, kColEncode); // "Off"
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
}

TEST_F(ChannelPageTest, HeadingsAndNumbersStayInViewWhenScrolled)
{
    const QRect headingRow = grid->horizontalHeader()->geometry();
    const QRect last = grid->cellRect(kChannelCount, kColName);
    ASSERT_GT(grid->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(grid->horizontalHeader()->isVisible());
    EXPECT_TRUE(grid->verticalHeader()->isVisible());
    EXPECT_EQ(grid->horizontalHeader()->geometry(), headingRow) << "the heading row does not scroll away";
    // The number column beside the last row shows its number.
    QHeaderView *numbers = grid->verticalHeader();
    const int section = numbers->logicalIndexAt(last.center().y());
    ASSERT_GE(section, 0);
    EXPECT_EQ(grid->model()->headerData(section, Qt::Vertical).toString(), "240");
    EXPECT_EQ(grid->horizontalHeader()->logicalIndexAt(last.center().x()), kColName - 1);
    EXPECT_EQ(grid->cellText(0, kColName), "Name");
    EXPECT_EQ(grid->cellText(0, kColNumber), "NO.");
}

// Drags a border with the mouse: from `from` to `to` in `target`'s
// coordinates, with the left button held.
void Drag(QWidget *target, QPoint from, QPoint to)
{
    QTest::mousePress(target, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), target->mapToGlobal(QPointF(to)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QTest::mouseRelease(target, Qt::LeftButton, {}, to);
}

TEST_F(ChannelPageTest, SizesDraggedByTheUserAreKeptForTheNextStart)
{
    QHeaderView *top = grid->horizontalHeader();
    QHeaderView *left = grid->verticalHeader();
    // The border between the receive and transmit columns, 30 px right.
    const int rxWidth = grid->columnSize(kColRx);
    const int rxRight = top->sectionViewportPosition(kColRx - 1) + top->sectionSize(kColRx - 1) - 1;
    const int mid = top->viewport()->height() / 2;
    Drag(top->viewport(), {rxRight, mid}, {rxRight + 30, mid});
    EXPECT_EQ(grid->columnSize(kColRx), rxWidth + 30);
    // The border below channel 3, 12 px down.
    const int row3Bottom = left->sectionViewportPosition(2) + left->sectionSize(2) - 1;
    Drag(left->viewport(), {left->viewport()->width() / 2, row3Bottom}, {left->viewport()->width() / 2, row3Bottom + 12});
    EXPECT_EQ(grid->rowSize(3), 32);
    // The heading row's lower edge, 15 px down, and the number column's
    // right edge, 25 px right.
    const int headingBottom = top->viewport()->height() - 1;
    Drag(top->viewport(), {200, headingBottom}, {200, headingBottom + 15});
    EXPECT_EQ(grid->rowSize(0), 35);
    EXPECT_EQ(top->height(), 35) << "the table lays the heading row out at its new height";
    const int numbersRight = left->viewport()->width() - 1;
    Drag(left->viewport(), {numbersRight, 100}, {numbersRight + 25, 100});
    EXPECT_EQ(grid->columnSize(0), 60);

    // Closed without saving the data, then started again.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (QWidget *w = QApplication::activeModalWidget(); w && w->objectName() == "TMyWarnDlg_3")
            if (auto *no = w->findChild<QPushButton *>("NoBtn"))
                no->click();
    });
    answer.start(10);
    EXPECT_TRUE(window->close());
    answer.stop();
    window.reset();
    session = std::make_unique<AppSession>();
    window = std::make_unique<TForm1>(*session, (dir / "_config.ini").string());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    Grid *again = window->channelPage->StringGrid1;
    EXPECT_EQ(again->columnSize(kColRx), rxWidth + 30);
    EXPECT_EQ(again->rowSize(3), 32);
    EXPECT_EQ(again->rowSize(0), 35);
    EXPECT_EQ(again->columnSize(0), 60);
    EXPECT_EQ(again->horizontalHeader()->height(), 35);
    EXPECT_EQ(again->verticalHeader()->width(), 60);
    page = window->channelPage;
    grid = again;
}

TEST_F(ChannelPageTest, ClearingTheReceiveFrequencyDeletesTheRow)
{
    {
        Arrangement arranged(session->project);
        MakeNewChannel(arranged.data(), 9, 145000000, arranged.state().limits);
        std::memcpy(arranged.data().channels[9].name, "KEEP", 4);
    }
    page->StringGridUpdataRow(9);
    click(9, kColRx);
    page->Edit_ChFreq->selectAll();
    QTest::keyClick(page->Edit_ChFreq, Qt::Key_Delete);
    QTest::keyClick(page->Edit_ChFreq, Qt::Key_Return);
    EXPECT_FALSE(IsChannelInUse(session->state().data, 9));
    EXPECT_EQ(cell(9, kColName), "");
    click(9, kColName);
    EXPECT_EQ(page->activeEditor(), nullptr) << "no editors in an empty row but the frequency";
}

TEST_F(ChannelPageTest, LanguageSwitchStoresTheOpenFrequencyFirst)
{
    click(12, kColRx);
    QTest::keyClicks(page->Edit_ChFreq, "439.05");
    window->MenuLanguage_Chs->trigger();
    EXPECT_EQ(entry(12).rxFreq.get(), 439050000u);
    EXPECT_EQ(cell(12, kColRx), "439.05000");
    EXPECT_EQ(cell(12, kColPower), QStringLiteral("高"));
    EXPECT_EQ(cell(0, kColRx), QStringLiteral("接收频率"));
    EXPECT_EQ(cell(0, kColNumber), QStringLiteral("序号"));
    window->MenuLanguage_En->trigger();
    EXPECT_EQ(cell(12, kColPower), "High");
}

TEST_F(ChannelPageTest, LoadedValuesWithoutListEntriesShowNothingAndStay)
{
    {
        Arrangement arranged(session->project);
        MakeNewChannel(arranged.data(), 1, 145000000, arranged.state().limits);
        SetBusyLockOf(arranged.data().channels[1], 3);
        arranged.data().channels[1].flags2 = static_cast<std::uint8_t>((6u << 5) | 3u); // signalling system 6
        SetPowerOf(arranged.data().channels[1], 3);
    }
    page->StringGridUpdataRow(1);
    EXPECT_EQ(cell(1, kColBusy), "");
    EXPECT_EQ(cell(1, kColSignalSystem), "");
    EXPECT_EQ(cell(1, kColPower), "Mid");
    click(1, kColBusy);
    EXPECT_EQ(page->cbChInfor_BusyFit->currentIndex(), -1);
    click(1, kColPower); // leaving the busy list unchosen
    EXPECT_EQ(page->cbChInfor_Pow->currentIndex(), -1);
    click(1, kColName);
    EXPECT_EQ(BusyLockOf(entry(1)), 3u);
    EXPECT_EQ(PowerOf(entry(1)), 3u);
    EXPECT_EQ(entry(1).flags2, (6u << 5) | 3u);
}

TEST_F(ChannelPageTest, BatchSetButtonFillsTheTable)
{
    QTimer driver;
    bool seen = false;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        QWidget *w = QApplication::activeModalWidget();
        if (!w || w->objectName() != "TChBatchSetDlg")
            return;
        driver.stop();
        seen = true;
        w->findChild<QComboBox *>("cbEndCh")->setCurrentIndex(2); // channels 1 to 3
        QTest::mouseClick(w->findChild<QPushButton *>("OKBtn"), Qt::LeftButton);
    });
    driver.start(10);
    QTest::mouseClick(page->bChBatchSet, Qt::LeftButton);
    ASSERT_TRUE(seen);
    for (int ch = 1; ch <= 3; ++ch) {
        EXPECT_TRUE(IsChannelInUse(session->state().data, ch)) << ch;
        EXPECT_EQ(cell(ch, kColRx), "136.00000") << "the table shows the filled rows";
    }
    EXPECT_FALSE(IsChannelInUse(session->state().data, 4));
}

} // namespace
} // namespace vkt

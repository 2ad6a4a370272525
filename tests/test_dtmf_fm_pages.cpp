// The DTMF and FM pages driven with real key presses and mouse clicks on
// the offscreen platform, checked against the stored bytes. Each page is
// built on its own in a plain window with a button that takes the focus as
// the main window's hidden button does.
#include "app_session.h"
#include "dtmf_page.h"
#include "fm_page.h"
#include "localisation.h"
#include "message_answer.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include "project_arrange.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace vkt {
namespace {

// A window holding one page and the button that ends an edit.
template <typename Page>
class PageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TAppLang::instance().fSetLangType(TAppLang::English);
        session = std::make_unique<AppSession>();
        { Arrangement arranged(session->project); SetDefaultAll(arranged.state()); }
        window = std::make_unique<QWidget>();
        auto *layout = new QVBoxLayout(window.get());
        bHide = new QPushButton(QStringLiteral("hide"), window.get());
        bHide->setObjectName("bHide");
        layout->addWidget(bHide);
        page = new Page(*session, window.get());
        layout->addWidget(page);
        session->endEdit = [this] { bHide->setFocus(Qt::OtherFocusReason); };
        window->resize(900, 700);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QApplication::setActiveWindow(window.get());
        refresh();
    }
    void TearDown() override
    {
        session->endEdit = nullptr;
        window.reset();
        session.reset();
        TAppLang::instance().fSetLangType(TAppLang::English);
    }

    // What the main window does for a language change: the edit in
    // progress ends, then the page is re-texted and reloaded.
    void switchLanguage(std::uint8_t langType)
    {
        session->endEdit();
        TAppLang::instance().fSetLangType(langType);
        refresh();
    }
    void refresh()
    {
        page->retranslate();
        page->load();
    }
    void click(Grid *grid, int row, int column)
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(row, column).center());
    }
    // Clicks into an edit field, selects its text and types over it.
    void typeInto(QLineEdit *edit, const char *text)
    {
        QTest::mouseClick(edit, Qt::LeftButton);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    // Gives a list the focus and moves its selection with the keyboard.
    void pressOn(QComboBox *list, Qt::Key key, int times = 1)
    {
        list->setFocus(Qt::TabFocusReason);
        for (int i = 0; i < times; ++i)
            QTest::keyClick(list, key);
    }
    void leave() { QTest::mouseClick(bHide, Qt::LeftButton); }
    const RadioData &data() { return session->state().data; }

    std::unique_ptr<AppSession> session;
    std::unique_ptr<QWidget> window;
    QPushButton *bHide = nullptr;
    Page *page = nullptr;
};

// ---- DTMF --------------------------------------------------------------------

class DtmfPageTest : public PageTest<DtmfEditPage> {
protected:
    // Types a name into an empty address-book row and leaves it with
    // Enter; true when the row's code editor then opens by itself.
    bool typeNewName(int row, const char *name)
    {
        Grid *grid = page->sgD_AddrBook;
        click(grid, row, 1);
        QTest::keyClicks(page->eD_AddrBook_name, name);
        QTest::keyClick(page->eD_AddrBook_name, Qt::Key_Return);
        return QTest::qWaitFor([&] { return grid->activeEditor() == page->eD_AddrBook_id && grid->editRow() == row; },
                               1000);
    }
};

TEST_F(DtmfPageTest, CodeEditsTakeSixteenSymbolsTypedWithKeys)
{
    typeInto(page->eDizzy, "12ab*#");
    EXPECT_EQ(page->eDizzy->text(), "12AB*#");
    // a-d are typed as A-D where the caret is; other keys are dropped.
    page->eDizzy->setCursorPosition(2);
    QTest::keyClicks(page->eDizzy, "cx e");
    EXPECT_EQ(page->eDizzy->text(), "12CAB*#");
    EXPECT_EQ(page->eDizzy->cursorPosition(), 3);
    page->eDizzy->end(false);
    QTest::keyClicks(page->eDizzy, "987654321");
    EXPECT_EQ(page->eDizzy->text(), "12CAB*#987654321");
    QTest::keyClick(page->eDizzy, Qt::Key_5); // the seventeenth
    EXPECT_EQ(page->eDizzy->text(), "12CAB*#987654321");
    EXPECT_EQ(page->eDizzy->cursorPosition(), 16);
    EXPECT_EQ(data().stunLength, 0) << "nothing is stored before the edit is left";
    leave();
    const std::uint8_t stun[16] = {1, 2, 12, 10, 11, 14, 15, 9, 8, 7, 6, 5, 4, 3, 2, 1};
    EXPECT_EQ(std::memcmp(data().stunCode, stun, 16), 0);
    EXPECT_EQ(data().stunLength, 16);

    // Enter ends the edit too.
    typeInto(page->eANI, "#0d");
    QTest::keyClick(page->eANI, Qt::Key_Return);
    EXPECT_TRUE(bHide->hasFocus());
    EXPECT_EQ(data().ownIdLength, 3);
    EXPECT_EQ(data().ownId[2], 13);
    EXPECT_EQ(page->eANI->text(), "#0D");
}

TEST_F(DtmfPageTest, ListsAndSwitchesStoreWhenLeft)
{
    {
        Arrangement arranged(session->project);
        arranged.data().idOptions = 0x03;
    }
    refresh();
    pressOn(page->cbDizzyState, Qt::Key_End);
    EXPECT_EQ(page->cbDizzyState->currentText(), "Kill");
    pressOn(page->cbD_DigitSpeed, Qt::Key_End);
    pressOn(page->cbD_Pretime, Qt::Key_End);
    pressOn(page->cbGroupCode, Qt::Key_Down, 2);
    QTest::mouseClick(page->cSendANI, Qt::LeftButton, {}, QPoint(8, page->cSendANI->height() / 2));
    EXPECT_FALSE(page->cSendANI->isChecked());
    leave();
    EXPECT_EQ(data().dtmfWorkingState, 2);
    EXPECT_EQ(data().dtmfDigitDuration, 200);
    EXPECT_EQ(data().dtmfPreTime.get(), 1000);
    EXPECT_EQ(data().dtmfGroupCode, 11); // "B"
    EXPECT_EQ(data().idOptions, 0x02) << "unticking Send ID keeps bit 1";

    pressOn(page->cbDizzyState, Qt::Key_Home);
    leave();
    EXPECT_EQ(data().dtmfWorkingState, 0);
    EXPECT_EQ(page->cbDizzyState->currentText(), "Activation");
}

TEST_F(DtmfPageTest, AnUnknownGroupCodeShowsAsOffAndOpeningStoresZero)
{
    {
        Arrangement arranged(session->project);
        arranged.data().dtmfGroupCode = 7;
        arranged.data().dtmfWhenEncode = 3;
        arranged.data().dtmfControl = 1;
    }
    refresh();
    EXPECT_EQ(page->cbGroupCode->currentText(), "OFF");
    EXPECT_EQ(data().dtmfGroupCode, 7) << "showing the page writes nothing";
    // Opening (or reading) such a record stores what the list shows, in
    // the same step.
    session->project.replace(session->state(), "Open");
    EXPECT_EQ(data().dtmfGroupCode, 0);
    refresh();
    EXPECT_EQ(page->cbGroupCode->currentText(), "OFF");
    // The controls that are never shown carry their values.
    EXPECT_FALSE(page->cD_Control->isVisible());
    EXPECT_FALSE(page->cbD_WhenEncode->isVisible());
    EXPECT_TRUE(page->cD_Control->isChecked());
    EXPECT_EQ(page->cbD_WhenEncode->currentIndex(), 2);
    EXPECT_EQ(data().dtmfWhenEncode, 3);
}

TEST_F(DtmfPageTest, AddressBookNameGoesStraightOnToItsCode)
{
    Grid *grid = page->sgD_AddrBook;
    click(grid, 4, 2);
    EXPECT_EQ(grid->activeEditor(), nullptr) << "no code without a name";
    click(grid, 4, 1);
    ASSERT_EQ(grid->activeEditor(), page->eD_AddrBook_name);
    QTest::keyClicks(page->eD_AddrBook_name, "Bo b(1)");
    EXPECT_EQ(page->eD_AddrBook_name->text(), "Bob1");
    QTest::keyClicks(page->eD_AddrBook_name, "xyz");
    EXPECT_EQ(page->eD_AddrBook_name->text(), "Bob1xy") << "six bytes";
    QTest::keyClick(page->eD_AddrBook_name, Qt::Key_Return);
    EXPECT_TRUE(IsAddressBookInUse(data(), 4));
    EXPECT_EQ(grid->cellText(4, 1), "Bob1xy");
    // The code editor opens on the same row by itself.
    ASSERT_TRUE(QTest::qWaitFor([&] { return grid->activeEditor() == page->eD_AddrBook_id; }, 1000));
    EXPECT_EQ(grid->editRow(), 4);
    EXPECT_TRUE(page->eD_AddrBook_id->hasFocus());
    QTest::keyClicks(page->eD_AddrBook_id, "12ab*#xz");
    EXPECT_EQ(page->eD_AddrBook_id->text(), "12AB*#");
    QTest::keyClick(page->eD_AddrBook_id, Qt::Key_Return);
    EXPECT_EQ(grid->activeEditor(), nullptr);
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_EQ(grid->cellText(4, 2), "12AB*#");
    EXPECT_EQ(data().addrBook[4].digitCount, 6);
    EXPECT_EQ(data().addrBook[4].digits[2], 10);

    // Enter on a cell opens its editor; other keys do not.
    grid->setCurrentGridCell(4, 1);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_5);
    EXPECT_EQ(grid->activeEditor(), nullptr);
    QTest::keyClick(grid, Qt::Key_Return);
    ASSERT_EQ(grid->activeEditor(), page->eD_AddrBook_name);
    EXPECT_EQ(page->eD_AddrBook_name->text(), "Bob1xy");
    // Clearing the name removes the entry and gives the grid the focus back.
    QTest::keyClick(page->eD_AddrBook_name, Qt::Key_Backspace);
    QTest::keyClick(page->eD_AddrBook_name, Qt::Key_Return);
    EXPECT_FALSE(IsAddressBookInUse(data(), 4));
    EXPECT_EQ(grid->cellText(4, 1), "");
    EXPECT_EQ(grid->cellText(4, 2), "");
    EXPECT_TRUE(grid->hasFocus());
    QTest::qWait(20);
    EXPECT_EQ(grid->activeEditor(), nullptr);
}

TEST_F(DtmfPageTest, ANewNameLeftWithAnEmptyCodeIsNoEntry)
{
    Grid *grid = page->sgD_AddrBook;
    ASSERT_TRUE(typeNewName(9, "Zed"));
    EXPECT_TRUE(IsAddressBookInUse(data(), 9));
    EXPECT_EQ(data().addrBook[9].digitCount, 0);
    QTest::keyClick(page->eD_AddrBook_id, Qt::Key_Return);
    EXPECT_FALSE(IsAddressBookInUse(data(), 9));
    EXPECT_EQ(grid->cellText(9, 1), "");
    EXPECT_EQ(grid->cellText(9, 2), "");
    EXPECT_EQ(std::memcmp(data().addrBook[9].name, "Zed", 3), 0) << "the name bytes stay";
}

TEST_F(DtmfPageTest, LanguageSwitchShowsTheSameStoredValues)
{
    Grid *grid = page->sgD_AddrBook;
    ASSERT_TRUE(typeNewName(2, "Ann"));
    QTest::keyClicks(page->eD_AddrBook_id, "*9");
    QTest::keyClick(page->eD_AddrBook_id, Qt::Key_Return);
    pressOn(page->cbDizzyState, Qt::Key_Down);
    pressOn(page->cbD_EncodeMode, Qt::Key_Down);
    typeInto(page->eKill, "7d");
    // A new name being typed when the language changes is stored first; the
    // code editor does not take the focus from the command.
    click(grid, 7, 1);
    QTest::keyClicks(page->eD_AddrBook_name, "Eve");

    switchLanguage(TAppLang::Simplified);
    QTest::qWait(20);
    EXPECT_TRUE(bHide->hasFocus());
    EXPECT_EQ(grid->activeEditor(), nullptr);
    const RadioData stored = data();
    EXPECT_EQ(stored.dtmfWorkingState, 1);
    EXPECT_EQ(stored.dtmfEncodeMode, 1);
    EXPECT_EQ(stored.killLength, 2);
    EXPECT_TRUE(IsAddressBookInUse(stored, 7));

    EXPECT_EQ(page->gbD_AddrBook->title(), "通讯本编辑");
    EXPECT_EQ(grid->cellText(0, 0), "序号");
    EXPECT_EQ(grid->cellText(0, 1), "别名");
    EXPECT_EQ(grid->cellText(0, 2), "编码");
    EXPECT_EQ(page->cbDizzyState->currentText(), "遥晕");
    EXPECT_EQ(page->cbD_EncodeMode->currentText(), "通讯薄");
    EXPECT_EQ(page->cbGroupCode->currentText(), "关闭");
    EXPECT_EQ(page->cSendANI->text(), "发送自身ID");
    EXPECT_EQ(page->sANI->text(), "ID");
    EXPECT_EQ(page->caption(), "DTMF");
    EXPECT_EQ(page->eKill->text(), "7D");
    EXPECT_EQ(grid->cellText(2, 1), "Ann");
    EXPECT_EQ(grid->cellText(2, 2), "*9");
    EXPECT_EQ(grid->cellText(7, 1), "Eve");
    EXPECT_EQ(grid->cellText(7, 2), "");

    switchLanguage(TAppLang::English);
    EXPECT_EQ(page->cbDizzyState->currentText(), "Stun");
    EXPECT_EQ(grid->cellText(0, 2), "Digit");
    EXPECT_EQ(std::memcmp(&stored, &data(), sizeof stored), 0) << "the switches stored nothing";
}

// ---- FM ------------------------------------------------------------------------

using FmPageTest = PageTest<FmPage>;

TEST_F(FmPageTest, MemoryEditorWithKeysAndMouse)
{
    Grid *grid = page->sgFmMemory;
    struct Typed {
        int memory;
        const char *keys;
        const char *inEditor;
        std::uint32_t stored;
        const char *shown;
    };
    const Typed typed[] = {
        {1, "88.07", "88.07", 88050000, "88.05"},
        {2, "120", "120", 108000000, "108.00"},
        {3, "8x9..1234", "89.123", 89100000, "89.10"}, // key filter, one point, six characters
        {1, "", "", 0, ""},                             // cleared: empty
    };
    for (const Typed &t : typed) {
        SCOPED_TRACE(t.keys);
        click(grid, t.memory, 1);
        ASSERT_EQ(grid->activeEditor(), page->eFmMemoryFreq);
        QTest::keyClick(page->eFmMemoryFreq, Qt::Key_Backspace); // the text is selected
        QTest::keyClicks(page->eFmMemoryFreq, t.keys);
        EXPECT_EQ(page->eFmMemoryFreq->text(), t.inEditor);
        QTest::keyClick(page->eFmMemoryFreq, Qt::Key_Return);
        EXPECT_EQ(grid->activeEditor(), nullptr);
        EXPECT_EQ(data().fmMemories[t.memory - 1].get(), t.stored);
        EXPECT_EQ(grid->cellText(t.memory, 1), t.shown);
    }
    // Enter opens the editor; a text that is not a frequency is reported and kept.
    grid->setCurrentGridCell(2, 1);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Return);
    ASSERT_EQ(grid->activeEditor(), page->eFmMemoryFreq);
    EXPECT_EQ(page->eFmMemoryFreq->text(), "108.00");
    MessageAnswer answer;
    QTest::keyClicks(page->eFmMemoryFreq, "99.");
    QTest::keyClick(page->eFmMemoryFreq, Qt::Key_Return);
    ASSERT_TRUE(answer.waitForOne());
    EXPECT_TRUE(answer.texts.first().contains("99.")) << answer.texts.first().toStdString();
    EXPECT_EQ(data().fmMemories[1].get(), 108000000u);
    EXPECT_EQ(grid->cellText(2, 1), "108.00");
}

TEST_F(FmPageTest, BoundsRefitTheMemoriesAndTheCurrentFrequencyAtOnce)
{
    {
        Arrangement arranged(session->project);
        arranged.data().fmMemories[0] = 88500000;
        arranged.data().fmMemories[1] = 100000000;
    }
    refresh();
    EXPECT_EQ(page->eRadio_Freq->text(), "76.00");
    pressOn(page->cbRadio_min, Qt::Key_Down, 14);
    EXPECT_EQ(page->cbRadio_min->currentText(), "90MHz");
    // Stored at once, before the list is left.
    EXPECT_EQ(data().fmMin.get(), 90000000u);
    EXPECT_EQ(data().fmMemories[0].get(), 90000000u);
    EXPECT_EQ(data().fmMemories[1].get(), 100000000u);
    EXPECT_EQ(data().fmMemories[2].get(), 0u) << "an empty memory stays empty";
    EXPECT_EQ(data().fmFrequency.get(), 90000000u);
    EXPECT_EQ(page->sgFmMemory->cellText(1, 1), "90.00");
    EXPECT_EQ(page->sgFmMemory->cellText(3, 1), "");
    EXPECT_EQ(page->eRadio_Freq->text(), "90.00");

    // An upper bound below the lower one takes the lower one along.
    pressOn(page->cbRadio_max, Qt::Key_Up, 28);
    EXPECT_EQ(page->cbRadio_max->currentText(), "80MHz");
    EXPECT_EQ(page->cbRadio_min->currentText(), "80MHz");
    EXPECT_EQ(data().fmMin.get(), 80000000u);
    EXPECT_EQ(data().fmMax.get(), 80000000u);
    EXPECT_EQ(page->sgFmMemory->cellText(2, 1), "80.00");
    leave();
    EXPECT_EQ(data().fmMin.get(), 80000000u);
}

TEST_F(FmPageTest, CurrentFrequencyAndStepStoreWhenLeft)
{
    typeInto(page->eRadio_Freq, "88.0777");
    EXPECT_EQ(page->eRadio_Freq->text(), "88.077") << "the seventh character is dropped";
    QTest::keyClick(page->eRadio_Freq, Qt::Key_Return);
    EXPECT_TRUE(bHide->hasFocus());
    EXPECT_EQ(data().fmFrequency.get(), 88050000u);
    EXPECT_EQ(page->eRadio_Freq->text(), "88.05");
    typeInto(page->eRadio_Freq, "");
    QTest::keyClick(page->eRadio_Freq, Qt::Key_Backspace);
    leave();
    EXPECT_EQ(data().fmFrequency.get(), 76000000u) << "empty: the lower bound";
    EXPECT_EQ(page->eRadio_Freq->text(), "76.00");

    pressOn(page->cbRadio_Step, Qt::Key_End);
    EXPECT_EQ(data().fmStep.get(), 1u) << "the step stores when it is left";
    leave();
    EXPECT_EQ(data().fmStep.get(), 3u);
}

TEST_F(FmPageTest, LanguageSwitchShowsTheSameStoredValues)
{
    click(page->sgFmMemory, 5, 1);
    QTest::keyClicks(page->eFmMemoryFreq, "101.7");
    pressOn(page->cbRadio_Step, Qt::Key_Down); // leaving the memory editor stores it
    typeInto(page->eRadio_Freq, "95.5"); // left by the switch
    switchLanguage(TAppLang::Simplified);
    const RadioData stored = data();
    EXPECT_EQ(stored.fmMemories[4].get(), 101700000u);
    EXPECT_EQ(stored.fmFrequency.get(), 95500000u);
    EXPECT_EQ(stored.fmStep.get(), 2u);

    EXPECT_EQ(page->caption(), "收音机");
    EXPECT_EQ(page->sgFmMemory->cellText(0, 0), "序号");
    EXPECT_EQ(page->sgFmMemory->cellText(0, 1), "频率");
    EXPECT_EQ(page->sRadio_Limit->text(), "收音机频段");
    EXPECT_EQ(page->sRadio_Step->text(), "步进");
    EXPECT_EQ(page->sRadio_Freq->text(), "收音机频率(MHz)");
    EXPECT_EQ(page->cbRadio_Step->currentText(), "0.5M");
    EXPECT_EQ(page->cbRadio_min->currentText(), "76MHz");
    EXPECT_EQ(page->cbRadio_max->currentText(), "108MHz");
    EXPECT_EQ(page->eRadio_Freq->text(), "95.50");
    EXPECT_EQ(page->sgFmMemory->cellText(5, 1), "101.70");

    switchLanguage(TAppLang::English);
    EXPECT_EQ(page->sRadio_Limit->text(), "FM Bound");
    EXPECT_EQ(std::memcmp(&stored, &data(), sizeof stored), 0) << "the switches stored nothing";
}

} // namespace
} // namespace vkt

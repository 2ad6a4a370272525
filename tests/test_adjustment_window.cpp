// The adjustment window: the rules of its cells and edits without widgets,
// the window on Qt's offscreen platform, and its exchanges against the
// simulated radio on a pseudo-terminal.
#include "adjustment_dialog.h"
#include "adjustment_edit.h"
#include "exchange.h"
#include "localisation.h"
#include "main_window.h"
#include "message_answer.h"
#include "project_file.h"
#include "pty_radio_host.h"
#include "serial_port_qt.h"
#include "simulated_radio.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "project_arrange.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <random>
#include <vector>

namespace fs = std::filesystem;

namespace vkt {
namespace {

const AdjSetting &Setting(std::string_view name)
{
    for (const AdjSetting &s : AdjSettings())
        if (s.name == name)
            return s;
    ADD_FAILURE() << name;
    return AdjSettings()[0];
}

std::unique_ptr<AdjustmentData> Defaults()
{
    auto adj = std::make_unique<AdjustmentData>();
    SetAdjustmentDefaults(*adj);
    return adj;
}

std::vector<std::uint8_t> FileBytes(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// ---- rules ---------------------------------------------------------------------

TEST(AdjustmentRules, SettingEditsKeepTheirRanges)
{
    const struct {
        const char *name;
        const char *typed;
        AdjSettingStore result;
        const char *shown; // after leaving; the default stood before
    } cases[] = {
        {"ePinPian_W", "300", AdjSettingStore::OutOfRange, "60"},
        {"ePinPian_W", "", AdjSettingStore::Stored, "0"},
        {"ePinPian_W", "127", AdjSettingStore::Stored, "127"},
        {"ePinPian_W", "128", AdjSettingStore::OutOfRange, "60"},
        {"eCtcPinPian_N", "64", AdjSettingStore::OutOfRange, "22"},
        {"eCtcPinPian_N", "63", AdjSettingStore::Stored, "63"},
        {"eMicGain", "32", AdjSettingStore::OutOfRange, "0"},
        {"eWhispMicGain", "31", AdjSettingStore::Stored, "31"},
        {"eBatt_PowerOff", "255", AdjSettingStore::Stored, "255"},
        {"eBatt_PowerOff", "256", AdjSettingStore::OutOfRange, "70"},
        {"eSQL_L9", "1x", AdjSettingStore::NotANumber, "100"},
        {"eVOX_L1", "-1", AdjSettingStore::NotANumber, "25"},
    };
    for (const auto &c : cases) {
        auto adj = Defaults();
        const AdjSetting &s = Setting(c.name);
        EXPECT_EQ(StoreAdjSettingText(*adj, s, c.typed), c.result) << c.name << " " << c.typed;
        EXPECT_EQ(AdjSettingText(*adj, s), c.shown) << c.name << " " << c.typed;
    }
}

TEST(AdjustmentRules, SettingTable)
{
    // Each byte 372..406 once, except the two hidden signed offsets.
    std::vector<int> seen(kAdjustmentSize, 0);
    for (const AdjSetting &s : AdjSettings()) {
        ASSERT_GE(s.offset, 372);
        ASSERT_LE(s.offset, 406);
        ++seen[s.offset];
        EXPECT_EQ(s.maxLength, s.max < 100 ? 2 : 3) << s.name;
    }
    for (int offset = 372; offset <= 406; ++offset)
        EXPECT_EQ(seen[std::size_t(offset)], offset == 391 || offset == 392 ? 0 : 1) << offset;
    EXPECT_EQ(CutAdjSettingText("1234", 3), "123");
    EXPECT_EQ(CutAdjSettingText("12", 2), "12");
    EXPECT_TRUE(AdjSettingKeyPasses('7'));
    EXPECT_TRUE(AdjSettingKeyPasses('\b'));
    EXPECT_FALSE(AdjSettingKeyPasses('.'));
    EXPECT_FALSE(AdjSettingKeyPasses('a'));
}

TEST(AdjustmentRules, FrequencyCells)
{
    const struct {
        AdjTable table;
        int row;
        const char *typed;
        AdjFreqStore result;
        std::uint32_t hz;
        const char *shown;
    } cases[] = {
        {AdjTable::Tune, 1, "145.0063", AdjFreqStore::Stored, 145006250, "145.00625"},
        {AdjTable::Tune, 19, "145.0025", AdjFreqStore::Stored, 145002500, "145.00250"},
        {AdjTable::Apc, 3, "999", AdjFreqStore::Stored, 999000000, "999.00000"}, // no range applies
        {AdjTable::Sq, 18, "", AdjFreqStore::Stored, 0, "0"},
        {AdjTable::Sq, 1, "1.2.3", AdjFreqStore::NotAFrequency, 140000000, "140.00000"},
    };
    for (const auto &c : cases) {
        auto adj = Defaults();
        EXPECT_EQ(StoreAdjFreqText(*adj, c.table, c.row, c.typed), c.result) << c.typed;
        const std::uint32_t hz = c.table == AdjTable::Apc    ? adj->apc[c.row - 1].freq
                                 : c.table == AdjTable::Tune ? adj->tune[c.row - 1].freq
                                                             : adj->sq[c.row - 1].freq;
        EXPECT_EQ(hz, c.hz) << c.typed;
        EXPECT_EQ(AdjCellText(*adj, c.table, c.row, 1), c.shown) << c.typed;
    }
}

TEST(AdjustmentRules, ValueCellsAndLists)
{
    auto adj = Defaults();
    // SQ offsets: position − 20, shown signed.
    StoreAdjListIndex(*adj, AdjTable::Sq, 2, 4, 0);
    EXPECT_EQ(adj->sq[1].sqNarrow, -20);
    EXPECT_EQ(AdjCellText(*adj, AdjTable::Sq, 2, 4), "-20");
    EXPECT_EQ(AdjListIndex(*adj, AdjTable::Sq, 2, 4), 0);
    StoreAdjListIndex(*adj, AdjTable::Sq, 2, 3, 63);
    EXPECT_EQ(adj->sq[1].noiseWide, 63);
    StoreAdjListIndex(*adj, AdjTable::Sq, 2, 3, 64); // outside the list
    EXPECT_EQ(adj->sq[1].noiseWide, 63);
    StoreAdjListIndex(*adj, AdjTable::Apc, 19, 4, 255);
    EXPECT_EQ(adj->apc[18].low, 255);
    StoreAdjListIndex(*adj, AdjTable::Tune, 5, 2, 9);
    EXPECT_EQ(AdjCellText(*adj, AdjTable::Tune, 5, 2), "9");
    // A stored value no item shows.
    adj->sq[0].sqWide = 11;
    EXPECT_EQ(AdjListIndex(*adj, AdjTable::Sq, 1, 2), -1);

    EXPECT_EQ(AdjListItems(AdjCell::Value).size(), 256u);
    EXPECT_EQ(AdjListItems(AdjCell::SqOffset).front(), "-20");
    EXPECT_EQ(AdjListItems(AdjCell::SqOffset).back(), "10");
    EXPECT_EQ(AdjListItems(AdjCell::SqNoise).size(), 64u);

    // Keys open APC power, TUNE and the wide SQ offset only.
    EXPECT_FALSE(AdjKeyOpens(AdjTable::Apc, 1));
    EXPECT_TRUE(AdjKeyOpens(AdjTable::Apc, 4));
    EXPECT_TRUE(AdjKeyOpens(AdjTable::Tune, 1));
    EXPECT_TRUE(AdjKeyOpens(AdjTable::Sq, 2));
    EXPECT_FALSE(AdjKeyOpens(AdjTable::Sq, 3));
}

TEST(AdjustmentRules, BrightnessAndHiddenOffsetLists)
{
    const struct {
        std::string_view name;
        int index;
        std::int8_t stored;
    } cases[] = {{"cbLcd_Brightness", 7, 7}, {"cbLcd_BrightnessFine", 63, 63},
                 {"cbSQ_NarrowOffset", 0, -10}, {"cbSqNoise_NarrowOffset", 20, 10}};
    for (const auto &c : cases) {
        auto adj = Defaults();
        for (const AdjList &l : AdjLists()) {
            if (l.name != c.name)
                continue;
            StoreAdjListValueIndex(*adj, l, c.index);
            EXPECT_EQ(static_cast<std::int8_t>(reinterpret_cast<const std::uint8_t *>(adj.get())[l.offset]),
                      c.stored)
                << c.name;
            EXPECT_EQ(AdjListValueIndex(*adj, l), c.index) << c.name;
            StoreAdjListValueIndex(*adj, l, l.count); // outside: nothing stored
            EXPECT_EQ(AdjListValueIndex(*adj, l), c.index) << c.name;
        }
    }
    auto adj = Defaults();
    EXPECT_EQ(AdjListValueIndex(*adj, AdjLists()[0]), 10); // offset 0
    EXPECT_EQ(AdjListValueIndex(*adj, AdjLists()[3]), 50);
}

TEST(AdjustmentRules, BatchStepSkipsPointsAtFrequencyZero)
{
    auto adj = Defaults();
    adj->apc[0].freq = 0;
    adj->apc[0].high = 10;
    adj->apc[1].freq = 136000000;
    adj->apc[1].high = 10;
    adj->apc[2].freq = 174000000;
    adj->apc[2].high = 255;
    adj->apc[3].freq = 400000000;
    adj->apc[3].mid = 0;
    StepApcColumn(*adj, 2, 1);
    EXPECT_EQ(adj->apc[0].high, 10);
    EXPECT_EQ(adj->apc[1].high, 11);
    EXPECT_EQ(adj->apc[2].high, 255);
    EXPECT_EQ(adj->apc[1].mid, 0); // other columns untouched
    StepApcColumn(*adj, 3, -1);
    EXPECT_EQ(adj->apc[3].mid, 0);
    adj->apc[3].low = 5;
    StepApcColumn(*adj, 4, -1);
    EXPECT_EQ(adj->apc[3].low, 4);
}

TEST(AdjustmentRules, SavedFileAndRadioByteOrder)
{
    const fs::path path = fs::temp_directory_path() / ("vkt-adj-" + std::to_string(std::random_device{}()) + ".Dvfa");
    auto adj = Defaults();
    adj->apc[0].freq = 0x1A2B3C4Du;
    adj->statusVox = 9;
    ASSERT_TRUE(SaveAdjustmentFile(path.string(), *adj).ok);
    const std::vector<std::uint8_t> bytes = FileBytes(path);
    ASSERT_EQ(bytes.size(), kAdjustmentSize);
    EXPECT_EQ(bytes[0], 0x4D);
    EXPECT_EQ(bytes[3], 0x1A);
    EXPECT_EQ(bytes[410], 9);

    auto image = std::make_unique<CodeplugImage>();
    GetAdjustmentData(*adj, *image);
    EXPECT_EQ(image->at(0)[0], 0x1A);
    EXPECT_EQ(image->at(0)[3], 0x4D);

    auto loaded = std::make_unique<AdjustmentData>();
    ASSERT_TRUE(LoadAdjustmentFile(path.string(), *loaded).opened);
    EXPECT_EQ(std::memcmp(loaded.get(), adj.get(), kAdjustmentSize), 0);
    fs::remove(path);
}

TEST(AdjustmentRules, DefaultSqRowSix)
{
    auto adj = Defaults();
    EXPECT_EQ(AdjCellText(*adj, AdjTable::Sq, 6, 1), "400.00000");
    EXPECT_EQ(AdjCellText(*adj, AdjTable::Sq, 6, 2), "0");
    EXPECT_EQ(AdjCellText(*adj, AdjTable::Sq, 6, 3), "46");
    EXPECT_EQ(AdjCellText(*adj, AdjTable::Sq, 6, 5), "46");
    EXPECT_EQ(AdjCellText(*adj, AdjTable::Sq, 5, 1), "180.00000");
    EXPECT_EQ(AdjCellText(*adj, AdjTable::Sq, 19, 1), ""); // no such point
    EXPECT_EQ(AdjCellText(*adj, AdjTable::Apc, 1, 1), "0");
}

// ---- the window -------------------------------------------------------------------

class AdjustmentWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("vkt-adjwin-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir);
        state = std::make_unique<ProgramState>();
        SetDefaultAll(*state);
        line = std::make_unique<QtSerialLine>(PortMap::FromDevices({}));
    }
    void open()
    {
        window = std::make_unique<TAdjustmentDlg>(*state, ports, *line);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void TearDown() override
    {
        window.reset();
        line.reset();
        fs::remove_all(dir);
    }
    QLineEdit *edit(const char *name) { return window->findChild<QLineEdit *>(name); }

    fs::path dir;
    std::unique_ptr<ProgramState> state;
    PortSelection ports;
    std::unique_ptr<QtSerialLine> line;
    std::unique_ptr<TAdjustmentDlg> window;
};

TEST_F(AdjustmentWindowTest, ShowsTheStoredValues)
{
    state->adjustment.tune[2].freq = 435025000;
    state->adjustment.statusBattery = 131;
    open();
    EXPECT_EQ(window->sgSQ->cellText(6, 1), "400.00000");
    EXPECT_EQ(window->sgSQ->cellText(6, 2), "0");
    EXPECT_EQ(window->sgSQ->cellText(6, 3), "46");
    EXPECT_EQ(window->sgTUNE->cellText(3, 1), "435.02500");
    EXPECT_EQ(window->sgAPC->cellText(0, 2), QString::fromUtf8("高功率"));
    EXPECT_EQ(edit("ePinPian_W")->text(), "60");
    EXPECT_EQ(window->findChild<QComboBox *>("cbLcd_BrightnessFine")->currentText(), "50");
    EXPECT_EQ(window->sCurBatt->text(), "131");
    EXPECT_FALSE(window->OKBtn->isVisible());
}

// The calibration tables open an editor on a digit or Enter, never on a
// mouse press; an editor opened and left without a key stores nothing, so
// a value off the raster stays as the radio gave it.
TEST_F(AdjustmentWindowTest, EditorsOpenOnKeysAndStoreNothingUntouched)
{
    state->adjustment.tune[0].freq = 145001000; // off the 2.5 kHz raster
    state->adjustment.tune[1].value = 200;
    const AdjustmentData before = state->adjustment;
    open();
    Grid *grid = window->sgTUNE;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(1, 1).center());
    EXPECT_EQ(grid->activeEditor(), nullptr) << "a press opens no editor";
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(1, 1).center());
    EXPECT_EQ(grid->activeEditor(), nullptr) << "nor does a double-click";
    for (int column : {1, 2}) {
        grid->setFocus();
        grid->setCurrentGridCell(column, column);
        QTest::keyClick(grid, Qt::Key_Return);
        ASSERT_NE(grid->activeEditor(), nullptr) << column;
        QTest::keyClick(grid->activeEditor(), Qt::Key_Tab); // left untouched
        EXPECT_EQ(grid->activeEditor(), nullptr);
    }
    EXPECT_EQ(std::memcmp(&before, &state->adjustment, sizeof before), 0);
    EXPECT_EQ(grid->cellText(1, 1), QString::fromStdString(AdjCellText(state->adjustment, AdjTable::Tune, 1, 1)));
}

TEST_F(AdjustmentWindowTest, TuneCellEditedWithKeys)
{
    open();
    Grid *grid = window->sgTUNE;
    grid->setFocus();
    grid->setCurrentGridCell(1, 1);
    QTest::keyClicks(grid, "1"); // opens the editor and is its first character
    ASSERT_EQ(grid->activeEditor(), window->eFreq);
    QTest::keyClicks(window->eFreq, "45.0a063"); // the letter is dropped
    EXPECT_EQ(window->eFreq->text(), "145.0063");
    QTest::keyClick(window->eFreq, Qt::Key_Return);
    EXPECT_EQ(state->adjustment.tune[0].freq, 145006250u);
    EXPECT_EQ(grid->cellText(1, 1), "145.00625");

    // A value cell: Enter opens its list, which stores its choice.
    grid->setCurrentGridCell(2, 2);
    QTest::keyClick(grid, Qt::Key_Return);
    ASSERT_EQ(grid->activeEditor(), window->cbTuneValue);
    window->cbTuneValue->setCurrentIndex(76);
    QTest::keyClick(window->cbTuneValue, Qt::Key_Down); // chosen with a key, as the user does
    grid->finishEdit();
    EXPECT_EQ(state->adjustment.tune[1].value, 77);
    EXPECT_EQ(grid->cellText(2, 2), "77");
}

TEST_F(AdjustmentWindowTest, SettingEditSnapsBackAndEmptyStoresZero)
{
    open();
    const struct {
        const char *typed;
        const char *shown;
        std::uint8_t stored;
    } cases[] = {{"300", "60", 60}, {"", "0", 0}, {"1234", "123", 123}};
    for (const auto &c : cases) {
        QLineEdit *e = edit("ePinPian_W");
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, c.typed);
        edit("ePinPian_N")->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(e->text(), c.shown) << c.typed;
        EXPECT_EQ(state->adjustment.deviationW, c.stored) << c.typed;
    }
}

TEST_F(AdjustmentWindowTest, PlusOnAnApcColumnSkipsPointsAtFrequencyZero)
{
    state->adjustment.apc[0].high = 10;
    state->adjustment.apc[1].freq = 145000000;
    state->adjustment.apc[1].high = 10;
    open();
    QTest::mouseClick(window->bApcHigh_add, Qt::LeftButton);
    EXPECT_EQ(window->sgAPC->cellText(1, 2), "10");
    EXPECT_EQ(window->sgAPC->cellText(2, 2), "11");
    QTest::mouseClick(window->bApcHigh_del, Qt::LeftButton);
    QTest::mouseClick(window->bApcHigh_del, Qt::LeftButton);
    EXPECT_EQ(state->adjustment.apc[1].high, 9);
    EXPECT_EQ(state->adjustment.apc[0].high, 10);
}

TEST_F(AdjustmentWindowTest, SaveOpenAndNew)
{
    const fs::path path = dir / "cal.Dvfa";
    state->adjustment.apc[0].freq = 145000000;
    open();
    window->chooseSaveFile = [&] { return QString::fromStdString(path.string()); };
    window->chooseOpenFile = [&] { return QString::fromStdString(path.string()); };
    QTest::mouseClick(window->bSave, Qt::LeftButton);
    const std::vector<std::uint8_t> bytes = FileBytes(path);
    ASSERT_EQ(bytes.size(), kAdjustmentSize);
    EXPECT_EQ(bytes[0], 145000000u & 0xFF); // least significant byte first
    EXPECT_EQ(bytes[3], 145000000u >> 24);

    // "新建" asks first; Cancel keeps the values.
    {
        ModalAnswer cancel("TMyWarnDlg_2", Click("CancelBtn"));
        QTest::mouseClick(window->bNew, Qt::LeftButton);
        EXPECT_TRUE(cancel.seen);
        EXPECT_EQ(window->sgAPC->cellText(1, 1), "145.00000");
    }
    {
        ModalAnswer ok("TMyWarnDlg_2", Click("OKBtn"));
        QTest::mouseClick(window->bNew, Qt::LeftButton);
        EXPECT_TRUE(ok.seen);
        EXPECT_EQ(window->sgAPC->cellText(1, 1), "0");
        EXPECT_EQ(window->sgSQ->cellText(6, 1), "400.00000");
        EXPECT_EQ(window->sgSQ->cellText(6, 3), "46");
    }
    QTest::mouseClick(window->bOpen, Qt::LeftButton);
    EXPECT_EQ(state->adjustment.apc[0].freq, 145000000u);
    EXPECT_EQ(window->sgAPC->cellText(1, 1), "145.00000");

    // A file that cannot be read changes nothing.
    window->chooseOpenFile = [&] { return QString::fromStdString((dir / "missing.Dvfa").string()); };
    MessageAnswer message;
    QTest::mouseClick(window->bOpen, Qt::LeftButton);
    ASSERT_EQ(message.texts.size(), 1);
    EXPECT_NE(message.texts.front().indexOf("missing.Dvfa"), -1);
    EXPECT_EQ(state->adjustment.apc[0].freq, 145000000u);

    // Nor does a save that cannot be written lose anything.
    window->chooseSaveFile = [&] { return QString::fromStdString((dir / "no-such-dir" / "x.Dvfa").string()); };
    QTest::mouseClick(window->bSave, Qt::LeftButton);
    EXPECT_EQ(message.texts.size(), 2);
    EXPECT_EQ(FileBytes(path).size(), kAdjustmentSize);
}

// The access-code box opens the window for its code, modally, and the
// window shows the values the program holds.
TEST(AdjustmentAccess, CodeOpensTheWindow)
{
    const fs::path dir = fs::temp_directory_path() / ("vkt-adjcode-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    TAppLang::instance().setSystemLangId(0x0409);
    auto session = std::make_unique<AppSession>();
    auto window = std::make_unique<TForm1>(*session, (dir / "_config.ini").string());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    {
        Arrangement arranged(session->project);
        arranged.state().adjustment.tune[0].freq = 438500000;
    }
    QString shown;
    ModalAnswer box("TPasswordDlg", [](QWidget *w) {
        auto *e = w->findChild<QLineEdit *>("eInput");
        ASSERT_NE(e, nullptr);
        e->setText("pvzj73");
        QTest::mouseClick(w->findChild<QPushButton *>("OKBtn"), Qt::LeftButton);
    });
    ModalAnswer adjustment("TAdjustmentDlg", [&](QWidget *w) {
        if (auto *d = dynamic_cast<TAdjustmentDlg *>(w))
            shown = d->sgTUNE->cellText(1, 1);
        QTest::mouseClick(w->findChild<QPushButton *>("CancelBtn"), Qt::LeftButton);
    });
    window->MenuAdjustment->trigger();
    EXPECT_TRUE(box.seen);
    EXPECT_TRUE(adjustment.seen);
    EXPECT_EQ(shown, "438.50000");
    {
        ModalAnswer no("TMyWarnDlg_3", Click("NoBtn"));
        window->close();
    }
    window.reset();
    session.reset();
    fs::remove_all(dir);
}

// ---- exchanges with the simulated radio ----------------------------------------------

class AdjustmentExchangeTest : public AdjustmentWindowTest {
protected:
    void SetUp() override
    {
        AdjustmentWindowTest::SetUp();
        host = std::make_unique<PtyRadioHost>(radio);
        std::string error;
        ASSERT_TRUE(host->start(error)) << error;
        const int port = line->portMap().add(QString::fromStdString(host->devicePath()));
        ASSERT_GT(port, 0);
        ports.Port = port;
        ports.AutoSeachPort = false;
        open();
    }
    void TearDown() override
    {
        AdjustmentWindowTest::TearDown();
        host.reset();
    }
    QString exchange(QPushButton *button)
    {
        ModalAnswer start("TProgramDialog", Click("ProgramStart"));
        ModalAnswer message("TUserWarnDlg", Click("OKBtn"));
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_TRUE(start.seen);
        return message.text;
    }

    SimulatedRadio radio;
    std::unique_ptr<PtyRadioHost> host;
};

TEST_F(AdjustmentExchangeTest, WriteThenReadBackAndStatus)
{
    state->adjustment.apc[0].freq = 0x1A2B3C4Du;
    state->adjustment.apc[0].high = 200;
    window->ShowAdjustmentData();
    EXPECT_EQ(exchange(window->bWrite), "SUCCESS");
    host->withRadio([](SimulatedRadio &r) {
        EXPECT_EQ(r.memory()[0x4600], 0x1A); // most significant byte first
        EXPECT_EQ(r.memory()[0x4603], 0x4D);
        EXPECT_EQ(r.memory()[0x4604], 200);
        r.memory()[0x4604] = 123;
    });
    EXPECT_EQ(exchange(window->bRead), "SUCCESS");
    EXPECT_EQ(state->adjustment.apc[0].high, 123);
    EXPECT_EQ(window->sgAPC->cellText(1, 2), "123");

    EXPECT_EQ(exchange(window->Read1846Status), "SUCCESS");
    EXPECT_EQ(window->sCurBatt->text(), "120");
    EXPECT_EQ(window->sCurVox->text(), "7");
}

TEST_F(AdjustmentExchangeTest, AllWriteSendsAdjustmentAndConfiguration)
{
    state->adjustment.tune[0].value = 201;
    EXPECT_EQ(exchange(window->bAllWrite), "SUCCESS");
    auto image = std::make_unique<CodeplugImage>();
    GetAdjustmentData(state->adjustment, *image);
    host->withRadio([&](SimulatedRadio &r) {
        EXPECT_EQ(std::memcmp(r.memory().data() + 0x4600, image->at(0), kAdjustmentRadioSize), 0);
        EXPECT_EQ(r.memory()[0x4600 + 133 + 4], 201);
        // The adjustment blocks first, then the configuration from the bitmap on.
        std::vector<std::uint16_t> writes;
        for (const auto &f : r.frames())
            if (f.kind == 'W')
                writes.push_back(f.address);
        ASSERT_GT(writes.size(), 26u);
        EXPECT_EQ(writes[0], 0x4600);
        EXPECT_EQ(writes[25], 0x4790);
        EXPECT_EQ(writes[26], 0x4000);
    });
}

TEST_F(AdjustmentExchangeTest, FailedReadChangesNothing)
{
    host->withRadio([](SimulatedRadio &r) {
        r.memory()[0x4604] = 99;
        r.behaviour().silent = true;
    });
    const auto before = std::make_unique<AdjustmentData>(state->adjustment);
    EXPECT_EQ(exchange(window->bRead), "Communication False");
    EXPECT_EQ(std::memcmp(before.get(), &state->adjustment, kAdjustmentSize), 0);
}

} // namespace
} // namespace vkt

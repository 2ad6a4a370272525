// The channel batch set: the filling rules over the record, and the window
// on Qt's offscreen platform driven by key and mouse events.
#include "batch_set_dialog.h"
#include "channel_edit.h"
#include "codecs.h"
#include "localisation.h"
#include "message_answer.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace vkt {
namespace {

constexpr std::uint32_t MHz(double mhz) { return std::uint32_t(mhz * 1000000.0 + 0.5); }

// ---- the filling rules ---------------------------------------------------

BatchSetParams ChannelRun(double rx, double tx, double step, int s, int e)
{
    BatchSetParams p;
    p.startRx = MHz(rx);
    p.startTx = MHz(tx);
    p.step = MHz(step);
    p.startChannel = s;
    p.endChannel = e;
    return p;
}

BatchSetParams FreqRun(double rx, double tx, double step, int s, double end)
{
    BatchSetParams p = ChannelRun(rx, tx, step, s, 1);
    p.endByChannel = false;
    p.endFreq = MHz(end);
    return p;
}

struct RunCase {
    const char *what;
    BatchSetParams p;
    int filled;
    // Receive and transmit frequency of the filled channels in order; the
    // last listed pair holds for the rest of the run.
    std::vector<std::pair<double, double>> freqs;
};

TEST(ApplyBatchSet, RunsOfChannels)
{
    const RunCase cases[] = {
        {"12.5 kHz steps, channels 1-4", ChannelRun(145, 145, 0.0125, 1, 4), 4,
         {{145, 145}, {145.0125, 145.0125}, {145.025, 145.025}, {145.0375, 145.0375}}},
        {"each sum goes through the raster", ChannelRun(145, 150, 0.00375, 1, 3), 3,
         {{145, 150}, {145, 150}, {145.0075, 150.0075}}},
        {"end frequency stops before the first channel past it", FreqRun(145, 145, 0.0125, 10, 145.030), 3,
         {{145, 145}, {145.0125, 145.0125}, {145.025, 145.025}}},
        {"transmit frequency past the end stops the run too", FreqRun(145, 145.02, 0.0125, 1, 145.030), 1,
         {{145, 145.02}}},
        {"transmit start above the end frequency", FreqRun(145, 146, 0.0125, 1, 145.5), 0, {}},
        {"receive start above the end frequency", FreqRun(146, 145, 0.0125, 1, 145.5), 0, {}},
        {"end channel before the start channel", ChannelRun(145, 145, 0.0125, 5, 4), 0, {}},
        {"the last two channels", ChannelRun(145, 145, 0.0125, 239, 240), 2, {{145, 145}, {145.0125, 145.0125}}},
        {"step 0 by end frequency runs to channel 240", FreqRun(145, 145, 0, 5, 145), 236, {{145, 145}}},
        {"a run past the band keeps storing the limit", ChannelRun(173.975, 469.9875, 0.0125, 1, 4), 4,
         {{173.975, 469.9875}, {173.9875, 470}, {174, 470}}},
    };
    for (const RunCase &c : cases) {
        SCOPED_TRACE(c.what);
        RadioData d{};
        const BandLimits limits;
        ASSERT_EQ(ApplyBatchSet(d, limits, c.p), c.filled);
        const int s = c.p.startChannel;
        for (int k = 0; k < c.filled; ++k) {
            const auto [rx, tx] = c.freqs[std::min<std::size_t>(k, c.freqs.size() - 1)];
            const ChannelEntry &e = d.channels[s + k];
            EXPECT_TRUE(IsChannelInUse(d, s + k)) << "channel " << s + k;
            EXPECT_EQ(e.rxFreq.get(), MHz(rx)) << "channel " << s + k;
            EXPECT_EQ(e.txFreq.get(), MHz(tx)) << "channel " << s + k;
        }
        // Nothing on either side of the run.
        for (int ch : {s - 1, s + c.filled}) {
            if (ch >= 1 && ch <= kChannelCount) {
                EXPECT_FALSE(IsChannelInUse(d, ch)) << "channel " << ch;
                EXPECT_EQ(d.channels[ch].rxFreq.get(), 0u) << "channel " << ch;
            }
        }
    }
}

TEST(ApplyBatchSet, SettingsReplaceTheFlagsAndKeepTheName)
{
    struct Case {
        int power, busy, scrambling;
        bool wide, scanAdd;
        Tone decode, encode;
        std::uint8_t flags0, flags1, flags3;
    };
    const Case cases[] = {
        {2, 0, 0, true, true, {0xFFFF, kToneOff}, {0xFFFF, kToneOff}, 0x00, 0xB0, 0x00}, // High Wide ADD
        {0, 2, 5, false, false, {670, kToneCtcss}, {0x2813, kToneDcsI}, 0x10, 0x00, 0x14}, // Low, CAT, Scr 5
        {1, 1, 1, true, false, {0x2813, kToneDcsN}, {2541, kToneCtcss}, 0x08, 0x50, 0x04}, // Mid, DQT, Scr 1
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.power * 100 + c.busy * 10 + c.scrambling);
        RadioData d{};
        ChannelEntry &e = d.channels[7];
        std::memcpy(e.name, "REPTR1", 6);
        e.flags0 = e.flags1 = e.flags3 = 0xFF;
        e.flags2 = 0x25; // DTMF signalling, number 6
        e.spare44[0] = 0x5A;

        BatchSetParams p = ChannelRun(145, 145, 0, 7, 7);
        p.powerIndex = c.power;
        p.wide = c.wide;
        p.scanAdd = c.scanAdd;
        p.busyIndex = c.busy;
        p.scramblingIndex = c.scrambling;
        p.decode = c.decode;
        p.encode = c.encode;
        ASSERT_EQ(ApplyBatchSet(d, BandLimits{}, p), 1);

        EXPECT_EQ(e.flags0, c.flags0);
        EXPECT_EQ(e.flags1, c.flags1);
        EXPECT_EQ(e.flags2, 0); // signalling off
        EXPECT_EQ(e.flags3, c.flags3);
        EXPECT_EQ((Tone{e.decodeCode, e.decodeType}), c.decode);
        EXPECT_EQ((Tone{e.encodeCode, e.encodeType}), c.encode);
        EXPECT_EQ(std::memcmp(e.name, "REPTR1", 6), 0);
        EXPECT_EQ(e.spare44[0], 0x5A);
    }
}

// ---- the window ------------------------------------------------------------

class BatchSetWindow : public ::testing::Test {
protected:
    std::unique_ptr<TChBatchSetDlg> open()
    {
        // The window works on a project of the test's record; the record
        // the test reads follows the project's steps.
        ProgramState s;
        s.data = data;
        s.limits = limits;
        project = std::make_unique<Project>(s);
        project->observe([this](const ProjectChange &) { data = project->data(); });
        auto dlg = std::make_unique<TChBatchSetDlg>(*project);
        dlg->show();
        dlg->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
        return dlg;
    }

    // Replaces a field's text by typing, the way a user does.
    static void type(QWidget *w, const QString &keys)
    {
        w->setFocus();
        QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(w, Qt::Key_Backspace);
        QTest::keyClicks(w, keys);
    }

    static void leave(QWidget *w) { QTest::keyClick(w, Qt::Key_Tab); }

    // Clicks on a radio button's indicator.
    static void clickRadio(QRadioButton *rb)
    {
        QTest::mouseClick(rb, Qt::LeftButton, {}, QPoint(8, rb->height() / 2));
    }

    static void choose(QComboBox *box, int steps)
    {
        box->setFocus();
        for (int i = 0; i < steps; ++i)
            QTest::keyClick(box, Qt::Key_Down);
    }

    RadioData data{};
    BandLimits limits;
    std::unique_ptr<Project> project;
};


TEST_F(BatchSetWindow, OpensWithTheStartValues)
{
    auto dlg = open();
    EXPECT_EQ(dlg->size(), QSize(425, 254));
    EXPECT_TRUE(dlg->isModal());
    EXPECT_EQ(dlg->eChBatchFreqRx->text(), "136.00000");
    EXPECT_EQ(dlg->eChBatchFreqTx->text(), "136.00000");
    EXPECT_EQ(dlg->eEndFreq->text(), "136.00000");
    EXPECT_EQ(dlg->eStep->text(), "0");
    EXPECT_EQ(dlg->cbChBatchSubDe->count(), kToneTextCount);
    EXPECT_EQ(dlg->cbChBatchSubDe->currentText(), "Off");
    EXPECT_EQ(dlg->cbChBatchSubEn->currentText(), "Off");
    EXPECT_EQ(dlg->cbChBatchPower->currentText(), "High");
    EXPECT_EQ(dlg->cbChBatchBandwidth->currentText(), "Wide");
    EXPECT_EQ(dlg->cbChBatchSCN->currentText(), "ADD");
    EXPECT_EQ(dlg->cbChBatchBUS->currentText(), "OFF");
    EXPECT_EQ(dlg->cbStartCh->currentText(), "1");
    EXPECT_EQ(dlg->cbEndCh->currentText(), "1");
    EXPECT_EQ(dlg->cbEndCh->count(), kChannelCount);
    EXPECT_TRUE(dlg->rbEndCh->isChecked());
    EXPECT_TRUE(dlg->cbEndCh->isEnabled());
    EXPECT_FALSE(dlg->eEndFreq->isEnabled());
    EXPECT_TRUE(dlg->sEndCh->isHidden());
}

TEST_F(BatchSetWindow, TypingRulesAndTheConversionOnLeaving)
{
    struct Case {
        const char *field;
        const char *keys;
        const char *typed;  // what the field holds while being edited
        const char *left;   // what it shows after Tab
    };
    const Case cases[] = {
        // a letter and a point before the fourth place are not taken
        {"eChBatchFreqRx", "1a4.5.0125", "145.0125", "145.01250"},
        {"eChBatchFreqRx", "", "", "136.00000"},
        {"eChBatchFreqRx", "300", "300", "400.00000"},
        // a tenth character is taken off again
        {"eChBatchFreqTx", "190.000000000", "190.00000", "174.00000"},
        {"eChBatchFreqTx", "1451.", "1451", "470.00000"},
        // a lone point and a second point go
        {"eEndFreq", "..145.0.3", "145.03", "145.03000"},
        {"eEndFreq", "145.1234567", "145.12345", "145.11875"},
        {"eStep", "..0..0123", "0.0123", "0.00625"},
        {"eStep", "0.0125", "0.0125", "0.01250"},
        {"eStep", "10", "10", "0"},
        {"eStep", "", "", "0"},
    };
    auto dlg = open();
    clickRadio(dlg->rbEndFreq); // so that the end frequency takes keys
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.field) + " <- " + c.keys);
        auto *edit = dlg->findChild<QLineEdit *>(c.field);
        ASSERT_NE(edit, nullptr);
        type(edit, c.keys);
        EXPECT_EQ(edit->text(), c.typed);
        leave(edit);
        EXPECT_FALSE(edit->hasFocus());
        EXPECT_EQ(edit->text(), c.left);
    }
    clickRadio(dlg->rbEndCh); // the mode outlives the window
}

TEST_F(BatchSetWindow, TextThatIsNoFrequencyKeepsThePreviousValue)
{
    auto dlg = open();
    struct Case {
        QLineEdit *edit;
        const char *keys;
        const char *kept;
    };
    const Case cases[] = {
        {dlg->eChBatchFreqRx, "145.", "136.00000"},
        {dlg->eStep, "5.", "0"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.keys);
        dlg->activateWindow(); // back from the previous warning
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
        MessageAnswer answer;
        type(c.edit, c.keys);
        leave(c.edit);
        ASSERT_TRUE(answer.waitForOne());
        EXPECT_TRUE(answer.texts.front().contains(c.keys)) << answer.texts.front().toStdString();
        EXPECT_EQ(c.edit->text(), c.kept);
    }

    // Typed and OK'd at once: the window says so and stays open.
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    MessageAnswer answer;
    type(dlg->eChBatchFreqTx, "145.");
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    EXPECT_EQ(answer.texts.size(), 1);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->eChBatchFreqTx->text(), "136.00000");
    EXPECT_FALSE(IsChannelInUse(data, 1));
}

TEST_F(BatchSetWindow, OkFillsTheTypedRun)
{
    auto dlg = open();
    type(dlg->eChBatchFreqRx, "145");
    leave(dlg->eChBatchFreqRx);
    type(dlg->cbChBatchSubDe->lineEdit(), "D023N");
    type(dlg->cbChBatchSubEn->lineEdit(), "999"); // not a tone: stored as off
    choose(dlg->cbChBatchPower, 0);
    QTest::keyClick(dlg->cbChBatchPower, Qt::Key_Up); // Mid
    choose(dlg->cbEndCh, 3);                          // 4
    type(dlg->eChBatchFreqTx, "145.6");
    // The step is typed last and not left before OK.
    type(dlg->eStep, "0.0125");
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);

    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->filled(), 4);
    const double rx[] = {145, 145.0125, 145.025, 145.0375};
    for (int ch = 1; ch <= 4; ++ch) {
        SCOPED_TRACE(ch);
        const ChannelEntry &e = data.channels[ch];
        EXPECT_TRUE(IsChannelInUse(data, ch));
        EXPECT_EQ(e.rxFreq.get(), MHz(rx[ch - 1]));
        EXPECT_EQ(e.txFreq.get(), MHz(rx[ch - 1] + 0.6));
        EXPECT_EQ((Tone{e.decodeCode, e.decodeType}), (Tone{0x2813, kToneDcsN}));
        EXPECT_EQ((Tone{e.encodeCode, e.encodeType}), (Tone{0xFFFF, kToneOff}));
        EXPECT_EQ(e.flags1, 0xD0); // ADD, Mid, Wide
    }
    EXPECT_FALSE(IsChannelInUse(data, 5));
}

// The tone boxes take a tone as typed and complete nothing.
TEST_F(BatchSetWindow, TypedTonesAreNotCompleted)
{
    auto dlg = open();
    type(dlg->cbChBatchSubDe->lineEdit(), "88"); // not "88.5"
    type(dlg->cbChBatchSubEn->lineEdit(), "D0"); // not "D023N": rejected, so off
    EXPECT_EQ(dlg->cbChBatchSubDe->currentText(), "88");
    EXPECT_EQ(dlg->cbChBatchSubEn->currentText(), "D0");
    QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    ASSERT_EQ(dlg->filled(), 1);
    const ChannelEntry &e = data.channels[1];
    EXPECT_EQ((Tone{e.decodeCode, e.decodeType}), (Tone{880, kToneCtcss}));
    EXPECT_EQ((Tone{e.encodeCode, e.encodeType}), (Tone{0xFFFF, kToneOff}));
}

TEST_F(BatchSetWindow, CancelChangesNothing)
{
    auto dlg = open();
    type(dlg->eChBatchFreqRx, "145");
    leave(dlg->eChBatchFreqRx);
    QTest::mouseClick(dlg->CancelBtn, Qt::LeftButton);
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_EQ(dlg->filled(), 0);
    EXPECT_FALSE(IsChannelInUse(data, 1));
    EXPECT_EQ(data.channels[1].rxFreq.get(), 0u);
}

TEST_F(BatchSetWindow, EndModeIsRememberedForTheNextOpening)
{
    {
        auto dlg = open();
        clickRadio(dlg->rbEndFreq);
        EXPECT_TRUE(dlg->eEndFreq->isEnabled());
        EXPECT_FALSE(dlg->cbEndCh->isEnabled());
        QTest::mouseClick(dlg->CancelBtn, Qt::LeftButton);
    }
    {
        auto dlg = open();
        EXPECT_TRUE(dlg->rbEndFreq->isChecked());
        EXPECT_TRUE(dlg->eEndFreq->isEnabled());
        EXPECT_FALSE(dlg->cbEndCh->isEnabled());
        clickRadio(dlg->rbEndCh);
        EXPECT_FALSE(dlg->eEndFreq->isEnabled());
        QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
    }
    auto dlg = open();
    EXPECT_TRUE(dlg->rbEndCh->isChecked());
    EXPECT_TRUE(dlg->cbEndCh->isEnabled());
}

TEST_F(BatchSetWindow, ScramblingOnlyWithItsOption)
{
    for (bool shown : {false, true}) {
        SCOPED_TRACE(shown);
        data = RadioData{};
        data.showScrambling = shown ? 1 : 0;
        auto dlg = open();
        EXPECT_EQ(dlg->sChBatchScr->isVisible(), shown);
        EXPECT_EQ(dlg->cbChBatchScr->isVisible(), shown);
        if (shown)
            choose(dlg->cbChBatchScr, 3);
        else
            dlg->cbChBatchScr->setCurrentIndex(3); // hidden, must not count
        QTest::mouseClick(dlg->OKBtn, Qt::LeftButton);
        ASSERT_EQ(dlg->filled(), 1);
        EXPECT_EQ(ScramblingOf(data.channels[1]), shown ? 3u : 0u);
    }
}

// Every caption of the window is shown whole, in each language.
TEST_F(BatchSetWindow, NoCaptionIsCutOff)
{
    for (std::uint8_t lang : {TAppLang::English, TAppLang::Simplified, TAppLang::Traditional}) {
        TAppLang::instance().fSetLangType(lang);
        data.showScrambling = 1;
        auto dlg = open();
        for (QWidget *w : dlg->findChildren<QWidget *>()) {
            if (!w->isVisible() || !(qobject_cast<QLabel *>(w) || qobject_cast<QAbstractButton *>(w)))
                continue;
            SCOPED_TRACE(w->objectName().toStdString() + " in language " + std::to_string(lang));
            EXPECT_LE(w->sizeHint().width(), w->width());
            EXPECT_LE(w->geometry().right(), dlg->width());
        }
    }
    TAppLang::instance().fSetLangType(TAppLang::English);
}

} // namespace
} // namespace vkt

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    vkt::TAppLang::instance().fSetLangType(vkt::TAppLang::English);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

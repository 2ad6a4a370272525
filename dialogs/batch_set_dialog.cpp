#include "batch_set_dialog.h"

#include "channel_edit.h"
#include "codecs.h"
#include "field_widgets.h"
#include "localisation.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <string>

namespace vkt {

namespace {

// The end mode chosen last; kept for the run of the program so the window
// opens the next time the way it was left.
bool gEndByChannel = true;

// Longest text a frequency field keeps; a tenth character is taken off.
constexpr std::size_t kFieldMaxLength = 9;
// In the start fields the point may only become the fourth character.
constexpr int kStartPointPosition = 3;

// Geometry of the fixed window.
constexpr int kRowHeight = 22;
constexpr int kRowPitch = 30;
constexpr int kTop = 10;
constexpr int kLeftLabelX = 8, kLeftLabelW = 85, kLeftFieldX = 95, kLeftFieldW = 95;
constexpr int kRightLabelX = 198, kRightLabelW = 126, kRightFieldX = 326, kRightFieldW = 90;

QLabel *Caption(QWidget *parent, const char *name, int text)
{
    auto *l = new QLabel(MainText(text), parent);
    l->setObjectName(name);
    return l;
}

QComboBox *List(QWidget *parent, const char *name, std::initializer_list<int> texts)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(name);
    for (int n : texts)
        c->addItem(MainText(n));
    return c;
}

QComboBox *ChannelList(QWidget *parent, const char *name)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(name);
    for (int ch = 1; ch <= kChannelCount; ++ch)
        c->addItem(QString::number(ch));
    c->setMaxVisibleItems(16);
    return c;
}

QComboBox *ToneList(QWidget *parent, const char *name)
{
    auto *c = new ToneBox(parent, false);
    c->setObjectName(name);
    c->setMaxVisibleItems(16);
    return c;
}

QLineEdit *FrequencyEdit(QWidget *parent, const char *name)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}

void Place(QWidget *w, int x, int row, int width)
{
    w->setGeometry(x, kTop + row * kRowPitch, width, kRowHeight);
}

Tone ToneOrOff(const QComboBox *box)
{
    // A text the tone parser rejects stores no tone, as "Off" typed would.
    return ParseToneText(box->currentText().toStdString()).value_or(Tone{0xFFFF, kToneOff});
}

} // namespace

TChBatchSetDlg::TChBatchSetDlg(Project &project, QWidget *parent)
    : QDialog(parent), project_(project), limits_(project.state().limits)
{
    setObjectName("TChBatchSetDlg");
    setModal(true);
    setWindowTitle(MainText(169));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(425, 254);

    sChBatchFreqRx = Caption(this, "sChBatchFreqRx", 16);
    eChBatchFreqRx = FrequencyEdit(this, "eChBatchFreqRx");
    sChBatchFreqTx = Caption(this, "sChBatchFreqTx", 17);
    eChBatchFreqTx = FrequencyEdit(this, "eChBatchFreqTx");
    sChBatchSubDe = Caption(this, "sChBatchSubDe", 18);
    cbChBatchSubDe = ToneList(this, "cbChBatchSubDe");
    sChBatchSubEn = Caption(this, "sChBatchSubEn", 19);
    cbChBatchSubEn = ToneList(this, "cbChBatchSubEn");
    sChBatchPower = Caption(this, "sChBatchPower", 20);
    cbChBatchPower = List(this, "cbChBatchPower", {27, 192, 26});
    sChBatchBandwidth = Caption(this, "sChBatchBandwidth", 21);
    cbChBatchBandwidth = List(this, "cbChBatchBandwidth", {29, 28});
    sChBatchSCN = Caption(this, "sChBatchSCN", 22);
    cbChBatchSCN = List(this, "cbChBatchSCN", {31, 30});
    sChBatchBUS = Caption(this, "sChBatchBUS", 23);
    cbChBatchBUS = List(this, "cbChBatchBUS", {32, 34, 33});
    sChBatchScr = Caption(this, "sChBatchScr", 73);
    cbChBatchScr = List(this, "cbChBatchScr", {75, 124, 125, 126, 127, 128});
    sStartCh = Caption(this, "sStartCh", 170);
    cbStartCh = ChannelList(this, "cbStartCh");
    sEndCh = Caption(this, "sEndCh", 171);
    sEndCh->hide();
    rbEndCh = new QRadioButton(MainText(171), this);
    rbEndCh->setObjectName("rbEndCh");
    cbEndCh = ChannelList(this, "cbEndCh");
    rbEndFreq = new QRadioButton(MainText(219), this);
    rbEndFreq->setObjectName("rbEndFreq");
    eEndFreq = FrequencyEdit(this, "eEndFreq");
    sStep = Caption(this, "sStep", 173);
    eStep = FrequencyEdit(this, "eStep");
    OKBtn = new QPushButton(MainText(153), this);
    OKBtn->setObjectName("OKBtn");
    CancelBtn = new QPushButton(MainText(154), this);
    CancelBtn->setObjectName("CancelBtn");

    int row = 0;
    for (auto [label, field] : {std::pair<QWidget *, QWidget *>{sChBatchFreqRx, eChBatchFreqRx},
                                {sChBatchFreqTx, eChBatchFreqTx},
                                {sChBatchSubDe, cbChBatchSubDe},
                                {sChBatchSubEn, cbChBatchSubEn},
                                {sChBatchPower, cbChBatchPower},
                                {sChBatchBandwidth, cbChBatchBandwidth},
                                {sChBatchSCN, cbChBatchSCN}}) {
        Place(label, kLeftLabelX, row, kLeftLabelW);
        Place(field, kLeftFieldX, row, kLeftFieldW);
        ++row;
    }
    row = 0;
    for (auto [label, field] : {std::pair<QWidget *, QWidget *>{sChBatchBUS, cbChBatchBUS},
                                {sChBatchScr, cbChBatchScr},
                                {sStartCh, cbStartCh},
                                {rbEndCh, cbEndCh},
                                {rbEndFreq, eEndFreq},
                                {sStep, eStep}}) {
        Place(label, kRightLabelX, row, kRightLabelW);
        Place(field, kRightFieldX, row, kRightFieldW);
        ++row;
    }
    sEndCh->setGeometry(rbEndCh->geometry());
    OKBtn->setGeometry(246, 216, 80, 28);
    CancelBtn->setGeometry(336, 216, 80, 28);

    const bool scrambling = project_.data().showScrambling != 0;
    sChBatchScr->setVisible(scrambling);
    cbChBatchScr->setVisible(scrambling);

    // Initial values.
    startRx_ = limits_.vhfRxMin;
    startTx_ = limits_.vhfTxMin;
    endFreq_ = limits_.vhfRxMin;
    step_ = 0;
    for (Field f : {Field::Rx, Field::Tx, Field::EndFreq, Field::Step}) {
        QLineEdit *e = editOf(f);
        e->setText(textFor(f, valueOf(f)));
        e->installEventFilter(this);
        connect(e, &QLineEdit::textEdited, this, [this, f] { correctTyping(f); });
    }
    cbChBatchSubDe->setCurrentIndex(0);
    cbChBatchSubEn->setCurrentIndex(0);
    cbChBatchPower->setCurrentIndex(2);
    cbChBatchBandwidth->setCurrentIndex(1);
    cbChBatchSCN->setCurrentIndex(1);
    cbChBatchBUS->setCurrentIndex(0);
    cbChBatchScr->setCurrentIndex(0);
    cbStartCh->setCurrentIndex(0);
    cbEndCh->setCurrentIndex(0);

    connect(rbEndCh, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            rbEndChClick();
    });
    connect(rbEndFreq, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            rbEndFreqClick();
    });
    if (gEndByChannel) {
        rbEndCh->setChecked(true);
        rbEndChClick();
    } else {
        rbEndFreq->setChecked(true);
        rbEndFreqClick();
    }

    // A mouse click on the buttons leaves the focus where it is: OK runs
    // the conversion of the field being edited itself, and Cancel does not
    // complain about a half-typed value it is going to drop anyway.
    OKBtn->setFocusPolicy(Qt::TabFocus);
    CancelBtn->setFocusPolicy(Qt::TabFocus);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &TChBatchSetDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TChBatchSetDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (QScreen *s = screen()) {
        QRect r = frameGeometry();
        r.moveCenter(s->availableGeometry().center());
        move(r.topLeft());
    }
}

void TChBatchSetDlg::rbEndChClick()
{
    gEndByChannel = true;
    cbEndCh->setEnabled(true);
    eEndFreq->setEnabled(false);
}

void TChBatchSetDlg::rbEndFreqClick()
{
    gEndByChannel = false;
    cbEndCh->setEnabled(false);
    eEndFreq->setEnabled(true);
}

QLineEdit *TChBatchSetDlg::editOf(Field f) const
{
    switch (f) {
    case Field::Rx: return eChBatchFreqRx;
    case Field::Tx: return eChBatchFreqTx;
    case Field::EndFreq: return eEndFreq;
    case Field::Step: break;
    }
    return eStep;
}

std::uint32_t &TChBatchSetDlg::valueOf(Field f)
{
    switch (f) {
    case Field::Rx: return startRx_;
    case Field::Tx: return startTx_;
    case Field::EndFreq: return endFreq_;
    case Field::Step: break;
    }
    return step_;
}

QString TChBatchSetDlg::textFor(Field f, std::uint32_t hz) const
{
    return QString::fromStdString(f == Field::Step ? OffsetFreqText(hz) : ChannelFreqText(hz));
}

bool TChBatchSetDlg::eventFilter(QObject *watched, QEvent *event)
{
    Field f;
    if (watched == eChBatchFreqRx)
        f = Field::Rx;
    else if (watched == eChBatchFreqTx)
        f = Field::Tx;
    else if (watched == eEndFreq)
        f = Field::EndFreq;
    else if (watched == eStep)
        f = Field::Step;
    else
        return QDialog::eventFilter(watched, event);
    QLineEdit *edit = editOf(f);

    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // Shortcuts (select all, copy, paste, undo) are control keys.
        const Qt::KeyboardModifiers mods = key->modifiers();
        if ((mods & (Qt::ControlModifier | Qt::MetaModifier)) && !(mods & Qt::AltModifier))
            return QDialog::eventFilter(watched, event);
        for (QChar c : key->text()) {
            if (!FrequencyKeyPasses(c.unicode()))
                return true;
            if (c == QLatin1Char('.') && (f == Field::Rx || f == Field::Tx)) {
                const int at = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
                if (at != kStartPointPosition)
                    return true;
            }
        }
    } else if (event->type() == QEvent::FocusOut) {
        // Leaving the field converts it. A context menu or another window
        // taking the focus for a while is not leaving it.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            const QString typed = edit->text();
            if (!commitField(f)) {
                // Told after the focus change is done, so the warning does
                // not cut into the click that moved the focus.
                QTimer::singleShot(0, this, [this, typed] { ShowFrequencyError(this, typed); });
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TChBatchSetDlg::correctTyping(Field f)
{
    QLineEdit *edit = editOf(f);
    std::string text = edit->text().toStdString();
    if (f == Field::Rx || f == Field::Tx) {
        while (text.size() > kFieldMaxLength)
            text.pop_back();
    } else {
        text = CorrectFrequencyText(std::move(text), kFieldMaxLength);
    }
    const QString corrected = QString::fromStdString(text);
    if (corrected != edit->text()) {
        const int pos = edit->cursorPosition();
        edit->setText(corrected);
        edit->setCursorPosition(std::min<int>(pos, int(corrected.size())));
    }
}

bool TChBatchSetDlg::commitField(Field f)
{
    QLineEdit *edit = editOf(f);
    const std::string text = edit->text().toStdString();
    std::uint32_t hz = 0;
    if (!text.empty()) {
        const auto parsed = ParseMHzText(text);
        if (!parsed) {
            edit->setText(textFor(f, valueOf(f)));
            return false;
        }
        hz = *parsed;
    }
    switch (f) {
    case Field::Rx:
    case Field::EndFreq: hz = LimitToBand(hz, false, limits_); break;
    case Field::Tx: hz = LimitToBand(hz, true, limits_); break;
    case Field::Step: hz = LimitStep(hz); break;
    }
    valueOf(f) = hz;
    edit->setText(textFor(f, hz));
    return true;
}

void TChBatchSetDlg::OKBtnClick()
{
    // A value typed and OK'd straight away counts: convert the fields
    // first, and stay open on one that is not a frequency.
    for (Field f : {Field::Rx, Field::Tx, Field::EndFreq, Field::Step}) {
        QLineEdit *edit = editOf(f);
        if (!edit->isEnabled())
            continue; // the end frequency of the end-channel mode is not used
        const QString typed = edit->text();
        if (!commitField(f)) {
            ShowFrequencyError(this, typed);
            edit->setFocus();
            return;
        }
    }

    BatchSetParams p;
    p.startRx = startRx_;
    p.startTx = startTx_;
    p.endFreq = endFreq_;
    p.step = step_;
    p.endByChannel = rbEndCh->isChecked();
    p.startChannel = cbStartCh->currentIndex() + 1;
    p.endChannel = cbEndCh->currentIndex() + 1;
    p.decode = ToneOrOff(cbChBatchSubDe);
    p.encode = ToneOrOff(cbChBatchSubEn);
    p.powerIndex = cbChBatchPower->currentIndex();
    p.wide = cbChBatchBandwidth->currentIndex() == 1;
    p.scanAdd = cbChBatchSCN->currentIndex() == 1;
    p.busyIndex = cbChBatchBUS->currentIndex();
    p.scramblingIndex = project_.data().showScrambling != 0 ? cbChBatchScr->currentIndex() : 0;
    filled_ = project_.edit(PlainMainText(169).toStdString(),
                            [&](ProgramState &s) { return ApplyBatchSet(s.data, limits_, p); });
    accept();
}

} // namespace vkt

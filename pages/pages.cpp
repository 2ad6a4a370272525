#include "pages.h"

#include "app_session.h"
#include "codecs.h"
#include "gbk_text.h"
#include "localisation.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vkt {

namespace {

constexpr int kChannelColumns = 12;

QLabel *ValueBox(QWidget *parent, const char *name, int width)
{
    auto *l = new QLabel(parent);
    l->setObjectName(name);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setFixedSize(width, 20);
    return l;
}

QLabel *Caption(QWidget *parent, const char *name)
{
    auto *l = new QLabel(parent);
    l->setObjectName(name);
    return l;
}

void SetCell(QTableWidget *grid, int row, int col, const QString &text)
{
    QTableWidgetItem *item = grid->item(row, col);
    if (!item) {
        item = new QTableWidgetItem;
        item->setTextAlignment(Qt::AlignCenter);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        grid->setItem(row, col, item);
    }
    if (item->text() != text)
        item->setText(text);
}

QString PowerText(unsigned v)
{
    switch (v) {
    case kPowerLow: return MainText(27);
    case kPowerHigh: return MainText(26);
    case kPowerMid: return MainText(192);
    default: return {};
    }
}

QString BusyText(unsigned v)
{
    switch (v) {
    case kBusyOff: return MainText(32);
    case kBusyDqt: return MainText(34);
    case kBusyCat: return MainText(33);
    default: return {};
    }
}

QString SignalText(unsigned v)
{
    switch (v) {
    case kSignalOff: return MainText(75);
    case kSignalDtmf: return QStringLiteral("DTMF");
    case kSignal2Tone: return QStringLiteral("2-TONE");
    case kSignal5Tone: return QStringLiteral("5-TONE");
    default: return {};
    }
}

} // namespace

// ---- channel page --------------------------------------------------------

ChannelPage::ChannelPage(AppSession &session, QWidget *parent) : EditorPage(session, parent)
{
    setObjectName("ChannelPage");
    StringGrid1 = new QTableWidget(kChannelCount + 1, kChannelColumns, this);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->verticalHeader()->hide();
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->setWordWrap(false);
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    for (int ch = 1; ch <= kChannelCount; ++ch)
        SetCell(StringGrid1, ch, 0, QString::number(ch));

    sFreqBand = Caption(this, "sFreqBand");
    sSoftwareVersionCaption = Caption(this, "sSoftwareVersionCaption");
    sSoftwareVersionDisp = ValueBox(this, "sSoftwareVersionDisp", 120);
    sLastWriteTimeCaption = Caption(this, "sLastWriteTimeCaption");
    sLastWriteTime = ValueBox(this, "sLastWriteTime", 120);
    sDeviceSnCaption = Caption(this, "sDeviceSnCaption");
    sDeviceSnDisp = ValueBox(this, "sDeviceSnDisp", 90);
    sTiShi_0 = Caption(this, "sTiShi_0");
    sTiShi_0->hide();
    sTiShi_0->installEventFilter(this);
    bChBatchSet = new QPushButton(this);
    bChBatchSet->setObjectName("bChBatchSet");

    auto *info = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{sSoftwareVersionCaption, sSoftwareVersionDisp,
                                                      sLastWriteTimeCaption, sLastWriteTime, sDeviceSnCaption,
                                                      sDeviceSnDisp})
        info->addWidget(w);
    info->addStretch();
    info->addWidget(bChBatchSet);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(info);
    layout->addWidget(sFreqBand);
    layout->addWidget(StringGrid1, 1);
    layout->addWidget(sTiShi_0);
}

QString ChannelPage::caption() const { return MainText(25); }

void ChannelPage::retranslate()
{
    static const int kHeadings[kChannelColumns] = {15, 16, 17, 18, 19, 20, 21, 22, 23, 321, 322, 24};
    for (int c = 0; c < kChannelColumns; ++c) {
        SetCell(StringGrid1, 0, c, MainText(kHeadings[c]));
        StringGrid1->item(0, c)->setFlags(Qt::ItemIsEnabled);
    }
    sSoftwareVersionCaption->setText(MainText(174));
    sLastWriteTimeCaption->setText(MainText(175));
    sDeviceSnCaption->setText(MainText(179));
    sTiShi_0->setText(MainText(216));
    bChBatchSet->setText(MainText(169));
}

void ChannelPage::StringGridUpdataRow(int ch)
{
    if (ch < 1 || ch > kChannelCount)
        return;
    const RadioData &d = session_.state.data;
    if (!IsChannelInUse(d, ch)) {
        for (int c = 1; c < kChannelColumns; ++c)
            SetCell(StringGrid1, ch, c, {});
        return;
    }
    const ChannelEntry &e = d.channels[ch];
    SetCell(StringGrid1, ch, 1, QString::fromStdString(ChannelFreqText(e.rxFreq)));
    SetCell(StringGrid1, ch, 2, QString::fromStdString(ChannelFreqText(e.txFreq)));
    SetCell(StringGrid1, ch, 3, QString::fromStdString(ToneText({e.decodeCode, e.decodeType})));
    SetCell(StringGrid1, ch, 4, QString::fromStdString(ToneText({e.encodeCode, e.encodeType})));
    SetCell(StringGrid1, ch, 5, PowerText(PowerOf(e)));
    SetCell(StringGrid1, ch, 6, WideOf(e) ? MainText(28) : MainText(29));
    SetCell(StringGrid1, ch, 7, ScanAddOf(e) ? MainText(30) : MainText(31));
    SetCell(StringGrid1, ch, 8, BusyText(BusyLockOf(e)));
    SetCell(StringGrid1, ch, 9, SignalText(SignalSystemOf(e)));
    SetCell(StringGrid1, ch, 10,
            SignalSystemOf(e) == kSignalOff ? QString() : QString::number(SignalIndexOf(e) + 1));
    SetCell(StringGrid1, ch, 11, DecodeGbkField(e.name, sizeof e.name));
}

void ChannelPage::load()
{
    const ProgramState &s = session_.state;
    const BandLimits &l = s.limits;
    auto f = [](std::uint32_t hz) { return QString::fromStdString(ChannelFreqText(hz)); };
    sFreqBand->setText(QStringLiteral("U[Tx:%1-%2   Rx:%3-%4]     V[Tx:%5-%6   Rx:%7-%8]")
                           .arg(f(l.uhfTxMin), f(l.uhfTxMax), f(l.uhfRxMin), f(l.uhfRxMax), f(l.vhfTxMin),
                                f(l.vhfTxMax), f(l.vhfRxMin), f(l.vhfRxMax)));
    sSoftwareVersionDisp->setText(DecodeGbkField(s.data.firmwareVersion, 12));
    const IdentityValues &id = s.identity;
    sLastWriteTime->setText(QStringLiteral("%1-%2-%3  %4:%5")
                                .arg(id.year)
                                .arg(id.month)
                                .arg(id.day)
                                .arg(id.hour)
                                .arg(id.minute));
    sDeviceSnDisp->setText(DecodeGbkField(id.serialNumber, sizeof id.serialNumber));
    StringGrid1->setUpdatesEnabled(false);
    for (int ch = 1; ch <= kChannelCount; ++ch)
        StringGridUpdataRow(ch);
    StringGrid1->setUpdatesEnabled(true);
}

bool ChannelPage::eventFilter(QObject *watched, QEvent *event)
{
    // The "Nonstandard value" hint goes away when it is clicked.
    if (watched == sTiShi_0 && event->type() == QEvent::MouseButtonPress)
        sTiShi_0->hide();
    return EditorPage::eventFilter(watched, event);
}

// ---- options page --------------------------------------------------------

OptionsPage::OptionsPage(AppSession &session, QWidget *parent) : EditorPage(session, parent)
{
    setObjectName("OptionsPage");
    gbLogo = new QGroupBox(this);
    gbLogo->setObjectName("gbLogo");
    static const char *const kNames[4] = {"rLogo_off", "rWelcome_chs", "rWelcome_eng", "rWelcome_define"};
    auto *box = new QVBoxLayout(gbLogo);
    for (int i = 0; i < 4; ++i) {
        auto *b = new QRadioButton(gbLogo);
        b->setObjectName(kNames[i]);
        b->installEventFilter(this);
        box->addWidget(b);
        logoButtons[std::size_t(i)] = b;
    }
    auto *layout = new QGridLayout(this);
    layout->addWidget(gbLogo, 0, 0, Qt::AlignTop | Qt::AlignLeft);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(1, 1);
}

QString OptionsPage::caption() const { return MainText(35); }

void OptionsPage::retranslate()
{
    gbLogo->setTitle(MainText(168));
    static const int kTexts[4] = {75, 349, 350, 351};
    for (int i = 0; i < 4; ++i)
        logoButtons[std::size_t(i)]->setText(MainText(kTexts[i]));
}

void OptionsPage::load()
{
    const std::uint8_t type = session_.state.data.displayType;
    logoButtons[type >= 1 && type <= 3 ? type : 0]->setChecked(true);
}

bool OptionsPage::eventFilter(QObject *watched, QEvent *event)
{
    // The display type is stored when its button loses the focus, so the
    // button that had the focus last decides.
    if (event->type() == QEvent::FocusOut) {
        for (std::size_t i = 0; i < logoButtons.size(); ++i)
            if (watched == logoButtons[i] && logoButtons[i]->isChecked())
                session_.state.data.displayType = static_cast<std::uint8_t>(i);
    }
    return EditorPage::eventFilter(watched, event);
}

// ---- DTMF page -----------------------------------------------------------

DtmfPage::DtmfPage(AppSession &session, QWidget *parent) : EditorPage(session, parent)
{
    setObjectName("DtmfPage");
    sgD_AddrBook = new QTableWidget(kAddressBookCount + 1, 3, this);
    sgD_AddrBook->setObjectName("sgD_AddrBook");
    sgD_AddrBook->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgD_AddrBook->verticalHeader()->hide();
    sgD_AddrBook->horizontalHeader()->hide();
    // The address book always starts at these widths.
    const int widths[3] = {34, 70, 130};
    for (int c = 0; c < 3; ++c)
        sgD_AddrBook->setColumnWidth(c, widths[c]);
    for (int j = 1; j <= kAddressBookCount; ++j)
        SetCell(sgD_AddrBook, j, 0, QString::number(j));
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(sgD_AddrBook);
    layout->addStretch(1);
}

QString DtmfPage::caption() const { return QStringLiteral("DTMF"); }

void DtmfPage::retranslate()
{
    SetCell(sgD_AddrBook, 0, 0, MainText(147));
    SetCell(sgD_AddrBook, 0, 1, MainText(148));
    SetCell(sgD_AddrBook, 0, 2, MainText(149));
}

void DtmfPage::load()
{
    static const char kDigits[] = "0123456789ABCD*#";
    const RadioData &d = session_.state.data;
    for (int j = 1; j <= kAddressBookCount; ++j) {
        if (!IsAddressBookInUse(d, j)) {
            SetCell(sgD_AddrBook, j, 1, {});
            SetCell(sgD_AddrBook, j, 2, {});
            continue;
        }
        const AddressBookEntry &e = d.addrBook[j];
        QString code;
        for (int i = 0; i < e.digitCount && i < 17; ++i)
            code += QLatin1Char(kDigits[e.digits[i] & 0x0F]);
        SetCell(sgD_AddrBook, j, 1, DecodeGbkField(e.name, sizeof e.name));
        SetCell(sgD_AddrBook, j, 2, code);
    }
}

// ---- pages still to be filled ----------------------------------------------

PlainPage::PlainPage(AppSession &session, int captionText, const char *name, QWidget *parent)
    : EditorPage(session, parent), captionText_(captionText)
{
    setObjectName(name);
}

QString PlainPage::caption() const { return MainText(captionText_); }

} // namespace vkt

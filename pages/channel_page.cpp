#include "channel_page.h"

#include "app_session.h"
#include "channel_edit.h"
#include "codecs.h"
#include "gbk_text.h"
#include "localisation.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolTip>
#include <QVBoxLayout>

namespace vkt {

namespace {

constexpr int kColumns = 12;
const QColor kOddRowColour(192, 220, 192);

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

QString PowerText(unsigned code)
{
    switch (code) {
    case kPowerLow: return MainText(27);
    case kPowerHigh: return MainText(26);
    default: return MainText(192); // codes 2 and 3
    }
}

QString BusyText(unsigned code)
{
    switch (code) {
    case kBusyOff: return MainText(32);
    case kBusyDqt: return MainText(34);
    case kBusyCat: return MainText(33);
    default: return {};
    }
}

QString SignalSystemText(unsigned system)
{
    switch (system) {
    case kSignalOff: return MainText(75);
    case kSignalDtmf: return QStringLiteral("DTMF");
    case kSignal2Tone: return QStringLiteral("2-TONE");
    case kSignal5Tone: return QStringLiteral("5-TONE");
    default: return {};
    }
}

// The bytes of a typed text as the radio stores them: GBK, whole
// characters only.
std::size_t GbkLength(const QString &text) { return EncodeGbk(text, 1024).size(); }

} // namespace

// ---- the grid --------------------------------------------------------------

ChannelGrid::ChannelGrid(ChannelPage &page, QWidget *parent)
    : QTableWidget(kChannelCount + 1, kColumns, parent), page_(page)
{
    setObjectName("StringGrid1");
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(true);
    setWordWrap(false);
    verticalHeader()->hide();
    horizontalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    viewport()->setMouseTracking(true);
    for (int r = 0; r <= kChannelCount; ++r)
        for (int c = 0; c < kColumns; ++c) {
            auto *item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            if (r % 2 == 1)
                item->setBackground(kOddRowColour);
            setItem(r, c, item);
        }
    for (int ch = 1; ch <= kChannelCount; ++ch)
        item(ch, 0)->setText(QString::number(ch));
}

void ChannelGrid::mousePressEvent(QMouseEvent *event)
{
    page_.sTiShi_0->hide();
    QTableWidget::mousePressEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !index.isValid())
        return;
    const int row = index.row(), column = index.column();
    if (row >= 1 && column >= 1 && (column == kColRx || page_.rowInUse(row)))
        page_.placeEditor(row, column);
}

void ChannelGrid::mouseMoveEvent(QMouseEvent *event)
{
    QTableWidget::mouseMoveEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index == hovered_)
        return;
    hovered_ = index;
    QToolTip::hideText();
    const int row = index.row(), column = index.column();
    if ((column == kColDecode || column == kColEncode) && page_.rowInUse(row) &&
        HasNonstandardTone(page_.session_.state.data, row, column == kColEncode))
        QToolTip::showText(event->globalPosition().toPoint(), MainText(216), this);
}

void ChannelGrid::keyPressEvent(QKeyEvent *event)
{
    const QString text = event->text();
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // Keys without a character (arrows, Tab, page keys) move in the grid.
    if (text.isEmpty() || (!text.front().isPrint() && !enter)) {
        QTableWidget::keyPressEvent(event);
        return;
    }
    const int row = currentRow(), column = currentColumn();
    if (row < 1 || column < 1)
        return;
    const bool digit = text.front().isDigit();
    if (column == kColRx || column == kColTx) {
        if (!digit && !enter)
            return;
        if (column == kColTx && !page_.rowInUse(row))
            return;
        page_.placeEditor(row, column);
        if (digit) {
            // Typing on the grid starts typing a frequency.
            QKeyEvent press(QEvent::KeyPress, event->key(), event->modifiers(), text);
            QKeyEvent release(QEvent::KeyRelease, event->key(), event->modifiers(), text);
            QCoreApplication::sendEvent(page_.Edit_ChFreq, &press);
            QCoreApplication::sendEvent(page_.Edit_ChFreq, &release);
        }
        return;
    }
    if (page_.rowInUse(row))
        page_.placeEditor(row, column);
}

// ---- the page --------------------------------------------------------------

ChannelPage::ChannelPage(AppSession &session, QWidget *parent) : EditorPage(session, parent)
{
    setObjectName("ChannelPage");
    StringGrid1 = new ChannelGrid(*this, this);

    sFreqBand = Caption(this, "sFreqBand");
    sSoftwareVersionCaption = Caption(this, "sSoftwareVersionCaption");
    sSoftwareVersionDisp = ValueBox(this, "sSoftwareVersionDisp", 120);
    sLastWriteTimeCaption = Caption(this, "sLastWriteTimeCaption");
    sLastWriteTime = ValueBox(this, "sLastWriteTime", 120);
    sDeviceSnCaption = Caption(this, "sDeviceSnCaption");
    sDeviceSnDisp = ValueBox(this, "sDeviceSnDisp", 90);
    bChBatchSet = new QPushButton(this);
    bChBatchSet->setObjectName("bChBatchSet");
    // The hint floats over the grid, next to the tone box.
    sTiShi_0 = new QLabel(this);
    sTiShi_0->setObjectName("sTiShi_0");
    sTiShi_0->setStyleSheet(QStringLiteral("color: teal; background: palette(window);"));
    sTiShi_0->hide();
    sTiShi_0->installEventFilter(this);

    QWidget *cells = StringGrid1->viewport();
    auto lineEdit = [&](const char *name) {
        auto *e = new QLineEdit(cells);
        e->setObjectName(name);
        e->setFrame(false);
        e->hide();
        e->installEventFilter(this);
        return e;
    };
    auto list = [&](const char *name, bool editable) {
        auto *c = new QComboBox(cells);
        c->setObjectName(name);
        c->setEditable(editable);
        c->hide();
        c->installEventFilter(this);
        if (editable)
            c->lineEdit()->installEventFilter(this);
        return c;
    };
    Edit_ChFreq = lineEdit("Edit_ChFreq");
    Edit_ChName = lineEdit("Edit_ChName");
    ComboBox1 = list("ComboBox1", true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string &t : ToneTexts())
        ComboBox1->addItem(QString::fromStdString(t));
    ComboBox1->setMaxVisibleItems(20);
    cbChInfor_Pow = list("cbChInfor_Pow", false);
    cbChInfor_Bandwidth = list("cbChInfor_Bandwidth", false);
    cbChInfor_SCN = list("cbChInfor_SCN", false);
    cbChInfor_BusyFit = list("cbChInfor_BusyFit", false);
    cbChInforSignalSys = list("cbChInforSignalSys", false);
    cbChInforSignalNo = list("cbChInforSignalNo", false);

    // Typing rules of the frequency, tone and name editors.
    connect(Edit_ChFreq, &QLineEdit::textEdited, this, [this](const QString &text) {
        const QString corrected = QString::fromStdString(CorrectFrequencyText(text.toStdString()));
        if (corrected != text) {
            Edit_ChFreq->setText(corrected);
            Edit_ChFreq->end(false);
        }
    });
    connect(ComboBox1->lineEdit(), &QLineEdit::textEdited, this, [this](const QString &text) {
        QString upper = text;
        for (QChar &c : upper)
            if (c.unicode() < 128)
                c = QChar(ToneBoxKey(char(c.unicode())));
        if (upper != text) {
            const int caret = ComboBox1->lineEdit()->cursorPosition();
            ComboBox1->lineEdit()->setText(upper);
            ComboBox1->lineEdit()->setCursorPosition(caret);
        }
    });
    connect(Edit_ChName, &QLineEdit::textEdited, this, [this](const QString &text) {
        QString t = text;
        bool cut = false;
        while (GbkLength(t) > sizeof(ChannelEntry::name)) {
            t.chop(t.size() >= 2 && t.back().isLowSurrogate() ? 2 : 1);
            cut = true;
        }
        if (cut) {
            Edit_ChName->setText(t);
            Edit_ChName->end(false);
        }
    });
    // A new signalling system is stored at once, resetting its number.
    connect(cbChInforSignalSys, &QComboBox::activated, this, [this](int index) {
        if (active_ != cbChInforSignalSys)
            return;
        StoreSignalSystemIndex(session_.state.data, editRow_, index);
        StringGridUpdataRow(editRow_);
    });
    connect(bChBatchSet, &QPushButton::clicked, this, [this] { finishEdit(); });

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
}

QString ChannelPage::caption() const { return MainText(25); }

void ChannelPage::fillList(QComboBox *list, std::initializer_list<int> texts)
{
    const int selected = list->currentIndex();
    list->clear();
    for (int t : texts)
        list->addItem(MainText(t));
    list->setCurrentIndex(selected);
}

void ChannelPage::retranslate()
{
    static const int kHeadings[kColumns] = {15, 16, 17, 18, 19, 20, 21, 22, 23, 321, 322, 24};
    for (int c = 0; c < kColumns; ++c)
        StringGrid1->item(0, c)->setText(MainText(kHeadings[c]));
    sSoftwareVersionCaption->setText(MainText(174));
    sLastWriteTimeCaption->setText(MainText(175));
    sDeviceSnCaption->setText(MainText(179));
    sTiShi_0->setText(MainText(216));
    sTiShi_0->adjustSize();
    bChBatchSet->setText(MainText(169));
    fillList(cbChInfor_Pow, {27, 192, 26});
    fillList(cbChInfor_Bandwidth, {29, 28});
    fillList(cbChInfor_SCN, {31, 30});
    fillList(cbChInfor_BusyFit, {32, 34, 33});
    const int system = cbChInforSignalSys->currentIndex();
    cbChInforSignalSys->clear();
    cbChInforSignalSys->addItems({MainText(75), QStringLiteral("DTMF"), QStringLiteral("2-TONE"),
                                  QStringLiteral("5-TONE")});
    cbChInforSignalSys->setCurrentIndex(system);
}

bool ChannelPage::rowInUse(int row) const { return IsChannelInUse(session_.state.data, row) && row >= 1; }

void ChannelPage::StringGridCleanRow(int ch)
{
    if (ch < 1 || ch > kChannelCount)
        return;
    for (int c = 1; c < kColumns; ++c)
        StringGrid1->item(ch, c)->setText(QString());
    ClearChannelInUse(session_.state.data, ch);
}

void ChannelPage::StringGridUpdataRow(int ch)
{
    if (ch < 1 || ch > kChannelCount)
        return;
    const RadioData &d = session_.state.data;
    if (!IsChannelInUse(d, ch)) {
        for (int c = 1; c < kColumns; ++c)
            StringGrid1->item(ch, c)->setText(QString());
        return;
    }
    const ChannelEntry &e = d.channels[ch];
    const unsigned system = SignalSystemOf(e);
    const int number = SignalNumberListIndex(e);
    const QString texts[kColumns] = {
        QString::number(ch),
        QString::fromStdString(ChannelFreqText(e.rxFreq)),
        QString::fromStdString(ChannelFreqText(e.txFreq)),
        QString::fromStdString(ToneText({e.decodeCode, e.decodeType})),
        QString::fromStdString(ToneText({e.encodeCode, e.encodeType})),
        PowerText(PowerOf(e)),
        WideOf(e) ? MainText(28) : MainText(29),
        ScanAddOf(e) ? MainText(30) : MainText(31),
        BusyText(BusyLockOf(e)),
        SignalSystemText(system),
        system == kSignalOff || number < 0 ? QString() : QString::number(number + 1),
        DecodeGbkField(e.name, sizeof e.name),
    };
    for (int c = 1; c < kColumns; ++c) {
        QTableWidgetItem *item = StringGrid1->item(ch, c);
        if (item->text() != texts[c])
            item->setText(texts[c]);
    }
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
    sLastWriteTime->setText(
        QStringLiteral("%1-%2-%3  %4:%5").arg(id.year).arg(id.month).arg(id.day).arg(id.hour).arg(id.minute));
    sDeviceSnDisp->setText(DecodeGbkField(id.serialNumber, sizeof id.serialNumber));
    StringGrid1->setUpdatesEnabled(false);
    for (int ch = 1; ch <= kChannelCount; ++ch)
        StringGridUpdataRow(ch);
    StringGrid1->setUpdatesEnabled(true);
}

void ChannelPage::rebuildSignalNumbers(unsigned system)
{
    cbChInforSignalNo->clear();
    for (int n = 1; n <= SignalNumberCount(system); ++n)
        cbChInforSignalNo->addItem(QString::number(n));
}

void ChannelPage::placeEditor(int row, int column)
{
    if (row < 1 || row > kChannelCount || column < 1 || column >= kColumns)
        return;
    finishEdit(); // the previous editor stores its value first
    const RadioData &d = session_.state.data;
    if (column != kColRx && !IsChannelInUse(d, row))
        return;
    const ChannelEntry &e = d.channels[row];
    const QString cellText = StringGrid1->item(row, column)->text();
    switch (column) {
    case kColRx:
    case kColTx:
        Edit_ChFreq->setText(cellText);
        Edit_ChFreq->selectAll();
        show(Edit_ChFreq, row, column);
        break;
    case kColDecode:
    case kColEncode:
        ComboBox1->setCurrentIndex(ComboBox1->findText(cellText));
        ComboBox1->setEditText(cellText);
        ComboBox1->lineEdit()->selectAll();
        show(ComboBox1, row, column);
        break;
    case kColPower:
        cbChInfor_Pow->setCurrentIndex(PowerListIndex(PowerOf(e)));
        show(cbChInfor_Pow, row, column);
        break;
    case kColBandwidth:
        cbChInfor_Bandwidth->setCurrentIndex(WideOf(e) ? 1 : 0);
        show(cbChInfor_Bandwidth, row, column);
        break;
    case kColScan:
        cbChInfor_SCN->setCurrentIndex(ScanAddOf(e) ? 1 : 0);
        show(cbChInfor_SCN, row, column);
        break;
    case kColBusy:
        cbChInfor_BusyFit->setCurrentIndex(BusyListIndex(BusyLockOf(e)));
        show(cbChInfor_BusyFit, row, column);
        break;
    case kColSignalSystem:
        cbChInforSignalSys->setCurrentIndex(SignalSystemListIndex(SignalSystemOf(e)));
        show(cbChInforSignalSys, row, column);
        break;
    case kColSignalNumber:
        // Only a channel with a signalling system has a number to choose.
        if (SignalSystemOf(e) == kSignalOff || SignalNumberCount(SignalSystemOf(e)) == 0)
            return;
        rebuildSignalNumbers(SignalSystemOf(e));
        cbChInforSignalNo->setCurrentIndex(SignalNumberListIndex(e));
        show(cbChInforSignalNo, row, column);
        break;
    case kColName:
        Edit_ChName->setText(cellText);
        Edit_ChName->selectAll();
        show(Edit_ChName, row, column);
        break;
    default:
        break;
    }
}

void ChannelPage::show(QWidget *editor, int row, int column)
{
    editRow_ = row;
    editColumn_ = column;
    const QRect cell = StringGrid1->visualRect(StringGrid1->model()->index(row, column));
    editor->setGeometry(cell.x() + 1, cell.y(), cell.width() + 1, cell.height() + 1);
    editor->show();
    editor->raise();
    editor->setFocus(Qt::OtherFocusReason);
    active_ = editor;
}

void ChannelPage::finishEdit()
{
    if (!active_ || finishing_)
        return;
    finishing_ = true;
    QWidget *editor = active_;
    storeFrom(editor);
    active_ = nullptr;
    editor->hide();
    if (editor->isAncestorOf(QApplication::focusWidget()) || editor->hasFocus() || !StringGrid1->hasFocus())
        StringGrid1->setFocus(Qt::OtherFocusReason);
    finishing_ = false;
}

void ChannelPage::storeFrom(QWidget *editor)
{
    RadioData &d = session_.state.data;
    const BandLimits &limits = session_.state.limits;
    const int row = editRow_;
    if (editor == Edit_ChFreq) {
        const std::string text = Edit_ChFreq->text().toStdString();
        if (editColumn_ == kColRx) {
            if (StoreRxText(d, limits, row, text) == StoreResult::Deleted)
                StringGridCleanRow(row);
        } else {
            StoreTxText(d, limits, row, text);
        }
    } else if (editor == ComboBox1) {
        const bool encode = editColumn_ == kColEncode;
        const bool stored = StoreToneText(d, row, encode, ComboBox1->currentText().toStdString()) ==
                            StoreResult::Stored;
        if (stored && HasNonstandardTone(d, row, encode)) {
            const QPoint at = ComboBox1->mapTo(this, QPoint(50, 20));
            sTiShi_0->move(at);
            sTiShi_0->show();
            sTiShi_0->raise();
        } else if (stored) {
            sTiShi_0->hide();
        }
    } else if (editor == cbChInfor_Pow) {
        StorePowerIndex(d, row, cbChInfor_Pow->currentIndex());
    } else if (editor == cbChInfor_Bandwidth) {
        StoreBandwidthIndex(d, row, cbChInfor_Bandwidth->currentIndex());
    } else if (editor == cbChInfor_SCN) {
        StoreScanIndex(d, row, cbChInfor_SCN->currentIndex());
    } else if (editor == cbChInfor_BusyFit) {
        StoreBusyIndex(d, row, cbChInfor_BusyFit->currentIndex());
    } else if (editor == cbChInforSignalSys) {
        StoreSignalSystemIndex(d, row, cbChInforSignalSys->currentIndex());
    } else if (editor == cbChInforSignalNo) {
        StoreSignalNumberIndex(d, row, cbChInforSignalNo->currentIndex());
    } else if (editor == Edit_ChName) {
        const std::vector<std::uint8_t> bytes = EncodeGbk(Edit_ChName->text(), sizeof(ChannelEntry::name));
        StoreNameBytes(d, row, bytes.data(), bytes.size());
    }
    StringGridUpdataRow(row);
}

bool ChannelPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == sTiShi_0 && event->type() == QEvent::MouseButtonPress) {
        sTiShi_0->hide();
        return false;
    }
    QWidget *editor = active_;
    const bool isActive = editor && (watched == editor || (editor == ComboBox1 && watched == ComboBox1->lineEdit()));
    if (!isActive)
        return EditorPage::eventFilter(watched, event);

    if (event->type() == QEvent::FocusOut) {
        // A list's own drop-down takes the focus for a moment; that is not
        // leaving the editor.
        if (static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason) {
            QWidget *now = QApplication::focusWidget();
            if (!(now && (now == editor || editor->isAncestorOf(now))))
                finishEdit();
        }
        return false;
    }
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            finishEdit();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            finishEdit();
            return true;
        }
        const QString text = key->text();
        if (!text.isEmpty() && text.front().unicode() >= 32) {
            const unsigned code = text.front().unicode();
            if (editor == Edit_ChFreq && !FrequencyKeyPasses(code))
                return true;
            if (editor == Edit_ChName && code < 128 && !NameKeyPasses(code))
                return true;
        }
    }
    return EditorPage::eventFilter(watched, event);
}

} // namespace vkt

#include "channel_page.h"

#include "app_session.h"
#include "channel_edit.h"
#include "channel_rows.h"
#include "codecs.h"
#include "field_texts.h"
#include "field_widgets.h"
#include "gbk_text.h"
#include "localisation.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace vkt {

namespace {

constexpr int kColumns = 12;

// The name of a step that stores a cell: "channel 17 · Encode".
std::string CellStepName(int channel, int column)
{
    return (MainText(kTextChannelStep).arg(channel) + QStringLiteral(" · ") + MainText(kChannelHeadingTexts[column]))
        .toStdString();
}

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

// Puts a list's items in (another language), keeping its selection.
void RefillList(QComboBox *list, const QStringList &items)
{
    const int selected = list->currentIndex();
    list->clear();
    list->addItems(items);
    list->setCurrentIndex(selected);
}

} // namespace

// ---- the page --------------------------------------------------------------

ChannelPage::ChannelPage(AppSession &session, QWidget *parent) : EditorPage(session, parent)
{
    setObjectName("ChannelPage");
    StringGrid1 = new Grid(kChannelCount + 1, kColumns, this);
    StringGrid1->setObjectName("StringGrid1");

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

    Grid *grid = StringGrid1;
    Edit_ChFreq = grid->addLineEdit("Edit_ChFreq");
    Edit_ChName = grid->addLineEdit("Edit_ChName");
    ComboBox1 = new ToneBox(grid->viewport());
    ComboBox1->setObjectName("ComboBox1");
    grid->addEditor(ComboBox1);
    cbChInfor_Pow = grid->addList("cbChInfor_Pow");
    cbChInfor_Bandwidth = grid->addList("cbChInfor_Bandwidth");
    cbChInfor_SCN = grid->addList("cbChInfor_SCN");
    cbChInfor_BusyFit = grid->addList("cbChInfor_BusyFit");
    cbChInforSignalSys = grid->addList("cbChInforSignalSys");
    cbChInforSignalNo = grid->addList("cbChInforSignalNo");
    Grid::Editing editing;
    editing.open = [this](int row, int column) { return openEditor(row, column); };
    editing.store = [this](QWidget *editor, int row, int column) { storeFrom(editor, row, column); };
    // On the frequency columns only digits and Enter open the editor, and
    // a digit is the first one typed; any key opens the other editors.
    editing.keyOpens = [](int, int column, const QString &key) {
        if (column != kColRx && column != kColTx)
            return true;
        return key == QLatin1String("\r") || key.front().isDigit();
    };
    editing.keyTypes = [](int, int column, const QString &key) {
        return (column == kColRx || column == kColTx) && key.front().isDigit();
    };
    editing.hint = [this](int row, int column) {
        if ((column == kColDecode || column == kColEncode) && rowInUse(row) &&
            HasNonstandardTone(session_.state().data, row, column == kColEncode))
            return MainText(216);
        return QString();
    };
    editing.pressed = [this] { sTiShi_0->hide(); };
    editing.copy = [this] { copySelectedRows(); };
    editing.paste = [this] { pasteAtCurrentRow(); };
    grid->setEditing(std::move(editing));
    // How typing enters the frequency and name editors: the table's
    // columns (the tone box upper-cases its own keys).
    grid->useColumns(kChannelGridCells);
    grid->selectRowsByNumber();
    // A new signalling system is stored at once, resetting its number.
    connect(cbChInforSignalSys, &QComboBox::activated, this, [this](int index) {
        if (StringGrid1->activeEditor() != cbChInforSignalSys)
            return;
        const int row = StringGrid1->editRow();
        const QString text = QLatin1Char('#') + QString::number(index);
        session_.project.edit(CellStepName(row, kColSignalSystem),
                              [&](ProgramState &s) { return AssignChannelCell(s, row, kColSignalSystem, text); });
    });
    connect(bChBatchSet, &QPushButton::clicked, this, [this] { StringGrid1->finishEdit(); });

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

void ChannelPage::retranslate()
{
    for (int c = 0; c < kColumns; ++c)
        StringGrid1->setCellText(0, c, MainText(Column(kChannelGridCells, c).heading));
    sSoftwareVersionCaption->setText(MainText(174));
    sLastWriteTimeCaption->setText(MainText(175));
    sDeviceSnCaption->setText(MainText(179));
    sTiShi_0->setText(MainText(216));
    sTiShi_0->adjustSize();
    bChBatchSet->setText(MainText(169));
    RefillList(cbChInfor_Pow, ChannelListItems(kColPower));
    RefillList(cbChInfor_Bandwidth, ChannelListItems(kColBandwidth));
    RefillList(cbChInfor_SCN, ChannelListItems(kColScan));
    RefillList(cbChInfor_BusyFit, ChannelListItems(kColBusy));
    RefillList(cbChInforSignalSys, ChannelListItems(kColSignalSystem));
}

bool ChannelPage::rowInUse(int row) const { return IsChannelInUse(session_.state().data, row) && row >= 1; }

void ChannelPage::StringGridUpdataRow(int ch)
{
    if (ch < 1 || ch > kChannelCount)
        return;
    ++rowsDrawn_;
    for (int c = 1; c < kColumns; ++c)
        StringGrid1->setCellText(ch, c, ChannelCellText(session_.state().data, ch, c));
}

void ChannelPage::changed(const ProjectChange &change)
{
    const RadioData &d = session_.state().data;
    for (int ch = 1; ch <= kChannelCount; ++ch)
        if (change.touches(d.channels[ch], d) || change.touches(d.channelBits[ch / 8], d))
            StringGridUpdataRow(ch);
    // The firmware version shown above the table.
    if (change.touches(d.firmwareVersion, d))
        sSoftwareVersionDisp->setText(DecodeGbkField(d.firmwareVersion, 12));
}

bool ChannelPage::showChange(const ProjectChange &change)
{
    const RadioData &d = session_.state().data;
    for (int ch = 1; ch <= kChannelCount; ++ch) {
        if (change.touches(d.channels[ch], d) || change.touches(d.channelBits[ch / 8], d)) {
            StringGrid1->setCurrentGridCell(ch, std::max(StringGrid1->currentGridColumn(), 1));
            StringGrid1->scrollTo(StringGrid1->currentIndex());
            return true;
        }
    }
    return false;
}

void ChannelPage::copySelectedRows()
{
    const auto [first, last] = StringGrid1->selectedGridRows();
    if (first >= 1)
        QGuiApplication::clipboard()->setText(CopyChannelRows(session_.state().data, first, last));
}

void ChannelPage::pasteAtCurrentRow()
{
    const int row = StringGrid1->currentGridRow();
    const QString text = QGuiApplication::clipboard()->text();
    if (row < 1 || text.isEmpty())
        return;
    const PasteReport report = session_.project.edit(MainText(kTextPasteStep).toStdString(), [&](ProgramState &s) {
        return PasteChannelRows(s, row, text);
    });
    if (!report.error.isEmpty() || !report.skipped.empty())
        QMessageBox::warning(this, MainText(0), PasteReportText(report));
}

void ChannelPage::load()
{
    const ProgramState &s = session_.state();
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
    cbChInforSignalNo->addItems(ChannelListItems(kColSignalNumber, system));
}

QWidget *ChannelPage::openEditor(int row, int column)
{
    const RadioData &d = session_.state().data;
    // Only the receive frequency of an empty row can be typed (it creates
    // the channel).
    if (column != kColRx && !IsChannelInUse(d, row))
        return nullptr;
    const ChannelEntry &e = d.channels[row];
    const QString cellText = StringGrid1->cellText(row, column);
    switch (column) {
    case kColRx:
    case kColTx:
        Edit_ChFreq->setText(cellText);
        Edit_ChFreq->selectAll();
        return Edit_ChFreq;
    case kColDecode:
    case kColEncode:
        ComboBox1->setCurrentIndex(ComboBox1->findText(cellText));
        ComboBox1->setEditText(cellText);
        ComboBox1->lineEdit()->selectAll();
        return ComboBox1;
    case kColPower:
        cbChInfor_Pow->setCurrentIndex(PowerListIndex(PowerOf(e)));
        return cbChInfor_Pow;
    case kColBandwidth:
        cbChInfor_Bandwidth->setCurrentIndex(WideOf(e) ? 1 : 0);
        return cbChInfor_Bandwidth;
    case kColScan:
        cbChInfor_SCN->setCurrentIndex(ScanAddOf(e) ? 1 : 0);
        return cbChInfor_SCN;
    case kColBusy:
        cbChInfor_BusyFit->setCurrentIndex(BusyListIndex(BusyLockOf(e)));
        return cbChInfor_BusyFit;
    case kColSignalSystem:
        cbChInforSignalSys->setCurrentIndex(SignalSystemListIndex(SignalSystemOf(e)));
        return cbChInforSignalSys;
    case kColSignalNumber:
        // Only a channel with a signalling system has a number to choose.
        if (SignalSystemOf(e) == kSignalOff || SignalNumberCount(SignalSystemOf(e)) == 0)
            return nullptr;
        rebuildSignalNumbers(SignalSystemOf(e));
        cbChInforSignalNo->setCurrentIndex(SignalNumberListIndex(e));
        return cbChInforSignalNo;
    case kColName:
        Edit_ChName->setText(cellText);
        Edit_ChName->selectAll();
        return Edit_ChName;
    default:
        return nullptr;
    }
}

void ChannelPage::storeFrom(QWidget *editor, int row, int column)
{
    // The editor's text, or the position chosen in a list, goes through the
    // cell's one store rule, the same that `vkt410-cli set`, paste and the
    // import use.
    const QString text = Grid::EditorText(editor);
    const std::uint64_t revision = session_.project.revision();
    const AssignResult r = session_.project.edit(
        CellStepName(row, column), [&](ProgramState &s) { return AssignChannelCell(s, row, column, text); });
    if (!r.ok && editor == Edit_ChFreq) {
        // Not a frequency ("145."): the stored value stays, and the user is
        // told once the focus has settled where it was going.
        QTimer::singleShot(0, this, [this, text] { ShowFrequencyError(this, text); });
    }
    if (editor == ComboBox1 && ParseToneText(text.toStdString())) {
        if (HasNonstandardTone(session_.state().data, row, column == kColEncode)) {
            const QPoint at = ComboBox1->mapTo(this, QPoint(50, 20));
            sTiShi_0->move(at);
            sTiShi_0->show();
            sTiShi_0->raise();
        } else {
            sTiShi_0->hide();
        }
    }
    // A text the rules put back to the stored value changes no byte, so
    // the document redraws nothing: the row shows the stored value again.
    if (session_.project.revision() == revision)
        StringGridUpdataRow(row);
}

bool ChannelPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == sTiShi_0 && event->type() == QEvent::MouseButtonPress) {
        sTiShi_0->hide();
        return false;
    }
    return EditorPage::eventFilter(watched, event);
}

} // namespace vkt

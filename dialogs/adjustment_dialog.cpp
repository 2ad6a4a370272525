#include "adjustment_dialog.h"

#include "channel_edit.h"
#include "exchange.h"
#include "field_widgets.h"
#include "localisation.h"
#include "message_dialogs.h"
#include "program_dialog.h"
#include "project_file.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace vkt {

namespace {

QString Zh(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }
QString Zh(const char *text) { return QString::fromUtf8(text); }

constexpr int kRowHeight = 20;
const QString kFileFilter = QStringLiteral("Dorvi File(*.Dvfa)");

QString ChooseFile(QWidget *parent, bool save)
{
    QFileDialog dialog(parent, Zh(save ? "保存" : "打开"), QString(), kFileFilter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QString::fromLatin1(kAdjustmentExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front();
}

QPushButton *Button(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QLabel *Label(QWidget *parent, const QString &text)
{
    return new QLabel(text, parent);
}

} // namespace

TAdjustmentDlg::TAdjustmentDlg(ProgramState &state, PortSelection &ports, SerialLine &line, QWidget *parent)
    : QDialog(parent), state_(state), ports_(ports), line_(line)
{
    setObjectName("TAdjustmentDlg");
    setModal(true);
    setWindowTitle(Zh("调试"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    chooseOpenFile = [this] { return ChooseFile(this, false); };
    chooseSaveFile = [this] { return ChooseFile(this, true); };

    sgAPC = makeGrid(AdjTable::Apc, "sgAPC", {30, 70, 50, 50, 50},
                     {Zh("序号"), Zh("频率"), Zh("高功率"), Zh("中功率"), Zh("低功率")});
    sgTUNE = makeGrid(AdjTable::Tune, "sgTUNE", {30, 70, 50}, {Zh("序号"), Zh("频率"), Zh("调谐")});
    sgSQ = makeGrid(AdjTable::Sq, "sgSQ", {30, 70, 35, 45, 45, 60},
                    {Zh("序号"), Zh("频点以下"), Zh("SQ"), Zh("噪声"), Zh("窄带SQ"), Zh("窄带噪声")});

    eApcFreq = sgAPC->addLineEdit("eApcFreq");
    eFreq = sgTUNE->addLineEdit("eFreq");
    eSqFreq = sgSQ->addLineEdit("eSqFreq");
    cbApcValue = sgAPC->addList("cbApcValue");
    cbTuneValue = sgTUNE->addList("cbTuneValue");
    cbSqValue = sgSQ->addList("cbSqValue");
    cbSqNoise = sgSQ->addList("cbSqNoise");
    const auto fill = [](QComboBox *box, AdjCell kind) {
        for (const std::string &item : AdjListItems(kind))
            box->addItem(QString::fromStdString(item));
    };
    fill(cbApcValue, AdjCell::Value);
    fill(cbTuneValue, AdjCell::Value);
    fill(cbSqValue, AdjCell::SqOffset);
    fill(cbSqNoise, AdjCell::SqNoise);
    setUpEditing(sgAPC, AdjTable::Apc, eApcFreq);
    setUpEditing(sgTUNE, AdjTable::Tune, eFreq);
    setUpEditing(sgSQ, AdjTable::Sq, eSqFreq);

    // Batch change of the APC power columns.
    auto *batch = new QHBoxLayout;
    batch->addWidget(Label(this, Zh("批量增减 -->")));
    const struct {
        QPushButton *&del, *&add;
        const char *delName, *addName;
        int column;
    } steps[] = {{bApcHigh_del, bApcHigh_add, "bApcHigh_del", "bApcHigh_add", 2},
                 {bApcMid_del, bApcMid_add, "bApcMid_del", "bApcMid_add", 3},
                 {bApcLow_del, bApcLow_add, "bApcLow_del", "bApcLow_add", 4}};
    for (const auto &s : steps) {
        s.del = Button(this, s.delName, QStringLiteral("-"));
        s.add = Button(this, s.addName, QStringLiteral("+"));
        s.del->setFixedWidth(24);
        s.add->setFixedWidth(24);
        const int column = s.column;
        connect(s.del, &QPushButton::clicked, this, [this, column] { stepApc(column, -1); });
        connect(s.add, &QPushButton::clicked, this, [this, column] { stepApc(column, 1); });
        batch->addWidget(s.del);
        batch->addWidget(s.add);
    }
    batch->addStretch();

    // Single settings: wide group, narrow group, the rest.
    const auto settings = AdjSettings();
    auto *wide = new QGroupBox(Zh("宽带"), this);
    auto *narrow = new QGroupBox(Zh("窄带"), this);
    auto *other = new QGroupBox(this);
    auto *wideForm = new QGridLayout(wide);
    auto *narrowForm = new QGridLayout(narrow);
    auto *otherForm = new QGridLayout(other);
    for (std::size_t i = 0; i < settings.size(); ++i) {
        const AdjSetting &s = settings[i];
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(s.name.data(), qsizetype(s.name.size())));
        edit->setFixedWidth(45);
        edit->installEventFilter(this);
        const int index = int(i);
        const std::size_t maxLength = s.maxLength;
        connect(edit, &QLineEdit::textEdited, this, [edit, maxLength](const QString &text) {
            const QString cut = QString::fromStdString(CutAdjSettingText(text.toStdString(), maxLength));
            if (cut != text) {
                edit->setText(cut);
                edit->end(false);
            }
        });
        connect(edit, &QLineEdit::editingFinished, this, [this, index] { storeSetting(index); });
        settingEdits.push_back(edit);

        QString caption = Zh(s.caption);
        QGridLayout *form = otherForm;
        int row = 0;
        if (s.offset < 380) {
            form = wideForm;
            row = s.offset - 372;
        } else if (s.offset < 388) {
            form = narrowForm;
            row = s.offset - 380;
        } else {
            row = int(i) - 16;
            if (s.offset >= 395 && s.offset <= 398)
                caption = Zh("待机电压 ") + caption;
            else if (s.offset >= 399 && s.offset <= 402)
                caption = Zh("发射电压 ") + caption;
        }
        form->addWidget(Label(this, caption), row, 0);
        form->addWidget(edit, row, 1);
        QString hint;
        if (s.offset >= 388 && s.offset <= 390)
            hint = QStringLiteral("[0-127]");
        else if (s.offset == 393 || s.offset == 394)
            hint = QStringLiteral("[0-255]");
        else if (s.offset == 404 || s.offset == 405)
            hint = QStringLiteral("[0-31]");
        if (!hint.isEmpty())
            form->addWidget(Label(this, hint), row, 2);
    }

    // Lists: the two hidden narrow-band offsets and the brightness.
    auto *brightness = new QGroupBox(Zh("液晶亮度"), this);
    auto *brightnessForm = new QGridLayout(brightness);
    const auto lists = AdjLists();
    for (std::size_t i = 0; i < lists.size(); ++i) {
        const AdjList &l = lists[i];
        auto *box = new QComboBox(this);
        box->setObjectName(QString::fromLatin1(l.name.data(), qsizetype(l.name.size())));
        for (int n = 0; n < l.count; ++n)
            box->addItem(QString::fromStdString(AdjListItemText(l, n)));
        const int index = int(i);
        connect(box, &QComboBox::activated, this, [this, index](int position) {
            StoreAdjListValueIndex(state_.adjustment, AdjLists()[std::size_t(index)], position);
        });
        settingLists.push_back(box);
        if (l.visible) {
            brightnessForm->addWidget(Label(this, Zh(l.caption)), brightnessForm->rowCount(), 0);
            brightnessForm->addWidget(box, brightnessForm->rowCount() - 1, 1);
        } else {
            box->hide();
        }
    }

    auto *note = new QGroupBox(this);
    auto *noteLayout = new QVBoxLayout(note);
    for (const char *line : {"本对话框中，除了以下列出的几点，", "其他输入框的范围均为 0~255",
                             "* CTC DCS频偏的范围为 0~63", "* 频偏的范围为 0~127"})
        noteLayout->addWidget(Label(this, Zh(line)));

    sCurBatt = new QLabel(this);
    sCurBatt->setObjectName("sCurBatt");
    sCurVox = new QLabel(this);
    sCurVox->setObjectName("sCurVox");
    auto *status = new QGridLayout;
    status->addWidget(Label(this, Zh("当前电压值")), 0, 0);
    status->addWidget(sCurBatt, 0, 1);
    status->addWidget(Label(this, Zh("当前声控值")), 1, 0);
    status->addWidget(sCurVox, 1, 1);

    bNew = Button(this, "bNew", Zh("新建"));
    bOpen = Button(this, "bOpen", Zh("打开"));
    bSave = Button(this, "bSave", Zh("保存"));
    bRead = Button(this, "bRead", Zh("读取"));
    bWrite = Button(this, "bWrite", Zh("写入"));
    bAllWrite = Button(this, "bAllWrite", Zh("全写"));
    Read1846Status = Button(this, "Read1846Status", Zh("读机子状态"));
    OKBtn = Button(this, "OKBtn", Zh("确定"));
    OKBtn->hide();
    CancelBtn = Button(this, "CancelBtn", Zh("关闭"));
    connect(bNew, &QPushButton::clicked, this, &TAdjustmentDlg::bNewClick);
    connect(bOpen, &QPushButton::clicked, this, &TAdjustmentDlg::bOpenClick);
    connect(bSave, &QPushButton::clicked, this, &TAdjustmentDlg::bSaveClick);
    connect(bRead, &QPushButton::clicked, this, &TAdjustmentDlg::bReadClick);
    connect(bWrite, &QPushButton::clicked, this, &TAdjustmentDlg::bWriteClick);
    connect(bAllWrite, &QPushButton::clicked, this, &TAdjustmentDlg::bAllWriteClick);
    connect(Read1846Status, &QPushButton::clicked, this, &TAdjustmentDlg::Read1846StatusClick);
    // Every edit is already stored: the window only closes.
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    // Layout: the three tables across the top, the settings below.
    auto *apcColumn = new QVBoxLayout;
    apcColumn->addWidget(sgAPC);
    apcColumn->addLayout(batch);
    auto *tables = new QHBoxLayout;
    tables->addLayout(apcColumn);
    tables->addWidget(sgTUNE, 0, Qt::AlignTop);
    tables->addWidget(sgSQ, 0, Qt::AlignTop);
    auto *commands = new QVBoxLayout;
    for (QPushButton *b : {bNew, bOpen, bSave, bRead, bWrite, bAllWrite, Read1846Status, CancelBtn})
        commands->addWidget(b);
    commands->addLayout(status);
    commands->addStretch();
    tables->addLayout(commands);
    auto *lower = new QHBoxLayout;
    lower->addWidget(wide, 0, Qt::AlignTop);
    lower->addWidget(narrow, 0, Qt::AlignTop);
    lower->addWidget(other, 0, Qt::AlignTop);
    auto *right = new QVBoxLayout;
    right->addWidget(brightness);
    right->addWidget(note);
    right->addStretch();
    lower->addLayout(right);
    // The window is taller than many laptop screens: its contents scroll
    // when the screen has less room than they need.
    auto *content = new QWidget;
    auto *inner = new QVBoxLayout(content);
    inner->addLayout(tables);
    inner->addLayout(lower);
    inner->addWidget(OKBtn);
    auto *scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(content);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    content->adjustSize();
    QSize size = content->size() + QSize(4, 4);
    if (const QScreen *s = screen()) {
        const QSize room = s->availableGeometry().size() - QSize(40, 80);
        if (size.height() > room.height()) // room for the vertical scroll bar
            size.rwidth() += scroll->verticalScrollBar()->sizeHint().width();
        size = size.boundedTo(room);
    }
    resize(size);

    ShowAdjustmentData();
}

TAdjustmentDlg::~TAdjustmentDlg()
{
    sgAPC->endEditing();
    sgTUNE->endEditing();
    sgSQ->endEditing();
    for (QLineEdit *edit : settingEdits)
        edit->disconnect(this);
}

Grid *TAdjustmentDlg::makeGrid(AdjTable table, const char *name, std::initializer_list<int> widths,
                               const QStringList &headings)
{
    auto *grid = new Grid(AdjPoints(table) + 1, AdjColumns(table), this);
    grid->setObjectName(name);
    int c = 0;
    for (int w : widths)
        grid->setColumnSize(c++, w);
    // The frequency column keeps its width unless a nine-character
    // frequency would not fit in the font in use.
    const int frequencyWidth = grid->fontMetrics().horizontalAdvance(QStringLiteral("000.00000")) + 8;
    if (grid->columnSize(1) < frequencyWidth)
        grid->setColumnSize(1, frequencyWidth);
    for (int r = 0; r <= AdjPoints(table); ++r)
        grid->setRowSize(r, kRowHeight);
    grid->setHeadings(headings);
    grid->widenToHeadings();
    for (int r = 1; r <= AdjPoints(table); ++r)
        grid->setCellText(r, 0, QString::number(r));
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int frame = 2 * grid->frameWidth();
    grid->setFixedSize(grid->columnSize(0) + grid->horizontalHeader()->length() + frame,
                       grid->rowSize(0) + grid->verticalHeader()->length() + frame);
    return grid;
}

void TAdjustmentDlg::setUpEditing(Grid *grid, AdjTable table, QLineEdit *freqEditor)
{
    freqEditor->installEventFilter(this);
    connect(freqEditor, &QLineEdit::textEdited, this, [freqEditor](const QString &text) {
        const QString corrected =
            QString::fromStdString(CorrectFrequencyText(text.toStdString(), kAdjFreqMaxLength));
        if (corrected != text)
            freqEditor->setText(corrected);
        freqEditor->end(false);
    });
    Grid::Editing editing;
    editing.open = [this, table](int row, int column) { return openEditor(table, row, column); };
    editing.store = [this, table](QWidget *editor, int row, int column) { storeFrom(table, editor, row, column); };
    editing.keyOpens = [table](int, int column, const QString &key) {
        return AdjKeyOpens(table, column) && (key == QLatin1String("\r") || (!key.isEmpty() && key.front().isDigit()));
    };
    // A digit that opens a frequency editor is its first character.
    editing.keyTypes = [table](int, int column, const QString &) {
        return AdjCellKind(table, column) == AdjCell::Frequency;
    };
    editing.gesture = EditorGesture::Keys;
    grid->setEditing(std::move(editing));
}

Grid *TAdjustmentDlg::gridOf(AdjTable table) const
{
    switch (table) {
    case AdjTable::Apc: return sgAPC;
    case AdjTable::Tune: return sgTUNE;
    case AdjTable::Sq: return sgSQ;
    }
    return nullptr;
}

QWidget *TAdjustmentDlg::openEditor(AdjTable table, int row, int column)
{
    const AdjCell kind = AdjCellKind(table, column);
    if (kind == AdjCell::None || row < 1 || row > AdjPoints(table))
        return nullptr;
    if (kind == AdjCell::Frequency) {
        QLineEdit *e = table == AdjTable::Apc ? eApcFreq : table == AdjTable::Tune ? eFreq : eSqFreq;
        e->setText(gridOf(table)->cellText(row, column));
        e->selectAll();
        return e;
    }
    QComboBox *box = table == AdjTable::Apc    ? cbApcValue
                     : table == AdjTable::Tune ? cbTuneValue
                     : kind == AdjCell::SqOffset ? cbSqValue
                                                 : cbSqNoise;
    box->setCurrentIndex(AdjListIndex(state_.adjustment, table, row, column));
    return box;
}

void TAdjustmentDlg::storeFrom(AdjTable table, QWidget *editor, int row, int column)
{
    if (auto *e = qobject_cast<QLineEdit *>(editor)) {
        const QString typed = e->text();
        if (StoreAdjFreqText(state_.adjustment, table, row, typed.toStdString()) == AdjFreqStore::NotAFrequency)
            QTimer::singleShot(0, this, [this, typed] { ShowFrequencyError(this, typed); });
    } else if (auto *box = qobject_cast<QComboBox *>(editor)) {
        StoreAdjListIndex(state_.adjustment, table, row, column, box->currentIndex());
    }
    Grid *grid = gridOf(table);
    for (int c = 1; c < AdjColumns(table); ++c)
        grid->setCellText(row, c, QString::fromStdString(AdjCellText(state_.adjustment, table, row, c)));
}

void TAdjustmentDlg::showTable(AdjTable table)
{
    Grid *grid = gridOf(table);
    for (int r = 1; r <= AdjPoints(table); ++r)
        for (int c = 1; c < AdjColumns(table); ++c)
            grid->setCellText(r, c, QString::fromStdString(AdjCellText(state_.adjustment, table, r, c)));
}

void TAdjustmentDlg::ShowAdjustmentData()
{
    showTable(AdjTable::Apc);
    showTable(AdjTable::Tune);
    showTable(AdjTable::Sq);
    const auto settings = AdjSettings();
    for (std::size_t i = 0; i < settings.size(); ++i)
        settingEdits[i]->setText(QString::fromStdString(AdjSettingText(state_.adjustment, settings[i])));
    const auto lists = AdjLists();
    for (std::size_t i = 0; i < lists.size(); ++i)
        settingLists[i]->setCurrentIndex(AdjListValueIndex(state_.adjustment, lists[i]));
    sCurBatt->setText(QString::number(state_.adjustment.statusBattery));
    sCurVox->setText(QString::number(state_.adjustment.statusVox));
}

void TAdjustmentDlg::stepApc(int column, int delta)
{
    sgAPC->finishEdit();
    StepApcColumn(state_.adjustment, column, delta);
    for (int r = 1; r <= kApcPoints; ++r)
        sgAPC->setCellText(r, column, QString::fromStdString(AdjCellText(state_.adjustment, AdjTable::Apc, r, column)));
}

void TAdjustmentDlg::storeSetting(int index)
{
    const AdjSetting &s = AdjSettings()[std::size_t(index)];
    QLineEdit *edit = settingEdits[std::size_t(index)];
    const QString typed = edit->text();
    if (StoreAdjSettingText(state_.adjustment, s, typed.toStdString()) == AdjSettingStore::NotANumber)
        QTimer::singleShot(0, this, [this, typed] {
            QMessageBox::warning(this, windowTitle(), tr("\"%1\" is not a whole number.").arg(typed));
        });
    edit->setText(QString::fromStdString(AdjSettingText(state_.adjustment, s)));
}

void TAdjustmentDlg::endEdits()
{
    sgAPC->finishEdit();
    sgTUNE->finishEdit();
    sgSQ->finishEdit();
    for (std::size_t i = 0; i < settingEdits.size(); ++i)
        if (settingEdits[i]->hasFocus())
            storeSetting(int(i));
}

bool TAdjustmentDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent *>(event)->text();
        if (!text.isEmpty()) {
            const unsigned code = text.front().unicode();
            if (watched == eApcFreq || watched == eFreq || watched == eSqFreq) {
                if (!FrequencyKeyPasses(code))
                    return true;
            } else if (auto *e = qobject_cast<QLineEdit *>(watched);
                       e && std::find(settingEdits.begin(), settingEdits.end(), e) != settingEdits.end()) {
                if (!AdjSettingKeyPasses(code))
                    return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TAdjustmentDlg::bNewClick()
{
    endEdits();
    TMyWarnDlg_2 box(Zh("清除所有数据?"), Zh("确定"), Zh("取消"), this);
    if (box.exec() != QDialog::Accepted)
        return;
    SetAdjustmentDefaults(state_.adjustment);
    ShowAdjustmentData();
}

void TAdjustmentDlg::bOpenClick()
{
    endEdits();
    const QString path = chooseOpenFile ? chooseOpenFile() : QString();
    if (path.isEmpty())
        return;
    const LoadResult r = LoadAdjustmentFile(path.toStdString(), state_.adjustment);
    if (!r.opened) {
        QMessageBox::warning(this, Zh("打开"),
                             tr("%1 could not be read. %2")
                                 .arg(QFileInfo(path).fileName(), QString::fromStdString(r.error)));
        return;
    }
    ShowAdjustmentData();
}

void TAdjustmentDlg::bSaveClick()
{
    endEdits();
    const QString path = chooseSaveFile ? chooseSaveFile() : QString();
    if (path.isEmpty())
        return;
    const FileWriteResult w = SaveAdjustmentFile(path.toStdString(), state_.adjustment);
    if (!w.ok)
        QMessageBox::warning(this, Zh("保存"),
                             tr("The adjustment file was not saved. %1").arg(QString::fromStdString(w.error)));
}

bool TAdjustmentDlg::runExchange(int exchangeMode, bool read)
{
    endEdits();
    TProgramDialog dialog(state_, ports_, line_, exchangeMode, read, MainText(read ? 187 : 188), this);
    dialog.exec();
    return dialog.outcome() == ExchangeOutcome::Success;
}

void TAdjustmentDlg::bReadClick()
{
    if (runExchange(mode::kAdjustment, true))
        ShowAdjustmentData();
}

void TAdjustmentDlg::bWriteClick() { runExchange(mode::kAdjustment, false); }

void TAdjustmentDlg::bAllWriteClick() { runExchange(mode::kAllWrite, false); }

void TAdjustmentDlg::Read1846StatusClick()
{
    if (runExchange(mode::kStatus, true))
        ShowAdjustmentData();
}

} // namespace vkt

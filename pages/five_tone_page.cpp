#include "five_tone_page.h"

#include "app_session.h"
#include "channel_edit.h"
#include "field_texts.h"
#include "five_tone.h"
#include "gbk_text.h"
#include "localisation.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace vkt {

namespace {

constexpr int kText5ToneCaption = 244;
constexpr int kTextNumberHeading = 15; // "NO."
constexpr int kTextCode = 291;
constexpr int kTextType = 292;
constexpr std::size_t kNameBytes = sizeof(FiveToneSystem::name);

constexpr std::string_view kExtendedBoxNames[2] = {"cExtended_1st", "cExtended_2nd"};
constexpr std::string_view kExtendedTimeNames[2] = {"cbExtended_1st_time", "cbExtended_2nd_time"};

// Starting widths of the system grid's columns 0 to 7 and of each decode
// column; a heading that needs more widens its column.
constexpr int kSystemWidths[k5tColFirstDecode] = {35, 64, 60, 60, 60, 64, 70, 60};
constexpr int kDecodeColumnWidth = 42;

QString Std(const std::string &text) { return QString::fromStdString(text); }

QStringList ToList(const std::vector<std::string> &items)
{
    QStringList list;
    for (const std::string &item : items)
        list << Std(item);
    return list;
}

// Puts a list's items in (another language), keeping its selection.
void RefillList(QComboBox *list, const QStringList &items)
{
    const QSignalBlocker quiet(list);
    const int selected = list->currentIndex();
    list->clear();
    list->addItems(items);
    list->setCurrentIndex(selected < list->count() ? selected : -1);
}

bool IsHexKey(const QString &key) { return key.size() == 1 && key[0].unicode() < 128 && HexDigitValue(char(key[0].unicode())); }
bool IsDigitKey(const QString &key) { return key.size() == 1 && key[0] >= u'0' && key[0] <= u'9'; }

} // namespace

FiveTonePage::FiveTonePage(AppSession &session, QWidget *parent)
    : EditorPage(session, parent), fields_(new FieldBinder(session, this))
{
    setObjectName("FiveTonePage");
    PageControl_5T = new QTabWidget(this);
    PageControl_5T->setObjectName("PageControl_5T");
    auto tab = [this](const char *name) {
        auto *w = new QWidget;
        w->setObjectName(name);
        PageControl_5T->addTab(w, QString());
        return w;
    };
    tsOption_5T = tab("tsOption_5T");
    tsSystem_5T = tab("tsSystem_5T");
    tsDecode_5T = tab("tsDecode_5T");
    tsEncode_5T = tab("tsEncode_5T");

    buildOptions();

    // The tone list: only the two period rows are coloured and editable.
    sg5Tone_List = buildGrid(nullptr, kFiveToneListGridCells, "sg5Tone_List");
    for (int r = 1; r < kFiveToneListRows; ++r)
        for (int c = 1; c < kFiveToneListColumns; ++c)
            sg5Tone_List->item(r - 1, c - 1)->setBackground(r >= kTonePeriodRow ? Grid::kOddRowColour : QBrush());
    for (int c = 1; c < kFiveToneListColumns; ++c)
        sg5Tone_List->setColumnSize(c, 56);
    _5T_List_Time = sg5Tone_List->addLineEdit("_5T_List_Time");
    auto *option = static_cast<QHBoxLayout *>(tsOption_5T->layout());
    option->addWidget(sg5Tone_List, 1);

    sgSystem_5T = buildGrid(tsSystem_5T, kFiveToneSystemGridCells, "sgSystem_5T");
    for (int c = 0; c < kFiveToneSystemColumns; ++c)
        sgSystem_5T->setColumnSize(c, c < k5tColFirstDecode ? kSystemWidths[c] : kDecodeColumnWidth);
    e5T_Name = sgSystem_5T->addLineEdit("e5T_Name");
    cbSystemType = sgSystem_5T->addList("cbSystemType");
    for (const FiveToneStandard &st : kFiveToneStandards)
        cbSystemType->addItem(QString::fromUtf8(st.name.data(), qsizetype(st.name.size())));
    cbSystemCall_5T = sgSystem_5T->addList("cbSystemCall_5T");
    cbSystemId = sgSystem_5T->addList("cbSystemId");

    sgDecode_5T = buildGrid(tsDecode_5T, kFiveToneDecodeGridCells, "sgDecode_5T");
    sgDecode_5T->setColumnSize(kDecodeTypeColumn, 110);
    eDecodeCode = sgDecode_5T->addLineEdit("eDecodeCode");
    cbDecodeType = sgDecode_5T->addList("cbDecodeType");

    sgEncode_5T = buildGrid(tsEncode_5T, kFiveToneEncodeGridCells, "sgEncode_5T");
    eEncodeCode = sgEncode_5T->addLineEdit("eEncodeCode");

    for (Grid *g : {sg5Tone_List, sgSystem_5T, sgDecode_5T, sgEncode_5T})
        setEditing(g);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl_5T);
}

void FiveTonePage::buildOptions()
{
    FieldBinder &f = *fields_;
    auto *box = new QWidget(tsOption_5T);
    box->setObjectName("pOption_5T");
    auto *g = new QGridLayout(box);
    g->setVerticalSpacing(3);
    int row = 0;
    for (const Field &field : FiveToneFields()) {
        if (field.shown)
            f.addRows(g, {field.name}, 0, row++);
        else
            f.add(field.name, tsOption_5T); // kept hidden, outside the layout
    }
    g->setRowStretch(row, 1);
    if (auto *lead = control("eLeadIn_5T"))
        lead->setFixedWidth(60);
    if (auto *lead = control("eLeadOut_5T"))
        lead->setFixedWidth(60);

    for (int i = 0; i < 2; ++i) {
        extendedBoxes_[i] = qobject_cast<QCheckBox *>(control(kExtendedBoxNames[i]));
        extendedTimes_[i] = qobject_cast<QComboBox *>(control(kExtendedTimeNames[i]));
        if (extendedBoxes_[i])
            connect(extendedBoxes_[i], &QCheckBox::clicked, this, [this, i] { cExtendedClick(i); });
    }
    cExtended_1st = extendedBoxes_[0];
    cExtended_2nd = extendedBoxes_[1];
    cbExtended_1st_time = extendedTimes_[0];
    cbExtended_2nd_time = extendedTimes_[1];
    cbLast_gap_tone = qobject_cast<QComboBox *>(control("cbLast_gap_tone"));
    cbLast_gap_time = qobject_cast<QComboBox *>(control("cbLast_gap_time"));
    if (cbLast_gap_tone)
        connect(cbLast_gap_tone, &QComboBox::currentIndexChanged, this, [this] { showLastGapTime(); });
    f.stored = [this](const Field &left) { rowStored(left); };

    auto *option = new QHBoxLayout(tsOption_5T);
    option->addWidget(box, 0, Qt::AlignTop);
}

Grid *FiveTonePage::buildGrid(QWidget *tab, const GridCells &cells, const char *name)
{
    auto *grid = new Grid(cells.rows, cells.columns, tab);
    grid->setObjectName(name);
    if (tab) {
        auto *layout = new QHBoxLayout(tab);
        layout->addWidget(grid);
    }
    return grid;
}

QString FiveTonePage::caption() const { return MainText(kText5ToneCaption); }

QWidget *FiveTonePage::control(std::string_view name) const { return fields_->control(name); }

// ---- texts and loading -----------------------------------------------------------

void FiveTonePage::retranslate()
{
    fields_->retranslate();
    for (int i = 0; i < PageControl_5T->count(); ++i)
        PageControl_5T->setTabText(i, MainText(kTextSubPages[i]));

    // The tone list: the standards over their columns, the digits and the
    // two period captions before their rows.
    QStringList top{QString()};
    for (const FiveToneStandard &st : kFiveToneStandards)
        top << QString::fromUtf8(st.name.data(), qsizetype(st.name.size()));
    sg5Tone_List->setHeadings(top);
    for (int r = 1; r < kTonePeriodRow; ++r)
        sg5Tone_List->setCellText(r, 0, QString(QLatin1Char(HexDigit(unsigned(r - 1)))));
    sg5Tone_List->setCellText(kTonePeriodRow, 0, MainText(kTextTonePeriod));
    sg5Tone_List->setCellText(kGapPeriodRow, 0, MainText(kTextGapPeriod));
    const QFontMetrics metrics(sg5Tone_List->verticalHeader()->font());
    const int captions = std::max(metrics.horizontalAdvance(MainText(kTextTonePeriod)),
                                  metrics.horizontalAdvance(MainText(kTextGapPeriod)));
    sg5Tone_List->setColumnSize(0, std::max(sg5Tone_List->columnSize(0), captions + 16));

    QStringList systems;
    for (int t : kFiveToneHeadingTexts)
        systems << MainText(t);
    for (int n = 1; n <= kFiveToneDecodeEntries; ++n)
        systems << MainText(kTextDecodeHeading) + QString::number(n);
    sgSystem_5T->setHeadings(systems);
    sgDecode_5T->setHeadings({MainText(kTextNumberHeading), MainText(kTextCode), MainText(kTextType)});
    sgEncode_5T->setHeadings({MainText(kTextNumberHeading), MainText(kTextCode)});
    for (Grid *g : {sg5Tone_List, sgSystem_5T, sgDecode_5T, sgEncode_5T})
        g->widenToHeadings();

    QStringList types;
    for (int t : kDecodeTypeTexts)
        types << MainText(t);
    RefillList(cbDecodeType, types);
}

void FiveTonePage::load()
{
    fields_->load();
    showExtended(0);
    showExtended(1);
    showLastGapTime();
    for (int r = 1; r < kFiveToneListRows; ++r)
        drawRow(sg5Tone_List, r);
    sgSystem_5TUpdataRows();
    for (int e = 1; e <= kFiveToneDecodeEntries; ++e)
        sgDecode_5TUpdataRow(e);
    for (int e = 1; e <= kFiveToneEncodeEntries; ++e)
        sgEncode_5TUpdataRow(e);
}

void FiveTonePage::drawRow(Grid *grid, int row)
{
    const GridCells &cells = grid == sg5Tone_List ? kFiveToneListGridCells
                             : grid == sgSystem_5T ? kFiveToneSystemGridCells
                             : grid == sgDecode_5T ? kFiveToneDecodeGridCells
                                                   : kFiveToneEncodeGridCells;
    for (int c = 1; c < cells.columns; ++c)
        grid->setCellText(row, c, cells.shown(session_.state(), row, c));
}

void FiveTonePage::sgSystem_5TUpdataRow(int system)
{
    drawRow(sgSystem_5T, system);
}

void FiveTonePage::sgSystem_5TUpdataRows()
{
    for (int s = 1; s <= kFiveToneSystems; ++s)
        sgSystem_5TUpdataRow(s);
}

void FiveTonePage::sgDecode_5TUpdataRow(int entry) { drawRow(sgDecode_5T, entry); }
void FiveTonePage::sgEncode_5TUpdataRow(int entry) { drawRow(sgEncode_5T, entry); }

void FiveTonePage::sg5Tone_ListUpdataPeriods()
{
    drawRow(sg5Tone_List, kTonePeriodRow);
    drawRow(sg5Tone_List, kGapPeriodRow);
}

// ---- the option controls that depend on each other ---------------------------------

void FiveTonePage::cExtendedClick(int which)
{
    const Field *box = fields_->field(extendedBoxes_[which]);
    const Field *time = fields_->field(extendedTimes_[which]);
    if (!box || !time)
        return;
    // Stored at once, through the box's rule: the box and its list share
    // the byte, ticked it holds the first time (the list shows its first
    // item while the box is clear), cleared 0.
    fields_->store(box->name);
    fields_->load(time->name);
    showExtended(which);
}

void FiveTonePage::showExtended(int which)
{
    QCheckBox *box = extendedBoxes_[which];
    QComboBox *time = extendedTimes_[which];
    if (!box || !time)
        return;
    // Not ticked: the list is greyed out with its first item.
    if (!box->isChecked()) {
        const QSignalBlocker quiet(time);
        time->setCurrentIndex(0);
    }
    time->setEnabled(box->isChecked());
}

void FiveTonePage::showLastGapTime()
{
    // "OFF" (value 255) needs no last gap time.
    if (cbLast_gap_tone && cbLast_gap_time)
        cbLast_gap_time->setEnabled(cbLast_gap_tone->currentIndex() != 1);
}

void FiveTonePage::rowStored(const Field &left)
{
    // The extension boxes stored when they were clicked; leaving them
    // stores the same.
    for (int i = 0; i < 2; ++i)
        if (left.name == kExtendedBoxNames[i] && extendedBoxes_[i])
            showExtended(i);
    if (left.name == "cbLast_gap_tone")
        showLastGapTime();
}

// ---- grid editors ------------------------------------------------------------------

void FiveTonePage::setEditing(Grid *grid)
{
    Grid::Editing editing;
    editing.open = [this, grid](int row, int column) { return openEditor(grid, row, column); };
    editing.store = [this, grid](QWidget *editor, int row, int column) { storeEditor(grid, editor, row, column); };
    // The sending order and the flag columns change at once, on a
    // double-click or Enter.
    if (grid == sgSystem_5T) {
        editing.toggles = [](int, int column) { return FiveToneSystemCellClicks(column); };
        editing.toggle = [this, grid](int row, int column) {
            session_.project.edit(CellStepName(grid, row, column),
                                  [&](ProgramState &s) { ClickFiveToneSystemCell(s.data, row, column); });
            sgSystem_5TUpdataRow(row);
        };
    }
    // A code or period cell takes the digit that opened it as its first.
    editing.keyTypes = [this, grid](int row, int column, const QString &key) {
        if (grid == sg5Tone_List)
            return ToneListCellEditable(row, column) && IsDigitKey(key);
        return (grid == sgDecode_5T || grid == sgEncode_5T) && column == kFiveToneCodeColumn && IsHexKey(key);
    };
    grid->setEditing(std::move(editing));
    // A double-click or Enter opens an editor; how typing enters the
    // period, name and code editors: the table's columns.
    grid->useColumns(grid == sg5Tone_List ? kFiveToneListGridCells
                     : grid == sgSystem_5T ? kFiveToneSystemGridCells
                     : grid == sgDecode_5T ? kFiveToneDecodeGridCells
                                           : kFiveToneEncodeGridCells);
}

QWidget *FiveTonePage::openEditor(Grid *grid, int row, int column)
{
    const RadioData &d = session_.state().data;
    const QString cellText = grid->cellText(row, column);
    auto edit = [&cellText](QLineEdit *e) {
        e->setText(cellText);
        e->selectAll();
        return e;
    };
    if (grid == sg5Tone_List)
        return ToneListCellEditable(row, column) ? edit(_5T_List_Time) : nullptr;
    if (grid == sgDecode_5T || grid == sgEncode_5T) {
        if (column == kFiveToneCodeColumn)
            return edit(grid == sgDecode_5T ? eDecodeCode : eEncodeCode);
        cbDecodeType->setCurrentIndex(DecodeTypeIndex(d, row));
        return cbDecodeType;
    }
    switch (column) {
    case k5tColName: return edit(e5T_Name);
    case k5tColType: cbSystemType->setCurrentIndex(FiveToneStandardIndex(d, row)); return cbSystemType;
    case k5tColCall:
    case k5tColId: {
        // The list is rebuilt from the encode entries that have a code.
        QComboBox *list = column == k5tColCall ? cbSystemCall_5T : cbSystemId;
        list->clear();
        list->addItems(ToList(FiveToneCodeItems(d)));
        list->setCurrentIndex(FiveToneCodeIndex(d, row, column));
        return list;
    }
    default: return nullptr;
    }
}

void FiveTonePage::storeEditor(Grid *grid, QWidget *editor, int row, int column)
{
    // The cell's one store rule, the same `vkt410-cli set` uses.
    const GridCells &cells = grid == sg5Tone_List ? kFiveToneListGridCells
                             : grid == sgSystem_5T ? kFiveToneSystemGridCells
                             : grid == sgDecode_5T ? kFiveToneDecodeGridCells
                                                   : kFiveToneEncodeGridCells;
    const QString text = Grid::EditorText(editor);
    session_.project.edit(CellStepName(grid, row, column),
                          [&](ProgramState &s) { return cells.assign(s, row, column, text); });
    if (editor == _5T_List_Time)
        sg5Tone_ListUpdataPeriods();
    else if (grid == sgSystem_5T)
        sgSystem_5TUpdataRow(row);
    else
        drawRow(grid, row);
}

std::string FiveTonePage::CellStepName(const Grid *grid, int row, int column)
{
    return grid->objectName().toStdString() + "[" + std::to_string(row) + "][" + std::to_string(column) + "]";
}

bool FiveTonePage::showChange(const ProjectChange &change)
{
    const RadioData &d = session_.state().data;
    return fields_->touches(change) || change.touches(d.fiveToneSystems, d) || change.touches(d.fiveToneEncode, d) ||
           change.touches(d.fiveToneDecode, d) || change.touches(d.tonePeriods, d);
}

void FiveTonePage::commitEdits()
{
    for (Grid *grid : {sg5Tone_List, sgSystem_5T, sgDecode_5T, sgEncode_5T})
        grid->finishEdit();
    fields_->storeEdited();
}

} // namespace vkt

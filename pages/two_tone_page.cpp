#include "two_tone_page.h"

#include "app_session.h"
#include "channel_edit.h"
#include "field_binder.h"
#include "field_texts.h"
#include "gbk_text.h"
#include "localisation.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vkt {

namespace {

constexpr std::size_t kNameBytes = sizeof(TwoToneSystem::name);

QString FromStd(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

QWidget *SubPage(const char *name)
{
    auto *w = new QWidget;
    w->setObjectName(name);
    return w;
}

void Fill(QComboBox *list, const std::vector<std::string> &items)
{
    const QSignalBlocker quiet(list);
    list->clear();
    for (const std::string &item : items)
        list->addItem(FromStd(item));
}

// Selects the item that reads as the cell; in a tone list "---" is "Off".
void SelectCellText(QComboBox *list, const QString &text)
{
    list->setCurrentIndex(text == FromStd(kNoToneText) ? 0 : list->findText(text));
}

void SetWidths(Grid *grid, std::initializer_list<int> widths)
{
    int column = 0;
    for (int w : widths)
        grid->setColumnSize(column++, w);
}

bool IsTimeColumn(int column) { return column >= k2tColToneATime && column <= k2tColGroupTime; }

unsigned KeyCode(const QString &key) { return key.isEmpty() ? 0 : key.front().unicode(); }

} // namespace

TwoTonePage::TwoTonePage(AppSession &session, QWidget *parent)
    : EditorPage(session, parent), fields_(new FieldBinder(session, this))
{
    setObjectName("TwoTonePage");
    PageControl_2T = new QTabWidget(this);
    PageControl_2T->setObjectName("PageControl_2T");
    tsOption_2T = SubPage("tsOption_2T");
    tsSystem_2T = SubPage("tsSystem_2T");
    tsDecode_2T = SubPage("tsDecode_2T");
    tsEncode_2T = SubPage("tsEncode_2T");
    for (QWidget *sub : {tsOption_2T, tsSystem_2T, tsDecode_2T, tsEncode_2T})
        PageControl_2T->addTab(sub, QString());
    buildOptionPage();
    buildSystemPage();
    buildToneListPage(ToneList::Decode);
    buildToneListPage(ToneList::Encode);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl_2T);
}

QString TwoTonePage::caption() const { return MainText(kText2ToneCaption); }

QWidget *TwoTonePage::control(std::string_view name) const { return fields_->control(name); }

// ---- building --------------------------------------------------------------

void TwoTonePage::buildOptionPage()
{
    auto *delays = new QWidget(tsOption_2T);
    auto *rows = new QGridLayout(delays);
    rows->setContentsMargins(0, 0, 0, 0);
    fields_->addRows(rows, {"eLeadIn_2T", "eLeadOut_2T"});
    rows->setColumnStretch(2, 1);
    eLeadIn_2T = qobject_cast<QLineEdit *>(fields_->control("eLeadIn_2T"));
    eLeadOut_2T = qobject_cast<QLineEdit *>(fields_->control("eLeadOut_2T"));
    for (QLineEdit *e : {eLeadIn_2T, eLeadOut_2T})
        if (e)
            e->setFixedWidth(70);

    // The reference table: fixed texts, nothing to edit, no row colours.
    sg2Tone_List = new Grid(kToneTableRows, kToneTableColumns, tsOption_2T);
    sg2Tone_List->setObjectName("sg2Tone_List");
    sg2Tone_List->setSelectionMode(QAbstractItemView::NoSelection);
    for (int row = 0; row < kToneTableRows; ++row)
        for (int column = 0; column < kToneTableColumns; ++column) {
            sg2Tone_List->setCellText(row, column, FromStd(ToneTableCellText(row, column)));
            if (QTableWidgetItem *item = row && column ? sg2Tone_List->item(row - 1, column - 1) : nullptr)
                item->setData(Qt::BackgroundRole, QVariant());
        }
    sg2Tone_List->resizeColumnsToContents();
    for (int column = 1; column < kToneTableColumns; ++column)
        sg2Tone_List->setColumnSize(column, sg2Tone_List->columnSize(column) + 8);

    // Never shown: the two call selections of the radio's call-tone menu.
    gbCallTone_2T = new QGroupBox(tsOption_2T);
    gbCallTone_2T->setObjectName("gbCallTone_2T");
    auto *calls = new QGridLayout(gbCallTone_2T);
    sCall_1 = new QLabel(gbCallTone_2T);
    sCall_2 = new QLabel(gbCallTone_2T);
    cbCall_1 = new QComboBox(gbCallTone_2T);
    cbCall_2 = new QComboBox(gbCallTone_2T);
    sCall_1->setObjectName("sCall_1");
    sCall_2->setObjectName("sCall_2");
    cbCall_1->setObjectName("cbCall_1");
    cbCall_2->setObjectName("cbCall_2");
    calls->addWidget(sCall_1, 0, 0);
    calls->addWidget(cbCall_1, 0, 1);
    calls->addWidget(sCall_2, 1, 0);
    calls->addWidget(cbCall_2, 1, 1);
    gbCallTone_2T->hide();

    auto *layout = new QVBoxLayout(tsOption_2T);
    layout->addWidget(delays);
    layout->addWidget(sg2Tone_List, 1);
}

void TwoTonePage::buildSystemPage()
{
    Grid *grid = sgSystem_2T = new Grid(kSystemGridRows, kSystemGridColumns, tsSystem_2T);
    grid->setObjectName("sgSystem_2T");
    SetWidths(grid, {35, 60, 90, 60, 80, 80, 80, 100, 75, 65});
    for (int column = k2tColFirstDecode; column <= k2tColLastDecode; ++column)
        grid->setColumnSize(column, 45);

    e2T_Name = grid->addLineEdit("e2T_Name");
    cbSystemTable = grid->addList("cbSystemTable");
    cbSystemCall_2T = grid->addList("cbSystemCall_2T");
    eToneATime = grid->addLineEdit("eToneATime");
    eToneBTime = grid->addLineEdit("eToneBTime");
    eGroupTime = grid->addLineEdit("eGroupTime");
    cbAutoResetTime_2T = grid->addList("cbAutoResetTime_2T");
    Fill(cbSystemTable, SystemListItems(session_.state().data, k2tColType));
    Fill(cbAutoResetTime_2T, SystemListItems(session_.state().data, k2tColAutoResetTime));
    cbAutoResetTime_2T->setMaxVisibleItems(20);

    Grid::Editing editing;
    editing.open = [this](int row, int column) { return openSystemEditor(row, column); };
    editing.store = [this](QWidget *editor, int row, int column) { storeSystemEditor(editor, row, column); };
    // The flag columns flip on a double-click or Enter.
    editing.toggles = [](int, int column) { return SystemCellToggles(column); };
    editing.toggle = [this](int row, int column) { toggleSystemCell(row, column); };
    // The time columns open on Enter and on the keys they take.
    editing.keyOpens = [](int, int column, const QString &key) {
        return !IsTimeColumn(column) || key == QLatin1String("\r") || TimeKeyPasses(KeyCode(key));
    };
    editing.keyTypes = [](int, int column, const QString &) { return column == k2tColName || IsTimeColumn(column); };
    grid->setEditing(std::move(editing));
    // A double-click or Enter opens an editor; how typing enters the name
    // and time editors: the table's columns.
    grid->useColumns(kTwoToneSystemGridCells);

    auto *layout = new QVBoxLayout(tsSystem_2T);
    layout->addWidget(grid);
}

void TwoTonePage::buildToneListPage(ToneList list)
{
    const bool decode = list == ToneList::Decode;
    QWidget *page = decode ? tsDecode_2T : tsEncode_2T;
    auto *grid = new Grid(ToneListEntries(list) + 1, kToneListColumns, page);
    grid->setObjectName(decode ? "sgDecode_2T" : "sgEncode_2T");
    SetWidths(grid, {35, 80, 80});
    QComboBox *toneA = grid->addList(decode ? "cbDecodeToneA" : "cbEncodeToneA");
    QComboBox *toneB = grid->addList(decode ? "cbDecodeToneB" : "cbEncodeToneB");
    std::vector<std::string> items;
    for (int i = 0; i < kToneItemCount; ++i)
        items.emplace_back(ToneItemText(i));
    Fill(toneA, items);
    Fill(toneB, items);
    (decode ? sgDecode_2T : sgEncode_2T) = grid;
    (decode ? cbDecodeToneA : cbEncodeToneA) = toneA;
    (decode ? cbDecodeToneB : cbEncodeToneB) = toneB;

    Grid::Editing editing;
    editing.open = [this, list, grid, toneA, toneB](int row, int column) -> QWidget * {
        if (!ToneCellEditable(session_.state().data, list, row, column))
            return nullptr;
        QComboBox *box = column == kToneColumnA ? toneA : toneB;
        SelectCellText(box, grid->cellText(row, column));
        return box;
    };
    editing.store = [this, list, grid](QWidget *editor, int row, int column) {
        const GridCells &cells = list == ToneList::Decode ? kTwoToneDecodeGridCells : kTwoToneEncodeGridCells;
        const QString text = Grid::EditorText(editor);
        const std::string name = grid->objectName().toStdString() + "[" + std::to_string(row) + "][" +
                                 std::to_string(column) + "]";
        session_.project.edit(name, [&](ProgramState &s) { return cells.assign(s, row, column, text); });
        updateToneListRow(list, row);
    };
    grid->setEditing(std::move(editing));
    grid->useColumns(list == ToneList::Decode ? kTwoToneDecodeGridCells : kTwoToneEncodeGridCells);

    auto *layout = new QHBoxLayout(page);
    layout->addWidget(grid);
    layout->addStretch(1);
}

// ---- texts and loading -------------------------------------------------------

void TwoTonePage::retranslate()
{
    for (int i = 0; i < PageControl_2T->count(); ++i)
        PageControl_2T->setTabText(i, MainText(kTextSubPages[i]));
    gbCallTone_2T->setTitle(MainText(kTextCallTone));
    sCall_1->setText(MainText(kTextCall) + QLatin1Char('1'));
    sCall_2->setText(MainText(kTextCall) + QLatin1Char('2'));
    fields_->retranslate();

    QStringList headings;
    for (int text : kSystemHeadingTexts)
        headings << MainText(text);
    for (int entry = 1; entry <= kTwoToneDecodeEntries; ++entry)
        headings << MainText(kTextDecodeHeading) + QString::number(entry);
    sgSystem_2T->setHeadings(headings);
    QStringList listHeadings;
    for (int text : kToneListHeadingTexts)
        listHeadings << MainText(text);
    sgDecode_2T->setHeadings(listHeadings);
    sgEncode_2T->setHeadings(listHeadings);
    for (Grid *grid : {sgSystem_2T, sgDecode_2T, sgEncode_2T})
        grid->widenToHeadings();
}

void TwoTonePage::rebuildCallList(QComboBox *list, std::uint8_t call)
{
    Fill(list, CallItems(session_.state().data));
    const QSignalBlocker quiet(list);
    list->setCurrentIndex(CallIndex(session_.state().data, call));
}

void TwoTonePage::load()
{
    const RadioData &d = session_.state().data;
    fields_->load();
    rebuildCallList(cbCall_1, d.call1_2T);
    rebuildCallList(cbCall_2, d.call2_2T);
    for (int system = 1; system <= kTwoToneSystems; ++system)
        sgSystem_2TUpdataRow(system);
    for (ToneList list : {ToneList::Decode, ToneList::Encode})
        for (int entry = 1; entry <= ToneListEntries(list); ++entry)
            updateToneListRow(list, entry);
}

void TwoTonePage::sgSystem_2TUpdataRow(int system)
{
    for (int column = 1; column < kSystemGridColumns; ++column)
        sgSystem_2T->setCellText(system, column, kTwoToneSystemGridCells.shown(session_.state(), system, column));
}

void TwoTonePage::updateToneListRow(ToneList list, int entry)
{
    const GridCells &cells = list == ToneList::Decode ? kTwoToneDecodeGridCells : kTwoToneEncodeGridCells;
    Grid *grid = list == ToneList::Decode ? sgDecode_2T : sgEncode_2T;
    for (int column = kToneColumnA; column < kToneListColumns; ++column)
        grid->setCellText(entry, column, cells.shown(session_.state(), entry, column));
}

void TwoTonePage::sgDecode_2TUpdataRow(int entry) { updateToneListRow(ToneList::Decode, entry); }
void TwoTonePage::sgEncode_2TUpdataRow(int entry) { updateToneListRow(ToneList::Encode, entry); }

// ---- the system grid's editors -------------------------------------------------

QWidget *TwoTonePage::openSystemEditor(int system, int column)
{
    const QString text = sgSystem_2T->cellText(system, column);
    auto openEdit = [&text](QLineEdit *e) {
        e->setText(text);
        e->selectAll();
        return e;
    };
    switch (column) {
    case k2tColName: return openEdit(e2T_Name);
    case k2tColToneATime: return openEdit(eToneATime);
    case k2tColToneBTime: return openEdit(eToneBTime);
    case k2tColGroupTime: return openEdit(eGroupTime);
    case k2tColType: SelectCellText(cbSystemTable, text); return cbSystemTable;
    case k2tColAutoResetTime: SelectCellText(cbAutoResetTime_2T, text); return cbAutoResetTime_2T;
    case k2tColCall:
        // The list follows the encode entries in use; a call naming none
        // of them shows "Off".
        rebuildCallList(cbSystemCall_2T, session_.state().data.twoToneSystems[system - 1].call);
        return cbSystemCall_2T;
    default: return nullptr; // the flag columns flip instead (see the grid's toggle)
    }
}

void TwoTonePage::storeSystemEditor(QWidget *editor, int system, int column)
{
    // The cell's one store rule, the same `vkt410-cli set` uses.
    const QString text = Grid::EditorText(editor);
    session_.project.edit(SystemStepName(system, column), [&](ProgramState &s) {
        return kTwoToneSystemGridCells.assign(s, system, column, text);
    });
    sgSystem_2TUpdataRow(system);
}

void TwoTonePage::toggleSystemCell(int system, int column)
{
    session_.project.edit(SystemStepName(system, column),
                          [&](ProgramState &s) { ToggleSystemCell(s.data, system, column); });
    sgSystem_2TUpdataRow(system);
}

std::string TwoTonePage::SystemStepName(int system, int column)
{
    return "sgSystem_2T[" + std::to_string(system) + "][" + std::to_string(column) + "]";
}

bool TwoTonePage::showChange(const ProjectChange &change)
{
    const RadioData &d = session_.state().data;
    return fields_->touches(change) || change.touches(d.twoToneSystems, d) || change.touches(d.twoToneEncode, d) ||
           change.touches(d.twoToneDecode, d) || change.touches(d.call1_2T, d) || change.touches(d.call2_2T, d);
}

void TwoTonePage::commitEdits()
{
    for (Grid *grid : {sgSystem_2T, sgDecode_2T, sgEncode_2T})
        grid->finishEdit();
    fields_->storeEdited();
}

} // namespace vkt

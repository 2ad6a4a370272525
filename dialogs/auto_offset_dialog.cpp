#include "auto_offset_dialog.h"

#include "channel_edit.h"
#include "field_texts.h"
#include "field_widgets.h"
#include "localisation.h"
#include "offset_table.h"
#include "open_msg_dialog.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace vkt {

namespace {

constexpr int kColumnWidths[kOffsetGridColumns] = {35, 100, 100, 80, 120};

bool IsFrequencyColumn(int column) { return column == kOffColFrom || column == kOffColTo || column == kOffColOffset; }

} // namespace

TAutoOffsetDlg::TAutoOffsetDlg(Project &project, QWidget *parent) : QDialog(parent), project_(project)
{
    setObjectName("TAutoOffsetDlg");
    setModal(true);
    setWindowTitle(MainText(kTextSetAutoOffset));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    Grid *grid = sgAutoOffset = new Grid(kOffsetGridRows, kOffsetGridColumns, this);
    grid->setObjectName("sgAutoOffset");
    QStringList headings;
    for (int c = 0; c < kOffsetGridColumns; ++c) {
        grid->setColumnSize(c, kColumnWidths[c]);
        const std::string_view suffix = kOffsetHeadings[c].suffix;
        headings << MainText(kOffsetHeadings[c].text) + QString::fromLatin1(suffix.data(), qsizetype(suffix.size()));
    }
    grid->setHeadings(headings);
    grid->widenToHeadings();
    for (int row = 1; row <= kOffsetTableRows; ++row)
        grid->setCellText(row, 0, QString::number(row));

    eAutoOffsetFreq = grid->addLineEdit("eAutoOffsetFreq");
    cbAutoOffsetDir = grid->addList("cbAutoOffsetDir");
    for (std::string_view item : kDirectionItems)
        cbAutoOffsetDir->addItem(QString::fromLatin1(item.data(), qsizetype(item.size())));

    Grid::Editing editing;
    editing.open = [this](int row, int column) { return openEditor(row, column); };
    editing.store = [this](QWidget *editor, int row, int column) { storeFrom(editor, row, column); };
    // A digit or Enter opens a frequency cell, any key the direction; the
    // key itself is not typed into the editor.
    editing.keyOpens = [this](int row, int column, const QString &key) {
        if (!OffsetCellEditable(state_.data, row, column))
            return false;
        return !IsFrequencyColumn(column) || key == QLatin1String("\r") || key.front().isDigit();
    };
    editing.keyTypes = [](int, int, const QString &) { return false; };
    grid->setEditing(std::move(editing));
    // How typing enters the frequency editor: the table's columns.
    grid->useColumns(kAutoOffsetGridCells);

    // Showing the table empties the records of the entries not in use.
    project_.edit("sgAutoOffset", [](ProgramState &s) { ClearUnusedOffsetRows(s.data); });
    for (int row = 1; row <= kOffsetTableRows; ++row)
        sgAutoOffsetUpdataRow(row);

    bAutoOffser_Default = new QPushButton(MainText(kTextDefault), this);
    bAutoOffser_Default->setObjectName("bAutoOffser_Default");
    bAutoOffser_Default->setAutoDefault(false);
    OKBtn = new QPushButton(MainText(kTextOk), this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->hide();
    CancelBtn = new QPushButton(MainText(kTextCannel), this);
    CancelBtn->setObjectName("CancelBtn");
    CancelBtn->setAutoDefault(false);
    connect(bAutoOffser_Default, &QPushButton::clicked, this, &TAutoOffsetDlg::bAutoOffser_DefaultClick);
    // Every edit is already stored: Cancel only closes the window.
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    LayOutGridDialog(this, grid, {bAutoOffser_Default, nullptr, CancelBtn});
}

void TAutoOffsetDlg::sgAutoOffsetUpdataRow(int row)
{
    ShowGridRow(sgAutoOffset, kAutoOffsetGridCells, state_, row);
}

void TAutoOffsetDlg::bAutoOffser_DefaultClick()
{
    sgAutoOffset->finishEdit();
    project_.edit("bAutoOffser_Default", [](ProgramState &s) { RestoreDefaultOffsets(s.data, s.limits); });
    for (int row = 1; row <= kOffsetTableRows; ++row)
        sgAutoOffsetUpdataRow(row);
}

QWidget *TAutoOffsetDlg::openEditor(int row, int column)
{
    if (!OffsetCellEditable(state_.data, row, column))
        return nullptr;
    if (column == kOffColDirection) {
        cbAutoOffsetDir->setCurrentIndex(OffsetDirectionIndex(state_.data, row));
        return cbAutoOffsetDir;
    }
    eAutoOffsetFreq->setText(sgAutoOffset->cellText(row, column));
    eAutoOffsetFreq->selectAll();
    return eAutoOffsetFreq;
}

void TAutoOffsetDlg::storeFrom(QWidget *editor, int row, int column)
{
    // The cell's one store rule, the same `vkt410-cli set` uses.
    const QString typed = Grid::EditorText(editor);
    const std::string name = "sgAutoOffset[" + std::to_string(row) + "][" + std::to_string(column) + "]";
    const AssignResult r =
        project_.edit(name, [&](ProgramState &s) { return kAutoOffsetGridCells.assign(s, row, column, typed); });
    if (!r.ok && editor != cbAutoOffsetDir) {
        // The stored value stays; the user is told once the focus has
        // settled where it was going.
        QTimer::singleShot(0, this, [this, typed] { ShowFrequencyError(this, typed); });
    }
    sgAutoOffsetUpdataRow(row);
}

void TAutoOffsetDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    CentreOnScreen(this);
}

} // namespace vkt

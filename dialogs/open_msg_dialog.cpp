#include "open_msg_dialog.h"

#include "field_texts.h"
#include "localisation.h"
#include "message_lines.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace vkt {

namespace {

constexpr int kColumnWidths[kMessageGridColumns] = {0, 70, 70, 80, 160};

} // namespace

void LayOutGridDialog(QDialog *dialog, Grid *grid, std::initializer_list<QWidget *> buttons)
{
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int frame = 2 * grid->frameWidth();
    const int left = grid->verticalHeader()->isHidden() ? 0 : grid->columnSize(0);
    grid->setFixedSize(left + grid->horizontalHeader()->length() + frame,
                       grid->rowSize(0) + grid->verticalHeader()->length() + frame);
    auto *row = new QHBoxLayout;
    for (QWidget *b : buttons)
        b ? row->addWidget(b) : row->addStretch();
    auto *layout = new QVBoxLayout(dialog);
    layout->addWidget(grid);
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ShowGridRow(Grid *grid, const GridCells &cells, const ProgramState &state, int row)
{
    for (int c = 1; c < cells.columns; ++c)
        grid->setCellText(row, c, cells.shown(state, row, c));
}

void CentreOnScreen(QDialog *dialog)
{
    if (QScreen *s = dialog->screen()) {
        QRect r = dialog->frameGeometry();
        r.moveCenter(s->availableGeometry().center());
        dialog->move(r.topLeft());
    }
}

TOpenMsgDlg::TOpenMsgDlg(Project &project, QWidget *parent) : QDialog(parent), project_(project)
{
    setObjectName("TOpenMsgDlg");
    setModal(true);
    setWindowTitle(MainText(kTextEnglishOnly));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    Grid *grid = sgOpenMsgDefine = new Grid(kMessageGridRows, kMessageGridColumns, this);
    grid->setObjectName("sgOpenMsgDefine");
    // Column 0 (the numbers) has no width in this grid: its header is not
    // shown at all.
    grid->verticalHeader()->hide();
    for (int c = 1; c < kMessageGridColumns; ++c)
        grid->setColumnSize(c, kColumnWidths[c]);
    QStringList headings{QString()};
    for (int t : kMessageHeadingTexts)
        headings << MainText(t);
    grid->setHeadings(headings);
    grid->widenToHeadings();

    cbLine = grid->addList("cbLine");
    cbFont = grid->addList("cbFont");
    cbAlignment = grid->addList("cbAlignment");
    eWord = grid->addLineEdit("eWord");
    for (int n = 1; n <= kMessagePositions; ++n)
        cbLine->addItem(QString::number(n));
    for (int t : kFontItemTexts)
        cbFont->addItem(MainText(t));
    for (int t : kAlignmentItemTexts)
        cbAlignment->addItem(MainText(t));
    Grid::Editing editing;
    editing.open = [this](int row, int column) { return openEditor(row, column); };
    editing.store = [this](QWidget *editor, int row, int column) { storeFrom(editor, row, column); };
    grid->setEditing(std::move(editing));
    // A text longer than the line takes loses its last character at once:
    // the table's column.
    grid->useColumns(kOpenMsgGridCells);
    for (int line = 1; line <= kMessageLines; ++line)
        sgOpenMsgDefineUpdataRow(line);

    OKBtn = new QPushButton(MainText(kTextOk), this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(MainText(kTextCannel), this);
    CancelBtn->setObjectName("CancelBtn");
    // The edits are already stored: both buttons only close the window.
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    LayOutGridDialog(this, grid, {nullptr, OKBtn, CancelBtn});
}

void TOpenMsgDlg::sgOpenMsgDefineUpdataRow(int line)
{
    ShowGridRow(sgOpenMsgDefine, kOpenMsgGridCells, state_, line);
}

QWidget *TOpenMsgDlg::openEditor(int row, int column)
{
    if (column == kMsgColContent) {
        eWord->setText(sgOpenMsgDefine->cellText(row, column));
        eWord->end(false);
        return eWord;
    }
    QComboBox *list = column == kMsgColLine ? cbLine : column == kMsgColFont ? cbFont : cbAlignment;
    // A byte no entry shows opens the list without a selection.
    list->setCurrentIndex(MessageListIndex(state_.data, row, column));
    return list;
}

void TOpenMsgDlg::storeFrom(QWidget *editor, int row, int column)
{
    // The cell's one store rule, the same `vkt410-cli set` uses.
    const QString text = Grid::EditorText(editor);
    const std::string name = "sgOpenMsgDefine[" + std::to_string(row) + "][" + std::to_string(column) + "]";
    project_.edit(name, [&](ProgramState &s) { return kOpenMsgGridCells.assign(s, row, column, text); });
    sgOpenMsgDefineUpdataRow(row);
}

void TOpenMsgDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    CentreOnScreen(this);
}

} // namespace vkt

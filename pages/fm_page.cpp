#include "fm_page.h"

#include "app_session.h"
#include "channel_edit.h"
#include "field_texts.h"
#include "field_widgets.h"
#include "fm_edit.h"
#include "localisation.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace vkt {

namespace {

// Main-table texts of the page's own captions.
constexpr int kTextCaption = 220;               // "FM"

constexpr int kMemoryColumns = 2;
constexpr int kMemoryWidths[kMemoryColumns] = {35, 100};

} // namespace

FmPage::FmPage(AppSession &session, QWidget *parent)
    : EditorPage(session, parent), fields_(new FieldBinder(session, this))
{
    setObjectName("FmPage");
    FieldBinder &f = *fields_;

    // The memories.
    sgFmMemory = new Grid(kFmMemories + 1, kMemoryColumns, this);
    sgFmMemory->setObjectName("sgFmMemory");
    for (int c = 0; c < kMemoryColumns; ++c)
        sgFmMemory->setColumnSize(c, kMemoryWidths[c]);
    // As wide as its columns (the scroll bar beside them), no higher than its rows.
    sgFmMemory->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    sgFmMemory->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgFmMemory->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    sgFmMemory->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Maximum);
    eFmMemoryFreq = sgFmMemory->addLineEdit("eFmMemoryFreq");
    Grid::Editing editing;
    editing.open = [this](int row, int column) { return openEditor(row, column); };
    editing.store = [this](QWidget *, int row, int) { storeFrom(row); };
    // Only Enter opens the editor from the keyboard; a click opens it too.
    editing.keyOpens = [](int, int, const QString &key) { return key == QLatin1String("\r"); };
    sgFmMemory->setEditing(std::move(editing));
    // How typing enters the memory editor: the table's column.
    sgFmMemory->useColumns(kFmMemoryGridCells);

    // Bounds, step and current frequency.
    GroupBox5 = new QGroupBox(this);
    GroupBox5->setObjectName("GroupBox5");
    auto *group = new QGridLayout(GroupBox5);
    group->setVerticalSpacing(3);
    cbRadio_min = static_cast<QComboBox *>(f.add("cbRadio_min", GroupBox5));
    cbRadio_max = static_cast<QComboBox *>(f.add("cbRadio_max", GroupBox5));
    cbRadio_Step = static_cast<QComboBox *>(f.add("cbRadio_Step", GroupBox5));
    eRadio_Freq = static_cast<QLineEdit *>(f.add("eRadio_Freq", GroupBox5));
    sRadio_Limit = f.label("cbRadio_min");
    sRadio_Limit->setObjectName("sRadio_Limit");
    sRadio_Step = f.label("cbRadio_Step");
    sRadio_Freq = f.label("eRadio_Freq");
    sRadio_To = new QLabel(QStringLiteral("--"), GroupBox5);
    sRadio_To->setObjectName("sRadio_To");
    group->addWidget(sRadio_Limit, 0, 0);
    group->addWidget(cbRadio_min, 0, 1);
    group->addWidget(sRadio_To, 0, 2, Qt::AlignCenter);
    group->addWidget(cbRadio_max, 0, 3);
    group->addWidget(sRadio_Step, 1, 0);
    group->addWidget(cbRadio_Step, 1, 1);
    group->addWidget(sRadio_Freq, 2, 0);
    group->addWidget(eRadio_Freq, 2, 1);
    eRadio_Freq->setMaximumWidth(cbRadio_min->sizeHint().width() + 20);

    // The bounds store on every change; the others when they are left.
    connect(cbRadio_min, &QComboBox::currentIndexChanged, this, [this] { fields_->store("cbRadio_min"); });
    connect(cbRadio_max, &QComboBox::currentIndexChanged, this, [this] { fields_->store("cbRadio_max"); });

    auto *right = new QVBoxLayout;
    right->addWidget(GroupBox5);
    right->addStretch(1);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(sgFmMemory, 0, Qt::AlignTop);
    layout->addLayout(right);
    layout->addStretch(1);
}

QString FmPage::caption() const { return MainText(kTextCaption); }

QWidget *FmPage::control(std::string_view name) const { return fields_->control(name); }

void FmPage::retranslate()
{
    QStringList headings;
    for (int c = 0; c < kMemoryColumns; ++c)
        headings << MainText(Column(kFmMemoryGridCells, c).heading);
    sgFmMemory->setHeadings(headings);
    fields_->retranslate();
}

void FmPage::load()
{
    fields_->load();
    for (int m = 1; m <= kFmMemories; ++m)
        sgFmMemoryUpdataRow(m);
}

void FmPage::sgFmMemoryUpdataRow(int memory)
{
    if (memory >= 1 && memory <= kFmMemories)
        sgFmMemory->setCellText(memory, 1, FmMemoryCellText(session_.state().data, memory));
}

QWidget *FmPage::openEditor(int row, int column)
{
    if (column != 1)
        return nullptr;
    eFmMemoryFreq->setText(sgFmMemory->cellText(row, column));
    eFmMemoryFreq->selectAll();
    return eFmMemoryFreq;
}

void FmPage::storeFrom(int row)
{
    const QString typed = eFmMemoryFreq->text();
    const AssignResult result = session_.project.edit("sgFmMemory[" + std::to_string(row) + "][1]",
                                                      [&](ProgramState &s) { return kFmMemoryGridCells.assign(s, row, 1, typed); });
    if (!result.ok) {
        // The memory stays; the user is told once the focus has settled.
        QTimer::singleShot(0, this, [this, typed] { ShowFrequencyError(this, typed); });
    }
    sgFmMemoryUpdataRow(row);
}

// A bound's step may move the other bound and fit every FM frequency
// again: the rows and memories it changed are shown anew here.
void FmPage::changed(const ProjectChange &change)
{
    fields_->changed(change);
    const RadioData &d = session_.state().data;
    for (int m = 1; m <= kFmMemories; ++m)
        if (change.touches(d.fmMemories[m - 1], d))
            sgFmMemoryUpdataRow(m);
}

bool FmPage::showChange(const ProjectChange &change)
{
    const RadioData &d = session_.state().data;
    for (int m = 1; m <= kFmMemories; ++m) {
        if (change.touches(d.fmMemories[m - 1], d)) {
            sgFmMemory->setCurrentGridCell(m, 1);
            return true;
        }
    }
    return fields_->touches(change);
}

void FmPage::commitEdits()
{
    sgFmMemory->finishEdit();
    fields_->storeEdited();
}

} // namespace vkt

#include "dtmf_page.h"

#include "app_session.h"
#include "channel_edit.h"
#include "dtmf_edit.h"
#include "field_texts.h"
#include "gbk_text.h"
#include "localisation.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>


namespace vkt {

namespace {

// Main-table texts of the page's own captions.
constexpr int kTextAddressBookEdit = 129; // "Address Book Edit"

constexpr int kAddressColumns = 3;
// The address book always starts at these widths (number, name, code).
constexpr int kAddressWidths[kAddressColumns] = {34, 70, 130};

QGroupBox *Group(QWidget *parent, const char *name)
{
    auto *g = new QGroupBox(parent);
    g->setObjectName(name);
    return g;
}

QGridLayout *GroupGrid(QGroupBox *box)
{
    auto *g = new QGridLayout(box);
    g->setVerticalSpacing(3);
    return g;
}

} // namespace

DtmfEditPage::DtmfEditPage(AppSession &session, QWidget *parent)
    : EditorPage(session, parent), fields_(new FieldBinder(session, this))
{
    setObjectName("DtmfPage");
    FieldBinder &f = *fields_;

    // The address book.
    gbD_AddrBook = Group(this, "gbD_AddrBook");
    sgD_AddrBook = new Grid(kAddressBookCount + 1, kAddressColumns, gbD_AddrBook);
    sgD_AddrBook->setObjectName("sgD_AddrBook");
    for (int c = 0; c < kAddressColumns; ++c)
        sgD_AddrBook->setColumnSize(c, kAddressWidths[c]);
    // As wide as its columns, and no higher than its rows.
    sgD_AddrBook->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    sgD_AddrBook->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgD_AddrBook->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    sgD_AddrBook->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Maximum);
    eD_AddrBook_name = sgD_AddrBook->addLineEdit("eD_AddrBook_name");
    eD_AddrBook_id = sgD_AddrBook->addLineEdit("eD_AddrBook_id");
    auto *book = new QVBoxLayout(gbD_AddrBook);
    book->addWidget(sgD_AddrBook);

    Grid::Editing editing;
    editing.open = [this](int row, int column) { return openEditor(row, column); };
    editing.store = [this](QWidget *editor, int row, int column) { storeFrom(editor, row, column); };
    // Only Enter opens an editor from the keyboard; a click opens one too.
    editing.keyOpens = [](int, int, const QString &key) { return key == QLatin1String("\r"); };
    sgD_AddrBook->setEditing(std::move(editing));
    // How typing enters the name and code editors: the table's columns.
    sgD_AddrBook->useColumns(kAddressBookGridCells);

    // Encoding and decoding; the own ID's label is the same in every language.
    gbD_Code = Group(this, "gbD_Code");
    QGridLayout *code = GroupGrid(gbD_Code);
    f.addRows(code, {"cbD_EncodeMode"});
    sANI = new QLabel(QStringLiteral("ID"), gbD_Code);
    sANI->setObjectName("sANI");
    code->addWidget(sANI, 1, 0);
    code->addWidget(f.add("eANI", gbD_Code), 1, 1);
    sANI->setBuddy(control("eANI"));
    f.addRows(code, {"cSendANI", "cD_Subtone_match", "cD_SideTone", "cbGroupCode", "cbAutoReset", "cbDtmf_CleanCodeTime"},
              0, 2);

    gbD_Timing = Group(this, "gbD_Timing");
    f.addRows(GroupGrid(gbD_Timing),
              {"cbD_DigitSpeed", "cbD_PauseDuration", "cbD_FirstDelay", "cbD_Pretime", "cbD_Mi_Jing_Delay"});

    gbD_Remote = Group(this, "gbD_Remote");
    f.addRows(GroupGrid(gbD_Remote), {"cbDizzyState", "eDizzy", "eKill", "eActivation"});

    // Never shown: the DTMF switch and the moment the own ID is sent.
    f.add("cD_Control", this);
    f.add("cbD_WhenEncode", this);
    auto *whenLabel = new QLabel(QStringLiteral("PTT - ID"), this);
    whenLabel->setObjectName("sD_WhenEncode");
    whenLabel->hide();

    // Each member is the control of the row of its name.
#define BIND(member) member = static_cast<decltype(member)>(control(#member))
    BIND(cbD_EncodeMode);
    BIND(cbGroupCode);
    BIND(cbAutoReset);
    BIND(cbDtmf_CleanCodeTime);
    BIND(cbD_DigitSpeed);
    BIND(cbD_PauseDuration);
    BIND(cbD_FirstDelay);
    BIND(cbD_Pretime);
    BIND(cbD_Mi_Jing_Delay);
    BIND(cbDizzyState);
    BIND(eANI);
    BIND(eDizzy);
    BIND(eKill);
    BIND(eActivation);
    BIND(cSendANI);
    BIND(cD_Subtone_match);
    BIND(cD_SideTone);
    BIND(cD_Control);
    BIND(cbD_WhenEncode);
#undef BIND

    // The code edits hold up to 16 symbols, all in view; a-d are typed as A-D.
    for (QLineEdit *e : {eANI, eDizzy, eKill, eActivation}) {
        e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QString(int(kDtmfCodeMaxLength) + 1, u'#')) + 8);
        e->installEventFilter(this);
    }

    auto *content = new QWidget;
    auto *layout = new QHBoxLayout(content);
    layout->addWidget(gbD_AddrBook, 0, Qt::AlignTop);
    auto *middle = new QVBoxLayout;
    middle->addWidget(gbD_Code);
    middle->addStretch(1);
    layout->addLayout(middle);
    auto *right = new QVBoxLayout;
    right->addWidget(gbD_Timing);
    right->addWidget(gbD_Remote);
    right->addStretch(1);
    layout->addLayout(right);
    layout->addStretch(1);
    // A small screen or long texts scroll rather than cut anything off.
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName("DtmfScroll");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
}

QString DtmfEditPage::caption() const { return QStringLiteral("DTMF"); }

QWidget *DtmfEditPage::control(std::string_view name) const { return fields_->control(name); }

void DtmfEditPage::retranslate()
{
    gbD_AddrBook->setTitle(MainText(kTextAddressBookEdit));
    QStringList headings;
    for (int c = 0; c < kAddressColumns; ++c)
        headings << MainText(Column(kAddressBookGridCells, c).heading);
    sgD_AddrBook->setHeadings(headings);
    fields_->retranslate();
}

void DtmfEditPage::load()
{
    fields_->load();
    sgD_AddrBook->setUpdatesEnabled(false);
    for (int entry = 1; entry <= kAddressBookCount; ++entry)
        sgD_AddrBookUpdataRow(entry);
    sgD_AddrBook->setUpdatesEnabled(true);
}

void DtmfEditPage::sgD_AddrBookUpdataRow(int entry)
{
    if (entry < 1 || entry > kAddressBookCount)
        return;
    for (int column = 1; column < kAddressColumns; ++column)
        sgD_AddrBook->setCellText(entry, column, AddressBookCellText(session_.state().data, entry, column));
}

// ---- the address book's editors ------------------------------------------------

QWidget *DtmfEditPage::openEditor(int row, int column)
{
    QLineEdit *editor = nullptr;
    if (column == 1)
        editor = eD_AddrBook_name;
    else if (column == 2 && AddressCodeEditable(session_.state().data, row))
        editor = eD_AddrBook_id; // a code only in a row that shows a name
    if (!editor)
        return nullptr;
    editor->setText(sgD_AddrBook->cellText(row, column));
    editor->selectAll();
    return editor;
}

void DtmfEditPage::storeFrom(QWidget *editor, int row, int column)
{
    const std::string step = "sgD_AddrBook[" + std::to_string(row) + "][" + std::to_string(column) + "]";
    // The cell's one store rule, the same `vkt410-cli set` uses.
    const bool wasInUse = IsAddressBookInUse(session_.state().data, row);
    const QString text = Grid::EditorText(editor);
    session_.project.edit(step, [&](ProgramState &s) { return kAddressBookGridCells.assign(s, row, column, text); });
    sgD_AddrBookUpdataRow(row);
    // A new entry goes straight on to its code, once the grid has finished
    // with the name editor.
    if (column == 1 && !wasInUse && IsAddressBookInUse(session_.state().data, row))
        QTimer::singleShot(0, this, [this, row] { openCodeOfNewEntry(row); });
}

void DtmfEditPage::openCodeOfNewEntry(int row)
{
    // Not when the name editor was left for another control (or a command
    // moved the focus away to store it): the user has gone on elsewhere.
    const QWidget *focus = QApplication::focusWidget();
    if (!isVisible() || (focus && focus != sgD_AddrBook && !sgD_AddrBook->isAncestorOf(focus)))
        return;
    if (!AddressCodeEditable(session_.state().data, row))
        return;
    sgD_AddrBook->placeEditor(row, 2);
    // Leaving the code of a new entry stores it even untouched: an empty
    // code takes the entry out of use again.
    sgD_AddrBook->markEdited();
}

void DtmfEditPage::changed(const ProjectChange &change)
{
    fields_->changed(change);
    const RadioData &d = session_.state().data;
    for (int entry = 1; entry <= kAddressBookCount; ++entry)
        if (change.touches(d.addrBook[entry], d) || change.touches(d.addrBookBits[entry / 8], d))
            sgD_AddrBookUpdataRow(entry);
}

bool DtmfEditPage::showChange(const ProjectChange &change)
{
    const RadioData &d = session_.state().data;
    for (int entry = 1; entry <= kAddressBookCount; ++entry) {
        if (change.touches(d.addrBook[entry], d) || change.touches(d.addrBookBits[entry / 8], d)) {
            sgD_AddrBook->setCurrentGridCell(entry, std::max(sgD_AddrBook->currentGridColumn(), 1));
            return true;
        }
    }
    return fields_->touches(change);
}

void DtmfEditPage::commitEdits()
{
    sgD_AddrBook->finishEdit();
    fields_->storeEdited();
}

bool DtmfEditPage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return EditorPage::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const QString text = key->text();
    if (text.size() != 1)
        return EditorPage::eventFilter(watched, event);
    const unsigned code = text.front().unicode();
    const bool codeEdit = watched == eANI || watched == eDizzy || watched == eKill || watched == eActivation;
    if (!codeEdit)
        return EditorPage::eventFilter(watched, event);
    if (!DtmfKeyPasses(code))
        return true;
    if (code < 128 && DtmfKey(char(code)) != char(code)) {
        // a-d are typed as A-D, where the caret is.
        QKeyEvent upper(QEvent::KeyPress, key->key(), key->modifiers(), QString(QChar(DtmfKey(char(code)))),
                        key->isAutoRepeat(), key->count());
        QCoreApplication::sendEvent(watched, &upper);
        return true;
    }
    return false;
}

} // namespace vkt

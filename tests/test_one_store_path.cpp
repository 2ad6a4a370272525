// The window and the command line store the same bytes, and nothing is
// stored that the user did not change.
//
// Driven through the main window on the offscreen platform with real key,
// wheel and mouse events: every control of the table of fields and every
// grid cell typed or chosen in the window stores what `vkt410-cli set`'s
// rules store for the same text; focus passing through every control and
// every cell editor, a redraw, a language switch and another application
// taking the focus leave a record byte-equal, whatever it held.
#include "channel_edit.h"
#include "codeplug.h"
#include "field_texts.h"
#include "fields.h"
#include "localisation.h"
#include "main_window.h"
#include "message_answer.h"
#include "message_lines.h"
#include "open_msg_dialog.h"
#include "auto_offset_dialog.h"
#include "offset_table.h"
#include "pages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTest>
#include <QWheelEvent>

#include "project_arrange.h"
#include "window_fixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace vkt {
namespace {

bool Same(const RadioData &a, const RadioData &b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Where two records differ, for a failure message.
std::string Differences(const RadioData &a, const RadioData &b)
{
    std::ostringstream out;
    for (const ByteRange &r : DifferingRanges(a, b))
        out << " 0x" << std::hex << r.offset << "+" << std::dec << r.size;
    return out.str();
}

// A record as a read of a radio whose memory holds random bytes gives it:
// values outside every list, bytes that are not GBK, flags with stray bits.
ProgramState FuzzedState(unsigned seed)
{
    ProgramState s;
    SetDefaultAll(s);
    std::mt19937 random(seed);
    for (std::uint8_t &b : s.image.bytes)
        b = std::uint8_t(random());
    BandLimits limits = s.limits;
    SetDataToSoftware(s.image, s.data, s.limits, s.identity);
    s.limits = limits; // the window's own limits stay
    return s;
}

// Types characters one at a time as key events, each with its text (also
// characters outside Latin-1, which QTest::keyClicks cannot send).
void TypeText(QWidget *w, const QString &text)
{
    for (char32_t c : text.toUcs4()) {
        const QString piece = QString::fromUcs4(&c, 1);
        const int key = c < 128 && QChar(c).isLetterOrNumber() ? int(QChar(c).toUpper().unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key(key), piece, Qt::NoModifier);
    }
}

// Makes a control reachable: every stacked page (tab) on the way up to
// the window shows the one that holds it.
void Reveal(QWidget *w)
{
    for (QWidget *child = w; child && child->parentWidget(); child = child->parentWidget())
        if (auto *stack = qobject_cast<QStackedWidget *>(child->parentWidget()))
            stack->setCurrentWidget(child);
}

class OneStorePathTest : public WindowTest {
protected:
    // The record as a read would bring it: one step of the project.
    void read(const ProgramState &s) { session->project.replace(s, "Read from radio"); }
    const RadioData &data() const { return session->state().data; }
    // Leaves whatever has the focus for the hidden button, as a click on a
    // part of the window that takes no input does.
    void leave() { window->bHide->setFocus(Qt::MouseFocusReason); }

    QWidget *control(std::string_view name) const
    {
        return window->findChild<QWidget *>(QString::fromUtf8(name.data(), qsizetype(name.size())));
    }
    // A control the user can reach now: shown, enabled, on its page.
    QWidget *reachable(const Field &f)
    {
        QWidget *w = control(f.name);
        if (!w || !f.shown)
            return nullptr;
        Reveal(w);
        return w->isVisible() && w->isEnabled() ? w : nullptr;
    }
};

// ---- nothing stored that the user did not change ----------------------------------------

// The step lists are the one control whose leaving stores without a
// change: leaving either stores both VFO steps, a step without an item
// becoming 100 kHz.
RadioData WithTheExceptions(RadioData d)
{
    for (std::string_view name : {"cbStep", "cbStep_B"}) {
        const Field &f = *FindField(name);
        StoreIndex(f, d, LoadIndex(f, d));
    }
    return d;
}

TEST_F(OneStorePathTest, FocusPassingThroughEveryControlAndEditorStoresNothing)
{
    for (unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        read(FuzzedState(seed));
        const RadioData before = data();

        // Every control of the table of fields gets the focus and loses it
        // again, as tabbing through the pages does.
        int controls = 0;
        for (const Field &f : AllFields()) {
            QWidget *w = reachable(f);
            if (!w)
                continue;
            w->setFocus(Qt::TabFocusReason);
            ++controls;
        }
        leave();
        EXPECT_GT(controls, 90);
        EXPECT_TRUE(Same(data(), WithTheExceptions(before))) << Differences(data(), WithTheExceptions(before));

        // Every cell editor of every grid of the pages is opened as a press
        // or a key opens it, and left without a key.
        const RadioData settled = data();
        int editors = 0;
        for (Grid *grid : window->findChildren<Grid *>()) {
            Reveal(grid);
            for (int column = 1; column < grid->gridColumns(); ++column) {
                for (int row : {1, 2, grid->gridRows() / 2, grid->gridRows() - 1}) {
                    grid->placeEditor(row, column);
                    if (!grid->activeEditor())
                        continue;
                    ++editors;
                    // Leaving in turn by Tab, by Enter and by a click elsewhere.
                    switch (editors % 3) {
                    case 0: QTest::keyClick(grid->activeEditor(), Qt::Key_Tab); break;
                    case 1: QTest::keyClick(grid->activeEditor(), Qt::Key_Return); break;
                    default: leave(); break;
                    }
                    grid->finishEdit();
                }
            }
        }
        EXPECT_GT(editors, 100);
        EXPECT_TRUE(Same(data(), settled)) << Differences(data(), settled);

        // Redraws and language switches only read.
        for (LangId id : {LangId(1), LangId(2), LangId(0)})
            window->setLanguage(id);
        window->RefreshMainWindow();
        EXPECT_TRUE(Same(data(), settled)) << Differences(data(), settled);
    }
}

// The cases as users met them: each kept exactly as loaded when the focus
// passes through its control.
TEST_F(OneStorePathTest, ValuesFromARadioOrAFileSurviveTheFocusPassing)
{
    ProgramState s = session->state();
    s.data.firstToneExtension = 30;                        // 3000 ms: no item of the list
    std::memcpy(s.data.powerOnPassword, "AB12CD", 6);     // six characters, not digits
    s.data.messageLines[0].text[0] = 0xE9;                // a lone lead byte: not GBK
    s.data.messageLines[0].text[1] = 0;
    read(s);
    const RadioData before = data();
    for (std::string_view name : {"cExtended_1st", "cbExtended_1st_time", "ePasswordEdit"}) {
        const Field *f = FindField(name);
        ASSERT_NE(f, nullptr) << name;
        if (QWidget *w = reachable(*f))
            w->setFocus(Qt::TabFocusReason);
    }
    leave();
    EXPECT_TRUE(Same(data(), before)) << Differences(data(), before);

    // The message line's editor opened and left.
    TOpenMsgDlg dialog(session->project, window.get());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.sgOpenMsgDefine->placeEditor(1, kMsgColContent);
    ASSERT_NE(dialog.sgOpenMsgDefine->activeEditor(), nullptr);
    QTest::keyClick(dialog.sgOpenMsgDefine->activeEditor(), Qt::Key_Return);
    EXPECT_TRUE(Same(data(), before)) << Differences(data(), before);
}

// Another application taking the focus is not leaving the control: the
// half-typed value waits, and is stored when the user leaves it inside the
// window (or a command ends the edit).
TEST_F(OneStorePathTest, AnotherApplicationTakingTheFocusStoresNothing)
{
    QWidget *page = window->optionsPage;
    window->PageControl->setCurrentWidget(page);
    auto *freq = qobject_cast<QLineEdit *>(control("eFr_Freq_A"));
    ASSERT_NE(freq, nullptr);
    const RadioData before = data();
    QTest::mouseClick(freq, Qt::LeftButton);
    freq->selectAll();
    QTest::keyClicks(freq, "14");

    QWidget other;
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    QApplication::setActiveWindow(&other);
    QApplication::processEvents();
    EXPECT_TRUE(Same(data(), before)) << "stored while another application was active";
    EXPECT_EQ(freq->text(), "14");

    QApplication::setActiveWindow(window.get());
    QApplication::processEvents();
    EXPECT_EQ(freq->text(), "14") << "the typing is still there";
    QTest::keyClicks(freq, "6.5");
    leave();
    EXPECT_EQ(data().vfoA.rxFreq.get(), 146500000u);

    // A command ends an edit that the other application interrupted.
    QTest::mouseClick(freq, Qt::LeftButton);
    freq->selectAll();
    QTest::keyClicks(freq, "147");
    QApplication::setActiveWindow(&other);
    QApplication::processEvents();
    EXPECT_EQ(data().vfoA.rxFreq.get(), 146500000u);
    const fs::path saved = dir / "saved.Dvf";
    window->chooseSaveFile = [&] { return QString::fromStdString(saved.string()); };
    ASSERT_TRUE(window->MenuFile_SaveClick());
    EXPECT_EQ(data().vfoA.rxFreq.get(), 147000000u);
    EXPECT_EQ(fs::file_size(saved), sizeof(RadioData));

    // The same in a cell editor: it stays open with what was typed.
    QApplication::setActiveWindow(window.get());
    window->PageControl->setCurrentWidget(window->channelPage);
    Grid *grid = window->channelPage->StringGrid1;
    grid->setFocus();
    grid->setCurrentGridCell(5, kColRx);
    QTest::keyClick(grid, Qt::Key_1);
    QTest::keyClicks(QApplication::focusWidget(), "4");
    QApplication::setActiveWindow(&other);
    QApplication::processEvents();
    EXPECT_FALSE(IsChannelInUse(data(), 5)) << "stored while another application was active";
    EXPECT_EQ(grid->activeEditor(), window->channelPage->Edit_ChFreq);
    QApplication::setActiveWindow(window.get());
    QApplication::processEvents();
    QTest::keyClicks(window->channelPage->Edit_ChFreq, "5");
    QTest::keyClick(window->channelPage->Edit_ChFreq, Qt::Key_Return);
    EXPECT_EQ(data().channels[5].rxFreq.get(), 145000000u);
}

// ---- the window and `set` store the same bytes -------------------------------------------

// Chooses the first ("#0") or the last item of a list with one key (Home
// or End). A list that shows it already is chosen again as the opened
// list's item is (the offscreen platform cannot click into an opened
// list): the list says it was activated, without a change of position.
void ChooseItem(QComboBox *box, const QString &text)
{
    const bool first = text == u"#0";
    const int wanted = first ? 0 : box->count() - 1;
    if (box->currentIndex() != wanted)
        QTest::keyClick(box, first ? Qt::Key_Home : Qt::Key_End);
    else
        emit box->activated(wanted);
}

// Empties a text field as typing does (the field counts as changed even
// when it was empty), then types `text`.
void TypeOver(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClick(edit, Qt::Key_1);
    QTest::keyClick(edit, Qt::Key_Backspace);
    TypeText(edit, text);
}

// What the user does to put `text` into a control: a list's item chosen
// with keys ("#N"), a box ticked or not, a radio button clicked, a text
// typed over the old one; then the control is left.
void Enter(QWidget *w, const Field &f, const QString &text)
{
    w->setFocus(Qt::TabFocusReason);
    switch (f.kind) {
    case FieldKind::List: ChooseItem(static_cast<QComboBox *>(w), text); break;
    case FieldKind::Check:
        if (static_cast<QAbstractButton *>(w)->isChecked() != (text == u"1"))
            QTest::keyClick(w, Qt::Key_Space);
        break;
    case FieldKind::Radio: QTest::keyClick(w, Qt::Key_Space); break; // clicks it
    case FieldKind::Edit: {
        auto *box = qobject_cast<QComboBox *>(w);
        TypeOver(box ? box->lineEdit() : static_cast<QLineEdit *>(w), text);
        break;
    }
    }
}

// The texts each kind of control is given: valid ones, out of range,
// empty, and characters the control does not take.
QStringList TextsFor(const Field &f, const RadioData &d)
{
    switch (f.kind) {
    case FieldKind::List: return {QStringLiteral("#0"), QStringLiteral("#%1").arg(ItemCount(f, d) - 1)};
    case FieldKind::Check: return {QStringLiteral("1"), QStringLiteral("0")};
    case FieldKind::Radio: return {QStringLiteral("1")};
    case FieldKind::Edit: break;
    }
    switch (f.rule) {
    case FieldRule::Frequency:
    case FieldRule::Offset:
    case FieldRule::FmFrequency:
        return {QStringLiteral("145.5"), QStringLiteral("999"), QStringLiteral("14"), QString(),
                QStringLiteral("1x4.5"), QStringLiteral("12.34567")};
    case FieldRule::Tone:
        return {QStringLiteral("88.5"), QStringLiteral("d023n"), QStringLiteral("66.6"), QStringLiteral("xyz"),
                QString()};
    default:
        return {QStringLiteral("123456"), QStringLiteral("99999999"), QString(), QStringLiteral("AB*#"),
                QStringLiteral("中文9")};
    }
}

TEST_F(OneStorePathTest, EveryControlStoresWhatSetStoresForTheSameText)
{
    ProgramState start = FuzzedState(7);
    start.data.stepA = 7000; // no item: leaving either step list stores 100 kHz
    read(start);
    const ProgramState opened = session->state();
    MessageAnswer messages; // "cannot be read as a frequency"
    int cases = 0;
    for (const Field &f : AllFields()) {
        for (const QString &text : TextsFor(f, opened.data)) {
            if (!Same(data(), opened.data))
                session->project.reset(opened);
            QWidget *w = reachable(f);
            if (!w)
                break;
            SCOPED_TRACE(testing::Message() << f.name << " = \"" << text.toStdString() << "\"");
            Enter(w, f, text);
            leave();
            QApplication::processEvents();
            ProgramState set = opened; // the window speaks English, as set reads list texts
            AssignText(f, set, text);
            EXPECT_TRUE(Same(data(), set.data))
                << "window and set differ at" << Differences(data(), set.data) << " window shows \""
                << ShownText(f, session->state()).toStdString() << "\", set \"" << ShownText(f, set).toStdString()
                << "\"";
            ++cases;
        }
    }
    EXPECT_GT(cases, 240);
}

// The text an editor is given in a grid: typed into a text editor, or a
// list's first or last item chosen with keys.
QStringList CellTexts(QWidget *editor)
{
    if (auto *box = qobject_cast<QComboBox *>(editor); box && !box->isEditable())
        return {QStringLiteral("#0"), QStringLiteral("#%1").arg(box->count() - 1)};
    return {QStringLiteral("145.5"), QStringLiteral("2"), QString(), QStringLiteral("12A34567F"),
            QStringLiteral("d023n"), QStringLiteral("中文AB")};
}

void EnterCell(QWidget *editor, const QString &text)
{
    if (auto *box = qobject_cast<QComboBox *>(editor); box && !box->isEditable()) {
        ChooseItem(box, text);
        return;
    }
    auto *box = qobject_cast<QComboBox *>(editor);
    QLineEdit *edit = box ? box->lineEdit() : qobject_cast<QLineEdit *>(editor);
    ASSERT_NE(edit, nullptr);
    TypeOver(edit, text);
}

TEST_F(OneStorePathTest, EveryGridCellStoresWhatSetStoresForTheSameText)
{
    ProgramState start = FuzzedState(11);
    read(start);
    const ProgramState opened = session->state();
    MessageAnswer messages;
    int cases = 0;
    for (const GridCells &cells : AllGrids()) {
        auto *grid = window->findChild<Grid *>(QString::fromUtf8(cells.name.data(), qsizetype(cells.name.size())));
        if (!grid)
            continue; // the options page's dialogs: their own tests
        for (int column = 1; column < cells.columns; ++column) {
            for (int row : {1, cells.rows - 1}) {
                if (!Same(data(), opened.data))
                    session->project.reset(opened);
                Reveal(grid);
                grid->placeEditor(row, column);
                QWidget *editor = grid->activeEditor();
                if (!editor)
                    continue;
                const QStringList texts = CellTexts(editor);
                grid->cancelEdit();
                for (const QString &text : texts) {
                    if (!Same(data(), opened.data))
                        session->project.reset(opened);
                    SCOPED_TRACE(testing::Message() << cells.name << "[" << row << "][" << column << "] = \""
                                                    << text.toStdString() << "\"");
                    grid->placeEditor(row, column);
                    ASSERT_NE(grid->activeEditor(), nullptr);
                    EnterCell(grid->activeEditor(), text);
                    QTest::keyClick(grid->activeEditor(), Qt::Key_Return);
                    QApplication::processEvents();
                    ProgramState set = opened;
                    cells.assign(set, row, column, text);
                    EXPECT_TRUE(Same(data(), set.data)) << "window and set differ at" << Differences(data(), set.data);
                    ++cases;
                }
            }
        }
    }
    EXPECT_GT(cases, 100);
}

// ---- grid keys and the wheel ------------------------------------------------------------

class ChannelKeysTest : public OneStorePathTest {
protected:
    void SetUp() override
    {
        OneStorePathTest::SetUp();
        ProgramState s = session->state();
        for (int ch : {22, 23})
            MakeNewChannel(s.data, ch, 145000000 + 25000u * ch, s.limits);
        read(s);
        page = window->channelPage;
        window->PageControl->setCurrentWidget(page);
        grid = page->StringGrid1;
    }
    ChannelPage *page = nullptr;
    Grid *grid = nullptr;
};

// The highlighted cell is always the one being edited: Down in an open
// editor stores it and takes the editor to the row below.
TEST_F(ChannelKeysTest, UpAndDownMoveTheEditorWithTheHighlight)
{
    const std::uint32_t ch22 = data().channels[22].rxFreq;
    grid->setFocus();
    grid->setCurrentGridCell(22, kColRx);
    QTest::keyClick(grid, Qt::Key_Return);
    ASSERT_EQ(page->activeEditor(), page->Edit_ChFreq);
    QTest::keyClick(page->Edit_ChFreq, Qt::Key_Down);
    EXPECT_EQ(grid->currentGridRow(), 23);
    EXPECT_EQ(grid->editRow(), 23);
    ASSERT_EQ(page->activeEditor(), page->Edit_ChFreq);
    page->Edit_ChFreq->selectAll();
    QTest::keyClicks(page->Edit_ChFreq, "148");
    QTest::keyClick(page->Edit_ChFreq, Qt::Key_Return);
    EXPECT_EQ(data().channels[23].rxFreq.get(), 148000000u);
    EXPECT_EQ(data().channels[22].rxFreq.get(), ch22) << "the row left behind is as it was";

    // Empty rows: 146, Down, Down, 147 fills two channels, never "146147".
    grid->setCurrentGridCell(30, kColRx);
    QTest::keyClick(grid, Qt::Key_1); // opens the editor and is its first digit
    QTest::keyClicks(QApplication::focusWidget(), "46");
    ASSERT_EQ(page->activeEditor(), page->Edit_ChFreq);
    QTest::keyClick(page->Edit_ChFreq, Qt::Key_Down);
    QTest::keyClick(page->Edit_ChFreq, Qt::Key_Down);
    EXPECT_EQ(grid->currentGridRow(), 32);
    ASSERT_EQ(page->activeEditor(), page->Edit_ChFreq);
    QTest::keyClicks(page->Edit_ChFreq, "147");
    QTest::keyClick(page->Edit_ChFreq, Qt::Key_Return);
    EXPECT_EQ(data().channels[30].rxFreq.get(), 146000000u);
    EXPECT_FALSE(IsChannelInUse(data(), 31)) << "passed over without typing";
    EXPECT_EQ(data().channels[32].rxFreq.get(), 147000000u);
    EXPECT_EQ(page->StringGrid1->cellText(32, kColRx), "147.00000");

    // Up from the first row stays there and keeps the highlight on it.
    grid->setCurrentGridCell(1, kColName);
    grid->placeEditor(1, kColRx);
    QTest::keyClick(page->Edit_ChFreq, Qt::Key_Up);
    EXPECT_EQ(grid->currentGridRow(), 1);
}

TEST_F(ChannelKeysTest, EscClosesTheEditorWithoutStoring)
{
    const RadioData before = data();
    grid->placeEditor(22, kColName);
    ASSERT_EQ(page->activeEditor(), page->Edit_ChName);
    QTest::keyClicks(page->Edit_ChName, "XYZ");
    QTest::keyClick(page->Edit_ChName, Qt::Key_Escape);
    EXPECT_EQ(page->activeEditor(), nullptr);
    EXPECT_TRUE(Same(data(), before)) << Differences(data(), before);
    EXPECT_EQ(grid->cellText(22, kColName), "");
    grid->placeEditor(22, kColRx);
    QTest::keyClicks(page->Edit_ChFreq, "150");
    QTest::keyClick(page->Edit_ChFreq, Qt::Key_Escape);
    EXPECT_TRUE(Same(data(), before)) << Differences(data(), before);
}

// A wheel rolled over a list on its way down the page changes nothing; a
// list the user has clicked into takes the wheel.
TEST_F(OneStorePathTest, ListsTakeTheWheelOnlyWithTheFocus)
{
    window->PageControl->setCurrentWidget(window->optionsPage);
    const RadioData before = data();
    auto wheel = [](QWidget *w, int steps) {
        const QPointF at = QPointF(w->rect().center());
        QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, -120 * steps), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &e);
    };
    for (const char *name : {"cbSQL", "cbVOX", "cbWaitColor"}) {
        auto *box = qobject_cast<QComboBox *>(control(name));
        ASSERT_NE(box, nullptr) << name;
        leave();
        const int shown = box->currentIndex();
        wheel(box, 1);
        EXPECT_EQ(box->currentIndex(), shown) << name;
        leave();
        EXPECT_TRUE(Same(data(), before)) << name << Differences(data(), before);
    }
    auto *sql = qobject_cast<QComboBox *>(control("cbSQL"));
    sql->setFocus(Qt::MouseFocusReason);
    const int shown = sql->currentIndex();
    wheel(sql, 1);
    EXPECT_EQ(sql->currentIndex(), shown + 1);
    leave();
    EXPECT_EQ(data().squelchLevel, before.squelchLevel + 1);
}

// ---- rules that belong to their row -----------------------------------------------------

TEST_F(OneStorePathTest, EitherStepListStoresBothStepsInTheWindowAndInSet)
{
    ProgramState s = session->state();
    s.data.stepA = 7000;
    read(s);
    const ProgramState opened = session->state();
    ProgramState set = opened;
    ASSERT_TRUE(AssignText(*FindField("cbStep_B"), set, QStringLiteral("25K")).ok);
    EXPECT_EQ(set.data.stepA.get(), 100000u);
    EXPECT_EQ(set.data.stepB.get(), 25000u);

    window->PageControl->setCurrentWidget(window->optionsPage);
    auto *stepB = qobject_cast<QComboBox *>(control("cbStep_B"));
    stepB->setFocus(Qt::TabFocusReason);
    QTest::keyClick(stepB, Qt::Key_Home);
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(stepB, Qt::Key_Down);
    leave();
    EXPECT_TRUE(Same(data(), set.data)) << Differences(data(), set.data);
}

TEST_F(OneStorePathTest, TheOffsetTableEmptiesItsUnusedEntriesInTheWindowAndInSet)
{
    ProgramState s = session->state();
    std::memset(&s.data.offsetTable[12], 0x5A, sizeof s.data.offsetTable[12]); // entry 13, not in use
    ClearOffsetRowInUse(s.data, 12);
    read(s);
    const ProgramState opened = session->state();
    ProgramState set = opened;
    ASSERT_TRUE(kAutoOffsetGridCells.assign(set, 9, 1, QStringLiteral("145.6")).ok);
    EXPECT_EQ(set.data.offsetTable[12].start.get(), 0u);

    TAutoOffsetDlg dialog(session->project, window.get());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QApplication::setActiveWindow(&dialog);
    Grid *grid = dialog.sgAutoOffset;
    grid->placeEditor(9, 1);
    ASSERT_EQ(grid->activeEditor(), dialog.eAutoOffsetFreq);
    QTest::keyClicks(dialog.eAutoOffsetFreq, "145.6");
    QTest::keyClick(dialog.eAutoOffsetFreq, Qt::Key_Return);
    EXPECT_TRUE(Same(data(), set.data)) << Differences(data(), set.data);
}

// ---- the document tells the pages what changed ------------------------------------------

TEST_F(ChannelKeysTest, ACellEditRedrawsOnlyItsRow)
{
    const long before = page->rowsDrawn();
    grid->placeEditor(22, kColName);
    QTest::keyClicks(page->Edit_ChName, "NEW");
    QTest::keyClick(page->Edit_ChName, Qt::Key_Return);
    EXPECT_EQ(data().channels[22].name[0], 'N');
    EXPECT_EQ(page->rowsDrawn() - before, 1);
    EXPECT_EQ(grid->cellText(22, kColName), "NEW");

    // Undo of the step puts the bytes back and redraws that row only.
    const long beforeUndo = page->rowsDrawn();
    ASSERT_TRUE(session->project.undo());
    EXPECT_EQ(grid->cellText(22, kColName), "");
    EXPECT_EQ(page->rowsDrawn() - beforeUndo, 1);
}

} // namespace
} // namespace vkt

// Undo and redo in the window: Ctrl+Z takes back the last step of the
// project byte for byte and shows the page it changed; Ctrl+Y and
// Ctrl+Shift+Z do it again; the menu names the step.
#include "channel_edit.h"
#include "message_answer.h"
#include "pages.h"
#include "window_fixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>

#include <cstring>
#include <functional>

namespace vkt {
namespace {

bool Same(const RadioData &a, const RadioData &b) { return std::memcmp(&a, &b, sizeof a) == 0; }

class UndoTest : public WindowTest {
protected:
    const RadioData &data() const { return session->state().data; }
    void leave() { window->bHide->setFocus(Qt::MouseFocusReason); }
    void typeInto(const char *name, const char *text)
    {
        auto *edit = window->findChild<QLineEdit *>(name);
        ASSERT_NE(edit, nullptr) << name;
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, text);
        leave();
    }
    void typeIntoCell(Grid *grid, int row, int column, const char *text)
    {
        grid->placeEditor(row, column);
        ASSERT_NE(grid->activeEditor(), nullptr);
        QTest::keyClicks(grid->activeEditor(), text);
        QTest::keyClick(grid->activeEditor(), Qt::Key_Return);
        leave();
    }
    void ctrl(Qt::Key key, Qt::KeyboardModifiers more = {})
    {
        QTest::keyClick(window.get(), key, Qt::ControlModifier | more);
    }
};

// One typed edit on each page, then the other page shown: Ctrl+Z puts the
// record back and shows the page again, Ctrl+Y does the edit again.
TEST_F(UndoTest, CtrlZUndoesATypedEditOnEveryPageAndShowsIt)
{
    struct Case {
        const char *page;
        std::function<QWidget *()> shown;
        std::function<void()> edit;
    };
    const Case cases[] = {
        {"channels", [&] { return window->channelPage; },
         [&] { typeIntoCell(window->channelPage->StringGrid1, 3, kColRx, "145.5"); }},
        {"options", [&] { return window->optionsPage; },
         [&] {
             auto *sql = window->findChild<QComboBox *>("cbSQL");
             sql->setFocus(Qt::MouseFocusReason);
             QTest::keyClick(sql, Qt::Key_End);
             leave();
         }},
        {"DTMF", [&] { return window->dtmfPage; }, [&] { typeInto("eDizzy", "123"); }},
        {"two-tone", [&] { return window->findChild<QWidget *>("TwoTonePage"); },
         [&] { typeInto("eLeadIn_2T", "600"); }},
        {"five-tone", [&] { return window->findChild<QWidget *>("FiveTonePage"); },
         [&] { typeInto("eLeadIn_5T", "700"); }},
        {"FM", [&] { return window->findChild<QWidget *>("FmPage"); },
         [&] { typeIntoCell(window->findChild<Grid *>("sgFmMemory"), 1, 1, "100.5"); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.page);
        QWidget *page = c.shown();
        ASSERT_NE(page, nullptr);
        window->PageControl->setCurrentWidget(page);
        const RadioData before = data();
        c.edit();
        const RadioData after = data();
        ASSERT_FALSE(Same(before, after)) << "the edit stored nothing";
        EXPECT_TRUE(window->MenuEdit_Undo->isEnabled());
        EXPECT_TRUE(window->MenuEdit_Undo->text().startsWith(QStringLiteral("&Undo: ")))
            << window->MenuEdit_Undo->text().toStdString();
        if (page == window->optionsPage) {
            EXPECT_EQ(window->MenuEdit_Undo->text(), QStringLiteral("&Undo: SQL")) << "named as the window labels it";
        }

        // Another page is shown; the undo brings the edited one back.
        window->PageControl->setCurrentIndex(page == window->channelPage ? 1 : 0);
        ctrl(Qt::Key_Z);
        EXPECT_TRUE(Same(data(), before));
        EXPECT_EQ(window->PageControl->currentWidget(), page);

        window->PageControl->setCurrentIndex(page == window->channelPage ? 1 : 0);
        ctrl(Qt::Key_Y);
        EXPECT_TRUE(Same(data(), after));
        EXPECT_EQ(window->PageControl->currentWidget(), page);
        ctrl(Qt::Key_Z);
        ctrl(Qt::Key_Z, Qt::ShiftModifier); // the other redo key
        EXPECT_TRUE(Same(data(), after));
    }
}

// Undo shows the row of a channel it changed, and a step that replaced the
// whole record (New) is one step too; a new start has nothing to undo.
TEST_F(UndoTest, UndoShowsTheRowAndTakesBackNew)
{
    Grid *grid = window->channelPage->StringGrid1;
    typeIntoCell(grid, 40, kColRx, "146.5");
    grid->setCurrentGridCell(1, kColName);
    window->PageControl->setCurrentWidget(window->optionsPage);
    ctrl(Qt::Key_Z);
    EXPECT_EQ(window->PageControl->currentWidget(), window->channelPage);
    EXPECT_EQ(grid->currentGridRow(), 40);
    EXPECT_FALSE(IsChannelInUse(data(), 40));

    ctrl(Qt::Key_Y);
    const RadioData edited = data();
    {
        ModalAnswer yes("TMyWarnDlg_2", Click("OKBtn"));
        window->MenuFile_New->trigger();
    }
    EXPECT_FALSE(IsChannelInUse(data(), 40));
    EXPECT_EQ(window->MenuEdit_Undo->text(), QStringLiteral("&Undo: New"));
    QApplication::setActiveWindow(window.get()); // back from the question
    ctrl(Qt::Key_Z);
    EXPECT_TRUE(Same(data(), edited)) << "New is one step";
    EXPECT_EQ(grid->cellText(40, kColRx), "146.50000");
}

// The title names the project's file and marks a project changed since it
// was opened, saved, read or made new; taking every step back unmarks it.
TEST_F(UndoTest, TitleNamesTheFileAndMarksChanges)
{
    const QString program = QStringLiteral("Brelmoran VKT410");
    EXPECT_EQ(window->windowTitle(), program);
    typeInto("eLeadIn_2T", "600");
    EXPECT_EQ(window->windowTitle(), QLatin1Char('*') + program);
    ctrl(Qt::Key_Z);
    EXPECT_EQ(window->windowTitle(), program) << "back where it started";
    ctrl(Qt::Key_Y);

    const QString saved = QString::fromStdString((dir / "club.Dvf").string());
    window->chooseSaveFile = [&] { return saved; };
    ctrl(Qt::Key_S);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("club.Dvf - ") + program);
    typeInto("eLeadIn_5T", "700");
    EXPECT_EQ(window->windowTitle(), QStringLiteral("*club.Dvf - ") + program);
    ctrl(Qt::Key_Z);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("club.Dvf - ") + program);

    window->chooseOpenFile = [&] { return saved; };
    ctrl(Qt::Key_Y);
    ctrl(Qt::Key_O);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("club.Dvf - ") + program) << "opened, so unchanged";
    EXPECT_TRUE(window->MenuEdit_Undo->isEnabled()) << "the open is a step of its own";
    {
        ModalAnswer yes("TMyWarnDlg_2", Click("OKBtn"));
        window->MenuFile_New->trigger();
    }
    EXPECT_EQ(window->windowTitle(), program);
    EXPECT_EQ(window->MenuFile_New->shortcut(), QKeySequence(QKeySequence::New));
}

} // namespace
} // namespace vkt

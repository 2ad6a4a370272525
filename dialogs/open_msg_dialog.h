// The power-on message: four lines, each with its line position, font,
// alignment and up to 16 characters. Every edit is stored when its editor
// is left; OK and Cancel only close the window.
#pragma once

#include "field_texts.h"
#include "grid.h"
#include "program_state.h"
#include "project.h"

#include <QDialog>

#include <initializer_list>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace vkt {

class TOpenMsgDlg : public QDialog {
public:
    TOpenMsgDlg(Project &project, QWidget *parent = nullptr);
    ~TOpenMsgDlg() override { sgOpenMsgDefine->endEditing(); }

    // Shows one message line (1..4) from the stored data.
    void sgOpenMsgDefineUpdataRow(int line);

    Grid *sgOpenMsgDefine;
    QComboBox *cbLine, *cbFont, *cbAlignment;
    QLineEdit *eWord;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *openEditor(int row, int column);
    void storeFrom(QWidget *editor, int row, int column);

    Project &project_;
    const ProgramState &state_ = project_.state();
};

// Shared by both grid dialogs of the options page.
inline constexpr int kTextOk = 153;     // "Ok"
inline constexpr int kTextCannel = 154; // "Cannel", as the program has always spelt it
// The grid exactly as large as its cells (nothing scrolls) with a row of
// buttons below it; a nullptr among the buttons is a stretch.
void LayOutGridDialog(QDialog *dialog, Grid *grid, std::initializer_list<QWidget *> buttons);
// Shows a row's body cells as the grid's cell functions give them.
void ShowGridRow(Grid *grid, const GridCells &cells, const ProgramState &state, int row);
// Centres a dialog on its screen.
void CentreOnScreen(QDialog *dialog);

} // namespace vkt

// The adjustment window: the radio's factory calibration values (APC,
// TUNE and SQ tables, deviations, thresholds, brightness), kept in
// adjustment files and exchanged with the radio. Its captions are fixed
// Simplified Chinese in every interface language. Every edit is stored in
// the process-wide AdjustmentData at once; the window keeps nothing.
#pragma once

#include "adjustment_edit.h"
#include "grid.h"
#include "program_state.h"

#include <QDialog>

#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vkt {

struct PortSelection;
class SerialLine;

class TAdjustmentDlg : public QDialog {
public:
    TAdjustmentDlg(ProgramState &state, PortSelection &ports, SerialLine &line, QWidget *parent = nullptr);
    ~TAdjustmentDlg() override;

    // Fills every cell and control from the stored values.
    void ShowAdjustmentData();

    // Commands.
    void bNewClick();
    void bOpenClick();
    void bSaveClick();
    void bReadClick();
    void bWriteClick();
    void bAllWriteClick();
    void Read1846StatusClick();

    // The file dialogs, replaceable for tests: the chosen path, or an empty
    // text when the user cancels.
    std::function<QString()> chooseOpenFile;
    std::function<QString()> chooseSaveFile;

    Grid *sgAPC, *sgTUNE, *sgSQ;
    QLineEdit *eApcFreq, *eFreq, *eSqFreq;
    QComboBox *cbApcValue, *cbTuneValue, *cbSqValue, *cbSqNoise;
    QPushButton *bApcHigh_del, *bApcHigh_add, *bApcMid_del, *bApcMid_add, *bApcLow_del, *bApcLow_add;
    std::vector<QLineEdit *> settingEdits;  // in the order of AdjSettings()
    std::vector<QComboBox *> settingLists;  // in the order of AdjLists()
    QLabel *sCurBatt, *sCurVox;
    QPushButton *bNew, *bOpen, *bSave, *bRead, *bWrite, *bAllWrite, *Read1846Status;
    QPushButton *OKBtn; // exists, never shown
    QPushButton *CancelBtn;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Grid *makeGrid(AdjTable table, const char *name, std::initializer_list<int> widths, const QStringList &headings);
    void setUpEditing(Grid *grid, AdjTable table, QLineEdit *freqEditor);
    QWidget *openEditor(AdjTable table, int row, int column);
    void storeFrom(AdjTable table, QWidget *editor, int row, int column);
    void showTable(AdjTable table);
    Grid *gridOf(AdjTable table) const;
    void stepApc(int column, int delta);
    void storeSetting(int index);
    // Stores whatever is being edited before a command acts.
    void endEdits();
    // Runs one exchange in the exchange window; true when it succeeded.
    bool runExchange(int exchangeMode, bool read);

    ProgramState &state_;
    PortSelection &ports_;
    SerialLine &line_;
};

} // namespace vkt

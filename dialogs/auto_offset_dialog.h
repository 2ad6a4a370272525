// The automatic repeater-offset table: up to 16 receive ranges, each with
// the direction and offset the radio transmits with inside it. Every edit
// is stored at once; Cancel only closes the window.
#pragma once

#include "grid.h"
#include "program_state.h"
#include "project.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace vkt {

class TAutoOffsetDlg : public QDialog {
public:
    TAutoOffsetDlg(Project &project, QWidget *parent = nullptr);
    ~TAutoOffsetDlg() override { sgAutoOffset->endEditing(); }

    // Shows one entry (1..16) from the stored data.
    void sgAutoOffsetUpdataRow(int row);
    // The "Default" button: the eight default entries, the rest emptied.
    void bAutoOffser_DefaultClick();

    Grid *sgAutoOffset;
    QLineEdit *eAutoOffsetFreq;
    QComboBox *cbAutoOffsetDir;
    QPushButton *bAutoOffser_Default;
    QPushButton *OKBtn; // exists, never shown
    QPushButton *CancelBtn;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *openEditor(int row, int column);
    void storeFrom(QWidget *editor, int row, int column);

    Project &project_;
    const ProgramState &state_ = project_.state();
};

} // namespace vkt

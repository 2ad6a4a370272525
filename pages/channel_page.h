// The channel table: 240 memory channels in one read-only grid, each cell
// edited by a small control laid over it that stores its value when it
// loses the focus.
#pragma once

#include "editor_page.h"
#include "field_widgets.h"
#include "grid.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vkt {

class ChannelPage : public EditorPage {
public:
    ChannelPage(AppSession &session, QWidget *parent);
    ~ChannelPage() override { StringGrid1->endEditing(); }
    QString caption() const override;
    void retranslate() override;
    void load() override;
    // Redraws the rows of the channels a step changed.
    void changed(const ProjectChange &change) override;
    void commitEdits() override { StringGrid1->finishEdit(); }
    bool showChange(const ProjectChange &change) override;

    // Shows one channel row from the stored data (an unused channel's row
    // is emptied).
    void StringGridUpdataRow(int channel);
    // Rows drawn since the page was made (each row of a full load counts).
    long rowsDrawn() const { return rowsDrawn_; }

    // Ctrl+C: the selected rows (the current row when none is selected)
    // with the heading line to the clipboard as tab-separated text.
    void copySelectedRows();
    // Ctrl+V: the clipboard's rows into the channels from the current row
    // on; the skipped rows are listed in a message box.
    void pasteAtCurrentRow();

    // Opens the editor of a cell (as a click or a typed key does).
    void placeEditor(int row, int column) { StringGrid1->placeEditor(row, column); }
    // The editor shown now, or nullptr.
    QWidget *activeEditor() const { return StringGrid1->activeEditor(); }

    Grid *StringGrid1;
    QLabel *sFreqBand;
    QLabel *sSoftwareVersionCaption, *sSoftwareVersionDisp;
    QLabel *sLastWriteTimeCaption, *sLastWriteTime;
    QLabel *sDeviceSnCaption, *sDeviceSnDisp;
    QLabel *sTiShi_0;
    QPushButton *bChBatchSet;

    QLineEdit *Edit_ChFreq, *Edit_ChName;
    ToneBox *ComboBox1;
    QComboBox *cbChInfor_Pow, *cbChInfor_Bandwidth, *cbChInfor_SCN, *cbChInfor_BusyFit;
    QComboBox *cbChInforSignalSys, *cbChInforSignalNo;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    long rowsDrawn_ = 0;
    QWidget *openEditor(int row, int column);
    void storeFrom(QWidget *editor, int row, int column);
    void rebuildSignalNumbers(unsigned system);
    bool rowInUse(int row) const;
};

} // namespace vkt

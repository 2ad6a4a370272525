// The channel table: 240 memory channels in one read-only grid, each cell
// edited by a small control laid over it that stores its value when it
// loses the focus.
#pragma once

#include "editor_page.h"

#include <QTableWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vkt {

class ChannelPage;

// The grid: opens the in-place editors on mouse presses and typed keys.
class ChannelGrid : public QTableWidget {
public:
    ChannelGrid(ChannelPage &page, QWidget *parent);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    ChannelPage &page_;
    QModelIndex hovered_;
};

class ChannelPage : public EditorPage {
public:
    ChannelPage(AppSession &session, QWidget *parent);
    QString caption() const override;
    void retranslate() override;
    void load() override;

    // Shows one channel row from the stored data (an unused channel's row
    // is emptied).
    void StringGridUpdataRow(int channel);
    // Empties a row and marks the channel not in use.
    void StringGridCleanRow(int channel);

    // Opens the editor of a cell (as a click or a typed key does).
    void placeEditor(int row, int column);
    // The editor shown now, or nullptr.
    QWidget *activeEditor() const { return active_; }

    ChannelGrid *StringGrid1;
    QLabel *sFreqBand;
    QLabel *sSoftwareVersionCaption, *sSoftwareVersionDisp;
    QLabel *sLastWriteTimeCaption, *sLastWriteTime;
    QLabel *sDeviceSnCaption, *sDeviceSnDisp;
    QLabel *sTiShi_0;
    QPushButton *bChBatchSet;

    QLineEdit *Edit_ChFreq, *Edit_ChName;
    QComboBox *ComboBox1;
    QComboBox *cbChInfor_Pow, *cbChInfor_Bandwidth, *cbChInfor_SCN, *cbChInfor_BusyFit;
    QComboBox *cbChInforSignalSys, *cbChInforSignalNo;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class ChannelGrid;
    void show(QWidget *editor, int row, int column);
    // Stores the active editor's value, hides it and gives the grid the
    // focus back. Safe to call when no editor is open.
    void finishEdit();
    void storeFrom(QWidget *editor);
    void rebuildSignalNumbers(unsigned system);
    void fillList(QComboBox *list, std::initializer_list<int> texts);
    bool rowInUse(int row) const;

    QWidget *active_ = nullptr;
    int editRow_ = -1;
    int editColumn_ = -1;
    bool finishing_ = false;
};

} // namespace vkt

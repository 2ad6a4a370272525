// The one grid of the program: channel table, address book, FM memories,
// signalling systems, offset table, message lines and the calibration
// tables all use it.
//
// Rows and columns are counted as the user sees them: row 0 is the heading
// row and column 0 the number column. Both are Qt's headers, so they stay
// in view when the grid scrolls, and every row and column border can be
// dragged, the heading row's lower edge and the number column's right edge
// too. The cells are read-only; a mouse press or a typed key lays the
// cell's editor exactly over it, and the editor stores its value when it
// loses the focus (or on Enter and Escape).
#pragma once

#include "field_texts.h"

#include <QHeaderView>
#include <QTableWidget>

#include <cstdint>
#include <functional>
#include <vector>

class QComboBox;
class QLineEdit;

namespace vkt {


// A header whose thickness (the heading row's height, or the number
// column's width) the user sets by dragging its outer edge.
class GridHeader : public QHeaderView {
public:
    GridHeader(Qt::Orientation orientation, int thickness, QWidget *parent);

    int thickness() const { return thickness_; }
    void setThickness(int px);
    QSize sizeHint() const override;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    bool onOuterEdge(const QPoint &pos) const;
    int along(const QPoint &pos) const;

    int thickness_;
    int dragFrom_ = -1; // mouse position across the header when a drag began
    int dragStartThickness_ = 0;
};

class Grid : public QTableWidget {
public:
    // Smallest and largest row height or column width the grid takes.
    static constexpr int kMinSize = 4;
    static constexpr int kMaxSize = 2000;
    // Background of the odd rows: RGB 192, 220, 192.
    static const QColor kOddRowColour;

    // `rows` and `columns` count the heading row and the number column.
    Grid(int rows, int columns, QWidget *parent);

    int gridRows() const { return rowCount() + 1; }
    int gridColumns() const { return columnCount() + 1; }

    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString &text);
    void setHeadings(const QStringList &texts); // row 0, column 0 first

    // Row 0 is the heading row's height, column 0 the number column's width.
    int rowSize(int row) const;
    void setRowSize(int row, int px);
    int columnSize(int column) const;
    void setColumnSize(int column, int px);

    // Widens each column (not the number column) whose heading needs more
    // room than it has; never narrows one.
    void widenToHeadings();

    // The current body cell (rows and columns from 1), or -1 for none.
    int currentGridRow() const;
    int currentGridColumn() const;
    void setCurrentGridCell(int row, int column);
    // The first and last body row the selection reaches (the current row
    // when nothing is selected); {-1, -1} when there is neither.
    std::pair<int, int> selectedGridRows() const;
    // A body cell's rectangle in the viewport, scrolled into view first.
    QRect cellRect(int row, int column);
    // The body cell at a point of the viewport, as {row, column}; {-1, -1}
    // outside the cells.
    std::pair<int, int> cellAt(const QPoint &viewportPos) const;

    // ---- in-place editing ----
    struct Editing {
        // Fills the cell's editor from the data and returns it; nullptr when
        // the cell cannot be edited now.
        std::function<QWidget *(int row, int column)> open;
        // Stores the editor's value (the row is redrawn by the page).
        std::function<void(QWidget *editor, int row, int column)> store;
        // Whether a typed key (its text; "\r" for Enter) opens the cell's
        // editor. Unset: every key does.
        std::function<bool(int row, int column, const QString &key)> keyOpens;
        // Whether that key is then typed into the opened editor.
        std::function<bool(int row, int column, const QString &key)> keyTypes;
        // Hover hint of a cell; empty for none.
        std::function<QString(int row, int column)> hint;
        // Any mouse press on the cells, before the editor opens.
        std::function<void()> pressed;
        // Cells that change at once instead of opening an editor (a flag
        // shown "On"/"Off", a cycling choice): for a cell where `toggles`
        // says so, a double-click or Enter calls `toggle`; a single press
        // only makes it the current cell, and other keys do nothing there.
        std::function<bool(int row, int column)> toggles;
        std::function<void(int row, int column)> toggle;
        // Which gesture opens a cell's editor: a single press (the channel
        // table, address book, offset table), a double-click (the
        // signalling grids; a press only makes the cell current), or only
        // keys (the calibration tables). Keys open editors as `keyOpens`
        // says, in every grid. A grid of the table of cells takes it from
        // there (useColumns).
        EditorGesture gesture = EditorGesture::Press;
        // Ctrl+C and Ctrl+V (the platform's copy and paste keys) on the
        // grid while no editor is open; an open editor keeps them. Unset:
        // the keys do what a table does by default.
        std::function<void()> copy;
        std::function<void()> paste;
    };
    void setEditing(Editing editing) { editing_ = std::move(editing); }
    // The grid's columns as the table of its cells describes them: the
    // gesture that opens an editor, and how typing enters each column's
    // text editor (key filter, the character a key enters, corrections
    // after every change, a paste included). Call after setEditing.
    void useColumns(const GridCells &cells);
    // Rows are selected by pressing their numbers (Shift extends, dragging
    // runs over several), as a spreadsheet does; the grid takes the focus,
    // so an open editor stores its value first. For grids whose rows are
    // copied.
    void selectRowsByNumber();
    // Drops the callbacks and closes an open editor without storing it.
    // The owner of the callbacks calls this from its destructor: a window
    // being torn down moves the focus, and an editor losing it must not
    // call back into a half-destroyed page.
    void endEditing();

    // What an editor holds as the cells' store rules take it (the same
    // text `vkt410-cli set` takes): a text field's text, a list's chosen
    // position as "#N", or empty for a list without a selection.
    static QString EditorText(const QWidget *editor);

    // Editors laid over the cells; each is hidden until placed.
    QLineEdit *addLineEdit(const char *name);
    QComboBox *addList(const char *name);
    // An editor made elsewhere (a tone box, say) joins the grid.
    void addEditor(QWidget *editor);

    // Opens the editor of a body cell, as a press or a typed key does; the
    // editor open before stores its value first.
    void placeEditor(int row, int column);
    // Stores the open editor's value when the user changed it (typed,
    // pasted or chose in it), hides it and gives the grid the focus back.
    // An editor left untouched stores nothing, so opening and leaving a
    // cell never changes the record. Nothing happens when no editor is open.
    void finishEdit();
    // Closes the open editor without storing (Esc).
    void cancelEdit();
    // Counts the open editor as changed, so leaving it stores even without
    // a keystroke (an editor the page opened with a value of its own).
    void markEdited() { edited_ = true; }
    bool editorEdited() const { return edited_; }
    QWidget *activeEditor() const { return active_; }
    int editRow() const { return editRow_; }
    int editColumn() const { return editColumn_; }

protected:
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QTableWidgetItem *cell(int row, int column) const;
    // The copy or paste callback a key press asks for now, or nullptr.
    const std::function<void()> *clipboardKey(QKeyEvent *event) const;
    bool isActiveEditor(QObject *watched) const;
    bool isToggleCell(int row, int column) const;
    // Stores the open editor and opens the editor of the cell `rows` above
    // or below (Up and Down in a text editor), as a spreadsheet does.
    void moveEditor(int rows);
    void leaveEditor(bool store);
    void paintCorner(QWidget *corner);

    GridHeader *top_;
    GridHeader *left_;
    QWidget *corner_ = nullptr;
    QString cornerText_;
    Editing editing_;
    std::vector<QWidget *> editors_;
    QWidget *active_ = nullptr;
    int editRow_ = -1;
    int editColumn_ = -1;
    bool finishing_ = false;
    bool edited_ = false; // the open editor was typed or chosen in
    const GridCells *cells_ = nullptr;
    // The typing rule of the open text editor, or nullptr.
    const TextRule *activeRule() const;
    std::pair<int, int> hovered_{-1, -1};
};

} // namespace vkt

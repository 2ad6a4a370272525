#include "grid.h"

#include "field_texts.h"
#include "field_widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionHeader>
#include <QToolTip>

#include <algorithm>

namespace vkt {

namespace {

// How close to a header's outer edge the mouse must be to drag it.
constexpr int kGrip = 4;

int Clamped(int px) { return std::clamp(px, Grid::kMinSize, Grid::kMaxSize); }

} // namespace

// ---- headers ---------------------------------------------------------------

GridHeader::GridHeader(Qt::Orientation orientation, int thickness, QWidget *parent)
    : QHeaderView(orientation, parent), thickness_(Clamped(thickness))
{
    setSectionResizeMode(QHeaderView::Interactive);
    setSectionsClickable(false);
    setHighlightSections(false);
    setMinimumSectionSize(Grid::kMinSize);
    setDefaultAlignment(Qt::AlignCenter);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
}

void GridHeader::setThickness(int px)
{
    px = Clamped(px);
    if (px == thickness_)
        return;
    thickness_ = px;
    updateGeometry();
    // The table lays out its headers and cells again on this signal.
    emit geometriesChanged();
}

QSize GridHeader::sizeHint() const
{
    QSize s = QHeaderView::sizeHint();
    if (orientation() == Qt::Horizontal)
        s.setHeight(thickness_);
    else
        s.setWidth(thickness_);
    return s;
}

int GridHeader::along(const QPoint &pos) const { return orientation() == Qt::Horizontal ? pos.y() : pos.x(); }

bool GridHeader::onOuterEdge(const QPoint &pos) const
{
    const int extent = orientation() == Qt::Horizontal ? viewport()->height() : viewport()->width();
    return along(pos) >= extent - kGrip && along(pos) <= extent;
}

void GridHeader::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && onOuterEdge(pos)) {
        dragFrom_ = along(pos);
        dragStartThickness_ = thickness_;
        event->accept();
        return;
    }
    QHeaderView::mousePressEvent(event);
}

void GridHeader::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (dragFrom_ >= 0) {
        setThickness(dragStartThickness_ + along(pos) - dragFrom_);
        event->accept();
        return;
    }
    if (onOuterEdge(pos)) {
        viewport()->setCursor(orientation() == Qt::Horizontal ? Qt::SplitVCursor : Qt::SplitHCursor);
        event->accept();
        return;
    }
    viewport()->unsetCursor();
    QHeaderView::mouseMoveEvent(event);
}

void GridHeader::mouseReleaseEvent(QMouseEvent *event)
{
    if (dragFrom_ >= 0) {
        dragFrom_ = -1;
        event->accept();
        return;
    }
    QHeaderView::mouseReleaseEvent(event);
}

void GridHeader::leaveEvent(QEvent *event)
{
    if (dragFrom_ < 0)
        viewport()->unsetCursor();
    QHeaderView::leaveEvent(event);
}

// ---- the grid --------------------------------------------------------------

const QColor Grid::kOddRowColour(192, 220, 192);

Grid::Grid(int rows, int columns, QWidget *parent) : QTableWidget(std::max(rows - 1, 0), std::max(columns - 1, 0), parent)
{
    top_ = new GridHeader(Qt::Horizontal, 20, this);
    left_ = new GridHeader(Qt::Vertical, 35, this);
    setHorizontalHeader(top_);
    setVerticalHeader(left_);
    left_->setDefaultSectionSize(20);
    for (int r = 0; r < rowCount(); ++r)
        setRowHeight(r, 20);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    GuardListWheels();
    setTabKeyNavigation(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    viewport()->setMouseTracking(true);

    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c) {
            auto *item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            if (r % 2 == 0) // rows 1, 3, 5 ... as the user counts them
                item->setBackground(kOddRowColour);
            setItem(r, c, item);
        }
    // The corner is the heading of the number column.
    corner_ = findChild<QAbstractButton *>(QString(), Qt::FindDirectChildrenOnly);
    if (corner_)
        corner_->installEventFilter(this);

    // An open editor follows its cell when a row or column is resized.
    auto follow = [this] {
        if (active_) {
            const QRect r = visualRect(model()->index(editRow_ - 1, editColumn_ - 1));
            active_->setGeometry(r.x() + 1, r.y(), r.width() + 1, r.height() + 1);
        }
    };
    connect(top_, &QHeaderView::sectionResized, this, follow);
    connect(left_, &QHeaderView::sectionResized, this, follow);
    connect(top_, &QHeaderView::geometriesChanged, this, follow);
    connect(left_, &QHeaderView::geometriesChanged, this, follow);
}

QTableWidgetItem *Grid::cell(int row, int column) const
{
    if (row < 1 || column < 1 || row > rowCount() || column > columnCount())
        return nullptr;
    return item(row - 1, column - 1);
}

QString Grid::cellText(int row, int column) const
{
    if (row == 0 && column == 0)
        return cornerText_;
    if (row == 0)
        return model()->headerData(column - 1, Qt::Horizontal).toString();
    if (column == 0)
        return model()->headerData(row - 1, Qt::Vertical).toString();
    const QTableWidgetItem *it = cell(row, column);
    return it ? it->text() : QString();
}

void Grid::setCellText(int row, int column, const QString &text)
{
    if (row == 0 && column == 0) {
        if (cornerText_ != text) {
            cornerText_ = text;
            if (corner_)
                corner_->update();
        }
        return;
    }
    if (row == 0 || column == 0) {
        const bool top = row == 0;
        const int section = (top ? column : row) - 1;
        if (section < 0 || section >= (top ? columnCount() : rowCount()))
            return;
        QTableWidgetItem *it = top ? horizontalHeaderItem(section) : verticalHeaderItem(section);
        if (!it) {
            it = new QTableWidgetItem;
            top ? setHorizontalHeaderItem(section, it) : setVerticalHeaderItem(section, it);
        }
        if (it->text() != text)
            it->setText(text);
        return;
    }
    if (QTableWidgetItem *it = cell(row, column); it && it->text() != text)
        it->setText(text);
}

void Grid::setHeadings(const QStringList &texts)
{
    for (int c = 0; c < texts.size() && c < gridColumns(); ++c)
        setCellText(0, c, texts[c]);
}

int Grid::rowSize(int row) const { return row == 0 ? top_->thickness() : rowHeight(row - 1); }

void Grid::setRowSize(int row, int px)
{
    if (row == 0)
        top_->setThickness(px);
    else if (row >= 1 && row <= rowCount())
        setRowHeight(row - 1, Clamped(px));
}

int Grid::columnSize(int column) const { return column == 0 ? left_->thickness() : columnWidth(column - 1); }

void Grid::setColumnSize(int column, int px)
{
    if (column == 0)
        left_->setThickness(px);
    else if (column >= 1 && column <= columnCount())
        setColumnWidth(column - 1, Clamped(px));
}

void Grid::widenToHeadings()
{
    for (int c = 0; c < columnCount(); ++c)
        if (const int needed = top_->sectionSizeHint(c); needed > columnWidth(c))
            setColumnWidth(c, Clamped(needed));
}

int Grid::currentGridRow() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() + 1 : -1;
}

int Grid::currentGridColumn() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.column() + 1 : -1;
}

void Grid::setCurrentGridCell(int row, int column)
{
    if (row >= 1 && column >= 1 && row <= rowCount() && column <= columnCount())
        setCurrentCell(row - 1, column - 1);
}

void Grid::selectRowsByNumber()
{
    left_->setSectionsClickable(true);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    connect(left_, &QHeaderView::sectionPressed, this, [this] { setFocus(Qt::MouseFocusReason); });
}

std::pair<int, int> Grid::selectedGridRows() const
{
    int first = -1, last = -1;
    for (const QModelIndex &i : selectionModel()->selectedIndexes()) {
        first = first < 0 ? i.row() + 1 : std::min(first, i.row() + 1);
        last = std::max(last, i.row() + 1);
    }
    if (first < 0)
        first = last = currentGridRow();
    return {first, last};
}

QRect Grid::cellRect(int row, int column)
{
    const QModelIndex i = model()->index(row - 1, column - 1);
    if (!i.isValid())
        return {};
    scrollTo(i);
    return visualRect(i);
}

std::pair<int, int> Grid::cellAt(const QPoint &viewportPos) const
{
    const QModelIndex i = indexAt(viewportPos);
    if (!i.isValid())
        return {-1, -1};
    return {i.row() + 1, i.column() + 1};
}

// ---- editors ---------------------------------------------------------------

void Grid::useColumns(const GridCells &cells)
{
    cells_ = &cells;
    editing_.gesture = cells.gesture;
}

const TextRule *Grid::activeRule() const
{
    if (!cells_ || !qobject_cast<QLineEdit *>(active_))
        return nullptr;
    const GridColumn &column = Column(*cells_, editColumn_);
    return column.editor == CellEditor::Text ? column.rule : nullptr;
}

QString Grid::EditorText(const QWidget *editor)
{
    if (auto *line = qobject_cast<const QLineEdit *>(editor))
        return line->text();
    if (auto *box = qobject_cast<const QComboBox *>(editor)) {
        if (box->isEditable())
            return box->currentText();
        return box->currentIndex() >= 0 ? QLatin1Char('#') + QString::number(box->currentIndex()) : QString();
    }
    return {};
}

QLineEdit *Grid::addLineEdit(const char *name)
{
    auto *e = new QLineEdit(viewport());
    e->setObjectName(name);
    e->setFrame(false);
    addEditor(e);
    return e;
}

QComboBox *Grid::addList(const char *name)
{
    auto *c = new QComboBox(viewport());
    c->setObjectName(name);
    addEditor(c);
    return c;
}

void Grid::addEditor(QWidget *editor)
{
    if (editor->parentWidget() != viewport())
        editor->setParent(viewport());
    editor->hide();
    editor->installEventFilter(this);
    // Only what the user does counts as a change: typing or pasting into
    // the text, or choosing an item.
    auto edited = [this, editor] {
        if (editor == active_)
            edited_ = true;
    };
    if (auto *box = qobject_cast<QComboBox *>(editor)) {
        connect(box, &QComboBox::activated, this, edited);
        if (box->lineEdit()) {
            box->lineEdit()->installEventFilter(this);
            connect(box->lineEdit(), &QLineEdit::textEdited, this, edited);
        }
    } else if (auto *line = qobject_cast<QLineEdit *>(editor)) {
        connect(line, &QLineEdit::textEdited, this, [this, line, edited](const QString &text) {
            edited();
            // A paste, or a key the filter let through: the column's
            // corrections.
            const TextRule *rule = line == active_ ? activeRule() : nullptr;
            if (!rule)
                return;
            const QString corrected = CorrectedText(text, *rule);
            if (corrected != text) {
                line->setText(corrected);
                line->end(false);
            }
        });
    }
    editors_.push_back(editor);
}

void Grid::placeEditor(int row, int column)
{
    if (row < 1 || column < 1 || row > rowCount() || column > columnCount())
        return;
    finishEdit(); // the editor open before stores its value first
    if (!editing_.open)
        return;
    QWidget *editor = editing_.open(row, column);
    if (!editor)
        return;
    editRow_ = row;
    editColumn_ = column;
    if (currentGridRow() != row || currentGridColumn() != column)
        setCurrentGridCell(row, column);
    const QRect r = cellRect(row, column);
    editor->setGeometry(r.x() + 1, r.y(), r.width() + 1, r.height() + 1);
    edited_ = false;
    active_ = editor;
    editor->show();
    editor->raise();
    editor->setFocus(Qt::OtherFocusReason);
}

void Grid::endEditing()
{
    editing_ = {};
    if (QWidget *editor = active_) {
        active_ = nullptr;
        editor->hide();
    }
}

void Grid::finishEdit() { leaveEditor(true); }

void Grid::cancelEdit() { leaveEditor(false); }

void Grid::leaveEditor(bool store)
{
    if (!active_ || finishing_)
        return;
    finishing_ = true;
    QWidget *editor = active_;
    if (store && edited_ && editing_.store)
        editing_.store(editor, editRow_, editColumn_);
    edited_ = false;
    active_ = nullptr;
    // The grid takes the focus back before the editor is hidden: a focused
    // widget that is hidden hands the focus on as a Tab would, which would
    // move the grid to the next cell.
    QWidget *focus = QApplication::focusWidget();
    if (!focus || focus == editor || editor->isAncestorOf(focus))
        setFocus(Qt::OtherFocusReason);
    editor->hide();
    finishing_ = false;
}

bool Grid::isActiveEditor(QObject *watched) const
{
    if (!active_)
        return false;
    auto *w = qobject_cast<QWidget *>(watched);
    return w && (w == active_ || active_->isAncestorOf(w));
}

// ---- events ----------------------------------------------------------------

void Grid::mousePressEvent(QMouseEvent *event)
{
    if (editing_.pressed)
        editing_.pressed();
    QTableWidget::mousePressEvent(event);
    // Any button opens the editor of the cell under the mouse; a toggle
    // cell waits for the second click.
    const auto [row, column] = cellAt(event->position().toPoint());
    if (row < 1)
        return;
    if (isToggleCell(row, column) || editing_.gesture != EditorGesture::Press)
        finishEdit();
    else
        placeEditor(row, column);
}

void Grid::mouseDoubleClickEvent(QMouseEvent *event)
{
    const auto [row, column] = cellAt(event->position().toPoint());
    if (row >= 1 && isToggleCell(row, column)) {
        event->accept();
        editing_.toggle(row, column);
        return;
    }
    if (row >= 1 && editing_.gesture == EditorGesture::DoubleClick && event->button() == Qt::LeftButton) {
        event->accept();
        placeEditor(row, column);
        return;
    }
    QTableWidget::mouseDoubleClickEvent(event);
}

bool Grid::isToggleCell(int row, int column) const
{
    return editing_.toggles && editing_.toggle && editing_.toggles(row, column);
}

void Grid::mouseMoveEvent(QMouseEvent *event)
{
    QTableWidget::mouseMoveEvent(event);
    const std::pair<int, int> at = cellAt(event->position().toPoint());
    if (at == hovered_)
        return;
    hovered_ = at;
    QToolTip::hideText();
    if (at.first < 1 || !editing_.hint)
        return;
    const QString hint = editing_.hint(at.first, at.second);
    if (!hint.isEmpty())
        QToolTip::showText(event->globalPosition().toPoint(), hint, this);
}

const std::function<void()> *Grid::clipboardKey(QKeyEvent *event) const
{
    if (active_)
        return nullptr;
    if (editing_.copy && event->matches(QKeySequence::Copy))
        return &editing_.copy;
    if (editing_.paste && event->matches(QKeySequence::Paste))
        return &editing_.paste;
    return nullptr;
}

bool Grid::event(QEvent *event)
{
    // The grid takes its copy and paste keys before any shortcut of the
    // window can.
    if (event->type() == QEvent::ShortcutOverride && clipboardKey(static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    return QTableWidget::event(event);
}

void Grid::keyPressEvent(QKeyEvent *event)
{
    // Copy and paste come before typing: Ctrl+V carries the text "v" on
    // some platforms, which would otherwise open the cell's editor.
    if (const std::function<void()> *action = clipboardKey(event)) {
        event->accept();
        (*action)();
        return;
    }
    const QString text = event->text();
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // Keys without a character (arrows, Tab, page keys, shortcuts) move in
    // the grid.
    if (text.isEmpty() || (!text.front().isPrint() && !enter)) {
        QTableWidget::keyPressEvent(event);
        return;
    }
    const int row = currentGridRow(), column = currentGridColumn();
    if (row < 1 || column < 1)
        return;
    if (isToggleCell(row, column)) {
        if (enter)
            editing_.toggle(row, column);
        return;
    }
    const QString key = enter ? QStringLiteral("\r") : text;
    if (editing_.keyOpens && !editing_.keyOpens(row, column, key))
        return;
    placeEditor(row, column);
    if (active_ && !enter && editing_.keyTypes && editing_.keyTypes(row, column, key)) {
        // The key that opened the editor is its first typed character.
        QKeyEvent press(QEvent::KeyPress, event->key(), event->modifiers(), text);
        QKeyEvent release(QEvent::KeyRelease, event->key(), event->modifiers(), text);
        QCoreApplication::sendEvent(active_, &press);
        QCoreApplication::sendEvent(active_, &release);
    }
}

void Grid::moveEditor(int rows)
{
    const int row = editRow_ + rows, column = editColumn_;
    finishEdit();
    if (row < 1 || row > rowCount()) {
        setCurrentGridCell(editRow_, column);
        return;
    }
    setCurrentGridCell(row, column);
    // A cell without an editor there (an empty row's later columns) is
    // only highlighted.
    placeEditor(row, column);
}

void Grid::paintCorner(QWidget *corner)
{
    QPainter painter(corner);
    QStyleOptionHeader option;
    option.initFrom(corner);
    // The corner takes no clicks, but its heading reads like the others.
    option.state |= QStyle::State_Enabled;
    option.palette.setCurrentColorGroup(QPalette::Active);
    option.rect = corner->rect();
    option.position = QStyleOptionHeader::OnlyOneSection;
    option.text = cornerText_;
    option.textAlignment = Qt::AlignCenter;
    corner->style()->drawControl(QStyle::CE_Header, &option, &painter, corner);
}

bool Grid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == corner_ && event->type() == QEvent::Paint) {
        paintCorner(corner_);
        return true;
    }
    if (!isActiveEditor(watched))
        return QTableWidget::eventFilter(watched, event);

    if (event->type() == QEvent::FocusOut) {
        // A list's own drop-down takes the focus for a moment, and another
        // application may take it while the user types: neither is leaving
        // the editor, which stays open with what was typed.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            QWidget *now = QApplication::focusWidget();
            if (!(now && (now == active_ || active_->isAncestorOf(now))))
                finishEdit();
        }
        return false;
    }
    if (event->type() == QEvent::KeyPress) {
        auto *keyEvent = static_cast<QKeyEvent *>(event);
        const int key = keyEvent->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            finishEdit();
            return true;
        }
        if (key == Qt::Key_Escape) {
            cancelEdit();
            return true;
        }
        // Up and Down in a text editor move the editor with the highlight;
        // a drop-down list keeps them for choosing its item.
        const bool text = qobject_cast<QLineEdit *>(active_) ||
                          (qobject_cast<QComboBox *>(active_) && static_cast<QComboBox *>(active_)->isEditable());
        if (text && (key == Qt::Key_Up || key == Qt::Key_Down) &&
            !(keyEvent->modifiers() & (Qt::AltModifier | Qt::ControlModifier))) {
            moveEditor(key == Qt::Key_Up ? -1 : 1);
            return true;
        }
        // Tab leaves the editor, which stores it, and moves to the next cell.
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            finishEdit();
            keyPressEvent(keyEvent);
            return true;
        }
        // The column's key filter: a character it does not take is dropped
        // as it is typed; one it enters otherwise ("a" as "A") is typed so.
        // A shortcut (Ctrl+V, Ctrl+A) is no typed character; AltGr arrives
        // as Ctrl+Alt and types.
        const QString typed = keyEvent->text();
        const bool shortcut = (keyEvent->modifiers() & Qt::ControlModifier) && !(keyEvent->modifiers() & Qt::AltModifier);
        if (const TextRule *rule = activeRule(); rule && !shortcut && !typed.isEmpty() && typed.front().unicode() >= 32) {
            const char32_t c = typed.toUcs4().value(0);
            if (rule->passes && !rule->passes(c))
                return true;
            if (rule->enters && rule->enters(c) != c) {
                const char32_t entered = rule->enters(c);
                QKeyEvent typed(QEvent::KeyPress, keyEvent->key(), keyEvent->modifiers(), QString::fromUcs4(&entered, 1),
                                keyEvent->isAutoRepeat(), keyEvent->count());
                QCoreApplication::sendEvent(watched, &typed);
                return true;
            }
        }
    }
    return QTableWidget::eventFilter(watched, event);
}

} // namespace vkt

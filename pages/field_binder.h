// The binder between the table of fields and the controls of a page.
//
// For a row of the table it creates the control (a list, tone box, check
// box, radio button or edit field, named as the row) and its label, fills
// and re-texts it in the active language, shows the stored value (signals
// blocked, so showing never stores), filters and corrects typed text as it
// is typed, and stores the value when the user leaves a control they
// changed (typed or pasted into it, chose an item, ticked or clicked it):
// focus passing through a control stores nothing, and neither does
// switching to another application while typing (the value is stored when
// the control is left inside the window, or when a command ends the edit).
// Each store is one step of the project document; the row's dependent
// rules (`Field::alsoStores`) run inside that step. A page is then a
// layout of rows; only controls that depend on each other need code of
// their own (see `stored`).
#pragma once

#include "fields.h"
#include "project.h"

#include <QObject>

#include <functional>
#include <string_view>
#include <vector>

class QGridLayout;
class QLabel;
class QWidget;

namespace vkt {

struct AppSession;

class FieldBinder : public QObject {
public:
    FieldBinder(AppSession &session, QWidget *page);

    // Creates the control of the named row, and its label when it has one
    // of its own (check boxes and radio buttons carry their text), as
    // children of `parent`. Returns the control; nullptr for a name the
    // table does not know.
    QWidget *add(std::string_view name, QWidget *parent);
    // Creates the rows one under the other in `grid`: label in column
    // `column`, control in the next; a control without a label spans both.
    // A row that is never shown is created but kept hidden, outside the
    // layout.
    void addRows(QGridLayout *grid, std::initializer_list<std::string_view> names, int column = 0, int firstRow = 0);

    QWidget *control(std::string_view name) const;
    QLabel *label(std::string_view name) const;
    const Field *field(const QWidget *control) const;

    // Labels, captions and list items in the active language (a list keeps
    // no selection until the next load).
    void retranslate();
    // Shows every row's stored value.
    void load();
    void load(std::string_view name);
    // Stores a row's control into the record and shows the stored result,
    // as leaving the control after changing it does.
    void store(std::string_view name);
    // Stores every row the user changed and has not left yet (a command
    // that acts on the data ends the edit in progress this way too).
    void storeEdited();
    // Shows anew the rows whose bytes a step changed.
    void changed(const ProjectChange &change);
    // Whether a step changed the bytes of any row.
    bool touches(const ProjectChange &change) const;

    // Called after a row has been stored on leaving it: the hand-written
    // rules of controls that depend on each other.
    std::function<void(const Field &)> stored;

    // Stops storing and calling back. The page calls this from its
    // destructor: a window being torn down moves the focus, and a control
    // losing it must not call into a half-destroyed page.
    void detach()
    {
        detached_ = true;
        stored = {};
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool detached_ = false;

private:
    struct Row {
        const Field *field;
        QWidget *control;
        QLabel *label; // nullptr for check boxes, radio buttons and unlabelled fields
        mutable bool edited = false; // changed by the user since it was last shown
    };
    const Row *find(std::string_view name) const;
    const Row *find(const QObject *control) const;
    void retranslate(const Row &row);
    void load(const Row &row);
    void store(const Row &row);
    void correctTyping(const Row &row, const QString &text);
    void endEdit(QWidget *control);

    AppSession &session_;
    QWidget *page_;
    std::vector<Row> rows_;
};

} // namespace vkt

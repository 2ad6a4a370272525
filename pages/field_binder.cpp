#include "field_binder.h"

#include "app_session.h"
#include "field_texts.h"
#include "field_widgets.h"
#include "gbk_text.h"
#include "localisation.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>

#include <algorithm>

namespace vkt {

namespace {

QString NameOf(std::string_view name) { return QString::fromUtf8(name.data(), qsizetype(name.size())); }

// A label is named after its control: "s" for the control's type prefix
// ("cbSQL" -> "sSQL", "eFr_Freq_A" -> "sFr_Freq_A"). The VFO scrambling
// lists are the exception.
QString LabelName(std::string_view control)
{
    if (control == "cbScrFreq_A")
        return QStringLiteral("sScrambling_A");
    if (control == "cbScrFreq_B")
        return QStringLiteral("sScrambling_B");
    const auto role = std::find_if(control.begin(), control.end(), [](char c) { return !(c >= 'a' && c <= 'z'); });
    return QLatin1Char('s') + NameOf(control.substr(std::size_t(role - control.begin())));
}

QWidget *MakeControl(const Field &f, QWidget *parent)
{
    switch (f.kind) {
    case FieldKind::List: {
        auto *box = new QComboBox(parent);
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        box->setMaxVisibleItems(20);
        return box;
    }
    case FieldKind::Check: return new QCheckBox(parent);
    case FieldKind::Radio: return new QRadioButton(parent);
    case FieldKind::Edit: break;
    }
    // The tone lists of this page take the text exactly as typed.
    if (f.rule == FieldRule::Tone)
        return new ToneBox(parent, false);
    return new QLineEdit(parent);
}

QLineEdit *LineEditOf(QWidget *control)
{
    if (auto *box = qobject_cast<QComboBox *>(control))
        return box->lineEdit();
    return qobject_cast<QLineEdit *>(control);
}

} // namespace

FieldBinder::FieldBinder(AppSession &session, QWidget *page) : QObject(page), session_(session), page_(page)
{
    GuardListWheels();
}

QWidget *FieldBinder::add(std::string_view name, QWidget *parent)
{
    const Field *f = FindField(name);
    if (!f)
        return nullptr;
    QWidget *control = MakeControl(*f, parent);
    control->setObjectName(NameOf(name));
    QLabel *label = nullptr;
    if ((f->kind == FieldKind::List || f->kind == FieldKind::Edit) && f->label >= 0) {
        label = new QLabel(parent);
        label->setObjectName(LabelName(name));
        label->setBuddy(control);
    }
    control->installEventFilter(this);
    const std::size_t index = rows_.size();
    // What the user does marks the row as changed; showing a value does not.
    auto edited = [this, index] { rows_[index].edited = true; };
    if (QLineEdit *edit = LineEditOf(control)) {
        connect(edit, &QLineEdit::textEdited, this, [this, index](const QString &text) {
            rows_[index].edited = true;
            correctTyping(rows_[index], text);
        });
    }
    if (auto *box = qobject_cast<QComboBox *>(control))
        connect(box, &QComboBox::activated, this, edited);
    else if (auto *button = qobject_cast<QAbstractButton *>(control))
        connect(button, &QAbstractButton::clicked, this, edited);
    if (!f->shown) {
        control->hide();
        if (label)
            label->hide();
    }
    rows_.push_back({f, control, label});
    return control;
}

void FieldBinder::addRows(QGridLayout *grid, std::initializer_list<std::string_view> names, int column, int firstRow)
{
    int row = firstRow;
    for (std::string_view name : names) {
        QWidget *control = add(name, grid->parentWidget());
        if (!control || !field(control)->shown)
            continue;
        if (QLabel *l = label(name)) {
            grid->addWidget(l, row, column);
            grid->addWidget(control, row, column + 1);
        } else {
            grid->addWidget(control, row, column, 1, 2);
        }
        ++row;
    }
}

const FieldBinder::Row *FieldBinder::find(std::string_view name) const
{
    const auto at = std::find_if(rows_.begin(), rows_.end(), [name](const Row &r) { return r.field->name == name; });
    return at == rows_.end() ? nullptr : &*at;
}

const FieldBinder::Row *FieldBinder::find(const QObject *control) const
{
    const auto at = std::find_if(rows_.begin(), rows_.end(), [control](const Row &r) { return r.control == control; });
    return at == rows_.end() ? nullptr : &*at;
}

QWidget *FieldBinder::control(std::string_view name) const
{
    const Row *r = find(name);
    return r ? r->control : nullptr;
}

QLabel *FieldBinder::label(std::string_view name) const
{
    const Row *r = find(name);
    return r ? r->label : nullptr;
}

const Field *FieldBinder::field(const QWidget *control) const
{
    const Row *r = find(control);
    return r ? r->field : nullptr;
}

// ---- texts and loading -------------------------------------------------------

void FieldBinder::retranslate(const Row &row)
{
    const Field &f = *row.field;
    if (row.label)
        row.label->setText(FieldLabelText(f));
    if (auto *button = qobject_cast<QAbstractButton *>(row.control))
        button->setText(FieldLabelText(f));
    if (f.kind != FieldKind::List)
        return;
    auto *box = static_cast<QComboBox *>(row.control);
    const QSignalBlocker quiet(box);
    const int selected = box->currentIndex();
    box->clear();
    box->addItems(FieldItemTexts(f, session_.state().data));
    box->setCurrentIndex(selected < box->count() ? selected : -1);
}

void FieldBinder::retranslate()
{
    for (const Row &row : rows_)
        retranslate(row);
}

void FieldBinder::load(const Row &row)
{
    const Field &f = *row.field;
    const ProgramState &s = session_.state();
    row.edited = false;
    const QSignalBlocker quiet(row.control);
    switch (f.kind) {
    case FieldKind::List: {
        auto *box = static_cast<QComboBox *>(row.control);
        // The signalling numbers depend on the system stored now.
        if (f.rule == FieldRule::SignalNumber)
            retranslate(row);
        box->setCurrentIndex(LoadIndex(f, s.data));
        return;
    }
    case FieldKind::Check: static_cast<QCheckBox *>(row.control)->setChecked(LoadChecked(f, s.data)); return;
    case FieldKind::Radio:
        // The group's buttons exclude each other: selecting one is enough.
        if (LoadChecked(f, s.data))
            static_cast<QRadioButton *>(row.control)->setChecked(true);
        return;
    case FieldKind::Edit: break;
    }
    const QString text = ShownText(f, s);
    if (auto *box = qobject_cast<QComboBox *>(row.control)) {
        box->setCurrentIndex(box->findText(text));
        box->setEditText(text);
    } else {
        static_cast<QLineEdit *>(row.control)->setText(text);
    }
}

void FieldBinder::load()
{
    for (const Row &row : rows_)
        load(row);
}

void FieldBinder::load(std::string_view name)
{
    if (const Row *r = find(name))
        load(*r);
}

// ---- typing and storing ----------------------------------------------------

void FieldBinder::correctTyping(const Row &row, const QString &text)
{
    const QString corrected = QString::fromStdString(CorrectFieldText(*row.field, text.toStdString()));
    if (corrected == text)
        return;
    QLineEdit *edit = LineEditOf(row.control);
    edit->setText(corrected);
    edit->end(false);
}

void FieldBinder::store(const Row &row)
{
    const Field &f = *row.field;
    // What the control holds, as `vkt410-cli set` takes it: a list's
    // position as "#N" (empty without a selection), a box's tick as "1" or
    // "0", a radio button that is selected as "1", an edit field's text.
    QString text;
    bool stores = true;
    switch (f.kind) {
    case FieldKind::List: {
        const int index = static_cast<QComboBox *>(row.control)->currentIndex();
        text = index >= 0 ? QLatin1Char('#') + QString::number(index) : QString();
        break;
    }
    case FieldKind::Check: text = static_cast<QAbstractButton *>(row.control)->isChecked() ? QStringLiteral("1") : QStringLiteral("0"); break;
    case FieldKind::Radio:
        // Only the button selected stores its value.
        stores = static_cast<QAbstractButton *>(row.control)->isChecked();
        text = QStringLiteral("1");
        break;
    case FieldKind::Edit: text = LineEditOf(row.control)->text(); break;
    }
    // The step is named as the window labels the control ("SQL"); a
    // control without a label by its name.
    const QString label = f.label >= 0 ? PlainMainText(f.label).trimmed() : QString();
    const std::string name = label.isEmpty() ? std::string(f.name) : label.toStdString();
    // The row's one store rule, the same `set` uses: the row's own field
    // and what its rules change in others, in one step.
    const AssignResult result =
        stores ? session_.project.edit(name, [&](ProgramState &s) { return AssignText(f, s, text); }) : AssignResult{};
    const bool frequency =
        f.rule == FieldRule::Frequency || f.rule == FieldRule::Offset || f.rule == FieldRule::FmFrequency;
    if (!result.ok && frequency) {
        // A frequency that cannot be read: the stored value stays, and the
        // user is told once the focus has settled where it was going.
        QTimer::singleShot(0, page_, [page = page_, text] { ShowFrequencyError(page, text); });
    }
    // The control shows what was stored (limited, snapped, or the old value).
    load(row);
    if (stored)
        stored(f);
}

void FieldBinder::storeEdited()
{
    if (detached_)
        return;
    for (const Row &row : rows_)
        if (row.edited)
            store(row);
}

namespace {

// The bytes a row shows: a tone's type byte follows its code.
std::size_t ShownBytes(const Field &f) { return f.rule == FieldRule::Tone ? 3 : std::max<std::size_t>(f.width, 1); }

} // namespace

void FieldBinder::changed(const ProjectChange &change)
{
    for (const Row &row : rows_)
        if (change.whole || change.touches(row.field->offset, ShownBytes(*row.field)))
            load(row);
}

bool FieldBinder::touches(const ProjectChange &change) const
{
    return std::any_of(rows_.begin(), rows_.end(),
                       [&](const Row &row) { return change.touches(row.field->offset, ShownBytes(*row.field)); });
}

void FieldBinder::store(std::string_view name)
{
    if (const Row *r = find(name))
        store(*r);
}

void FieldBinder::endEdit(QWidget *control)
{
    if (session_.endEdit)
        session_.endEdit();
    else
        control->clearFocus();
}

bool FieldBinder::eventFilter(QObject *watched, QEvent *event)
{
    if (detached_)
        return QObject::eventFilter(watched, event);
    const Row *row = nullptr;
    if (event->type() == QEvent::FocusOut || event->type() == QEvent::KeyPress)
        row = find(watched);
    if (!row)
        return QObject::eventFilter(watched, event);

    if (event->type() == QEvent::FocusOut) {
        // A list's own drop-down takes the focus for a moment, and another
        // application may take it while the user types: neither is leaving
        // the control. Leaving a control the user did not change stores
        // nothing, except where a row's rule stores on every exit (both
        // step lists store both VFO steps).
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
            (row->edited || StoresOnEveryExit(*row->field)))
            store(*row);
        return false;
    }
    if (row->field->kind != FieldKind::Edit)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        endEdit(row->control);
        return true;
    }
    // Characters the field does not take are dropped as they are typed.
    const QString text = key->text();
    return !text.isEmpty() && !FieldKeyPasses(*row->field, text.front().unicode());
}

} // namespace vkt

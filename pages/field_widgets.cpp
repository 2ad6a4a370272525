#include "field_widgets.h"

#include "channel_edit.h"
#include "codecs.h"
#include "localisation.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>

namespace vkt {

namespace {

class ListWheelGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // A list would take the focus from the wheel itself.
        if (event->type() == QEvent::Polish) {
            if (auto *box = qobject_cast<QComboBox *>(watched); box && box->focusPolicy() == Qt::WheelFocus)
                box->setFocusPolicy(Qt::StrongFocus);
            return false;
        }
        if (event->type() != QEvent::Wheel)
            return false;
        auto *box = qobject_cast<QComboBox *>(watched);
        if (!box || box->hasFocus() || (box->lineEdit() && box->lineEdit()->hasFocus()))
            return false;
        // Not taken: the wheel goes on to the page under the list, which
        // scrolls.
        event->ignore();
        return true;
    }
};

} // namespace

void GuardListWheels()
{
    static QPointer<ListWheelGuard> guard;
    if (guard || !qApp)
        return;
    guard = new ListWheelGuard(qApp);
    qApp->installEventFilter(guard);
}

ToneBox::ToneBox(QWidget *parent, bool upperCaseKeys) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert); // a typed tone is not a new list entry
    setCompleter(nullptr);                // and is never completed to a list entry
    for (const std::string &t : ToneTexts())
        addItem(QString::fromStdString(t));
    setMaxVisibleItems(20);
    if (!upperCaseKeys)
        return;
    connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString &text) {
        QString upper = text;
        for (QChar &c : upper)
            if (c.unicode() < 128)
                c = QChar(ToneBoxKey(char(c.unicode())));
        if (upper != text) {
            const int caret = lineEdit()->cursorPosition();
            lineEdit()->setText(upper);
            lineEdit()->setCursorPosition(caret);
        }
    });
}

QString FrequencyErrorText(const QString &typed) { return MainText(kTextNotAFrequency).arg(typed); }

void ShowFrequencyError(QWidget *parent, const QString &typed)
{
    QMessageBox::warning(parent, MainText(0), FrequencyErrorText(typed));
}

} // namespace vkt

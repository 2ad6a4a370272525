#include "field_widgets.h"

#include "channel_edit.h"
#include "codecs.h"
#include "localisation.h"

#include <QLineEdit>
#include <QMessageBox>

namespace vkt {

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

#include "field_texts.h"

#include "codecs.h"
#include "gbk_text.h"
#include "localisation.h"

#include <string>

namespace vkt {

namespace {

// "%1" cannot be read as a frequency...
constexpr int kTextNotAFrequency = 360;

QString MainTextIn(int number, std::uint8_t lang)
{
    return number >= 0 ? TextIn(TextTable::Main, number, lang) : QString();
}

QStringList ItemTextsIn(const Field &f, const RadioData &d, std::uint8_t lang)
{
    QStringList items;
    if (f.rule == FieldRule::Tone) {
        for (const std::string &t : ToneTexts())
            items << QString::fromStdString(t);
        return items;
    }
    const int count = ItemCount(f, d);
    for (const ItemRun &r : f.items) {
        if (items.size() >= count)
            break;
        const QString before = MainTextIn(r.prefixText, lang) +
                               QString::fromUtf8(r.numberPrefix.data(), qsizetype(r.numberPrefix.size()));
        const QString after = MainTextIn(r.suffixText, lang);
        if (r.text >= 0)
            items << before + MainTextIn(r.text, lang) + after;
        else if (!r.literal.empty())
            items << before + QString::fromUtf8(r.literal.data(), qsizetype(r.literal.size())) + after;
        else if (r.step > 0) {
            const QString unit = QString::fromUtf8(r.numberSuffix.data(), qsizetype(r.numberSuffix.size()));
            for (int v = r.from; v <= r.to && items.size() < count; v += r.step)
                items << before + QString::number(v) + unit + after;
        }
    }
    while (items.size() > count)
        items.removeLast();
    return items;
}

QString ControlName(const Field &f)
{
    return QString::fromUtf8(f.name.data(), qsizetype(f.name.size()));
}

// A text quoted into a one-line message: control characters become blanks.
QString Quoted(const QString &text)
{
    QString q = text;
    for (QChar &c : q)
        if (!c.isPrint())
            c = u' ';
    return u'"' + q + u'"';
}

AssignResult Failed(const Field &f, const QString &what)
{
    return {false, ControlName(f) + QStringLiteral(": ") + what};
}

// "#N" with N in plain decimal digits; -1 for anything else.
int PositionText(const QString &text)
{
    if (text.size() < 2 || text.size() > 7 || text[0] != u'#')
        return -1;
    int n = 0;
    for (qsizetype i = 1; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            return -1;
        n = n * 10 + (text[i].unicode() - u'0');
    }
    return n;
}

AssignResult AssignListText(const Field &f, RadioData &d, const QString &text)
{
    int index = -1;
    if (text.isEmpty()) {
        index = LoadIndex(f, d); // left as it shows
    } else {
        const QStringList items = ItemTextsIn(f, d, TAppLang::English);
        index = int(items.indexOf(text));
        if (index < 0) {
            index = PositionText(text);
            if (index < 0 || index >= items.size())
                return Failed(f, QStringLiteral("no item ") + Quoted(text));
        }
    }
    StoreIndex(f, d, index);
    return {};
}

// The text as typing it character by character leaves it in the control:
// each key through the key filter, the change rules after each character.
QString TypedText(const Field &f, const QString &text)
{
    QString typed;
    for (const char32_t code : text.toUcs4()) {
        // Control keys pass the filter but edit rather than insert.
        if (!FieldKeyPasses(f, code) || !QChar::isPrint(code))
            continue;
        typed += QString::fromUcs4(&code, 1);
        typed = QString::fromStdString(CorrectFieldText(f, typed.toStdString()));
    }
    return typed;
}

AssignResult AssignEditText(const Field &f, ProgramState &s, const QString &text)
{
    const QString typed = TypedText(f, text);
    switch (StoreEditText(f, s, typed)) {
    case TextStore::Stored: return {};
    case TextStore::NotAFrequency:
        return Failed(f, TextIn(TextTable::Main, kTextNotAFrequency, TAppLang::English).arg(typed));
    case TextStore::Ignored: break;
    }
    return Failed(f, Quoted(typed) + QStringLiteral(" is not a tone; the stored tone is kept."));
}

// As typing or choosing the text and leaving the control stores it, the
// row's own field only.
AssignResult AssignOwnText(const Field &f, ProgramState &s, const QString &text)
{
    switch (f.kind) {
    case FieldKind::List: return AssignListText(f, s.data, text);
    case FieldKind::Check:
        if (text != u"1" && text != u"0")
            return Failed(f, QStringLiteral("a check box takes \"1\" or \"0\", not ") + Quoted(text));
        // A box already showing the state is not clicked: nothing changes
        // (a tone extension keeps its time).
        if (LoadChecked(f, s.data) != (text == u"1"))
            StoreChecked(f, s.data, text == u"1");
        return {};
    case FieldKind::Radio:
        if (text != u"1")
            return Failed(f, QStringLiteral("a radio button takes only \"1\", not ") + Quoted(text));
        StoreChecked(f, s.data, true);
        return {};
    case FieldKind::Edit: return AssignEditText(f, s, text);
    }
    return Failed(f, QStringLiteral("cannot be set"));
}

} // namespace

QString FieldLabelText(const Field &f)
{
    return f.label >= 0 ? MainText(f.label) : QString();
}

QStringList FieldItemTexts(const Field &f, const RadioData &d)
{
    return ItemTextsIn(f, d, TAppLang::instance().langType());
}

QString ShownText(const Field &f, const ProgramState &s)
{
    switch (f.kind) {
    case FieldKind::List: {
        const int index = LoadIndex(f, s.data);
        const QStringList items = FieldItemTexts(f, s.data);
        return index >= 0 && index < items.size() ? items[index] : QString();
    }
    case FieldKind::Check:
    case FieldKind::Radio: return LoadChecked(f, s.data) ? QStringLiteral("1") : QStringLiteral("0");
    case FieldKind::Edit: break;
    }
    if (f.rule == FieldRule::ByteText) {
        if (f.offset + f.width > sizeof(RadioData))
            return {};
        return DecodeGbkField(reinterpret_cast<const std::uint8_t *>(&s.data) + f.offset, f.width);
    }
    const std::string text = FieldText(f, s.data, s.limits);
    // The password is a byte field too; whatever a file put there shows byte by byte.
    if (f.rule == FieldRule::Password)
        return QString::fromLatin1(text.data(), qsizetype(text.size()));
    return QString::fromStdString(text);
}

TextStore StoreEditText(const Field &f, ProgramState &s, const QString &text)
{
    if (f.rule != FieldRule::ByteText)
        return StoreFieldText(f, s.data, s.limits, text.toStdString());
    const std::vector<std::uint8_t> bytes = EncodeGbk(text, f.width);
    const std::string stored(bytes.begin(), bytes.end());
    return StoreFieldText(f, s.data, s.limits, stored);
}

AssignResult AssignText(const Field &f, ProgramState &s, const QString &text)
{
    const AssignResult r = AssignOwnText(f, s, text);
    // What the row's rules change in other fields, as the page does after
    // storing it.
    if (r.ok && f.alsoStores)
        f.alsoStores(s.data);
    return r;
}

} // namespace vkt

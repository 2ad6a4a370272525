#include "localisation.h"

#include "string_tables.h"

#include <QRegularExpression>
#include <QLocale>

namespace vkt {
namespace {

// Windows primary-language and sub-language codes used below.
constexpr std::uint16_t kLangChinese = 0x04;
constexpr std::uint16_t kSubChinesePrc = 0x02;
constexpr std::uint16_t kSubChineseSingapore = 0x04;
constexpr std::uint16_t kLangIdEnglishUs = 0x0409;

constexpr std::uint16_t MakeLangId(std::uint16_t primary, std::uint16_t sub)
{
    return static_cast<std::uint16_t>((sub << 10) | primary);
}

const detail::StringTableData &TableData(TextTable table)
{
    switch (table) {
    case TextTable::Main: return detail::kMainTable;
    case TextTable::Exchange: return detail::kExchangeTable;
    case TextTable::Port: return detail::kPortTable;
    case TextTable::Warn: return detail::kWarnTable;
    }
    return detail::kMainTable;
}

} // namespace

TAppLang::TAppLang()
    : systemLangId_(LangIdForLocale(QLocale::system().name()))
{
    fSetDetectType(Automatic);
}

TAppLang &TAppLang::instance()
{
    static TAppLang lang;
    return lang;
}

void TAppLang::fSetLangType(std::uint8_t type)
{
    type_ = type;
    detect_ = Manual;
}

void TAppLang::fSetDetectType(std::uint8_t mode)
{
    detect_ = mode;
    if (mode != Automatic)
        return; // manual: the stored type stays
    const std::uint16_t primary = systemLangId_ & 0x3FF;
    const std::uint16_t sub = systemLangId_ >> 10;
    if (primary == kLangChinese)
        type_ = (sub == kSubChinesePrc || sub == kSubChineseSingapore) ? Simplified : Traditional;
    else
        type_ = English;
}

void TAppLang::follow(LangId id)
{
    switch (id) {
    case 0: fSetLangType(English); break;
    case 1: fSetLangType(Simplified); break;
    case 2: fSetLangType(Traditional); break;
    default: fSetDetectType(Automatic); break;
    }
}

std::uint16_t TAppLang::LangIdForLocale(const QString &localeName)
{
    // "zh_TW.UTF-8" or "zh_TW@euro" as some environments spell it.
    QString name = localeName;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (name[i] == u'.' || name[i] == u'@') {
            name.truncate(i);
            break;
        }
    }
    const QLocale locale(name);

    if (locale.language() == QLocale::Chinese) {
        switch (locale.territory()) {
        case QLocale::China: return MakeLangId(kLangChinese, kSubChinesePrc);         // 0x0804
        case QLocale::Singapore: return MakeLangId(kLangChinese, kSubChineseSingapore); // 0x1004
        case QLocale::Taiwan: return MakeLangId(kLangChinese, 0x01);                  // 0x0404
        case QLocale::HongKong: return MakeLangId(kLangChinese, 0x03);                // 0x0C04
        case QLocale::Macau: return MakeLangId(kLangChinese, 0x05);                   // 0x1404
        default:
            return locale.script() == QLocale::TraditionalHanScript
                       ? MakeLangId(kLangChinese, 0x01)
                       : MakeLangId(kLangChinese, kSubChinesePrc);
        }
    }

    // Other languages: the primary language with its default sub-language.
    static constexpr struct {
        QLocale::Language language;
        std::uint16_t primary;
    } kPrimary[] = {
        {QLocale::English, 0x09},    {QLocale::German, 0x07},    {QLocale::French, 0x0C},
        {QLocale::Spanish, 0x0A},    {QLocale::Italian, 0x10},   {QLocale::Japanese, 0x11},
        {QLocale::Korean, 0x12},     {QLocale::Dutch, 0x13},     {QLocale::Polish, 0x15},
        {QLocale::Portuguese, 0x16}, {QLocale::Russian, 0x19},   {QLocale::Swedish, 0x1D},
        {QLocale::Thai, 0x1E},       {QLocale::Turkish, 0x1F},   {QLocale::Ukrainian, 0x22},
        {QLocale::Vietnamese, 0x2A}, {QLocale::Arabic, 0x01},    {QLocale::Czech, 0x05},
    };
    for (const auto &entry : kPrimary) {
        if (entry.language == locale.language())
            return MakeLangId(entry.primary, 0x01);
    }
    return kLangIdEnglishUs;
}

QString TextIn(TextTable table, int number, std::uint8_t langType)
{
    const detail::StringTableData &data = TableData(table);
    if (number < 0 || number >= data.count)
        return {};
    const int column = langType == TAppLang::Simplified    ? 1
                       : langType == TAppLang::Traditional ? 2
                                                           : 0;
    return QString::fromUtf8(data.texts[number][column]);
}

QString Text(TextTable table, int number)
{
    return TextIn(table, number, TAppLang::instance().langType());
}

int TextCount(TextTable table)
{
    return TableData(table).count;
}

QString PlainMainText(int n)
{
    QString text = MainText(n);
    text.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
    text.remove(QLatin1Char('&'));
    return text;
}

} // namespace vkt

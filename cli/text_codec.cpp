#include "text_codec.h"

#include "radio_data.h"

#include <cstdio>

#ifdef VKT_HAVE_QT_CORE
#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#endif

namespace vkt::cli {

namespace {

std::string Escaped(const std::uint8_t *p, std::size_t n)
{
    std::string out;
    for (std::size_t i = 0; i < n; ++i) {
        if (p[i] >= 0x20 && p[i] < 0x7F) {
            out.push_back(static_cast<char>(p[i]));
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", p[i]);
            out += buf;
        }
    }
    return out;
}

} // namespace

std::string DisplayText(const std::uint8_t *field, std::size_t size)
{
    const std::size_t n = FieldTextLength(field, size);
#ifdef VKT_HAVE_QT_CORE
    QStringDecoder gbk("GBK", QStringDecoder::Flag::Stateless);
    if (gbk.isValid()) {
        const QString text = gbk.decode(QByteArray(reinterpret_cast<const char *>(field), qsizetype(n)));
        if (!gbk.hasError() && !text.contains(QChar::ReplacementCharacter)) {
            bool printable = true;
            for (QChar c : text)
                printable = printable && c.isPrint();
            if (printable)
                return text.toStdString();
        }
    }
#endif
    return Escaped(field, n);
}

} // namespace vkt::cli

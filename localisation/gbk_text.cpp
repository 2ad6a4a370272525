#include "gbk_text.h"

#include <QByteArray>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace vkt {
namespace {

constexpr const char *kGbk = "GBK";
constexpr auto kStateless = QStringConverter::Flag::Stateless;

bool IsLeadByte(std::uint8_t b) { return b >= 0x81 && b <= 0xFE; }

// A lead byte at the very end of the text that has no second byte. The
// converter would keep it waiting for more input instead of reporting it.
bool EndsInLoneLeadByte(const std::uint8_t *bytes, std::size_t n)
{
    std::size_t i = 0;
    while (i < n) {
        if (IsLeadByte(bytes[i])) {
            if (i + 1 == n)
                return true;
            i += 2;
        } else {
            ++i;
        }
    }
    return false;
}

// The bytes of one character (one code point) in GBK, or empty when GBK
// has no code for it.
QByteArray EncodeOne(QStringView ch, char32_t cp)
{
    if (!GbkAvailable())
        return cp < 0x80 ? QByteArray(1, static_cast<char>(cp)) : QByteArray();
    QStringEncoder encoder(kGbk, kStateless);
    QByteArray bytes = encoder.encode(ch);
    if (encoder.hasError() || bytes.isEmpty())
        return {};
    // An unmappable character may come back as a substitute ('?'); only
    // bytes that decode to the same character are a real code.
    QStringDecoder decoder(kGbk, kStateless);
    const QString back = decoder.decode(bytes);
    if (decoder.hasError() || back != ch)
        return {};
    // 0xFF is no GBK byte: the converter's private-use character for it
    // would be stored as a byte that every name shows as U+FFFD.
    if (bytes.contains('\xFF'))
        return {};
    return bytes;
}

QString DecodeRun(const std::uint8_t *bytes, std::size_t n)
{
    const bool loneLead = EndsInLoneLeadByte(bytes, n);
    QStringDecoder decoder(kGbk, kStateless);
    QString text = decoder.decode(QByteArrayView(reinterpret_cast<const char *>(bytes),
                                                 static_cast<qsizetype>(loneLead ? n - 1 : n)));
    if (loneLead)
        text += QChar::ReplacementCharacter;
    return text;
}

} // namespace

bool GbkAvailable()
{
    static const bool available = QStringDecoder(kGbk).isValid() && QStringEncoder(kGbk).isValid();
    return available;
}

QString DecodeGbkField(const std::uint8_t *field, std::size_t size)
{
    const std::size_t n = static_cast<std::size_t>(std::find(field, field + size, 0) - field);
    if (!GbkAvailable())
        return QString::fromLatin1(reinterpret_cast<const char *>(field),
                                   static_cast<qsizetype>(n));

    // 0xFF is no GBK byte in any position, yet the converter maps it to a
    // private-use character; the runs between such bytes are decoded alone.
    QString text;
    const std::uint8_t *begin = field;
    const std::uint8_t *const end = field + n;
    for (;;) {
        const std::uint8_t *stop = std::find(begin, end, 0xFF);
        text += DecodeRun(begin, static_cast<std::size_t>(stop - begin));
        if (stop == end)
            return text;
        text += QChar::ReplacementCharacter;
        begin = stop + 1;
    }
}

std::vector<std::uint8_t> EncodeGbk(const QString &text, std::size_t maxBytes)
{
    std::vector<std::uint8_t> out;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text[i];
        qsizetype length = 1;
        char32_t cp = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            length = 2;
            cp = QChar::surrogateToUcs4(c, text[i + 1]);
        }
        const QStringView ch = QStringView(text).mid(i, length);
        i += length;

        if (cp < 0x20 || cp == 0x7F || QChar::isSurrogate(cp))
            continue; // control characters and broken surrogate halves
        const QByteArray bytes = EncodeOne(ch, cp);
        if (bytes.isEmpty())
            continue; // not in GBK
        if (out.size() + static_cast<std::size_t>(bytes.size()) > maxBytes)
            break; // never half a character
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

void StoreGbkField(const QString &text, std::uint8_t *field, std::size_t size)
{
    const std::vector<std::uint8_t> bytes = EncodeGbk(text, size);
    std::fill(field, field + size, std::uint8_t{0});
    std::copy(bytes.begin(), bytes.end(), field);
}

} // namespace vkt

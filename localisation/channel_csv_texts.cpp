#include "channel_csv_texts.h"

#include "channel_edit.h"
#include "gbk_text.h"
#include "localisation.h"

#include <QStringDecoder>

namespace vkt {

namespace {

constexpr std::size_t kNameBytes = sizeof(ChannelEntry::name);

std::string DecodeName(const std::uint8_t *bytes, std::size_t size)
{
    return DecodeGbkField(bytes, size).toStdString();
}

// A name as the file holds it: UTF-8, or GBK when its bytes are not UTF-8
// but are GBK (spreadsheets in Chinese save CSV files in GBK).
NameBytes EncodeName(std::string_view text)
{
    const QByteArrayView bytes(text.data(), qsizetype(text.size()));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString name = utf8.decode(bytes);
    if (utf8.hasError() && GbkAvailable() && !bytes.contains('\0')) {
        // Read as the name fields are shown: bytes that are no GBK show as
        // U+FFFD, and then the text is not GBK either.
        const QString asGbk = DecodeGbkField(reinterpret_cast<const std::uint8_t *>(text.data()), text.size());
        if (!asGbk.contains(QChar::ReplacementCharacter))
            name = asGbk;
    }
    NameBytes out = TypedNameBytes(name);
    out.read = name.toStdString();
    return out;
}

// The level names as the channel table's power list shows them.
QString PowerLevelText(const std::string &level)
{
    if (level == "High")
        return MainText(26);
    if (level == "Low")
        return MainText(27);
    return MainText(192);
}

QString Q(const std::string &s) { return QString::fromStdString(s); }

QString NoteWhat(const CsvNote &n)
{
    switch (n.kind) {
    case CsvNoteKind::BadLocation: return MainText(375).arg(Q(n.a));
    case CsvNoteKind::ShortRow: return MainText(376).arg(Q(n.a), Q(n.b));
    case CsvNoteKind::BadNumber: return MainText(377).arg(Q(n.a), Q(n.b));
    case CsvNoteKind::RxOutOfBand: return MainText(378).arg(Q(n.a));
    case CsvNoteKind::NoSuchMode: return MainText(379).arg(Q(n.a));
    case CsvNoteKind::BadTone: return MainText(380).arg(Q(n.a), Q(n.b));
    case CsvNoteKind::BadDuplex: return MainText(381).arg(Q(n.a));
    case CsvNoteKind::BadChoice: return MainText(382).arg(Q(n.a), Q(n.b));
    case CsvNoteKind::RxOnRaster: return MainText(383).arg(Q(n.a), Q(n.b));
    case CsvNoteKind::TxOnRaster: return MainText(384).arg(Q(n.a), Q(n.b));
    case CsvNoteKind::TxLimited: return MainText(385).arg(Q(n.a), Q(n.b));
    case CsvNoteKind::NameLeftOut: return MainText(386).arg(Q(n.a), Q(n.b));
    case CsvNoteKind::NameCut: return MainText(387).arg(Q(n.a), Q(n.b));
    case CsvNoteKind::PowerNearest: return MainText(388).arg(Q(n.a), PowerLevelText(n.b));
    case CsvNoteKind::SignalNumberReset: return MainText(389).arg(Q(n.a), Q(n.b));
    case CsvNoteKind::PriorityScan: return MainText(406);
    case CsvNoteKind::Repeated: return MainText(399).arg(Q(n.a));
    }
    return {};
}

} // namespace

NameBytes TypedNameBytes(const QString &text)
{
    NameBytes out;
    for (char32_t cp : text.toUcs4()) {
        const QString piece = QString::fromUcs4(&cp, 1);
        const bool printable = QChar::isPrint(cp) || QChar::category(cp) == QChar::Other_PrivateUse;
        if (!printable || (cp < 128 && !NameKeyPasses(unsigned(cp)))) {
            out.leftOut = true;
            continue;
        }
        const std::vector<std::uint8_t> one = EncodeGbk(piece, 4);
        if (one.empty()) {
            out.leftOut = true; // GBK has no code for it
            continue;
        }
        if (out.bytes.size() + one.size() > kNameBytes) {
            out.cut = true;
            continue;
        }
        out.bytes.insert(out.bytes.end(), one.begin(), one.end());
    }
    return out;
}

const NameCodec &GbkNames()
{
    static const NameCodec codec{&DecodeName, &EncodeName};
    return codec;
}

QString CsvNoteText(const CsvNote &note)
{
    if (note.channel > 0)
        return MainText(373).arg(QString::number(note.line), QString::number(note.channel), NoteWhat(note));
    return MainText(374).arg(QString::number(note.line), NoteWhat(note));
}

QString CsvProblemText(const CsvImportResult &r, const QString &file)
{
    switch (r.problem) {
    case CsvFileProblem::None: return {};
    case CsvFileProblem::Empty: return MainText(400).arg(file);
    case CsvFileProblem::NotChannels: return MainText(401).arg(file, Q(r.missing));
    case CsvFileProblem::TooLarge: return MainText(402).arg(file, Q(r.missing));
    }
    return {};
}

QStringList CsvReportLines(const CsvImportResult &r)
{
    QStringList lines{MainText(372).arg(r.imported).arg(r.skipped)};
    for (const CsvNote &n : r.notes)
        lines << CsvNoteText(n);
    return lines;
}

} // namespace vkt

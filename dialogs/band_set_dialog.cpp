#include "band_set_dialog.h"

#include "codecs.h"
#include "field_widgets.h"
#include "localisation.h"
#include "message_dialogs.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace vkt {

namespace {

// Control keys always pass a key filter: codes below 32 and 127 to 255.
bool IsControlKey(const QString &text)
{
    if (text.isEmpty())
        return true;
    const char16_t c = text.at(0).unicode();
    return c < 32 || (c >= 127 && c <= 255);
}

} // namespace

TBandSetDlg::TBandSetDlg(const BandLimits &limits, std::function<void(const BandLimitValues &)> take,
                         QWidget *parent)
    : QDialog(parent), current_(limits), values_(BandLimitsToValues(limits)), take_(std::move(take))
{
    setObjectName("TBandSetDlg");
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *layout = new QVBoxLayout(this);
    for (int band = 0; band < 2; ++band) {
        auto *frame = new QGroupBox(band == 0 ? QStringLiteral("U:") : QStringLiteral("V:"), this);
        auto *grid = new QGridLayout(frame);
        grid->addWidget(new QLabel(QStringLiteral("min"), frame), 0, 1);
        grid->addWidget(new QLabel(QStringLiteral("max"), frame), 0, 2);
        for (int pair = 0; pair < 2; ++pair) {
            grid->addWidget(new QLabel(pair == 0 ? QStringLiteral("Tx:") : QStringLiteral("Rx:"), frame), pair + 1, 0);
            for (int end = 0; end < 2; ++end) {
                const std::size_t i = std::size_t(band * 4 + pair * 2 + end);
                auto *e = new QLineEdit(frame);
                e->setObjectName(QString::fromLatin1(BandLimitEditName(BandLimit(i)).data(),
                                                     qsizetype(BandLimitEditName(BandLimit(i)).size())));
                e->installEventFilter(this);
                connect(e, &QLineEdit::textEdited, this, [e](const QString &text) {
                    const QString corrected =
                        QString::fromStdString(CorrectBandLimitTyping(text.toStdString()));
                    if (corrected != text) {
                        const int caret = std::min<int>(e->cursorPosition(), int(corrected.size()));
                        e->setText(corrected);
                        e->setCursorPosition(caret);
                    }
                });
                edits[i] = e;
                grid->addWidget(e, pair + 1, end + 1);
            }
        }
        layout->addWidget(frame);
    }
    eBand_U_Tx_MIN = edits[0];
    eBand_U_Tx_MAX = edits[1];
    eBand_U_Rx_MIN = edits[2];
    eBand_U_Rx_MAX = edits[3];
    eBand_V_Tx_MIN = edits[4];
    eBand_V_Tx_MAX = edits[5];
    eBand_V_Rx_MIN = edits[6];
    eBand_V_Rx_MAX = edits[7];

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setDefault(true);
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(OKBtn);
    row->addStretch();
    layout->addLayout(row);
    connect(OKBtn, &QPushButton::clicked, this, &TBandSetDlg::OKBtnClick);

    for (std::size_t i = 0; i < kBandLimitCount; ++i)
        showValue(i);
}

void TBandSetDlg::showValue(std::size_t i) { edits[i]->setText(QString::fromStdString(ChannelFreqText(values_[i]))); }

bool TBandSetDlg::commit(std::size_t i)
{
    // The key filter keeps typed text to digits and points, but a pasted
    // text can be anything: one that is not a number leaves the limit.
    const std::optional<std::uint32_t> hz = CommitBandLimitText(edits[i]->text().toStdString());
    if (hz)
        values_[i] = *hz;
    showValue(i);
    return hz.has_value();
}

void TBandSetDlg::refuse(std::size_t i, const QString &typed)
{
    if (!refused_)
        refused_ = Refused{i, typed};
    // Told after the focus change is done, so the message does not cut
    // into the click that moved the focus; OK tells it at once instead.
    QTimer::singleShot(0, this, [this] { tellRefused(); });
}

std::optional<std::size_t> TBandSetDlg::tellRefused()
{
    if (!refused_)
        return std::nullopt;
    const Refused r = *refused_;
    refused_.reset();
    ShowFrequencyError(this, r.typed);
    return r.edit;
}

bool TBandSetDlg::eventFilter(QObject *watched, QEvent *event)
{
    for (std::size_t i = 0; i < kBandLimitCount; ++i) {
        if (watched != edits[i])
            continue;
        if (event->type() == QEvent::KeyPress) {
            const QString text = static_cast<QKeyEvent *>(event)->text();
            if (!IsControlKey(text)) {
                const char16_t c = text.at(0).unicode();
                if (c >= 128 || !BandLimitKeyAllowed(char(c)))
                    return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            // Leaving the edit converts it. A context menu (its Paste among
            // them) or another window taking the focus for a while is not
            // leaving it.
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
                const QString typed = edits[i]->text();
                if (!commit(i))
                    refuse(i, typed);
            }
        }
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TBandSetDlg::OKBtnClick()
{
    // A value still being typed counts as if its edit had been left. A
    // text that is not a number keeps its limit and the window open: the
    // user is told, and the edit has the focus again. That holds too for
    // the text refused when the click on OK left its edit.
    for (std::size_t i = 0; i < kBandLimitCount; ++i) {
        const QString typed = edits[i]->text();
        if (!commit(i) && !refused_)
            refused_ = Refused{i, typed};
    }
    if (const std::optional<std::size_t> edit = tellRefused()) {
        edits[*edit]->setFocus();
        return;
    }
    if (JudgeBandLimits(values_, current_) == BandLimitsVerdict::Changed) {
        TMyWarnDlg_2 box(MainText(155), MainText(153), MainText(154), this);
        if (box.exec() == QDialog::Accepted && take_)
            take_(values_);
    }
    accept();
}

} // namespace vkt

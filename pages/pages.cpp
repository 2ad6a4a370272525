#include "pages.h"

#include "app_session.h"
#include "codecs.h"
#include "gbk_text.h"
#include "localisation.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vkt {

// ---- options page --------------------------------------------------------

OptionsPage::OptionsPage(AppSession &session, QWidget *parent) : EditorPage(session, parent)
{
    setObjectName("OptionsPage");
    gbLogo = new QGroupBox(this);
    gbLogo->setObjectName("gbLogo");
    static const char *const kNames[4] = {"rLogo_off", "rWelcome_chs", "rWelcome_eng", "rWelcome_define"};
    auto *box = new QVBoxLayout(gbLogo);
    for (int i = 0; i < 4; ++i) {
        auto *b = new QRadioButton(gbLogo);
        b->setObjectName(kNames[i]);
        b->installEventFilter(this);
        box->addWidget(b);
        logoButtons[std::size_t(i)] = b;
    }
    auto *layout = new QGridLayout(this);
    layout->addWidget(gbLogo, 0, 0, Qt::AlignTop | Qt::AlignLeft);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(1, 1);
}

QString OptionsPage::caption() const { return MainText(35); }

void OptionsPage::retranslate()
{
    gbLogo->setTitle(MainText(168));
    static const int kTexts[4] = {75, 349, 350, 351};
    for (int i = 0; i < 4; ++i)
        logoButtons[std::size_t(i)]->setText(MainText(kTexts[i]));
}

void OptionsPage::load()
{
    const std::uint8_t type = session_.state.data.displayType;
    logoButtons[type >= 1 && type <= 3 ? type : 0]->setChecked(true);
}

bool OptionsPage::eventFilter(QObject *watched, QEvent *event)
{
    // The display type is stored when its button loses the focus, so the
    // button that had the focus last decides.
    if (event->type() == QEvent::FocusOut) {
        for (std::size_t i = 0; i < logoButtons.size(); ++i)
            if (watched == logoButtons[i] && logoButtons[i]->isChecked())
                session_.state.data.displayType = static_cast<std::uint8_t>(i);
    }
    return EditorPage::eventFilter(watched, event);
}

// ---- DTMF page -----------------------------------------------------------

DtmfPage::DtmfPage(AppSession &session, QWidget *parent) : EditorPage(session, parent)
{
    setObjectName("DtmfPage");
    sgD_AddrBook = new Grid(kAddressBookCount + 1, 3, this);
    sgD_AddrBook->setObjectName("sgD_AddrBook");
    // The address book always starts at these widths.
    const int widths[3] = {34, 70, 130};
    for (int c = 0; c < 3; ++c)
        sgD_AddrBook->setColumnSize(c, widths[c]);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(sgD_AddrBook);
    layout->addStretch(1);
}

QString DtmfPage::caption() const { return QStringLiteral("DTMF"); }

void DtmfPage::retranslate()
{
    sgD_AddrBook->setHeadings({MainText(147), MainText(148), MainText(149)});
}

void DtmfPage::load()
{
    static const char kDigits[] = "0123456789ABCD*#";
    const RadioData &d = session_.state.data;
    for (int j = 1; j <= kAddressBookCount; ++j) {
        if (!IsAddressBookInUse(d, j)) {
            sgD_AddrBook->setCellText(j, 1, {});
            sgD_AddrBook->setCellText(j, 2, {});
            continue;
        }
        const AddressBookEntry &e = d.addrBook[j];
        QString code;
        for (int i = 0; i < e.digitCount && i < 17; ++i)
            code += QLatin1Char(kDigits[e.digits[i] & 0x0F]);
        sgD_AddrBook->setCellText(j, 1, DecodeGbkField(e.name, sizeof e.name));
        sgD_AddrBook->setCellText(j, 2, code);
    }
}

// ---- pages still to be filled ----------------------------------------------

PlainPage::PlainPage(AppSession &session, int captionText, const char *name, QWidget *parent)
    : EditorPage(session, parent), captionText_(captionText)
{
    setObjectName(name);
}

QString PlainPage::caption() const { return MainText(captionText_); }

} // namespace vkt

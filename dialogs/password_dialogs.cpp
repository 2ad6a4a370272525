#include "password_dialogs.h"

#include "localisation.h"
#include "message_dialogs.h"

#include <QCheckBox>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>
#include <QVBoxLayout>

#include <optional>
#include <string>

namespace vkt {

namespace {

constexpr std::string_view kAdjustmentCode = "pvzj73";
constexpr std::string_view kBandLimitsCode = "mqwhaze";
constexpr int kPasswordPointSize = 16;

// Leaves out of a typed or pasted text every character a password cannot
// hold (above U+00FF; the two halves of a character beyond the first
// 65536 too); the rest of the text stays, and the caret with it.
class PasswordCharFilter : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override
    {
        QString kept;
        kept.reserve(input.size());
        int caret = pos;
        for (qsizetype i = 0; i < input.size(); ++i) {
            if (PasswordCharAllowed(input.at(i).unicode()))
                kept.append(input.at(i));
            else if (i < pos)
                --caret;
        }
        input = kept;
        pos = caret;
        return Acceptable;
    }
};

QLineEdit *PasswordEdit(QWidget *parent, int maxLength)
{
    auto *e = new QLineEdit(parent);
    e->setValidator(new PasswordCharFilter(e));
    e->setObjectName("eInput");
    e->setEchoMode(QLineEdit::Password);
    e->setStyleSheet(QStringLiteral("lineedit-password-character: 42;")); // '*'
    if (maxLength > 0)
        e->setMaxLength(maxLength);
    QFont f = e->font();
    f.setPointSize(kPasswordPointSize);
    e->setFont(f);
    return e;
}

QPushButton *Button(const QString &text, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QHBoxLayout *ButtonRow(std::initializer_list<QPushButton *> buttons)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton *b : buttons)
        row->addWidget(b);
    row->addStretch();
    return row;
}

// A field's text as the radio keeps it, one byte per character, converted
// as the command line converts its password options. The field's filter
// lets in no character that could fail.
std::optional<std::string> PasswordBytes(const QLineEdit *e)
{
    return PasswordBytesFromUtf8(e->text().toStdString());
}

} // namespace

ServiceWindow ServiceWindowForCode(std::string_view code)
{
    if (code == kAdjustmentCode)
        return ServiceWindow::Adjustment;
    if (code == kBandLimitsCode)
        return ServiceWindow::BandLimits;
    return ServiceWindow::None;
}

// ---- TPasswordDlg ------------------------------------------------------------

TPasswordDlg::TPasswordDlg(std::function<void(ServiceWindow)> open, QWidget *parent)
    : QDialog(parent), open_(std::move(open))
{
    setObjectName("TPasswordDlg");
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    eInput = PasswordEdit(this, 0); // an access code has no length limit
    OKBtn = Button(QString(), "OKBtn", this);
    OKBtn->setDefault(true);
    CancelBtn = Button(QString(), "CancelBtn", this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(eInput);
    layout->addLayout(ButtonRow({OKBtn, CancelBtn}));
    connect(OKBtn, &QPushButton::clicked, this, &TPasswordDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TPasswordDlg::OKBtnClick()
{
    const std::optional<std::string> code = PasswordBytes(eInput);
    const ServiceWindow target = code ? ServiceWindowForCode(*code) : ServiceWindow::None;
    if (open_)
        open_(target);
    accept();
}

// ---- TSetPasswordDlg ---------------------------------------------------------

TSetPasswordDlg::TSetPasswordDlg(Project &project, QWidget *parent) : QDialog(parent), project_(project)
{
    setObjectName("TSetPasswordDlg");
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    sPassword = new QLabel(MainText(183), this);
    sPassword->setObjectName("sPassword");
    eInput = PasswordEdit(this, kPasswordMaxLength);
    OKBtn = Button(MainText(153), "OKBtn", this);
    OKBtn->setDefault(true);
    CancelBtn = Button(MainText(154), "CancelBtn", this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(sPassword);
    layout->addWidget(eInput);
    layout->addLayout(ButtonRow({OKBtn, CancelBtn}));
    connect(OKBtn, &QPushButton::clicked, this, &TSetPasswordDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TSetPasswordDlg::OKBtnClick()
{
    if (const std::optional<std::string> bytes = PasswordBytes(eInput))
        project_.edit(PlainMainText(181).toStdString(),
                      [&](ProgramState &s) { StorePasswordField(s.data.accessPassword, *bytes); });
    accept();
}

// ---- TNewPasswordDlg ---------------------------------------------------------

TNewPasswordDlg::TNewPasswordDlg(Project &project, std::function<void()> writePassword, QWidget *parent)
    : QDialog(parent), project_(project), writePassword_(std::move(writePassword))
{
    setObjectName("TNewPasswordDlg");
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    sInput = new QLabel(MainText(182), this);
    sInput->setObjectName("sInput");
    eInput = PasswordEdit(this, kPasswordMaxLength);
    sSureInput = new QLabel(MainText(184), this);
    sSureInput->setObjectName("sSureInput");
    eSureInput = PasswordEdit(this, kPasswordMaxLength);
    eSureInput->setObjectName("eSureInput");
    cbWriteWithNewPD = new QCheckBox(MainText(227), this);
    cbWriteWithNewPD->setObjectName("cbWriteWithNewPD");
    cbWriteWithNewPD->setChecked(project_.data().writeNewPassword == 1);
    // Stored as soon as it is ticked or cleared: leaving the box, by any
    // way, keeps what it shows.
    connect(cbWriteWithNewPD, &QCheckBox::toggled, this, [this](bool on) {
        project_.edit(PlainMainText(227).toStdString(),
                      [on](ProgramState &s) { s.data.writeNewPassword = on ? 1 : 0; });
    });
    bWrite = Button(MainText(185), "bWrite", this);
    OKBtn = Button(MainText(153), "OKBtn", this);
    OKBtn->setDefault(true);
    CancelBtn = Button(MainText(154), "CancelBtn", this);

    auto *layout = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    grid->addWidget(sInput, 0, 0);
    grid->addWidget(eInput, 0, 1);
    grid->addWidget(sSureInput, 1, 0);
    grid->addWidget(eSureInput, 1, 1);
    layout->addLayout(grid);
    layout->addWidget(cbWriteWithNewPD);
    layout->addLayout(ButtonRow({bWrite, OKBtn, CancelBtn}));
    connect(bWrite, &QPushButton::clicked, this, &TNewPasswordDlg::bWriteClick);
    connect(OKBtn, &QPushButton::clicked, this, &TNewPasswordDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

bool TNewPasswordDlg::takeMatching()
{
    const std::optional<std::string> first = PasswordBytes(eInput);
    const std::optional<std::string> second = PasswordBytes(eSureInput);
    if (!first || !second || !PasswordsMatch(*first, *second)) {
        TUserWarnDlg(MainText(186), this).exec();
        return false;
    }
    project_.edit(PlainMainText(182).toStdString(),
                  [&](ProgramState &s) { StorePasswordField(s.data.radioPassword, *first); });
    return true;
}

void TNewPasswordDlg::bWriteClick()
{
    if (takeMatching() && writePassword_)
        writePassword_();
}

void TNewPasswordDlg::OKBtnClick()
{
    if (takeMatching())
        TUserWarnDlg(QStringLiteral("OK"), this).exec();
    accept();
}

} // namespace vkt

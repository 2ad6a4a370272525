#include "message_dialogs.h"

#include "localisation.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vkt {

namespace {

QLabel *MessageLabel(const QString &text, int pointSize, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName("label");
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    QFont f = label->font();
    f.setPointSize(pointSize);
    label->setFont(f);
    return label;
}

QPushButton *Button(const QString &text, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

void Arrange(QDialog *dialog, QLabel *label, std::initializer_list<QPushButton *> buttons)
{
    auto *layout = new QVBoxLayout(dialog);
    layout->addWidget(label, 1);
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton *b : buttons)
        row->addWidget(b);
    row->addStretch();
    layout->addLayout(row);
    dialog->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

} // namespace

TUserWarnDlg::TUserWarnDlg(const QString &text, QWidget *parent) : QDialog(parent)
{
    setObjectName("TUserWarnDlg");
    setModal(true);
    WarnDlgText = MessageLabel(text, 10, this);
    WarnDlgText->setObjectName("WarnDlgText");
    WarnDlgText->setFixedSize(260, 60);
    OKBtn = Button(Text(TextTable::Warn, 0), "OKBtn", this);
    CancelBtn = Button(MainText(154), "CancelBtn", this);
    CancelBtn->hide();
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    Arrange(this, WarnDlgText, {OKBtn});
}

TMyWarnDlg_2::TMyWarnDlg_2(const QString &text, const QString &ok, const QString &cancel, QWidget *parent)
    : QDialog(parent)
{
    setObjectName("TMyWarnDlg_2");
    setModal(true);
    label = MessageLabel(text, 12, this);
    OKBtn = Button(ok, "OKBtn", this);
    CancelBtn = Button(cancel, "CancelBtn", this);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    Arrange(this, label, {OKBtn, CancelBtn});
}

TMyWarnDlg_3::TMyWarnDlg_3(const QString &text, const QString &yes, const QString &no, const QString &cancel,
                           QWidget *parent)
    : QDialog(parent)
{
    setObjectName("TMyWarnDlg_3");
    setModal(true);
    label = MessageLabel(text, 10, this);
    label->setFixedWidth(290);
    OKBtn = Button(yes, "OKBtn", this);
    NoBtn = Button(no, "NoBtn", this);
    CancelBtn = Button(cancel, "CancelBtn", this);
    connect(OKBtn, &QPushButton::clicked, this, [this] { done(Yes); });
    connect(NoBtn, &QPushButton::clicked, this, [this] { done(No); });
    connect(CancelBtn, &QPushButton::clicked, this, [this] { done(Cancel); });
    Arrange(this, label, {OKBtn, NoBtn, CancelBtn});
}

TReportDlg::TReportDlg(const QString &title, const QStringList &lines, QWidget *parent) : QDialog(parent)
{
    setObjectName("TReportDlg");
    setModal(true);
    setWindowTitle(title);
    // The first line sums up; the others are one each for a row.
    label = MessageLabel(lines.value(0), 10, this);
    ReportText = new QPlainTextEdit(this);
    ReportText->setObjectName("ReportText");
    ReportText->setReadOnly(true);
    ReportText->setLineWrapMode(QPlainTextEdit::NoWrap);
    ReportText->setPlainText(lines.mid(1).join(QLatin1Char('\n')));
    ReportText->setVisible(lines.size() > 1);
    OKBtn = Button(Text(TextTable::Warn, 0), "OKBtn", this);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(ReportText, 1);
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(OKBtn);
    row->addStretch();
    layout->addLayout(row);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    resize(lines.size() > 1 ? QSize(640, 360) : QSize(360, 120));
}

} // namespace vkt

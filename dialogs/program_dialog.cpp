#include "program_dialog.h"

#include "localisation.h"
#include "message_dialogs.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>


namespace vkt {

TProgramDialog::TProgramDialog(ProgramState &state, PortSelection &ports, SerialLine &line, int exchangeMode,
                               bool readFromRadio, const QString &caption, QWidget *parent)
    : QDialog(parent)
{
    setObjectName("TProgramDialog");
    setWindowTitle(caption);
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgramStart = new QPushButton(Text(TextTable::Exchange, 0), this);
    ProgramStart->setObjectName("ProgramStart");
    CancelBtn = new QPushButton(Text(TextTable::Exchange, 1), this);
    CancelBtn->setObjectName("CancelBtn");
    ProgramStart->setDefault(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ProgressBar1);
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ProgramStart);
    row->addWidget(CancelBtn);
    layout->addLayout(row);
    resize(360, 110);

    exchange_ = std::make_unique<Exchange>(state, ports, line, timers_, SystemRandomBytes(), LocalClockNow);
    exchange_->ExchangeMode = exchangeMode;
    exchange_->ReadFromRadio = readFromRadio;
    exchange_->setListener(this);
    timers_.setHandler([this](TimerId id) { exchange_->onTimer(id); });

    showMessage = [this](const QString &text) {
        TUserWarnDlg box(text, this);
        box.exec();
    };

    connect(ProgramStart, &QPushButton::clicked, this, &TProgramDialog::ProgramStartClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

TProgramDialog::~TProgramDialog()
{
    exchange_->setListener(nullptr);
    exchange_->FormClose();
}

void TProgramDialog::ProgramStartClick()
{
    // The buttons stay disabled: the window closes at the end of the exchange.
    ProgramStart->setEnabled(false);
    CancelBtn->setEnabled(false);
    exchange_->ProgramStartClick();
}

void TProgramDialog::progressChanged(int position)
{
    ProgressBar1->setValue(position);
}

void TProgramDialog::finished(ExchangeOutcome outcome)
{
    // The exchange ended while the user was asked whether to stop it: the
    // question no longer applies.
    if (stopQuestion_)
        stopQuestion_->reject();
    int text = 2;
    if (outcome == ExchangeOutcome::Success)
        text = 3;
    else if (outcome == ExchangeOutcome::PasswordError)
        text = 4;
    if (showMessage)
        showMessage(Text(TextTable::Exchange, text));
    done(outcome == ExchangeOutcome::Success ? QDialog::Accepted : QDialog::Rejected);
}

bool TProgramDialog::mayClose()
{
    // Before the handshake is through nothing has been written, and a read
    // broken off loses nothing: those close at once.
    if (!exchange_->running() || exchange_->ReadFromRadio || exchange_->handshakeStep() != 3)
        return true;
    // The exchange goes on while the question is open.
    TMyWarnDlg_2 question(MainText(363), MainText(364), Text(TextTable::Exchange, 6), this);
    stopQuestion_ = &question;
    const bool stop = question.exec() == QDialog::Accepted;
    stopQuestion_ = nullptr;
    if (!exchange_->running())
        return true; // it ended meanwhile and has told its outcome
    if (!stop)
        return false;
    exchange_->FormClose();
    if (showMessage)
        showMessage(MainText(365));
    return true;
}

void TProgramDialog::reject()
{
    // Escape, or Cancel before the start. Closing the window during an
    // exchange stops it and releases the port.
    if (!mayClose())
        return;
    exchange_->FormClose();
    QDialog::reject();
}

void TProgramDialog::closeEvent(QCloseEvent *event)
{
    if (!mayClose()) {
        event->ignore();
        return;
    }
    exchange_->FormClose();
    QDialog::closeEvent(event);
}

} // namespace vkt

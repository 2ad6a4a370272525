// The exchange window: a progress bar, Start and Cancel. It runs one
// programming exchange on QTimers and tells its outcome in a message box.
#pragma once

#include "exchange.h"
#include "qt_timers.h"

#include <QDialog>
#include <QPointer>

#include <functional>
#include <memory>

class QProgressBar;
class QPushButton;

namespace vkt {

class TProgramDialog : public QDialog, private ExchangeListener {
public:
    // `caption` is the window title ("Read from radio", "Write to radio").
    TProgramDialog(ProgramState &state, PortSelection &ports, SerialLine &line, int exchangeMode,
                   bool readFromRadio, const QString &caption, QWidget *parent = nullptr);
    ~TProgramDialog() override;

    ExchangeOutcome outcome() const { return exchange_->outcome(); }
    Exchange &exchange() { return *exchange_; }

    QProgressBar *ProgressBar1;
    QPushButton *ProgramStart;
    QPushButton *CancelBtn;

    // Shows the outcome message; replaceable so that a caller can route it
    // elsewhere. The default opens TUserWarnDlg modally.
    std::function<void(const QString &)> showMessage;

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    // Closing while blocks are being written asks first; true when the
    // window may close now (after a confirmed stop the exchange is
    // stopped and the user told what that leaves in the radio).
    bool mayClose();
    void ProgramStartClick();
    void progressChanged(int position) override;
    void finished(ExchangeOutcome outcome) override;

    QtTimerService timers_;
    std::unique_ptr<Exchange> exchange_;
    QPointer<QDialog> stopQuestion_; // open while mayClose() asks
};

} // namespace vkt

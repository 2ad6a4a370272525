// The channel batch-set window: fills a run of memory channels with
// frequencies growing by a fixed step and the same tones and settings.
#pragma once

#include "project.h"
#include "radio_data.h"

#include <QDialog>

#include <cstdint>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vkt {

class TChBatchSetDlg : public QDialog {
public:
    // OK fills the channels as one step of the project, with its band
    // limits.
    explicit TChBatchSetDlg(Project &project, QWidget *parent = nullptr);

    // Channels filled by the last OK (0 before it, and when the range
    // selected none).
    int filled() const { return filled_; }

    QLabel *sChBatchFreqRx;
    QLineEdit *eChBatchFreqRx;
    QLabel *sChBatchFreqTx;
    QLineEdit *eChBatchFreqTx;
    QLabel *sChBatchSubDe;
    QComboBox *cbChBatchSubDe;
    QLabel *sChBatchSubEn;
    QComboBox *cbChBatchSubEn;
    QLabel *sChBatchPower;
    QComboBox *cbChBatchPower;
    QLabel *sChBatchBandwidth;
    QComboBox *cbChBatchBandwidth;
    QLabel *sChBatchSCN;
    QComboBox *cbChBatchSCN;
    QLabel *sChBatchBUS;
    QComboBox *cbChBatchBUS;
    QLabel *sChBatchScr;
    QComboBox *cbChBatchScr;
    QLabel *sStartCh;
    QComboBox *cbStartCh;
    QLabel *sEndCh; // kept hidden; rbEndCh carries the caption
    QRadioButton *rbEndCh;
    QComboBox *cbEndCh;
    QRadioButton *rbEndFreq;
    QLineEdit *eEndFreq;
    QLabel *sStep;
    QLineEdit *eStep;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    enum class Field { Rx, Tx, EndFreq, Step };

    void rbEndChClick();
    void rbEndFreqClick();
    void OKBtnClick();

    QLineEdit *editOf(Field f) const;
    std::uint32_t &valueOf(Field f);
    QString textFor(Field f, std::uint32_t hz) const;
    // The conversion of a field being left: on success the value is kept
    // and shown in its form; a text that is not a frequency puts the
    // previous value back and returns false.
    bool commitField(Field f);
    void correctTyping(Field f);

    Project &project_;
    BandLimits limits_;
    std::uint32_t startRx_ = 0;
    std::uint32_t startTx_ = 0;
    std::uint32_t endFreq_ = 0;
    std::uint32_t step_ = 0;
    int filled_ = 0;
};

} // namespace vkt

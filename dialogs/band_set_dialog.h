// The band-limit window: the lowest and highest transmit and receive
// frequency of the UHF and VHF band.
#pragma once

#include "band_limits_edit.h"

#include <QDialog>

#include <array>
#include <functional>

class QLineEdit;
class QPushButton;

namespace vkt {

class TBandSetDlg : public QDialog {
public:
    // `take` is called with the new limits once the user has confirmed
    // that all data is cleared; it does the clearing and the saving.
    TBandSetDlg(const BandLimits &limits, std::function<void(const BandLimitValues &)> take,
                QWidget *parent = nullptr);

    // The edits in the order of BandLimit.
    std::array<QLineEdit *, kBandLimitCount> edits{};
    QLineEdit *eBand_U_Tx_MIN, *eBand_U_Tx_MAX, *eBand_U_Rx_MIN, *eBand_U_Rx_MAX;
    QLineEdit *eBand_V_Tx_MIN, *eBand_V_Tx_MAX, *eBand_V_Rx_MIN, *eBand_V_Rx_MAX;
    QPushButton *OKBtn;

    const BandLimitValues &values() const { return values_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void commit(std::size_t i);
    void showValue(std::size_t i);
    void OKBtnClick();

    BandLimits current_;
    BandLimitValues values_;
    std::function<void(const BandLimitValues &)> take_;
};

} // namespace vkt

// The band-limit window: the lowest and highest transmit and receive
// frequency of the UHF and VHF band.
#pragma once

#include "band_limits_edit.h"

#include <QDialog>
#include <QString>

#include <array>
#include <functional>
#include <optional>

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
    // Converts edit i into its limit and shows the limit; false when the
    // text is not a number (the limit stays as it was).
    bool commit(std::size_t i);
    void showValue(std::size_t i);
    // Remembers that edit i was left with `typed`, which is not a number,
    // and tells the user once the focus has settled.
    void refuse(std::size_t i, const QString &typed);
    // Shows the message of a refused text, if one is waiting; returns the
    // edit it was typed into.
    std::optional<std::size_t> tellRefused();
    void OKBtnClick();

    BandLimits current_;
    BandLimitValues values_;
    std::function<void(const BandLimitValues &)> take_;
    struct Refused {
        std::size_t edit;
        QString typed;
    };
    std::optional<Refused> refused_;
};

} // namespace vkt

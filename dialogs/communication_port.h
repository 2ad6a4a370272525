// The communication-port window: the fixed port COM1..COM30 or the
// automatic search.
#pragma once

#include "exchange.h"

#include <QDialog>

#include <array>
#include <functional>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace vkt {

class TCommunicationPort : public QDialog {
public:
    // `deviceOf` names the device behind a port number (shown as a hint).
    TCommunicationPort(PortSelection &ports, SerialLine &line, std::function<QString(int)> deviceOf = {},
                       QWidget *parent = nullptr);

    QGroupBox *gbCOM;
    std::array<QRadioButton *, kMaxPortNumber> rbCOM{};
    QCheckBox *cAutoSeachPort;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;

private:
    void enableFoundPorts(bool enable);
    void cAutoSeachPortClick();
    void OKBtnClick();

    PortSelection &ports_;
    SerialLine &line_;
};

} // namespace vkt

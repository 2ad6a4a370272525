#include "communication_port.h"

#include "localisation.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vkt {

TCommunicationPort::TCommunicationPort(PortSelection &ports, SerialLine &line, std::function<QString(int)> deviceOf,
                                       QWidget *parent)
    : QDialog(parent), ports_(ports), line_(line)
{
    setObjectName("TCommunicationPort");
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    gbCOM = new QGroupBox(this);
    gbCOM->setObjectName("gbCOM");
    auto *grid = new QGridLayout(gbCOM);
    auto *group = new QButtonGroup(this);
    for (int n = 1; n <= kMaxPortNumber; ++n) {
        auto *b = new QRadioButton(QStringLiteral("COM%1").arg(n), gbCOM);
        b->setObjectName(QStringLiteral("rbCOM%1").arg(n));
        if (deviceOf) {
            const QString device = deviceOf(n);
            if (!device.isEmpty())
                b->setToolTip(device);
        }
        group->addButton(b, n);
        grid->addWidget(b, (n - 1) / 5, (n - 1) % 5);
        rbCOM[std::size_t(n - 1)] = b;
    }
    cAutoSeachPort = new QCheckBox(Text(TextTable::Port, 2), this);
    cAutoSeachPort->setObjectName("cAutoSeachPort");
    OKBtn = new QPushButton(Text(TextTable::Port, 0), this);
    OKBtn->setObjectName("OKBtn");
    CancelBtn = new QPushButton(Text(TextTable::Port, 1), this);
    CancelBtn->setObjectName("CancelBtn");

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(gbCOM);
    layout->addWidget(cAutoSeachPort);
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(OKBtn);
    row->addWidget(CancelBtn);
    layout->addLayout(row);

    // Opening: the box shows the search flag, the buttons of the present
    // ports are enabled only for a fixed port, and a port that is no longer
    // present is replaced by COM1 at once.
    cAutoSeachPort->setChecked(ports_.AutoSeachPort);
    for (QRadioButton *b : rbCOM)
        b->setEnabled(false);
    ScanPorts(line_, ports_);
    bool present = false;
    for (int i = 0; i < ports_.FoundPortCount; ++i)
        present = present || ports_.FoundPorts[std::size_t(i)] == ports_.Port;
    if (!present)
        ports_.Port = 1;
    if (!ports_.AutoSeachPort)
        enableFoundPorts(true);
    if (ports_.Port >= 1 && ports_.Port <= kMaxPortNumber)
        rbCOM[std::size_t(ports_.Port - 1)]->setChecked(true);

    connect(cAutoSeachPort, &QCheckBox::clicked, this, &TCommunicationPort::cAutoSeachPortClick);
    connect(OKBtn, &QPushButton::clicked, this, &TCommunicationPort::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TCommunicationPort::enableFoundPorts(bool enable)
{
    for (int i = 0; i < ports_.FoundPortCount; ++i) {
        const int n = ports_.FoundPorts[std::size_t(i)];
        if (n >= 1 && n <= kMaxPortNumber)
            rbCOM[std::size_t(n - 1)]->setEnabled(enable);
    }
}

void TCommunicationPort::cAutoSeachPortClick()
{
    // The change stands even if the window is then cancelled.
    ports_.AutoSeachPort = cAutoSeachPort->isChecked();
    ScanPorts(line_, ports_);
    if (ports_.AutoSeachPort) {
        for (QRadioButton *b : rbCOM)
            b->setEnabled(false);
    } else {
        enableFoundPorts(true);
    }
}

void TCommunicationPort::OKBtnClick()
{
    for (int n = 1; n <= kMaxPortNumber; ++n)
        if (rbCOM[std::size_t(n - 1)]->isChecked())
            ports_.Port = n;
    accept();
}

} // namespace vkt

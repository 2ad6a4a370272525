// The serial line over QSerialPort, and the numbering of the system's
// serial devices as ports 1..30.
#pragma once

#include "serial_line.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class QSerialPort;

namespace vkt {

// Environment variable with extra device paths (separated by ':' on
// Linux and macOS, ';' on Windows), numbered after the system's devices.
inline constexpr const char *kExtraPortsVariable = "VKT410_EXTRA_PORTS";

// Maps port numbers 1..30 to device names.
//
// On Windows port n is "\\.\COMn". On Linux and macOS the system's serial
// devices are listed in a stable order (USB adapters first, then the rest,
// each group sorted by name with numbers compared as numbers) and numbered
// from 1; device paths the user adds follow them. Numbers past 30 are not
// offered.
class PortMap {
public:
    // Builds the map from the system's devices plus `extraDevices` and the
    // paths in the environment variable.
    static PortMap FromSystem(const QStringList &extraDevices = {});
    // A map with exactly these devices, numbered from 1 (tests).
    static PortMap FromDevices(const QStringList &devices);

    // Device for port `port`, empty when there is none.
    QString device(int port) const;
    // Port number of a device, 0 when it has none.
    int portOf(const QString &device) const;
    // Adds a device at the end if it has no number yet; returns its number
    // (0 when all 30 numbers are taken).
    int add(const QString &device);
    int count() const { return int(devices_.size()); }

    // The ordering rule, exposed for tests: sorts device names as the map
    // numbers them.
    static QStringList SortDevices(QStringList devices);

private:
    std::vector<QString> devices_;
};

class QtSerialLine : public SerialLine {
public:
    explicit QtSerialLine(PortMap map);
    ~QtSerialLine() override;

    PortMap &portMap() { return map_; }

    bool probe(int port) override;
    bool open(int port) override;
    void close() override;
    bool isOpen() const override;
    void purge() override;
    void purgeReceive() override;
    long bytesWaiting() override;
    long read(std::uint8_t *buffer, std::size_t max) override;
    bool write(const std::uint8_t *data, std::size_t size) override;
    void setArrivalHandler(std::function<void()> handler) override { arrival_ = std::move(handler); }

private:
    // Moves what the system has received into the port's buffer without
    // blocking; sets failed_ when the device has gone away.
    void pull();
    // After a failure: keeps the bytes already received for read(), then
    // closes the device.
    void releaseFailedPort();

    PortMap map_;
    std::unique_ptr<QSerialPort> port_;
    QByteArray leftover_; // received before the failure, not yet read
    bool failed_ = false;
    std::function<void()> arrival_;
    bool arrivalPosted_ = false; // a call of arrival_ waits in the event loop
};

} // namespace vkt

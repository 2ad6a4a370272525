#include "serial_port_qt.h"

#include <QDeadlineTimer>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QStringView>
#include <QtGlobal>

#include <algorithm>
#include <cstring>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <poll.h>
#endif

namespace vkt {
namespace {

#ifdef Q_OS_WIN
constexpr QChar kPathSeparator = u';';
#else
constexpr QChar kPathSeparator = u':';
#endif

// How long write() waits for the system to take a frame it could not take
// at once. A frame is at most a few dozen bytes, so this only matters for a
// stalled driver.
constexpr int kWriteDrainMs = 100;

bool IsUsbDevice(const QString &name)
{
    static const char *const kMarks[] = {"ttyUSB", "ttyACM", "cu.usb", "tty.usb"};
    for (const char *mark : kMarks) {
        if (name.contains(QLatin1String(mark)))
            return true;
    }
    return false;
}

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Compares names with every run of digits taken as a number, so that
// "ttyS2" comes before "ttyS10". Names that differ only in leading zeros
// fall back to plain comparison so the order stays total.
int CompareNatural(const QString &a, const QString &b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            qsizetype endA = i;
            qsizetype endB = j;
            while (endA < a.size() && IsDigit(a[endA]))
                ++endA;
            while (endB < b.size() && IsDigit(b[endB]))
                ++endB;
            // Skip leading zeros, keeping at least one digit.
            while (i + 1 < endA && a[i] == u'0')
                ++i;
            while (j + 1 < endB && b[j] == u'0')
                ++j;
            // Longer runs are larger numbers; equal lengths compare digit by
            // digit. No conversion, so any length works.
            if (endA - i != endB - j)
                return endA - i < endB - j ? -1 : 1;
            const int c = QStringView(a).sliced(i, endA - i).compare(
                QStringView(b).sliced(j, endB - j));
            if (c != 0)
                return c < 0 ? -1 : 1;
            i = endA;
            j = endB;
        } else {
            if (a[i] != b[j])
                return a[i] < b[j] ? -1 : 1;
            ++i;
            ++j;
        }
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    return a.compare(b);
}

QStringList ExtraPortsFromEnvironment()
{
    return qEnvironmentVariable(kExtraPortsVariable).split(kPathSeparator, Qt::SkipEmptyParts);
}

// Errors after which the port is no use: the device went away, or the
// system refuses to read or write it.
bool IsLineFault(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::ResourceError:
    case QSerialPort::PermissionError:
    case QSerialPort::DeviceNotFoundError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
        return true;
    default:
        return false;
    }
}

#ifdef Q_OS_UNIX
// Whether the device behind `fd` has gone: hung up, in error, or closed.
bool DeviceGone(int fd)
{
    pollfd entry{};
    entry.fd = fd;
    int ready;
    do {
        ready = ::poll(&entry, 1, 0);
    } while (ready < 0 && errno == EINTR);
    return ready < 0 || (entry.revents & (POLLHUP | POLLERR | POLLNVAL));
}
#endif

} // namespace

// ---- PortMap -----------------------------------------------------------

PortMap PortMap::FromSystem(const QStringList &extraDevices)
{
    PortMap map;
#ifdef Q_OS_WIN
    // Windows numbers its ports itself; every number has its device name.
    for (int port = 1; port <= kMaxPortNumber; ++port)
        map.add(QStringLiteral("\\\\.\\COM%1").arg(port));
#else
    QStringList system;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        system << info.systemLocation();
    for (const QString &device : SortDevices(system))
        map.add(device);
#endif
    // User paths are kept as given: a simulated radio publishes a symbolic
    // link to its pseudo-terminal, and that link is what the user knows.
    for (const QString &device : extraDevices)
        map.add(device);
    for (const QString &device : ExtraPortsFromEnvironment())
        map.add(device);
    return map;
}

PortMap PortMap::FromDevices(const QStringList &devices)
{
    PortMap map;
    for (const QString &device : devices)
        map.add(device);
    return map;
}

QString PortMap::device(int port) const
{
    if (port < 1 || port > count())
        return {};
    return devices_[std::size_t(port - 1)];
}

int PortMap::portOf(const QString &device) const
{
    if (device.isEmpty())
        return 0;
    const auto it = std::find(devices_.begin(), devices_.end(), device);
    return it == devices_.end() ? 0 : int(it - devices_.begin()) + 1;
}

int PortMap::add(const QString &device)
{
    if (device.isEmpty())
        return 0;
    if (const int port = portOf(device))
        return port;
    if (count() >= kMaxPortNumber)
        return 0;
    devices_.push_back(device);
    return count();
}

QStringList PortMap::SortDevices(QStringList devices)
{
    std::stable_sort(devices.begin(), devices.end(), [](const QString &a, const QString &b) {
        const bool usbA = IsUsbDevice(a);
        const bool usbB = IsUsbDevice(b);
        if (usbA != usbB)
            return usbA;
        return CompareNatural(a, b) < 0;
    });
    return devices;
}

// ---- QtSerialLine ------------------------------------------------------

QtSerialLine::QtSerialLine(PortMap map)
    : map_(std::move(map)), port_(std::make_unique<QSerialPort>())
{
    // QSerialPort reports errors as they happen, also from inside its own
    // reads and writes; a later harmless error (a zero-time wait that found
    // nothing) would overwrite error(), so faults are caught here. Errors of
    // a failed open() are its return value, not a line failure.
    //
    // On Unix the port's own reader reports a read error when it finds
    // nothing to read: the system said the device was readable, and this
    // line's pull() took the bytes before the reader ran. That is a fault
    // only when the device has in fact gone.
    QObject::connect(port_.get(), &QSerialPort::errorOccurred, port_.get(),
                     [this](QSerialPort::SerialPortError error) {
                         if (!port_->isOpen() || !IsLineFault(error))
                             return;
#ifdef Q_OS_UNIX
                         if (error == QSerialPort::ReadError && !DeviceGone(port_->handle()))
                             return;
#endif
                         failed_ = true;
                     });
    // The port says bytes have come in both from the event loop (its
    // notifier) and from inside this line's own reads and writes. Either
    // way the arrival handler is called later, from the event loop, once
    // for all the signals that came before it runs.
    QObject::connect(port_.get(), &QSerialPort::readyRead, port_.get(), [this] {
        if (!arrival_ || arrivalPosted_)
            return;
        arrivalPosted_ = true;
        QMetaObject::invokeMethod(
            port_.get(),
            [this] {
                arrivalPosted_ = false;
                if (!arrival_ || !port_->isOpen())
                    return;
                const auto handler = arrival_; // it may replace itself
                handler();
            },
            Qt::QueuedConnection);
    });
}

QtSerialLine::~QtSerialLine()
{
    close();
}

bool QtSerialLine::probe(int port)
{
    const QString device = map_.device(port);
    if (device.isEmpty())
        return false;
    // QSerialPort's open is exclusive: on Unix it takes a lock file and sets
    // TIOCEXCL, on Windows it opens without sharing. A port held by another
    // program, or by this line, fails here.
    QSerialPort candidate;
    candidate.setPortName(device);
    if (!candidate.open(QIODevice::ReadWrite))
        return false;
    candidate.close();
    return true;
}

bool QtSerialLine::open(int port)
{
    close();
    const QString device = map_.device(port);
    if (device.isEmpty())
        return false;

    // Settings given before open() are applied by open() itself, which
    // fails when the device rejects any of them.
    port_->setPortName(device);
    port_->setBaudRate(9600);
    port_->setDataBits(QSerialPort::Data8);
    port_->setParity(QSerialPort::NoParity);
    port_->setStopBits(QSerialPort::OneStop);
    port_->setFlowControl(QSerialPort::NoFlowControl);
    // No limit on QSerialPort's own buffer: with a limit it stops reading
    // the device once the buffer is full, and the driver's queue then
    // overflows instead. The exchange reads everything that is waiting.
    port_->setReadBufferSize(0);
    if (!port_->open(QIODevice::ReadWrite)) {
        port_->clearError();
        return false;
    }

    // Raise DTR and RTS (the cable may draw power from them). A device
    // without modem lines, such as a pseudo-terminal, reports the operation
    // as unsupported; that is no reason to refuse it.
    const auto raise = [this](bool (QSerialPort::*set)(bool)) {
        port_->clearError();
        return (port_.get()->*set)(true) ||
               port_->error() == QSerialPort::UnsupportedOperationError;
    };
    if (!raise(&QSerialPort::setDataTerminalReady) || !raise(&QSerialPort::setRequestToSend)) {
        port_->close();
        port_->clearError();
        return false;
    }
    port_->clearError();
    failed_ = false;
    purge();
    return true;
}

void QtSerialLine::close()
{
    if (port_->isOpen())
        port_->close();
    port_->clearError();
    failed_ = false;
    leftover_.clear();
}

bool QtSerialLine::isOpen() const
{
    // A failed line stays "open" until its owner closes it, so the owner's
    // bookkeeping does not change under it.
    return port_->isOpen() || failed_;
}

void QtSerialLine::purge()
{
    leftover_.clear();
    if (!port_->isOpen())
        return;
    port_->clear(QSerialPort::AllDirections);
    port_->readAll();
}

void QtSerialLine::purgeReceive()
{
    leftover_.clear();
    if (!port_->isOpen())
        return;
    port_->clear(QSerialPort::Input);
    port_->readAll();
}

void QtSerialLine::pull()
{
#ifdef Q_OS_UNIX
    // Ask the system directly: QSerialPort only reads the device from its
    // notifier (which needs the event loop) or from a wait call. A wait is
    // made only when there is something to read, so it never blocks and
    // never records a time-out.
    pollfd entry{};
    entry.fd = port_->handle();
    entry.events = POLLIN;
    int ready;
    do {
        ready = ::poll(&entry, 1, 0);
    } while (ready < 0 && errno == EINTR);
    if (ready < 0 || (entry.revents & POLLNVAL)) {
        failed_ = true;
        return;
    }
    if (ready == 0)
        return;
    // A device that went away (a pseudo-terminal whose other end closed, a
    // pulled USB adapter) polls readable and hung up, and reading it gives
    // nothing or an error. Data that came first is taken before the
    // hang-up counts.
    if ((entry.revents & POLLIN) && port_->waitForReadyRead(0))
        return;
    if (entry.revents & (POLLHUP | POLLERR))
        failed_ = true;
#else
    // On Windows QSerialPort keeps an overlapped read running; a zero-time
    // wait collects what it has completed. Faults arrive via errorOccurred.
    port_->waitForReadyRead(0);
#endif
}

void QtSerialLine::releaseFailedPort()
{
    if (!port_->isOpen())
        return;
    // Closing stops QSerialPort's notifier, which would otherwise fire
    // over and over on the hung-up device while the event loop runs.
    leftover_ += port_->readAll();
    port_->close();
    port_->clearError();
}

long QtSerialLine::bytesWaiting()
{
    if (!isOpen())
        return -1;
    if (!failed_)
        pull();
    if (failed_) {
        releaseFailedPort();
        return leftover_.isEmpty() ? -1 : long(leftover_.size());
    }
    return long(port_->bytesAvailable());
}

long QtSerialLine::read(std::uint8_t *buffer, std::size_t max)
{
    if (!isOpen())
        return -1;
    if (!failed_ && port_->bytesAvailable() < qint64(max))
        pull();
    if (failed_) {
        releaseFailedPort();
        if (leftover_.isEmpty())
            return -1;
        const qsizetype count = std::min(leftover_.size(), qsizetype(max));
        std::memcpy(buffer, leftover_.constData(), std::size_t(count));
        leftover_.remove(0, count);
        return long(count);
    }
    const qint64 count = port_->read(reinterpret_cast<char *>(buffer), qint64(max));
    return count < 0 ? -1 : long(count);
}

bool QtSerialLine::write(const std::uint8_t *data, std::size_t size)
{
    if (!port_->isOpen() || failed_)
        return false;
    if (size == 0)
        return true;
    if (port_->write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        return false;
    // QSerialPort only queues the bytes; flush() hands them to the system
    // without waiting for them to go out on the wire.
    port_->flush();
    const QDeadlineTimer deadline(kWriteDrainMs);
    while (!failed_ && port_->bytesToWrite() > 0 && !deadline.hasExpired())
        port_->waitForBytesWritten(int(deadline.remainingTime()));
    if (failed_) {
        releaseFailedPort();
        return false;
    }
    return port_->bytesToWrite() == 0;
}

} // namespace vkt

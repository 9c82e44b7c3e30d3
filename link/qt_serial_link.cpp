#include "link/qt_serial_link.h"

#include "core/logging.h"
#include "link/port_lock.h"

#include <QtCore/QFileInfo>
#include <QtCore/QMetaObject>

namespace {

QString permissionReason(const QString &device, const QString &systemReason)
{
    if (userMayOpen(device))
        return systemReason + QStringLiteral(" (the port is in use by another program)");
    return systemReason
        + QStringLiteral(" (to use serial ports, add your user to the \"dialout\" group"
                         " and log in again)");
}

} // namespace

QtSerialLink::QtSerialLink(ComPortResolver resolver, QObject *parent)
    : SerialLink(parent), resolver_(std::move(resolver))
{
    connect(&port_, &QSerialPort::readyRead, this, &SerialLink::dataArrived);
    connect(&port_, &QSerialPort::errorOccurred, this, &QtSerialLink::onPortError);
}

bool QtSerialLink::isOpen() const
{
    return port_.isOpen();
}

bool QtSerialLink::setPortNumber(int number)
{
    if (isOpen() || number < 1)
        return false;
    portNumber_ = number;
    return true;
}

std::optional<OpenFailure> QtSerialLink::open()
{
    if (isOpen())
        return OpenFailure{openDevice_, QStringLiteral("The port is already open")};
    const auto device = resolver_.resolve(portNumber_);
    if (!device)
        return OpenFailure{{}, QStringLiteral("no serial port is present for this number")};
    // Opening the real device makes the lock file name it, whatever name led there.
    const QString target = QFileInfo(*device).canonicalFilePath();
    return openDevicePath(target.isEmpty() ? *device : target);
}

std::optional<OpenFailure> QtSerialLink::openDevicePath(const QString &device)
{
    port_.setPortName(device);
    applyLineSettings();
    if (!port_.open(QIODevice::ReadWrite)) {
        const QString reason = port_.errorString();
        if (port_.error() == QSerialPort::PermissionError)
            return OpenFailure{device, permissionReason(device, reason)};
        return OpenFailure{device, reason};
    }
    if (!lockOpenDevice(port_.handle())) {
        port_.close();
        return OpenFailure{device, QStringLiteral("The port is in use by another program")};
    }
    openDevice_ = device;
    ++opening_;
    return std::nullopt;
}

void QtSerialLink::applyLineSettings()
{
    port_.setBaudRate(QSerialPort::Baud9600);
    port_.setParity(QSerialPort::NoParity);
    port_.setDataBits(QSerialPort::Data8);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
}

bool QtSerialLink::discardInput()
{
    return isOpen() && port_.clear(QSerialPort::Input);
}

bool QtSerialLink::writeChar(char byte)
{
    if (!isOpen())
        return false;
    return port_.write(&byte, 1) == 1 && port_.flush();
}

std::optional<QString> QtSerialLink::readAll()
{
    if (!isOpen())
        return std::nullopt;
    return QString::fromLatin1(port_.readAll());
}

void QtSerialLink::close()
{
    if (isOpen())
        port_.close();
}

QString QtSerialLink::openDevice() const
{
    return isOpen() ? openDevice_ : QString();
}

// A vanished device keeps reporting the same error while the port stays open, many
// thousands of times a second: the first report closes it. The window shows a failed step but
// not the port's reason, which goes to the log.
void QtSerialLink::onPortError(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::NoError || !isOpen())
        return;
    qCWarning(lcSerial) << "serial port" << port_.portName() << error << port_.errorString();
    if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError)
        return;
    port_.close();
    reportLineLost();
}

// Announced from the event loop, not from inside QSerialPort's own notification, so a
// listener may reopen or even destroy the link.
void QtSerialLink::reportLineLost()
{
    const quint64 lostOpening = opening_;
    QMetaObject::invokeMethod(
        this,
        [this, lostOpening] {
            if (opening_ == lostOpening && !isOpen())
                emit lineLost();
        },
        Qt::QueuedConnection);
}

#pragma once

#include "link/com_port_resolver.h"
#include "link/serial_link.h"

#include <QtSerialPort/QSerialPort>

// The serial line through QSerialPort, 9600 baud, 8N1, no flow control.
class QtSerialLink final : public SerialLink {
    Q_OBJECT
public:
    explicit QtSerialLink(ComPortResolver resolver = ComPortResolver(), QObject *parent = nullptr);

    [[nodiscard]] bool isOpen() const override;
    bool setPortNumber(int number) override;
    std::optional<OpenFailure> open() override;
    bool discardInput() override;
    bool writeChar(char byte) override;
    std::optional<QString> readAll() override;
    void close() override;

    // The device the port was opened by (symlinks followed); empty while closed.
    [[nodiscard]] QString openDevice() const;

private:
    void applyLineSettings();
    std::optional<OpenFailure> openDevicePath(const QString &device);
    void onPortError(QSerialPort::SerialPortError error);
    void reportLineLost();

    ComPortResolver resolver_;
    QSerialPort port_;
    int portNumber_ = 1;
    QString openDevice_;
    // Counts openings, so a loss reported late never hits a later opening.
    quint64 opening_ = 0;
};

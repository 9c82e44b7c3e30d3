#pragma once

#include <QtCore/QObject>
#include <QtCore/QString>

#include <optional>

// Why a port would not open: the device COM n resolved to, and the system's reason.
struct OpenFailure {
    QString device;
    QString reason;
};

// The serial line to the radio, reduced to what the transfers use.
class SerialLink : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    [[nodiscard]] virtual bool isOpen() const = 0;
    // Chooses COM n for the next open; false when the number is refused. Only while closed.
    virtual bool setPortNumber(int number) = 0;
    // 9600 baud, 8N1, no flow control. Empty on success.
    virtual std::optional<OpenFailure> open() = 0;
    // Throws away everything received and not yet read; false on an error of the port.
    virtual bool discardInput() = 0;
    // Writes one byte out at once; false when it could not be written (a dead line).
    virtual bool writeChar(char byte) = 0;
    // Everything received and not yet read, one character per byte (Latin-1); returns at once.
    // Empty optional when the port is not open (the line was lost).
    virtual std::optional<QString> readAll() = 0;
    virtual void close() = 0;

signals:
    void dataArrived();
    // The device went away; the port has been closed. Emitted once per loss.
    void lineLost();
};

#pragma once

#include <QtCore/QByteArrayView>
#include <QtCore/QElapsedTimer>
#include <QtCore/QString>

enum class TraceDirection { Sent, Received };

// One line of the serial trace: the milliseconds since the transfer began, right-aligned to 10
// characters with three decimals, ">" or "<", and the bytes with \r, \n, \\ and \xHH escaped.
QString traceLine(double msSinceStart, TraceDirection direction, QByteArrayView bytes);

// Writes each byte sent and each chunk received to the varlo.serial category at debug level,
// timed from the start of the transfer, for a bug report.
class SerialTrace {
public:
    void start() { clock_.start(); }
    void sent(char byte) const { write(TraceDirection::Sent, QByteArrayView(&byte, 1)); }
    void received(QByteArrayView bytes) const { write(TraceDirection::Received, bytes); }

private:
    void write(TraceDirection direction, QByteArrayView bytes) const;

    QElapsedTimer clock_;
};

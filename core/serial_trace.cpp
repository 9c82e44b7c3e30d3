#include "core/serial_trace.h"

#include "core/logging.h"

namespace {

constexpr double kNsecsPerMs = 1e6;

QString escaped(QByteArrayView bytes)
{
    QString text;
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        if (byte == '\r')
            text += QStringLiteral("\\r");
        else if (byte == '\n')
            text += QStringLiteral("\\n");
        else if (byte == '\\')
            text += QStringLiteral("\\\\");
        else if (code < 0x20 || code > 0x7e)
            text += QString::asprintf("\\x%02X", code);
        else
            text += QLatin1Char(byte);
    }
    return text;
}

} // namespace

QString traceLine(double msSinceStart, TraceDirection direction, QByteArrayView bytes)
{
    const QString time = QString::number(msSinceStart, 'f', 3).rightJustified(10);
    const QString arrow = direction == TraceDirection::Sent ? QStringLiteral(">") : QStringLiteral("<");
    return time + u' ' + arrow + u' ' + escaped(bytes);
}

void SerialTrace::write(TraceDirection direction, QByteArrayView bytes) const
{
    if (!lcSerial().isDebugEnabled() || bytes.isEmpty())
        return;
    const double ms = clock_.isValid() ? double(clock_.nsecsElapsed()) / kNsecsPerMs : 0.0;
    qCDebug(lcSerial).noquote() << traceLine(ms, direction, bytes);
}

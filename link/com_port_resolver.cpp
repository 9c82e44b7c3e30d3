#include "link/com_port_resolver.h"

#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtSerialPort/QSerialPortInfo>

#include <algorithm>
#include <tuple>

namespace {

int usbRank(const QString &name)
{
    if (name.startsWith(u"ttyUSB"))
        return 0;
    if (name.startsWith(u"ttyACM"))
        return 1;
    return 2;
}

// Compares runs of digits by value, so ttyUSB2 comes before ttyUSB10.
bool naturalLess(const QString &a, const QString &b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            const qsizetype startA = i;
            const qsizetype startB = j;
            while (i < a.size() && a[i].isDigit())
                ++i;
            while (j < b.size() && b[j].isDigit())
                ++j;
            const qulonglong numberA = a.mid(startA, i - startA).toULongLong();
            const qulonglong numberB = b.mid(startB, j - startB).toULongLong();
            if (numberA != numberB)
                return numberA < numberB;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

// COMn beside the settings file: a symlink (followed when opening) or a device node.
std::optional<QString> entryInWorkingDirectory(int number)
{
    const QFileInfo entry(QDir::current(), QStringLiteral("COM%1").arg(number));
    if (entry.isSymLink() || (entry.exists() && !entry.isFile() && !entry.isDir()))
        return entry.absoluteFilePath();
    return std::nullopt;
}

} // namespace

QList<SystemPort> availableSystemPorts()
{
    QList<SystemPort> ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        ports.append({info.portName(), info.systemLocation()});
    return ports;
}

ComPortResolver::ComPortResolver(PortLister lister) : lister_(std::move(lister))
{
}

void ComPortResolver::sortByPreference(QList<SystemPort> &ports)
{
    std::stable_sort(ports.begin(), ports.end(), [](const SystemPort &a, const SystemPort &b) {
        const int rankA = usbRank(a.name);
        const int rankB = usbRank(b.name);
        if (rankA != rankB)
            return rankA < rankB;
        return naturalLess(a.name, b.name);
    });
}

std::optional<QString> ComPortResolver::resolve(int number) const
{
    if (number < 1)
        return std::nullopt;
    if (auto entry = entryInWorkingDirectory(number))
        return entry;
    QList<SystemPort> ports = lister_();
    sortByPreference(ports);
    if (number > ports.size())
        return std::nullopt;
    return ports[number - 1].device;
}

QString ComPortResolver::describe(int number) const
{
    const auto device = resolve(number);
    if (!device)
        return QStringLiteral("No serial port present for COM %1").arg(number);
    const QString target = QFileInfo(*device).canonicalFilePath();
    if (target.isEmpty() || target == *device)
        return *device;
    return QStringLiteral("%1 \u2192 %2").arg(*device, target);
}

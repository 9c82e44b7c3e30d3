#include "link/com_port_resolver.h"

#include <QtCore/QCollator>
#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtSerialPort/QSerialPortInfo>

#include <algorithm>

namespace {

int usbRank(const QString &name)
{
    if (name.startsWith(u"ttyUSB"))
        return 0;
    if (name.startsWith(u"ttyACM"))
        return 1;
    return 2;
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
    // Numbers by value, so ttyUSB2 comes before ttyUSB10. A named locale: the C locale's
    // collation compares code points whatever the mode.
    QCollator collator{QLocale(QLocale::English)};
    collator.setNumericMode(true);
    std::stable_sort(ports.begin(), ports.end(), [&collator](const SystemPort &a, const SystemPort &b) {
        const int rankA = usbRank(a.name);
        const int rankB = usbRank(b.name);
        if (rankA != rankB)
            return rankA < rankB;
        return collator.compare(a.name, b.name) < 0;
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

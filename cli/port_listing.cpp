#include "cli/port_listing.h"

#include <QtCore/QDir>
#include <QtCore/QFileInfo>

#include <algorithm>

namespace {

// The highest n of a COMn entry in the current folder; 0 when there is none.
int highestFolderEntry()
{
    int highest = 0;
    const QStringList names = QDir::current().entryList({QStringLiteral("COM*")}, QDir::AllEntries | QDir::System);
    for (const QString &name : names) {
        bool ok = false;
        const int number = name.sliced(3).toInt(&ok);
        if (ok)
            highest = std::max(highest, number);
    }
    return highest;
}

QString describeDevice(int number, const QString &device)
{
    const QString entryName = QStringLiteral("COM%1").arg(number);
    if (device != QDir::current().absoluteFilePath(entryName))
        return device;
    const QString target = QFileInfo(device).symLinkTarget();
    return QStringLiteral("./") + entryName + (target.isEmpty() ? QString() : QStringLiteral(" -> ") + target);
}

} // namespace

QStringList portListing(const ComPortResolver &resolver, qsizetype systemPortCount)
{
    QStringList lines;
    const int last = std::max(int(systemPortCount), highestFolderEntry());
    for (int number = 1; number <= last; ++number) {
        if (const auto device = resolver.resolve(number))
            lines << QStringLiteral("COM%1  %2").arg(number).arg(describeDevice(number, *device));
    }
    return lines;
}

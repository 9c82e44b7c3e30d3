#include "app/fonts.h"

#include <QtCore/QStringList>
#include <QtGui/QFontDatabase>
#include <QtGui/QFontInfo>

namespace {

struct Equivalent {
    QString family;
    QString installable; // a free look-alike that may be installed
    QFontDatabase::SystemFont lastResort;
};

const Equivalent equivalents[] = {
    {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QFontDatabase::GeneralFont},
    {QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"), QFontDatabase::FixedFont},
    {QStringLiteral("MS SansSerif"), QString(), QFontDatabase::GeneralFont},
    {QStringLiteral("Small Fonts"), QString(), QFontDatabase::SmallestReadableFont},
};

bool isInstalled(const QString &family)
{
    return !family.isEmpty() && QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

// The system font's family may be a generic alias ("Sans Serif"); ask which real family it
// resolves to so the result names an installed font.
QString systemFamily(QFontDatabase::SystemFont kind)
{
    return QFontInfo(QFontDatabase::systemFont(kind)).family();
}

QString installedFamily(const QString &family)
{
    if (isInstalled(family))
        return family;
    for (const Equivalent &equivalent : equivalents) {
        if (equivalent.family.compare(family, Qt::CaseInsensitive) != 0)
            continue;
        if (isInstalled(equivalent.installable))
            return equivalent.installable;
        return systemFamily(equivalent.lastResort);
    }
    return systemFamily(QFontDatabase::GeneralFont);
}

} // namespace

QFont varloFont(const QString &family, qreal pointSize, bool bold)
{
    QFont font(installedFamily(family));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

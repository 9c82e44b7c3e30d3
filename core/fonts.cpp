#include "core/fonts.h"

#include <QtCore/QStringList>
#include <QtGui/QFontDatabase>
#include <QtGui/QFontInfo>

namespace {

struct Equivalent {
    QString family;
    QString installable;  // a free look-alike that may be installed
    QFontDatabase::SystemFont lastResort;
};

const Equivalent equivalents[] = {
    {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QFontDatabase::GeneralFont},
    {QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"), QFontDatabase::FixedFont},
    {QStringLiteral("MS SansSerif"), QString(), QFontDatabase::GeneralFont},
    {QStringLiteral("Small Fonts"), QString(), QFontDatabase::SmallestReadableFont},
};

bool IsInstalled(const QString &family)
{
    return !family.isEmpty() && QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

// The system font's family may be a generic alias ("Sans Serif"); ask which real family it
// resolves to so the result names an installed font.
QString SystemFamily(QFontDatabase::SystemFont kind)
{
    return QFontInfo(QFontDatabase::systemFont(kind)).family();
}

QString InstalledFamily(const QString &family)
{
    if (IsInstalled(family))
        return family;
    for (const Equivalent &equivalent : equivalents) {
        if (equivalent.family.compare(family, Qt::CaseInsensitive) != 0)
            continue;
        if (IsInstalled(equivalent.installable))
            return equivalent.installable;
        return SystemFamily(equivalent.lastResort);
    }
    return SystemFamily(QFontDatabase::GeneralFont);
}

} // namespace

QFont varloFont(const QString &family, qreal pointSize, bool bold)
{
    QFont font(InstalledFamily(family));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

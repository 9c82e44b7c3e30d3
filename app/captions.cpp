#include "app/captions.h"

#include "files/recent_files.h"

#include <QtCore/QFileInfo>

QString proposedFileName(const QString &lastChosen)
{
    const qsizetype nameStart = lastChosen.lastIndexOf(u'/') + 1;
    const qsizetype point = lastChosen.indexOf(u'.', nameStart);
    return point < 0 ? lastChosen : lastChosen.left(point);
}

QString captionNamingFile(const QString &caption, const QString &path)
{
    const qsizetype bracket = caption.indexOf(u']');
    return caption.left(bracket + 1) + QStringLiteral("  -  ") + QFileInfo(path).fileName();
}

QString recentFileCaption(int k, const QString &path)
{
    QString shown = shortenPath(path);
    return QStringLiteral("&%1. ").arg(k) + shown.replace(u'&', QStringLiteral("&&"));
}

#include "files/recent_files.h"

#include "core/blanks.h"

#include <QtCore/QDir>

namespace {

constexpr qsizetype kShortLength = 30;
const QString kEllipsis = QStringLiteral(" ... ");

} // namespace

QString shortenPath(const QString &path)
{
    if (path.size() <= kShortLength)
        return trimmedOfSpaces(path).toString();
    const QString p = trimmedOfSpaces(path).toString();
    const QChar separator = QDir::separator();
    const qsizetype headEnd = p.indexOf(separator, 3);
    const QString shortened = (headEnd < 0 ? QString() : p.left(headEnd + 1)) + kEllipsis;
    const qsizetype start = p.size() - (kShortLength - shortened.size());
    if (start < 1)
        return shortened;
    const qsizetype tailStart = p.indexOf(separator, start - 1);
    return tailStart < 0 ? shortened : shortened + p.mid(tailStart);
}

bool pushRecentFile(SettingsRecord &record, const QString &fileName)
{
    const QString head = trimmedOfSpaces(fileName).toString();
    if (head == record.recentFile(1))
        return false;
    record.setRecentFile(3, record.recentFile(2));
    record.setRecentFile(2, record.recentFile(1));
    record.setRecentFile(1, head);
    return true;
}

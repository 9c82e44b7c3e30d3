#include "print/channel_report.h"

#include "files/settings_record.h"

namespace {

constexpr qsizetype kRuleLength = 68;
const QString kLineBreak = QStringLiteral("\r\n");

} // namespace

QString channelReport(const QString &serialNo, const QString &date, const QString &time, const QStringList &frequencies)
{
    QString report = kLineBreak.repeated(4);
    report += QStringLiteral("\tSerial No:  \t") + serialNo + QStringLiteral("\t\t\t\t") + date + QStringLiteral("   ")
        + time + kLineBreak;
    report += u'\t' + QString(kRuleLength, QChar(0x00AF)) + kLineBreak + kLineBreak;
    for (qsizetype i = 0; i < frequencies.size(); ++i)
        report += QStringLiteral("\tChannel %1:\t%2\tMHz").arg(i + 1).arg(frequencies.at(i)) + kLineBreak;
    return report;
}

QString serialNumberFromEntry(const QString &text)
{
    QString number = text;
    number.remove(u'\r').remove(u'\n');
    return number.left(SettingsRecord::kSerialSize);
}

bool entryIsComplete(const QString &text)
{
    return text.size() >= SettingsRecord::kSerialSize;
}

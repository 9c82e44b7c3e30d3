#include "channels/frequency_paste.h"

#include "channels/frequency.h"
#include "core/decimal_text.h"

#include <QtCore/QRegularExpression>

namespace {

QString firstCell(const QString &line)
{
    static const QRegularExpression cellEnd(QStringLiteral("[\t,]"));
    QString cell = line.section(cellEnd, 0, 0).trimmed();
    if (cell.size() >= 2 && cell.startsWith(u'"') && cell.endsWith(u'"'))
        cell = cell.sliced(1, cell.size() - 2).trimmed();
    return cell;
}

QStringList numbersIn(const QString &text)
{
    QStringList numbers;
    for (const QString &line : text.split(u'\n')) {
        const QString cell = firstCell(line);
        if (plainDecimal(cell))
            numbers << cell;
    }
    return numbers;
}

} // namespace

PastePlan planPaste(const QString &text, int firstRow, int channelCount)
{
    PastePlan plan;
    plan.values = numbersIn(text);
    const qsizetype rows = qMax(0, channelCount - firstRow + 1);
    if (plan.values.size() > rows) {
        plan.valuesBeyondLastRow = int(plan.values.size() - rows);
        plan.values.resize(rows);
    }
    plan.admissible = !plan.values.isEmpty() && std::all_of(plan.values.cbegin(), plan.values.cend(), validFrequency);
    return plan;
}

#include "app/report_printer.h"

#include "app/fonts.h"

#include <QtGui/QFontMetricsF>
#include <QtGui/QPainter>
#include <QtPrintSupport/QPrintDialog>
#include <QtPrintSupport/QPrinter>

#include <cmath>

namespace {

// Wide enough for "Serial No:  " and "Channel 6:" to end before the same stop, so the
// serial number and the frequencies form one column.
constexpr int kTabColumns = 8;

void drawTabbedLine(QPainter &painter, const QString &line, qreal baseline, qreal tabStop)
{
    const QFontMetricsF metrics(painter.font(), painter.device());
    qreal x = 0;
    const QStringList pieces = line.split(u'\t');
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            x = (std::floor(x / tabStop) + 1) * tabStop;
        painter.drawText(QPointF(x, baseline), pieces.at(i));
        x += metrics.horizontalAdvance(pieces.at(i));
    }
}

} // namespace

PrintDialogChoice::~PrintDialogChoice()
{
    lifetime_.end();
    delete dialog_.data();
}

QCoro::Task<QPrinter *> PrintDialogChoice::choosePrinter()
{
    if (!dialog_) {
        dialog_ = new QPrintDialog(parent_);
        dialog_->setObjectName(QStringLiteral("ComDiag2"));
    }
    dialog_->open();
    co_await untilSignal(dialog_.data(), &QDialog::finished, lifetime_);
    if (lifetime_.ended())
        co_return nullptr;
    co_return dialog_->result() == QDialog::Accepted ? dialog_->printer() : nullptr;
}

void printReport(QPrinter &printer, const QString &report)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    painter.setFont(varloFont(QStringLiteral("Courier New"), 10));
    const QFontMetricsF metrics(painter.font(), painter.device());
    const qreal tabStop = kTabColumns * metrics.horizontalAdvance(u'0');
    qreal baseline = metrics.ascent();
    for (const QString &line : report.split(QStringLiteral("\r\n"))) {
        drawTabbedLine(painter, line, baseline, tabStop);
        baseline += metrics.lineSpacing();
    }
    painter.end();
}

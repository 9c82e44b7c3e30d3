#include "app/report_panel.h"

#include "app/fonts.h"
#include "app/report_printer.h"
#include "print/channel_report.h"

#include <QtCore/QDateTime>
#include <QtCore/QLocale>
#include <QtWidgets/QPlainTextEdit>

ReportPanel::ReportPanel(QWidget *window)
    : QObject(window), box_(new QPlainTextEdit(window)), printerChoice_(std::make_unique<PrintDialogChoice>(window))
{
    box_->setObjectName(QStringLiteral("Text2"));
    box_->setFont(varloFont(QStringLiteral("Small Fonts"), 6.75));
    box_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

ReportPanel::~ReportPanel() = default;

void ReportPanel::setPrinterChoice(std::unique_ptr<PrinterChoice> choice)
{
    printerChoice_ = std::move(choice);
}

QCoro::Task<> ReportPanel::printChannelReport(QString serialNo, QStringList frequencies)
{
    // In the system's short formats.
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    const QString report = channelReport(serialNo, locale.toString(now.date(), QLocale::ShortFormat),
                                         locale.toString(now.time(), QLocale::ShortFormat), frequencies);
    box_->setPlainText(report);
    if (QPrinter *printer = co_await printerChoice_->choosePrinter())
        printReport(*printer, report);
}

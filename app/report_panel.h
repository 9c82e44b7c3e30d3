#pragma once

#include "app/report_printer.h"

#include <QtCore/QObject>
#include <QtCore/QStringList>
#include <qcoro/qcorotask.h>

#include <memory>

class QPlainTextEdit;
class QWidget;

// The report box Text2 under the terminal pane, and the printing of the channel report: the
// box keeps a copy of every report, printed or not.
class ReportPanel : public QObject {
    Q_OBJECT
public:
    explicit ReportPanel(QWidget *window);
    ~ReportPanel() override;

    [[nodiscard]] QPlainTextEdit *box() const { return box_; }
    // Puts another printer choice in place of the printer dialog.
    void setPrinterChoice(std::unique_ptr<PrinterChoice> choice);

    // Builds the report with today's date and time, shows it and prints it on the printer chosen.
    QCoro::Task<> printChannelReport(QString serialNo, QStringList frequencies);

private:
    QPlainTextEdit *box_;
    std::unique_ptr<PrinterChoice> printerChoice_;
};

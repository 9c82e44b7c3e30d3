#pragma once

#include "core/lifetime.h"

#include <QtCore/QPointer>
#include <QtCore/QString>
#include <qcoro/qcorotask.h>

class QPrintDialog;
class QPrinter;
class QWidget;

// Chooses and sets up the printer for one report. The window asks with the printer dialog;
// a test puts in its place a choice that answers with a PDF printer.
class PrinterChoice {
public:
    virtual ~PrinterChoice() = default;
    // The printer to print on, or nullptr when the user cancelled.
    virtual QCoro::Task<QPrinter *> choosePrinter() = 0;
};

// The printer dialog ComDiag2. It is kept as long as the choice, with the printer it sets up,
// so the next report starts from the choices made for the last one.
class PrintDialogChoice final : public PrinterChoice {
public:
    explicit PrintDialogChoice(QWidget *parent) : parent_(parent) {}
    // A report still waiting on the dialog gets no printer, and the dialog goes.
    ~PrintDialogChoice() override;
    QCoro::Task<QPrinter *> choosePrinter() override;

private:
    QWidget *parent_;
    QPointer<QPrintDialog> dialog_;
    Lifetime lifetime_;
};

// Prints the report from the top of the page in "Courier New" 10 pt, or the nearest installed
// equivalent; each CR LF starts a line and each tab moves to the next stop of 8 characters.
void printReport(QPrinter &printer, const QString &report);

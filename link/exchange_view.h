#pragma once

#include <QtCore/QString>
#include <qcoro/qcorotask.h>

// What a radio transfer shows and reads in the window. Rows are numbered 1..6.
class ExchangeView {
public:
    virtual ~ExchangeView() = default;

    // The whole text of the terminal pane.
    [[nodiscard]] virtual QString terminalText() const = 0;
    // Replaces the text of the terminal pane; the caret goes to its start.
    virtual void setTerminalText(const QString &text) = 0;
    // Caret at position with a selection of one character, cut to the end of the text.
    virtual void placeTerminalCaret(qsizetype position) = 0;
    // Appends one informational line (and a line break) to the pane, its end in view.
    virtual void addTerminalLine(const QString &line) = 0;

    // The frequency text of row k as it stands now.
    [[nodiscard]] virtual QString frequencyOfRow(int row) const = 0;
    // Puts an admitted frequency into row k through the table's own put operation (band "W").
    virtual void putFrequency(int row, const QString &admitted) = 0;
    // Highlights row k without taking the focus or closing an open editor.
    virtual void highlightRow(int row) = 0;
    // Removes the highlight of row k.
    virtual void deselectRow(int row) = 0;
    // True for the one-channel transceiver.
    [[nodiscard]] virtual bool singleChannel() const = 0;
    // The COM port number in use.
    [[nodiscard]] virtual int portNumber() const = 0;

    // Locks (false) or unlocks (true) the Download and Upload commands.
    virtual void enableTransferCommands(bool enable) = 0;
    // True from a transfer's start to its end; the window refuses to close meanwhile.
    virtual void setTransferRunning(bool running) = 0;
    // The progress animation runs.
    virtual void startAnimation() = 0;
    // The progress animation stops.
    virtual void stopAnimation() = 0;
    // The EEPROM countdown runs for eepromSeconds.
    virtual void startEepromCountdown(int eepromSeconds) = 0;
    // Ends the countdown display, whether or not it reached its end.
    virtual void endEepromCountdown() = 0;
    // Repaints the main window.
    virtual void refreshWindow() = 0;

    // Shows a notice in the notice line; ends when the notice's time is over.
    virtual QCoro::Task<> showNotice(QString text) = 0;
    // Shows a failure message box (title "Varlo", OK); ends when the user dismisses it.
    virtual QCoro::Task<> showFailure(QString message) = 0;
};

#pragma once

#include "link/exchange_view.h"

#include <functional>

class ChannelTable;
class Notices;
class PortChoice;
class QWidget;
class TerminalPane;
class TransferProgress;

// The window as a transfer sees it: the terminal pane, the table, the chosen port, the
// progress display, the notices and the window's message box.
class WindowTransferView : public ExchangeView {
public:
    // Shows a message box and returns when it has been dismissed.
    using ShowMessage = std::function<QCoro::Task<>(QString)>;

    struct Parts {
        QWidget &window;
        TerminalPane &terminal;
        ChannelTable &table;
        PortChoice &ports;
        TransferProgress &progress;
        Notices &notices;
    };

    WindowTransferView(Parts parts, ShowMessage showMessage);

    // From a transfer's start to its end.
    [[nodiscard]] bool transferRunning() const { return transferRunning_; }

    [[nodiscard]] QString terminalText() const override;
    void setTerminalText(const QString &text) override;
    void placeTerminalCaret(qsizetype position) override;
    void addTerminalLine(const QString &line) override;
    [[nodiscard]] QString frequencyOfRow(int row) const override;
    void putFrequency(int row, const QString &admitted) override;
    void highlightRow(int row) override;
    void deselectRow(int row) override;
    [[nodiscard]] bool singleChannel() const override;
    [[nodiscard]] int portNumber() const override;
    void enableTransferCommands(bool enable) override;
    void setTransferRunning(bool running) override;
    void startAnimation() override;
    void stopAnimation() override;
    void startEepromCountdown(int eepromSeconds) override;
    void endEepromCountdown() override;
    void refreshWindow() override;
    QCoro::Task<> showNotice(QString text) override;
    QCoro::Task<> showFailure(QString message) override;

private:
    Parts parts_;
    ShowMessage showMessage_;
    bool transferRunning_ = false;
};

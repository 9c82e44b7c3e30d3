#pragma once

#include "core/time_source.h"
#include "core/timing.h"
#include "files/settings_file.h"
#include "link/exchange_view.h"

#include <QtWidgets/QMainWindow>
#include <qcoro/qcorotask.h>

#include <memory>

class ChannelFileDialogs;
class ChannelTable;
class Notices;
class PortChoice;
class PrinterChoice;
class QAction;
class QMenu;
class QPlainTextEdit;
class QToolBar;
class RadioExchange;
class RecentFilesMenu;
class SerialEntry;
class SerialLink;
class TerminalPane;
class TransferProgress;

// The main window: it builds its components, runs the start-up sequence and dispatches
// the menu and toolbar commands.
class MainWindow : public QMainWindow, public ExchangeView {
    Q_OBJECT
public:
    explicit MainWindow(Timing timing = {});
    ~MainWindow() override;

    [[nodiscard]] ChannelTable &table() const { return *table_; }
    [[nodiscard]] Notices &notices() const { return *notices_; }
    [[nodiscard]] TerminalPane &terminal() const { return *terminal_; }
    [[nodiscard]] TransferProgress &progress() const { return *progress_; }
    [[nodiscard]] RecentFilesMenu &recentFiles() const { return *recent_; }
    [[nodiscard]] PortChoice &ports() const { return *ports_; }
    [[nodiscard]] SettingsStore &settings() { return settings_; }
    [[nodiscard]] const Timing &timing() const { return timing_; }
    // Puts another printer choice in place of the printer dialog.
    void setPrinterChoice(std::unique_ptr<PrinterChoice> choice);

    // A transfer runs or the About panel is shown: closing is refused.
    [[nodiscard]] bool connectionActive() const;

    QCoro::Task<> onToolbarAction(QAction *button);
    QCoro::Task<> download();
    QCoro::Task<> upload();
    // File > Open: asks for a file, then loads it.
    QCoro::Task<> openChannelFile();
    // Loads the channels of a file into the table: a recent entry, or the file chosen. A file
    // that cannot be read is named in a message box and changes nothing.
    QCoro::Task<> loadChannelFile(QString path);
    // File > Save: asks for a file, then writes the table into it; a failure is shown.
    QCoro::Task<> saveChannelFile();
    // The Print command: opens the serial-number entry, or while it is open closes it.
    void togglePrint();
    void exitProgram();
    void openHelp();
    void showAbout();
    // Shows a message box titled "Varlo" and returns when it has been dismissed.
    QCoro::Task<> showMessage(QString text);

    // What a transfer shows and reads in the window.
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

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void startUp();
    bool mayClose();
    void unload();
    void buildMenus();
    void buildToolbar();
    void buildPanels();
    void layOut();
    QAction *addToolbarButton(const QString &key, const QString &tip);
    static void setButtonKey(QAction *button, const QString &key, const QString &tip);
    // The Print command in its ready state, or as the cancel of an open entry.
    void showPrintCommand(bool ready);
    void storeSerialAndPrint(const QString &serialNo);
    QCoro::Task<> printChannelReport();
    // The animation stopped and the notice line hidden, before and after a command.
    void quietProgress();

    Timing timing_;
    RealTimeSource time_;
    SettingsStore settings_;
    std::unique_ptr<SerialLink> link_;
    std::unique_ptr<RadioExchange> exchange_;
    std::unique_ptr<PrinterChoice> printerChoice_;
    TerminalPane *terminal_;
    Notices *notices_;
    ChannelTable *table_;
    TransferProgress *progress_;
    RecentFilesMenu *recent_ = nullptr;
    PortChoice *ports_ = nullptr;
    ChannelFileDialogs *fileDialogs_;
    SerialEntry *serialEntry_;
    QToolBar *toolbar_ = nullptr;
    QMenu *fileMenu_ = nullptr;
    QMenu *dataMenu_ = nullptr;
    QMenu *helpMenu_ = nullptr;
    QAction *exitAction_ = nullptr;
    QAction *downloadAction_ = nullptr;
    QAction *uploadAction_ = nullptr;
    QAction *printAction_ = nullptr;
    QAction *printButton_ = nullptr;
    QPlainTextEdit *reportCopy_ = nullptr;
    bool transferRunning_ = false;
    bool unloaded_ = false;
};

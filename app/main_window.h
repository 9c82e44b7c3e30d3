#pragma once

#include "core/time_source.h"
#include "core/timing.h"
#include "files/settings_file.h"
#include "link/exchange_view.h"

#include <QtWidgets/QMainWindow>
#include <qcoro/qcorotask.h>

#include <memory>

class ChannelTable;
class Notices;
class PortChoice;
class QAction;
class QMenu;
class QPlainTextEdit;
class QToolBar;
class RadioExchange;
class RecentFilesMenu;
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

    // A transfer runs or the About panel is shown: closing is refused.
    [[nodiscard]] bool connectionActive() const;

    QCoro::Task<> onToolbarAction(QAction *button);
    QCoro::Task<> download();
    QCoro::Task<> upload();
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
    // The animation stopped and the notice line hidden, before and after a command.
    void quietProgress();

    Timing timing_;
    RealTimeSource time_;
    SettingsStore settings_;
    std::unique_ptr<SerialLink> link_;
    std::unique_ptr<RadioExchange> exchange_;
    TerminalPane *terminal_;
    Notices *notices_;
    ChannelTable *table_;
    TransferProgress *progress_;
    RecentFilesMenu *recent_ = nullptr;
    PortChoice *ports_ = nullptr;
    QToolBar *toolbar_ = nullptr;
    QMenu *fileMenu_ = nullptr;
    QMenu *dataMenu_ = nullptr;
    QMenu *helpMenu_ = nullptr;
    QAction *exitAction_ = nullptr;
    QAction *downloadAction_ = nullptr;
    QAction *uploadAction_ = nullptr;
    QWidget *serialEntryPanel_ = nullptr;
    QPlainTextEdit *reportCopy_ = nullptr;
    bool transferRunning_ = false;
    bool unloaded_ = false;
};

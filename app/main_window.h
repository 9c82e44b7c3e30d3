#pragma once

#include "core/lifetime.h"
#include "core/time_source.h"
#include "core/timing.h"
#include "files/settings_file.h"

#include <QtWidgets/QMainWindow>
#include <qcoro/qcorotask.h>

#include <memory>

class ChannelFileDialogs;
class ChannelTable;
class NoticeLine;
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
class WindowTransferView;
enum class ToolbarKey;
enum class TransceiverType;

// The main window: it builds its components, runs the start-up sequence and dispatches
// the menu and toolbar commands.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Timing timing = {});
    ~MainWindow() override;

    [[nodiscard]] ChannelTable &table() const { return *table_; }
    [[nodiscard]] Notices &notices() const { return *notices_; }
    [[nodiscard]] NoticeLine &noticeLine() const { return *noticeLine_; }
    [[nodiscard]] TerminalPane &terminal() const { return *terminal_; }
    [[nodiscard]] TransferProgress &progress() const { return *progress_; }
    [[nodiscard]] RecentFilesMenu &recentFiles() const { return *recent_; }
    [[nodiscard]] PortChoice &ports() const { return *ports_; }
    [[nodiscard]] SettingsStore &settings() { return settings_; }
    [[nodiscard]] const Timing &timing() const { return timing_; }
    // Puts another printer choice in place of the printer dialog.
    void setPrinterChoice(std::unique_ptr<PrinterChoice> choice);

    // A transfer runs or the About panel is shown: closing is refused.
    [[nodiscard]] bool refusesClose() const;

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
    void connectComponents();
    QAction *addToolbarButton(ToolbarKey key, const QString &tip);
    QCoro::Task<> runToolbarCommand(ToolbarKey key);
    static void setButtonKey(QAction *button, ToolbarKey key, const QString &tip);
    void storeTransceiverType(TransceiverType type);
    // The Print command in its ready state, or as the cancel of an open entry.
    void showPrintCommand(bool ready);
    void storeSerialAndPrint(const QString &serialNo);
    QCoro::Task<> printChannelReport();
    // The animation stopped and the notice line hidden, before and after a command.
    void quietProgress();
    [[nodiscard]] bool transferRunning() const;

    Timing timing_;
    RealTimeSource time_;
    SettingsStore settings_;
    std::unique_ptr<SerialLink> link_;
    std::unique_ptr<PrinterChoice> printerChoice_;
    TerminalPane *terminal_;
    ChannelTable *table_;
    std::unique_ptr<NoticeLine> noticeLine_;
    Notices *notices_;
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
    std::unique_ptr<WindowTransferView> transferView_;
    std::unique_ptr<RadioExchange> exchange_;
    // The window's own coroutines: the commands and the message boxes.
    Lifetime lifetime_;
};

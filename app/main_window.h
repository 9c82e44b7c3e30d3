#pragma once

#include "app/channel_panel.h"
#include "app/transfer_progress.h"
#include "core/lifetime.h"
#include "core/time_source.h"
#include "core/timing.h"
#include "files/settings_file.h"

#include <QtWidgets/QMainWindow>
#include <qcoro/qcorotask.h>

#include <functional>
#include <memory>

class ChannelFileDialogs;
class ChannelTable;
class MenuBar;
class NoticeLine;
class Notices;
class PortChoice;
class RecentFilesMenu;
class ReportPanel;
class SerialEntry;
class SerialLink;
class TableHistory;
class TerminalPane;
class Toolbar;
class WindowTransfers;
enum class ToolbarKey;
enum class TransceiverType;

// The main window: it builds and places its panels, runs the start-up sequence and dispatches
// the menu and toolbar commands.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Timing timing = {});
    ~MainWindow() override;

    [[nodiscard]] ChannelTable &table() const { return *table_; }
    [[nodiscard]] Notices &notices() const { return *notices_; }
    [[nodiscard]] NoticeLine &noticeLine() const { return channels_->noticeLine(); }
    [[nodiscard]] TerminalPane &terminal() const { return *terminal_; }
    [[nodiscard]] TransferProgress &progress() const { return *progress_; }
    [[nodiscard]] RecentFilesMenu &recentFiles() const { return *recent_; }
    [[nodiscard]] SettingsStore &settings() { return settings_; }
    [[nodiscard]] const Timing &timing() const { return timing_; }
    [[nodiscard]] ReportPanel &report() const { return *report_; }

    // A transfer runs or the About panel is shown: closing is refused.
    [[nodiscard]] bool refusesClose() const;

    QCoro::Task<> onToolbarAction(ToolbarKey key);
    QCoro::Task<> download() { return transfer(TransferMode::Download); }
    QCoro::Task<> upload() { return transfer(TransferMode::Upload); }
    // Data > Verify Radio: reads the radio as Upload does, leaves the table, and says the result.
    QCoro::Task<> verifyRadio() { return transfer(TransferMode::Verify); }
    // File > Open: asks for a file, then loads it.
    QCoro::Task<> openChannelFile() { return chooseAndLoad(false); }
    // File > Open Backup: File > Open in the folder of the backups downloads keep.
    QCoro::Task<> openBackup() { return chooseAndLoad(true); }
    // Loads the channels of a file into the table as one step of the history: a recent entry,
    // the file chosen, dropped or named on the command line. A file that cannot be read is
    // named in a message box and changes nothing.
    QCoro::Task<> loadChannelFile(QString path);
    // File > Save: asks for a file, then writes the table into it; a failure is shown.
    QCoro::Task<> saveChannelFile();
    // The Print command: opens the serial-number entry, or while it is open closes it.
    void togglePrint();
    QCoro::Task<> openHelp();
    // Shows a message box titled "Varlo" and returns when it has been dismissed.
    QCoro::Task<> showMessage(QString text);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void startUp();
    void unload();
    void buildToolbar();
    void placePanels();
    void connectCommands();
    void addEditing();
    QCoro::Task<> runToolbarCommand(ToolbarKey key);
    QCoro::Task<> transfer(TransferMode mode);
    // The open dialog, from the name chosen last or in the backups folder, then the file chosen.
    QCoro::Task<> chooseAndLoad(bool fromBackups);
    // Changes a field of the settings record and writes the record at once.
    void changeSettings(const std::function<void(SettingsRecord &)> &change);
    void storeTransceiverType(TransceiverType type);
    // The Print command in its ready state, or as the cancel of an open entry.
    void showPrintCommand(bool ready);
    QCoro::Task<> storeSerialAndPrint(QString serialNo);
    [[nodiscard]] bool transferRunning() const;

    Timing timing_;
    RealTimeSource time_;
    SettingsStore settings_;
    std::unique_ptr<SerialLink> link_;
    MenuBar *menus_;
    TerminalPane *terminal_;
    ChannelPanel *channels_;
    ChannelTable *table_;
    TransferProgress *progress_;
    ReportPanel *report_;
    ChannelFileDialogs *fileDialogs_;
    Notices *notices_ = nullptr;
    RecentFilesMenu *recent_ = nullptr;
    PortChoice *ports_ = nullptr;
    SerialEntry *serialEntry_ = nullptr;
    Toolbar *toolbar_ = nullptr;
    TableHistory *history_ = nullptr;
    std::unique_ptr<WindowTransfers> transfers_;
    // The window's own coroutines: the commands and the message boxes.
    Lifetime lifetime_;
};

#include "app/main_window.h"

#include "app/captions.h"
#include "app/channel_file_dialogs.h"
#include "app/channel_table.h"
#include "app/edit_menu.h"
#include "app/file_drop.h"
#include "app/help_viewer.h"
#include "app/menu_bar.h"
#include "app/notices.h"
#include "app/port_choice.h"
#include "app/radio_backup.h"
#include "app/recent_menu.h"
#include "app/report_panel.h"
#include "app/resources/images.h"
#include "app/serial_entry.h"
#include "app/table_history.h"
#include "app/terminal_pane.h"
#include "app/toolbar.h"
#include "app/window_transfers.h"
#include "files/channel_file.h"
#include "link/qt_serial_link.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtGui/QCloseEvent>
#include <QtWidgets/QBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QSplitter>

MainWindow::MainWindow(Timing timing)
    : timing_(timing), settings_(settingsFilePath(QDir::currentPath())), link_(std::make_unique<QtSerialLink>()),
      menus_(new MenuBar(this)), terminal_(new TerminalPane(this)), channels_(new ChannelPanel(timing_)),
      table_(&channels_->table()), progress_(&channels_->progress()), report_(new ReportPanel(this)),
      fileDialogs_(new ChannelFileDialogs(this))
{
    setObjectName(QStringLiteral("VarloA"));
    setWindowTitle(QStringLiteral("VarloW [v" VARLO_VERSION "]"));
    setWindowIcon(varloIcon());
    setMenuBar(menus_);
    recent_ = new RecentFilesMenu(menus_->fileMenu(), menus_->item(MenuItem::Exit), settings_);
    buildToolbar();
    placePanels();
    history_ = new TableHistory(*table_, *progress_, this);
    transfers_ = std::make_unique<WindowTransfers>(
        *link_, time_, timing_,
        WindowTransferView::Parts{*this, *terminal_, *table_, *ports_, *progress_, *notices_, *history_},
        [this](QString text) { return showMessage(std::move(text)); });
    connectCommands();
    addEditing();
    startUp();
}

MainWindow::~MainWindow()
{
    unload();
}

bool MainWindow::refusesClose() const
{
    return transferRunning() || notices_->aboutShown();
}

bool MainWindow::transferRunning() const
{
    return transfers_->running();
}

void MainWindow::startUp()
{
    settings_.load();
    ports_->applyStoredPort(settings_.record().comPort());
    table_->applyStoredType(settings_.record().transceiverType());
    serialEntry_->setSerialNo(settings_.record().radioSerial());
    recent_->showStored();
    table_->buildRows();
    table_->fillTypeList();
}

void MainWindow::changeSettings(const std::function<void(SettingsRecord &)> &change)
{
    change(settings_.record());
    settings_.saveSettings();
}

void MainWindow::storeTransceiverType(TransceiverType type)
{
    changeSettings([type](SettingsRecord &record) { record.setTransceiverType(type); });
}

// The channel panel over the terminal pane and the report box. Placed after the toolbar and
// before the panels that float over it, for the focus order: the type list first, the entry
// boxes after the report box.
void MainWindow::placePanels()
{
    auto *lower = new QWidget;
    auto *column = new QVBoxLayout(lower);
    column->addWidget(terminal_->caption());
    column->addWidget(terminal_->pane(), 1);
    column->addWidget(report_->box(), 1);
    auto *splitter = new QSplitter(Qt::Vertical, this);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->addWidget(channels_);
    splitter->addWidget(lower);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);

    serialEntry_ = new SerialEntry(channels_);
    ports_ = new PortChoice(channels_, menus_->dataMenu(), [this](qint16 port) {
        changeSettings([port](SettingsRecord &record) { record.setComPort(port); });
    });
    notices_ = new Notices(channels_, timing_, channels_->noticeLine(), *terminal_,
                           [this](const QString &text) { showMessage(text); });
    // The two entry panels share one place.
    serialEntry_->panel()->move(63, 70);
    ports_->panel()->move(63, 70);
    resize(420, 520);
}

void MainWindow::buildToolbar()
{
    toolbar_ = new Toolbar(this);
    addToolBar(toolbar_);
    toolbar_->addTypeList(table_->typeList());
    progress_->setLockedCommands({toolbar_->button(ToolbarKey::Upload), toolbar_->button(ToolbarKey::Download),
                                  menus_->item(MenuItem::Upload), menus_->item(MenuItem::Download),
                                  menus_->item(MenuItem::Verify)});
}

// Each menu item and toolbar button runs its command; a toolbar button's command is the same
// as its menu item's, with the toolbar's steps around it.
void MainWindow::connectCommands()
{
    connect(menus_->item(MenuItem::Open), &QAction::triggered, this, &MainWindow::openChannelFile);
    connect(menus_->item(MenuItem::OpenBackup), &QAction::triggered, this, &MainWindow::openBackup);
    connect(menus_->item(MenuItem::Save), &QAction::triggered, this, &MainWindow::saveChannelFile);
    connect(menus_->item(MenuItem::Print), &QAction::triggered, this, &MainWindow::togglePrint);
    connect(menus_->item(MenuItem::Exit), &QAction::triggered, this, &MainWindow::close);
    connect(menus_->item(MenuItem::Download), &QAction::triggered, this, &MainWindow::download);
    connect(menus_->item(MenuItem::Upload), &QAction::triggered, this, &MainWindow::upload);
    connect(menus_->item(MenuItem::Verify), &QAction::triggered, this, &MainWindow::verifyRadio);
    connect(menus_->item(MenuItem::HelpContents), &QAction::triggered, this, &MainWindow::openHelp);
    connect(menus_->item(MenuItem::About), &QAction::triggered, notices_, &Notices::showAbout);
    connect(toolbar_, &Toolbar::clicked, this, &MainWindow::onToolbarAction);
    connect(recent_, &RecentFilesMenu::openRequested, this, &MainWindow::loadChannelFile);
    connect(serialEntry_, &SerialEntry::completed, this, &MainWindow::storeSerialAndPrint);
    connect(table_, &ChannelTable::typeChosen, this, &MainWindow::storeTransceiverType);
}

// The Edit menu, and channel files dropped onto the window.
void MainWindow::addEditing()
{
    new EditMenu(menus_, menus_->dataMenu(), {*table_, *history_, channels_->noticeLine(), *terminal_});
    auto *drop = new FileDrop(this, *terminal_, [this] { return transferRunning(); });
    connect(drop, &FileDrop::openRequested, this, &MainWindow::loadChannelFile);
}

QCoro::Task<> MainWindow::onToolbarAction(ToolbarKey key)
{
    // Another button clicked during a transfer leaves the transfer's progress display alone.
    if (!transferRunning())
        progress_->stopAnimation();
    co_await runToolbarCommand(key);
    if (lifetime_.ended() || transferRunning())
        co_return;
    progress_->quieten();
    progress_->setTransferMode(TransferMode::Idle);
}

QCoro::Task<> MainWindow::runToolbarCommand(ToolbarKey key)
{
    switch (key) {
    case ToolbarKey::Open:
        co_await openChannelFile();
        break;
    case ToolbarKey::Save:
        co_await saveChannelFile();
        break;
    case ToolbarKey::Upload:
        co_await upload();
        break;
    case ToolbarKey::Download:
        co_await download();
        break;
    case ToolbarKey::Print:
    case ToolbarKey::CancelPrint:
        togglePrint();
        break;
    case ToolbarKey::Com:
        ports_->showPortPanel();
        break;
    }
}

QCoro::Task<> MainWindow::transfer(TransferMode mode)
{
    progress_->quieten();
    progress_->setTransferMode(mode);
    co_await transfers_->run(mode);
    if (!lifetime_.ended())
        progress_->quieten();
}

QCoro::Task<> MainWindow::chooseAndLoad(bool fromBackups)
{
    // A local, not a conditional inside the co_await: GCC 12 destroys that
    // temporary twice, freeing a string the file dialog still refers to.
    const QString folder = fromBackups ? RadioBackup::folder() : QString();
    const QString path = co_await fileDialogs_->chooseFileToOpen(folder);
    if (!path.isEmpty())
        co_await loadChannelFile(path);
}

QCoro::Task<> MainWindow::loadChannelFile(QString path)
{
    const ChannelFileContent content = readChannelFile(path, table_->channelCount());
    if (!content.failure.isEmpty()) {
        co_await showMessage(openFailure(QFileInfo(path).fileName(), content.failure));
        co_return;
    }
    recent_->addToRecentFiles(path);
    history_->putRowsFromFile(path, content.frequencies);
    setWindowTitle(captionNamingFile(windowTitle(), path));
}

QCoro::Task<> MainWindow::saveChannelFile()
{
    const QString path = co_await fileDialogs_->chooseFileToSave();
    if (path.isEmpty())
        co_return;
    if (const auto failure = writeChannelFile(path, table_->frequenciesInUse(), settings_.filePath())) {
        co_await showMessage(saveFailure(QFileInfo(path).fileName(), *failure));
        co_return;
    }
    setWindowTitle(captionNamingFile(windowTitle(), path));
}

void MainWindow::togglePrint()
{
    const bool opening = !serialEntry_->isOpen();
    showPrintCommand(!opening);
    if (opening)
        serialEntry_->open();
    else
        serialEntry_->close();
}

void MainWindow::showPrintCommand(bool ready)
{
    menus_->showPrintItem(ready);
    toolbar_->showPrintButton(ready);
}

QCoro::Task<> MainWindow::storeSerialAndPrint(QString serialNo)
{
    changeSettings([&serialNo](SettingsRecord &record) { record.setRadioSerial(serialNo); });
    showPrintCommand(true);
    co_await report_->printChannelReport(serialNo, table_->frequenciesInUse());
}

QCoro::Task<> MainWindow::openHelp()
{
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Varlo.hlp"));
    if (!showHelpFile(this, path))
        co_await showMessage(QStringLiteral("Unable to start help file."));
}

QCoro::Task<> MainWindow::showMessage(QString text)
{
    auto *box = new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Varlo"), text, QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("messageBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    co_await untilSignal(box, &QMessageBox::finished, lifetime_);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (refusesClose()) {
        notices_->showAbort();
        event->ignore();
        return;
    }
    if (link_->isOpen())
        link_->close();
    unload();
    event->accept();
}

void MainWindow::unload()
{
    if (lifetime_.ended())
        return;
    // Every coroutine of the window returns now, while its widgets still exist.
    Lifetime::endTogether({&lifetime_, &transfers_->exchangeLifetime(), &transfers_->verifyLifetime(),
                           &notices_->lifetime(), &fileDialogs_->lifetime()});
    for (QMessageBox *box : findChildren<QMessageBox *>())
        box->done(QMessageBox::Ok);
    // Windows of ours, such as the help viewer, go with the main window.
    for (QWidget *child : findChildren<QWidget *>())
        if (child->isWindow())
            child->close();
}

#include "app/main_window.h"

#include "app/captions.h"
#include "app/channel_file_dialogs.h"
#include "app/channel_table.h"
#include "app/fonts.h"
#include "app/help_viewer.h"
#include "app/notice_line.h"
#include "app/notices.h"
#include "app/port_choice.h"
#include "app/recent_menu.h"
#include "app/report_printer.h"
#include "app/resources/images.h"
#include "app/serial_entry.h"
#include "app/terminal_pane.h"
#include "app/transfer_progress.h"
#include "app/window_transfer_view.h"
#include "files/channel_file.h"
#include "link/exchange.h"
#include "link/qt_serial_link.h"
#include "print/channel_report.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QDateTime>
#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtCore/QLocale>
#include <QtGui/QCloseEvent>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QSplitter>
#include <QtWidgets/QToolBar>
#include <QtWidgets/QTreeWidget>
#include <QtWidgets/QVBoxLayout>

#include <array>
#include <optional>

// The toolbar's buttons, each known by its key.
enum class ToolbarKey { Open, Save, Print, CancelPrint, Upload, Download, Com };

namespace {

const QString kCaption = QStringLiteral("VarloW [v" VARLO_VERSION "]");

constexpr std::array kToolbarKeys{ToolbarKey::Open,   ToolbarKey::Save,     ToolbarKey::Print, ToolbarKey::CancelPrint,
                                  ToolbarKey::Upload, ToolbarKey::Download, ToolbarKey::Com};

// The button's object name, and the name of its image.
QString keyName(ToolbarKey key)
{
    switch (key) {
    case ToolbarKey::Open:
        return QStringLiteral("open");
    case ToolbarKey::Save:
        return QStringLiteral("save");
    case ToolbarKey::Print:
        return QStringLiteral("print");
    case ToolbarKey::CancelPrint:
        return QStringLiteral("cancelprint");
    case ToolbarKey::Upload:
        return QStringLiteral("upload");
    case ToolbarKey::Download:
        return QStringLiteral("download");
    case ToolbarKey::Com:
        return QStringLiteral("com");
    }
    return {};
}

std::optional<ToolbarKey> keyOf(const QAction *button)
{
    const QString name = button->data().toString();
    for (const ToolbarKey key : kToolbarKeys)
        if (keyName(key) == name)
            return key;
    return std::nullopt;
}

} // namespace

MainWindow::MainWindow(Timing timing)
    : timing_(timing), settings_(settingsFilePath(QDir::currentPath())), link_(std::make_unique<QtSerialLink>()),
      printerChoice_(std::make_unique<PrintDialogChoice>(this)), terminal_(new TerminalPane(this)),
      table_(new ChannelTable(this)), noticeLine_(std::make_unique<NoticeLine>(this, table_->heading())),
      notices_(
          new Notices(this, timing_, *noticeLine_, *terminal_, [this](const QString &text) { showMessage(text); })),
      progress_(new TransferProgress(this, timing_, *noticeLine_)), fileDialogs_(new ChannelFileDialogs(this)),
      serialEntry_(new SerialEntry(this))
{
    setObjectName(QStringLiteral("VarloA"));
    setWindowTitle(kCaption);
    setWindowIcon(varloIcon());
    buildMenus();
    buildToolbar();
    buildPanels();
    layOut();
    transferView_ = std::make_unique<WindowTransferView>(
        WindowTransferView::Parts{*this, *terminal_, *table_, *ports_, *progress_, *notices_},
        [this](QString text) { return showMessage(std::move(text)); });
    exchange_ = std::make_unique<RadioExchange>(*link_, *transferView_, time_, timing_);
    connectComponents();
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
    return transferView_->transferRunning();
}

void MainWindow::connectComponents()
{
    connect(table_, &ChannelTable::typeChosen, this, &MainWindow::storeTransceiverType);
    connect(table_, &ChannelTable::editStarted, this, [this] { noticeLine_->uncoverHeading(); });
    connect(table_, &ChannelTable::entryRefused, this, [this] { noticeLine_->showWrongFrequency(); });
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
    ports_->movePanel(serialEntry_->panel()->pos());
}

void MainWindow::storeTransceiverType(TransceiverType type)
{
    settings_.record().setTransceiverType(type);
    settings_.saveSettings();
}

void MainWindow::buildMenus()
{
    fileMenu_ = menuBar()->addMenu(QStringLiteral("&File"));
    fileMenu_->setObjectName(QStringLiteral("mfile"));
    fileMenu_->addAction(QStringLiteral("&Open"), this, [this] { openChannelFile(); })
        ->setObjectName(QStringLiteral("mopen"));
    fileMenu_->addAction(QStringLiteral("&Save"), this, [this] { saveChannelFile(); })
        ->setObjectName(QStringLiteral("msave"));
    fileMenu_->addSeparator()->setObjectName(QStringLiteral("mspace4"));
    printAction_ = fileMenu_->addAction(QStringLiteral("&Print"), this, &MainWindow::togglePrint);
    printAction_->setObjectName(QStringLiteral("mprint"));
    fileMenu_->addSeparator()->setObjectName(QStringLiteral("mspace1"));
    exitAction_ = fileMenu_->addAction(QStringLiteral("&Exit"), this, &MainWindow::exitProgram);
    exitAction_->setObjectName(QStringLiteral("mexit"));
    recent_ = new RecentFilesMenu(fileMenu_, exitAction_, settings_);
    connect(recent_, &RecentFilesMenu::openRequested, this, &MainWindow::loadChannelFile);

    dataMenu_ = menuBar()->addMenu(QStringLiteral("&Data"));
    dataMenu_->setObjectName(QStringLiteral("mdf"));
    downloadAction_ = dataMenu_->addAction(QStringLiteral("&Download"), this, [this] { download(); });
    downloadAction_->setObjectName(QStringLiteral("mdownload"));
    uploadAction_ = dataMenu_->addAction(QStringLiteral("&Upload"), this, [this] { upload(); });
    uploadAction_->setObjectName(QStringLiteral("mupload"));
    dataMenu_->addSeparator()->setObjectName(QStringLiteral("mspace2"));
    ports_ = new PortChoice(this, dataMenu_, [this](qint16 port) {
        settings_.record().setComPort(port);
        settings_.saveSettings();
    });

    helpMenu_ = menuBar()->addMenu(QStringLiteral("&Help"));
    helpMenu_->setObjectName(QStringLiteral("mh"));
    helpMenu_->addAction(QStringLiteral("&Varlo Help Contents"), this, &MainWindow::openHelp)
        ->setObjectName(QStringLiteral("mhelp"));
    helpMenu_->addSeparator()->setObjectName(QStringLiteral("mspace3"));
    helpMenu_->addAction(QStringLiteral("&About Varlo"), this, &MainWindow::showAbout)
        ->setObjectName(QStringLiteral("mabout"));
}

QAction *MainWindow::addToolbarButton(ToolbarKey key, const QString &tip)
{
    QAction *button = toolbar_->addAction(QString());
    setButtonKey(button, key, tip);
    connect(button, &QAction::triggered, this, [this, button] { onToolbarAction(button); });
    return button;
}

void MainWindow::setButtonKey(QAction *button, ToolbarKey key, const QString &tip)
{
    button->setObjectName(keyName(key));
    button->setData(keyName(key));
    button->setIcon(toolbarImage(keyName(key)));
    button->setToolTip(tip);
    button->setStatusTip(tip);
}

void MainWindow::buildToolbar()
{
    toolbar_ = addToolBar(QStringLiteral("Toolbar1"));
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setMovable(false);
    toolbar_->setIconSize(QSize(16, 16));
    addToolbarButton(ToolbarKey::Open, QStringLiteral("Open File"));
    addToolbarButton(ToolbarKey::Save, QStringLiteral("Save File"));
    printButton_ = addToolbarButton(ToolbarKey::Print, QStringLiteral("Print"));
    QAction *upload = addToolbarButton(ToolbarKey::Upload, QStringLiteral("Upload (From Radio)"));
    QAction *download = addToolbarButton(ToolbarKey::Download, QStringLiteral("Download (To Radio)"));
    addToolbarButton(ToolbarKey::Com, QStringLiteral("Select COM port"));
    table_->typeList()->setMinimumWidth(107);
    toolbar_->addWidget(table_->typeList())->setData(QStringLiteral("combo1"));
    progress_->setLockedCommands({upload, download, uploadAction_, downloadAction_});
}

void MainWindow::buildPanels()
{
    connect(serialEntry_, &SerialEntry::completed, this, &MainWindow::storeSerialAndPrint);
    reportCopy_ = new QPlainTextEdit(this);
    reportCopy_->setObjectName(QStringLiteral("Text2"));
    reportCopy_->setFont(varloFont(QStringLiteral("Small Fonts"), 6.75));
    reportCopy_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void MainWindow::layOut()
{
    auto *top = new QWidget;
    auto *topLayout = new QVBoxLayout(top);
    auto *headingRow = new QHBoxLayout;
    headingRow->addWidget(table_->heading());
    headingRow->addStretch();
    headingRow->addWidget(progress_->counter());
    topLayout->addLayout(headingRow);
    topLayout->addWidget(table_->list(), 1);
    topLayout->addWidget(noticeLine_->label());

    auto *bottom = new QWidget;
    auto *bottomLayout = new QVBoxLayout(bottom);
    bottomLayout->addWidget(terminal_->caption());
    bottomLayout->addWidget(terminal_->pane(), 1);
    bottomLayout->addWidget(reportCopy_, 1);

    auto *splitter = new QSplitter(Qt::Vertical, this);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->addWidget(top);
    splitter->addWidget(bottom);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);

    // The panels float over the table.
    for (QWidget *panel : {serialEntry_->panel(), ports_->panel(), notices_->aboutPanel()})
        panel->setParent(top);
    serialEntry_->panel()->move(63, 70);
    resize(420, 520);
}

QCoro::Task<> MainWindow::onToolbarAction(QAction *button)
{
    // Another button clicked during a transfer leaves the transfer's progress display alone.
    if (!transferRunning())
        progress_->stopAnimation();
    if (const auto key = keyOf(button))
        co_await runToolbarCommand(*key);
    if (lifetime_.ended() || transferRunning())
        co_return;
    quietProgress();
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

QCoro::Task<> MainWindow::download()
{
    quietProgress();
    progress_->setTransferMode(TransferMode::Download);
    co_await exchange_->downloadToRadio();
    if (!lifetime_.ended())
        quietProgress();
}

QCoro::Task<> MainWindow::upload()
{
    quietProgress();
    progress_->setTransferMode(TransferMode::Upload);
    co_await exchange_->uploadFromRadio();
    if (!lifetime_.ended())
        quietProgress();
}

QCoro::Task<> MainWindow::openChannelFile()
{
    const QString path = co_await fileDialogs_->chooseFileToOpen();
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
    for (int row = 1; row <= content.frequencies.size(); ++row)
        table_->putFrequency(row, content.frequencies.at(row - 1));
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
    printAction_->setText(ready ? QStringLiteral("&Print") : QStringLiteral("Cancel &Printing"));
    // The same button changes its key and looks: it may be the one being clicked.
    setButtonKey(printButton_, ready ? ToolbarKey::Print : ToolbarKey::CancelPrint,
                 ready ? QStringLiteral("Print") : QStringLiteral("Cancel Printing"));
}

void MainWindow::storeSerialAndPrint(const QString &serialNo)
{
    settings_.record().setRadioSerial(serialNo);
    settings_.saveSettings();
    showPrintCommand(true);
    printChannelReport();
}

QCoro::Task<> MainWindow::printChannelReport()
{
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    const QString report = channelReport(serialEntry_->serialNo(), locale.toString(now.date(), QLocale::ShortFormat),
                                         locale.toString(now.time(), QLocale::ShortFormat), table_->frequenciesInUse());
    reportCopy_->setPlainText(report);
    if (QPrinter *printer = co_await printerChoice_->choosePrinter())
        printReport(*printer, report);
}

void MainWindow::setPrinterChoice(std::unique_ptr<PrinterChoice> choice)
{
    printerChoice_ = std::move(choice);
}

void MainWindow::quietProgress()
{
    progress_->stopAnimation();
    noticeLine_->hide();
}

void MainWindow::exitProgram()
{
    close();
}

void MainWindow::openHelp()
{
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Varlo.hlp"));
    if (!showHelpFile(this, path))
        showMessage(QStringLiteral("Unable to start help file."));
}

void MainWindow::showAbout()
{
    notices_->showAbout();
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
    if (!mayClose()) {
        event->ignore();
        return;
    }
    unload();
    event->accept();
}

bool MainWindow::mayClose()
{
    if (refusesClose()) {
        notices_->showAbort();
        return false;
    }
    if (link_->isOpen())
        link_->close();
    return true;
}

void MainWindow::unload()
{
    if (lifetime_.ended())
        return;
    // Every coroutine of the window returns now, while its widgets still exist.
    Lifetime::endTogether({&lifetime_, &exchange_->lifetime(), &notices_->lifetime()});
    for (QMessageBox *box : findChildren<QMessageBox *>())
        box->done(QMessageBox::Ok);
    // Windows of ours, such as the help viewer, go with the main window.
    for (QWidget *child : findChildren<QWidget *>())
        if (child->isWindow())
            child->close();
}

#include "app/main_window.h"

#include "app/help_viewer.h"
#include "app/notices.h"
#include "app/resources/images.h"
#include "app/terminal_pane.h"
#include "app/channel_table.h"
#include "app/fonts.h"
#include "files/channel_file.h"
#include "app/channel_file_dialogs.h"
#include "app/recent_menu.h"
#include "link/exchange.h"
#include "app/port_choice.h"
#include "link/qt_serial_link.h"
#include "app/transfer_progress.h"
#include "print/channel_report.h"
#include "app/report_printer.h"
#include "app/serial_entry.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QDateTime>
#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtCore/QLocale>
#include <QtCore/QTimer>
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

#include <climits>

namespace {

const QString kCaption = QStringLiteral("VarloW [v1.31]");

} // namespace

MainWindow::MainWindow(Timing timing)
    : timing_(timing), settings_(settingsFilePath(QDir::currentPath())), link_(std::make_unique<QtSerialLink>()),
      exchange_(std::make_unique<RadioExchange>(*link_, *this, time_, timing_)),
      printerChoice_(std::make_unique<PrintDialogChoice>(this)), terminal_(new TerminalPane(this)),
      notices_(new Notices(this, timing_, *terminal_, [this](const QString &text) { showMessage(text); })),
      table_(new ChannelTable(this, settings_, notices_->noticeLine())),
      progress_(new TransferProgress(this, timing_, notices_->noticeLine(), table_->heading())),
      fileDialogs_(new ChannelFileDialogs(this)), serialEntry_(new SerialEntry(this))
{
    setObjectName(QStringLiteral("VarloA"));
    setWindowTitle(kCaption);
    setWindowIcon(varloIcon());
    buildMenus();
    buildToolbar();
    buildPanels();
    layOut();
    startUp();
}

MainWindow::~MainWindow()
{
    unload();
}

bool MainWindow::connectionActive() const
{
    return transferRunning_ || notices_->aboutShown();
}

void MainWindow::startUp()
{
    progress_->countdownTimer()->stop();
    notices_->timer()->stop();
    progress_->setTransferMode(0);
    progress_->animationTimer()->stop();
    settings_.load();
    ports_->applyStoredPort(settings_.record().comPort());
    table_->applyStoredType(settings_.record().transceiverType());
    serialEntry_->setSerialNo(settings_.record().radioSerial());
    recent_->showStored();
    table_->buildRows();
    table_->fillTypeList();
    ports_->movePanel(serialEntry_->panel()->pos());
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

QAction *MainWindow::addToolbarButton(const QString &key, const QString &tip)
{
    QAction *button = toolbar_->addAction(QString());
    setButtonKey(button, key, tip);
    connect(button, &QAction::triggered, this, [this, button] { onToolbarAction(button); });
    return button;
}

void MainWindow::setButtonKey(QAction *button, const QString &key, const QString &tip)
{
    button->setObjectName(key);
    button->setData(key);
    button->setIcon(toolbarImage(key));
    button->setToolTip(tip);
    button->setStatusTip(tip);
}

void MainWindow::buildToolbar()
{
    toolbar_ = addToolBar(QStringLiteral("Toolbar1"));
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setMovable(false);
    toolbar_->setIconSize(QSize(16, 16));
    addToolbarButton(QStringLiteral("open"), QStringLiteral("Open File"));
    addToolbarButton(QStringLiteral("save"), QStringLiteral("Save File"));
    printButton_ = addToolbarButton(QStringLiteral("print"), QStringLiteral("Print"));
    QAction *upload = addToolbarButton(QStringLiteral("upload"), QStringLiteral("Upload (From Radio)"));
    QAction *download = addToolbarButton(QStringLiteral("download"), QStringLiteral("Download (To Radio)"));
    addToolbarButton(QStringLiteral("com"), QStringLiteral("Select COM port"));
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
    topLayout->addWidget(notices_->noticeLine());

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

    // The panels float over the table, as designed.
    for (QWidget *panel :
         {serialEntry_->panel(), findChild<QWidget *>(QStringLiteral("picCOM")), notices_->aboutPanel()})
        panel->setParent(top);
    serialEntry_->panel()->move(63, 70);
    resize(420, 520);
}

QCoro::Task<> MainWindow::onToolbarAction(QAction *button)
{
    // Another button clicked during a transfer leaves the transfer's progress display alone.
    if (!transferRunning_)
        progress_->animationTimer()->stop();
    const QString key = button->data().toString();
    if (key == QLatin1String("open")) {
        co_await openChannelFile();
    } else if (key == QLatin1String("save")) {
        co_await saveChannelFile();
    } else if (key == QLatin1String("upload")) {
        co_await upload();
    } else if (key == QLatin1String("download")) {
        co_await download();
    } else if (key == QLatin1String("print") || key == QLatin1String("cancelprint")) {
        togglePrint();
    } else if (key == QLatin1String("com")) {
        ports_->chooseCustomPort();
    }
    if (transferRunning_)
        co_return;
    quietProgress();
    progress_->setTransferMode(0);
}

QCoro::Task<> MainWindow::download()
{
    quietProgress();
    progress_->setTransferMode(2);
    co_await exchange_->downloadToRadio();
    quietProgress();
}

QCoro::Task<> MainWindow::upload()
{
    quietProgress();
    progress_->setTransferMode(1);
    co_await exchange_->uploadFromRadio();
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
        co_await showMessage(QStringLiteral("Could not open %1: %2").arg(QFileInfo(path).fileName(), content.failure));
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
        co_await showMessage(QStringLiteral("Could not save %1: %2").arg(QFileInfo(path).fileName(), *failure));
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
    setButtonKey(printButton_, ready ? QStringLiteral("print") : QStringLiteral("cancelprint"),
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
    progress_->animationTimer()->stop();
    notices_->noticeLine()->hide();
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
    notices_->showNotice(QStringLiteral("about"));
}

QCoro::Task<> MainWindow::showMessage(QString text)
{
    auto *box = new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Varlo"), text, QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("messageBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    co_await untilSignal(box, &QMessageBox::finished);
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
    if (connectionActive()) {
        notices_->showNotice(QStringLiteral("abort"));
        return false;
    }
    if (link_->isOpen())
        link_->close();
    return true;
}

void MainWindow::unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    notices_->endAll();
    for (QMessageBox *box : findChildren<QMessageBox *>())
        box->done(QMessageBox::Ok);
    // Windows of ours, such as the help viewer, go with the main window.
    for (QWidget *child : findChildren<QWidget *>())
        if (child->isWindow())
            child->close();
}

QString MainWindow::terminalText() const
{
    return terminal_->text();
}

void MainWindow::setTerminalText(const QString &text)
{
    terminal_->setText(text);
}

void MainWindow::placeTerminalCaret(qsizetype position)
{
    terminal_->placeCaret(int(std::min<qsizetype>(position, INT_MAX)));
}

void MainWindow::addTerminalLine(const QString &line)
{
    QString text = terminal_->text();
    // The radio's last line may lack its break: ours starts on a line of its own.
    if (!text.isEmpty() && !text.endsWith(u'\n'))
        text += QStringLiteral("\r\n");
    terminal_->setText(text + line + QStringLiteral("\r\n"));
    terminal_->placeCaret(INT_MAX);
}

QString MainWindow::frequencyOfRow(int row) const
{
    return table_->frequencyOfRow(row);
}

void MainWindow::putFrequency(int row, const QString &admitted)
{
    table_->putFrequency(row, admitted);
}

void MainWindow::highlightRow(int row)
{
    table_->highlightRow(row);
}

void MainWindow::deselectRow(int row)
{
    table_->clearHighlight(row);
}

bool MainWindow::singleChannel() const
{
    return table_->singleChannel();
}

int MainWindow::portNumber() const
{
    return ports_->portNumber();
}

void MainWindow::enableTransferCommands(bool enable)
{
    progress_->enableTransferCommands(enable);
}

void MainWindow::setTransferRunning(bool running)
{
    transferRunning_ = running;
}

void MainWindow::startAnimation()
{
    progress_->startAnimation();
}

void MainWindow::stopAnimation()
{
    progress_->stopAnimation();
}

void MainWindow::startEepromCountdown(int eepromSeconds)
{
    progress_->startEepromCountdown(qint16(eepromSeconds));
}

void MainWindow::endEepromCountdown()
{
    progress_->endEepromCountdown();
}

void MainWindow::refreshWindow()
{
    update();
}

QCoro::Task<> MainWindow::showNotice(QString text)
{
    co_await notices_->showNotice(text);
}

QCoro::Task<> MainWindow::showFailure(QString message)
{
    co_await showMessage(message);
}

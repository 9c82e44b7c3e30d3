#include "app/varlo_a.h"

#include "core/fonts.h"
#include "app/help_viewer.h"
#include "app/notices.h"
#include "app/resources/images.h"
#include "app/terminal_pane.h"
#include "channels/channel_table.h"
#include "files/recent_menu.h"
#include "link/exchange.h"
#include "link/port_choice.h"
#include "link/qt_serial_link.h"
#include "link/transfer_progress.h"

#include <QtCore/QCoreApplication>
#include <climits>
#include <QtCore/QDir>
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

namespace {

const QString kCaption = QStringLiteral("VarloW [v1.31]");

} // namespace

VarloA::VarloA(Timing timing)
    : timing_(timing), settings_(SettingsFilePath(QDir::currentPath())),
      link_(std::make_unique<QtSerialLink>()),
      exchange_(std::make_unique<RadioExchange>(*link_, *this, time_, timing_)),
      terminal_(new TerminalPane(this)),
      notices_(new Notices(this, timing_, *terminal_, [this](const QString &text) { showMessage(text); })),
      table_(new ChannelTable(this, settings_, notices_->noticeLine())),
      progress_(new TransferProgress(this, timing_, notices_->noticeLine(), table_->heading()))
{
    setObjectName(QStringLiteral("VarloA"));
    setWindowTitle(kCaption);
    setWindowIcon(WindowIcon());
    buildMenus();
    buildToolbar();
    buildPanels();
    layOut();
    Form_Load();
}

VarloA::~VarloA()
{
    Form_Unload();
}

bool VarloA::ConnectionActive() const
{
    return transferRunning_ || notices_->aboutShown();
}

void VarloA::Form_Load()
{
    progress_->countdownTimer()->stop();
    notices_->timer()->stop();
    progress_->TransferMode = 0;
    progress_->animationTimer()->stop();
    settings_.load();
    ports_->applyStoredPort(settings_.Settings().comPort());
    table_->applyStoredType(settings_.Settings().transceiverType());
    recent_->showStored();
    table_->buildRows();
    table_->fillTypeList();
    ports_->movePanel(Picture2->pos());
}

void VarloA::buildMenus()
{
    mfile = menuBar()->addMenu(QStringLiteral("&File"));
    mfile->setObjectName(QStringLiteral("mfile"));
    mexit = mfile->addAction(QStringLiteral("&Exit"), this, &VarloA::mexit_Click);
    mexit->setObjectName(QStringLiteral("mexit"));
    recent_ = new RecentFilesMenu(mfile, mexit, settings_);

    mdf = menuBar()->addMenu(QStringLiteral("&Data"));
    mdf->setObjectName(QStringLiteral("mdf"));
    mdownload = mdf->addAction(QStringLiteral("&Download"), this, [this] { mdownload_Click(); });
    mdownload->setObjectName(QStringLiteral("mdownload"));
    mupload = mdf->addAction(QStringLiteral("&Upload"), this, [this] { mupload_Click(); });
    mupload->setObjectName(QStringLiteral("mupload"));
    mdf->addSeparator()->setObjectName(QStringLiteral("mspace2"));
    ports_ = new PortChoice(this, mdf, [this](qint16 port) {
        settings_.Settings().setComPort(port);
        settings_.SaveSettings();
    });

    mh = menuBar()->addMenu(QStringLiteral("&Help"));
    mh->setObjectName(QStringLiteral("mh"));
    mh->addAction(QStringLiteral("&Varlo Help Contents"), this, &VarloA::mhelp_Click)
        ->setObjectName(QStringLiteral("mhelp"));
    mh->addSeparator()->setObjectName(QStringLiteral("mspace3"));
    mh->addAction(QStringLiteral("&About Varlo"), this, &VarloA::mabout_Click)
        ->setObjectName(QStringLiteral("mabout"));
}

QAction *VarloA::addToolbarButton(const QString &key, const QString &tip)
{
    QAction *button = Toolbar1->addAction(ToolbarImage(key), QString());
    button->setObjectName(key);
    button->setData(key);
    button->setToolTip(tip);
    button->setStatusTip(tip);
    connect(button, &QAction::triggered, this, [this, button] { Toolbar1_ButtonClick(button); });
    return button;
}

void VarloA::buildToolbar()
{
    Toolbar1 = addToolBar(QStringLiteral("Toolbar1"));
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setIconSize(QSize(16, 16));
    addToolbarButton(QStringLiteral("open"), QStringLiteral("Open File"));
    addToolbarButton(QStringLiteral("save"), QStringLiteral("Save File"));
    addToolbarButton(QStringLiteral("print"), QStringLiteral("Print"));
    QAction *upload = addToolbarButton(QStringLiteral("upload"), QStringLiteral("Upload (From Radio)"));
    QAction *download = addToolbarButton(QStringLiteral("download"), QStringLiteral("Download (To Radio)"));
    addToolbarButton(QStringLiteral("com"), QStringLiteral("Select COM port"));
    table_->typeList()->setMinimumWidth(107);
    Toolbar1->addWidget(table_->typeList())->setData(QStringLiteral("combo1"));
    progress_->setLockedCommands({upload, download, mupload, mdownload});
}

void VarloA::buildPanels()
{
    Picture2 = new QWidget(this);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->hide();
    Text2 = new QPlainTextEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setFont(VarloFont(QStringLiteral("Small Fonts"), 6.75));
    Text2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void VarloA::layOut()
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
    bottomLayout->addWidget(Text2, 1);

    auto *splitter = new QSplitter(Qt::Vertical, this);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->addWidget(top);
    splitter->addWidget(bottom);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);

    // The panels float over the table, as designed.
    for (QWidget *panel : {Picture2, findChild<QWidget *>(QStringLiteral("picCOM")), notices_->aboutPanel()})
        panel->setParent(top);
    Picture2->setGeometry(63, 70, 113, 41);
    resize(420, 520);
}

QCoro::Task<> VarloA::Toolbar1_ButtonClick(QAction *button)
{
    progress_->animationTimer()->stop();
    const QString key = button->data().toString();
    if (key == QLatin1String("upload")) {
        notices_->noticeLine()->hide();
        progress_->TransferMode = 1;
        co_await mupload_Click();
    } else if (key == QLatin1String("download")) {
        notices_->noticeLine()->hide();
        progress_->TransferMode = 2;
        co_await mdownload_Click();
    } else if (key == QLatin1String("com")) {
        ports_->ChooseCustomPort();
    }
    quietProgress();
    progress_->TransferMode = 0;
}

QCoro::Task<> VarloA::mdownload_Click()
{
    quietProgress();
    progress_->TransferMode = 2;
    co_await exchange_->DownloadToRadio();
    quietProgress();
}

QCoro::Task<> VarloA::mupload_Click()
{
    quietProgress();
    progress_->TransferMode = 1;
    co_await exchange_->UploadFromRadio();
    quietProgress();
}

void VarloA::quietProgress()
{
    progress_->animationTimer()->stop();
    notices_->noticeLine()->hide();
}

void VarloA::mexit_Click()
{
    close();
}

void VarloA::mhelp_Click()
{
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Varlo.hlp"));
    if (!OpenHelp(this, path))
        showMessage(QStringLiteral("Unable to start help file."));
}

void VarloA::mabout_Click()
{
    notices_->ShowNotice(QStringLiteral("about"));
}

QCoro::Task<> VarloA::showMessage(QString text)
{
    auto *box = new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Varlo"), text, QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("messageBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    co_await untilSignal(box, &QMessageBox::finished);
}

void VarloA::closeEvent(QCloseEvent *event)
{
    if (!Form_QueryUnload()) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

bool VarloA::Form_QueryUnload()
{
    if (ConnectionActive()) {
        notices_->ShowNotice(QStringLiteral("abort"));
        return false;
    }
    if (link_->isOpen())
        link_->close();
    return true;
}

void VarloA::Form_Unload()
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

QString VarloA::terminalText() const
{
    return terminal_->text();
}

void VarloA::setTerminalText(const QString &text)
{
    terminal_->setText(text);
}

void VarloA::placeTerminalCaret(qsizetype position)
{
    terminal_->placeCaret(int(std::min<qsizetype>(position, INT_MAX)));
}

void VarloA::addTerminalLine(const QString &line)
{
    QString text = terminal_->text();
    // The radio's last line may lack its break: ours starts on a line of its own.
    if (!text.isEmpty() && !text.endsWith(u'\n'))
        text += QStringLiteral("\r\n");
    terminal_->setText(text + line + QStringLiteral("\r\n"));
    terminal_->placeCaret(INT_MAX);
}

QString VarloA::frequencyOfRow(int row) const
{
    return table_->frequencyOfRow(row);
}

void VarloA::putFrequency(int row, const QString &admitted)
{
    table_->putFrequency(row, admitted);
}

void VarloA::highlightRow(int row)
{
    table_->highlightRow(row);
}

void VarloA::deselectRow(int row)
{
    table_->clearHighlight(row);
}

bool VarloA::SingleChannel() const
{
    return table_->singleChannel();
}

int VarloA::PortNumber() const
{
    return ports_->portNumber();
}

void VarloA::EnableTransferCommands(bool enable)
{
    progress_->EnableTransferCommands(enable);
}

void VarloA::setTransferRunning(bool running)
{
    transferRunning_ = running;
}

void VarloA::startAnimation()
{
    progress_->startAnimation();
}

void VarloA::stopAnimation()
{
    progress_->stopAnimation();
}

void VarloA::startEepromCountdown(int eepromSeconds)
{
    progress_->startEepromCountdown(qint16(eepromSeconds));
}

void VarloA::EndEepromCountdown()
{
    progress_->EndEepromCountdown();
}

void VarloA::refreshWindow()
{
    update();
}

QCoro::Task<> VarloA::showNotice(QString text)
{
    co_await notices_->ShowNotice(text);
}

QCoro::Task<> VarloA::showFailure(QString message)
{
    co_await showMessage(message);
}

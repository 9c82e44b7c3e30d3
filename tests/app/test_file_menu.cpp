#include "app/captions.h"
#include "app/notice_line.h"
#include "app/radio_backup.h"
#include "app/recent_menu.h"
#include "app/report_panel.h"
#include "window_fixture.h"

#include <QtGui/QClipboard>
#include <QtPrintSupport/QPrintDialog>
#include <QtPrintSupport/QPrinter>
#include <QtTest/QtTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QToolBar>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kCaption = QStringLiteral("VarloW [v1.31]");

int printerAsked = 0;

// What the simulated radio holds until it is written.
const QStringList kRadioChannels{"118.600", "121.500", "122.475", "123.450", "129.975", "134.125"};

// Answers the printer dialog with a PDF printer, or as a cancel when given no file.
class PdfPrinterChoice final : public PrinterChoice {
public:
    explicit PdfPrinterChoice(const QString &pdf) { printer_.setOutputFileName(pdf); }
    QCoro::Task<QPrinter *> choosePrinter() override
    {
        ++printerAsked;
        co_return printer_.outputFileName().isEmpty() ? nullptr : &printer_;
    }

private:
    QPrinter printer_;
};

// A six-channel window that remembers a serial number and the recent files /other.vl and
// recent, and prints to pdf, or cancels when given none.
MainWindow &startWindow(WindowFixture &fixture, const QByteArray &serial, const QString &recent = {},
                        const QString &pdf = {})
{
    fixture.storeSettings(QByteArray("\x01\x00\x06\x00", 4) + serial + QByteArray(500, '\0')
                          + QByteArray("/other.vl").leftJustified(500, ' ')
                          + QFile::encodeName(recent).leftJustified(1000, ' '));
    MainWindow &window = fixture.start(quickTiming());
    window.report().setPrinterChoice(std::make_unique<PdfPrinterChoice>(pdf));
    printerAsked = 0;
    return window;
}

// Answers the file dialog with path, and the question whether to replace it with overwrite;
// returns the name it proposed.
QString answerDialog(MainWindow &window, const QString &title, const QString &path,
                     QMessageBox::StandardButton overwrite = QMessageBox::NoButton)
{
    auto *dialog = window.findChild<QFileDialog *>("ComDiag");
    if (!dialog || dialog->windowTitle() != title)
        return QStringLiteral("(no dialog titled %1)").arg(title);
    const QString proposed = dialog->findChild<QLineEdit *>("fileNameEdit")->text();
    dialog->selectFile(path);
    // Qt asks inside accept(), so the answer is given from the event loop the question runs.
    if (overwrite != QMessageBox::NoButton)
        QTimer::singleShot(0, dialog, [overwrite] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                box->button(overwrite)->click();
        });
    static_cast<QDialog *>(dialog)->accept();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return proposed;
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

} // namespace

class TestFileMenu : public QObject {
    Q_OBJECT
private slots:
    void captionsNameFiles_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("expected");
        QTest::newRow("proposal, two points") << proposedFileName("/data/tower.backup.vl") << "/data/tower";
        QTest::newRow("proposal, point in folder") << proposedFileName("/j.smith/tower.vl") << "/j.smith/tower";
        QTest::newRow("proposal, no point") << proposedFileName("/j.smith/tower") << "/j.smith/tower";
        QTest::newRow("recent entry") << recentFileCaption(2, "/r&d/x.vl") << "&2. /r&&d/x.vl";
    }
    void captionsNameFiles()
    {
        QFETCH(QString, shown);
        QTEST(shown, "expected");
    }

    void recentEntryOpens_data()
    {
        QTest::addColumn<QByteArray>("content"); // or a missing file, or a FIFO
        QTest::addColumn<QString>("row1");
        QTest::addColumn<QString>("message"); // empty: none, and the file is named in the caption
        QTest::newRow("valid") << QByteArray("121.500\r\n") << "121.500" << QString();
        QTest::newRow("invalid first line") << QByteArray("1215\r\n") << "118.000" << QString();
        QTest::newRow("missing") << QByteArray("missing") << QString("118.000")
                                 << "Could not open tower.vl: No such file or directory";
        QTest::newRow("fifo") << QByteArray("fifo") << QString("118.000")
                              << "Could not open tower.vl: not a regular file";
    }
    void recentEntryOpens()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, row1);
        QFETCH(QString, message);
        const bool named = message.isEmpty();
        WindowFixture fixture;
        const QString path = fixture.path(QStringLiteral("tower.vl"));
        if (content == "fifo")
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (content != "missing")
            put(path, content);
        MainWindow &window = startWindow(fixture, "        ", path);
        alarm(10); // an open that waits on the pipe ends the test
        action(window, "mmru2")->trigger();
        alarm(0);
        QCOMPARE(window.table().frequencyOfRow(1), row1);
        QCOMPARE(window.windowTitle(), named ? kCaption + "  -  tower.vl" : kCaption);
        QCOMPARE(window.settings().record().recentFile(1), named ? path : QStringLiteral("/other.vl"));
        QCOMPARE(QFileInfo::exists(path), content != "missing");
        QCOMPARE(fixture.messageBox() ? fixture.messageBox()->text() : QString(), message);
        QVERIFY(named || fixture.dismiss(fixture.messageBox()));
    }

    void saveKeepsExtensionOfFilter_data()
    {
        QTest::addColumn<QList<int>>("filterKeys"); // as the user moves through the filters
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("saved");
        QTest::newRow("channel files") << QList<int>{} << "tower"
                                       << "tower.vl";
        QTest::newRow("all files") << QList<int>{Qt::Key_Down} << "tower"
                                   << "tower";
        QTest::newRow("back to channel files") << QList<int>{Qt::Key_Down, Qt::Key_Up} << "tower"
                                               << "tower.vl";
        QTest::newRow("own extension") << QList<int>{} << "tower.txt"
                                       << "tower.txt";
    }
    void saveKeepsExtensionOfFilter()
    {
        QFETCH(QList<int>, filterKeys);
        QFETCH(QString, typed);
        QFETCH(QString, saved);
        WindowFixture fixture;
        MainWindow &window = startWindow(fixture, "        ");
        window.table().putFrequency(1, QStringLiteral("121.500"));
        action(window, "msave")->trigger();
        QCOMPARE(window.findChild<QFileDialog *>("ComDiag")->nameFilters(),
                 (QStringList{"Varlo files (*.vl)", "All files (*)"}));
        for (int key : filterKeys)
            QTest::keyClick(window.findChild<QComboBox *>("fileTypeCombo"), Qt::Key(key));
        QCOMPARE(answerDialog(window, "Enter filename to save data as", fixture.path(typed)), QString());
        QCOMPARE(QDir(fixture.path(".")).entryList({"tower*"}, QDir::Files), QStringList{saved});
        QCOMPARE(window.windowTitle(), kCaption + "  -  " + saved);

        // The open dialog proposes the name saved up to its first point, and loads the file.
        window.table().putFrequency(1, QStringLiteral("118.000"));
        action(window, "open")->trigger();
        QCOMPARE(answerDialog(window, "Enter filename to open", fixture.path(saved)), QStringLiteral("tower"));
        QCOMPARE(window.table().frequencyOfRow(1), QStringLiteral("121.500"));
    }

    void entryRules_data()
    {
        QTest::addColumn<QByteArray>("stored");
        // Text typed, <keys>, =text pasted, an element double-clicked, or the Print button.
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("number"); // or "open" while the entry goes on, or "cancelled"
        const QByteArray blank(8, ' ');
        QTest::newRow("seven, Enter") << blank << QStringList{"1234567", "<Return>"} << "1234567";
        QTest::newRow("eighth completes") << blank << QStringList{"12345678"} << "12345678";
        QTest::newRow("Enter on empty") << blank << QStringList{"<Return>"} << "";
        QTest::newRow("paste of ten") << blank << QStringList{"=ABCDEFGHIJ"} << "ABCDEFGH";
        QTest::newRow("paste with break") << blank << QStringList{"=12\n34", "<Return>"} << "1234";
        QTest::newRow("remembered eight waits") << QByteArray("ABCDEFGH") << QStringList{} << "open";
        QTest::newRow("double-click box") << blank << QStringList{"ABC", "Text3"} << "ABC";
        QTest::newRow("double-click label") << QByteArray("XY      ") << QStringList{"Label5"} << "XY";
        QTest::newRow("double-click panel") << blank << QStringList{"A", "Picture2"} << "A";
        QTest::newRow("cancel printing") << QByteArray("AB123   ") << QStringList{"9", "print"} << "cancelled";
    }
    void entryRules()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QStringList, steps);
        QFETCH(QString, number);
        WindowFixture fixture;
        MainWindow &window = startWindow(fixture, stored);
        QAction *button = window.findChild<QToolBar *>("Toolbar1")->actions().at(2);
        button->trigger();
        auto *box = window.findChild<QPlainTextEdit *>("Text3");
        QCOMPARE(box->toPlainText(), QString::fromLatin1(stored.trimmed()));
        for (const QString &step : steps) {
            QWidget *clicked = step == "Text3" ? box->viewport() : window.findChild<QWidget *>(step);
            if (step == "print") {
                button->trigger(); // the same button, now cancelling
            } else if (step.startsWith(u'<')) {
                QTest::keySequence(box, QKeySequence(step.mid(1).chopped(1)));
            } else if (step.startsWith(u'=')) {
                QGuiApplication::clipboard()->setText(step.mid(1));
                QTest::keySequence(box, QKeySequence::Paste);
            } else if (clicked) {
                QTest::mouseDClick(clicked, Qt::LeftButton, {}, {2, 38});
            } else {
                QTest::keyClicks(box, step);
            }
        }
        const bool open = number == "open";
        const bool printed = !open && number != "cancelled";
        QCOMPARE(window.findChild<QWidget *>("Picture2")->isVisible(), open);
        QCOMPARE(printerAsked, int(printed));
        QCOMPARE(fixture.settingsBytes().mid(4, 8), printed ? number.toLatin1().leftJustified(8, ' ') : stored);
        const QString report = window.findChild<QPlainTextEdit *>("Text2")->toPlainText();
        QVERIFY(printed ? report.contains("\tSerial No:  \t" + number + "\t\t") : report.isEmpty());
        QCOMPARE(window.findChild<QToolBar *>("Toolbar1")->actions().at(2), button);
        QCOMPARE(button->objectName() + button->toolTip(), open ? "cancelprintCancel Printing" : "printPrint");
        QCOMPARE(action(window, "mprint")->text(), open ? "Cancel &Printing" : "&Print");
    }

    // With tower.vl opened (the dialogs propose it) and "Wrong Frequency!" shown, a command
    // cancelled, declined, refused or failed hides the notice and changes neither rows, files
    // nor caption. A FIFO with a reader or a link to nothing stands in for a device as COM1.
    // Printing ends in the printer dialog itself, cancelled with a PDF file set.
    void fileCommandChangesNothing_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("overwrite"); // the answer to "replace it?", or none
        QTest::addColumn<QString>("target"); // empty: the dialog is cancelled
        QTest::addColumn<QString>("message");
        const int none = QMessageBox::NoButton;
        const QString refused = "Could not save COM1: not a regular file";
        QTest::newRow("open, cancelled") << "open" << none << QString() << QString();
        QTest::newRow("save, cancelled") << "save" << none << QString() << QString();
        QTest::newRow("print, cancelled") << "print" << none << QString() << QString();
        QTest::newRow("save, not replacing") << "save" << int(QMessageBox::No) << "tower.vl" << QString();
        QTest::newRow("save to a FIFO") << "save" << int(QMessageBox::Yes) << "fifo" << refused;
        QTest::newRow("save to a link to nothing") << "save" << none << "dangling" << refused;
        QTest::newRow("save past the size limit") << "save" << int(QMessageBox::Yes) << "tower.vl"
                                                  << "Could not save tower.vl: File too large";
    }
    void fileCommandChangesNothing()
    {
        QFETCH(QString, key);
        QFETCH(int, overwrite);
        QFETCH(QString, target);
        QFETCH(QString, message);
        WindowFixture fixture;
        const QString com1 = fixture.path("COM1");
        put(fixture.path("tower.vl"), "121.500\r\n");
        QVERIFY(target != "fifo" || mkfifo(QFile::encodeName(com1).constData(), 0600) == 0);
        QVERIFY(target != "dangling" || QFile::link(fixture.path("gone"), com1));
        const int reader = ::open(QFile::encodeName(com1).constData(), O_RDONLY | O_NONBLOCK);
        MainWindow &window = fixture.start(quickTiming());
        window.table().typeList()->setCurrentIndex(1); // six channels
        action(window, "mopen")->trigger();
        answerDialog(window, "Enter filename to open", fixture.path("tower.vl"));
        window.table().putFrequency(1, QStringLiteral("130.000"));
        window.noticeLine().showWrongFrequency();
        action(window, key)->trigger();
        // No fork, the window has threads: the limit is lowered around the save alone.
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit lowered{target == "tower.vl" ? 20 : limit.rlim_cur, limit.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &lowered);
        if (!target.isEmpty()) {
            QTest::keyClick(window.findChild<QComboBox *>("fileTypeCombo"), Qt::Key_Down); // COM1 as typed
            answerDialog(window, "Enter filename to save data as", target == "tower.vl" ? fixture.path(target) : com1,
                         QMessageBox::StandardButton(overwrite));
        }
        if (auto *dialog = window.findChild<QFileDialog *>("ComDiag"))
            dialog->reject();
        if (key == "print")
            QTest::keyClicks(window.findChild<QWidget *>("Text3"), "AB123\r");
        if (auto *dialog = window.findChild<QPrintDialog *>("ComDiag2")) {
            dialog->printer()->setOutputFileName(fixture.path("report.pdf"));
            dialog->reject();
        }
        QMessageBox *box = message.isEmpty() ? nullptr : fixture.awaitMessageBox();
        setrlimit(RLIMIT_FSIZE, &limit);
        QCOMPARE(box ? box->text() : QString(), message);
        QVERIFY(!box || fixture.dismiss(box));
        QTRY_VERIFY(!window.noticeLine().label()->isVisible());
        char byte = 0;
        QVERIFY(::read(reader, &byte, 1) <= 0);
        ::close(reader);
        QVERIFY(!QFileInfo::exists(fixture.path("gone")));
        QVERIFY(!QFileInfo::exists(fixture.path("report.pdf")));
        QCOMPARE(fixture.settingsBytes().mid(4, 8), key == "print" ? "AB123   " : "        ");
        QCOMPARE(window.table().frequencyOfRow(1), QStringLiteral("130.000"));
        QCOMPARE(QDir(fixture.path(".")).entryList({"tower*"}, QDir::Files), QStringList{"tower.vl"});
        QCOMPARE(bytesOf(fixture.path("tower.vl")), "121.500\r\n");
        QCOMPARE(window.windowTitle(), kCaption + "  -  tower.vl");
    }

    // The printer choice replaced while its dialog is open takes the dialog along, and the report
    // waiting on it ends without touching the choice that went.
    void printerChoiceReplacedWhileItsDialogIsOpen()
    {
        WindowFixture fixture;
        MainWindow &window = fixture.start(quickTiming());
        action(window, "mprint")->trigger();
        QTest::keyClicks(window.findChild<QWidget *>("Text3"), "AB123\r");
        QPointer<QPrintDialog> dialog = window.findChild<QPrintDialog *>("ComDiag2");
        QVERIFY(dialog && dialog->isVisible());
        window.report().setPrinterChoice(std::make_unique<PdfPrinterChoice>(QString()));
        if (dialog) // a dialog left behind is answered, as a user would
            dialog->reject();
        QVERIFY(!dialog);
    }

    // Every caption and separator shown, in order, after a.vl and then b.vl were opened in a
    // window that remembered /other.vl.
    void menusInOrder_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QStringList>("items"); // "-" for a separator
        QTest::newRow("File") << "mfile"
                              << QStringList{"&Open",    "Open &Backup...", "&Save",         "-", "&Print", "-",
                                             "&1. b.vl", "&2. a.vl",        "&3. /other.vl", "-", "&Exit"};
        QTest::newRow("Data") << "mdf" << QStringList{"&Download", "&Upload", "&Verify Radio", "-",          "Com&1",
                                                      "Com&2",     "Com&3",   "Com&4",         "&Custom COM"};
        QTest::newRow("Help") << "mh" << QStringList{"&Varlo Help Contents", "-", "&About Varlo"};
    }
    void menusInOrder()
    {
        QFETCH(QString, menu);
        QFETCH(QStringList, items);
        WindowFixture fixture;
        MainWindow &window = startWindow(fixture, "        ");
        window.recentFiles().addToRecentFiles(QStringLiteral("a.vl"));
        window.recentFiles().addToRecentFiles(QStringLiteral("b.vl"));
        QStringList shown;
        for (const QAction *item : window.findChild<QMenu *>(menu)->actions())
            if (item->isVisible())
                shown << (item->isSeparator() ? QStringLiteral("-") : item->text());
        QCOMPARE(shown, items);
    }

    // Open Backup starts in the backups folder and opens the file chosen there as Open does;
    // the next Open proposes it (and, under AddressSanitizer, finds the folder's name intact).
    void openBackupStartsInBackups()
    {
        WindowFixture fixture;
        MainWindow &window = startWindow(fixture, "        ");
        const QString folder = RadioBackup::folder();
        const QString backup = folder + "/2026-12-08_183015_COM1.vl";
        put(backup, "121.525\r\n");
        action(window, "mopenbackup")->trigger();
        QCOMPARE(window.findChild<QFileDialog *>("ComDiag")->directory().path(), folder);
        answerDialog(window, "Enter filename to open", backup);
        QCOMPARE(window.table().frequencyOfRow(1), QStringLiteral("121.525"));
        QCOMPARE(window.windowTitle(), kCaption + "  -  2026-12-08_183015_COM1.vl");
        QCOMPARE(window.settings().record().recentFile(1), backup);
        action(window, "mopen")->trigger();
        QCOMPARE(answerDialog(window, "Enter filename to open", backup), "2026-12-08_183015_COM1");
    }

    // From outside only: the printed page, the saved file, the radio's bytes.
    void uploadPrintedSavedReopenedAndDownloaded()
    {
        WindowFixture fixture;
        QVERIFY2(fixture.linkRadio(), qPrintable(fixture.radio().errorString()));
        const QString pdf = fixture.path(QStringLiteral("report.pdf"));
        MainWindow &first = startWindow(fixture, "        ", {}, pdf);
        action(first, "mupload")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(fixture.received() == "\r6N\r" && transferCommandsEnabled(first) == 4, kTimeout);

        action(first, "mprint")->trigger();
        QTest::keyClicks(first.findChild<QWidget *>("Text3"), "AB123");
        QTest::keyClick(first.findChild<QWidget *>("Text3"), Qt::Key_Return);
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {"-layout", pdf, "-"});
        QVERIFY(pdftotext.waitForFinished());
        const QString page = QString::fromUtf8(pdftotext.readAllStandardOutput());
        const QString flat = QString(page).remove(QRegularExpression("\\s")); // tabs come out as spaces
        QVERIFY2(flat.contains("SerialNo:AB123"), qPrintable(page));
        for (int i = 1; i <= 6; ++i)
            QVERIFY2(flat.contains(QStringLiteral("Channel%1:%2MHz").arg(i).arg(kRadioChannels[i - 1])),
                     qPrintable(page));

        action(first, "msave")->trigger();
        answerDialog(first, "Enter filename to save data as", fixture.path("radio"));
        QFile saved(fixture.path("radio.vl"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), kRadioChannels.join("\r\n").toLatin1() + "\r\n");
        action(first, "open")->trigger(); // which puts it at the head of the recent files
        answerDialog(first, "Enter filename to open", fixture.path("radio.vl"));

        MainWindow &fresh = fixture.start(quickTiming());
        action(fresh, "mmru1")->trigger();
        action(fresh, "mdownload")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(fixture.received(), "\r6N\r\r6Y186002150022475234502997534125S\r", kTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(transferCommandsEnabled(fresh), 4, kTimeout);
    }
};

QTEST_MAIN(TestFileMenu)
#include "test_file_menu.moc"

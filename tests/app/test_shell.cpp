#include "window_fixture.h"

#include <QtCore/QProcess>
#include <QtCore/QTemporaryDir>
#include <QtTest/QtTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QTextBrowser>

namespace {

QString helpBesideProgram()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Varlo.hlp"));
}

QByteArray firstRunBytes()
{
    return QByteArray("\x01\x00\x01\x00", 4) + QByteArray(8, ' ') + QByteArray(500, '\0')
        + QByteArray(1500, ' ');
}

} // namespace

class TestShell : public QObject {
    Q_OBJECT
private slots:
    void missingHelpIsReported();
    void helpOpensInOurViewer();
    void closingTheWindowEndsTheProgramWithZero();
    void builtProgramStartsAndWritesItsSettings();
};

void TestShell::missingHelpIsReported()
{
    QFile::remove(helpBesideProgram());
    WindowFixture fixture;
    MainWindow &window = fixture.start();
    window.openHelp();
    QMessageBox *box = fixture.messageBox();
    QVERIFY(box);
    QCOMPARE(box->text(), QStringLiteral("Unable to start help file."));
    QCOMPARE(box->windowTitle(), QStringLiteral("Varlo"));
    box->done(QMessageBox::Ok);
}

void TestShell::helpOpensInOurViewer()
{
    QFile::remove(helpBesideProgram());
    QVERIFY(QFile::copy(QStringLiteral(VARLO_HELP_FILE), helpBesideProgram()));
    WindowFixture fixture;
    MainWindow &window = fixture.start();
    window.openHelp();
    QVERIFY(!fixture.messageBox());
    auto *browser = window.findChild<QTextBrowser *>();
    QVERIFY(browser && browser->window()->isVisible());
    QVERIFY(browser->toPlainText().contains(QStringLiteral("Download Completed. Power Radio OFF / ON.")));
    QVERIFY(window.close());
    QVERIFY(!browser->window()->isVisible()); // our windows go with the main window
    QFile::remove(helpBesideProgram());
}

void TestShell::closingTheWindowEndsTheProgramWithZero()
{
    WindowFixture fixture;
    MainWindow &window = fixture.start();
    QTimer::singleShot(0, &window, [&window] { window.exitProgram(); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!window.isVisible());
}

void TestShell::builtProgramStartsAndWritesItsSettings()
{
    QTemporaryDir dir;
    QProcess program;
    program.setWorkingDirectory(dir.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(VARLO_PROGRAM), {});
    QVERIFY(program.waitForStarted());
    QFile settings(dir.filePath(QStringLiteral("Varlo")));
    QTRY_VERIFY_WITH_TIMEOUT(settings.size() == 2012, 10000);
    QVERIFY(settings.open(QIODevice::ReadOnly));
    QCOMPARE(settings.readAll(), firstRunBytes());
    QCOMPARE(program.state(), QProcess::Running);
    program.kill();
    program.waitForFinished();
}

QTEST_MAIN(TestShell)
#include "test_shell.moc"

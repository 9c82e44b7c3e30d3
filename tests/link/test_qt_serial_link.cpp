#include "link/qt_serial_link.h"
#include "pty_pair.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtTest/QtTest>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <sys/file.h>

using namespace std::chrono_literals;

namespace {

// No system ports at all: every COM number a test uses comes from a COMn entry.
ComPortResolver entriesOnly()
{
    return ComPortResolver([] { return QList<SystemPort>(); });
}

double processCpuSeconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Empty when the link opened; else the device and the reason, for the test's message.
QString openError(SerialLink& link)
{
    const auto failure = link.open();
    return failure ? failure->device + QStringLiteral(": ") + failure->reason : QString();
}

termios settingsOf(int fd)
{
    termios settings{};
    ::tcgetattr(fd, &settings);
    return settings;
}

}  // namespace

class TestQtSerialLink : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void opensByTheRealDevice();
    void setsLineSettingsAtEveryOpen();
    void writesOneByteAtOnce();
    void readsWhatArrived();
    void discardThrowsAwayUnread();
    void closesAndReopens();
    void portNumberOnlyWhileClosed();
    void absentPortFailsWithReason_data();
    void absentPortFailsWithReason();
    void secondOpeningThroughAnotherNameFails();
    void deviceLockedElsewhereFails();
    void lostLineIsReportedOnceWithoutBusyLoop();
    void writeToDeadLineFails();

private:
    void linkEntry(int number, const QString& target);

    std::unique_ptr<QTemporaryDir> workDir_;
    QString previousDir_;
    std::unique_ptr<PtyPair> pty_;
};

void TestQtSerialLink::init()
{
    previousDir_ = QDir::currentPath();
    workDir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(workDir_->isValid());
    QVERIFY(QDir::setCurrent(workDir_->path()));
    pty_ = std::make_unique<PtyPair>();
    QVERIFY(pty_->isValid());
    linkEntry(1, pty_->slavePath());
}

void TestQtSerialLink::cleanup()
{
    pty_.reset();
    QDir::setCurrent(previousDir_);
    workDir_.reset();
}

void TestQtSerialLink::linkEntry(int number, const QString& target)
{
    QVERIFY(QFile::link(target, QStringLiteral("COM%1").arg(number)));
}

void TestQtSerialLink::opensByTheRealDevice()
{
    QtSerialLink link(entriesOnly());
    QVERIFY(!link.isOpen());
    QCOMPARE(openError(link), QString());
    QVERIFY(link.isOpen());
    QCOMPARE(link.openDevice(), pty_->slavePath());
}

void TestQtSerialLink::setsLineSettingsAtEveryOpen()
{
    QtSerialLink link(entriesOnly());
    for (int opening = 0; opening < 2; ++opening) {
        // Someone else left the line at 1200 baud, two stop bits, with flow control (a pty
        // keeps neither 7 data bits nor parity).
        termios foreign = settingsOf(pty_->slave());
        ::cfsetspeed(&foreign, B1200);
        foreign.c_cflag |= CSTOPB | CRTSCTS;
        foreign.c_iflag |= IXON | IXOFF;
        QVERIFY2(::tcsetattr(pty_->slave(), TCSANOW, &foreign) == 0, strerror(errno));
        const termios before = settingsOf(pty_->slave());
        QCOMPARE(::cfgetospeed(&before), speed_t(B1200));

        QCOMPARE(openError(link), QString());
        const termios line = settingsOf(pty_->slave());
        QCOMPARE(::cfgetospeed(&line), speed_t(B9600));
        QCOMPARE(::cfgetispeed(&line), speed_t(B9600));
        QCOMPARE(line.c_cflag & CSIZE, tcflag_t(CS8));
        QCOMPARE(line.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t(0));
        QCOMPARE(line.c_iflag & (IXON | IXOFF), tcflag_t(0));
        link.close();
    }
}

void TestQtSerialLink::writesOneByteAtOnce()
{
    QtSerialLink link(entriesOnly());
    QCOMPARE(openError(link), QString());
    QVERIFY(link.writeChar('6'));
    // No event loop between the write and the far end: it went out at once.
    QCOMPARE(pty_->receive(1, 0) + pty_->receive(1, 500), QByteArray("6"));
    QVERIFY(link.writeChar('\r'));
    QVERIFY(link.writeChar(char(0xe9)));
    QCOMPARE(pty_->receive(2), QByteArray("\r\xe9"));
}

void TestQtSerialLink::readsWhatArrived()
{
    QtSerialLink link(entriesOnly());
    QSignalSpy arrived(&link, &SerialLink::dataArrived);
    QCOMPARE(openError(link), QString());
    QCOMPARE(link.readAll(), QString());
    QVERIFY(pty_->send("Channel 1\xb0"));
    QVERIFY(arrived.wait(2000));
    QString received;
    QTRY_COMPARE((received += link.readAll().value_or(QString())),
                 QStringLiteral("Channel 1") + QChar(0xb0));
    QCOMPARE(link.readAll(), QString());
}

void TestQtSerialLink::discardThrowsAwayUnread()
{
    QtSerialLink link(entriesOnly());
    QSignalSpy arrived(&link, &SerialLink::dataArrived);
    QCOMPARE(openError(link), QString());
    QVERIFY(pty_->send("already buffered"));
    QVERIFY(arrived.wait(2000));
    QVERIFY(pty_->send("still in the line"));
    QVERIFY(link.discardInput());
    QTest::qWait(100);
    QCOMPARE(link.readAll(), QString());
    QVERIFY(pty_->send("fresh"));
    QString received;
    QTRY_COMPARE((received += link.readAll().value_or(QString())), QStringLiteral("fresh"));
}

void TestQtSerialLink::closesAndReopens()
{
    QtSerialLink link(entriesOnly());
    for (int opening = 0; opening < 3; ++opening) {
        QCOMPARE(openError(link), QString());
        QVERIFY(link.writeChar(char('a' + opening)));
        QCOMPARE(pty_->receive(1), QByteArray(1, char('a' + opening)));
        link.close();
        QVERIFY(!link.isOpen());
        QCOMPARE(link.readAll(), std::nullopt);
        QVERIFY(!link.writeChar('x'));
        QVERIFY(!link.discardInput());
    }
}

void TestQtSerialLink::portNumberOnlyWhileClosed()
{
    PtyPair second;
    QVERIFY(second.isValid());
    linkEntry(2, second.slavePath());
    QtSerialLink link(entriesOnly());
    QVERIFY(!link.setPortNumber(0));
    QVERIFY(link.setPortNumber(2));
    QCOMPARE(openError(link), QString());
    QCOMPARE(link.openDevice(), second.slavePath());
    QVERIFY(!link.setPortNumber(1));
    link.close();
    QVERIFY(link.setPortNumber(1));
    QCOMPARE(openError(link), QString());
    QCOMPARE(link.openDevice(), pty_->slavePath());
}

void TestQtSerialLink::absentPortFailsWithReason_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("reason");
    QTest::newRow("no port for the number") << 5 << "COM5" << "No serial port is present";
    QTest::newRow("entry to a vanished device") << 3 << "COM3" << "No such file";
}

void TestQtSerialLink::absentPortFailsWithReason()
{
    QFETCH(int, number);
    QFETCH(QString, device);
    QFETCH(QString, reason);
    linkEntry(3, workDir_->filePath(QStringLiteral("unplugged")));
    QtSerialLink link(entriesOnly());
    QVERIFY(link.setPortNumber(number));
    const auto failure = link.open();
    QVERIFY(failure);
    QVERIFY2(failure->device.endsWith(device), qPrintable(failure->device));
    QVERIFY2(failure->reason.contains(reason), qPrintable(failure->reason));
    QVERIFY(!link.isOpen());
}

void TestQtSerialLink::secondOpeningThroughAnotherNameFails()
{
    linkEntry(2, QStringLiteral("COM1"));
    QtSerialLink first(entriesOnly());
    QtSerialLink second(entriesOnly());
    QVERIFY(second.setPortNumber(2));
    QCOMPARE(openError(first), QString());

    const auto failure = second.open();
    QVERIFY(failure);
    QCOMPARE(failure->device, pty_->slavePath());
    QVERIFY2(failure->reason.contains(QStringLiteral("in use")), qPrintable(failure->reason));
    QVERIFY(!second.isOpen());
    QVERIFY(first.isOpen());
    QVERIFY(first.writeChar('k'));
    QCOMPARE(pty_->receive(1), QByteArray("k"));

    first.close();
    QCOMPARE(openError(second), QString());
}

// Another program holding the device (an advisory lock, whatever lock files it knows of).
void TestQtSerialLink::deviceLockedElsewhereFails()
{
    const int other = ::open(QFile::encodeName(pty_->slavePath()).constData(), O_RDWR | O_NOCTTY);
    QVERIFY(other >= 0);
    QCOMPARE(::flock(other, LOCK_EX | LOCK_NB), 0);
    QtSerialLink link(entriesOnly());
    const auto failure = link.open();
    QVERIFY(failure);
    QVERIFY2(failure->reason.contains(QStringLiteral("in use")), qPrintable(failure->reason));
    QVERIFY(!link.isOpen());
    ::close(other);
    QCOMPARE(openError(link), QString());
}

void TestQtSerialLink::lostLineIsReportedOnceWithoutBusyLoop()
{
    QtSerialLink link(entriesOnly());
    QSignalSpy lost(&link, &SerialLink::lineLost);
    QCOMPARE(openError(link), QString());
    QVERIFY(pty_->send("half a repl"));
    QString received;
    QTRY_COMPARE((received += link.readAll().value_or(QString())), QStringLiteral("half a repl"));

    pty_->closeMaster();
    QTRY_COMPARE(lost.count(), 1);
    QVERIFY(!link.isOpen());
    QCOMPARE(link.readAll(), std::nullopt);
    QVERIFY(!link.writeChar('x'));

    const double cpuBefore = processCpuSeconds();
    QTest::qWait(1000);
    const double cpuUsed = processCpuSeconds() - cpuBefore;
    QVERIFY2(cpuUsed < 0.2, qPrintable(QStringLiteral("CPU %1 s").arg(cpuUsed)));
    QCOMPARE(lost.count(), 1);
}

// The far end is gone before the event loop has noticed: the write itself finds out.
void TestQtSerialLink::writeToDeadLineFails()
{
    QtSerialLink link(entriesOnly());
    QSignalSpy lost(&link, &SerialLink::lineLost);
    QCOMPARE(openError(link), QString());
    pty_->closeMaster();
    QVERIFY(!link.writeChar('x'));
    QVERIFY(!link.isOpen());
    QTRY_COMPARE(lost.count(), 1);
    QTest::qWait(200);
    QCOMPARE(lost.count(), 1);
}

QTEST_GUILESS_MAIN(TestQtSerialLink)
#include "test_qt_serial_link.moc"

// The link folder: port numbers typed, COM n turned into a device, and the serial link over a
// pseudo-terminal linked as COM1 in a working folder of its own, the test playing the far end.
#include "link/port_number.h"
#include "link/qt_serial_link.h"

#include <QtCore/QTemporaryDir>
#include <QtTest/QtTest>

#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

using Number = std::optional<qint16>;

namespace {

// What stands as COM1 in the working folder.
enum class Com1 { Device, Nothing, DanglingLink, PlainFile };

// No system ports at all: every COM number comes from a COMn entry.
ComPortResolver entriesOnly()
{
    return ComPortResolver([] { return QList<SystemPort>(); });
}

QString openError(SerialLink &link)
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

double processCpuSeconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

} // namespace

class TestSerialLink : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void setsLineSettingsAtEveryOpen();
    void writesReadsAndDiscards();
    void portThatWillNotOpen_data();
    void portThatWillNotOpen();
    void lostLineIsReportedOnce_data();
    void lostLineIsReportedOnce();

    void numberFromText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Number>("integer");
        QTest::addColumn<Number>("port");

        QTest::newRow("empty") << "" << Number() << Number();
        QTest::newRow("blanks around") << " 12 " << Number(12) << Number(12);
        QTest::newRow("plus sign") << "+7" << Number(7) << Number(7);
        QTest::newRow("minus sign") << "-3" << Number(-3) << Number();
        QTest::newRow("blank after the sign") << "- 3" << Number() << Number();
        QTest::newRow("leading zeros") << "0000012" << Number(12) << Number(12);
        QTest::newRow("half to even, down") << "2.5" << Number(2) << Number(2);
        QTest::newRow("half to even, up") << "3.5" << Number(4) << Number(4);
        QTest::newRow("beyond half") << "2.5000001" << Number(3) << Number(3);
        QTest::newRow("negative half to even") << "-2.5" << Number(-2) << Number();
        QTest::newRow("leading point") << ".6" << Number(1) << Number(1);
        QTest::newRow("rounds to zero") << "0.5" << Number(0) << Number();
        QTest::newRow("two points") << "1.2.3" << Number() << Number();
        QTest::newRow("exponent") << "1e3" << Number() << Number();
        QTest::newRow("grouping comma") << "1,000" << Number() << Number();
        QTest::newRow("line break inside") << "1\r\n2" << Number() << Number();
        QTest::newRow("largest") << "32767" << Number(32767) << Number(32767);
        QTest::newRow("rounds past the largest") << "32767.5" << Number() << Number();
        QTest::newRow("rounds to the smallest") << "-32768.5" << Number(-32768) << Number();
        QTest::newRow("negative overflow") << "-32769" << Number() << Number();
        QTest::newRow("arabic-indic digits") << QString::fromUtf8("\u0661\u0662") << Number() << Number();
    }

    void numberFromText()
    {
        QFETCH(QString, text);
        QFETCH(Number, integer);
        QFETCH(Number, port);
        QCOMPARE(integerFromText(text), integer);
        QCOMPARE(portFromText(text), port);
    }

    // COMn in the working folder (a symlink or a device, even a dangling link) wins; otherwise
    // the n-th system port, USB adapters first, numbers in numeric order.
    void resolver_data()
    {
        QTest::addColumn<QStringList>("ports");
        QTest::addColumn<Com1>("com1");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("device"); // empty: none

        const QStringList mixed{"ttyS0", "ttyACM0", "ttyS1", "ttyUSB0"};
        const Com1 none = Com1::Nothing;
        QTest::newRow("then the others in order") << mixed << none << 4 << "/dev/ttyS1";
        QTest::newRow("past the list") << mixed << none << 5 << "";
        QTest::newRow("zero") << mixed << none << 0 << "";
        QTest::newRow("ttyUSB2 before ttyUSB10") << QStringList{"ttyUSB10", "ttyUSB2"} << none << 1 << "/dev/ttyUSB2";
        QTest::newRow("USB before ACM") << QStringList{"ttyACM0", "ttyUSB11", "ttyUSB3"} << none << 3 << "/dev/ttyACM0";
        QTest::newRow("ACM by number") << QStringList{"ttyACM10", "ttyUSB0", "ttyACM9"} << none << 2 << "/dev/ttyACM9";
        QTest::newRow("others by name") << QStringList{"ttyS0", "ttyAMA0"} << none << 1 << "/dev/ttyAMA0";
        QTest::newRow("COM1 linked to a device") << mixed << Com1::Device << 1 << "COM1";
        QTest::newRow("COM1 linked to nothing") << mixed << Com1::DanglingLink << 1 << "COM1";
        QTest::newRow("COM1 a plain file: no entry") << mixed << Com1::PlainFile << 1 << "/dev/ttyUSB0";
        QTest::newRow("COM1 leaves COM3 to the list") << mixed << Com1::Device << 3 << "/dev/ttyS0";
    }

    void resolver()
    {
        QFETCH(QStringList, ports);
        QFETCH(Com1, com1);
        QFETCH(int, number);
        QFETCH(QString, device);
        QVERIFY(com1 == Com1::Device || QFile::remove("COM1"));
        QVERIFY(com1 != Com1::DanglingLink || QFile::link(dir_->filePath("gone"), "COM1"));
        QVERIFY(com1 != Com1::PlainFile || QFile("COM1").open(QIODevice::WriteOnly));
        const ComPortResolver resolver([ports] {
            QList<SystemPort> listed;
            for (const QString &name : ports)
                listed.append({name, QStringLiteral("/dev/") + name});
            return listed;
        });
        const QString expected = device.isEmpty() ? device : QDir(dir_->path()).absoluteFilePath(device);
        QCOMPARE(resolver.resolve(number).value_or(QString()), expected);
        const QString described = resolver.describe(number);
        if (device.isEmpty())
            QCOMPARE(described, QStringLiteral("No serial port present for COM %1").arg(number));
        else
            QVERIFY2(described.startsWith(expected), qPrintable(described));
    }

private:
    QByteArray receive(qsizetype count);
    void closeMaster() { ::close(std::exchange(master_, -1)); }

    std::unique_ptr<QTemporaryDir> dir_;
    QString previousDir_;
    int master_ = -1;
    int slave_ = -1; // our own, so the master stays usable while the port is closed
    QString slavePath_;
};

void TestSerialLink::init()
{
    previousDir_ = QDir::currentPath();
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(dir_->path()));
    char name[256] = {};
    QCOMPARE(::openpty(&master_, &slave_, name, nullptr, nullptr), 0);
    termios raw = settingsOf(slave_);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave_, TCSANOW, &raw);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    slavePath_ = QString::fromLocal8Bit(name);
    QVERIFY(QFile::link(slavePath_, QStringLiteral("COM1")));
}

void TestSerialLink::cleanup()
{
    if (master_ >= 0)
        closeMaster();
    ::close(slave_);
    QDir::setCurrent(previousDir_);
    dir_.reset();
}

// What the far end receives within two seconds, at least count bytes if they come. The event
// loop does not run meanwhile, so a write must go out at once.
QByteArray TestSerialLink::receive(qsizetype count)
{
    QByteArray received;
    pollfd far{master_, POLLIN, 0};
    while (received.size() < count && ::poll(&far, 1, 2000) > 0) {
        char chunk[256];
        const ssize_t got = ::read(master_, chunk, sizeof chunk);
        if (got <= 0)
            break;
        received.append(chunk, got);
    }
    return received;
}

void TestSerialLink::setsLineSettingsAtEveryOpen()
{
    QtSerialLink link(entriesOnly());
    for (int opening = 0; opening < 2; ++opening) {
        // Someone else left the line at 1200 baud, two stop bits, with flow control (a
        // pseudo-terminal keeps neither 7 data bits nor parity).
        termios foreign = settingsOf(slave_);
        ::cfsetspeed(&foreign, B1200);
        foreign.c_cflag |= CSTOPB | CRTSCTS;
        foreign.c_iflag |= IXON | IXOFF;
        QCOMPARE(::tcsetattr(slave_, TCSANOW, &foreign), 0);

        QCOMPARE(openError(link), QString());
        const termios line = settingsOf(slave_);
        QCOMPARE(::cfgetospeed(&line), speed_t(B9600));
        QCOMPARE(::cfgetispeed(&line), speed_t(B9600));
        QCOMPARE(line.c_cflag & CSIZE, tcflag_t(CS8));
        QCOMPARE(line.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t(0));
        QCOMPARE(line.c_iflag & (IXON | IXOFF), tcflag_t(0));
        link.close();
    }
}

void TestSerialLink::writesReadsAndDiscards()
{
    QtSerialLink link(entriesOnly());
    QSignalSpy arrived(&link, &SerialLink::dataArrived);
    QVERIFY(!link.setPortNumber(0));
    QVERIFY(link.setPortNumber(1));
    QCOMPARE(openError(link), QString());
    QCOMPARE(link.openDevice(), slavePath_);
    QVERIFY(!link.setPortNumber(1));
    QVERIFY(link.writeChar('6'));
    QCOMPARE(receive(1), QByteArray("6"));
    QVERIFY(link.writeChar(char(0xe9)));
    QCOMPARE(receive(1), QByteArray("\xe9"));

    QCOMPARE(::write(master_, "buffered", 8), 8);
    QVERIFY(arrived.wait(2000));
    QCOMPARE(::write(master_, "in the line", 11), 11);
    QVERIFY(link.discardInput());
    QTest::qWait(100);
    QCOMPARE(link.readAll(), QString());
    QCOMPARE(::write(master_, "Channel 1\xb0", 10), 10);
    QString received;
    QTRY_COMPARE((received += link.readAll().value_or(QString())), QStringLiteral("Channel 1") + QChar(0xb0));

    link.close();
    QCOMPARE(link.readAll(), std::nullopt);
    QVERIFY(!link.writeChar('x'));
    QVERIFY(!link.discardInput());
    QCOMPARE(openError(link), QString());
    QVERIFY(link.writeChar('k'));
    QCOMPARE(receive(1), QByteArray("k"));
}

void TestSerialLink::portThatWillNotOpen_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("setUp");
    QTest::addColumn<QString>("device"); // how the reported device ends; empty: none named
    QTest::addColumn<QString>("reason");

    QTest::newRow("no port for the number") << 5 << QString() << QString() << "no serial port is present";
    QTest::newRow("COM3 links to a vanished device") << 3 << QString() << "COM3"
                                                     << "No such file";
    QTest::newRow("in use by another program") << 1 << "locked"
                                               << "pty"
                                               << "in use";
    QTest::newRow("in use by us through another name") << 2 << "opened as COM1"
                                                       << "pty"
                                                       << "in use";
}

void TestSerialLink::portThatWillNotOpen()
{
    QFETCH(int, number);
    QFETCH(QString, setUp);
    QFETCH(QString, device);
    QFETCH(QString, reason);
    QVERIFY(QFile::link(dir_->filePath(QStringLiteral("unplugged")), QStringLiteral("COM3")));
    QVERIFY(QFile::link(QStringLiteral("COM1"), QStringLiteral("COM2")));
    const int other = ::open(QFile::encodeName(slavePath_).constData(), O_RDWR | O_NOCTTY);
    QVERIFY(setUp != "locked" || ::flock(other, LOCK_EX | LOCK_NB) == 0);
    QtSerialLink first(entriesOnly());
    if (setUp == "opened as COM1")
        QCOMPARE(openError(first), QString());

    QtSerialLink link(entriesOnly());
    QVERIFY(link.setPortNumber(number));
    const auto failure = link.open();
    ::close(other);
    QVERIFY(failure);
    const QString named = device == "pty" ? slavePath_ : device;
    QVERIFY2(named.isEmpty() ? failure->device.isEmpty() : failure->device.endsWith(named),
             qPrintable(failure->device));
    QVERIFY2(failure->reason.contains(reason), qPrintable(failure->reason));
    QVERIFY(!link.isOpen());
}

// The far end goes away while the event loop runs, or before it has noticed, when the next
// write finds out: either way the loss is reported once, and nothing spins after it.
void TestSerialLink::lostLineIsReportedOnce_data()
{
    QTest::addColumn<bool>("byWrite");
    QTest::newRow("seen by the event loop") << false;
    QTest::newRow("found by a write") << true;
}

void TestSerialLink::lostLineIsReportedOnce()
{
    QFETCH(bool, byWrite);
    QtSerialLink link(entriesOnly());
    QSignalSpy lost(&link, &SerialLink::lineLost);
    QCOMPARE(openError(link), QString());
    closeMaster();
    if (byWrite)
        QVERIFY(!link.writeChar('x'));
    QTRY_COMPARE(lost.count(), 1);
    QVERIFY(!link.isOpen());
    QCOMPARE(link.readAll(), std::nullopt);
    QVERIFY(!link.writeChar('x'));
    const double cpuBefore = processCpuSeconds();
    QTest::qWait(500);
    QVERIFY2(processCpuSeconds() - cpuBefore < 0.2, "the event loop spins after the loss");
    QCOMPARE(lost.count(), 1);
}

QTEST_GUILESS_MAIN(TestSerialLink)
#include "test_serial_link.moc"

#include "link/com_port_resolver.h"
#include "pty_pair.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtTest/QtTest>

namespace {

PortLister listing(const QStringList& names)
{
    return [names] {
        QList<SystemPort> ports;
        for (const QString& name : names)
            ports.append({name, QStringLiteral("/dev/") + name});
        return ports;
    };
}

}  // namespace

class TestComPortResolver : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void systemList_data();
    void systemList();
    void entryInWorkingDirectoryWins();
    void entryInWorkingDirectoryKeepsOtherNumbers();
    void danglingEntryStillWins();
    void regularFileIsNoEntry();
    void describeNamesDeviceOrAbsence();

private:
    std::unique_ptr<QTemporaryDir> workDir_;
    QString previousDir_;
};

void TestComPortResolver::init()
{
    previousDir_ = QDir::currentPath();
    workDir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(workDir_->isValid());
    QVERIFY(QDir::setCurrent(workDir_->path()));
}

void TestComPortResolver::cleanup()
{
    QDir::setCurrent(previousDir_);
    workDir_.reset();
}

void TestComPortResolver::systemList_data()
{
    QTest::addColumn<QStringList>("ports");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("expected");  // empty: no port
    const QStringList mixed{"ttyS0", "ttyACM0", "ttyS1", "ttyUSB0"};
    QTest::newRow("USB first") << mixed << 1 << "/dev/ttyUSB0";
    QTest::newRow("then ACM") << mixed << 2 << "/dev/ttyACM0";
    QTest::newRow("then the others") << mixed << 3 << "/dev/ttyS0";
    QTest::newRow("others in order") << mixed << 4 << "/dev/ttyS1";
    QTest::newRow("past the list") << mixed << 5 << "";
    QTest::newRow("zero") << mixed << 0 << "";
    QTest::newRow("negative") << mixed << -1 << "";
    QTest::newRow("ttyUSB2 before ttyUSB10") << QStringList{"ttyUSB10", "ttyUSB2"} << 1
                                             << "/dev/ttyUSB2";
    QTest::newRow("ttyUSB10 second") << QStringList{"ttyUSB10", "ttyUSB2"} << 2
                                     << "/dev/ttyUSB10";
    QTest::newRow("all USB before ACM") << QStringList{"ttyACM0", "ttyUSB11", "ttyUSB3"} << 3
                                        << "/dev/ttyACM0";
    QTest::newRow("ACM numeric") << QStringList{"ttyACM10", "ttyUSB0", "ttyACM9"} << 2
                                 << "/dev/ttyACM9";
    QTest::newRow("others numeric") << QStringList{"ttyS10", "ttyS9"} << 1 << "/dev/ttyS9";
    QTest::newRow("others by name") << QStringList{"ttyS0", "ttyAMA0"} << 1 << "/dev/ttyAMA0";
    QTest::newRow("empty list") << QStringList{} << 1 << "";
}

void TestComPortResolver::systemList()
{
    QFETCH(QStringList, ports);
    QFETCH(int, number);
    QFETCH(QString, expected);
    const ComPortResolver resolver(listing(ports));
    QCOMPARE(resolver.resolve(number).value_or(QString()), expected);
}

void TestComPortResolver::entryInWorkingDirectoryWins()
{
    PtyPair pty;
    QVERIFY(pty.isValid());
    QVERIFY(QFile::link(pty.slavePath(), QStringLiteral("COM1")));
    const ComPortResolver resolver(listing({"ttyUSB0"}));
    const auto device = resolver.resolve(1);
    QVERIFY(device);
    QCOMPARE(*device, workDir_->filePath(QStringLiteral("COM1")));
    QCOMPARE(QFileInfo(*device).canonicalFilePath(), pty.slavePath());
}

void TestComPortResolver::entryInWorkingDirectoryKeepsOtherNumbers()
{
    PtyPair pty;
    QVERIFY(pty.isValid());
    QVERIFY(QFile::link(pty.slavePath(), QStringLiteral("COM2")));
    const ComPortResolver resolver(listing({"ttyUSB0"}));
    QCOMPARE(resolver.resolve(1).value_or(QString()), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(resolver.resolve(3), std::optional<QString>());
}

// A user's explicit mapping stays in force while its device is unplugged; opening reports it.
void TestComPortResolver::danglingEntryStillWins()
{
    QVERIFY(QFile::link(workDir_->filePath(QStringLiteral("gone")), QStringLiteral("COM1")));
    const ComPortResolver resolver(listing({"ttyUSB0"}));
    QCOMPARE(resolver.resolve(1).value_or(QString()), workDir_->filePath(QStringLiteral("COM1")));
}

void TestComPortResolver::regularFileIsNoEntry()
{
    QFile file(QStringLiteral("COM1"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const ComPortResolver resolver(listing({"ttyUSB0"}));
    QCOMPARE(resolver.resolve(1).value_or(QString()), QStringLiteral("/dev/ttyUSB0"));
}

void TestComPortResolver::describeNamesDeviceOrAbsence()
{
    PtyPair pty;
    QVERIFY(pty.isValid());
    QVERIFY(QFile::link(pty.slavePath(), QStringLiteral("COM2")));
    const ComPortResolver resolver(listing({"ttyUSB0"}));
    QCOMPARE(resolver.describe(1), QStringLiteral("/dev/ttyUSB0"));
    QVERIFY(resolver.describe(2).endsWith(pty.slavePath()));
    QVERIFY(resolver.describe(2).startsWith(workDir_->filePath(QStringLiteral("COM2"))));
    QCOMPARE(resolver.describe(3), QStringLiteral("No serial port present for COM 3"));
}

QTEST_GUILESS_MAIN(TestComPortResolver)
#include "test_com_port_resolver.moc"

// The Edit menu through the window: each kind of step undone and redone, files named on the
// command line or dropped, copy and paste; undo held back during a transfer.
#include "app/command_line.h"
#include "app/notice_line.h"
#include "app/terminal_pane.h"
#include "window_fixture.h"

#include <QtCore/QMimeData>
#include <QtGui/QClipboard>
#include <QtWidgets/QLabel>

namespace {

const QStringList kListed{"118.600", "121.500", "122.475", "123.450", "129.975", "134.125"};

enum class Step { Edit, RefusedEdit, Type, Named, Dropped, TwoNamed, Option, Upload, Paste, RefusedPaste };

// A six-channel window holding kRows, put in as no step, beside the file tower.vl of kListed.
MainWindow &startSixChannels(WindowFixture &fixture)
{
    fixture.storeSettings(QByteArray("\x01\x00\x06\x00", 4) + QByteArray(2008, ' '));
    if (QFile file(fixture.path("tower.vl")); file.open(QIODevice::WriteOnly))
        file.write(kListed.join("\r\n").toLatin1() + "\r\n");
    MainWindow &window = fixture.start(quickTiming());
    putRows(window, kRows);
    return window;
}

// Over the table, which takes no drop of its own.
void dropFile(MainWindow &window, const QString &path)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter({}, Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(window.table().list()->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop({}, Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&window, &drop);
}

} // namespace

class TestEdit : public QObject {
    Q_OBJECT
private slots:
    void undoAndRedo_data();
    void undoAndRedo();
    void undoWaitsForTheTransfer();
};

void TestEdit::undoAndRedo_data()
{
    QTest::addColumn<Step>("step");
    QTest::addColumn<QString>("undoText"); // empty: no step
    QTest::addColumn<QStringList>("rows");

    const QStringList edited = kRows.mid(0, 2) + QStringList{"121.500"} + kRows.mid(3);
    const QStringList pasted = QStringList{kRows[0]} + kRows.mid(0, 5);
    QTest::newRow("edit") << Step::Edit << "&Undo Edit Channel 3" << edited;
    QTest::newRow("refused edit") << Step::RefusedEdit << "" << kRows;
    QTest::newRow("type") << Step::Type << "&Undo Transceiver Type" << kRows;
    QTest::newRow("named on the command line") << Step::Named << "&Undo Open tower.vl" << kListed;
    QTest::newRow("dropped") << Step::Dropped << "&Undo Open tower.vl" << kListed;
    QTest::newRow("two files named") << Step::TwoNamed << "" << kRows;
    QTest::newRow("an option") << Step::Option << "" << kRows;
    QTest::newRow("upload") << Step::Upload << "&Undo Upload" << kListed;
    QTest::newRow("copied and pasted from row 2, one left out") << Step::Paste << "&Undo Paste" << pasted;
    QTest::newRow("refused paste") << Step::RefusedPaste << "" << kRows;
}

void TestEdit::undoAndRedo()
{
    QFETCH(Step, step);
    QFETCH(QString, undoText);
    QFETCH(QStringList, rows);
    WindowFixture fixture;
    MainWindow &window = startSixChannels(fixture);
    QAction *undo = action(window, "mundo");
    QString errors;
    QTextStream stream(&errors);
    if (step == Step::Edit || step == Step::RefusedEdit)
        window.table().acceptEdit(3, step == Step::Edit ? "121.500" : "118.030");
    if (step == Step::Type)
        window.table().typeList()->setCurrentIndex(0);
    const QStringList named{"varlo", "tower.vl", step == Step::Option ? "-x" : "other.vl"};
    if (step == Step::Named || step == Step::TwoNamed || step == Step::Option)
        openFromCommandLine(window, step == Step::Named ? named.mid(0, 2) : named, stream);
    if (step == Step::Dropped)
        dropFile(window, fixture.path("tower.vl"));
    if (step == Step::Upload) {
        QVERIFY(fixture.linkRadio());
        QCoro::Task<> upload = window.upload();
        QTRY_VERIFY_WITH_TIMEOUT(upload.isReady(), kTimeout);
    }
    if (step == Step::Paste || step == Step::RefusedPaste) {
        action(window, "mcopy")->trigger(); // no row selected: every row in use
        QCOMPARE(QGuiApplication::clipboard()->text(), kRows.join("\r\n") + "\r\n");
        if (step == Step::RefusedPaste)
            QGuiApplication::clipboard()->setText("125.000\n139.000\n");
        window.table().highlightRow(2);
        action(window, "mpaste")->trigger();
    }
    QCOMPARE(errors.count('\n'), step == Step::TwoNamed || step == Step::Option ? 1 : 0);
    QCOMPARE(rowsOf(window), rows);
    // Opened by File > Open's own steps, which name it first of the recent files.
    QCOMPARE(window.settings().record().recentFile(1) == fixture.path("tower.vl"), undoText.endsWith("tower.vl"));
    QCOMPARE(fixture.settingsBytes().at(2), step == Step::Type ? 1 : 6);
    QCOMPARE(window.terminal().text().contains("1 frequency beyond the last row"), step == Step::Paste);
    QCOMPARE(window.noticeLine().label()->isVisible(), step == Step::RefusedPaste);
    QCOMPARE(undo->isEnabled() ? undo->text() : QString(), undoText);
    if (undoText.isEmpty())
        return;
    undo->trigger(); // one step back to the rows before
    QCOMPARE(rowsOf(window), kRows);
    QCOMPARE(fixture.settingsBytes().at(2), 6);
    action(window, "mredo")->trigger();
    QCOMPARE(rowsOf(window), rows);
    QCOMPARE(fixture.settingsBytes().at(2), step == Step::Type ? 1 : 6);
}

// An entry made during the upload is undone only after it; a drop is refused.
void TestEdit::undoWaitsForTheTransfer()
{
    WindowFixture fixture;
    MainWindow &window = startSixChannels(fixture);
    QVERIFY(fixture.linkRadio());
    QCoro::Task<> upload = window.upload();
    QVERIFY(window.table().acceptEdit(1, "136.975"));
    QVERIFY(!action(window, "mundo")->isEnabled());
    dropFile(window, fixture.path("tower.vl"));
    QVERIFY(window.terminal().text().endsWith("tower.vl was not opened: a transfer is running\r\n"));
    QTRY_VERIFY_WITH_TIMEOUT(upload.isReady(), kTimeout);
    QCOMPARE(action(window, "mundo")->text(), "&Undo Upload");
}

QTEST_MAIN(TestEdit)
#include "test_edit.moc"

// What needs the window: start-up from the settings file, the table's editor, the notices and
// the port panel; then whole transfers through the window's commands against the radio
// simulator at scaled timing: the bytes, the failure box before the port closes, and what the
// user does meanwhile.
#include "app/notice_line.h"
#include "app/notices.h"
#include "app/port_choice.h"
#include "app/recent_menu.h"
#include "app/terminal_pane.h"
#include "app/toolbar.h"
#include "app/transfer_progress.h"
#include "window_fixture.h"

#include <QtCore/QElapsedTimer>
#include <QtGui/QClipboard>
#include <QtGui/QDesktopServices>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QPlainTextEdit>

Q_DECLARE_METATYPE(Scenario)

namespace {

const QString kAbortLines = QStringLiteral("Connection is active!\nCould not close the application.");
const QString kDownloadCompleted = QStringLiteral("Download Completed. Power Radio OFF / ON.");
const QStringList kListed{"118.600", "121.500", "122.475", "123.450", "129.975", "134.125"};

// A settings record: port, type, and recent entry 2.
QByteArray record(qint16 port, qint16 type, const QByteArray &recent2 = {})
{
    QByteArray bytes(2012, ' ');
    bytes.replace(0, 2, QByteArray(reinterpret_cast<const char *>(&port), 2));
    bytes.replace(2, 2, QByteArray(reinterpret_cast<const char *>(&type), 2));
    bytes.replace(12, 500, QByteArray(500, '\0'));
    bytes.replace(1012, recent2.size(), recent2);
    return bytes;
}

// Every notice lasts at least 300 ms: 1000 ms long, 375 ms short.
Timing noticeTiming()
{
    return Timing{}.scaled(4);
}

QCoro::Task<> showNotice(Notices &notices, const QString &kind)
{
    return kind == "about" ? notices.showAbout() : kind == "abort" ? notices.showAbort() : notices.showText(kind);
}

QLineEdit *editorOn(const MainWindow &window, int row)
{
    QTreeWidget *list = window.table().list();
    return qobject_cast<QLineEdit *>(list->indexWidget(list->model()->index(row - 1, 0)));
}

void clickRow(const MainWindow &window, int row)
{
    QTreeWidget *list = window.table().list();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(row - 1)).center());
}

void enter(QLineEdit *editor, const QString &text, Qt::Key key = Qt::Key_Return)
{
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, key);
}

MainWindow &startForTransfers(WindowFixture &fixture, Timing timing = quickTiming())
{
    MainWindow &window = fixture.start(timing);
    window.table().typeList()->setCurrentIndex(1);
    return window;
}

} // namespace

class TestWindow : public QObject {
    Q_OBJECT
public slots:
    void countOpen(const QUrl &) { ++opened_; }

private slots:
    void startsFromTheSettingsFile_data();
    void startsFromTheSettingsFile();
    void sameHeadOfTheRecentListWritesNothing();
    void tableEntry_data();
    void tableEntry();
    void noticeLength_data();
    void noticeLength();
    void closeIsRefusedAtOnce();
    void webLinkOpensOncePerClick_data();
    void webLinkOpensOncePerClick();
    void columnsKeepTheirShares();
    void unloadEndsEveryNoticeAtOnce();
    void portPanelEnter_data();
    void portPanelEnter();
    void transfer_data();
    void transfer();
    void failureBoxComesBeforeTheClose_data();
    void failureBoxComesBeforeTheClose();
    void downloadIsUndisturbed_data();
    void downloadIsUndisturbed();
    void destroyedWindowSendsNothingMore();
    void editorLeftOpenOnARow_data();
    void editorLeftOpenOnARow();

private:
    int opened_ = 0;
};

void TestWindow::startsFromTheSettingsFile_data()
{
    QTest::addColumn<QByteArray>("stored"); // empty: no file
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<QStringList>("checked");
    QTest::addColumn<bool>("singleChannel");
    QTest::addColumn<QStringList>("recentShown");

    const QByteArray firstRun =
        QByteArray("\x01\x00\x01\x00", 4) + QByteArray(8, ' ') + QByteArray(500, '\0') + QByteArray(1500, ' ');
    QTest::newRow("first run") << QByteArray() << firstRun << QStringList{"mcom1"} << true << QStringList();
    QTest::newRow("port 3, six channels")
        << record(3, 6) << record(3, 6) << QStringList{"mcom3"} << false << QStringList();
    QTest::newRow("port 7: Custom COM") << record(7, 1) << record(7, 1) << QStringList{"mcom5"} << true
                                        << QStringList();
    QTest::newRow("negative port: none checked")
        << record(-4, 6) << record(-4, 6) << QStringList() << false << QStringList();
    QTest::newRow("type 0 is six channels, stored as 6")
        << record(2, 0) << record(2, 6) << QStringList{"mcom2"} << false << QStringList();
    QTest::newRow("only recent entry 2") << record(1, 1, "/data/tower.vl") << record(1, 1, "/data/tower.vl")
                                         << QStringList{"mcom1"} << true << QStringList{"mmru2", "mspace6"};
    const QByteArray zeroRecent = record(3, 6).left(512).leftJustified(2012, '\0');
    QTest::newRow("recent entries of zero bytes")
        << zeroRecent << zeroRecent << QStringList{"mcom3"} << false << QStringList();
    QTest::newRow("short file") << zeroRecent.left(100) << zeroRecent << QStringList{"mcom3"} << false << QStringList();
}

void TestWindow::startsFromTheSettingsFile()
{
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, written);
    QFETCH(QStringList, checked);
    QFETCH(bool, singleChannel);
    QFETCH(QStringList, recentShown);
    WindowFixture fixture;
    if (!stored.isEmpty())
        fixture.storeSettings(stored);
    MainWindow &window = fixture.start(Timing{});
    QCOMPARE(fixture.settingsBytes(), written);
    QStringList checkedNow;
    QStringList shownNow;
    for (const QString &name : QStringList{"mcom1", "mcom2", "mcom3", "mcom4", "mcom5"})
        if (action(window, name)->isChecked())
            checkedNow << name;
    for (const QString &name : QStringList{"mmru1", "mmru2", "mmru3", "mspace6"})
        if (action(window, name)->isVisible())
            shownNow << name;
    QCOMPARE(checkedNow, checked);
    QCOMPARE(shownNow, recentShown);
    QCOMPARE(window.table().singleChannel(), singleChannel);
    QCOMPARE(window.findChild<QWidget *>(QStringLiteral("Frame1"))->isVisible(), singleChannel);
    QCOMPARE(rowsOf(window), QStringList(6, "118.000"));
}

void TestWindow::sameHeadOfTheRecentListWritesNothing()
{
    WindowFixture fixture;
    MainWindow &window = fixture.start(Timing{});
    window.recentFiles().addToRecentFiles(QStringLiteral("/data/a.vl"));
    QVERIFY(action(window, "mmru1")->isVisible());
    QVERIFY(QFile::remove(fixture.path(QStringLiteral("Varlo"))));
    window.recentFiles().addToRecentFiles(QStringLiteral("/data/a.vl"));
    QVERIFY(!QFile::exists(fixture.path(QStringLiteral("Varlo"))));
    window.recentFiles().addToRecentFiles(QStringLiteral("/data/b.vl"));
    QCOMPARE(fixture.settingsBytes().mid(512, 10), QByteArray("/data/b.vl"));
    QVERIFY(action(window, "mmru2")->isVisible());
}

void TestWindow::tableEntry_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("refused");

    QTest::newRow("accepted in its stored form") << "0127.50" << int(Qt::Key_Return) << "127.500" << false;
    QTest::newRow("refused: the editor opens again on its row")
        << "118.030" << int(Qt::Key_Return) << "118.000" << true;
    QTest::newRow("Escape cancels") << "999" << int(Qt::Key_Escape) << "118.000" << false;
}

void TestWindow::tableEntry()
{
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(QString, stored);
    QFETCH(bool, refused);
    WindowFixture fixture;
    fixture.storeSettings(record(1, 6));
    MainWindow &window = fixture.start(Timing{});
    clickRow(window, 3);
    QTRY_VERIFY(editorOn(window, 3));
    enter(editorOn(window, 3), typed, Qt::Key(key));
    // The editor closes from a queued call; a refused entry opens it again.
    QTRY_COMPARE(window.noticeLine().label()->isVisible(), refused);
    QTRY_COMPARE(editorOn(window, 3) != nullptr, refused);
    QCOMPARE(rowsOf(window)[2], stored);
    QCOMPARE(window.table().list()->topLevelItem(2)->text(1), QStringLiteral("W"));
    QCOMPARE(window.table().heading()->isVisible(), !refused);
    if (!refused)
        return;
    QCOMPARE(window.noticeLine().label()->text(), QStringLiteral("Wrong Frequency!"));
    enter(editorOn(window, 3), QStringLiteral("121.500"));
    QTRY_COMPARE(rowsOf(window)[2], QStringLiteral("121.500"));
}

// All notices end at the next tick of one timer: text notices and About at the long interval,
// About clicked away at the short one, the abort notice at whatever interval it finds.
void TestWindow::noticeLength_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("longInterval");
    QTest::addColumn<bool>("abortMeanwhile");

    QTest::newRow("text notice") << ""
                                 << "Upload Completed" << true << false;
    QTest::newRow("an abort meanwhile ends at the same tick") << ""
                                                              << "Upload Completed" << true << true;
    QTest::newRow("About clicked away") << ""
                                        << "about" << false << false;
    QTest::newRow("abort at start-up: the short interval") << ""
                                                           << "abort" << false << false;
    QTest::newRow("abort after a text notice: the long interval") << "text notice"
                                                                  << "abort" << true << false;
}

void TestWindow::noticeLength()
{
    QFETCH(QString, before);
    QFETCH(QString, kind);
    QFETCH(bool, longInterval);
    QFETCH(bool, abortMeanwhile);
    WindowFixture fixture;
    MainWindow &window = fixture.start(noticeTiming());
    const int length = int((longInterval ? window.timing().noticeLong : window.timing().noticeShort).count());
    if (!before.isEmpty()) {
        QCoro::Task<> earlier = showNotice(window.notices(), before);
        QTRY_VERIFY_WITH_TIMEOUT(earlier.isReady(), 10 * length);
    }
    QElapsedTimer clock;
    clock.start();
    QCoro::Task<> notice = showNotice(window.notices(), kind);
    if (kind == "about") {
        QVERIFY(window.notices().aboutPanel()->isVisible());
        window.notices().closeAbout();
    }
    QCOMPARE(window.noticeLine().label()->isVisible(), kind == "Upload Completed");
    QCOMPARE(window.refusesClose(), kind == "about");
    std::vector<QCoro::Task<>> aborts;
    qint64 abortStart = 0;
    if (abortMeanwhile) {
        QTest::qWait(length / 2);
        abortStart = clock.elapsed();
        aborts.push_back(window.notices().showAbort());
    }
    QTRY_VERIFY_WITH_TIMEOUT(notice.isReady(), 10 * length);
    const QByteArray elapsed = QByteArray::number(clock.elapsed());
    QVERIFY2(clock.elapsed() >= length - 5, elapsed);
    if (!longInterval)
        QVERIFY2(clock.elapsed() < window.timing().noticeLong.count(), elapsed);
    for (const QCoro::Task<> &abort : aborts) {
        QVERIFY(abort.isReady());
        QVERIFY2(clock.elapsed() - abortStart < length, elapsed); // not a whole interval of its own
    }
    QVERIFY(!window.noticeLine().label()->isVisible());
    QVERIFY(!window.refusesClose());
}

// A nested event loop would return only when the abort notice ends, a second later.
void TestWindow::closeIsRefusedAtOnce()
{
    WindowFixture fixture;
    MainWindow &window = fixture.start(noticeTiming());
    QPlainTextEdit *pane = window.terminal().pane();
    QCoro::Task<> about = window.notices().showAbout();
    QElapsedTimer closing;
    closing.start();
    QVERIFY(!window.close());
    const QByteArray took = QByteArray::number(closing.elapsed());
    QVERIFY2(closing.elapsed() < window.timing().noticeLong.count() / 4, took);
    QCOMPARE(pane->toPlainText(), kAbortLines);
    QVERIFY(pane->font().bold());
    window.terminal().setText(QStringLiteral("echo while the notice is shown"));
    QCOMPARE(pane->toPlainText(), kAbortLines);

    QTRY_VERIFY_WITH_TIMEOUT(about.isReady(), 10 * window.timing().noticeLong.count());
    QCOMPARE(pane->toPlainText(), QStringLiteral("echo while the notice is shown"));
    QVERIFY(!pane->font().bold());
    window.terminal().setText(QStringLiteral("next echo"));
    QCOMPARE(pane->toPlainText(), QStringLiteral("next echo"));
    QVERIFY(window.close());
}

// Mouse events as they arrive on the link, at a point inside it or off it.
void TestWindow::webLinkOpensOncePerClick_data()
{
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<int>("opens");

    QTest::newRow("click") << QStringList{"press", "release"} << 1;
    QTest::newRow("double-click") << QStringList{"press", "release", "press", "double", "release"} << 1;
    QTest::newRow("released off the link") << QStringList{"press", "release off"} << 0;
}

void TestWindow::webLinkOpensOncePerClick()
{
    QFETCH(QStringList, events);
    QFETCH(int, opens);
    WindowFixture fixture;
    MainWindow &window = fixture.start(noticeTiming());
    QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "countOpen");
    opened_ = 0;
    QCoro::Task<> about = window.notices().showAbout();
    auto *link = window.notices().aboutPanel()->findChild<QWidget *>(QStringLiteral("Label21"));
    const QPoint inside = link->rect().center();
    for (const QString &event : events) {
        if (event == "press")
            QTest::mousePress(link, Qt::LeftButton, {}, inside);
        else if (event == "double")
            QTest::mouseDClick(link, Qt::LeftButton, {}, inside);
        else
            QTest::mouseRelease(link, Qt::LeftButton, {}, event == "release" ? inside : QPoint(-5, -5));
    }
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QCOMPARE(opened_, opens);
    QVERIFY(!fixture.messageBox());
}

void TestWindow::columnsKeepTheirShares()
{
    WindowFixture fixture;
    MainWindow &window = fixture.start(noticeTiming());
    QTreeWidget *list = window.table().list();
    for (int width : {420, 700}) {
        window.resize(width, window.height());
        QTRY_COMPARE(list->header()->sectionSize(0), qRound(list->width() * 0.7));
        QCOMPARE(list->header()->sectionSize(1), qRound(list->width() * 0.29));
    }
}

void TestWindow::unloadEndsEveryNoticeAtOnce()
{
    WindowFixture fixture;
    MainWindow &window = fixture.start(noticeTiming());
    QCoro::Task<> text = window.notices().showText(QStringLiteral("shown at exit"));
    QCoro::Task<> abort = window.notices().showAbort();
    QVERIFY(window.close());
    QVERIFY(text.isReady());
    QVERIFY(abort.isReady());
}

// The panel opens showing port 6; keys pass its filter one by one, then one more key.
void TestWindow::portPanelEnter_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("port");
    QTest::addColumn<QStringList>("checked");

    const QStringList custom{"mcom5"};
    const int none = Qt::NoModifier;
    QTest::newRow("letters and punctuation do not pass") << "1a-2.B"
                                                         << "" << int(Qt::Key_Return) << none << 12 << custom;
    QTest::newRow("Shift+Return, a fixed port")
        << "3"
        << "" << int(Qt::Key_Return) << int(Qt::ShiftModifier) << 3 << QStringList{"mcom3"};
    QTest::newRow("Ctrl+Alt+Return") << "12"
                                     << "" << int(Qt::Key_Return) << int(Qt::ControlModifier | Qt::AltModifier) << 12
                                     << custom;
    QTest::newRow("keypad Enter") << "12"
                                  << "" << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << 12 << custom;
    QTest::newRow("pasted unfiltered, half to even")
        << ""
        << "2.5" << int(Qt::Key_Return) << none << 2 << QStringList{"mcom2"};
    QTest::newRow("empty: nothing changes") << ""
                                            << "" << int(Qt::Key_Return) << none << 6 << custom;
    QTest::newRow("zero refused") << "0"
                                  << "" << int(Qt::Key_Return) << none << 6 << custom;
    QTest::newRow("beyond ASCII passes the filter, then is refused")
        << QString::fromUtf8("7\u00e9") << "" << int(Qt::Key_Return) << none << 6 << custom;
    QTest::newRow("Escape leaves the panel open") << "9"
                                                  << "" << int(Qt::Key_Escape) << none << 6 << custom;
}

void TestWindow::portPanelEnter()
{
    QFETCH(QString, typed);
    QFETCH(QString, pasted);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, port);
    QFETCH(QStringList, checked);
    QWidget window;
    QMenu data;
    QList<qint16> stored;
    PortChoice choice(&window, &data, [&stored](qint16 number) { stored << number; });
    choice.applyStoredPort(6);
    stored.clear();
    window.show();
    choice.showPortPanel();
    auto *entry = window.findChild<QPlainTextEdit *>(QStringLiteral("txtCOM"));
    entry->clear();
    for (const QChar character : typed)
        QTest::sendKeyEvent(QTest::Click, entry, Qt::Key(character.toUpper().unicode()), QString(character),
                            Qt::NoModifier);
    QGuiApplication::clipboard()->setText(pasted);
    if (!pasted.isEmpty())
        QTest::keyClick(entry, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(entry, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QStringList checkedNow;
    for (QAction *item : data.actions())
        if (item->isChecked())
            checkedNow << item->objectName();
    QCOMPARE(int(choice.portNumber()), port);
    QCOMPARE(checkedNow, checked);
    QCOMPARE(stored, port == 6 ? QList<qint16>() : QList<qint16>{qint16(port)});
    QCOMPARE(window.findChild<QWidget *>(QStringLiteral("picCOM"))->isVisible(), key == Qt::Key_Escape);
}

// Through the toolbar: the bytes reach the radio while the transfer commands are locked and
// the port is open; the menu items and the other commands are triggered meanwhile.
void TestWindow::transfer_data()
{
    QTest::addColumn<bool>("upload");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("download") << false << kRowsDownload << kRows;
    QTest::newRow("upload") << true << QByteArray("\r6N\r") << kListed;
}

void TestWindow::transfer()
{
    QFETCH(bool, upload);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, rows);
    WindowFixture fixture;
    QVERIFY2(fixture.linkRadio(), qPrintable(fixture.radio().errorString()));
    // A notice long enough to be seen between two looks.
    Timing timing = quickTiming();
    timing.noticeLong = noticeTiming().noticeLong;
    MainWindow &window = startForTransfers(fixture, timing);
    putRows(window, kRows);
    QStringList stillAvailable;
    QCoro::Task<> transfer = window.onToolbarAction(upload ? ToolbarKey::Upload : ToolbarKey::Download);
    QCOMPARE(transferCommandsEnabled(window), 0);
    QVERIFY(fixture.portOpen());
    for (const char *name : {"mdownload", "mupload", "download", "upload"})
        action(window, QString::fromLatin1(name))->trigger();
    for (const char *name : {"open", "save", "print", "com", "mexit", "mabout"})
        if (action(window, QString::fromLatin1(name))->isEnabled())
            stillAvailable << QString::fromLatin1(name);
    QVERIFY(window.table().typeList()->isEnabled());
    const QString notice = upload ? QStringLiteral("Upload Completed") : kDownloadCompleted;
    QLabel *line = window.noticeLine().label();
    QTRY_VERIFY_WITH_TIMEOUT(line->isVisible() && line->text() == notice, kTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(transfer.isReady(), kTimeout);

    QCOMPARE(fixture.received(), bytes);
    QCOMPARE(rowsOf(window), rows);
    QCOMPARE(stillAvailable, (QStringList{"open", "save", "print", "com", "mexit", "mabout"}));
    QCOMPARE(transferCommandsEnabled(window), 4);
    QVERIFY(!fixture.portOpen());
    QVERIFY(!window.refusesClose());
    QVERIFY(!fixture.messageBox());
}

// The message box comes before the closing steps and holds them up; a lost line is closed
// already. A second transfer then runs as usual.
void TestWindow::failureBoxComesBeforeTheClose_data()
{
    QTest::addColumn<Scenario>("scenario");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("received");
    QTest::addColumn<bool>("openUnderTheBox");

    QTest::newRow("time-out") << Scenario::Silent << 0 << "Serial portTimeout Error" << QByteArray("\r6") << true;
    // Byte 14 is the first digit of channel 3.
    QTest::newRow("line dropped on channel 3")
        << Scenario::HangUp << 14 << "Communication Error" << kRowsDownload.left(14) << false;
}

void TestWindow::failureBoxComesBeforeTheClose()
{
    QFETCH(Scenario, scenario);
    QFETCH(int, value);
    QFETCH(QString, message);
    QFETCH(QByteArray, received);
    QFETCH(bool, openUnderTheBox);
    WindowFixture fixture;
    QVERIFY2(fixture.linkRadio({scenario, value}), qPrintable(fixture.radio().errorString()));
    MainWindow &window = startForTransfers(fixture);
    putRows(window, kRows);
    {
        QCoro::Task<> failed = window.download();
        QMessageBox *box = fixture.awaitMessageBox();
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), QStringLiteral("Varlo"));
        QCOMPARE(box->text(), message);
        QTest::qWait(100);
        QVERIFY(!failed.isReady());
        QCOMPARE(transferCommandsEnabled(window), 0);
        QCOMPARE(fixture.portOpen(), openUnderTheBox);
        QVERIFY(!window.close());
        QVERIFY(fixture.dismiss(box));
        QTRY_VERIFY_WITH_TIMEOUT(failed.isReady(), kTimeout);
    }
    QCOMPARE(fixture.received(), received);
    QVERIFY(!fixture.portOpen());
    QCOMPARE(transferCommandsEnabled(window), 4);
    QVERIFY(!window.refusesClose());

    QVERIFY2(fixture.linkRadio(), qPrintable(fixture.radio().errorString()));
    QCoro::Task<> upload = window.upload();
    QTRY_VERIFY_WITH_TIMEOUT(upload.isReady(), kTimeout);
    QVERIFY(!fixture.messageBox());
    QCOMPARE(fixture.received(), QByteArray("\r6N\r"));
    QCOMPARE(rowsOf(window), kListed);
}

void TestWindow::downloadIsUndisturbed_data()
{
    QTest::addColumn<QString>("interference");
    QTest::addColumn<int>("channel");

    QTest::newRow("About") << "about" << 2;
    QTest::newRow("close request") << "close" << 3;
    QTest::newRow("Exit") << "exit" << 4;
    QTest::newRow("file dialog held open") << "dialog" << 1;
    QTest::newRow("type switch to one channel") << "type" << 3;
    QTest::newRow("port panel from the toolbar: the animation goes on") << "com" << 2;
}

void TestWindow::downloadIsUndisturbed()
{
    QFETCH(QString, interference);
    QFETCH(int, channel);
    WindowFixture fixture;
    QVERIFY2(fixture.linkRadio(), qPrintable(fixture.radio().errorString()));
    // Notices outlast a reply limit, so one that nested inside a wait would fail the download.
    Timing timing = quickTiming();
    timing.noticeLong = noticeTiming().noticeLong;
    timing.noticeShort = noticeTiming().noticeShort;
    QVERIFY(timing.noticeShort > timing.second * timing.replyLimitSeconds);
    MainWindow &window = startForTransfers(fixture, timing);
    putRows(window, kRows);
    ChannelSteps steps(window);
    // Made beforehand: only its opening falls into the download.
    QFileDialog dialog(&window, QStringLiteral("Open"), fixture.path(QString()));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    bool interfered = false;
    QString pane;
    steps.at(channel, [&] {
        if (interference == "about")
            window.notices().showAbout();
        if (interference == "close")
            interfered = !window.close();
        if (interference == "exit")
            action(window, "mexit")->trigger();
        if (interference == "dialog")
            dialog.open();
        if (interference == "type")
            window.table().typeList()->setCurrentIndex(0);
        if (interference == "com")
            action(window, "com")->trigger();
        interfered = window.notices().aboutShown() || interfered || dialog.isVisible() || window.table().singleChannel()
            || (interference == "exit" && window.isVisible())
            || (window.findChild<QWidget *>(QStringLiteral("picCOM"))->isVisible()
                && window.progress().animationTimer()->isActive());
        pane = window.terminal().pane()->toPlainText();
    });

    QCoro::Task<> download = window.download();
    QTRY_VERIFY_WITH_TIMEOUT(download.isReady(), kTimeout);
    QVERIFY(interfered);
    QCOMPARE(pane == kAbortLines, interference == "close" || interference == "exit");
    QCOMPARE(dialog.isVisible(), interference == "dialog");
    dialog.reject();
    QVERIFY(!fixture.messageBox());
    QCOMPARE(fixture.received(), kRowsDownload);
    const std::vector<ReceivedByte> times = fixture.radio().received();
    for (size_t i = 1; i < times.size(); ++i)
        QVERIFY2(times[i].time - times[i - 1].time >= timing.pace / 2, qPrintable(QString::number(i)));
    QCOMPARE(steps.highlighted(), (QList<int>{1, 2, 3, 4, 5, 6}));
    QVERIFY(!window.terminal().text().contains(QStringLiteral("did not report ready")));
    // The type chosen is stored at once; the rows stay.
    QCOMPARE(fixture.settingsBytes().mid(2, 2), QByteArray(interference == "type" ? "\x01" : "\x06") + '\0');
    QCOMPARE(rowsOf(window), kRows);
    QVERIFY(window.isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!window.refusesClose(), kTimeout);
    QVERIFY(window.close());
}

// Destroyed in a pace of channel 3, the window's coroutines end with it: nothing resumes on
// freed memory, none stays suspended, and the radio gets no further byte.
void TestWindow::destroyedWindowSendsNothingMore()
{
    WindowFixture fixture;
    QVERIFY2(fixture.linkRadio(), qPrintable(fixture.radio().errorString()));
    MainWindow &window = startForTransfers(fixture);
    putRows(window, kRows);
    ChannelSteps steps(window);
    bool destroyed = false;
    steps.at(3, [&] {
        fixture.destroyWindow();
        destroyed = true;
    });
    QCoro::Task<> download = window.download();
    QTRY_VERIFY_WITH_TIMEOUT(destroyed, kTimeout);
    QVERIFY(download.isReady());
    QTest::qWait(1000);
    QCOMPARE(fixture.received(), kRowsDownload.left(14));
}

// Highlighting the rows of the steps never closes an editor opened on row 5.
void TestWindow::editorLeftOpenOnARow_data()
{
    QTest::addColumn<bool>("enterBeforeItsStep");
    QTest::newRow("Enter after the download: the old row 5 is sent") << false;
    QTest::newRow("Enter before channel 5: the new row 5 is sent") << true;
}

void TestWindow::editorLeftOpenOnARow()
{
    QFETCH(bool, enterBeforeItsStep);
    WindowFixture fixture;
    QVERIFY2(fixture.linkRadio(), qPrintable(fixture.radio().errorString()));
    MainWindow &window = startForTransfers(fixture);
    putRows(window, kRows);
    ChannelSteps steps(window);
    QList<bool> editorOnRowFive;
    steps.at(3, [&] { clickRow(window, 5); });
    steps.at(4, [&] {
        editorOnRowFive << (editorOn(window, 5) != nullptr);
        if (enterBeforeItsStep && editorOn(window, 5))
            enter(editorOn(window, 5), QStringLiteral("133.325"));
    });
    steps.at(6, [&] { editorOnRowFive << (editorOn(window, 5) != nullptr); });

    QCoro::Task<> download = window.download();
    QTRY_VERIFY_WITH_TIMEOUT(download.isReady(), kTimeout);
    QVERIFY(!fixture.messageBox());
    QCOMPARE(editorOnRowFive, (QList<bool>{true, !enterBeforeItsStep}));
    QByteArray sent = kRowsDownload;
    if (enterBeforeItsStep)
        sent.replace(23, 5, "33325");
    QCOMPARE(fixture.received(), sent);
    if (!enterBeforeItsStep)
        enter(editorOn(window, 5), QStringLiteral("133.325"));
    QTRY_COMPARE(rowsOf(window)[4], QStringLiteral("133.325"));
}

QTEST_MAIN(TestWindow)
#include "test_window.moc"

#include "app/notices.h"
#include "app/terminal_pane.h"
#include "window_fixture.h"

#include <QtCore/QElapsedTimer>
#include <QtTest/QtTest>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPlainTextEdit>

namespace {

const QString kAbortLines = QStringLiteral("Connection is active!\r\nCould not close the application.");

// Starts a notice and reports when its caller resumes.
struct RunningNotice {
    RunningNotice(Notices &notices, const QString &kind)
        : task(notices.showNotice(kind))
    {
        clock.start();
    }
    QCoro::Task<> task;
    QElapsedTimer clock;
};

} // namespace

class TestNotices : public QObject {
    Q_OBJECT
private slots:
    void textNoticeShowsForItsTime();
    void aboutPanelClickEndsAtShortTick();
    void closeDuringAboutIsRefusedWithAbortNotice();
    void abortInsideTextNoticeEndsAtTheSameTick();
    void abortNoticeUsesTheIntervalItFinds();
    void closeIsAcceptedWhenIdle();
    void unloadEndsNoticesAtOnce();
    void terminalDoubleClickEmptiesIt();
};

void TestNotices::textNoticeShowsForItsTime()
{
    WindowFixture fixture;
    MainWindow &window = fixture.start();
    QLabel *line = window.notices().noticeLine();
    RunningNotice notice(window.notices(), QStringLiteral("Upload Completed"));
    QVERIFY(line->isVisible());
    QCOMPARE(line->text(), QStringLiteral("Upload Completed"));
    QTRY_VERIFY(notice.task.isReady());
    QVERIFY(notice.clock.elapsed() >= window.timing().noticeLong.count() - 5);
    QVERIFY(!line->isVisible());
    QVERIFY(line->text().isEmpty());
    QCOMPARE(window.notices().timer()->interval(), window.timing().noticeLong.count());
}

void TestNotices::aboutPanelClickEndsAtShortTick()
{
    WindowFixture fixture;
    MainWindow &window = fixture.start();
    RunningNotice about(window.notices(), QStringLiteral("about"));
    QWidget *panel = window.notices().aboutPanel();
    QVERIFY(panel->isVisible());
    QVERIFY(window.connectionActive());

    window.notices().closeAbout();
    QVERIFY(!panel->isVisible());
    QVERIFY(window.connectionActive());
    QTRY_VERIFY(about.task.isReady());
    const auto shortTick = window.timing().noticeShort.count();
    QVERIFY(about.clock.elapsed() >= shortTick - 5);
    QVERIFY(about.clock.elapsed() < window.timing().noticeLong.count());
    QVERIFY(!window.connectionActive());
    QCOMPARE(window.notices().timer()->interval(), shortTick);
}

void TestNotices::closeDuringAboutIsRefusedWithAbortNotice()
{
    WindowFixture fixture;
    MainWindow &window = fixture.start();
    RunningNotice about(window.notices(), QStringLiteral("about"));
    QPlainTextEdit *pane = window.terminal().pane();
    const QFont normal = pane->font();

    QElapsedTimer closing;
    closing.start();
    QVERIFY(!window.close());
    QVERIFY(closing.elapsed() < 50); // refused at once, the notice runs on its own
    QVERIFY(window.isVisible());
    QCOMPARE(pane->toPlainText(), QString(kAbortLines).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QVERIFY(pane->font().bold());

    window.terminal().setText(QStringLiteral("echo while the notice is shown"));
    QVERIFY(pane->toPlainText().startsWith(QStringLiteral("Connection is active!")));

    QTRY_VERIFY(about.task.isReady());
    QVERIFY(pane->toPlainText().isEmpty());
    QVERIFY(!pane->font().bold());
    QVERIFY(!window.connectionActive());
    window.terminal().setText(QStringLiteral("next echo"));
    QCOMPARE(pane->toPlainText(), QStringLiteral("next echo"));
    Q_UNUSED(normal);
    QVERIFY(window.close());
}

void TestNotices::abortInsideTextNoticeEndsAtTheSameTick()
{
    WindowFixture fixture;
    MainWindow &window = fixture.start();
    RunningNotice text(window.notices(), QStringLiteral("Download Completed. Power Radio OFF / ON."));
    QTest::qWait(int(window.timing().noticeLong.count() / 2));
    RunningNotice abort(window.notices(), QStringLiteral("abort"));
    QTRY_VERIFY(text.task.isReady());
    QVERIFY(abort.task.isReady());
}

void TestNotices::abortNoticeUsesTheIntervalItFinds()
{
    WindowFixture fixture;
    MainWindow &window = fixture.start();
    {
        RunningNotice shortOne(window.notices(), QStringLiteral("abort"));
        QTRY_VERIFY(shortOne.task.isReady());
        QVERIFY(shortOne.clock.elapsed() < window.timing().noticeLong.count());
    }
    {
        RunningNotice text(window.notices(), QStringLiteral("notice"));
        QTRY_VERIFY(text.task.isReady());
    }
    RunningNotice longOne(window.notices(), QStringLiteral("abort"));
    QTRY_VERIFY(longOne.task.isReady());
    QVERIFY(longOne.clock.elapsed() >= window.timing().noticeLong.count() - 5);
}

void TestNotices::closeIsAcceptedWhenIdle()
{
    WindowFixture fixture;
    MainWindow &window = fixture.start();
    QVERIFY(window.close());
}

void TestNotices::unloadEndsNoticesAtOnce()
{
    WindowFixture fixture;
    MainWindow &window = fixture.start();
    RunningNotice text(window.notices(), QStringLiteral("shown at exit"));
    RunningNotice abort(window.notices(), QStringLiteral("abort"));
    QVERIFY(window.close());
    QVERIFY(text.task.isReady());
    QVERIFY(abort.task.isReady());
}

void TestNotices::terminalDoubleClickEmptiesIt()
{
    WindowFixture fixture;
    MainWindow &window = fixture.start();
    window.terminal().setText(QStringLiteral("radio said something"));
    QTest::mouseDClick(window.terminal().pane()->viewport(), Qt::LeftButton);
    QVERIFY(window.terminal().pane()->toPlainText().isEmpty());
    QVERIFY(window.terminal().text().isEmpty());
}

QTEST_MAIN(TestNotices)
#include "test_notices.moc"

// What the user does beside a download changes nothing the radio receives: About, close
// requests, the port panel, a type switch, dialogs held open and an edit in progress, all
// during the channel steps, against the radio simulator at scaled timing.
#include "app/notices.h"
#include "app/terminal_pane.h"
#include "link/port_choice.h"
#include "transfer_fixture.h"

#include <QtWidgets/QComboBox>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QLineEdit>

using namespace transfer;

namespace {

enum class Interference { About, AboutClickedAway, CloseRequest, ExitCommand, PortPanel, TypeSwitch, FileDialog, MessageBox };

QLineEdit *editorOn(const MainWindow &window, int row)
{
    QTreeWidget *list = window.table().list();
    return qobject_cast<QLineEdit *>(list->indexWidget(list->model()->index(row - 1, 0)));
}

void clickRow(const MainWindow &window, int row)
{
    QTreeWidget *list = window.table().list();
    const QRect rect = list->visualItemRect(list->topLevelItem(row - 1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

void enter(QLineEdit *editor, const QString &text)
{
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
}

} // namespace

Q_DECLARE_METATYPE(Interference)

class TestTransferInterference : public QObject {
    Q_OBJECT
private slots:
    void downloadIsUndisturbed_data();
    void downloadIsUndisturbed();
    void editorOnRowFiveKeepsItsRow_data();
    void editorOnRowFiveKeepsItsRow();
    void aboutDuringATransferKeepsClosingRefused_data();
    void aboutDuringATransferKeepsClosingRefused();
};

void TestTransferInterference::downloadIsUndisturbed_data()
{
    QTest::addColumn<Interference>("interference");
    QTest::addColumn<int>("channel");

    QTest::newRow("About") << Interference::About << 2;
    QTest::newRow("About clicked away") << Interference::AboutClickedAway << 3;
    QTest::newRow("close request") << Interference::CloseRequest << 3;
    QTest::newRow("Exit") << Interference::ExitCommand << 4;
    QTest::newRow("port panel from the toolbar") << Interference::PortPanel << 3;
    QTest::newRow("type switch to one channel") << Interference::TypeSwitch << 3;
    QTest::newRow("file dialog held open") << Interference::FileDialog << 1;
    QTest::newRow("message box held open") << Interference::MessageBox << 1;
}

void TestTransferInterference::downloadIsUndisturbed()
{
    QFETCH(Interference, interference);
    QFETCH(int, channel);
    TransferFixture fixture;
    QVERIFY2(fixture.linkRadio(), qPrintable(fixture.radio().errorString()));
    MainWindow &window = fixture.start();
    putRows(window, kRows);
    NoticeLineLog notices(window.notices().noticeLine());
    ChannelSteps steps(window);
    // Made beforehand: only their opening falls into the download.
    QFileDialog fileDialog(&window, QStringLiteral("Open"), fixture.path(QString()));
    fileDialog.setOption(QFileDialog::DontUseNativeDialog);
    QMessageBox heldBox(QMessageBox::Information, QStringLiteral("Varlo"), QStringLiteral("held"),
                        QMessageBox::Ok, &window);
    bool interfered = false;
    steps.at(channel, [&] {
        switch (interference) {
        case Interference::About:
            window.showAbout();
            interfered = window.notices().aboutPanel()->isVisible();
            break;
        case Interference::AboutClickedAway:
            window.showAbout();
            window.notices().closeAbout();
            interfered = window.notices().aboutShown();
            break;
        case Interference::CloseRequest:
            interfered = !window.close();
            break;
        case Interference::ExitCommand:
            action(window, "mexit")->trigger();
            interfered = window.isVisible();
            break;
        case Interference::PortPanel:
            action(window, "com")->trigger();
            interfered = window.findChild<QWidget *>(QStringLiteral("picCOM"))->isVisible();
            break;
        case Interference::TypeSwitch:
            window.table().typeList()->setCurrentIndex(0);
            interfered = window.table().singleChannel();
            break;
        case Interference::FileDialog:
            fileDialog.open();
            interfered = fileDialog.isVisible();
            break;
        case Interference::MessageBox:
            heldBox.open();
            interfered = heldBox.isVisible();
            break;
        }
    });

    QCoro::Task<> download = window.download();
    QTRY_VERIFY_WITH_TIMEOUT(download.isReady(), kTimeout);
    QVERIFY(interfered);
    // Held for the whole download, they are closed only now.
    QCOMPARE(fileDialog.isVisible(), interference == Interference::FileDialog);
    QCOMPARE(heldBox.isVisible(), interference == Interference::MessageBox);
    fileDialog.reject();
    heldBox.done(QMessageBox::Ok);

    QVERIFY(!fixture.messageBox());
    QCOMPARE(fixture.received(), downloadBytes(kRows));
    QCOMPARE(channelsOf(fixture.radio()), kRows);
    const auto pace = window.timing().pace;
    const auto shortest = shortestGap(fixture.radio().received());
    QVERIFY2(shortest >= pace / 2, qPrintable(QString::number(shortest.count())));
    QCOMPARE(steps.highlighted(), (QList<int>{1, 2, 3, 4, 5, 6}));
    QVERIFY(notices.captions().contains(kDownloadCompleted));
    QVERIFY(!window.terminal().text().contains(QStringLiteral("did not report ready")));
    QVERIFY(window.isVisible());
    QVERIFY(transferCommandsEnabled(window));
    QVERIFY(!fixture.portOpen());
    QTRY_VERIFY_WITH_TIMEOUT(!window.connectionActive(), kTimeout);
}

void TestTransferInterference::editorOnRowFiveKeepsItsRow_data()
{
    QTest::addColumn<bool>("enterBeforeItsStep");
    QTest::newRow("Enter after the download: the old row 5 is sent") << false;
    QTest::newRow("Enter before channel 5: the new row 5 is sent") << true;
}

void TestTransferInterference::editorOnRowFiveKeepsItsRow()
{
    QFETCH(bool, enterBeforeItsStep);
    const QString entry = QStringLiteral("133.325");
    TransferFixture fixture;
    QVERIFY2(fixture.linkRadio(), qPrintable(fixture.radio().errorString()));
    MainWindow &window = fixture.start();
    putRows(window, kRows);
    ChannelSteps steps(window);
    QList<bool> editorOnRowFive;
    steps.at(3, [&] { clickRow(window, 5); });
    steps.at(4, [&] {
        editorOnRowFive << (editorOn(window, 5) != nullptr);
        if (enterBeforeItsStep && editorOn(window, 5))
            enter(editorOn(window, 5), entry);
    });
    steps.at(6, [&] { editorOnRowFive << (editorOn(window, 5) != nullptr); });

    QCoro::Task<> download = window.download();
    QTRY_VERIFY_WITH_TIMEOUT(download.isReady(), kTimeout);
    QVERIFY(!fixture.messageBox());
    QCOMPARE(editorOnRowFive, (QList<bool>{true, !enterBeforeItsStep}));
    QStringList edited = kRows;
    edited[4] = entry;
    QCOMPARE(fixture.received(), downloadBytes(enterBeforeItsStep ? edited : kRows));

    if (!enterBeforeItsStep) {
        QLineEdit *editor = editorOn(window, 5);
        QVERIFY(editor);
        enter(editor, entry);
    }
    QTRY_COMPARE(rowsOf(window), edited);
}

void TestTransferInterference::aboutDuringATransferKeepsClosingRefused_data()
{
    QTest::addColumn<bool>("clickedAway");
    QTest::newRow("About ends by itself") << false;
    QTest::newRow("About clicked away") << true;
}

// A radio that never reports ready keeps the download going for seconds after the channels.
void TestTransferInterference::aboutDuringATransferKeepsClosingRefused()
{
    QFETCH(bool, clickedAway);
    TransferFixture fixture;
    QVERIFY2(fixture.linkRadio(TransferFixture::radioOptions({Scenario::NeverReady, 0})),
             qPrintable(fixture.radio().errorString()));
    MainWindow &window = fixture.start();
    ChannelSteps steps(window);
    bool aboutShown = false;
    steps.at(1, [&] {
        window.showAbout();
        aboutShown = window.notices().aboutShown();
        if (clickedAway)
            window.notices().closeAbout();
    });

    QCoro::Task<> download = window.download();
    QTRY_VERIFY_WITH_TIMEOUT(aboutShown && !window.notices().aboutShown(), kTimeout);
    QVERIFY(!download.isReady());
    QVERIFY(window.connectionActive());
    QVERIFY(!window.close());
    QVERIFY(window.isVisible());

    fixture.radio().hangUp();
    QMessageBox *box = fixture.awaitMessageBox();
    QVERIFY(box);
    QCOMPARE(box->text(), QStringLiteral("Communication Error"));
    QVERIFY(window.connectionActive());
    QVERIFY(fixture.dismiss(box));
    QTRY_VERIFY_WITH_TIMEOUT(download.isReady(), kTimeout);
    QVERIFY(!window.connectionActive());
    QVERIFY(window.close());
}

QTEST_MAIN(TestTransferInterference)
#include "test_transfer_interference.moc"

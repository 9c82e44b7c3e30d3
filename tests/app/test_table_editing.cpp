#include "channels/channel_table.h"
#include "window_fixture.h"

#include <QtTest/QtTest>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QTreeWidget>

namespace {

QTreeWidget *listOf(MainWindow &window)
{
    return window.findChild<QTreeWidget *>(QStringLiteral("ListF"));
}

QLabel *labelOf(MainWindow &window, const char *name)
{
    return window.findChild<QLabel *>(QString::fromLatin1(name));
}

QLineEdit *openEditor(QTreeWidget *list)
{
    return list->viewport()->findChild<QLineEdit *>();
}

// Clicks a row (1..6) the way a user does and returns the editor that opens on it.
QLineEdit *clickRow(QTreeWidget *list, int row)
{
    const QRect rect = list->visualItemRect(list->topLevelItem(row - 1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QLineEdit *editor = nullptr;
    [&] { QTRY_VERIFY((editor = openEditor(list)) != nullptr); }();
    return editor;
}

void typeAndPress(QLineEdit *editor, const QString &text, Qt::Key key)
{
    editor->setText(text);
    QTest::keyClick(editor, key);
    QTest::qWait(20); // the view closes its editor from a queued call
}

QStringList rowTexts(QTreeWidget *list)
{
    QStringList texts;
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        texts << list->topLevelItem(row)->text(0) + QLatin1Char('/') + list->topLevelItem(row)->text(1);
    return texts;
}

} // namespace

class TestTableEditing : public QObject {
    Q_OBJECT
private slots:
    void entryIsCheckedAndStored_data();
    void entryIsCheckedAndStored();
    void refusalReopensTheSameRow();
    void escapeCancels();
    void editLandsOnEditedRowAfterSelectionMoved_data();
    void editLandsOnEditedRowAfterSelectionMoved();
    void typeSwitchKeepsRows();
};

void TestTableEditing::entryIsCheckedAndStored_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");

    QTest::newRow("plain") << "136.975" << "136.975";
    QTest::newRow("leading blank") << " 118.025" << "118.025";
    QTest::newRow("plus sign") << "+118.00" << "118.000";
    QTest::newRow("leading zero") << "0127.50" << "127.500";
    QTest::newRow("off raster") << "118.010" << "118.000";
    QTest::newRow("out of band") << "138.025" << "118.000";
    QTest::newRow("exponent") << "1.2E+02" << "118.000";
}

void TestTableEditing::entryIsCheckedAndStored()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    WindowFixture fixture;
    fixture.storeSettings(QByteArray("\x01\x00\x06\x00", 4));
    MainWindow &window = fixture.start();
    QTreeWidget *list = listOf(window);
    typeAndPress(clickRow(list, 3), typed, Qt::Key_Return);
    QCOMPARE(list->topLevelItem(2)->text(0), stored);
    QCOMPARE(list->topLevelItem(2)->text(1), QStringLiteral("W"));
}

void TestTableEditing::refusalReopensTheSameRow()
{
    WindowFixture fixture;
    fixture.storeSettings(QByteArray("\x01\x00\x06\x00", 4));
    MainWindow &window = fixture.start();
    QTreeWidget *list = listOf(window);
    typeAndPress(clickRow(list, 4), QStringLiteral("118.030"), Qt::Key_Return);

    QCOMPARE(list->topLevelItem(3)->text(0), QStringLiteral("118.000"));
    QVERIFY(labelOf(window, "Label3")->isVisible());
    QCOMPARE(labelOf(window, "Label3")->text(), QStringLiteral("Wrong Frequency!"));
    QVERIFY(!labelOf(window, "Label9")->isVisible());
    QTRY_VERIFY(openEditor(list) != nullptr);
    QCOMPARE(list->currentIndex().row(), 3);

    // The next entry is accepted into the same row and the heading comes back.
    typeAndPress(openEditor(list), QStringLiteral("121.500"), Qt::Key_Return);
    QCOMPARE(list->topLevelItem(3)->text(0), QStringLiteral("121.500"));
}

void TestTableEditing::escapeCancels()
{
    WindowFixture fixture;
    MainWindow &window = fixture.start();
    QTreeWidget *list = listOf(window);
    const QStringList before = rowTexts(list);
    typeAndPress(clickRow(list, 1), QStringLiteral("999"), Qt::Key_Escape);
    QTest::qWait(50);
    QCOMPARE(rowTexts(list), before);
    QVERIFY(!labelOf(window, "Label3")->isVisible());
    QVERIFY(openEditor(list) == nullptr);
}

void TestTableEditing::editLandsOnEditedRowAfterSelectionMoved_data()
{
    QTest::addColumn<int>("highlighted");
    QTest::newRow("another row highlighted") << 5;
    QTest::newRow("nothing selected") << 0;
}

void TestTableEditing::editLandsOnEditedRowAfterSelectionMoved()
{
    QFETCH(int, highlighted);
    WindowFixture fixture;
    fixture.storeSettings(QByteArray("\x01\x00\x06\x00", 4));
    MainWindow &window = fixture.start();
    QTreeWidget *list = listOf(window);
    QLineEdit *editor = clickRow(list, 2);
    if (highlighted)
        window.table().highlightRow(highlighted);
    else
        list->clearSelection();
    QCOMPARE(openEditor(list), editor); // highlighting never closes the editor
    typeAndPress(editor, QStringLiteral("125.250"), Qt::Key_Return);
    QCOMPARE(list->topLevelItem(1)->text(0), QStringLiteral("125.250"));
    if (highlighted)
        QCOMPARE(list->topLevelItem(highlighted - 1)->text(0), QStringLiteral("118.000"));
}

void TestTableEditing::typeSwitchKeepsRows()
{
    WindowFixture fixture;
    fixture.storeSettings(QByteArray("\x01\x00\x06\x00", 4));
    MainWindow &window = fixture.start();
    for (int row = 1; row <= 6; ++row)
        window.table().putFrequency(row, QStringLiteral("12%1.000").arg(row));
    const QStringList before = rowTexts(listOf(window));
    auto *combo = window.findChild<QComboBox *>(QStringLiteral("Combo1"));
    auto *mask = window.findChild<QWidget *>(QStringLiteral("Frame1"));

    combo->setCurrentIndex(0);
    QVERIFY(mask->isVisible());
    QCOMPARE(window.table().channelCount(), 1);
    QCOMPARE(fixture.settingsBytes().mid(2, 2), QByteArray("\x01\x00", 2));
    combo->setCurrentIndex(1);
    QVERIFY(!mask->isVisible());
    QCOMPARE(fixture.settingsBytes().mid(2, 2), QByteArray("\x06\x00", 2));
    QCOMPARE(rowTexts(listOf(window)), before);
}

QTEST_MAIN(TestTableEditing)
#include "test_table_editing.moc"

#include "link/port_choice.h"

#include <QtCore/QDir>
#include <QtCore/QTemporaryDir>
#include <QtGui/QClipboard>
#include <QtGui/QFontInfo>
#include <QtTest/QtTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMenu>
#include <QtWidgets/QPlainTextEdit>

namespace {

constexpr qint16 initialPort = 6;

}  // namespace

class TestPortChoice : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void menuItemsFollowTheCaller();
    void panelStartsHidden();
    void keyPressCodes_data();
    void keyPressCodes();
    void typedKeys_data();
    void typedKeys();
    void pasteIsNotFiltered();
    void enterApplies_data();
    void enterApplies();
    void escapeLeavesPanelOpen();
    void checkMarks_data();
    void checkMarks();
    void fixedItemKeepsOpenPanel();
    void customItemOpensPanelWithoutCheck();
    void showPanelDiscardsTyping();
    void storedPortAtStartUp_data();
    void storedPortAtStartUp();
    void tooltipsNameTheDevice();
    void movePanel();

private:
    [[nodiscard]] QAction* item(int number) const;
    [[nodiscard]] QStringList checkedItems() const;
    [[nodiscard]] QPlainTextEdit* txtCOM() const;
    [[nodiscard]] QWidget* picCOM() const;

    std::unique_ptr<QTemporaryDir> workDir_;
    QString previousDir_;
    std::unique_ptr<QWidget> window_;
    QMenu* data_ = nullptr;
    PortChoice* choice_ = nullptr;
    QList<qint16> stored_;
};

void TestPortChoice::init()
{
    previousDir_ = QDir::currentPath();
    workDir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(workDir_->path()));
    window_ = std::make_unique<QWidget>();
    window_->resize(400, 300);
    data_ = new QMenu(QStringLiteral("&Data"), window_.get());
    data_->addAction(QStringLiteral("&Download"));
    data_->addAction(QStringLiteral("&Upload"));
    data_->addSeparator();
    stored_.clear();
    const ComPortResolver resolver([] {
        return QList<SystemPort>{{QStringLiteral("ttyS0"), QStringLiteral("/dev/ttyS0")},
                                 {QStringLiteral("ttyUSB0"), QStringLiteral("/dev/ttyUSB0")}};
    });
    choice_ = new PortChoice(window_.get(), data_, [this](qint16 port) { stored_ << port; },
                             resolver);
    choice_->applyStoredPort(initialPort);
    stored_.clear();
    window_->show();
}

void TestPortChoice::cleanup()
{
    window_.reset();
    QDir::setCurrent(previousDir_);
    workDir_.reset();
}

QAction* TestPortChoice::item(int number) const
{
    return data_->findChild<QAction*>(QStringLiteral("mcom%1").arg(number));
}

QStringList TestPortChoice::checkedItems() const
{
    QStringList checked;
    for (int number = 1; number <= 5; ++number) {
        if (item(number)->isChecked())
            checked << item(number)->objectName();
    }
    return checked;
}

QPlainTextEdit* TestPortChoice::txtCOM() const
{
    return window_->findChild<QPlainTextEdit*>(QStringLiteral("txtCOM"));
}

QWidget* TestPortChoice::picCOM() const
{
    return window_->findChild<QWidget*>(QStringLiteral("picCOM"));
}

void TestPortChoice::menuItemsFollowTheCaller()
{
    const QList<QAction*> actions = data_->actions();
    QCOMPARE(actions.size(), 8);
    QCOMPARE(actions[3]->objectName(), QStringLiteral("mcom1"));
    const QStringList captions{"Com&1", "Com&2", "Com&3", "Com&4", "&Custom COM"};
    for (int number = 1; number <= 5; ++number) {
        QCOMPARE(actions[2 + number], item(number));
        QCOMPARE(item(number)->text(), captions[number - 1]);
        QVERIFY(item(number)->isCheckable());
    }
}

void TestPortChoice::panelStartsHidden()
{
    QVERIFY(picCOM()->isHidden());
    QCOMPARE(txtCOM()->parentWidget(), picCOM());
    const auto* label = picCOM()->findChild<QLabel*>(QStringLiteral("lblCOM"));
    QVERIFY(label);
    QCOMPARE(label->text(), QStringLiteral("Enter COM Port No:"));
    QVERIFY(picCOM()->findChild<QWidget*>(QStringLiteral("ShapeCOM")));
    QVERIFY(QFontInfo(txtCOM()->font()).fixedPitch());
}

void TestPortChoice::keyPressCodes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("passes");
    QTest::newRow("backspace") << 8 << true;
    QTest::newRow("enter") << 13 << true;
    QTest::newRow("ctrl+v") << 22 << true;
    QTest::newRow("escape") << 27 << true;
    QTest::newRow("last control") << 31 << true;
    QTest::newRow("space") << 32 << false;
    QTest::newRow("slash") << 47 << false;
    QTest::newRow("zero") << 48 << true;
    QTest::newRow("nine") << 57 << true;
    QTest::newRow("colon") << 58 << false;
    QTest::newRow("letter") << int('a') << false;
    QTest::newRow("tilde") << 126 << false;
    QTest::newRow("delete") << 127 << true;
    QTest::newRow("e acute") << 0xe9 << true;
}

void TestPortChoice::keyPressCodes()
{
    QFETCH(int, code);
    QFETCH(bool, passes);
    int keyAscii = code;
    choice_->filterKey(keyAscii);
    QCOMPARE(keyAscii, passes ? code : 0);
}

void TestPortChoice::typedKeys_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("digits") << "12" << "612";
    QTest::newRow("letters dropped") << "1a2B" << "612";
    QTest::newRow("punctuation dropped") << "-1.5,e " << "615";
    QTest::newRow("beyond ASCII passes") << QString::fromUtf8("7\u00e9") << QString::fromUtf8("67\u00e9");
}

void TestPortChoice::typedKeys()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    choice_->showPortPanel();
    // Keys one by one as a keyboard sends them: the key code and the character it types.
    for (const QChar character : typed) {
        const auto key = Qt::Key(character.toUpper().unicode());
        QTest::sendKeyEvent(QTest::Click, txtCOM(), key, QString(character), Qt::NoModifier);
    }
    QCOMPARE(txtCOM()->toPlainText(), shown);
    QTest::keyClick(txtCOM(), Qt::Key_Backspace);
    shown.chop(1);
    QCOMPARE(txtCOM()->toPlainText(), shown);
}

void TestPortChoice::pasteIsNotFiltered()
{
    choice_->showPortPanel();
    QGuiApplication::clipboard()->setText(QStringLiteral("x2.5"));
    QTest::keyClick(txtCOM(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(txtCOM()->toPlainText(), QStringLiteral("6x2.5"));
}

void TestPortChoice::enterApplies_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("port");  // the initial port when nothing changes
    QTest::addColumn<QStringList>("checked");
    const Qt::KeyboardModifiers none;
    const QStringList custom{"mcom5"};
    QTest::newRow("digits") << "12" << int(Qt::Key_Return) << none << 12 << custom;
    QTest::newRow("shift+enter") << "12" << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::ShiftModifier) << 12 << custom;
    QTest::newRow("ctrl+alt+enter") << "12" << int(Qt::Key_Return) << (Qt::ControlModifier | Qt::AltModifier) << 12 << custom;
    QTest::newRow("keypad enter") << "12" << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier) << 12 << custom;
    for (int fixed = 1; fixed <= 4; ++fixed) {
        QTest::addRow("typed %d", fixed) << QString::number(fixed) << int(Qt::Key_Return) << none
                                         << fixed << QStringList{QStringLiteral("mcom%1").arg(fixed)};
    }
    QTest::newRow("empty") << "" << int(Qt::Key_Return) << none << int(initialPort) << custom;
    QTest::newRow("2.5 to even") << "2.5" << int(Qt::Key_Return) << none << 2 << QStringList{"mcom2"};
    QTest::newRow("3.5 to even") << "3.5" << int(Qt::Key_Return) << none << 4 << QStringList{"mcom4"};
    QTest::newRow("overflow") << "70000" << int(Qt::Key_Return) << none << int(initialPort) << custom;
    QTest::newRow("zero refused") << "0" << int(Qt::Key_Return) << none << int(initialPort) << custom;
    QTest::newRow("0.5 rounds to zero") << "0.5" << int(Qt::Key_Return) << none << int(initialPort) << custom;
    QTest::newRow("0.6 rounds to one") << "0.6" << int(Qt::Key_Return) << none << 1 << QStringList{"mcom1"};
    QTest::newRow("negative refused") << "-3" << int(Qt::Key_Return) << none << int(initialPort) << custom;
    QTest::newRow("blanks") << " 12 " << int(Qt::Key_Return) << none << 12 << custom;
    QTest::newRow("sign") << "+3" << int(Qt::Key_Return) << none << 3 << QStringList{"mcom3"};
    QTest::newRow("exponent") << "1e3" << int(Qt::Key_Return) << none << int(initialPort) << custom;
    QTest::newRow("comma") << "1,000" << int(Qt::Key_Return) << none << int(initialPort) << custom;
    QTest::newRow("letters") << "12abc" << int(Qt::Key_Return) << none << int(initialPort) << custom;
    QTest::newRow("line break") << "1\n2" << int(Qt::Key_Return) << none << int(initialPort) << custom;
    QTest::newRow("largest") << "32767" << int(Qt::Key_Return) << none << 32767 << custom;
}

void TestPortChoice::enterApplies()
{
    QFETCH(QString, text);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, port);
    QFETCH(QStringList, checked);
    choice_->showPortPanel();
    txtCOM()->setPlainText(text);
    QTest::keyClick(txtCOM(), Qt::Key(key), modifiers);
    QVERIFY(picCOM()->isHidden());
    QCOMPARE(txtCOM()->toPlainText(), text);
    QCOMPARE(int(choice_->portNumber()), port);
    QCOMPARE(checkedItems(), checked);
    const bool changed = port != initialPort;
    QCOMPARE(stored_, changed ? QList<qint16>{qint16(port)} : QList<qint16>{});
}

void TestPortChoice::escapeLeavesPanelOpen()
{
    choice_->showPortPanel();
    QTest::keyClick(txtCOM(), Qt::Key_Escape);
    QVERIFY(!picCOM()->isHidden());
    QCOMPARE(txtCOM()->toPlainText(), QStringLiteral("6"));
    QVERIFY(stored_.isEmpty());
}

void TestPortChoice::checkMarks_data()
{
    QTest::addColumn<int>("port");
    QTest::addColumn<QStringList>("checked");
    QTest::newRow("1") << 1 << QStringList{"mcom1"};
    QTest::newRow("2") << 2 << QStringList{"mcom2"};
    QTest::newRow("3") << 3 << QStringList{"mcom3"};
    QTest::newRow("4") << 4 << QStringList{"mcom4"};
    QTest::newRow("5") << 5 << QStringList{"mcom5"};
    QTest::newRow("largest") << 32767 << QStringList{"mcom5"};
    QTest::newRow("negative") << -3 << QStringList{};
    QTest::newRow("smallest") << -32768 << QStringList{};
}

void TestPortChoice::checkMarks()
{
    QFETCH(int, port);
    QFETCH(QStringList, checked);
    item(2)->trigger();
    choice_->applyPortChoice(qint16(port));
    QCOMPARE(int(choice_->portNumber()), port);
    QCOMPARE(checkedItems(), checked);
    QCOMPARE(stored_, (QList<qint16>{2, qint16(port)}));
}

void TestPortChoice::fixedItemKeepsOpenPanel()
{
    choice_->showPortPanel();
    QTest::keyClicks(txtCOM(), QStringLiteral("9"));
    item(2)->trigger();
    QCOMPARE(choice_->portNumber(), qint16(2));
    QCOMPARE(checkedItems(), QStringList{"mcom2"});
    QCOMPARE(stored_, QList<qint16>{2});
    QVERIFY(!picCOM()->isHidden());
    QCOMPARE(txtCOM()->toPlainText(), QStringLiteral("69"));

    QTest::keyClick(txtCOM(), Qt::Key_Return);
    QCOMPARE(choice_->portNumber(), qint16(69));
    QCOMPARE(checkedItems(), QStringList{"mcom5"});
    QCOMPARE(stored_, (QList<qint16>{2, 69}));
}

void TestPortChoice::customItemOpensPanelWithoutCheck()
{
    item(3)->trigger();
    stored_.clear();
    item(5)->trigger();
    QVERIFY(!picCOM()->isHidden());
    QCOMPARE(txtCOM()->toPlainText(), QStringLiteral("3"));
    QCOMPARE(checkedItems(), QStringList{"mcom3"});
    item(3)->trigger();
    QCOMPARE(checkedItems(), QStringList{"mcom3"});
    QVERIFY(stored_ == QList<qint16>{3});
}

void TestPortChoice::showPanelDiscardsTyping()
{
    choice_->applyPortChoice(-3);
    choice_->showPortPanel();
    QCOMPARE(txtCOM()->toPlainText(), QStringLiteral("-3"));
    QTest::keyClicks(txtCOM(), QStringLiteral("45"));
    QCOMPARE(txtCOM()->toPlainText(), QStringLiteral("-345"));
    choice_->chooseCustomPort();
    QCOMPARE(txtCOM()->toPlainText(), QStringLiteral("-3"));
    QCOMPARE(txtCOM()->textCursor().position(), 2);
}

void TestPortChoice::storedPortAtStartUp_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<QStringList>("checked");
    QTest::newRow("custom 7") << 7 << QStringList{"mcom5"};
    QTest::newRow("fixed 3") << 3 << QStringList{"mcom3"};
    QTest::newRow("fixed 1") << 1 << QStringList{"mcom1"};
    QTest::newRow("negative") << -3 << QStringList{};
}

void TestPortChoice::storedPortAtStartUp()
{
    QFETCH(int, stored);
    QFETCH(QStringList, checked);
    QWidget window;
    QMenu data;
    QList<qint16> saved;
    PortChoice choice(&window, &data, [&saved](qint16 port) { saved << port; });
    QCOMPARE(data.actions().size(), 5);
    const auto* txt = window.findChild<QPlainTextEdit*>(QStringLiteral("txtCOM"));
    choice.applyStoredPort(qint16(stored));
    QCOMPARE(int(choice.portNumber()), stored);
    QStringList checkedNow;
    for (QAction* action : data.actions()) {
        if (action->isChecked())
            checkedNow << action->objectName();
    }
    QCOMPARE(checkedNow, checked);
    QCOMPARE(saved, QList<qint16>{qint16(stored)});
    QVERIFY(txt->toPlainText().isEmpty());
}

void TestPortChoice::tooltipsNameTheDevice()
{
    QVERIFY(data_->toolTipsVisible());
    QVERIFY(QFile::link(workDir_->filePath(QStringLiteral("radio")), QStringLiteral("COM3")));
    emit data_->aboutToShow();
    QCOMPARE(item(1)->toolTip(), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(item(2)->toolTip(), QStringLiteral("/dev/ttyS0"));
    QCOMPARE(item(3)->toolTip(), workDir_->filePath(QStringLiteral("COM3")));
    QCOMPARE(item(4)->toolTip(), QStringLiteral("No serial port present for COM 4"));
}

void TestPortChoice::movePanel()
{
    choice_->movePanel(QPoint(40, 70));
    QCOMPARE(picCOM()->pos(), QPoint(40, 70));
}

QTEST_MAIN(TestPortChoice)
#include "test_port_choice.moc"

#include "link/port_number.h"

#include <QtTest/QtTest>

using Number = std::optional<qint16>;
Q_DECLARE_METATYPE(Number)

class TestPortNumber : public QObject {
    Q_OBJECT
private slots:
    void integerFromText_data();
    void integerFromText();
    void portFromText_data();
    void portFromText();
};

void TestPortNumber::integerFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Number>("expected");
    QTest::newRow("digits") << "12" << Number(12);
    QTest::newRow("empty") << "" << Number();
    QTest::newRow("blanks only") << "  " << Number();
    QTest::newRow("blanks around") << " 12 " << Number(12);
    QTest::newRow("tab around") << "\t7\t" << Number(7);
    QTest::newRow("plus sign") << "+7" << Number(7);
    QTest::newRow("minus sign") << "-3" << Number(-3);
    QTest::newRow("sign alone") << "-" << Number();
    QTest::newRow("blank after sign") << "- 3" << Number();
    QTest::newRow("leading zeros") << "0000012" << Number(12);
    QTest::newRow("half rounds to even down") << "2.5" << Number(2);
    QTest::newRow("half rounds to even up") << "3.5" << Number(4);
    QTest::newRow("beyond half rounds up") << "2.5000001" << Number(3);
    QTest::newRow("below half rounds down") << "3.4999999" << Number(3);
    QTest::newRow("negative half to even") << "-2.5" << Number(-2);
    QTest::newRow("negative half up to even") << "-3.5" << Number(-4);
    QTest::newRow("trailing point") << "5." << Number(5);
    QTest::newRow("leading point") << ".6" << Number(1);
    QTest::newRow("point alone") << "." << Number();
    QTest::newRow("two points") << "1.2.3" << Number();
    QTest::newRow("exponent") << "1e3" << Number();
    QTest::newRow("grouping comma") << "1,000" << Number();
    QTest::newRow("decimal comma") << "2,5" << Number();
    QTest::newRow("trailing letters") << "12abc" << Number();
    QTest::newRow("hex") << "0x10" << Number();
    QTest::newRow("line break inside") << "1\r\n2" << Number();
    QTest::newRow("line break after") << "12\n" << Number();
    QTest::newRow("line break before") << "\n12" << Number();
    QTest::newRow("largest") << "32767" << Number(32767);
    QTest::newRow("smallest") << "-32768" << Number(-32768);
    QTest::newRow("rounds past largest") << "32767.5" << Number();
    QTest::newRow("rounds to smallest") << "-32768.5" << Number(-32768);
    QTest::newRow("overflow") << "70000" << Number();
    QTest::newRow("negative overflow") << "-32769" << Number();
    QTest::newRow("huge") << "99999999999999999999999" << Number();
    QTest::newRow("zeros before huge fraction") << "000001.9" << Number(2);
    QTest::newRow("arabic-indic digits") << QString::fromUtf8("\u0661\u0662") << Number();
}

void TestPortNumber::integerFromText()
{
    QFETCH(QString, text);
    QFETCH(Number, expected);
    QCOMPARE(IntegerFromText(text), expected);
}

void TestPortNumber::portFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Number>("expected");
    QTest::newRow("one") << "1" << Number(1);
    QTest::newRow("rounds up to one") << "0.6" << Number(1);
    QTest::newRow("rounds down to zero") << "0.5" << Number();
    QTest::newRow("zero") << "0" << Number();
    QTest::newRow("negative") << "-3" << Number();
    QTest::newRow("not a number") << "abc" << Number();
    QTest::newRow("largest") << "32767" << Number(32767);
}

void TestPortNumber::portFromText()
{
    QFETCH(QString, text);
    QFETCH(Number, expected);
    QCOMPARE(PortFromText(text), expected);
}

QTEST_APPLESS_MAIN(TestPortNumber)
#include "test_port_number.moc"
